#include "tdrivecombobox.h"
#include "namedcomboboxaccessible.h"

#include "tdirectorylistbox.h"

#include <QAccessible>
#include <QAbstractItemView>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QStyle>

namespace {

constexpr int IconSize = 16;

void drawDisk(QPainter &p, int top)
{
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.setBrush(QColor(0xc8, 0xc8, 0xc8));
    p.drawRect(1, top, 13, 6);
    p.fillRect(2, top + 4, 12, 2, QColor(0x90, 0x90, 0x90));
    p.fillRect(11, top + 2, 2, 1, QColor(0x20, 0xc0, 0x20));
}

// A 16 x 16 picture of a volume's kind: a disk, a USB stick, a disk on a cable, a disc, a
// memory module.
QIcon kindIcon(volumes::VolumeKind kind)
{
    QPixmap pixmap(IconSize, IconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    switch (kind) {
    case volumes::VolumeKind::Fixed:
        drawDisk(p, 5);
        break;
    case volumes::VolumeKind::Removable:
        p.setPen(QColor(0x20, 0x28, 0x38));
        p.setBrush(QColor(0x3c, 0x5a, 0x8c));
        p.drawRect(1, 4, 9, 7);
        p.setPen(QColor(0x60, 0x60, 0x60));
        p.setBrush(QColor(0xd8, 0xd8, 0xd8));
        p.drawRect(10, 5, 4, 5);
        p.fillRect(12, 6, 1, 1, QColor(0x40, 0x40, 0x40));
        p.fillRect(12, 8, 1, 1, QColor(0x40, 0x40, 0x40));
        break;
    case volumes::VolumeKind::Network:
        drawDisk(p, 1);
        p.setPen(QColor(0x20, 0x20, 0x20));
        p.drawLine(7, 8, 7, 13);
        p.drawLine(1, 13, 14, 13);
        p.fillRect(6, 12, 3, 3, QColor(0x30, 0x70, 0xd0));
        break;
    case volumes::VolumeKind::Optical:
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QColor(0x60, 0x60, 0x70));
        p.setBrush(QColor(0xdc, 0xdc, 0xe8));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(QColor(0x90, 0xb8, 0xf0), 2));
        p.drawArc(QRectF(4, 4, 8, 8), 30 * 16, 100 * 16);
        p.setPen(QColor(0x60, 0x60, 0x70));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(6, 6, 4, 4));
        break;
    case volumes::VolumeKind::Ram:
        p.setPen(QColor(0x1c, 0x50, 0x30));
        p.setBrush(QColor(0x2e, 0x8b, 0x57));
        p.drawRect(0, 4, 15, 7);
        for (int x = 2; x < 14; x += 4)
            p.fillRect(x, 5, 3, 4, QColor(0x20, 0x20, 0x20));
        for (int x = 1; x < 15; x += 2)
            p.fillRect(x, 12, 1, 2, QColor(0xd0, 0xa8, 0x30));
        break;
    }
    p.end();
    QIcon icon(pixmap);
    icon.addPixmap(pixmap, QIcon::Selected); // no tint in the open list
    return icon;
}

} // namespace

TDriveComboBox::TDriveComboBox(QWidget *parent) : QComboBox(parent)
{
    static const bool accessible = (QAccessible::installFactory(&NamedComboBoxAccessible::Factory), true);
    Q_UNUSED(accessible);
    setIconSize(QSize(IconSize, IconSize));
    connect(this, &QComboBox::activated, this, &TDriveComboBox::onActivated);
    refreshVolumes();
}

void TDriveComboBox::setDirList(TDirectoryListBox *list)
{
    if (m_dirList)
        m_dirList->setDriveCombo(nullptr);
    m_dirList = list;
    if (m_dirList) {
        m_dirList->setDriveCombo(this);
        folderShown(m_dirList->directory());
    }
}

TDirectoryListBox *TDriveComboBox::dirList() const
{
    return m_dirList;
}

void TDriveComboBox::setDrive(const QString &path)
{
    const QString mountPoint = volumeOf(QDir::cleanPath(path));
    if (mountPoint.isEmpty() || mountPoint == m_drive)
        return;
    changeDrive(mountPoint);
}

QString TDriveComboBox::volumeOf(const QString &path) const
{
    const int index = volumes::volumeIndexOf(m_mountPoints, path);
    return index < 0 ? QString() : m_mountPoints.at(index);
}

QString TDriveComboBox::lastFolderOn(const QString &mountPoint) const
{
    return m_lastFolder.value(mountPoint, mountPoint);
}

void TDriveComboBox::setVolumeSource(VolumeSource source)
{
    m_source = std::move(source);
    refreshVolumes();
}

void TDriveComboBox::refreshVolumes()
{
    QString shown = m_drive.isEmpty() ? QDir::currentPath() : m_drive;
    if (m_dirList)
        shown = m_dirList->directory();
    m_volumes = m_source ? m_source() : volumes::mountedVolumes();
    m_mountPoints.clear();
    clear();
    for (const volumes::Volume &volume : std::as_const(m_volumes)) {
        m_mountPoints << volume.mountPoint;
        addItem(kindIcon(volume.kind), volumes::volumeText(volume), volume.mountPoint);
    }
    m_drive = volumeOf(shown);
    if (!m_drive.isEmpty() && !m_lastFolder.contains(m_drive))
        m_lastFolder.insert(m_drive, shown);
    showVolume(m_drive);
}

void TDriveComboBox::showPopup()
{
    refreshVolumes();
    int width = view()->sizeHintForColumn(0) + 2 * view()->frameWidth() + 4;
    if (count() > maxVisibleItems())
        width += style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    view()->setMinimumWidth(qMax(this->width(), width));
    QComboBox::showPopup();
}

void TDriveComboBox::folderShown(const QString &folder)
{
    const QString mountPoint = volumeOf(folder);
    if (mountPoint.isEmpty())
        return;
    m_lastFolder.insert(mountPoint, folder);
    m_drive = mountPoint;
    showVolume(mountPoint);
}

void TDriveComboBox::changeDrive(const QString &mountPoint)
{
    m_drive = mountPoint;
    showVolume(mountPoint);
    if (!m_dirList)
        return;
    // The folder last shown there, or the nearest folder above it that still can be entered.
    QString folder = lastFolderOn(mountPoint);
    if (!volumes::isPathPrefix(mountPoint, folder))
        folder = mountPoint;
    while (folder != mountPoint && volumes::folderAccessError(folder) != 0)
        folder = QFileInfo(folder).absolutePath();
    if (!m_dirList->enterFolder(folder)) {
        // The folder list stayed where it was: show its volume again.
        m_drive = volumeOf(m_dirList->directory());
        showVolume(m_drive);
    }
}

void TDriveComboBox::showVolume(const QString &mountPoint)
{
    setCurrentIndex(m_mountPoints.indexOf(mountPoint));
}

void TDriveComboBox::onActivated(int index)
{
    if (index < 0 || index >= m_mountPoints.size())
        return;
    const QString mountPoint = m_mountPoints.at(index);
    if (mountPoint == m_drive)
        return;
    changeDrive(mountPoint);
}

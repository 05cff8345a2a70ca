#include "browser/tdrivecombobox.h"

#include "browser/folderbrowser.h"
#include "browser/listicon.h"
#include "widgets/accessible/namedcomboboxaccessible.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyle>

namespace {

using platform::VolumeKind;

void drawDisk(QPainter &p, int top)
{
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.setBrush(QColor(0xc8, 0xc8, 0xc8));
    p.drawRect(1, top, 13, 6);
    p.fillRect(2, top + 4, 12, 2, QColor(0x90, 0x90, 0x90));
    p.fillRect(11, top + 2, 2, 1, QColor(0x20, 0xc0, 0x20));
}

void drawUsbStick(QPainter &p)
{
    p.setPen(QColor(0x20, 0x28, 0x38));
    p.setBrush(QColor(0x3c, 0x5a, 0x8c));
    p.drawRect(1, 4, 9, 7);
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.setBrush(QColor(0xd8, 0xd8, 0xd8));
    p.drawRect(10, 5, 4, 5);
    p.fillRect(12, 6, 1, 1, QColor(0x40, 0x40, 0x40));
    p.fillRect(12, 8, 1, 1, QColor(0x40, 0x40, 0x40));
}

void drawNetworkDisk(QPainter &p)
{
    drawDisk(p, 1);
    p.setPen(QColor(0x20, 0x20, 0x20));
    p.drawLine(7, 8, 7, 13);
    p.drawLine(1, 13, 14, 13);
    p.fillRect(6, 12, 3, 3, QColor(0x30, 0x70, 0xd0));
}

void drawDisc(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QColor(0x60, 0x60, 0x70));
    p.setBrush(QColor(0xdc, 0xdc, 0xe8));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(QColor(0x90, 0xb8, 0xf0), 2));
    p.drawArc(QRectF(4, 4, 8, 8), 30 * 16, 100 * 16);
    p.setPen(QColor(0x60, 0x60, 0x70));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(6, 6, 4, 4));
}

void drawMemoryModule(QPainter &p)
{
    p.setPen(QColor(0x1c, 0x50, 0x30));
    p.setBrush(QColor(0x2e, 0x8b, 0x57));
    p.drawRect(0, 4, 15, 7);
    for (int x = 2; x < 14; x += 4)
        p.fillRect(x, 5, 3, 4, QColor(0x20, 0x20, 0x20));
    for (int x = 1; x < 15; x += 2)
        p.fillRect(x, 12, 1, 2, QColor(0xd0, 0xa8, 0x30));
}

// A picture of a volume's kind: a disk, a USB stick, a disk on a cable, a disc, a memory module.
QIcon kindIcon(VolumeKind kind)
{
    return listIcon([kind](QPainter &p) {
        switch (kind) {
        case VolumeKind::Fixed: drawDisk(p, 5); break;
        case VolumeKind::Removable: drawUsbStick(p); break;
        case VolumeKind::Network: drawNetworkDisk(p); break;
        case VolumeKind::Optical: drawDisc(p); break;
        case VolumeKind::Ram: drawMemoryModule(p); break;
        }
    });
}

} // namespace

TDriveComboBox::TDriveComboBox(QWidget *parent) : QComboBox(parent)
{
    setIconSize(QSize(ListIconSize, ListIconSize));
    connect(this, &QComboBox::activated, this, &TDriveComboBox::onActivated);
}

void TDriveComboBox::setBrowser(FolderBrowser *browser)
{
    if (m_browser)
        m_browser->disconnect(this);
    m_browser = browser;
    if (m_browser) {
        connect(m_browser, &FolderBrowser::volumesChanged, this, &TDriveComboBox::fill);
        connect(m_browser, &FolderBrowser::driveChanged, this, &TDriveComboBox::showDrive);
    }
    fill();
}

QString TDriveComboBox::drive() const
{
    return m_browser ? m_browser->drive() : QString();
}

void TDriveComboBox::setDrive(const QString &path)
{
    if (m_browser)
        m_browser->setDrive(path);
}

QString TDriveComboBox::volumeOf(const QString &path) const
{
    return m_browser ? m_browser->volumeOf(path) : QString();
}

void TDriveComboBox::fill()
{
    clear();
    if (!m_browser)
        return;
    for (const platform::Volume &volume : m_browser->volumes())
        addItem(kindIcon(volume.kind), platform::volumeText(volume), volume.mountPoint);
    showDrive();
}

void TDriveComboBox::showPopup()
{
    if (m_browser)
        m_browser->refreshVolumes();
    int width = view()->sizeHintForColumn(0) + 2 * view()->frameWidth() + 4;
    if (count() > maxVisibleItems())
        width += style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    view()->setMinimumWidth(qMax(this->width(), width));
    QComboBox::showPopup();
}

void TDriveComboBox::showDrive()
{
    setCurrentIndex(findData(drive()));
    NamedComboBoxAccessible::announceShownText(this);
}

void TDriveComboBox::onActivated(int index)
{
    setDrive(itemData(index).toString());
    // A volume that could not be entered gives way to the one shown before.
    showDrive();
}

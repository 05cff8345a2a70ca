#include "tdirectorylistbox.h"

#include "filenames.h"
#include "tdrivecombobox.h"
#include "tfilelistbox.h"
#include "volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int FolderRole = Qt::UserRole;
constexpr int DepthRole = Qt::UserRole + 1;
constexpr int IndentPerLevel = 8;
constexpr int IconSize = 16;

void showWarning(QWidget *parent, const QString &text)
{
    QMessageBox::warning(parent, QStringLiteral("Tavoret"), text);
}

TDirectoryListBox::ErrorReporter &errorReporter()
{
    static TDirectoryListBox::ErrorReporter reporter = showWarning;
    return reporter;
}

// The style would tint a selected entry's picture; the folders keep their colours.
QIcon unchangedWhenSelected(const QPixmap &pixmap)
{
    QIcon icon(pixmap);
    icon.addPixmap(pixmap, QIcon::Selected);
    return icon;
}

enum class FolderPicture { Closed, Open, Current };

// A 16 x 16 manila folder: closed, open, or open with a sheet in it for the current folder.
QIcon folderIcon(FolderPicture picture)
{
    QPixmap pixmap(IconSize, IconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor outline(0x7a, 0x5c, 0x10);
    const QColor back(0xd9, 0xb2, 0x3c);
    const QColor front(0xf5, 0xd5, 0x6b);
    p.setPen(outline);

    p.setBrush(picture == FolderPicture::Closed ? front : back);
    p.drawPolygon(QPolygon({QPoint(1, 3), QPoint(6, 3), QPoint(7, 4), QPoint(14, 4), QPoint(14, 13),
                            QPoint(1, 13)}));
    if (picture == FolderPicture::Closed) {
        p.setPen(QColor(0xfb, 0xea, 0xaa));
        p.drawLine(2, 6, 13, 6);
        return unchangedWhenSelected(pixmap);
    }
    if (picture == FolderPicture::Current) {
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.setBrush(Qt::white);
        p.drawRect(4, 2, 8, 8);
        p.setPen(QColor(0x40, 0x60, 0xc0));
        p.drawLine(6, 4, 10, 4);
        p.drawLine(6, 6, 10, 6);
    }
    p.setPen(outline);
    p.setBrush(front);
    p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 13), QPoint(1, 13)}));
    return unchangedWhenSelected(pixmap);
}

// Indents each entry by its depth and gives all entries the configured height.
class FolderDelegate : public QStyledItemDelegate
{
public:
    explicit FolderDelegate(const TListBox *list)
        : QStyledItemDelegate(const_cast<TListBox *>(list)), m_list(list) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem indented(option);
        indented.rect.setLeft(option.rect.left() + indent(index));
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += indent(index);
        return m_list->EntrySize(size);
    }

private:
    static int indent(const QModelIndex &index) { return index.data(DepthRole).toInt() * IndentPerLevel; }
    const TListBox *m_list;
};

} // namespace

TDirectoryListBox::TDirectoryListBox(QWidget *parent)
    : TListBox(parent),
      m_directory(QDir::currentPath()),
      m_openIcon(folderIcon(FolderPicture::Open)),
      m_currentIcon(folderIcon(FolderPicture::Current)),
      m_closedIcon(folderIcon(FolderPicture::Closed))
{
    setIconSize(QSize(IconSize, IconSize));
    setItemDelegate(new FolderDelegate(this));
    connect(this, &QListWidget::itemSelectionChanged, this, &TDirectoryListBox::onSelectionChanged);
    fill();
}

QString TDirectoryListBox::absolutePath(const QString &path) const
{
    return QDir::cleanPath(QDir(m_directory).absoluteFilePath(path));
}

void TDirectoryListBox::setDirectory(const QString &path)
{
    if (path.isEmpty())
        return;
    QString target = absolutePath(path);
    if (target == m_directory)
        return;
    if (platform::IsFile(target))
        target = QFileInfo(target).absolutePath();
    if (target == m_directory)
        return;
    if (m_driveCombo)
        m_driveCombo->setDrive(target);
    enterFolder(target);
}

bool TDirectoryListBox::enterFolder(const QString &folder)
{
    const QString target = absolutePath(folder);
    if (const int error = volumes::folderAccessError(target)) {
        errorReporter()(this, volumes::ioErrorText(target, error));
        return false;
    }
    const bool changed = target != m_directory;
    m_directory = target;
    fill();
    if (m_fileList)
        m_fileList->setDirectory(m_directory);
    if (m_driveCombo)
        m_driveCombo->folderShown(m_directory);
    if (changed)
        emit directoryChanged(m_directory);
    return true;
}

void TDirectoryListBox::setFileList(TFileListBox *list)
{
    if (m_fileList)
        m_fileList->setDirList(nullptr);
    m_fileList = list;
    if (m_fileList) {
        m_fileList->setDirList(this);
        m_fileList->setDirectory(m_directory);
    }
}

TFileListBox *TDirectoryListBox::fileList() const
{
    return m_fileList;
}

TDriveComboBox *TDirectoryListBox::driveCombo() const
{
    return m_driveCombo;
}

void TDirectoryListBox::setDriveCombo(TDriveComboBox *combo)
{
    m_driveCombo = combo;
}

QString TDirectoryListBox::folderAt(int row) const
{
    const QListWidgetItem *entry = item(row);
    return entry ? entry->data(FolderRole).toString() : QString();
}

TDirectoryListBox::ErrorReporter TDirectoryListBox::setErrorReporter(ErrorReporter reporter)
{
    ErrorReporter previous = errorReporter();
    errorReporter() = reporter ? std::move(reporter) : ErrorReporter(showWarning);
    return previous;
}

void TDirectoryListBox::fill()
{
    m_filling = true;
    clear();
    const QStringList chain = volumes::folderChain(m_directory);
    for (int depth = 0; depth < chain.size(); ++depth) {
        const bool current = depth == chain.size() - 1;
        const QString text = depth == 0 ? chain.at(0) : platform::DisplayName(QFileInfo(chain.at(depth)).fileName());
        addEntry(text, chain.at(depth), depth, current ? m_currentIcon : m_openIcon);
    }
    const int currentRow = static_cast<int>(chain.size()) - 1;
    // Dot-folders are left out like dot-files in the file list; one on the path is still shown.
    const QStringList subFolders = platform::FolderEntries(m_directory, platform::EntryKind::Folders);
    for (const QString &name : subFolders)
        addEntry(platform::DisplayName(name), volumes::joinPath(m_directory, name), currentRow + 1, m_closedIcon);
    if (currentRow >= 0) {
        setCurrentRow(currentRow, QItemSelectionModel::ClearAndSelect);
        scrollToItem(item(currentRow));
    }
    m_filling = false;
}

void TDirectoryListBox::addEntry(const QString &text, const QString &folder, int depth, const QIcon &icon)
{
    auto *entry = new QListWidgetItem(icon, text, this);
    entry->setData(FolderRole, folder);
    entry->setData(DepthRole, depth);
}

void TDirectoryListBox::onSelectionChanged()
{
    if (!m_filling)
        emit Click();
}

void TDirectoryListBox::focusInEvent(QFocusEvent *event)
{
    TListBox::focusInEvent(event);
    if (!m_entered) {
        m_entered = true;
        emit Enter();
    }
}

void TDirectoryListBox::focusOutEvent(QFocusEvent *event)
{
    TListBox::focusOutEvent(event);
    // While another window is active (a message box, another program) the list stays its
    // window's focused control: only a move to another control of the window is an exit.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (m_entered) {
        m_entered = false;
        emit Exit();
    }
}

void TDirectoryListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    if (const QListWidgetItem *entry = itemAt(event->position().toPoint()))
        enterFolder(entry->data(FolderRole).toString());
}

void TDirectoryListBox::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        if (currentRow() >= 0)
            enterFolder(folderAt(currentRow()));
        return;
    default:
        TListBox::keyPressEvent(event);
    }
}


#include "browser/tdirectorylistbox.h"

#include "platform/filenames.h"
#include "browser/folderbrowser.h"
#include "browser/listicon.h"
#include "platform/paths.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QScopedValueRollback>

namespace {

constexpr int FolderRole = Qt::UserRole;
constexpr int IndentPerLevel = 8;

enum class FolderPicture { Closed, Open, Current };

const QColor FolderOutline(0x7a, 0x5c, 0x10);
const QColor FolderBack(0xd9, 0xb2, 0x3c);
const QColor FolderFront(0xf5, 0xd5, 0x6b);
const QPolygon FolderShape({QPoint(1, 3), QPoint(6, 3), QPoint(7, 4), QPoint(14, 4), QPoint(14, 13), QPoint(1, 13)});

void drawClosedFolder(QPainter &p)
{
    p.setPen(FolderOutline);
    p.setBrush(FolderFront);
    p.drawPolygon(FolderShape);
    p.setPen(QColor(0xfb, 0xea, 0xaa));
    p.drawLine(2, 6, 13, 6);
}

// An open folder; the current folder's holds a sheet.
void drawOpenFolder(QPainter &p, bool withSheet)
{
    p.setPen(FolderOutline);
    p.setBrush(FolderBack);
    p.drawPolygon(FolderShape);
    if (withSheet) {
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.setBrush(Qt::white);
        p.drawRect(4, 2, 8, 8);
        p.setPen(QColor(0x40, 0x60, 0xc0));
        p.drawLine(6, 4, 10, 4);
        p.drawLine(6, 6, 10, 6);
    }
    p.setPen(FolderOutline);
    p.setBrush(FolderFront);
    p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 13), QPoint(1, 13)}));
}

// A manila folder: closed, open, or open with a sheet in it for the current folder.
QIcon folderIcon(FolderPicture picture)
{
    return listIcon([picture](QPainter &p) {
        if (picture == FolderPicture::Closed)
            drawClosedFolder(p);
        else
            drawOpenFolder(p, picture == FolderPicture::Current);
    });
}

} // namespace

TDirectoryListBox::TDirectoryListBox(QWidget *parent)
    : TListBox(parent),
      m_openIcon(folderIcon(FolderPicture::Open)),
      m_currentIcon(folderIcon(FolderPicture::Current)),
      m_closedIcon(folderIcon(FolderPicture::Closed))
{
    setIconSize(QSize(ListIconSize, ListIconSize));
    connect(this, &QListWidget::itemSelectionChanged, this, &TDirectoryListBox::onSelectionChanged);
}

void TDirectoryListBox::setBrowser(FolderBrowser *browser)
{
    if (m_browser)
        m_browser->disconnect(this);
    m_browser = browser;
    if (m_browser) {
        connect(m_browser, &FolderBrowser::folderChanged, this, &TDirectoryListBox::fill);
        connect(m_browser, &FolderBrowser::folderError, this, &TDirectoryListBox::folderError);
    }
    fill();
}

QString TDirectoryListBox::directory() const
{
    return m_browser ? m_browser->folder() : QString();
}

void TDirectoryListBox::setDirectory(const QString &path)
{
    if (m_browser)
        m_browser->setDirectory(path);
}

bool TDirectoryListBox::enterFolder(const QString &folder)
{
    return m_browser && m_browser->enterFolder(folder);
}

QString TDirectoryListBox::folderAt(int row) const
{
    const QListWidgetItem *entry = item(row);
    return entry ? entry->data(FolderRole).toString() : QString();
}

void TDirectoryListBox::fill()
{
    const QScopedValueRollback<bool> filling(m_filling, true);
    clear();
    const QString folder = directory();
    const QStringList chain = platform::folderChain(folder);
    for (int depth = 0; depth < chain.size(); ++depth) {
        const bool current = depth == chain.size() - 1;
        const QString text = depth == 0 ? chain.at(0) : platform::displayName(QFileInfo(chain.at(depth)).fileName());
        addEntry(text, chain.at(depth), depth, current ? m_currentIcon : m_openIcon);
    }
    const int currentRow = static_cast<int>(chain.size()) - 1;
    // Dot-folders are left out like dot-files in the file list; one on the path is still shown.
    const QStringList subFolders = platform::folderEntries(folder, platform::EntryKind::Folders);
    for (const QString &name : subFolders)
        addEntry(platform::displayName(name), platform::joinPath(folder, name), currentRow + 1, m_closedIcon);
    if (currentRow >= 0) {
        setCurrentRow(currentRow, QItemSelectionModel::ClearAndSelect);
        scrollToItem(item(currentRow));
    }
}

void TDirectoryListBox::addEntry(const QString &text, const QString &folder, int depth, const QIcon &icon)
{
    auto *entry = new QListWidgetItem(icon, text, this);
    entry->setData(FolderRole, folder);
    entry->setData(IndentRole, depth * IndentPerLevel);
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


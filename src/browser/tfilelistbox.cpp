#include "browser/tfilelistbox.h"

#include "platform/filenames.h"
#include "browser/folderbrowser.h"
#include "virtualkeycode.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScopedValueRollback>

#include <algorithm>

namespace {

// The entry's file name as it is on disk, which its text only shows (see platform::displayName).
constexpr int NameRole = Qt::UserRole;

QString entryName(const QListWidgetItem *entry)
{
    return entry->data(NameRole).toString();
}

bool isArrowKey(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

} // namespace

TFileListBox::TFileListBox(QWidget *parent)
    : TListBox(parent)
{
    connect(this, &QListWidget::itemSelectionChanged, this, &TFileListBox::onSelectionChanged);
}

void TFileListBox::setBrowser(FolderBrowser *browser)
{
    if (m_browser)
        m_browser->disconnect(this);
    m_browser = browser;
    if (m_browser)
        connect(m_browser, &FolderBrowser::folderChanged, this, &TFileListBox::showFolder);
    showFolder(m_browser ? m_browser->folder() : QString());
}

// The folder shown already is not read again.
void TFileListBox::showFolder(const QString &folder)
{
    if (folder == m_directory)
        return;
    m_directory = folder;
    reread();
}

void TFileListBox::setFileMask(const QString &mask)
{
    if (mask == m_mask)
        return;
    m_mask = mask;
    reread();
}

void TFileListBox::reread()
{
    // Dot-files, sockets, devices and dangling links are left out; links to regular files count
    // as files. Names that are not valid UTF-8 are listed too, shown with U+FFFD.
    QStringList names = platform::folderEntries(m_directory, platform::EntryKind::Files);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [this](const QString &name) { return !platform::matchesMask(name, m_mask); }),
                names.end());

    const QScopedValueRollback<bool> byProgram(m_byProgram, true);
    clear();
    for (const QString &name : std::as_const(names)) {
        auto *entry = new QListWidgetItem(platform::displayName(name), this);
        entry->setData(NameRole, name);
    }
    selectionModel()->clear();
}

QString TFileListBox::FileName() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    if (selected.isEmpty())
        return QString();
    return platform::joinPath(m_directory, entryName(selected.first()));
}

void TFileListBox::setFileName(const QString &path)
{
    const QString fullName = path.isEmpty() ? QString()
                                            : QDir::cleanPath(QDir(m_directory).absoluteFilePath(path));
    if (fullName == FileName())
        return;
    const QFileInfo info(fullName);
    const QString folder = info.absolutePath();
    const QString name = info.fileName();
    if (!fullName.isEmpty() && m_browser)
        m_browser->setDirectory(folder);
    // Never select a same-named file of the folder we could not leave.
    if (fullName.isEmpty() || m_directory != folder) {
        clearSelectionByProgram();
        return;
    }
    if (selectName(name) || !platform::isFile(fullName))
        return;
    // The listing may be older than the file (the folder shown already is not re-read).
    reread();
    if (selectName(name))
        return;
    // A mask that hides the file gives way to the file's own name. A dot-file stays hidden
    // whatever the mask, so the mask is kept for it rather than emptying the list for good.
    if (name.startsWith(QLatin1Char('.')))
        return;
    setFileMask(name);
    selectName(name);
}

void TFileListBox::setFocusByProgram()
{
    if (QWidget *top = window())
        top->activateWindow();
    setFocus(Qt::OtherFocusReason);
}

bool TFileListBox::selectName(const QString &name)
{
    // The entry of exactly that name, else one that differs only in letter case.
    QListWidgetItem *found = nullptr;
    for (int row = 0; row < count() && !found; ++row) {
        if (entryName(item(row)) == name)
            found = item(row);
    }
    for (int row = 0; row < count() && !found; ++row) {
        if (QString::compare(entryName(item(row)), name, Qt::CaseInsensitive) == 0)
            found = item(row);
    }
    if (!found) {
        clearSelectionByProgram();
        return false;
    }
    {
        const QScopedValueRollback<bool> byProgram(m_byProgram, true);
        setCurrentItem(found, QItemSelectionModel::ClearAndSelect);
    }
    scrollToItem(found);
    return true;
}

void TFileListBox::clearSelectionByProgram()
{
    const QScopedValueRollback<bool> byProgram(m_byProgram, true);
    selectionModel()->clear();
}

void TFileListBox::onSelectionChanged()
{
    if (!m_byProgram)
        emit Click();
}

void TFileListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double-click selects like the first; no other meaning.
    if (event->button() == Qt::LeftButton)
        TListBox::mouseDoubleClickEvent(event);
    else
        event->accept();
}

void TFileListBox::keyPressEvent(QKeyEvent *event)
{
    if (isArrowKey(event->key()) && selectedItems().isEmpty() && count() > 0) {
        // With nothing selected the first arrow key selects the entry under the caret.
        event->accept();
        setCurrentRow(qMax(0, currentRow()), QItemSelectionModel::ClearAndSelect);
        scrollToItem(currentItem());
        return;
    }
    TListBox::keyPressEvent(event);
}

void TFileListBox::keyReleaseEvent(QKeyEvent *event)
{
    TListBox::keyReleaseEvent(event);
    if (!event->isAutoRepeat())
        emit KeyUp(keys::virtualKeyCode(event->key(), event->modifiers()), event->modifiers());
}

#include "tfilelistbox.h"

#include "tdirectorylistbox.h"
#include "filenames.h"
#include "volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// Gives all entries the configured height.
class FileDelegate : public QStyledItemDelegate
{
public:
    explicit FileDelegate(const TListBox *list) : QStyledItemDelegate(const_cast<TListBox *>(list)), m_list(list) {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return m_list->EntrySize(QStyledItemDelegate::sizeHint(option, index));
    }

private:
    const TListBox *m_list;
};

// The entry's file name as it is on disk, which its text only shows (see platform::DisplayName).
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
    : TListBox(parent), m_directory(QDir::currentPath())
{
    setItemDelegate(new FileDelegate(this));
    connect(this, &QListWidget::itemSelectionChanged, this, &TFileListBox::onSelectionChanged);
    reread();
}

void TFileListBox::setDirectory(const QString &folder)
{
    const QString target = QDir::cleanPath(QDir(m_directory).absoluteFilePath(folder));
    if (folder.isEmpty() || target == m_directory)
        return;
    m_directory = target;
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
    QStringList names = platform::FolderEntries(m_directory, platform::EntryKind::Files);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [this](const QString &name) { return !volumes::matchesMask(name, m_mask); }),
                names.end());

    m_byProgram = true;
    clear();
    for (const QString &name : std::as_const(names)) {
        auto *entry = new QListWidgetItem(platform::DisplayName(name), this);
        entry->setData(NameRole, name);
    }
    selectionModel()->clear();
    m_byProgram = false;
}

QString TFileListBox::FileName() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    if (selected.isEmpty())
        return QString();
    return volumes::joinPath(m_directory, entryName(selected.first()));
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
    if (!fullName.isEmpty()) {
        if (m_dirList)
            m_dirList->setDirectory(folder);
        else
            setDirectory(folder);
    }
    // Never select a same-named file of the folder we could not leave.
    if (fullName.isEmpty() || m_directory != folder) {
        clearSelectionByProgram();
        return;
    }
    if (selectName(name) || !platform::IsFile(fullName))
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

void TFileListBox::setDirList(TDirectoryListBox *list)
{
    m_dirList = list;
}

TDirectoryListBox *TFileListBox::dirList() const
{
    return m_dirList;
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
    m_byProgram = true;
    setCurrentItem(found, QItemSelectionModel::ClearAndSelect);
    m_byProgram = false;
    scrollToItem(found);
    return true;
}

void TFileListBox::clearSelectionByProgram()
{
    m_byProgram = true;
    selectionModel()->clear();
    m_byProgram = false;
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
        emit KeyUp(virtualKeyCode(event->key(), event->modifiers()), event->modifiers());
}

int virtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::KeypadModifier) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return 0x60 + (qtKey - Qt::Key_0);
        switch (qtKey) {
        case Qt::Key_Asterisk: return 0x6A;
        case Qt::Key_Plus: return 0x6B;
        case Qt::Key_Minus: return 0x6D;
        case Qt::Key_Period:
        case Qt::Key_Comma: return 0x6E;
        case Qt::Key_Slash: return 0x6F;
        default: break; // navigation keys of the keypad are the ordinary ones
        }
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey; // same numbers as ASCII
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 0x70 + (qtKey - Qt::Key_F1);

    struct KeyCode { int key; int code; };
    static const KeyCode table[] = {
        {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09}, {Qt::Key_Backtab, 0x09}, {Qt::Key_Clear, 0x0C},
        {Qt::Key_Return, 0x0D}, {Qt::Key_Enter, 0x0D}, {Qt::Key_Shift, 0x10}, {Qt::Key_Control, 0x11},
        {Qt::Key_Alt, 0x12}, {Qt::Key_AltGr, 0x12}, {Qt::Key_Pause, 0x13}, {Qt::Key_CapsLock, 0x14},
        {Qt::Key_Escape, 0x1B}, {Qt::Key_Space, 0x20}, {Qt::Key_PageUp, 0x21}, {Qt::Key_PageDown, 0x22},
        {Qt::Key_End, 0x23}, {Qt::Key_Home, 0x24}, {Qt::Key_Left, 0x25}, {Qt::Key_Up, 0x26},
        {Qt::Key_Right, 0x27}, {Qt::Key_Down, 0x28}, {Qt::Key_Select, 0x29}, {Qt::Key_Printer, 0x2A},
        {Qt::Key_Execute, 0x2B}, {Qt::Key_Print, 0x2C}, {Qt::Key_Insert, 0x2D}, {Qt::Key_Delete, 0x2E},
        {Qt::Key_Help, 0x2F}, {Qt::Key_Meta, 0x5B}, {Qt::Key_Menu, 0x5D}, {Qt::Key_Sleep, 0x5F},
        {Qt::Key_NumLock, 0x90}, {Qt::Key_ScrollLock, 0x91},
        // Punctuation by the key it lies on (US layout), shifted or not.
        {Qt::Key_ParenRight, 0x30}, {Qt::Key_Exclam, 0x31}, {Qt::Key_At, 0x32},
        {Qt::Key_NumberSign, 0x33}, {Qt::Key_Dollar, 0x34}, {Qt::Key_Percent, 0x35},
        {Qt::Key_AsciiCircum, 0x36}, {Qt::Key_Ampersand, 0x37}, {Qt::Key_Asterisk, 0x38},
        {Qt::Key_ParenLeft, 0x39},
        {Qt::Key_Semicolon, 0xBA}, {Qt::Key_Colon, 0xBA}, {Qt::Key_Equal, 0xBB}, {Qt::Key_Plus, 0xBB},
        {Qt::Key_Comma, 0xBC}, {Qt::Key_Less, 0xBC}, {Qt::Key_Minus, 0xBD}, {Qt::Key_Underscore, 0xBD},
        {Qt::Key_Period, 0xBE}, {Qt::Key_Greater, 0xBE}, {Qt::Key_Slash, 0xBF}, {Qt::Key_Question, 0xBF},
        {Qt::Key_QuoteLeft, 0xC0}, {Qt::Key_AsciiTilde, 0xC0}, {Qt::Key_BracketLeft, 0xDB},
        {Qt::Key_BraceLeft, 0xDB}, {Qt::Key_Backslash, 0xDC}, {Qt::Key_Bar, 0xDC},
        {Qt::Key_BracketRight, 0xDD}, {Qt::Key_BraceRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
        {Qt::Key_QuoteDbl, 0xDE},
    };
    for (const KeyCode &entry : table) {
        if (entry.key == qtKey)
            return entry.code;
    }
    return 0;
}

// The main window: the character chart with its font selector and size boxes, the logo, and
// the browser for font files that are not installed.
#pragma once

#include "filedrag.h"
#include "browser/folderbrowser.h"
#include "fontpreview.h"
#include "platform/frameextents.h"
#include "logocolours.h"
#include "ui_unit1.h"

#include <QStringList>
#include <QWidget>

class QMenu;
class ScreenReaderNotice;

namespace platform {
class FontTable;
}

class TForm1 : public QWidget, public Ui::TForm1
{
    Q_OBJECT

public:
    // The window lists, draws and previews fonts through `fonts`, which outlives it; its font
    // selector starts with `startupFontNames`, the installed names read once at start.
    TForm1(platform::FontTable &fonts, const QStringList &startupFontNames, QWidget *parent = nullptr);
    // Clears Form1 when it is this window.
    ~TForm1() override;

    QMenu *PopupMenu1;
    TFileDrag *FileDrag1;

    void FormCreate();
    void SpinEdit1Change();
    void ComboBox1Change();
    void SpinEdit2Change();
    void FormResize();
    void Label1MouseMove();
    void Label1Click();
    void StringGrid1MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, const QPoint &Pos);
    void StringGrid1KeyPick(const QPoint &Pos);
    void mnuitCopy1Click();
    void DirectoryListBox1Enter();
    void DirectoryListBox1Exit();
    void FileListBox1Click();
    void FormClose();
    void Button1Click();
    void FileListBox1MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, const QPoint &Pos);
    void DirectoryListBox1MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, const QPoint &Pos);
    void btnAddClick();
    void btnDelClick();
    void ComboBox1Click();
    void Panel1MouseMove();
    void FileListBox1KeyUp(int Key, Qt::KeyboardModifiers Shift);
    void FileDrag1Drop();
    void StringGrid1CopyKey();

    // Re-reads the installed fonts into the selector, sorted, and clears FontsChanged.
    void RefreshFontList();
    // Removes the font file under preview from the font table.
    void RemovePreviewFont();
    FontPreview &preview() { return m_preview; }
    // Previews a font file (an empty path only ends the preview) and shows the outcome in the
    // selector: the file's face, "already installed Font" or "not a valid Font-File".
    void showPreview(const QString &path);
    // The selector after a preview: its outcome, or nothing yet while the file is read. Screen
    // readers hear the outcome wherever the focus is.
    void showPreviewOutcome(const FontPreview::Result &preview);

    // Whether a control's hint pops up when the pointer rests on it.
    static bool ShowHint(const QWidget *control);
    static void SetShowHint(QWidget *control, bool show);
    // A control's hint text, kept also while its hint is switched off.
    static QString Hint(const QWidget *control);

    // Outer size: the window with its frame and title bar, as the window manager frames it now.
    QSize outerSize() const;
    void setOuterSize(const QSize &size);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void connectHandlers();
    void fillChart();
    void fillFontList();
    void applyScreenHeightRule();
    void applySelectedFace();
    bool pickCellAt(const QPoint &pos);
    void keepDesignedOuterSize();
    void keepColourPairsReadable();
    void keepCaptionsInside();
    void describeControls();
    void openFontsFolder();
    void showFolderError(const QString &text);

    platform::FontTable &m_fonts;
    const QStringList m_startupFontNames;
    FontPreview m_preview;
    // Where the drive selector, the folder list and the file list stand: they all show it.
    FolderBrowser m_browser;
    // A new frame changes the outer size without a resize: the resize rule runs again.
    platform::FrameExtents m_frame;
    ScreenReaderNotice *m_previewNotice;
    logo::Colours m_logoColours;
    QSize m_designedOuterSize;
    // Until the user resizes the window, the designed outer size is applied again whenever the
    // window manager's frame changes (it frames the window only after it is shown).
    bool m_keepDesignedSize = true;
    QSize m_frameApplied;       // the frame the designed size was last applied with
    QSize m_expectedClientSize; // the client size that application gave
};

// The main window, set before its creation handler runs; null once it is gone.
extern TForm1 *Form1;
// 1 after Add or Del until the font list has been read again.
extern int FontsChanged;
// The font file most recently handed to the font table for preview.
extern QString PreviewFontFile;
// The number of installed names a preview found before it added its file; the selector's
// count is compared with it when the preview's outcome is shown.
extern int FontCountBefore;

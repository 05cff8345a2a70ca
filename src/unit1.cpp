#include "unit1.h"

#include "charset.h"
#include "chartcells.h"
#include "platform/filecopy.h"
#include "fittedtext.h"
#include "fixedcolours.h"
#include "fontfiles.h"
#include "platform/filenames.h"
#include "platform/fonttable.h"
#include "platform/screen.h"
#include "screenreadernotice.h"
#include "shortcuts.h"
#include "platform/shell.h"
#include "unit2.h"
#include "windowframe.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QMenu>
#include <QMoveEvent>

#include <algorithm>

TForm1 *Form1 = nullptr;
int FontsChanged = 0;
QString PreviewFontFile;
int FontCountBefore = 0;

namespace {
constexpr const char *DefaultFace = "Times New Roman";
constexpr int TallWindowHeight = 600;
// The chart is this much narrower and lower than the window's outer size.
constexpr int ChartWidthMargin = 10;
constexpr int ChartHeightMargin = 63;
constexpr int PickedCharacterLeft = 10;
constexpr int ShortScreenHeight = 480;
constexpr int CompactListHeight = 33;
constexpr int GrownFolderListHeight = 200;
constexpr int GrownFileListHeight = 160;
constexpr int VkLeft = 37;
constexpr int VkDown = 40;
constexpr const char *SavedHintProperty = "savedHint"; // a hint switched off keeps its text here
constexpr const char *AlreadyInstalled = "already installed Font";
constexpr const char *NotAFontFile = "not a valid Font-File";
constexpr const char *DoneNothing = "Done nothing, because ...";
constexpr const char *NothingSelected = "There is no .TTF - File in the righthand File-List-Box selected.";
constexpr const char *CopyFailed = "The File could not be copied into the Fonts-Folder.";
constexpr const char *FolderNotOpened = "Fonts-Folder not opened";
constexpr const char *OpenItYourself = "No program could open the Fonts-Folder. You find it here:\n";
constexpr const char *NotAFontToAdd = "The selected File is not a valid Font-File.";

void setHeight(QWidget *control, int height)
{
    control->resize(control->width(), height);
}
} // namespace

TForm1::TForm1(platform::FontTable &fonts, const QStringList &startupFontNames, QWidget *parent)
    : QWidget(parent), m_fonts(fonts), m_startupFontNames(startupFontNames), m_preview(fonts), m_frame(this, [this] { FormResize(); }),
      m_previewNotice(ScreenReaderNotice::create(this))
{
    Form1 = this;
    setupUi(this);
    StringGrid1->setFontTable(&fonts);
    m_designedOuterSize = size();
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addActions({mnuitCopy1, mnuitdec1, mnuithex1});
    StringGrid1->setPopupMenu(PopupMenu1);
    DriveComboBox1->setBrowser(&m_browser);
    DirectoryListBox1->setBrowser(&m_browser);
    FileListBox1->setBrowser(&m_browser);
    FileDrag1 = new TFileDrag(this);
    FileDrag1->setObjectName(QStringLiteral("FileDrag1"));
    FileDrag1->setEnableDrop(false);
    FileDrag1->setOnDrop([this](QObject *) { FileDrag1Drop(); });
    Label1->setMouseTracking(true);
    Panel1->setMouseTracking(true);
    Label1->installEventFilter(this);
    Panel1->installEventFilter(this);
    connectHandlers();
    keepColourPairsReadable();
    keepCaptionsInside();
    describeControls();
    addShortcuts(*this);
    ComboBox1->setFocus(); // the active control when the window opens
    FormCreate();
}

TForm1::~TForm1()
{
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::connectHandlers()
{
    connect(SpinEdit1, &TSpinEdit::Change, this, &TForm1::SpinEdit1Change);
    connect(SpinEdit2, &TSpinEdit::Change, this, &TForm1::SpinEdit2Change);
    connect(ComboBox1, &TComboBox::Click, this, &TForm1::ComboBox1Click);
    connect(ComboBox1, &TComboBox::Change, this, &TForm1::ComboBox1Change);
    connect(SpinEdit1, &TSpinEdit::EntryMouseMove, this, &TForm1::Panel1MouseMove);
    connect(btnAdd, &QPushButton::clicked, this, &TForm1::btnAddClick);
    connect(btnDel, &QPushButton::clicked, this, &TForm1::btnDelClick);
    connect(StringGrid1, &TStringGrid::MouseDown, this, &TForm1::StringGrid1MouseDown);
    connect(StringGrid1, &TStringGrid::MouseUp, this, &TForm1::StringGrid1MouseDown);
    connect(StringGrid1, &TStringGrid::KeyPick, this, &TForm1::StringGrid1KeyPick);
    connect(mnuitCopy1, &QAction::triggered, this, &TForm1::mnuitCopy1Click);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Label1, &ClickableLabel::clicked, this, &TForm1::Label1Click);
    connect(DirectoryListBox1, &TDirectoryListBox::Click, this, &TForm1::DirectoryListBox1Enter);
    connect(DirectoryListBox1, &TDirectoryListBox::Enter, this, &TForm1::DirectoryListBox1Enter);
    connect(DirectoryListBox1, &TDirectoryListBox::Exit, this, &TForm1::DirectoryListBox1Exit);
    connect(DirectoryListBox1, &TDirectoryListBox::MouseUp, this, &TForm1::DirectoryListBox1MouseUp);
    connect(DirectoryListBox1, &TDirectoryListBox::folderError, this, &TForm1::showFolderError);
    connect(FileListBox1, &TFileListBox::Click, this, &TForm1::FileListBox1Click);
    connect(FileListBox1, &TFileListBox::MouseUp, this, &TForm1::FileListBox1MouseUp);
    connect(FileListBox1, &TFileListBox::KeyUp, this, &TForm1::FileListBox1KeyUp);
    connect(&m_preview, &FontPreview::shown, this, &TForm1::showPreviewOutcome);
}

void TForm1::FormCreate()
{
    FontsChanged = 0;
    fillChart();
    fillFontList();
    applyScreenHeightRule();
    FileDrag1->setEnableDrop(true);
}

void TForm1::fillChart()
{
    for (int code = chart::FirstCode; code <= chart::LastCode; ++code)
        StringGrid1->setCells(chart::cellCol(code), chart::cellRow(code), QString(charset::ansiToUnicode(code)));
}

void TForm1::fillFontList()
{
    ComboBox1->fill(m_startupFontNames);
    // Every item is compared; with several exact matches the last one stays selected.
    for (int i = 0; i < ComboBox1->count(); ++i) {
        if (ComboBox1->itemText(i) == QLatin1String(DefaultFace))
            ComboBox1->setItemIndex(i);
    }
}

void TForm1::applyScreenHeightRule()
{
    if (platform::primaryScreenHeight() > ShortScreenHeight) {
        m_designedOuterSize.setHeight(TallWindowHeight);
        setOuterSize(m_designedOuterSize);
    }
    m_expectedClientSize = size();
}

QSize TForm1::outerSize() const
{
    return size().grownBy(m_frame.current());
}

void TForm1::setOuterSize(const QSize &outer)
{
    resize(outer.shrunkBy(m_frame.current()));
}

void TForm1::SpinEdit1Change()
{
    StringGrid1->setFontSize(SpinEdit1->Value());
}

void TForm1::ComboBox1Change()
{
    applySelectedFace();
}

void TForm1::applySelectedFace()
{
    // An empty name (nothing selected) leaves both fonts as they are.
    StringGrid1->setFontName(ComboBox1->Text());
    RichEdit1->setFontName(ComboBox1->Text());
}

void TForm1::RefreshFontList()
{
    const QStringList names = m_fonts.ReadInstalledFontNames();
    ComboBox1->setSorted(true);
    ComboBox1->fill(names);
    FontsChanged = 0;
}

void TForm1::ComboBox1Click()
{
    if (FontsChanged == 1)
        RefreshFontList();
}

void TForm1::Panel1MouseMove()
{
    if (FontsChanged == 1)
        RefreshFontList();
    ComboBox1->setSorted(true);
}

void TForm1::SpinEdit2Change()
{
    StringGrid1->setDefaultColWidth(SpinEdit2->Value());
    StringGrid1->setDefaultRowHeight(SpinEdit2->Value());
}

void TForm1::FormResize()
{
    // The chart follows the window's outer size, but never reaches past the client area.
    const QSize outer = outerSize();
    const int width = std::min(outer.width() - ChartWidthMargin, this->width() - StringGrid1->x());
    const int height = std::min(outer.height() - ChartHeightMargin, this->height() - StringGrid1->y());
    StringGrid1->resize(std::max(0, width), std::max(0, height));
    RichEdit1->move(PickedCharacterLeft, RichEdit1->y());
}

void TForm1::Label1MouseMove()
{
    QPalette pal = Label1->palette();
    pal.setColor(QPalette::WindowText, m_logoColours.nextColour());
    pal.setColor(QPalette::Window, m_logoColours.nextColour());
    Label1->setPalette(pal);
}

void TForm1::Label1Click()
{
    openAboutBox(this);
}

// A mouse pick leaves the focus in the picked-character box, with the character selected.
void TForm1::StringGrid1MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, const QPoint &Pos)
{
    if (pickCellAt(Pos))
        RichEdit1->setFocus();
}

// A pick from the keyboard (Enter, Space, the menu key, Shift+F10) leaves the focus on the
// chart, so that its keys go on working; the picked-character box holds the character all the
// same.
void TForm1::StringGrid1KeyPick(const QPoint &Pos)
{
    pickCellAt(Pos);
}

// Over no cell nothing is picked: the last pick stays.
bool TForm1::pickCellAt(const QPoint &pos)
{
    int col, row;
    if (!StringGrid1->MouseToCell(pos, &col, &row))
        return false;
    const int code = chart::cellCode(col, row);
    RichEdit1->setText(QString(charset::ansiToUnicode(code)));
    RichEdit1->setSelStart(0);
    RichEdit1->setSelLength(1);
    mnuitdec1->setText(chart::decCaption(code));
    mnuithex1->setText(chart::hexCaption(col, row));
    StringGrid1->setSelection(col, row);
    return true;
}

void TForm1::mnuitCopy1Click()
{
    RichEdit1->copy();
}

// Ctrl+C on the chart: the current cell is picked as a key picks it, then copied.
void TForm1::StringGrid1CopyKey()
{
    StringGrid1KeyPick(StringGrid1->cellRect(StringGrid1->Col(), StringGrid1->Row()).center());
    mnuitCopy1Click();
}

// The form fixes some colours (the lists' pale blue, the buttons' green and red text); their
// partners are fixed too, so that each pair stays readable whatever the desktop's theme.
void TForm1::keepColourPairsReadable()
{
    fixTextOnFixedBackgrounds(this);
    const QColor darkText(Qt::black), lightFace(0xF0, 0xF0, 0xF0);
    for (QWidget *list : QList<QWidget *>{DriveComboBox1, DirectoryListBox1, FileListBox1}) {
        QPalette pal = list->palette();
        for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
            pal.setColor(role, darkText);
        list->setPalette(pal);
    }
    for (QWidget *button : QList<QWidget *>{btnAdd, btnDel}) {
        QPalette pal = button->palette();
        pal.setColor(QPalette::Button, lightFace);
        button->setPalette(pal);
    }
}

// The captions of the buttons the form sizes in pixels stay whole under any style and font (the
// size boxes see to their own).
void TForm1::keepCaptionsInside()
{
    for (QPushButton *button : {Button1, btnAdd, btnDel})
        keepTextInside(button);
}

// A control's hint is its description for screen readers too, also while the hint is switched
// off.
void TForm1::describeControls()
{
    const QList<QWidget *> controls = findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (control->accessibleDescription().isEmpty() && !control->toolTip().isEmpty())
            control->setAccessibleDescription(control->toolTip());
    }
}

bool TForm1::ShowHint(const QWidget *control)
{
    return !control->toolTip().isEmpty();
}

void TForm1::SetShowHint(QWidget *control, bool show)
{
    const QString hint = Hint(control);
    control->setProperty(SavedHintProperty, hint);
    control->setToolTip(show ? hint : QString());
}

QString TForm1::Hint(const QWidget *control)
{
    const QVariant saved = control->property(SavedHintProperty);
    return saved.isValid() ? saved.toString() : control->toolTip();
}

void TForm1::Button1Click()
{
    DriveComboBox1->show();
    DirectoryListBox1->show();
    FileListBox1->show();
    Button1->hide();
    btnAdd->show();
    btnDel->show();
}

void TForm1::DirectoryListBox1Enter()
{
    setHeight(DirectoryListBox1, GrownFolderListHeight);
}

void TForm1::DirectoryListBox1Exit()
{
    setHeight(DirectoryListBox1, CompactListHeight);
}

void TForm1::DirectoryListBox1MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers, const QPoint &)
{
    if (Button != Qt::RightButton)
        return;
    if (DirectoryListBox1->height() == CompactListHeight) {
        SetShowHint(DirectoryListBox1, false);
        setHeight(DirectoryListBox1, GrownFolderListHeight);
    } else {
        setHeight(DirectoryListBox1, CompactListHeight);
        SetShowHint(DirectoryListBox1, true);
    }
}

void TForm1::FileListBox1MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers, const QPoint &)
{
    if (Button != Qt::RightButton)
        return;
    setHeight(FileListBox1,
              FileListBox1->height() == CompactListHeight ? GrownFileListHeight : CompactListHeight);
}

void TForm1::FileListBox1KeyUp(int Key, Qt::KeyboardModifiers)
{
    if (Key >= VkLeft && Key <= VkDown)
        SetShowHint(FileListBox1, false);
}

void TForm1::FileListBox1Click()
{
    showPreview(FileListBox1->FileName());
}

void TForm1::showPreview(const QString &path)
{
    ComboBox1->setSorted(false);
    const FontPreview::Result preview = m_preview.show(path);
    PreviewFontFile = path;
    FontCountBefore = preview.countBefore;
    showPreviewOutcome(preview);
}

void TForm1::showPreviewOutcome(const FontPreview::Result &preview)
{
    ComboBox1->fill(preview.names);
    if (preview.outcome == FontPreview::Outcome::Pending)
        return; // the outcome follows through FontPreview::shown
    if (ComboBox1->count() != FontCountBefore) {
        // The face added last is the selector's last entry while sorting is off.
        ComboBox1->setItemIndex(ComboBox1->count() - 1);
        applySelectedFace();
    } else if (preview.outcome == FontPreview::Outcome::NotAFont) {
        ComboBox1->setText(QLatin1String(NotAFontFile));
    } else {
        ComboBox1->setText(QLatin1String(AlreadyInstalled));
    }
    // The selector tells a screen reader itself while it has the focus.
    if (!ComboBox1->hasFocus())
        m_previewNotice->announce(ComboBox1->shownText());
}

void TForm1::RemovePreviewFont()
{
    m_preview.end();
}

void TForm1::btnAddClick()
{
    if (FileListBox1->FileName().isEmpty()) {
        QMessageBox::warning(this, QLatin1String(DoneNothing), QLatin1String(NothingSelected));
        return;
    }
    // A file the font table takes no face from is not installed. (A file gone by now is left
    // to the copy, which reports that it failed.)
    const QString source = FileListBox1->FileName();
    if (platform::isFile(source) && !m_fonts.hasFaces(source)) {
        QMessageBox::warning(this, QLatin1String(DoneNothing), QLatin1String(NotAFontToAdd));
        return;
    }
    RemovePreviewFont();
    platform::ensureUserFontsFolder();
    const QString folder = platform::userFontsFolder();
    const QString target = folder + QLatin1Char('/') + QFileInfo(source).fileName();
    // A file of that name in the folder stays as it is, silently; any other failure is reported.
    if (platform::copyFileNoOverwrite(source, target) == platform::CopyResult::Failed) {
        QMessageBox::warning(this, QLatin1String(DoneNothing), QLatin1String(CopyFailed));
        return;
    }
    openFontsFolder();
    FontsChanged = 1;
}

void TForm1::btnDelClick()
{
    platform::ensureUserFontsFolder();
    openFontsFolder();
    FontsChanged = 1;
}

void TForm1::showFolderError(const QString &text)
{
    QMessageBox::warning(this, QStringLiteral("Tavoret"), text);
}

void TForm1::openFontsFolder()
{
    // Where no file manager takes the folder, the user is told where it is instead.
    const QString folder = platform::userFontsFolder();
    platform::openFolder(folder, this, [this, folder] {
        QMessageBox::warning(this, QLatin1String(FolderNotOpened), QLatin1String(OpenItYourself) + folder);
    });
}

void TForm1::FileDrag1Drop()
{
    if (FileDrag1->FileCount() == 0)
        return;
    const QString name = FileDrag1->NameWithPath().at(0);
    // A folder named like a font file, or a file gone since the drop, is not a TrueType file.
    if (fontfiles::isTrueTypeExtension(FileDrag1->Extension().at(0)) && platform::isFile(name)) {
        Button1Click();
        DriveComboBox1->setDrive(name);
        DirectoryListBox1->setDirectory(name);
        FileListBox1->setFileName(name);
    }
    showPreview(FileListBox1->FileName());
    if (FileListBox1->isVisible())
        FileListBox1->setFocusByProgram();
}

void TForm1::FormClose()
{
    RemovePreviewFont();
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Panel1 && event->type() == QEvent::MouseMove)
        Panel1MouseMove();
    if (watched == Label1 && event->type() == QEvent::MouseMove)
        Label1MouseMove();
    return QWidget::eventFilter(watched, event);
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // A size that the program did not give is the user's (or the window manager's): from then
    // on the window keeps the size it has.
    if (event->spontaneous() && event->size() != m_expectedClientSize)
        m_keepDesignedSize = false;
    FormResize();
}

void TForm1::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    keepDesignedOuterSize();
}

void TForm1::keepDesignedOuterSize()
{
    if (!m_keepDesignedSize || (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QSize frame = windowFrameSize(m_frame.current());
    if (frame == m_frameApplied)
        return;
    m_frameApplied = frame;
    m_expectedClientSize = m_designedOuterSize - frame;
    setOuterSize(m_designedOuterSize);
}

// The resize rule holds from the first show on. The designed size is not applied again to a
// window restored after being minimised: its frame is the one it was applied with.
void TForm1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    FormResize();
    keepDesignedOuterSize();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

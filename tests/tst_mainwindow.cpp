// The main window driven through real widgets and events: layout, the chart's size boxes,
// picking cells with the mouse, the context menu captions and copying a character.
#include "testsupport.h"
#include "unit1.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QtTest>

#include <memory>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void controlsAsDesigned_data();
    void controlsAsDesigned();
    void startsWithDesignedValues();
    void resizeRule_data();
    void resizeRule();
    void logoColoursFollowTheMouse();
    void sizeBoxes_data();
    void sizeBoxes();
    void typedCellSizeAppliesPerKeystroke();
    void hugeSizesAreDrawnCapped();
    void pickByButton_data();
    void pickByButton();
    void pickAtScrolledPosition();
    void dragEndsOnReleaseCell();
    void pickOutsideCellsKeepsLastPick();
    void gridKeyboardMovesPickNothing();
    void copyPutsThreeFormats();
    void emptyFaceChangesNothing();
    void cellsShowTheFontsOwnGlyphs_data();
    void cellsShowTheFontsOwnGlyphs();
    void selectedCellColours();

private:
    QPoint CellCentre(int col, int row) const;
    QImage CellImage(int col, int row) const;
    void PickWith(Qt::MouseButton button, int col, int row);
    std::unique_ptr<TForm1> m_form;
};

void TestMainWindow::initTestCase()
{
    StartupFontNames = {QStringLiteral("DejaVu Sans"), QStringLiteral("Times New Roman"),
                        QStringLiteral("Liberation Mono")};
}

void TestMainWindow::init()
{
    m_form = testsupport::OpenMainWindow(StartupFontNames);
    QVERIFY(m_form);
}

void TestMainWindow::cleanup()
{
    m_form.reset();
}

QPoint TestMainWindow::CellCentre(int col, int row) const
{
    const TStringGrid *grid = m_form->StringGrid1;
    const int w = grid->DefaultColWidth() + 1, h = grid->DefaultRowHeight() + 1;
    return QPoint((col - grid->LeftCol()) * w + w / 2, (row - grid->TopRow()) * h + h / 2);
}

void TestMainWindow::PickWith(Qt::MouseButton button, int col, int row)
{
    QWidget *viewport = m_form->StringGrid1->viewport();
    QTest::mousePress(viewport, button, {}, CellCentre(col, row));
    QTest::mouseRelease(viewport, button, {}, CellCentre(col, row));
}

void TestMainWindow::controlsAsDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QString>("hint");
    QTest::newRow("Label1") << "Label1" << QRect(568, 0, 57, 29) << true << "";
    QTest::newRow("Panel1") << "Panel1" << QRect(0, 16, 217, 25) << true << "";
    QTest::newRow("RichEdit1") << "RichEdit1" << QRect(10, 80, 33, 25) << true << "";
    QTest::newRow("SpinEdit1") << "SpinEdit1" << QRect(176, 0, 41, 26) << true << "Font-Size";
    QTest::newRow("ComboBox1") << "ComboBox1" << QRect(0, 0, 177, 24) << true << "";
    QTest::newRow("SpinEdit2") << "SpinEdit2" << QRect(216, 0, 41, 26) << true << "Grid-Size";
    QTest::newRow("DriveComboBox1") << "DriveComboBox1" << QRect(264, 0, 65, 19) << false << "";
    QTest::newRow("DirectoryListBox1") << "DirectoryListBox1" << QRect(328, 0, 129, 33) << false
                                       << "Right-Click to enlarge";
    QTest::newRow("FileListBox1") << "FileListBox1" << QRect(456, 0, 113, 33) << false
                                  << "You can use the Arrow-Keys";
    QTest::newRow("Button1") << "Button1" << QRect(320, 0, 145, 17) << true << "Let's browse *.TTF - Files";
    QTest::newRow("btnAdd") << "btnAdd" << QRect(296, 24, 25, 11) << false << "Install the selected TTF-Font";
    QTest::newRow("btnDel") << "btnDel" << QRect(264, 24, 25, 11) << false << "Delete an installed Font";
}

void TestMainWindow::controlsAsDesigned()
{
    QFETCH(QString, name);
    auto *control = m_form->findChild<QWidget *>(name);
    QVERIFY(control);
    QTEST(control->geometry(), "geometry");
    QTEST(control->isVisible(), "visible");
    QTEST(control->toolTip(), "hint");
}

void TestMainWindow::startsWithDesignedValues()
{
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Tavoret"));
    QCOMPARE(m_form->pos(), QPoint(0, 0));
    QCOMPARE(m_form->focusWidget(), m_form->ComboBox1);
    QCOMPARE(m_form->StringGrid1->FontName(), QStringLiteral("Times New Roman"));
    QCOMPARE(m_form->StringGrid1->FontSize(), 20);
    QCOMPARE(m_form->StringGrid1->DrawFont().pixelSize(), 27);
    QCOMPARE(m_form->StringGrid1->Cells(0, 6), QString(QChar(0x20AC)));
    QCOMPARE(m_form->StringGrid1->Cells(15, 13), QStringLiteral("\u00FF"));
    QCOMPARE(m_form->mnuitdec1->text(), QStringLiteral("dec"));
    QCOMPARE(m_form->mnuithex1->text(), QStringLiteral("hex"));
    QCOMPARE(m_form->PopupMenu1->actions(),
             (QList<QAction *>{m_form->mnuitCopy1, m_form->mnuitdec1, m_form->mnuithex1}));
    // Later controls lie above earlier ones: the chart covers the rich-text box.
    const QObjectList &children = m_form->children();
    QVERIFY(children.indexOf(m_form->StringGrid1) > children.indexOf(m_form->RichEdit1));
    QVERIFY(children.indexOf(m_form->ComboBox1) > children.indexOf(m_form->Panel1));
}

void TestMainWindow::resizeRule_data()
{
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QSize>("grid");
    QTest::addColumn<bool>("horizontalBar");
    QTest::addColumn<bool>("verticalBar");
    QTest::newRow("short display") << QSize(640, 480) << QSize(630, 417) << false << true;
    QTest::newRow("tall display") << QSize(640, 600) << QSize(630, 537) << false << false;
    QTest::newRow("wide") << QSize(1000, 700) << QSize(990, 637) << false << false;
    QTest::newRow("narrow") << QSize(400, 600) << QSize(390, 537) << true << false;
    QTest::newRow("too small") << QSize(8, 50) << QSize(0, 0) << true << true;
}

void TestMainWindow::resizeRule()
{
    QFETCH(QSize, outer);
    m_form->SetOuterSize(outer);
    QTEST(m_form->StringGrid1->size(), "grid");
    QTEST(m_form->StringGrid1->horizontalScrollBar()->maximum() > 0, "horizontalBar");
    QTEST(m_form->StringGrid1->verticalScrollBar()->maximum() > 0, "verticalBar");
    QCOMPARE(m_form->StringGrid1->pos(), QPoint(0, 35));
    QCOMPARE(m_form->Label1->pos(), QPoint(568, 0));
    QVERIFY(m_form->rect().contains(m_form->StringGrid1->geometry()) || m_form->StringGrid1->size().isEmpty());
}

void TestMainWindow::logoColoursFollowTheMouse()
{
    QTest::mouseMove(m_form->Label1, QPoint(5, 5));
    QCOMPARE(m_form->Label1->palette().color(QPalette::WindowText), QColor(0, 8, 219));
    QCOMPARE(m_form->Label1->palette().color(QPalette::Window), QColor(51, 69, 171));
    QTest::mouseMove(m_form->Label1, QPoint(6, 6));
    QCOMPARE(m_form->Label1->palette().color(QPalette::WindowText), QColor(81, 41, 94));
    QCOMPARE(m_form->Label1->palette().color(QPalette::Window), QColor(108, 20, 121));
}

void TestMainWindow::sizeBoxes_data()
{
    QTest::addColumn<QString>("box");   // "font" or "cell"
    QTest::addColumn<QString>("start"); // the box's text first
    QTest::addColumn<QString>("keys");  // typed text; ^ Up, v Down, < Backspace, ! Enter, | leave the box
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("applied");   // the chart's font size or cell size afterwards
    QTest::newRow("typed, then left") << "cell" << "" << "5000|" << "1000" << 1000;
    QTest::newRow("erased: the minimum, nothing corrected") << "font" << "20" << "<<|" << "" << 2;
    QTest::newRow("refused keys beep") << "font" << "20" << "a x!" << "20" << 20;
    QTest::newRow("signs are typed") << "font" << "20" << "-+" << "20-+" << 2;
    QTest::newRow("up") << "font" << "20" << "^" << "21" << 21;
    QTest::newRow("up at the maximum") << "font" << "1000" << "^" << "1000" << 1000;
    QTest::newRow("down below the range") << "font" << "-40" << "v" << "2" << 2;
    QTest::newRow("negative, then left") << "cell" << "" << "-7|" << "1" << 1;
}

void TestMainWindow::sizeBoxes()
{
    QFETCH(QString, box);
    QFETCH(QString, start);
    QFETCH(QString, keys);
    TSpinEdit *spin = box == QLatin1String("font") ? m_form->SpinEdit1 : m_form->SpinEdit2;
    spin->setText(start);
    QLineEdit *editor = spin->Editor();
    editor->setFocus();
    editor->setCursorPosition(start.size());
    for (const QChar key : keys) {
        switch (key.unicode()) {
        case '^': QTest::keyClick(editor, Qt::Key_Up); break;
        case 'v': QTest::keyClick(editor, Qt::Key_Down); break;
        case '<': QTest::keyClick(editor, Qt::Key_Backspace); break;
        case '!': QTest::keyClick(editor, Qt::Key_Return); break;
        case '|': m_form->ComboBox1->setFocus(); break;
        default: QTest::keyClicks(editor, QString(key));
        }
    }
    QTEST(spin->Text(), "text");
    TStringGrid *grid = m_form->StringGrid1;
    QTEST(box == QLatin1String("font") ? grid->FontSize() : grid->DefaultColWidth(), "applied");
    QCOMPARE(grid->DefaultRowHeight(), grid->DefaultColWidth());
}

void TestMainWindow::typedCellSizeAppliesPerKeystroke()
{
    QLineEdit *editor = m_form->SpinEdit2->Editor();
    editor->setFocus();
    editor->selectAll();
    QList<int> sizes;
    connect(m_form->SpinEdit2, &TSpinEdit::Change, this, [&] { sizes << m_form->StringGrid1->DefaultColWidth(); });
    QTest::keyClicks(editor, QStringLiteral("5000"));
    QCOMPARE(sizes.mid(sizes.size() - 4), (QList<int>{5, 50, 500, 5000}));
    QTest::mouseClick(m_form->SpinEdit2->findChild<QWidget *>(QStringLiteral("up")), Qt::LeftButton);
    QCOMPARE(m_form->SpinEdit2->Text(), QStringLiteral("1000")); // a step lands within the range
}

void TestMainWindow::hugeSizesAreDrawnCapped()
{
    m_form->SpinEdit1->setText(QStringLiteral("2000000000"));
    m_form->SpinEdit2->setText(QStringLiteral("2000000000"));
    QCOMPARE(m_form->StringGrid1->FontSize(), 2000000000);
    QCOMPARE(m_form->StringGrid1->DrawFont().pixelSize(), qRound(1000 * m_form->logicalDpiY() / 72.0));
    QVERIFY(!m_form->StringGrid1->grab().isNull()); // draws, and in reasonable time
    m_form->SpinEdit1->setText(QStringLiteral("-5"));
    QVERIFY(!m_form->StringGrid1->grab().isNull());
}

void TestMainWindow::pickByButton_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("dec");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<bool>("menu");
    QTest::newRow("right on A") << Qt::RightButton << 1 << 2 << "Dec: 0065" << "Hex: 41" << true;
    QTest::newRow("right on space") << Qt::RightButton << 0 << 0 << "Dec: 0032" << "Hex: 20" << true;
    QTest::newRow("left on d") << Qt::LeftButton << 4 << 4 << "Dec: 0100" << "Hex: 64" << false;
    QTest::newRow("middle on 255") << Qt::MiddleButton << 15 << 13 << "Dec: 0255" << "Hex: FF" << false;
}

void TestMainWindow::pickByButton()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(bool, menu);
    m_form->SetOuterSize(QSize(640, 600));
    PickWith(button, col, row);
    QTEST(m_form->mnuitdec1->text(), "dec");
    QTEST(m_form->mnuithex1->text(), "hex");
    QCOMPARE(m_form->RichEdit1->Text(), m_form->StringGrid1->Cells(col, row));
    QCOMPARE(m_form->RichEdit1->SelStart(), 0);
    QCOMPARE(m_form->RichEdit1->SelLength(), 1);
    QCOMPARE(m_form->StringGrid1->Col(), col);
    QCOMPARE(m_form->StringGrid1->Row(), row);
    QCOMPARE(m_form->PopupMenu1->isVisible(), menu);
    if (!menu) // the rich-text box keeps the focus with the character selected
        QCOMPARE(QApplication::focusWidget(), m_form->RichEdit1);
    m_form->PopupMenu1->hide();
}

void TestMainWindow::pickAtScrolledPosition()
{
    m_form->SetOuterSize(QSize(640, 480)); // the 14 rows no longer fit
    QVERIFY(m_form->StringGrid1->verticalScrollBar()->maximum() >= 3);
    m_form->StringGrid1->setTopRow(3);
    QWidget *viewport = m_form->StringGrid1->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(m_form->mnuitdec1->text(), QStringLiteral("Dec: 0080"));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(m_form->RichEdit1->Text(), QStringLiteral("P"));
    QCOMPARE(m_form->StringGrid1->Row(), 3);
}

void TestMainWindow::dragEndsOnReleaseCell()
{
    QWidget *viewport = m_form->StringGrid1->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, CellCentre(1, 2));
    QCOMPARE(m_form->RichEdit1->Text(), QStringLiteral("A"));
    QMouseEvent move(QEvent::MouseMove, CellCentre(3, 4), viewport->mapToGlobal(CellCentre(3, 4)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, CellCentre(3, 4));
    QCOMPARE(m_form->RichEdit1->Text(), QStringLiteral("c"));
    QCOMPARE(m_form->mnuitdec1->text(), QStringLiteral("Dec: 0099"));
    QCOMPARE(m_form->StringGrid1->Col(), 3);
    QCOMPARE(m_form->StringGrid1->Row(), 4);
}

void TestMainWindow::pickOutsideCellsKeepsLastPick()
{
    m_form->SetOuterSize(QSize(640, 600));
    PickWith(Qt::LeftButton, 1, 2);
    // Right of column 15 the grid holds no cell.
    const QPoint beyond(16 * 38 + 5, 10);
    QVERIFY(beyond.x() < m_form->StringGrid1->viewport()->width());
    QTest::mousePress(m_form->StringGrid1->viewport(), Qt::RightButton, {}, beyond);
    QTest::mouseRelease(m_form->StringGrid1->viewport(), Qt::RightButton, {}, beyond);
    QCOMPARE(m_form->mnuitdec1->text(), QStringLiteral("Dec: 0065"));
    QCOMPARE(m_form->RichEdit1->Text(), QStringLiteral("A"));
    m_form->PopupMenu1->hide();
}

void TestMainWindow::gridKeyboardMovesPickNothing()
{
    PickWith(Qt::LeftButton, 1, 2);
    m_form->StringGrid1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(m_form->StringGrid1, Qt::Key_Right);
    QTest::keyClick(m_form->StringGrid1, Qt::Key_Down);
    QCOMPARE(m_form->StringGrid1->Col(), 2);
    QCOMPARE(m_form->StringGrid1->Row(), 3);
    QCOMPARE(m_form->RichEdit1->Text(), QStringLiteral("A"));
    QCOMPARE(m_form->mnuitdec1->text(), QStringLiteral("Dec: 0065"));
}

void TestMainWindow::copyPutsThreeFormats()
{
    m_form->SpinEdit1->setText(QStringLiteral("48")); // the chart's size does not reach the clipboard
    m_form->ComboBox1->setFocus();
    const int index = m_form->ComboBox1->findText(QStringLiteral("DejaVu Sans"));
    QVERIFY(index >= 0);
    m_form->ComboBox1->setCurrentIndex(index);
    emit m_form->ComboBox1->activated(index); // as a pick by the user
    QCOMPARE(m_form->StringGrid1->FontName(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(m_form->RichEdit1->FontName(), QStringLiteral("DejaVu Sans"));
    PickWith(Qt::RightButton, 1, 2);
    m_form->PopupMenu1->hide();
    QApplication::clipboard()->clear();
    m_form->mnuitCopy1->trigger();
    const QMimeData *data = QApplication::clipboard()->mimeData();
    QVERIFY(data);
    QCOMPARE(data->text(), QStringLiteral("A"));
    const QString html = data->html();
    QVERIFY2(html.contains(QStringLiteral("font-family:'DejaVu Sans'")), qPrintable(html));
    QVERIFY2(html.contains(QStringLiteral("font-size:12pt")), qPrintable(html));
    const QByteArray rtf = data->data(QStringLiteral("text/rtf"));
    QVERIFY2(rtf.contains("{\\fonttbl{\\f0\\fnil DejaVu Sans;}}") && rtf.contains("\\fs24 A}"), rtf.constData());
    // The box keeps the character selected, so its own copy keystroke copies the same.
    QApplication::clipboard()->clear();
    QTest::keyClick(m_form->RichEdit1, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->mimeData()->text(), QStringLiteral("A"));
}

void TestMainWindow::emptyFaceChangesNothing()
{
    m_form->ComboBox1->setItemIndex(-1);
    m_form->ComboBox1Change();
    QCOMPARE(m_form->StringGrid1->FontName(), QStringLiteral("Times New Roman"));
    QCOMPARE(m_form->RichEdit1->FontName(), QStringLiteral("Times New Roman"));
}

QImage TestMainWindow::CellImage(int col, int row) const
{
    const int w = m_form->StringGrid1->DefaultColWidth(), h = m_form->StringGrid1->DefaultRowHeight();
    const QImage all = m_form->StringGrid1->viewport()->grab().toImage();
    return all.copy(col * (w + 1), row * (h + 1), w, h);
}

void TestMainWindow::cellsShowTheFontsOwnGlyphs_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("face");
    QTest::addColumn<QPoint>("first");
    QTest::addColumn<QPoint>("second");
    QTest::addColumn<bool>("same");
    // Every test-font character has its own shape; characters a font lacks all show its box.
    QTest::newRow("A and B") << "files/TavoretAlpha.ttf" << "Tavoret Test Alpha" << QPoint(1, 2) << QPoint(2, 2) << false;
    QTest::newRow("missing: own box, no fallback") << "files/TavoretAlpha.ttf" << "Tavoret Test Alpha"
                                                   << QPoint(0, 12) << QPoint(1, 12) << true;
    QTest::newRow("symbol letters") << "files/TavoretSymbol.ttf" << "Tavoret Test Symbol" << QPoint(1, 2)
                                    << QPoint(2, 2) << false;
    QTest::newRow("symbol codes 80 and 81") << "files/TavoretSymbol.ttf" << "Tavoret Test Symbol" << QPoint(0, 6)
                                            << QPoint(1, 6) << false;
    QTest::newRow("symbol codes C0 and C1") << "files/TavoretSymbol.ttf" << "Tavoret Test Symbol" << QPoint(0, 10)
                                            << QPoint(1, 10) << false;
}

void TestMainWindow::cellsShowTheFontsOwnGlyphs()
{
    QFETCH(QString, file);
    QFETCH(QString, face);
    QFETCH(QPoint, first);
    QFETCH(QPoint, second);
    const int id = QFontDatabase::addApplicationFont(testsupport::fontPath(file));
    QVERIFY(id >= 0);
    m_form->SetOuterSize(QSize(640, 600));
    m_form->StringGrid1->setFontName(face);
    m_form->StringGrid1->setSelection(15, 13); // keep the highlight away from the compared cells
    const QImage a = CellImage(first.x(), first.y());
    const QImage b = CellImage(second.x(), second.y());
    QVERIFY(a != CellImage(0, 0)); // something is drawn, unlike the space
    QTEST(a == b, "same");
    QFontDatabase::removeApplicationFont(id);
}

void TestMainWindow::selectedCellColours()
{
    const QColor highlight = m_form->StringGrid1->palette().color(QPalette::Highlight);
    const QColor base = m_form->StringGrid1->palette().color(QPalette::Base);
    m_form->StringGrid1->setSelection(3, 3);
    QCOMPARE(CellImage(3, 3).pixelColor(1, 1), highlight); // another control has the focus
    QCOMPARE(CellImage(4, 3).pixelColor(1, 1), base);
    m_form->StringGrid1->setFocus();
    QCOMPARE(CellImage(3, 3).pixelColor(5, 30), base); // the grid's own focus: normal colours
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

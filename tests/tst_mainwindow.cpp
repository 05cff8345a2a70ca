// The main window driven through real widgets and events: layout, the chart's size boxes,
// picking cells with the mouse, the context menu captions and copying a character.
#include "platform/fonttable.h"
#include "interfacefonts.h"
#include "testsupport.h"
#include "unit1.h"
#include "unit2.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTextDocument>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT
    testsupport::MainWindow m_form;

    QPoint CellCentre(int col, int row) const
    {
        return m_form->StringGrid1->cellRect(col, row).center();
    }
    void Click(Qt::MouseButton button, const QPoint &at)
    {
        QTest::mousePress(m_form->StringGrid1->viewport(), button, {}, at);
        QTest::mouseRelease(m_form->StringGrid1->viewport(), button, {}, at);
    }
    QImage CellImage(int col, int row) const
    {
        const int w = m_form->StringGrid1->DefaultColWidth(), h = m_form->StringGrid1->DefaultRowHeight();
        return m_form->StringGrid1->viewport()->grab().toImage().copy(col * (w + 1), row * (h + 1), w, h);
    }

private slots:
    void init()
    {
        m_form = testsupport::OpenMainWindow({"DejaVu Sans", "Times New Roman", "Liberation Mono"});
        QVERIFY(m_form);
    }
    void cleanup() { m_form.reset(); }

    // Qt searches every installed family for a family it does not have: every font the window
    // and the About box give Qt names an installed one, while the chart and the picked-character
    // box keep the form's face name.
    void interfaceFontsAreInstalled()
    {
        TAboutBox about;
        QStringList missing;
        for (QWidget *window : QList<QWidget *>{m_form.get(), &about}) {
            QList<QWidget *> widgets = window->findChildren<QWidget *>();
            widgets << window;
            for (QWidget *widget : std::as_const(widgets)) {
                if (!widget->property("showsNamedFace").toBool() && !interfacefonts::qtHasFamily(widget->font().family()))
                    missing << widget->objectName() + ": " + widget->font().family();
            }
        }
        QCOMPARE(missing, QStringList());
        QVERIFY(interfacefonts::qtHasFamily(QApplication::font().family()));
        QVERIFY(!interfacefonts::qtHasFamily(QStringLiteral("MS Sans Serif"))); // what the forms name
        QCOMPARE(m_form->StringGrid1->FontName(), QStringLiteral("Times New Roman"));
        QCOMPARE(m_form->RichEdit1->FontName(), QStringLiteral("Times New Roman"));
        QVERIFY(interfacefonts::qtHasFamily(m_form->RichEdit1->font().family()));
    }

    void startsWithDesignedValues()
    {
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Tavoret"));
        QStringList hints;
        for (QWidget *control : QList<QWidget *>{m_form->SpinEdit1, m_form->SpinEdit2, m_form->DirectoryListBox1,
                                                 m_form->FileListBox1, m_form->Button1, m_form->btnAdd, m_form->btnDel})
            hints << control->toolTip() + (control->isVisible() ? "" : " (hidden)");
        QCOMPARE(hints, (QStringList{"Font-Size", "Grid-Size", "Right-Click to enlarge (hidden)",
                                     "You can use the Arrow-Keys (hidden)", "Let's browse *.TTF - Files",
                                     "Install the selected TTF-Font (hidden)", "Delete an installed Font (hidden)"}));
        QVERIFY(!m_form->DriveComboBox1->isVisible());
        QCOMPARE(m_form->RichEdit1->pos(), QPoint(10, 80)); // moved left by the resize rule
        QCOMPARE(m_form->focusWidget(), m_form->ComboBox1);
        QCOMPARE(m_form->StringGrid1->FontName(), QStringLiteral("Times New Roman"));
        QCOMPARE(m_form->StringGrid1->FontSize(), 20);
        QCOMPARE(m_form->StringGrid1->drawFont().pixelSize(), 27);
        QCOMPARE(m_form->StringGrid1->Cells(0, 6), QString(QChar(0x20AC)));
        QCOMPARE(m_form->mnuitdec1->text(), QStringLiteral("dec"));
        QCOMPARE(m_form->mnuithex1->text(), QStringLiteral("hex"));
        QCOMPARE(m_form->PopupMenu1->actions(),
                 (QList<QAction *>{m_form->mnuitCopy1, m_form->mnuitdec1, m_form->mnuithex1}));
        // Later controls lie above earlier ones: the chart covers the rich-text box, the strip lies below.
        const QObjectList &children = m_form->children();
        QVERIFY(children.indexOf(m_form->StringGrid1) > children.indexOf(m_form->RichEdit1));
        QVERIFY(children.indexOf(m_form->ComboBox1) > children.indexOf(m_form->Panel1));
    }

    void resizeRule_data()
    {
        QTest::addColumn<QSize>("outer");
        QTest::addColumn<QSize>("grid");
        QTest::addColumn<bool>("verticalBar");
        QTest::newRow("short display") << QSize(640, 480) << QSize(630, 417) << true;
        QTest::newRow("tall display") << QSize(640, 600) << QSize(630, 537) << false;
        QTest::newRow("too small") << QSize(8, 50) << QSize(0, 0) << true;
    }
    void resizeRule()
    {
        QFETCH(QSize, outer);
        m_form->setOuterSize(outer);
        QTEST(m_form->StringGrid1->size(), "grid");
        QTEST(m_form->StringGrid1->verticalScrollBar()->maximum() > 0, "verticalBar");
    }

    void logoColoursFollowTheMouse()
    {
        const QList<QColor> pairs{{0, 8, 219}, {51, 69, 171}, {81, 41, 94}, {108, 20, 121}};
        for (int i = 0; i < 2; ++i) {
            QTest::mouseMove(m_form->Label1, QPoint(5 + i, 5 + i));
            QCOMPARE(m_form->Label1->palette().color(QPalette::WindowText), pairs.at(2 * i));
            QCOMPARE(m_form->Label1->palette().color(QPalette::Window), pairs.at(2 * i + 1));
        }
    }

    void sizeBoxes_data()
    {
        QTest::addColumn<QString>("box");   // "font" or "cell"
        QTest::addColumn<QString>("start"); // the box's text first
        // typed text; ^ Up, v Down, < Backspace, { Home, } Delete (with the text 0x7F, as X delivers it),
        // ! Enter, | leave the box, # switch to another window
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("applied");   // the chart's font size or cell size afterwards
        QTest::addColumn<int>("beeps");
        QTest::newRow("typed: applied as typed") << "cell" << "" << "5000" << "5000" << 5000 << 0;
        QTest::newRow("typed, then left") << "cell" << "" << "5000|" << "1000" << 1000 << 0;
        QTest::newRow("typed, another window: kept") << "cell" << "" << "5000#" << "5000" << 5000 << 0;
        QTest::newRow("... and back, then left") << "cell" << "" << "5000#|" << "1000" << 1000 << 0;
        QTest::newRow("erased: the minimum, nothing corrected") << "font" << "20" << "<<|" << "" << 2 << 0;
        QTest::newRow("refused keys beep") << "font" << "20" << "a x" << "20" << 20 << 3;
        QTest::newRow("Enter beeps") << "font" << "20" << "!" << "20" << 20 << 1;
        QTest::newRow("signs are typed") << "font" << "20" << "-+" << "20-+" << 2 << 0;
        QTest::newRow("Delete as X sends it") << "font" << "120" << "{}" << "20" << 20 << 0;
        const QString point = QLocale().decimalPoint();
        QTest::newRow("decimal point is typed") << "font" << "20" << point << "20" + point << 2 << 0;
        QTest::newRow("up") << "font" << "20" << "^" << "21" << 21 << 0;
        QTest::newRow("down below the range") << "font" << "-40" << "v" << "2" << 2 << 0;
        QTest::newRow("negative, then left") << "cell" << "" << "-7|" << "1" << 1 << 0;
    }
    void sizeBoxes()
    {
        QFETCH(QString, box);
        QFETCH(QString, start);
        QFETCH(QString, keys);
        TSpinEdit *spin = box == QLatin1String("font") ? m_form->SpinEdit1 : m_form->SpinEdit2;
        spin->setText(start);
        QLineEdit *editor = spin->editor();
        editor->setFocus();
        editor->setCursorPosition(start.size());
        QSignalSpy beeps(spin, &TSpinEdit::KeyRefused);
        QWidget other;
        for (const QChar key : keys) {
            switch (key.unicode()) {
            case '^': QTest::keyClick(editor, Qt::Key_Up); break;
            case 'v': QTest::keyClick(editor, Qt::Key_Down); break;
            case '<': QTest::keyClick(editor, Qt::Key_Backspace); break;
            case '{': QTest::keyClick(editor, Qt::Key_Home); break;
            case '}': QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_Delete, QChar(0x7F), Qt::NoModifier); break;
            case '!': QTest::keyClick(editor, Qt::Key_Return); break;
            case '|': m_form->ComboBox1->setFocus(); break;
            case '#':
                other.show();
                QApplication::setActiveWindow(&other);
                QTRY_VERIFY(other.isActiveWindow());
                QApplication::setActiveWindow(m_form.get());
                QTRY_VERIFY(m_form->isActiveWindow());
                break;
            default: QTest::keyClicks(editor, QString(key));
            }
        }
        QTEST(int(beeps.size()), "beeps");
        QTEST(spin->Text(), "text");
        TStringGrid *grid = m_form->StringGrid1;
        QTEST(box == QLatin1String("font") ? grid->FontSize() : grid->DefaultColWidth(), "applied");
        QCOMPARE(grid->DefaultRowHeight(), grid->DefaultColWidth());
    }

    void hugeSizesAreDrawnCapped()
    {
        m_form->SpinEdit1->setText(QStringLiteral("2000000000"));
        m_form->SpinEdit2->setText(QStringLiteral("2000000000"));
        QCOMPARE(m_form->StringGrid1->FontSize(), 2000000000);
        QCOMPARE(m_form->StringGrid1->drawFont().pixelSize(), qRound(1000 * m_form->logicalDpiY() / 72.0));
        QVERIFY(!m_form->StringGrid1->grab().isNull()); // draws, and in reasonable time
        m_form->SpinEdit1->setText(QStringLiteral("-5"));
        QVERIFY(!m_form->StringGrid1->grab().isNull());
    }

    void pick_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<int>("topRow"); // scrolled down this far, in the shorter window
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<QString>("dec");
        QTest::addColumn<QString>("hex");
        QTest::newRow("right on A: menu") << Qt::RightButton << 0 << QPoint(1, 2) << QPoint(1, 2) << "Dec: 0065"
                                          << "Hex: 41";
        QTest::newRow("middle on 255") << Qt::MiddleButton << 0 << QPoint(15, 13) << QPoint(15, 13) << "Dec: 0255"
                                       << "Hex: FF";
        QTest::newRow("row 3 on top") << Qt::LeftButton << 3 << QPoint(0, 3) << QPoint(0, 3) << "Dec: 0080"
                                      << "Hex: 50";
        QTest::newRow("pressed on A, released on c") << Qt::LeftButton << 0 << QPoint(1, 2) << QPoint(3, 4)
                                                     << "Dec: 0099" << "Hex: 63";
    }
    void pick()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(int, topRow);
        QFETCH(QPoint, press);
        QFETCH(QPoint, release);
        m_form->setOuterSize(QSize(640, topRow ? 480 : 600));
        m_form->StringGrid1->setTopRow(topRow);
        QCOMPARE(m_form->StringGrid1->TopRow(), topRow);
        QWidget *viewport = m_form->StringGrid1->viewport();
        const QPoint to = CellCentre(release.x(), release.y());
        QTest::mousePress(viewport, button, {}, CellCentre(press.x(), press.y()));
        QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, button, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, button, {}, to);
        QTEST(m_form->mnuitdec1->text(), "dec");
        QTEST(m_form->mnuithex1->text(), "hex");
        QCOMPARE(m_form->RichEdit1->Text(), m_form->StringGrid1->Cells(release.x(), release.y()));
        QCOMPARE(m_form->RichEdit1->SelLength(), 1);
        QCOMPARE(QPoint(m_form->StringGrid1->Col(), m_form->StringGrid1->Row()), release);
        QCOMPARE(m_form->PopupMenu1->isVisible(), button == Qt::RightButton);
        if (button != Qt::RightButton) // the rich-text box keeps the focus with the character selected
            QCOMPARE(QApplication::focusWidget(), m_form->RichEdit1);
        m_form->PopupMenu1->hide();
    }

    // Neither a click beside the cells nor the grid's own arrow keys pick a character.
    void onlyClicksOnCellsPick()
    {
        m_form->setOuterSize(QSize(640, 600));
        Click(Qt::LeftButton, CellCentre(1, 2));
        const QPoint beyond(16 * 38 + 5, 10); // right of column 15
        QVERIFY(beyond.x() < m_form->StringGrid1->viewport()->width());
        Click(Qt::RightButton, beyond);
        m_form->PopupMenu1->hide();
        m_form->StringGrid1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(m_form->StringGrid1, Qt::Key_Right);
        QCOMPARE(m_form->StringGrid1->Col(), 2);
        QCOMPARE(m_form->mnuitdec1->text(), QStringLiteral("Dec: 0065"));
        QCOMPARE(m_form->RichEdit1->Text(), QStringLiteral("A"));
    }

    void copyPutsThreeFormats_data()
    {
        QTest::addColumn<QString>("file"); // previewed, or "" to pick the face from the selector
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("chartSize");
        QTest::newRow("installed face, chart at 48") << "" << "DejaVu Sans" << "48";
        QTest::newRow("previewed face, chart at 8") << "files/TavoretBeta.ttf" << "Tavoret Test Beta" << "8";
    }
    // Every rich format names the chart's face at the box's 12 points, whatever the chart's size,
    // as a reader of that format sees it.
    void copyPutsThreeFormats()
    {
        QFETCH(QString, file);
        QFETCH(QString, face);
        QFETCH(QString, chartSize);
        m_form->SpinEdit1->setText(chartSize);
        if (file.isEmpty()) {
            const int index = m_form->ComboBox1->findText(face);
            m_form->ComboBox1->setCurrentIndex(index);
            emit m_form->ComboBox1->activated(index); // as a pick by the user
        } else {
            m_form->FileDrag1->readNames({testsupport::fontPath(file)});
        }
        QCOMPARE(m_form->StringGrid1->FontName(), face);
        Click(Qt::RightButton, CellCentre(1, 2));
        m_form->PopupMenu1->hide();
        QApplication::clipboard()->clear();
        m_form->mnuitCopy1->trigger();
        const QMimeData *data = QApplication::clipboard()->mimeData();
        QVERIFY(data);
        QCOMPARE(data->formats(), (QStringList{"text/plain", "text/html", "text/rtf"}));
        QCOMPARE(data->text(), QStringLiteral("A"));

        QTextDocument html;
        html.setHtml(data->html());
        QCOMPARE(html.toPlainText(), QStringLiteral("A"));
        QTextCursor character(&html);
        character.setPosition(1); // the format of the character before the cursor
        const QTextCharFormat format = character.charFormat();
        QCOMPARE(format.fontFamilies().toStringList(), QStringList{face});
        QCOMPARE(format.fontPointSize(), 12.0);

        const QString rtf = QString::fromLatin1(data->data(QStringLiteral("text/rtf")));
        const QRegularExpressionMatch fontTable =
            QRegularExpression(QStringLiteral("\\\\fonttbl\\{\\\\f0\\\\fnil ([^;]*);\\}")).match(rtf);
        QVERIFY2(fontTable.hasMatch() && fontTable.captured(1) == face, qPrintable(rtf));
        QVERIFY2(rtf.endsWith(QStringLiteral("\\f0\\fs24 A}")), qPrintable(rtf)); // half points
    }

    void cellsShowTheFontsOwnGlyphs_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QPoint>("first");
        QTest::addColumn<QPoint>("second");
        QTest::addColumn<bool>("same");
        // Every test-font character has its own shape; characters a font lacks all show its box.
        QTest::newRow("A and B") << "TavoretAlpha" << QPoint(1, 2) << QPoint(2, 2) << false;
        QTest::newRow("missing: own box, no fallback") << "TavoretAlpha" << QPoint(0, 12) << QPoint(1, 12) << true;
        QTest::newRow("symbol codes 80 and 81") << "TavoretSymbol" << QPoint(0, 6) << QPoint(1, 6) << false;
    }
    void cellsShowTheFontsOwnGlyphs()
    {
        QFETCH(QString, file);
        QFETCH(QPoint, first);
        QFETCH(QPoint, second);
        platform::FontTable &table = m_form.fonts();
        const QString path = testsupport::fontPath("files/" + file + ".ttf");
        QCOMPARE(table.AddFontResource(path), 1);
        m_form->setOuterSize(QSize(640, 600));
        m_form->StringGrid1->setFontName(table.ReadInstalledFontNames().constLast());
        m_form->StringGrid1->setSelection(15, 13); // keep the highlight away from the compared cells
        const QImage a = CellImage(first.x(), first.y());
        QVERIFY(a != CellImage(0, 0)); // something is drawn, unlike the space
        QTEST(a == CellImage(second.x(), second.y()), "same");
        table.RemoveFontResource(path);
    }

    // The selected cell stands out in the highlight colours while another control has the
    // focus; while the chart has it, the cell keeps the normal colours with a dotted focus
    // rectangle: every other pixel of its edge in the text colour.
    void selectedCellColours_data()
    {
        QTest::addColumn<QString>("focus"); // "other", "chart" (given by the program) or "tab" (reached with Tab)
        QTest::addColumn<bool>("highlighted");
        QTest::newRow("another control has the focus") << "other" << true;
        QTest::newRow("the chart has the focus") << "chart" << false;
        QTest::newRow("the chart reached with Tab") << "tab" << false;
    }
    void selectedCellColours()
    {
        QFETCH(QString, focus);
        QFETCH(bool, highlighted);
        TStringGrid *grid = m_form->StringGrid1;
        const QPalette palette = grid->palette();
        grid->setSelection(3, 3);
        if (focus == QLatin1String("chart"))
            grid->setFocus();
        for (int i = 0; focus == QLatin1String("tab") && i < 20 && !grid->hasFocus(); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(grid->hasFocus(), !highlighted);
        QCOMPARE(CellImage(4, 3).pixelColor(1, 1), palette.color(QPalette::Base));
        const QImage cell = CellImage(3, 3);
        const QColor fill = palette.color(highlighted ? QPalette::Highlight : QPalette::Base);
        QCOMPARE(cell.pixelColor(1, 1), fill);
        QCOMPARE(cell.pixelColor(5, 30), fill);
        QString top, left, dotted; // '#' text colour, '.' the fill
        for (int i = 0; i < cell.width(); ++i) {
            for (auto [edge, pixel] : {std::pair{&top, QPoint(i, 0)}, std::pair{&left, QPoint(0, i)}}) {
                const QColor colour = cell.pixelColor(pixel);
                *edge += colour == fill ? '.' : colour == palette.color(QPalette::Text) ? '#' : '?';
            }
            dotted += i % 2 ? '.' : '#';
        }
        const QString undotted(cell.width(), '.');
        QCOMPARE(top, highlighted ? undotted : dotted);
        QCOMPARE(left, highlighted ? undotted : dotted);
    }

    // Typing a family's name into the closed selector: a space goes on with the search under way,
    // and opens the list only when no search is under way.
    void typingSearchesTheSelector_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("listOpen");
        QTest::newRow("second word decides") << "DejaVu Se" << "DejaVu Serif" << false;
        QTest::newRow("space within the name") << "DejaVu S" << "DejaVu Sans" << false;
        QTest::newRow("space alone opens the list") << " " << "" << true;
    }
    void typingSearchesTheSelector()
    {
        m_form = testsupport::OpenMainWindow({"DejaVu Sans", "DejaVu Serif", "Times New Roman"});
        QVERIFY(m_form);
        QFETCH(QString, typed);
        TComboBox *box = m_form->ComboBox1;
        box->setItemIndex(-1);
        box->setFocus();
        // The keys of one search, however slowly a loaded machine delivers them.
        const int interval = QApplication::keyboardInputInterval();
        const auto restore = qScopeGuard([interval] { QApplication::setKeyboardInputInterval(interval); });
        QApplication::setKeyboardInputInterval(60000);
        QTest::keyClicks(box, typed);
        QTEST(box->Text(), "selected");
        QTEST(box->view()->isVisible(), "listOpen");
        box->hidePopup();
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

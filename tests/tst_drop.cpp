// Files dropped on the main window, and font files named on the command line, which arrive
// the same way: the first .ttf is shown in the browser panel and previewed.
#include "commandline.h"
#include "fonttable.h"
#include "testsupport.h"
#include "unit1.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTextStream>
#include <QUrl>
#include <QtTest>

#include <memory>

class TestDrop : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void trueTypeExtension_data();
    void trueTypeExtension();
    void trueTypeFileWhilePanelHidden();
    void firstNameDecides_data();
    void firstNameDecides();
    void notTrueTypeWhilePanelRevealed();
    void sameFileAgainPreviewsAgain();
    void dropWithoutNamesDoesNothing();
    void commandLine_data();
    void commandLine();
    void commandLineFilesArriveAsADrop();

private:
    QString Path(const QString &name) const { return m_folder + QLatin1Char('/') + name; }
    void Drop(const QStringList &names);
    QString m_folder;
    std::unique_ptr<TForm1> m_form;
};

void TestDrop::init()
{
    m_folder = testsupport::homeDir() + QStringLiteral("/dropped");
    testsupport::resetDir(m_folder);
    QVERIFY(QFile::copy(testsupport::fontPath(QStringLiteral("files/TavoretAlpha.ttf")), Path(QStringLiteral("Alpha.TTF"))));
    QVERIFY(QFile::copy(testsupport::fontPath(QStringLiteral("files/TavoretBeta.ttf")), Path(QStringLiteral("Beta.ttf"))));
    QFile notes(Path(QStringLiteral("notes.txt")));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    QVERIFY(QDir().mkpath(Path(QStringLiteral("folder.ttf"))));
    PreviewFontFile.clear();
    m_form = testsupport::OpenMainWindow(platform::FontTable::Instance().ReadInstalledFontNames());
    QVERIFY(m_form);
}

void TestDrop::cleanup()
{
    if (m_form)
        m_form->close();
    m_form.reset();
}

void TestDrop::Drop(const QStringList &names)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &name : names)
        urls << (name.contains(QLatin1String("://")) ? QUrl(name) : QUrl::fromLocalFile(name));
    data.setUrls(urls);
    QWidget *target = m_form->StringGrid1->viewport();
    const QPoint at(50, 50);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

void TestDrop::trueTypeExtension_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("trueType");
    QTest::newRow("ttf") << "ttf" << true;
    QTest::newRow("Ttf") << "Ttf" << true;
    QTest::newRow("TTF") << "TTF" << true;
    QTest::newRow("ttf2") << "ttf2" << false;
    QTest::newRow("tt") << "tt" << false;
    QTest::newRow("font.ttf") << "font.ttf" << false;
    QTest::newRow("trailing blank") << "ttf " << false;
    QTest::newRow("dotless i") << QString::fromUtf8("TTF").replace(QLatin1Char('T'), QChar(0x0162)) << false;
}

void TestDrop::trueTypeExtension()
{
    QFETCH(QString, extension);
    QTEST(TForm1::IsTrueTypeExtension(extension), "trueType");
}

void TestDrop::trueTypeFileWhilePanelHidden()
{
    Drop({Path(QStringLiteral("Alpha.TTF"))});
    QVERIFY(m_form->FileListBox1->isVisible());
    QVERIFY(!m_form->Button1->isVisible());
    QCOMPARE(m_form->DirectoryListBox1->directory(), m_folder);
    QCOMPARE(m_form->FileListBox1->FileName(), Path(QStringLiteral("Alpha.TTF")));
    QCOMPARE(m_form->DriveComboBox1->drive(), m_form->DriveComboBox1->volumeOf(m_folder));
    QCOMPARE(PreviewFontFile, Path(QStringLiteral("Alpha.TTF")));
    QCOMPARE(m_form->ComboBox1->Text(), QStringLiteral("Tavoret Test Alpha"));
    QCOMPARE(m_form->StringGrid1->FontName(), QStringLiteral("Tavoret Test Alpha"));
    QCOMPARE(QApplication::focusWidget(), m_form->FileListBox1);
}

void TestDrop::firstNameDecides_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::newRow("text file first") << QStringList{"notes.txt", "Beta.ttf", "Alpha.TTF"};
    QTest::newRow("folder named .ttf") << QStringList{"folder.ttf", "Beta.ttf"};
    QTest::newRow("gone since") << QStringList{"vanished.ttf", "Beta.ttf"};
}

void TestDrop::firstNameDecides()
{
    QFETCH(QStringList, names);
    QStringList paths;
    for (const QString &name : names)
        paths << Path(name);
    QWidget *focusBefore = QApplication::focusWidget();
    Drop(paths);
    QCOMPARE(m_form->FileDrag1->FileCount(), names.size());
    QCOMPARE(m_form->FileDrag1->NameWithPath(), paths);
    QCOMPARE(m_form->FileDrag1->NameOnly(), names);
    QCOMPARE(m_form->FileDrag1->Extension().size(), names.size());
    // Not a TrueType file: the panel stays hidden, the preview runs on the empty selection and
    // the focus stays where it was.
    QVERIFY(!m_form->FileListBox1->isVisible());
    QVERIFY(m_form->Button1->isVisible());
    QCOMPARE(PreviewFontFile, QString());
    QCOMPARE(m_form->ComboBox1->ShownText(), QStringLiteral("already installed Font"));
    QCOMPARE(QApplication::focusWidget(), focusBefore);
}

void TestDrop::notTrueTypeWhilePanelRevealed()
{
    Drop({Path(QStringLiteral("Beta.ttf"))});
    m_form->ComboBox1->setFocus();
    Drop({Path(QStringLiteral("notes.txt"))});
    QCOMPARE(m_form->DirectoryListBox1->directory(), m_folder);
    QCOMPARE(m_form->FileListBox1->FileName(), Path(QStringLiteral("Beta.ttf")));
    QCOMPARE(PreviewFontFile, Path(QStringLiteral("Beta.ttf"))); // previewed again
    QCOMPARE(m_form->ComboBox1->Text(), QStringLiteral("Tavoret Test Beta"));
    QCOMPARE(QApplication::focusWidget(), m_form->FileListBox1);
}

void TestDrop::sameFileAgainPreviewsAgain()
{
    Drop({Path(QStringLiteral("Beta.ttf"))});
    const int count = m_form->ComboBox1->count();
    m_form->ComboBox1->setSorted(true); // as after moving over the strip
    Drop({Path(QStringLiteral("Beta.ttf"))});
    QCOMPARE(m_form->FileListBox1->FileName(), Path(QStringLiteral("Beta.ttf")));
    QCOMPARE(m_form->ComboBox1->count(), count);
    QCOMPARE(m_form->ComboBox1->ItemIndex(), count - 1); // found again at the end
    QCOMPARE(m_form->ComboBox1->Text(), QStringLiteral("Tavoret Test Beta"));
}

void TestDrop::dropWithoutNamesDoesNothing()
{
    m_form->ComboBox1->setItemIndex(0);
    Drop({QStringLiteral("https://example.org/font.ttf")});
    QCOMPARE(m_form->FileDrag1->FileCount(), 0);
    QCOMPARE(m_form->ComboBox1->ItemIndex(), 0); // no preview ran
    QVERIFY(m_form->ComboBox1->Sorted());
    QVERIFY(!m_form->FileListBox1->isVisible());
}

void TestDrop::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("exit");
    QTest::addColumn<int>("errorLines");
    QTest::addColumn<QString>("output");
    const QString alpha = Path(QStringLiteral("Alpha.TTF")), beta = Path(QStringLiteral("Beta.ttf"));
    QTest::newRow("none") << QStringList{} << QStringList{} << false << 0 << "";
    QTest::newRow("two files") << QStringList{alpha, beta} << QStringList{alpha, beta} << false << 0 << "";
    QTest::newRow("file url") << QStringList{QUrl::fromLocalFile(beta).toString()} << QStringList{beta} << false << 0 << "";
    QTest::newRow("missing and folder ignored")
        << QStringList{Path("nope.ttf"), m_folder, beta} << QStringList{beta} << false << 2 << "";
    QTest::newRow("unknown option ignored") << QStringList{"--frobnicate", beta} << QStringList{beta} << false << 1 << "";
    QTest::newRow("after --, a name like an option") << QStringList{"--", "-x.ttf"} << QStringList{} << false << 1 << "";
    QTest::newRow("help") << QStringList{"--help", beta} << QStringList{} << true << 0 << "Usage: tavoret";
    QTest::newRow("version") << QStringList{"-v"} << QStringList{} << true << 0 << "Tavoret 2.0.0.0";
}

void TestDrop::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, errorLines);
    QFETCH(QString, output);
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const CommandLine line = ParseCommandLine(arguments, outStream, errStream);
    outStream.flush();
    errStream.flush();
    QTEST(line.files, "files");
    QTEST(line.exit, "exit");
    QCOMPARE(err.count(QLatin1Char('\n')), errorLines);
    if (output.isEmpty())
        QCOMPARE(out, QString());
    else
        QVERIFY2(out.startsWith(output), qPrintable(out));
}

void TestDrop::commandLineFilesArriveAsADrop()
{
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const CommandLine line = ParseCommandLine({Path(QStringLiteral("notes.txt")), Path(QStringLiteral("Alpha.TTF"))},
                                              outStream, errStream);
    m_form->FileDrag1->ReadNames(line.files); // what the program does after start-up
    QCOMPARE(m_form->FileDrag1->FileCount(), 2);
    QVERIFY(!m_form->FileListBox1->isVisible()); // the first name decides, as for a drop
    m_form->FileDrag1->ReadNames({Path(QStringLiteral("Alpha.TTF"))});
    QCOMPARE(m_form->ComboBox1->Text(), QStringLiteral("Tavoret Test Alpha"));
}

QTEST_MAIN(TestDrop)
#include "tst_drop.moc"

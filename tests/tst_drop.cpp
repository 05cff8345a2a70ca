// Files dropped on the main window, and font files named on the command line, which arrive
// the same way: the first .ttf is shown in the browser panel and previewed.
#include "commandline.h"
#include "platform/filenames.h"
#include "fontfiles.h"
#include "platform/fonttable.h"
#include "testsupport.h"
#include "unit1.h"

#include <QTextStream>
#include <QtTest>

class TestDrop : public QObject
{
    Q_OBJECT
    QString m_folder = testsupport::homeDir() + QStringLiteral("/dropped");
    testsupport::MainWindow m_form;

    QString Path(const QString &name) const { return m_folder + QLatin1Char('/') + name; }
    // A font file whose name is written in Latin-1, not UTF-8.
    QByteArray RawPath() const { return QFile::encodeName(m_folder) + "/caf\xe9.TTF"; }
    QString RawUrl() const { return "file://" + QString::fromLatin1(RawPath().toPercentEncoding("/")); }
    // Names below the folder, or a web address.
    void Drop(const QStringList &names)
    {
        QList<QUrl> urls;
        for (const QString &name : names)
            urls << (name.contains(QLatin1String("://")) ? QUrl(name) : QUrl::fromLocalFile(Path(name)));
        QVERIFY(testsupport::SendDrop(m_form->StringGrid1->viewport(), urls));
    }

private slots:
    void init()
    {
        QVERIFY(testsupport::MakeFolder(m_folder, {{"Alpha.TTF", "files/TavoretAlpha.ttf"},
                                                   {"Beta.ttf", "files/TavoretBeta.ttf"},
                                                   {"notes.txt", ""},
                                                   {"folder.ttf", "/"}}));
        QVERIFY(testsupport::CopyToRawName("files/TavoretAlpha.ttf", RawPath()));
        PreviewFontFile.clear();
        m_form = testsupport::OpenMainWindow();
        QVERIFY(m_form);
    }
    void cleanup() { m_form.reset(); }

    void trueTypeExtension_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<bool>("trueType");
        QTest::newRow("ttf") << "ttf" << true;
        QTest::newRow("Ttf") << "Ttf" << true;
        QTest::newRow("ttf2") << "ttf2" << false;
        QTest::newRow("trailing blank") << "ttf " << false;
        QTest::newRow("T with cedilla") << QStringLiteral("\u0162TF") << false;
    }
    void trueTypeExtension()
    {
        QFETCH(QString, extension);
        QTEST(fontfiles::isTrueTypeExtension(extension), "trueType");
    }

    void trueTypeFileWhilePanelHidden()
    {
        Drop({"Alpha.TTF"});
        QVERIFY(m_form->FileListBox1->isVisible());
        QCOMPARE(m_form->DirectoryListBox1->directory(), m_folder);
        QCOMPARE(m_form->FileListBox1->FileName(), Path(QStringLiteral("Alpha.TTF")));
        QCOMPARE(m_form->DriveComboBox1->drive(), m_form->DriveComboBox1->volumeOf(m_folder));
        QCOMPARE(PreviewFontFile, Path(QStringLiteral("Alpha.TTF")));
        QCOMPARE(m_form->StringGrid1->FontName(), QStringLiteral("Tavoret Test Alpha"));
        QCOMPARE(QApplication::focusWidget(), m_form->FileListBox1);
    }

    void nameNotUtf8()
    {
        Drop({RawUrl()});
        const QString name = platform::decodeName(RawPath());
        QCOMPARE(m_form->FileListBox1->FileName(), name);
        QCOMPARE(PreviewFontFile, name);
        QCOMPARE(m_form->StringGrid1->FontName(), QStringLiteral("Tavoret Test Alpha"));
    }

    void firstNameDecides_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::newRow("text file first") << QStringList{"notes.txt", "Beta.ttf", "Alpha.TTF"};
        QTest::newRow("folder named .ttf") << QStringList{"folder.ttf", "Beta.ttf"};
        QTest::newRow("gone since") << QStringList{"vanished.ttf", "Beta.ttf"};
    }
    void firstNameDecides()
    {
        QFETCH(QStringList, names);
        QWidget *focusBefore = QApplication::focusWidget();
        Drop(names);
        QCOMPARE(m_form->FileDrag1->NameOnly(), names);
        // Not a TrueType file: the panel stays hidden, the preview runs on the empty selection and
        // the focus stays where it was.
        QVERIFY(!m_form->FileListBox1->isVisible());
        QVERIFY(m_form->Button1->isVisible());
        QCOMPARE(PreviewFontFile, QString());
        QCOMPARE(m_form->ComboBox1->shownText(), QStringLiteral("already installed Font"));
        QCOMPARE(QApplication::focusWidget(), focusBefore);
    }

    // With the panel shown, any drop previews the selected file again.
    void laterDropsPreviewAgain()
    {
        Drop({"Beta.ttf"});
        const int count = m_form->ComboBox1->count();
        m_form->ComboBox1->setSorted(true); // as after moving over the strip
        m_form->ComboBox1->setFocus();
        Drop({"notes.txt"});
        QCOMPARE(m_form->FileListBox1->FileName(), Path(QStringLiteral("Beta.ttf")));
        QCOMPARE(PreviewFontFile, Path(QStringLiteral("Beta.ttf")));
        QCOMPARE(m_form->ComboBox1->count(), count);
        QCOMPARE(m_form->ComboBox1->ItemIndex(), count - 1); // found again at the end
        QCOMPARE(QApplication::focusWidget(), m_form->FileListBox1);
    }

    // Wherever on the window a file lands, the window's drop target takes it: no control keeps
    // it for itself (a size box would type the path into its text).
    void everyControlPassesDropsOn_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("panelShown");
        for (const char *name : {"ComboBox1", "SpinEdit1", "SpinEdit2", "RichEdit1", "StringGrid1", "Label1",
                                 "Panel1", "Button1"})
            QTest::newRow(name) << name << false;
        for (const char *name : {"DriveComboBox1", "DirectoryListBox1", "FileListBox1", "btnAdd", "btnDel"})
            QTest::newRow(name) << name << true;
    }
    void everyControlPassesDropsOn()
    {
        QFETCH(QString, control);
        QFETCH(bool, panelShown);
        if (panelShown)
            m_form->Button1Click();
        auto *widget = m_form->findChild<QWidget *>(control);
        QVERIFY(widget);
        // The innermost widget under the point, as a real drop finds it (a box's text field, a
        // list's viewport).
        QWidget *target = widget->childAt(QPoint(5, 5)) ? widget->childAt(QPoint(5, 5)) : widget;
        QVERIFY(testsupport::SendDrop(target, {QUrl::fromLocalFile(Path(QStringLiteral("Beta.ttf")))}));
        QCOMPARE(PreviewFontFile, Path(QStringLiteral("Beta.ttf")));
        QCOMPARE(m_form->SpinEdit1->Text(), QStringLiteral("20"));
        QCOMPARE(m_form->SpinEdit2->Text(), QStringLiteral("37"));
    }

    // The file already selected in the list, dropped again, is previewed again.
    void sameFileAgainPreviewsAgain()
    {
        Drop({"Beta.ttf"});
        const int count = m_form->ComboBox1->count();
        m_form->ComboBox1->setSorted(true); // as after moving over the strip: nothing selected
        Drop({"Beta.ttf"});
        QVERIFY(!m_form->ComboBox1->Sorted());
        QCOMPARE(m_form->ComboBox1->ItemIndex(), count - 1);
        QCOMPARE(m_form->ComboBox1->shownText(), QStringLiteral("Tavoret Test Beta"));
    }

    void dropWithoutNamesDoesNothing()
    {
        m_form->ComboBox1->setItemIndex(0);
        Drop({"https://example.org/font.ttf"});
        QCOMPARE(m_form->FileDrag1->FileCount(), 0);
        QCOMPARE(m_form->ComboBox1->ItemIndex(), 0); // no preview ran
        QVERIFY(m_form->ComboBox1->Sorted());
        QVERIFY(!m_form->FileListBox1->isVisible());
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("answered"); // help or version: the rest is not read
        QTest::addColumn<int>("errorLines");
        QTest::addColumn<QString>("output");
        const QString a = Path(QStringLiteral("Alpha.TTF")), b = Path(QStringLiteral("Beta.ttf"));
        const QStringList none;
        QTest::newRow("two files") << QStringList{a, b} << QStringList{a, b} << false << 0 << "";
        QTest::newRow("file url") << QStringList{QUrl::fromLocalFile(b).toString()} << QStringList{b} << false << 0
                                  << "";
        QTest::newRow("missing, folder") << QStringList{Path("nope.ttf"), m_folder, b} << QStringList{b} << false << 2
                                         << "";
        const QString raw = platform::decodeName(RawPath());
        QTest::newRow("name not UTF-8") << QStringList{raw} << QStringList{raw} << false << 0 << "";
        QTest::newRow("file url, name not UTF-8") << QStringList{RawUrl()} << QStringList{raw} << false << 0 << "";
        QTest::newRow("unknown option") << QStringList{"--frobnicate", b} << QStringList{b} << false << 1 << "";
        QTest::newRow("after --, a name like an option") << QStringList{"--", "-x.ttf"} << none << false << 1 << "";
        QTest::newRow("help") << QStringList{"--help", b} << none << true << 0 << "Usage: tavoret";
        QTest::newRow("version and description") << QStringList{"-v"} << none << true << 0
                                                 << "Tavoret 2.0.0.0\nTavoret for installed & uninstalled Fonts\n";
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, output);
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        // As the program reads its command line: help and version first, then the files.
        const bool answered = answerHelpOrVersion(arguments, outStream);
        const CommandLine line = answered ? CommandLine() : parseCommandLine(arguments, errStream);
        outStream.flush();
        errStream.flush();
        QTEST(line.files, "files");
        QTEST(answered, "answered");
        QTEST(int(err.count(QLatin1Char('\n'))), "errorLines");
        QVERIFY2(output.isEmpty() ? out.isEmpty() : out.startsWith(output), qPrintable(out));
    }
};

QTEST_MAIN(TestDrop)
#include "tst_drop.moc"

// Previewing font files from the browser, and Add and Del through the user's fonts folder,
// with the real font table, the project's test fonts and the real xdg-open, and what the user
// is told where the fonts folder cannot be opened.
#include "platform/facereader.h"
#include "platform/filenames.h"
#include "platform/fonttable.h"
#include "platform/termination.h"
#include "testsupport.h"
#include "unit1.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QtTest>

#include <sys/resource.h>

class TestPreview : public QObject
{
    Q_OBJECT
    QString m_folder = testsupport::homeDir() + QStringLiteral("/browse");
    QString m_log = testsupport::homeDir() + QStringLiteral("/opened.log");
    QString m_fonts = platform::userFontsFolder();
    QString m_ownReader; // the face reader's program as the tests start
    testsupport::MessageBoxSeen m_boxes;
    testsupport::MainWindow m_form;

    QString Path(const QString &name) const { return m_folder + QLatin1Char('/') + name; }
    void PreviewFile(const QString &name)
    {
        if (!name.isEmpty())
            m_form->FileListBox1->setFileName(Path(name));
        QCOMPARE(m_form->FileListBox1->FileName(), name.isEmpty() ? QString() : Path(name));
        m_form->FileListBox1Click();
    }
    bool Listed(const QString &family) const
    {
        return m_form.fonts().ReadInstalledFontNames().contains(family);
    }
    static int PreviewLinks()
    {
        return int(testsupport::VisibleEntries(platform::FontTable::previewFolder()).size());
    }
    static bool WriteExecutable(const QString &path, const QByteArray &script)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(script) == script.size()
            && file.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }
    // A new window with the panel shown on the test folder.
    bool OpenWindow()
    {
        m_form = testsupport::OpenMainWindow();
        if (!m_form)
            return false;
        m_form->Button1Click();
        m_form->DirectoryListBox1->setDirectory(m_folder);
        return true;
    }
    // The same with `script` as the face reader's program (cleanup() gives back the program's own).
    bool OpenWindowWithReader(const QString &script, const QByteArray &text)
    {
        if (!WriteExecutable(script, text))
            return false;
        platform::FaceReader::setWorkerProgram(script);
        return OpenWindow();
    }
    QByteArray Read(const QString &path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase()
    {
        testsupport::AnswerMessageBoxes(&m_boxes);
        platform::ignoreFileSizeSignal(); // as the program does at start
        m_ownReader = platform::FaceReader::workerProgram();
    }
    void init()
    {
        testsupport::resetDir(m_fonts);
        testsupport::removePath(m_log);
        testsupport::InstallFolderOpenerLog(m_log);
        QVERIFY(testsupport::MakeFolder(
            m_folder, {{"Alpha.ttf", "files/TavoretAlpha.ttf"}, {"Beta.ttf", "files/TavoretBeta.ttf"},
                       {"Pair.ttf", "files/TavoretPair.ttc"}, {"random.ttf", "broken/random.ttf"},
                       {"DejaVu.ttf", "files/DejaVuSansCopy.ttf"}}));
        FontsChanged = 0;
        PreviewFontFile.clear();
        QVERIFY(OpenWindow());
        m_boxes = {};
    }
    void cleanup()
    {
        m_form.reset();
        platform::FaceReader::setWorkerProgram(m_ownReader);
    }

    void preview_data()
    {
        QTest::addColumn<QStringList>("files"); // previewed one after the other
        QTest::addColumn<int>("added");         // items gained by the last preview
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("chart");
        const QString alpha = "Tavoret Test Alpha", installed = "already installed Font", tnr = "Times New Roman";
        QTest::newRow("new face") << QStringList{"Alpha.ttf"} << 1 << alpha << alpha;
        QTest::newRow("installed face") << QStringList{"DejaVu.ttf"} << 0 << installed << tnr;
        QTest::newRow("broken file") << QStringList{"random.ttf"} << 0 << "not a valid Font-File" << tnr;
        QTest::newRow("nothing selected") << QStringList{""} << 0 << installed << tnr;
        QTest::newRow("A, then B installed") << QStringList{"Alpha.ttf", "DejaVu.ttf"} << 0 << installed << alpha;
        const QString pairTwo = "Tavoret Test Pair Two";
        QTest::newRow("two faces") << QStringList{"Pair.ttf"} << 2 << pairTwo << pairTwo;
        QTest::newRow("same file twice") << QStringList{"Beta.ttf", "Beta.ttf"} << 1 << "Tavoret Test Beta"
                                         << "Tavoret Test Beta";
    }
    void preview()
    {
        QFETCH(QStringList, files);
        QFETCH(int, added);
        QFETCH(QString, shown);
        FontsChanged = 1; // previews leave the flag alone
        const int installed = int(m_form.fonts().ReadInstalledFontNames().size());
        for (const QString &file : files) {
            PreviewFile(file);
            QCoreApplication::processEvents(); // the window draws itself before the next click
        }
        TComboBox *box = m_form->ComboBox1;
        QVERIFY(!box->Sorted());
        QCOMPARE(box->count(), installed + added);
        QCOMPARE(box->shownText(), shown);
        QCOMPARE(box->ItemIndex(), added ? box->count() - 1 : -1);
        QTEST(m_form->StringGrid1->FontName(), "chart");
        QTEST(m_form->RichEdit1->FontName(), "chart");
        QCOMPARE(PreviewFontFile, files.last().isEmpty() ? QString() : Path(files.last()));
        QCOMPARE(FontsChanged, 1);
        if (added) // the chart really draws the previewed face (of a collection, the last one)
            QCOMPARE(m_form->StringGrid1->drawnFamily(), shown);
        // It draws what its face name stands for now, also once its face has left the table.
        const QString chartFace = m_form->StringGrid1->FontName();
        QTRY_COMPARE(m_form->StringGrid1->drawnFace().file, m_form.fonts().faceOf(chartFace).file);
        if (files.size() > 1 && files.first() != files.last()) // the first file left the table
            QVERIFY(!Listed(QStringLiteral("Tavoret Test Alpha")));
    }

    void arrowKeysPreviewEveryStep()
    {
        TFileListBox *list = m_form->FileListBox1;
        list->setFocusByProgram();
        QStringList previewed;
        for (int i = 0; i < list->count(); ++i) {
            QTest::keyClick(list, Qt::Key_Down);
            previewed << QFileInfo(PreviewFontFile).fileName();
        }
        QCOMPARE(previewed, (QStringList{"Alpha.ttf", "Beta.ttf", "DejaVu.ttf", "Pair.ttf", "random.ttf"}));
        QCOMPARE(PreviewLinks(), 0); // the last one is broken: nothing stays under preview
    }

    void addRefused_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("text");
        const QString notCopied = "The File could not be copied into the Fonts-Folder.";
        QTest::newRow("nothing selected")
            << "nothing" << "There is no .TTF - File in the righthand File-List-Box selected.";
        QTest::newRow("source vanished") << "source" << notCopied;
        QTest::newRow("fonts folder cannot be made") << "folder" << notCopied;
        QTest::newRow("file size limit") << "limit" << notCopied;
        QTest::newRow("not a font") << "font" << "The selected File is not a valid Font-File.";
    }
    void addRefused()
    {
        QFETCH(QString, failure);
        PreviewFile(failure == QLatin1String("font") ? QStringLiteral("random.ttf") : QStringLiteral("Alpha.ttf"));
        const QString shown = m_form->ComboBox1->shownText();
        rlimit sizeLimit{};
        ::getrlimit(RLIMIT_FSIZE, &sizeLimit);
        if (failure == QLatin1String("limit")) {
            // Smaller than the font: the copy's write fails part way (and must not end the process).
            rlimit small = sizeLimit;
            small.rlim_cur = 1024;
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        } else if (failure == QLatin1String("nothing")) {
            m_form->DirectoryListBox1->setDirectory(testsupport::homeDir()); // a change of folder: nothing selected
        } else if (failure == QLatin1String("source")) {
            QVERIFY(testsupport::removePath(Path(QStringLiteral("Alpha.ttf"))));
        } else {
            QVERIFY(testsupport::removePath(m_fonts));
            QFile blocker(m_fonts); // a file where the folder should be
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        m_form->btnAdd->click();
        ::setrlimit(RLIMIT_FSIZE, &sizeLimit);
        QCOMPARE(m_boxes.count, 1);
        QCOMPARE(m_boxes.caption, QStringLiteral("Done nothing, because ..."));
        QTEST(m_boxes.text, "text");
        QCOMPARE(FontsChanged, 0);
        if (failure == QLatin1String("nothing")) // the preview goes on
            QVERIFY(Listed(QStringLiteral("Tavoret Test Alpha")));
        if (failure == QLatin1String("font")) // the verdict of the preview stands
            QCOMPARE(m_form->ComboBox1->shownText(), shown);
        if (failure != QLatin1String("folder")) // nothing, not even a partial file, was left behind
            QCOMPARE(QDir(m_fonts).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());
        // An opener would have been started with the click: once none runs, it would have logged.
        QTRY_VERIFY_WITH_TIMEOUT(testsupport::noChildProcessRuns(), testsupport::Patience);
        QVERIFY(testsupport::ReadLines(m_log).isEmpty());
    }

    void addInstallsOpensTheFolderAndEndsThePreview()
    {
        PreviewFile(QStringLiteral("Alpha.ttf"));
        QCOMPARE(PreviewLinks(), 1);
        m_form->btnAdd->click();
        QCOMPARE(m_boxes.count, 0);
        QCOMPARE(Read(m_fonts + QStringLiteral("/Alpha.ttf")), Read(Path(QStringLiteral("Alpha.ttf"))));
        QCOMPARE(PreviewLinks(), 0);
        QCOMPARE(FontsChanged, 1);
        QTRY_COMPARE_WITH_TIMEOUT(testsupport::ReadLines(m_log), QStringList{m_fonts}, testsupport::Patience);
        m_form->Panel1MouseMove(); // installed now: the next reading lists the face from the fonts folder
        QCOMPARE(FontsChanged, 0);
        QVERIFY(m_form->ComboBox1->findText(QStringLiteral("Tavoret Test Alpha")) >= 0);
        QVERIFY(m_form->close()); // asks for the same removal once more
        QCOMPARE(PreviewFontFile, Path(QStringLiteral("Alpha.ttf")));
        QCOMPARE(PreviewLinks(), 0);
    }

    // A file whose name is not valid UTF-8 is previewed and installed under its real bytes.
    void nameNotUtf8()
    {
        const QByteArray raw = QFile::encodeName(m_folder) + "/caf\xe9.ttf";
        QVERIFY(testsupport::CopyToRawName(QStringLiteral("files/TavoretAlpha.ttf"), raw));
        PreviewFile(platform::decodeName("caf\xe9.ttf"));
        QCOMPARE(m_form->ComboBox1->shownText(), QStringLiteral("Tavoret Test Alpha"));
        QCOMPARE(m_form->StringGrid1->drawnFamily(), QStringLiteral("Tavoret Test Alpha"));
        QCOMPARE(PreviewLinks(), 1);
        m_form->btnAdd->click();
        QCOMPARE(m_boxes.count, 0);
        const QString installed = m_fonts + platform::decodeName("/caf\xe9.ttf");
        QCOMPARE(platform::readRegularFile(installed, 1 << 20), Read(Path(QStringLiteral("Alpha.ttf"))));
        QTRY_COMPARE_WITH_TIMEOUT(testsupport::ReadLines(m_log), QStringList{m_fonts}, testsupport::Patience);
    }

    void addKeepsAnExistingFileAsItIs()
    {
        QVERIFY(testsupport::MakeFolder(m_fonts, {{"Beta.ttf", ""}})); // another file of that name
        PreviewFile(QStringLiteral("Beta.ttf"));
        m_form->btnAdd->click();
        m_form->btnAdd->click();
        QCOMPARE(m_boxes.count, 0); // silently
        QCOMPARE(Read(m_fonts + QStringLiteral("/Beta.ttf")), QByteArray("not a font\n"));
        QTRY_COMPARE_WITH_TIMEOUT(testsupport::ReadLines(m_log), (QStringList{m_fonts, m_fonts}), testsupport::Patience);
        QCOMPARE(FontsChanged, 1);
    }

    // Closing the window itself ends the preview (not only the clean-up when the program ends).
    void closingEndsThePreview()
    {
        PreviewFile(QStringLiteral("Alpha.ttf"));
        QCOMPARE(PreviewLinks(), 1);
        QVERIFY(m_form->close());
        QCOMPARE(PreviewLinks(), 0);
        QVERIFY(!Listed(QStringLiteral("Tavoret Test Alpha")));
    }

    void delKeepsThePreview()
    {
        PreviewFile(QStringLiteral("Alpha.ttf"));
        m_form->btnDel->click();
        QCOMPARE(FontsChanged, 1);
        QVERIFY(Listed(QStringLiteral("Tavoret Test Alpha")));
        QCOMPARE(PreviewLinks(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(testsupport::ReadLines(m_log), QStringList{m_fonts}, testsupport::Patience);
    }

    void folderThatCannotBeOpenedIsNamed_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("opener");
        for (const char *button : {"Add", "Del"}) {
            QTest::addRow("%s, no xdg-open", button) << button << "missing";
            QTest::addRow("%s, xdg-open fails", button) << button << "fails";
            QTest::addRow("%s, no program for folders", button) << button << "no handler";
        }
    }
    void folderThatCannotBeOpenedIsNamed()
    {
        QFETCH(QString, button);
        QFETCH(QString, opener);
        const QByteArray path = qgetenv("PATH"), dataDirs = qgetenv("XDG_DATA_DIRS");
        const auto restore = qScopeGuard([&] {
            qputenv("PATH", path);
            qputenv("XDG_DATA_DIRS", dataDirs);
        });
        const QString bin = testsupport::homeDir() + QStringLiteral("/bin");
        testsupport::resetDir(bin);
        if (opener == QLatin1String("missing")) {
            qputenv("PATH", bin.toUtf8());
        } else if (opener == QLatin1String("fails")) {
            QFile script(bin + QStringLiteral("/xdg-open"));
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write("#!/bin/sh\nexit 4\n");
            script.close();
            QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
            qputenv("PATH", bin.toUtf8() + ':' + path);
        } else { // the real xdg-open, where neither the user nor the system has a handler for folders
            QVERIFY(testsupport::removePath(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/mimeapps.list")));
            testsupport::resetDir(qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications"));
            qputenv("XDG_DATA_DIRS", bin.toUtf8());
        }
        if (button == QLatin1String("Add")) {
            PreviewFile(QStringLiteral("Alpha.ttf"));
            m_form->btnAdd->click();
        } else {
            m_form->btnDel->click();
        }
        QTRY_COMPARE_WITH_TIMEOUT(m_boxes.count, 1, testsupport::Patience);
        QCOMPARE(m_boxes.caption, QStringLiteral("Fonts-Folder not opened"));
        QCOMPARE(m_boxes.text, "No program could open the Fonts-Folder. You find it here:\n" + m_fonts);
        QCOMPARE(FontsChanged, 1); // what was done stays done: Add installed the file
        if (button == QLatin1String("Add"))
            QVERIFY(QFile::exists(m_fonts + QStringLiteral("/Alpha.ttf")));
        QVERIFY(testsupport::ReadLines(m_log).isEmpty());
    }

    // Files built to make reading them take unbounded time or memory, and a reader that never
    // answers: the preview ends with the verdict and nothing linked, and the window answers
    // input while it waits.
    void hostileFileEndsWithTheVerdict_data()
    {
        QTest::addColumn<QString>("font");   // in the test fonts
        QTest::addColumn<QString>("reader"); // the reader's program: "" for the program's own
        QTest::newRow("map past Unicode") << "seeds/map-past-unicode.ttf" << "";
        QTest::newRow("tables that claim the file") << "seeds/tables-claim-the-file.ttc" << "";
        QTest::newRow("a character the rasteriser gives up on") << "seeds/outline-past-the-raster.ttf" << "";
        QTest::newRow("reader that never answers") << "files/TavoretBeta.ttf" << "#!/bin/sh\n"
                                                      "echo $$ >> \"$0.pid\"; printf +; exec sleep 600\n";
    }
    void hostileFileEndsWithTheVerdict()
    {
        QFETCH(QString, font);
        QFETCH(QString, reader);
        const QString script = testsupport::homeDir() + "/reader";
        if (!reader.isEmpty()) {
            QFile::remove(script + ".pid");
            QVERIFY(OpenWindowWithReader(script, reader.toUtf8()));
        }
        QVERIFY(QFile::copy(testsupport::fontPath(font), Path("hostile.ttf")));
        m_form->DirectoryListBox1->setDirectory(m_folder); // lists the new file
        m_form->preview().setAnswerWithin(FontPreview::AnswerWithinMs); // as in the program
        const int column = m_form->StringGrid1->Col();
        PreviewFile(QStringLiteral("hostile.ttf"));
        if (m_form->ComboBox1->shownText() != QLatin1String("not a valid Font-File")) {
            // Still reading: the chart takes a key meanwhile.
            QTest::keyClick(m_form->StringGrid1, column > 0 ? Qt::Key_Left : Qt::Key_Right);
            QVERIFY(m_form->StringGrid1->Col() != column);
        }
        QTRY_COMPARE_WITH_TIMEOUT(m_form->ComboBox1->shownText(), QStringLiteral("not a valid Font-File"), 30000);
        QCOMPARE(PreviewLinks(), 0);
        if (!reader.isEmpty()) { // the reader that overran was ended (a new one took its place)
            const QByteArray pid = testsupport::ReadLines(script + ".pid").value(0).toUtf8();
            QVERIFY(!pid.isEmpty());
            QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists("/proc/" + pid), 10000);
        }
    }

    // A reader that takes longer than the reading's limit to come up (a cold start on a busy
    // machine) still answers a good file: only the reading itself is timed.
    void readerSlowToComeUp()
    {
        QVERIFY(OpenWindowWithReader(testsupport::homeDir() + "/reader",
                                     "#!/bin/sh\nsleep 3\nexec '" + m_ownReader.toUtf8() + "' \"$@\"\n"));
        PreviewFile(QStringLiteral("Beta.ttf"));
        QTRY_COMPARE_WITH_TIMEOUT(m_form->ComboBox1->shownText(), QStringLiteral("Tavoret Test Beta"), 30000);
    }

    // Closing the window while the fonts folder is being opened: the opener goes on by itself
    // and, the window gone, nothing is shown of its failure.
    void closingWhileTheFolderOpens()
    {
        const QByteArray path = qgetenv("PATH");
        const auto restore = qScopeGuard([&] { qputenv("PATH", path); });
        const QString bin = testsupport::homeDir() + QStringLiteral("/bin");
        testsupport::resetDir(bin);
        QVERIFY(WriteExecutable(bin + "/xdg-open", "#!/bin/sh\necho $$ >> \"" + m_log.toUtf8()
                                       + "\"\nsleep 1\necho done >> \"" + m_log.toUtf8() + "\"\nexit 4\n"));
        qputenv("PATH", bin.toUtf8() + ':' + path);
        m_form->btnDel->click();
        QTRY_COMPARE_WITH_TIMEOUT(testsupport::ReadLines(m_log).size(), 1, 10000);
        m_form.reset();
        QTRY_COMPARE_WITH_TIMEOUT(testsupport::ReadLines(m_log).value(1), QStringLiteral("done"), 10000);
        // Reaped once its end reached this process: a box would have been asked for by then.
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists("/proc/" + testsupport::ReadLines(m_log).value(0)), 10000);
        QCoreApplication::processEvents();
        QCOMPARE(m_boxes.count, 0);
    }
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"

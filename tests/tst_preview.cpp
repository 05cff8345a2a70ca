// Previewing font files from the browser, and Add and Del through the user's fonts folder,
// with the real font table, the project's test fonts and the real xdg-open.
#include "fonttable.h"
#include "testsupport.h"
#include "unit1.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QtTest>

#include <memory>

class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void preview_data();
    void preview();
    void arrowKeysPreviewEveryStep();
    void addWithNothingSelectedWarns();
    void addInstallsAndOpensTheFolder();
    void addKeepsAnExistingFileAsItIs();
    void addReportsAFailedCopy_data();
    void addReportsAFailedCopy();
    void delKeepsThePreview();
    void closeAfterAddIsHarmless();

private:
    QString Path(const QString &name) const { return m_folder + QLatin1Char('/') + name; }
    void PreviewFile(const QString &name);
    bool Listed(const QString &family) const;
    QStringList PreviewLinks() const;
    QString m_folder;
    QString m_fonts;
    QString m_log;
    testsupport::MessageBoxSeen m_boxes;
    std::unique_ptr<TForm1> m_form;
};

void TestPreview::initTestCase()
{
    testsupport::AnswerMessageBoxes(&m_boxes);
}

void TestPreview::init()
{
    m_folder = testsupport::homeDir() + QStringLiteral("/browse");
    m_fonts = platform::UserFontsFolder();
    m_log = testsupport::homeDir() + QStringLiteral("/opened.log");
    testsupport::resetDir(m_folder);
    testsupport::resetDir(m_fonts);
    QFile::remove(m_log);
    testsupport::InstallFolderOpenerLog(m_log);
    const QList<QPair<QString, QString>> files = {
        {"files/TavoretAlpha.ttf", "Alpha.ttf"},       {"files/TavoretBeta.ttf", "Beta.ttf"},
        {"files/TavoretPair.ttc", "Pair.ttf"},         {"files/DejaVuSansCopy.ttf", "DejaVu.ttf"},
        {"files/TavoretSymbol.ttf", "Symbol.ttf"},     {"broken/random.ttf", "random.ttf"},
        {"broken/empty.ttf", "empty.ttf"},             {"broken/truncated.ttf", "truncated.ttf"}};
    for (const auto &file : files)
        QVERIFY(QFile::copy(testsupport::fontPath(file.first), Path(file.second)));
    QVERIFY(QDir().mkpath(Path(QStringLiteral("folder.ttf"))));

    FontsChanged = 0;
    PreviewFontFile.clear();
    m_form = testsupport::OpenMainWindow(platform::FontTable::Instance().ReadInstalledFontNames());
    QVERIFY(m_form);
    m_form->Button1Click();
    m_form->DirectoryListBox1->setDirectory(m_folder);
    m_boxes = {};
}

void TestPreview::cleanup()
{
    if (m_form)
        m_form->close();
    m_form.reset();
}

void TestPreview::PreviewFile(const QString &name)
{
    if (!name.isEmpty())
        m_form->FileListBox1->setFileName(Path(name));
    QCOMPARE(m_form->FileListBox1->FileName(), name.isEmpty() ? QString() : Path(name));
    m_form->FileListBox1Click();
}

bool TestPreview::Listed(const QString &family) const
{
    return platform::FontTable::Instance().ReadInstalledFontNames().contains(family);
}

QStringList TestPreview::PreviewLinks() const
{
    return QDir(platform::FontTable::Instance().PreviewFolder()).entryList(QDir::Files | QDir::System);
}

void TestPreview::preview_data()
{
    QTest::addColumn<QStringList>("files"); // previewed one after the other
    QTest::addColumn<int>("added");         // items gained by the last preview
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("chart");
    QTest::newRow("new face") << QStringList{"Alpha.ttf"} << 1 << "Tavoret Test Alpha" << "Tavoret Test Alpha";
    QTest::newRow("installed face") << QStringList{"DejaVu.ttf"} << 0 << "already installed Font" << "Times New Roman";
    QTest::newRow("random bytes") << QStringList{"random.ttf"} << 0 << "not a valid Font-File" << "Times New Roman";
    QTest::newRow("empty file") << QStringList{"empty.ttf"} << 0 << "not a valid Font-File" << "Times New Roman";
    QTest::newRow("nothing selected") << QStringList{""} << 0 << "already installed Font" << "Times New Roman";
    QTest::newRow("A, then B installed") << QStringList{"Alpha.ttf", "DejaVu.ttf"} << 0 << "already installed Font"
                                         << "Tavoret Test Alpha";
    QTest::newRow("A, then a broken file") << QStringList{"Alpha.ttf", "random.ttf"} << 0 << "not a valid Font-File"
                                           << "Tavoret Test Alpha";
    QTest::newRow("two faces") << QStringList{"Pair.ttf"} << 2 << "Tavoret Test Pair Two" << "Tavoret Test Pair Two";
    QTest::newRow("same file twice") << QStringList{"Beta.ttf", "Beta.ttf"} << 1 << "Tavoret Test Beta"
                                     << "Tavoret Test Beta";
    QTest::newRow("A, then B") << QStringList{"Alpha.ttf", "Beta.ttf"} << 1 << "Tavoret Test Beta" << "Tavoret Test Beta";
    QTest::newRow("symbol font") << QStringList{"Symbol.ttf"} << 1 << "Tavoret Test Symbol" << "Tavoret Test Symbol";
}

void TestPreview::preview()
{
    QFETCH(QStringList, files);
    QFETCH(int, added);
    QFETCH(QString, shown);
    FontsChanged = 1; // previews leave the flag alone
    const int installed = int(platform::FontTable::Instance().ReadInstalledFontNames().size());
    for (const QString &file : files)
        PreviewFile(file);
    TComboBox *box = m_form->ComboBox1;
    QVERIFY(!box->Sorted());
    QCOMPARE(FontCountBefore, installed);
    QCOMPARE(box->count(), installed + added);
    QCOMPARE(box->ShownText(), shown);
    QCOMPARE(box->ItemIndex(), added ? box->count() - 1 : -1);
    QTEST(m_form->StringGrid1->FontName(), "chart");
    QTEST(m_form->RichEdit1->FontName(), "chart");
    QCOMPARE(PreviewFontFile, files.last().isEmpty() ? QString() : Path(files.last()));
    QCOMPARE(FontsChanged, 1);
    if (added) // the chart really draws the previewed face
        QCOMPARE(QFontInfo(m_form->StringGrid1->DrawFont()).family(), shown);
    if (files.first() == QLatin1String("Alpha.ttf") && files.size() > 1) // the first file left the table
        QVERIFY(!Listed(QStringLiteral("Tavoret Test Alpha")));
}

void TestPreview::arrowKeysPreviewEveryStep()
{
    TFileListBox *list = m_form->FileListBox1;
    list->setFocusByProgram();
    QStringList previewed;
    for (int i = 0; i < list->count(); ++i) {
        QTest::keyClick(list, Qt::Key_Down);
        previewed << QFileInfo(PreviewFontFile).fileName();
    }
    // Every step of the walk was previewed, in list order, nothing skipped.
    QCOMPARE(previewed, (QStringList{"Alpha.ttf", "Beta.ttf", "DejaVu.ttf", "empty.ttf", "Pair.ttf", "random.ttf",
                                     "Symbol.ttf", "truncated.ttf"}));
    QVERIFY(!TForm1::ShowHint(list));
    QCOMPARE(PreviewLinks().size(), 1); // only the last one stays under preview
}

void TestPreview::addWithNothingSelectedWarns()
{
    PreviewFile(QStringLiteral("Alpha.ttf"));
    m_form->DirectoryListBox1->setDirectory(testsupport::homeDir()); // a change of folder: nothing selected
    m_form->btnAdd->click();
    QCOMPARE(m_boxes.count, 1);
    QCOMPARE(m_boxes.caption, QStringLiteral("Done nothing, because ..."));
    QCOMPARE(m_boxes.text, QStringLiteral("There is no .TTF - File in the righthand File-List-Box selected."));
    QCOMPARE(FontsChanged, 0);
    QVERIFY(Listed(QStringLiteral("Tavoret Test Alpha"))); // the preview goes on
    QTest::qWait(300);
    QVERIFY(testsupport::ReadLines(m_log).isEmpty());
}

void TestPreview::addInstallsAndOpensTheFolder()
{
    PreviewFile(QStringLiteral("Alpha.ttf"));
    QCOMPARE(PreviewLinks().size(), 1);
    m_form->btnAdd->click();
    QCOMPARE(m_boxes.count, 0);
    QFile copy(m_fonts + QStringLiteral("/Alpha.ttf")), source(Path(QStringLiteral("Alpha.ttf")));
    QVERIFY(copy.open(QIODevice::ReadOnly) && source.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), source.readAll());
    QVERIFY(PreviewLinks().isEmpty()); // the preview ended
    QCOMPARE(FontsChanged, 1);
    QTRY_COMPARE_WITH_TIMEOUT(testsupport::ReadLines(m_log), QStringList{m_fonts}, 10000);
    // Installed now: the next reading lists the face from the fonts folder.
    m_form->Panel1MouseMove();
    QCOMPARE(FontsChanged, 0);
    QVERIFY(m_form->ComboBox1->findText(QStringLiteral("Tavoret Test Alpha")) >= 0);
}

void TestPreview::addKeepsAnExistingFileAsItIs()
{
    QFile existing(m_fonts + QStringLiteral("/Beta.ttf"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("bytes of another font");
    existing.close();
    PreviewFile(QStringLiteral("Beta.ttf"));
    m_form->btnAdd->click();
    m_form->btnAdd->click();
    QCOMPARE(m_boxes.count, 0); // silently
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), QByteArray("bytes of another font"));
    QTRY_COMPARE_WITH_TIMEOUT(testsupport::ReadLines(m_log), (QStringList{m_fonts, m_fonts}), 10000);
    QCOMPARE(FontsChanged, 1);
}

void TestPreview::addReportsAFailedCopy_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("source vanished") << "source";
    QTest::newRow("fonts folder cannot be made") << "folder";
}

void TestPreview::addReportsAFailedCopy()
{
    QFETCH(QString, failure);
    PreviewFile(QStringLiteral("Beta.ttf"));
    if (failure == QLatin1String("source")) {
        QVERIFY(QFile::remove(Path(QStringLiteral("Beta.ttf"))));
    } else {
        QVERIFY(QDir(m_fonts).removeRecursively());
        QFile blocker(m_fonts); // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    m_form->btnAdd->click();
    QCOMPARE(m_boxes.count, 1);
    QCOMPARE(m_boxes.caption, QStringLiteral("Done nothing, because ..."));
    QCOMPARE(m_boxes.text, QStringLiteral("The File could not be copied into the Fonts-Folder."));
    QCOMPARE(FontsChanged, 0);
    if (failure == QLatin1String("source")) // nothing, not even a partial file, was left behind
        QCOMPARE(QDir(m_fonts).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());
    QTest::qWait(300);
    QVERIFY(testsupport::ReadLines(m_log).isEmpty());
}

void TestPreview::delKeepsThePreview()
{
    PreviewFile(QStringLiteral("Alpha.ttf"));
    m_form->btnDel->click();
    QCOMPARE(FontsChanged, 1);
    QVERIFY(Listed(QStringLiteral("Tavoret Test Alpha")));
    QCOMPARE(PreviewLinks().size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(testsupport::ReadLines(m_log), QStringList{m_fonts}, 10000);
}

void TestPreview::closeAfterAddIsHarmless()
{
    PreviewFile(QStringLiteral("Beta.ttf"));
    m_form->btnAdd->click();
    QVERIFY(PreviewLinks().isEmpty());
    QVERIFY(m_form->close()); // asks for the same removal once more
    QCOMPARE(PreviewFontFile, Path(QStringLiteral("Beta.ttf")));
    QVERIFY(PreviewLinks().isEmpty());
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"

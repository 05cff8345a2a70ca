// Copy as another X client sees it: xclip reads the formats Tavoret offers on the clipboard,
// and an RTF reader (unrtf) reads the face and size the RTF names.
#include "platform/fonttable.h"
#include "initialise.h"
#include "testsupport.h"
#include "unit1.h"

#include <QProcess>
#include <QTemporaryFile>
#include <QtTest>

class TestClipboardX11 : public QObject
{
    Q_OBJECT

private slots:
    void otherClientsSeeAllFormats();

private:
    static QByteArray ReadClipboard(const QString &target);
    static QByteArray RtfAsHtml(const QByteArray &rtf);
};

QByteArray TestClipboardX11::RtfAsHtml(const QByteArray &rtf)
{
    QTemporaryFile file;
    if (!file.open() || file.write(rtf) != rtf.size() || !file.flush())
        return {};
    QProcess unrtf;
    unrtf.start(QStringLiteral("unrtf"), {QStringLiteral("--html"), file.fileName()});
    unrtf.waitForFinished(testsupport::Patience);
    return unrtf.readAllStandardOutput();
}

QByteArray TestClipboardX11::ReadClipboard(const QString &target)
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                          QStringLiteral("-t"), target, QStringLiteral("-o")});
    // Keep serving the clipboard while the other client asks for it.
    QDeadlineTimer deadline(testsupport::Patience);
    while (xclip.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(20);
    return xclip.readAllStandardOutput();
}

void TestClipboardX11::otherClientsSeeAllFormats()
{
    platform::FontTable fonts;
    initialiseApplication(fonts);
    TForm1 form(fonts, {QStringLiteral("DejaVu Sans")});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ComboBox1->setItemIndex(0);
    form.ComboBox1Change();
    const QPoint cellA(1 * 38 + 10, 2 * 38 + 10);
    QTest::mouseClick(form.StringGrid1->viewport(), Qt::LeftButton, {}, cellA);
    form.mnuitCopy1Click();

    const QByteArray targets = ReadClipboard(QStringLiteral("TARGETS"));
    QVERIFY2(targets.contains("text/plain"), targets.constData());
    QVERIFY2(targets.contains("text/html"), targets.constData());
    QVERIFY2(targets.contains("text/rtf"), targets.constData());
    // Only formats that name the face: Qt's ODF names the family it resolves it to instead.
    QVERIFY2(!targets.contains("opendocument") && !targets.contains("markdown"), targets.constData());
    QCOMPARE(ReadClipboard(QStringLiteral("UTF8_STRING")), QByteArray("A"));
    const QByteArray rtf = ReadClipboard(QStringLiteral("text/rtf"));
    // unrtf writes the face as <font face>, and 12 points as HTML's size 3.
    const QByteArray read = RtfAsHtml(rtf);
    QVERIFY2(read.contains("<font face=\"DejaVu Sans\"><font size=\"3\">A</font></font>"), read.constData());
}

QTEST_MAIN(TestClipboardX11)
#include "tst_clipboard_x11.moc"

// Timings of the font table: reading the installed fonts, adding and removing a font file,
// the font-table work of one preview, and a read that has to pick up a changed font folder.
#include "benchmark.h"
#include "platform/fonttable.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

namespace {
QString BenchFont(const char *name)
{
    return QStringLiteral(TAVORET_BENCH_FONTS "/files/") + QLatin1String(name);
}

QString Ms(qint64 ns)
{
    return QString::number(double(ns) / 1e6, 'f', 3) + QStringLiteral(" ms");
}
} // namespace

TAVORET_BENCHMARK(fonttable)
{
    platform::FontTable table;
    const QString alpha = BenchFont("TavoretAlpha.ttf");
    const QString beta = BenchFont("TavoretBeta.ttf");

    const QString config = qEnvironmentVariable("FONTCONFIG_FILE");
    report.Fact(QStringLiteral("fontconfig configuration"),
                config.isEmpty() ? QStringLiteral("the machine's (FONTCONFIG_FILE unset)") : config);
    QElapsedTimer first;
    first.start();
    const QStringList names = table.ReadInstalledFontNames();
    report.Fact(QStringLiteral("first ReadInstalledFontNames"), Ms(first.nsecsElapsed()));
    report.Fact(QStringLiteral("families"), QString::number(names.size()));

    report.Time(QStringLiteral("ReadInstalledFontNames"), [&] { table.ReadInstalledFontNames(); });
    report.Time(QStringLiteral("AddFontResource + RemoveFontResource"), [&] {
        table.AddFontResource(alpha);
        table.RemoveFontResource(alpha);
    });

    // What one preview asks of the font table, alternating between two files. The preview
    // folder's new time stamps must not count as a change of the installed fonts.
    const int buildsBefore = table.configurationBuilds();
    QString previous;
    report.Time(QStringLiteral("preview (remove, read, add, announce, read)"), [&] {
        const QString next = previous == alpha ? beta : alpha;
        table.RemoveFontResource(previous);
        table.ReadInstalledFontNames();
        table.AddFontResource(next);
        table.announceFontChange();
        table.ReadInstalledFontNames();
        previous = next;
    });
    table.RemoveFontResource(previous);
    report.Fact(QStringLiteral("configuration builds during the previews"),
                QString::number(table.configurationBuilds() - buildsBefore));

    // The user's font folder gets a new time stamp before each read, as when a font is copied
    // there: fontconfig's configuration and the table's index are rebuilt.
    if (platform::ensureUserFontsFolder()) {
        const QByteArray folder = QFile::encodeName(platform::userFontsFolder());
        report.Time(QStringLiteral("ReadInstalledFontNames after a change"), [&] {
            ::utimensat(AT_FDCWD, folder.constData(), nullptr, 0);
            table.ReadInstalledFontNames();
        });
    }
}

// The Debian package as a user gets it: cpack builds it from this build folder, and its
// contents, its dependencies, its desktop metadata and lintian's verdict are checked, with the
// program in it started. An install into a prefix refreshes that prefix's desktop caches, so
// that "Open with" lists the program at once.
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

class TestPackage : public QObject
{
    Q_OBJECT
    QString m_work = testsupport::homeDir() + QStringLiteral("/package");
    QString m_deb;
    QString m_root; // the package unpacked

    struct Result
    {
        int exitCode = -1;
        QString output; // standard output and errors, as they came
    };
    static Result Run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        Result result;
        if (process.waitForFinished(240000) && process.exitStatus() == QProcess::NormalExit)
            result.exitCode = process.exitCode();
        result.output = QString::fromUtf8(process.readAll());
        return result;
    }

private slots:
    void initTestCase()
    {
        testsupport::resetDir(m_work);
        const Result cpack = Run(QStringLiteral(TAVORET_CPACK),
                                 {"-G", "DEB", "--config", TAVORET_BUILD_DIR "/CPackConfig.cmake", "-B", m_work});
        QVERIFY2(cpack.exitCode == 0, qPrintable(cpack.output));
        const QStringList debs = QDir(m_work).entryList({QStringLiteral("*.deb")}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        QVERIFY2(debs.constFirst().startsWith(QStringLiteral("tavoret_" TAVORET_VERSION "_")), qPrintable(debs.constFirst()));
        m_deb = m_work + QLatin1Char('/') + debs.constFirst();
        m_root = m_work + QStringLiteral("/root");
        const Result unpack = Run(QStringLiteral("dpkg-deb"), {"-x", m_deb, m_root});
        QVERIFY2(unpack.exitCode == 0, qPrintable(unpack.output));
    }

    void holdsTheProgramAndItsDesktopFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("there");
        for (const char *path : {"usr/bin/tavoret", "usr/share/applications/org.tavoret.Tavoret.desktop",
                                 "usr/share/metainfo/org.tavoret.Tavoret.metainfo.xml",
                                 "usr/share/icons/hicolor/scalable/apps/org.tavoret.Tavoret.svg",
                                 "usr/share/icons/hicolor/48x48/apps/org.tavoret.Tavoret.png",
                                 "usr/share/icons/hicolor/64x64/apps/org.tavoret.Tavoret.png",
                                 "usr/share/icons/hicolor/128x128/apps/org.tavoret.Tavoret.png",
                                 "usr/share/icons/hicolor/256x256/apps/org.tavoret.Tavoret.png",
                                 "usr/share/man/man1/tavoret.1.gz", "usr/share/doc/tavoret/copyright",
                                 "usr/share/doc/tavoret/changelog.gz"})
            QTest::newRow(path) << path << true;
        // The caches are the installing system's: dpkg's triggers refresh them.
        for (const char *path : {"usr/share/applications/mimeinfo.cache", "usr/share/icons/hicolor/icon-theme.cache"})
            QTest::newRow(path) << path << false;
    }
    void holdsTheProgramAndItsDesktopFiles()
    {
        QFETCH(QString, path);
        QTEST(QFileInfo::exists(m_root + QLatin1Char('/') + path), "there");
    }

    void programInItRuns()
    {
        const Result version = Run(m_root + QStringLiteral("/usr/bin/tavoret"), {QStringLiteral("--version")});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.output, QStringLiteral("Tavoret " TAVORET_VERSION "\nTavoret for installed & uninstalled Fonts\n"));
        // The package's short description is the program's description.
        const QString description = Run(QStringLiteral("dpkg-deb"), {"-f", m_deb, "Description"}).output;
        QCOMPARE(description.section(QLatin1Char('\n'), 0, 0), QStringLiteral("Tavoret for installed & uninstalled Fonts"));
        // dpkg-shlibdeps found what the program links.
        const QString depends = Run(QStringLiteral("dpkg-deb"), {"-f", m_deb, "Depends"}).output;
        for (const char *library : {"libqt6widgets6", "libqt6gui6", "libfontconfig1", "libxcb1"})
            QVERIFY2(depends.contains(QLatin1String(library)), qPrintable(depends));
        // The face the forms are laid out for comes with the program where recommends are installed.
        const QString recommends = Run(QStringLiteral("dpkg-deb"), {"-f", m_deb, "Recommends"}).output;
        QVERIFY2(recommends.contains(QLatin1String("fonts-liberation")), qPrintable(recommends));
    }

    void passesItsValidators_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments"); // "DEB" and "ROOT/..." stand for the package and its contents
        QTest::newRow("lintian") << "lintian" << QStringList{"--fail-on", "error,warning", "DEB"};
        // Built as Debian builds: stack protector, _FORTIFY_SOURCE, RELRO and immediate binding.
        QTest::newRow("lintian: hardening")
            << "lintian" << QStringList{"--display-info", "--tags",
                                        "hardening-no-bindnow,hardening-no-fortify-functions,hardening-no-relro", "DEB"};
        QTest::newRow("desktop-file-validate")
            << "desktop-file-validate" << QStringList{"ROOT/usr/share/applications/org.tavoret.Tavoret.desktop"};
        QTest::newRow("appstreamcli validate")
            << "appstreamcli"
            << QStringList{"validate", "--no-net", "ROOT/usr/share/metainfo/org.tavoret.Tavoret.metainfo.xml"};
        QTest::newRow("appstreamcli validate-tree") << "appstreamcli" << QStringList{"validate-tree", "--no-net", "ROOT"};
    }
    // Neither errors nor warnings, nor desktop-file-validate's hints or AppStream's infos.
    void passesItsValidators()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        arguments.replaceInStrings(QRegularExpression(QStringLiteral("^DEB$")), m_deb);
        arguments.replaceInStrings(QRegularExpression(QStringLiteral("^ROOT")), m_root);
        if (QByteArray(QTest::currentDataTag()).startsWith("lintian: hardening") && !TAVORET_HARDENED)
            QSKIP("a sanitizer or Debug build is not built with the hardening flags");
        const Result result = Run(program, arguments);
        QVERIFY2(result.exitCode == 0, qPrintable(result.output));
        const QRegularExpression complaint(QStringLiteral("^[EWI]: |: (error|warning|hint): "),
                                           QRegularExpression::MultilineOption);
        QVERIFY2(!complaint.match(result.output).hasMatch(), qPrintable(result.output));
    }

    // The window's icon comes from PNG resources: on a system without Qt's image plugins
    // (qt.conf points the unpacked program at a plugin folder with the X11 platform alone) the
    // window still carries it, in the sizes the PNG files have.
    void windowHasItsIconWithoutImagePlugins()
    {
        const QString plugins = m_work + QStringLiteral("/plugins");
        testsupport::resetDir(plugins);
        QVERIFY(QFile::link(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"),
                            plugins + QStringLiteral("/platforms")));
        QFile conf(m_root + QStringLiteral("/usr/bin/qt.conf"));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("[Paths]\nPlugins = " + plugins.toUtf8() + '\n');
        conf.close();
        const Result xprop = Run(QStringLiteral("xvfb-run"),
                                 {"-a", "-s", "-screen 0 1280x1024x24", "sh", "-c",
                                  "QT_QPA_PLATFORM=xcb \"$0\" & app=$!; "
                                  "window=$(timeout 60 xdotool search --sync --limit 1 --pid $app); "
                                  "xprop -id \"$window\" _NET_WM_ICON; kill $app",
                                  m_root + QStringLiteral("/usr/bin/tavoret")});
        testsupport::removePath(conf.fileName());
        // Qt hands the X server the sizes up to 128 pixels.
        for (int size : {16, 32, 48, 64, 128})
            QVERIFY2(xprop.output.contains(QStringLiteral("Icon (%1 x %1):").arg(size)), qPrintable(xprop.output.left(2000)));
    }

    // Two builds of the same commit give the same binary: the resources carry the commit's
    // time (or the packager's SOURCE_DATE_EPOCH), not the time their files were checked out.
    void resourcesCarryTheSourceDate()
    {
        Q_INIT_RESOURCE(tavoret);
        const QFileInfo icon(QStringLiteral(":/icons/tavoret-48.png"));
        QVERIFY(icon.exists());
        QCOMPARE(icon.lastModified().toSecsSinceEpoch(), qint64(TAVORET_SOURCE_DATE));
    }

    // Packing the same build again gives the same bytes: no time of the packing in the .deb.
    void packsTheSameTwice()
    {
        const QString again = m_work + QStringLiteral("/again");
        testsupport::resetDir(again);
        const Result cpack = Run(QStringLiteral(TAVORET_CPACK),
                                 {"-G", "DEB", "--config", TAVORET_BUILD_DIR "/CPackConfig.cmake", "-B", again});
        QVERIFY2(cpack.exitCode == 0, qPrintable(cpack.output));
        QFile first(m_deb), second(again + QLatin1Char('/') + QFileInfo(m_deb).fileName());
        QVERIFY(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly));
        QVERIFY(first.readAll() == second.readAll());
    }

    void installRefreshesTheDesktopCaches()
    {
        const QString prefix = m_work + QStringLiteral("/prefix");
        const Result install = Run(QStringLiteral(TAVORET_CMAKE), {"--install", TAVORET_BUILD_DIR, "--prefix", prefix});
        QVERIFY2(install.exitCode == 0, qPrintable(install.output));
        const QStringList mimeCache = testsupport::ReadLines(prefix + QStringLiteral("/share/applications/mimeinfo.cache"));
        QVERIFY2(mimeCache.contains(QStringLiteral("font/ttf=org.tavoret.Tavoret.desktop;")),
                 qPrintable(mimeCache.join(QLatin1Char('\n'))));
        QVERIFY(QFileInfo::exists(prefix + QStringLiteral("/share/icons/hicolor/icon-theme.cache")));
    }
};

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"

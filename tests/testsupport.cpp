#include "testsupport.h"
#include "unit1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QtGlobal>

namespace testsupport {

QString fontsDir()
{
    return qEnvironmentVariable("TAVORET_TEST_FONTS");
}

QString fontPath(const QString &relative)
{
    return fontsDir() + QLatin1Char('/') + relative;
}

QString homeDir()
{
    return qEnvironmentVariable("TAVORET_TEST_HOME");
}

void resetDir(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        QDir(path).removeRecursively();
    else if (info.exists() || info.isSymLink())
        QFile::remove(path);
    QDir().mkpath(path);
}

namespace {
void WriteFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(data);
}
} // namespace

void InstallFolderOpenerLog(const QString &logPath)
{
    const QString script = homeDir() + QStringLiteral("/folder-opener.sh");
    WriteFile(script, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + logPath.toUtf8() + "'; done\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString apps = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications");
    QDir().mkpath(apps);
    WriteFile(apps + QStringLiteral("/tavoret-test-opener.desktop"),
              "[Desktop Entry]\nType=Application\nName=Opener\nExec=" + script.toUtf8()
                  + " %f\nMimeType=inode/directory;\n");
    QDir().mkpath(qEnvironmentVariable("XDG_CONFIG_HOME"));
    WriteFile(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/mimeapps.list"),
              "[Default Applications]\ninode/directory=tavoret-test-opener.desktop\n");
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("DISPLAY", ":0"); // xdg-open looks for a desktop session; the handler needs none
}

std::unique_ptr<TForm1> OpenMainWindow(const QStringList &startupNames)
{
    StartupFontNames = startupNames;
    auto form = std::make_unique<TForm1>();
    form->move(0, 0);
    form->show();
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form.get()))
        form.reset();
    return form;
}

QStringList ReadLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void AnswerMessageBoxes(MessageBoxSeen *seen)
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [seen] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            seen->caption = box->windowTitle();
            seen->text = box->text();
            ++seen->count;
            box->accept();
        }
    });
    timer->start(10);
}

} // namespace testsupport

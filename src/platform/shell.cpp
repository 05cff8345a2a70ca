#include "shell.h"

#include <QProcess>

namespace platform {

void openFolder(const QString &path, QObject *context, std::function<void()> onFailure)
{
    // xdg-open picks the desktop's own file manager (its inode/directory handler). It shares
    // the program's terminal, as the file manager it starts may outlive the program.
    auto *opener = new QProcess(context);
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    auto fail = [opener, onFailure] {
        onFailure();
        opener->deleteLater();
    };
    // Queued, as a start that fails reports it at once, inside start().
    QObject::connect(
        opener, &QProcess::errorOccurred, opener,
        [fail](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                fail();
        },
        Qt::QueuedConnection);
    QObject::connect(opener, &QProcess::finished, opener, [opener, fail](int exitCode, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || exitCode != 0)
            fail();
        else
            opener->deleteLater();
    });
    opener->start(QStringLiteral("xdg-open"), {path});
}

} // namespace platform

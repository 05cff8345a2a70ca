#include "platform/shell.h"

#include <QPointer>
#include <QProcess>

#include <algorithm>
#include <vector>

namespace platform {

namespace {
// Openers are nobody's children: an opener still starting when its window goes (the user
// closed it right after Add or Del) goes on by itself, with the file manager it starts,
// instead of being killed with the window. Kept here so that they stay reachable.
std::vector<QPointer<QProcess>> &runningOpeners()
{
    static auto *openers = new std::vector<QPointer<QProcess>>;
    return *openers;
}
} // namespace

void openFolder(const QString &path, QObject *context, std::function<void()> onFailure)
{
    // xdg-open picks the desktop's own file manager (its inode/directory handler). It shares
    // the program's terminal, as the file manager it starts may outlive the program.
    auto *opener = new QProcess;
    auto &openers = runningOpeners();
    openers.erase(std::remove(openers.begin(), openers.end(), nullptr), openers.end());
    openers.push_back(opener);
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    // The failure is reported only while `context` is there: the connections end with it.
    auto fail = [opener, onFailure] {
        onFailure();
        opener->deleteLater();
    };
    // Queued, as a start that fails reports it at once, inside start().
    QObject::connect(
        opener, &QProcess::errorOccurred, context,
        [fail](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                fail();
        },
        Qt::QueuedConnection);
    QObject::connect(opener, &QProcess::finished, context,
                     [opener, fail](int exitCode, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || exitCode != 0)
                             fail();
                         else
                             opener->deleteLater();
                     });
    // Without its window, the opener is only tidied up when it ends.
    QObject::connect(opener, &QProcess::finished, opener, [opener, context = QPointer<QObject>(context)] {
        if (!context)
            opener->deleteLater();
    });
    opener->start(QStringLiteral("xdg-open"), {path});
}

} // namespace platform

#include "platform/filecopy.h"

#include "platform/filenames.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

CopyResult copyFileNoOverwrite(const QString &source, const QString &target)
{
    const QFileInfo targetInfo(target);
    if (exists(target))
        return CopyResult::TargetExists;
    const int sourceFd = openRegularFile(source);
    QFile in;
    if (sourceFd < 0 || !in.open(sourceFd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (sourceFd >= 0)
            ::close(sourceFd);
        return CopyResult::Failed;
    }

    QTemporaryFile out(targetInfo.absolutePath() + QStringLiteral("/.tavoret-copy-XXXXXX"));
    if (!out.open())
        return CopyResult::Failed;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 got = in.read(buffer, sizeof buffer);
        if (got < 0)
            return CopyResult::Failed;
        if (got == 0)
            break;
        if (out.write(buffer, got) != got)
            return CopyResult::Failed;
    }
    if (!out.flush() || ::fsync(out.handle()) != 0)
        return CopyResult::Failed;
    out.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);

    // link() refuses an existing name, so nothing is ever overwritten. The temporary name is
    // removed when `out` goes out of scope; the linked target stays.
    const QByteArray from = QFile::encodeName(out.fileName());
    const QByteArray to = encodeName(target);
    if (::link(from.constData(), to.constData()) == 0)
        return CopyResult::Copied;
    if (errno == EPERM || errno == EOPNOTSUPP || errno == ENOSYS) {
        // File systems without hard links: an exclusive rename does the same.
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
            return CopyResult::Copied;
    }
    return errno == EEXIST ? CopyResult::TargetExists : CopyResult::Failed;
}

} // namespace platform

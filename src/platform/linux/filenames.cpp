#include "platform/filenames.h"

#include <QFile>
#include <QUrl>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {
constexpr char16_t KeptByteBase = 0xDC00;

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at `at` and its code point; 0 when it is not one.
int utf8Sequence(const QByteArray &bytes, qsizetype at, char32_t *code)
{
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes.at(at + i)); };
    const unsigned char lead = byte(0);
    int length;
    char32_t value, least;
    if (lead < 0x80)
        length = 1, value = lead, least = 0;
    else if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, value = lead & 0x1F, least = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, value = lead & 0x0F, least = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, value = lead & 0x07, least = 0x10000;
    else
        return 0;
    if (at + length > bytes.size())
        return 0;
    for (int i = 1; i < length; ++i) {
        if (!isContinuation(byte(i)))
            return 0;
        value = value << 6 | (byte(i) & 0x3F);
    }
    // Overlong forms, UTF-16 surrogates and code points past U+10FFFF are not valid UTF-8.
    if (value < least || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
        return 0;
    *code = value;
    return length;
}

bool isKeptByte(QChar ch)
{
    return ch.unicode() >= KeptByteBase + 0x80 && ch.unicode() <= KeptByteBase + 0xFF;
}

bool statOf(const QString &path, struct stat *info)
{
    return !path.isEmpty() && ::stat(encodeName(path).constData(), info) == 0;
}

bool lessIgnoringCase(const QString &a, const QString &b)
{
    const int order = QString::compare(a, b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
}
} // namespace

QString decodeName(const QByteArray &bytes)
{
    QString name;
    name.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        char32_t code = 0;
        const int length = utf8Sequence(bytes, at, &code);
        if (length == 0) {
            name.append(QChar(char16_t(KeptByteBase + static_cast<unsigned char>(bytes.at(at)))));
            ++at;
            continue;
        }
        name.append(QString::fromUcs4(&code, 1));
        at += length;
    }
    return name;
}

QByteArray encodeName(const QString &name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !isKeptByte(name.at(i)))
            continue;
        // A lone low surrogate in the kept range: a valid pair never ends in one here, as the
        // high half would have to precede it, and a pair's low half is never taken alone.
        if (i < name.size() && i > 0 && name.at(i - 1).isHighSurrogate())
            continue;
        bytes += name.mid(runStart, i - runStart).toUtf8();
        if (i < name.size())
            bytes += char(name.at(i).unicode() - KeptByteBase);
        runStart = i + 1;
    }
    return bytes;
}

QString displayName(const QString &name)
{
    QString shown = name;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (isKeptByte(shown.at(i)) && (i == 0 || !shown.at(i - 1).isHighSurrogate()))
            shown[i] = QChar::ReplacementCharacter;
    }
    return shown;
}

QString localFileName(const QUrl &url)
{
    if (!url.isLocalFile())
        return QString();
    if (!url.host().isEmpty())
        return url.toLocalFile(); // a share's path ("//host/path"), left to Qt
    return decodeName(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

bool isFile(const QString &path)
{
    struct stat info;
    return statOf(path, &info) && S_ISREG(info.st_mode);
}

bool isFolder(const QString &path)
{
    struct stat info;
    return statOf(path, &info) && S_ISDIR(info.st_mode);
}

bool exists(const QString &path)
{
    struct stat info;
    return !path.isEmpty() && ::lstat(encodeName(path).constData(), &info) == 0;
}

int openRegularFile(const QString &path)
{
    if (path.isEmpty())
        return -1;
    const int fd = ::open(encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat info;
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

QByteArray readRegularFile(const QString &path, qint64 maxSize)
{
    const int fd = openRegularFile(path);
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        return QByteArray();
    }
    if (file.size() > maxSize)
        return QByteArray();
    const QByteArray data = file.read(maxSize + 1);
    return data.size() > maxSize ? QByteArray() : data;
}

QStringList folderEntries(const QString &folder, EntryKind kind)
{
    QStringList names;
    const int fd = ::open(encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return names;
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return names;
    }
    const mode_t wanted = kind == EntryKind::Files ? S_IFREG : S_IFDIR;
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue; // dot-files, "." and ".."
        struct stat info;
        if (::fstatat(fd, entry->d_name, &info, 0) == 0 && (info.st_mode & S_IFMT) == wanted)
            names.append(decodeName(QByteArray(entry->d_name)));
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(), lessIgnoringCase);
    return names;
}

} // namespace platform

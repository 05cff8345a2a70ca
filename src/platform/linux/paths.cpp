#include "platform/paths.h"

namespace platform {

namespace {

// Wildcard match ignoring case; on a mismatch only the last "*" is retried further on, which
// keeps it linear for the usual masks.
bool globMatch(const QString &name, const QString &pattern)
{
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern.at(p) == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size()
                   && (pattern.at(p) == QLatin1Char('?')
                       || pattern.at(p).toCaseFolded() == name.at(n).toCaseFolded())) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

} // namespace

bool isPathPrefix(const QString &prefix, const QString &path)
{
    if (prefix.isEmpty() || !path.startsWith(prefix))
        return false;
    if (path.size() == prefix.size() || prefix.endsWith(QLatin1Char('/')))
        return true;
    return path.at(prefix.size()) == QLatin1Char('/');
}

QString joinPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

QStringList folderChain(const QString &folder)
{
    QStringList chain;
    if (!folder.startsWith(QLatin1Char('/')))
        return chain;
    chain << QStringLiteral("/");
    const QStringList parts = folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path;
    for (const QString &part : parts) {
        path += QLatin1Char('/') + part;
        chain << path;
    }
    return chain;
}

bool matchesMask(const QString &name, const QString &mask)
{
    if (mask.isEmpty() || mask == QLatin1String("*.*"))
        return true;
    return globMatch(name, mask);
}

} // namespace platform

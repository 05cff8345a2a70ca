#include "testsupport.h"

#include <QDir>
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
    QDir dir(path);
    if (dir.exists())
        dir.removeRecursively();
    QDir().mkpath(path);
}

} // namespace testsupport

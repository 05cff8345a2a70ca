#include "fontfiles.h"

namespace fontfiles {

bool isTrueTypeExtension(const QString &extension)
{
    QString upper = extension;
    for (QChar &ch : upper) {
        if (ch >= QLatin1Char('a') && ch <= QLatin1Char('z'))
            ch = QChar(ch.unicode() - 'a' + 'A');
    }
    return upper == QLatin1String("TTF");
}

void splitName(const QString &name, QString *nameOnly, QString *extension)
{
    // Scan from the end: every "." moves the extension's start, the first "/" ends the scan.
    qsizetype nameStart = 0;
    qsizetype extStart = -1;
    for (qsizetype i = name.size() - 1; i >= 0; --i) {
        if (name.at(i) == QLatin1Char('.')) {
            extStart = i + 1;
        } else if (name.at(i) == QLatin1Char('/')) {
            nameStart = i + 1;
            break;
        }
    }
    *nameOnly = name.mid(nameStart);
    *extension = extStart < 0 ? QString() : name.mid(extStart);
}

} // namespace fontfiles

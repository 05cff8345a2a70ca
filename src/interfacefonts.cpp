#include "interfacefonts.h"
#include "platform/fonttable.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHash>
#include <QPointer>
#include <QSet>
#include <QWidget>

#include <memory>

namespace interfacefonts {

namespace {
// Faces with the widths the forms were laid out for, best first.
const QHash<QString, QStringList> &substitutes()
{
    static const QHash<QString, QStringList> substitutes{
        {QStringLiteral("ms sans serif"),
         {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")}},
        {QStringLiteral("ms serif"), {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")}},
    };
    return substitutes;
}

// Swaps a widget's font for its installed stand-in as the font arrives. The widget never sees
// the font naming a missing family: it gets the stand-in's change event instead.
class InstalledFontFilter : public QObject
{
public:
    using QObject::QObject;

    // Which families fontconfig has, as the font table read them.
    std::shared_ptr<platform::InstalledFaces> installed;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::FontChange || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        if (widget->property("showsNamedFace").toBool())
            return false;
        QFont font = widget->font();
        const QString standIn = installedFamily(font.family());
        if (standIn == font.family() && font.families().size() <= 1)
            return false;
        font.setFamilies({standIn});
        widget->setFont(font);
        return true;
    }
};
QPointer<InstalledFontFilter> &filter()
{
    static QPointer<InstalledFontFilter> filter;
    return filter;
}

// What qtHasFamily and installedFamily found, by the family asked for: good for as long as the
// filter keeps the same table.
struct Answers {
    QHash<QString, bool> hasFamily;
    QHash<QString, QString> standIn;
};
Answers &answers()
{
    static Answers answers;
    return answers;
}
} // namespace

bool qtHasFamily(const QString &family)
{
    // Qt reads its font list once; this program never adds to it or removes from it. Qt also
    // lists the generic names ("Sans Serif", "Serif", "Monospace") with no font behind them,
    // and looks those up like missing ones: a family counts only when a font carries it.
    static const QSet<QString> families = [] {
        QSet<QString> names;
        for (const QString &name : QFontDatabase::families())
            names.insert(name.toCaseFolded());
        return names;
    }();
    QHash<QString, bool> &answered = answers().hasFamily;
    const auto known = answered.constFind(family);
    if (known != answered.cend())
        return *known;
    const platform::InstalledFaces *installed = filter() ? filter()->installed.get() : nullptr;
    const bool has = families.contains(family.toCaseFolded())
                     && (!installed || installed->installedFace(family).isValid());
    answered.insert(family, has);
    return has;
}

QString installedFamily(const QString &family)
{
    QHash<QString, QString> &resolved = answers().standIn;
    const auto known = resolved.constFind(family);
    if (known != resolved.cend())
        return *known;
    QString installed;
    if (qtHasFamily(family)) {
        installed = family;
    } else {
        for (const QString &substitute : substitutes().value(family.toCaseFolded())) {
            if (qtHasFamily(substitute)) {
                installed = substitute;
                break;
            }
        }
    }
    if (installed.isEmpty()) {
        const QString chosen = filter() ? filter()->installed->substituteFamily(family) : QString();
        if (qtHasFamily(chosen))
            installed = chosen;
        else if (!QFontDatabase::families().isEmpty())
            installed = QFontDatabase::families().constFirst();
        else
            installed = family; // no fonts at all: nothing to search either
    }
    resolved.insert(family, installed);
    return installed;
}

void keepInterfaceFontsInstalled(platform::FontTable &fonts)
{
    if (!qApp)
        return;
    if (!filter()) {
        filter() = new InstalledFontFilter(qApp);
        qApp->installEventFilter(filter());
    }
    // Answers found with another table (or none) may not hold for this one.
    filter()->installed = fonts.installedFonts();
    answers() = Answers();
    QFont font = QApplication::font();
    const QString installed = installedFamily(font.family());
    if (installed != font.family()) {
        font.setFamilies({installed});
        QApplication::setFont(font);
    }
}

} // namespace interfacefonts

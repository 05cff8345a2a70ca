#include "namedface.h"

#include "interfacefonts.h"

#include <QWidget>

QString NamedFace::widgetFamily(const QWidget *widget)
{
    return widget->font().family();
}

bool NamedFace::takeFontOf(QWidget *widget)
{
    const QString family = widgetFamily(widget);
    if (family == m_installedFamily)
        return false;
    m_name = family;
    m_installedFamily = interfacefonts::installedFamily(family);
    if (m_installedFamily == family)
        return false;
    QFont installed = widget->font();
    installed.setFamilies({m_installedFamily});
    widget->setFont(installed);
    return true;
}

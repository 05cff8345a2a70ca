// The face a widget shows by name while Qt lays the widget out in an installed family that
// stands for it, so that Qt never has to search its font list for a face it lacks.
#pragma once

#include <QString>

class QWidget;

class NamedFace
{
public:
    // The face's name; the family of `widget`'s font while none was named.
    QString nameFor(const QWidget *widget) const { return m_name.isEmpty() ? widgetFamily(widget) : m_name; }
    void setName(const QString &name) { m_name = name; }

    // For a FontChange of `widget`: a family set on the widget becomes the face's name, and the
    // widget gets the installed family that stands for it instead. Returns whether it set that
    // font, which comes back as another FontChange.
    bool takeFontOf(QWidget *widget);

private:
    static QString widgetFamily(const QWidget *widget);

    QString m_name;
    QString m_installedFamily; // the installed family the widget's own font was given
};

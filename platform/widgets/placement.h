#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

// Windows laid out by coordinates: each control is made with its designed name at its
// designed place (in pixels; see look::twipsRect for the designed twips).
namespace platform {

template <typename Control>
Control *place(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *control = new Control(parent);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

// The same, for a control that shows a text: a label, a button, a check or option box.
template <typename Control>
Control *place(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    Control *control = place<Control>(parent, name, geometry);
    control->setText(text);
    return control;
}

} // namespace platform

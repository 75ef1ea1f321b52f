#pragma once

#include <QPushButton>
#include <QString>

// Every control carries its name as its objectName, so that tests, the English translation and
// the manual find it; these make one in a single expression.

template <typename Widget>
Widget* named(Widget* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

// A push button that Enter does not press by itself: only the dialog's default button does.
inline QPushButton* button(const QString& name, const QString& caption)
{
    auto* result = named(new QPushButton(caption), name);
    result->setAutoDefault(false);
    return result;
}

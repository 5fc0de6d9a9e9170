#pragma once

#include "ui/returnpress.h"

#include <QRect>
#include <QString>

#include <type_traits>
#include <utility>

class QPushButton;
class QWidget;

// Window layouts are given in twips, 1/1440 inch: 15 of them make one pixel at 96 dpi. Qt scales
// pixels for screens of other densities.
constexpr int TwipsPerPixel = 15;

constexpr int twips(int value)
{
    return value / TwipsPerPixel;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

// A control with its short object name, placed at its fixed rectangle; the arguments come before
// the container in the control's constructor.
template <typename Control, typename... Arguments>
Control *designControl(QWidget *container, const char *name, const QRect &rect,
                       Arguments &&...arguments)
{
    auto *control = new Control(std::forward<Arguments>(arguments)..., container);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(rect);
    if constexpr (std::is_base_of_v<QPushButton, Control>)
        pressOnReturn(control);
    return control;
}

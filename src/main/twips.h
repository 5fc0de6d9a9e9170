#pragma once

#include <QRect>

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

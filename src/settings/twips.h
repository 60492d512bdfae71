#pragma once

#include <QRect>

// The windows' layouts are given in twips, 15 to a pixel at 96 dpi. Qt's pixels are device
// independent, so the layout scales with the screen.
constexpr int twips(int value)
{
    return value / 15;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return {twips(left), twips(top), twips(width), twips(height)};
}

#pragma once

#include <QRect>
#include <QRegion>
#include <QVector>

// The device's outline, one span of columns [left, right) per pixel row.
struct OutlineRow
{
    int y;
    int left;
    int right;
};

using Outline = QVector<OutlineRow>;

// The outline of the picture as drawn, at 96 pixels per inch.
Outline outline96();
// The same outline on the picture stretched for 120 pixels per inch (16/13 larger, as form scaling by
// font height gives it).
Outline outline120();

QRegion regionOf(const Outline& outline);
bool contains(const Outline& outline, int x, int y);

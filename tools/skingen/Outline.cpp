#include "Outline.h"

namespace {
// The body's straight part and the outline's extent at 96 pixels per inch.
constexpr int BodyLeft = 10;
constexpr int BodyRight = 266;
constexpr int TopY = 7;
constexpr int StraightTop = 27;
constexpr int StraightBottom = 320;
constexpr int BottomY = 369;

struct Inset
{
    int left;
    int right;
};

// The rounded top corners, row by row from y = 7: how far each row starts inside the straight
// sides. The rows settle one pixel in before the straight part, so the body begins exactly at 27.
const Inset TopCorners[] = {
    { 18, 18 },
    { 16, 14 },
    { 13, 13 },
    { 11, 11 },
    { 10, 9 },
    { 8, 8 },
    { 7, 7 },
    { 6, 6 },
    { 5, 5 },
    { 4, 4 },
    { 3, 3 },
    { 2, 3 },
    { 2, 2 },
    { 2, 2 },
    { 1, 2 },
    { 1, 1 },
    { 1, 1 },
    { 1, 1 },
    { 1, 1 },
    { 1, 1 },
};

// The chin, row by row from y = 320: a quarter ellipse with a slight taper, ending in a flat 46
// pixels wide. Left and right round half a pixel apart, so nearly every row moves on one side.
const Inset Chin[] = {
    { 1, 0 },
    { 1, 0 },
    { 1, 1 },
    { 1, 1 },
    { 2, 2 },
    { 3, 2 },
    { 3, 3 },
    { 4, 3 },
    { 4, 4 },
    { 5, 5 },
    { 6, 5 },
    { 7, 6 },
    { 8, 7 },
    { 9, 8 },
    { 9, 9 },
    { 10, 10 },
    { 12, 11 },
    { 13, 12 },
    { 14, 13 },
    { 15, 15 },
    { 16, 16 },
    { 18, 17 },
    { 19, 18 },
    { 20, 20 },
    { 22, 21 },
    { 23, 23 },
    { 25, 25 },
    { 27, 26 },
    { 29, 28 },
    { 31, 30 },
    { 32, 32 },
    { 35, 34 },
    { 37, 36 },
    { 39, 38 },
    { 41, 41 },
    { 44, 43 },
    { 46, 46 },
    { 49, 49 },
    { 52, 52 },
    { 55, 55 },
    { 59, 58 },
    { 62, 62 },
    { 66, 66 },
    { 71, 70 },
    { 75, 75 },
    { 81, 80 },
    { 88, 87 },
    { 96, 96 },
    { 105, 105 },
};

static_assert(sizeof(TopCorners) / sizeof(Inset) == StraightTop - TopY);
static_assert(sizeof(Chin) / sizeof(Inset) == BottomY - StraightBottom);

// Row mapping for the stretched picture: which 96 pixels-per-inch row each 120 pixels-per-inch row
// shows. The four first rows map one to one, the rest of the corner and the chin are spread evenly,
// and the last chin row is shown twice.
int sourceRow(int y)
{
    if (y < 9 || y > 453)
        return -1;
    if (y <= 12)
        return y - 2;
    if (y <= 32)
        return 11 + static_cast<int>((y - 13 + 0.5) * 16 / 20);
    if (y <= 392)
        return 27 + static_cast<int>((y - 33) * 292 / 359);
    return qMin(368, 320 + static_cast<int>((y - 393 + 0.5) * 49 / 60));
}

// Column mapping: 16/13, rounded down.
int scaleX(int x)
{
    return x * 16 / 13;
}
} // namespace

Outline outline96()
{
    Outline rows;
    for (int y = TopY; y < BottomY; ++y) {
        Inset inset { 0, 0 };
        if (y < StraightTop)
            inset = TopCorners[y - TopY];
        else if (y >= StraightBottom)
            inset = Chin[y - StraightBottom];
        rows.append({ y, BodyLeft + inset.left, BodyRight - inset.right });
    }
    return rows;
}

Outline outline120()
{
    const Outline source = outline96();
    Outline rows;
    for (int y = 0; y < 460; ++y) {
        const int from = sourceRow(y);
        if (from < 0)
            continue;
        const OutlineRow& row = source[from - TopY];
        rows.append({ y, scaleX(row.left), scaleX(row.right) });
    }
    return rows;
}

QRegion regionOf(const Outline& outline)
{
    QRegion region;
    for (const OutlineRow& row : outline)
        region += QRect(row.left, row.y, row.right - row.left, 1);
    return region;
}

bool contains(const Outline& outline, int x, int y)
{
    if (outline.isEmpty())
        return false;
    const int index = y - outline.first().y;
    if (index < 0 || index >= outline.size())
        return false;
    return x >= outline[index].left && x < outline[index].right;
}

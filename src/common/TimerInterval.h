#pragma once

#include <QtGlobal>
#include <algorithm>
#include <limits>

// A count of seconds from the settings as a timer interval or time-out in milliseconds. The count may be any
// integer: the result is held at the largest interval a timer takes (and at the smallest for a negative
// count) instead of wrapping round to some unrelated interval. What 0 or less means is the caller's rule.
inline int secondsToTimerInterval(qint64 seconds)
{
    constexpr qint64 largest = std::numeric_limits<int>::max();
    constexpr qint64 smallest = std::numeric_limits<int>::min();
    const qint64 limit = largest / 1000 + 1;
    if (seconds >= limit)
        return int(largest);
    if (seconds <= -limit)
        return int(smallest);
    return int(std::clamp(seconds * 1000, smallest, largest));
}

// Clipping of straight pieces and circles to a rectangle in screen coordinates (y down), done in
// doubles before anything is rounded, so that far-away geometry never reaches the painter.
#pragma once

#include <vector>

namespace qorv {

struct ClipRect {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool contains(double x, double y) const {
        return x >= left && x <= right && y >= top && y <= bottom;
    }
};

struct ClipPoint {
    double x = 0, y = 0;
};

// Cuts the segment to the rectangle; false when nothing of it lies inside.
bool clipSegment(ClipPoint& a, ClipPoint& b, const ClipRect& r);

// The infinite line through a and b meets the four sides of the rectangle; the first two of
// those crossings lying more than `minApart` apart are returned. False when the line misses the
// rectangle (or a and b coincide).
bool clipInfiniteLine(ClipPoint a, ClipPoint b, const ClipRect& r, ClipPoint& p, ClipPoint& q,
                      double minApart = 4.0);

// The half-line from a through b cut to the rectangle.
bool clipRay(ClipPoint a, ClipPoint b, const ClipRect& r, ClipPoint& p, ClipPoint& q);

// Angle intervals (radians, counter-clockwise as seen on the screen, i.e. world angles) of the
// stretches of the circle (centre c, radius rad) that lie inside the rectangle, each with
// from < to and to - from <= 2 pi. A circle wholly inside gives one interval of 2 pi.
struct AngleInterval {
    double from = 0, to = 0;
};
void visibleCircleIntervals(ClipPoint c, double rad, const ClipRect& r,
                            std::vector<AngleInterval>& out);

// The region of the disc inside the rectangle, as a convex polygon whose circular part is
// sampled finely enough for pixels (at most `maxError` pixels off). Empty when they do not meet.
void clippedDiscPolygon(ClipPoint c, double rad, const ClipRect& r, std::vector<ClipPoint>& out,
                        double maxError = 0.25);

// Step in radians that keeps a chord within `maxError` pixels of a circle of radius `rad`.
double arcStepFor(double rad, double maxError = 0.25);

} // namespace qorv

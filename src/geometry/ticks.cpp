#include "geometry/ticks.h"

#include "geometry/elementgeometry.h"
#include "model/document.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace qorv {

double tickStep(double unitLength) {
    if (!(unitLength > 0) || !std::isfinite(unitLength)) return 0.0;
    const double x = 60.0 / unitLength;
    if (!std::isfinite(x) || x <= 0) return 0.0;
    // c is the exponent of x's leading digit. Taking the floor (rather than the integer part
    // lowered by one below 1) gives the same c everywhere except at exact negative powers of ten,
    // where lowering it again would make the ticks ten times too dense.
    int c = int(std::floor(std::log10(x)));
    double lead = x / std::pow(10.0, c);
    if (lead >= 10.0) { // log10 rounding just below a power of ten
        ++c;
        lead /= 10.0;
    } else if (lead < 1.0) {
        --c;
        lead *= 10.0;
    }
    const int digit = int(lead);
    const double b = digit == 1 ? 1.0 : digit <= 4 ? 2.0 : 5.0;
    return b * std::pow(10.0, c);
}

long long snapIndex(double d) {
    if (!std::isfinite(d)) return 0;
    constexpr double limit = double(std::numeric_limits<long long>::max() / 2);
    if (std::fabs(d) > limit) return d > 0 ? (long long)limit : -(long long)limit;
    double whole = 0.0;
    const double frac = std::fabs(std::modf(d, &whole));
    long long i = (long long)whole;
    if (frac > 0.50000001) i += d > 0 ? 1 : -1;
    return i;
}

Point2 snapToRectangularGrid(Point2 p, Point2 o, double ux, double uy) {
    const double sx = tickStep(ux) * ux, sy = tickStep(uy) * uy;
    if (!(sx > 0) || !(sy > 0)) return p;
    return {o.x + double(snapIndex((p.x - o.x) / sx)) * sx,
            o.y + double(snapIndex((p.y - o.y) / sy)) * sy};
}

double polarNodeAngle(double r) {
    double delta = std::numbers::pi / 6;
    for (int i = 0; i < 64 && r * delta > 60; ++i)
        delta /= 2;
    return delta;
}

Point2 snapToPolarGrid(Point2 p, Point2 o, double ux, double uy) {
    const double sx = tickStep(ux) * ux, sy = tickStep(uy) * uy;
    if (!(sx > 0) || !(sy > 0)) return p;
    const double ratio = sy / sx;
    const double dx = p.x - o.x, dy = (p.y - o.y) / ratio;
    const long long k = snapIndex(std::sqrt(dx * dx + dy * dy) / sx);
    if (k == 0) return o;
    const double r = double(k) * sx;
    double theta = std::atan2(dy, dx);
    if (theta < 0) theta += 2 * std::numbers::pi;
    const double delta = polarNodeAngle(r);
    const double a = double(snapIndex(theta / delta)) * delta;
    return {o.x + r * std::cos(a), o.y + ratio * r * std::sin(a)};
}

bool nearestGridNode(const Document& doc, const Element& grid, Point2 p, Point2& node,
                     Point2& axisCoordinates) {
    AxesFrame f;
    if (!axesFrameOf(grid.parent1, f)) return false;
    node = doc.coordinateSystem == 1 ? snapToPolarGrid(p, f.origin, f.unitX, f.unitY)
                                     : snapToRectangularGrid(p, f.origin, f.unitX, f.unitY);
    if (!isFinite(node)) return false;
    axisCoordinates = f.toAxes(node);
    return true;
}

} // namespace qorv

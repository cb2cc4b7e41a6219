#include "view/clip.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace qorv {

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;

// Liang-Barsky: narrows [t0, t1] of a + t d to the part inside the rectangle.
bool clipParameters(ClipPoint a, double dx, double dy, const ClipRect& r, double& t0, double& t1) {
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - r.left, r.right - a.x, a.y - r.top, r.bottom - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    return t0 <= t1;
}

bool finite(ClipPoint p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

} // namespace

bool clipSegment(ClipPoint& a, ClipPoint& b, const ClipRect& r) {
    if (!finite(a) || !finite(b)) return false;
    const double dx = b.x - a.x, dy = b.y - a.y;
    double t0 = 0, t1 = 1;
    if (!clipParameters(a, dx, dy, r, t0, t1)) return false;
    const ClipPoint start = a;
    if (t1 < 1) b = {start.x + t1 * dx, start.y + t1 * dy};
    if (t0 > 0) a = {start.x + t0 * dx, start.y + t0 * dy};
    return true;
}

bool clipInfiniteLine(ClipPoint a, ClipPoint b, const ClipRect& r, ClipPoint& p, ClipPoint& q,
                      double minApart) {
    if (!finite(a) || !finite(b)) return false;
    const double dx = b.x - a.x, dy = b.y - a.y;
    if (dx == 0 && dy == 0) return false;
    ClipPoint hits[4];
    int n = 0;
    if (dx != 0) {
        for (double x : {r.left, r.right}) {
            const double y = a.y + (x - a.x) / dx * dy;
            if (y >= r.top && y <= r.bottom) hits[n++] = {x, y};
        }
    }
    if (dy != 0) {
        for (double y : {r.top, r.bottom}) {
            const double x = a.x + (y - a.y) / dy * dx;
            if (x >= r.left && x <= r.right) hits[n++] = {x, y};
        }
    }
    for (int j = 1; j < n; ++j) {
        if (std::hypot(hits[j].x - hits[0].x, hits[j].y - hits[0].y) > minApart) {
            p = hits[0];
            q = hits[j];
            return true;
        }
    }
    return false;
}

bool clipRay(ClipPoint a, ClipPoint b, const ClipRect& r, ClipPoint& p, ClipPoint& q) {
    if (!finite(a) || !finite(b)) return false;
    const double dx = b.x - a.x, dy = b.y - a.y;
    if (dx == 0 && dy == 0) return false;
    double t0 = 0, t1 = std::numeric_limits<double>::infinity();
    if (!clipParameters(a, dx, dy, r, t0, t1) || !std::isfinite(t1)) return false;
    p = {a.x + t0 * dx, a.y + t0 * dy};
    q = {a.x + t1 * dx, a.y + t1 * dy};
    return true;
}

void visibleCircleIntervals(ClipPoint c, double rad, const ClipRect& r,
                            std::vector<AngleInterval>& out) {
    out.clear();
    if (!finite(c) || !(rad > 0) || !std::isfinite(rad)) return;
    // Quick rejections: the circle's box misses the rectangle, or the rectangle lies inside
    // the disc without touching the circle.
    if (c.x + rad < r.left || c.x - rad > r.right || c.y + rad < r.top || c.y - rad > r.bottom)
        return;
    auto inside = [&](double x, double y) { return std::hypot(x - c.x, y - c.y) < rad; };
    if (inside(r.left, r.top) && inside(r.right, r.top) && inside(r.left, r.bottom) &&
        inside(r.right, r.bottom))
        return;

    // Screen angles phi (y down) where the circle crosses the lines of the four sides.
    double phis[8];
    int n = 0;
    for (double x : {r.left, r.right}) {
        const double k = (x - c.x) / rad;
        if (std::fabs(k) <= 1) {
            const double a = std::acos(k);
            phis[n++] = a;
            phis[n++] = TwoPi - a;
        }
    }
    for (double y : {r.top, r.bottom}) {
        const double k = (y - c.y) / rad;
        if (std::fabs(k) <= 1) {
            const double a = std::asin(k);
            phis[n++] = a < 0 ? a + TwoPi : a;
            phis[n++] = std::numbers::pi - a;
        }
    }
    auto pointInside = [&](double phi) {
        return r.contains(c.x + rad * std::cos(phi), c.y + rad * std::sin(phi));
    };
    // World angles are the screen ones negated (y flips): [phi0, phi1] becomes [-phi1, -phi0].
    auto emit = [&](double phi0, double phi1) {
        double from = std::fmod(-phi1, TwoPi);
        if (from < 0) from += TwoPi;
        out.push_back({from, from + (phi1 - phi0)});
    };
    if (n == 0) {
        if (pointInside(0.0)) emit(0.0, TwoPi);
        return;
    }
    for (int i = 1; i < n; ++i) // at most eight crossings: insertion sort
        for (int j = i; j > 0 && phis[j - 1] > phis[j]; --j)
            std::swap(phis[j - 1], phis[j]);
    for (int i = 0; i < n; ++i) {
        const double a = phis[i];
        const double b = i + 1 < n ? phis[i + 1] : phis[0] + TwoPi;
        if (b - a < 1e-12) continue;
        if (pointInside((a + b) / 2)) {
            emit(a, b);
        }
    }
}

double arcStepFor(double rad, double maxError) {
    if (!(rad > 0)) return std::numbers::pi / 16;
    const double step = std::sqrt(8 * maxError / rad);
    return std::min(step, std::numbers::pi / 16);
}

void clippedDiscPolygon(ClipPoint c, double rad, const ClipRect& r, std::vector<ClipPoint>& out,
                        double maxError) {
    out.clear();
    if (!finite(c) || !(rad > 0) || !std::isfinite(rad)) return;
    if (c.x + rad < r.left || c.x - rad > r.right || c.y + rad < r.top || c.y - rad > r.bottom)
        return;
    const ClipPoint corners[4] = {
        {r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    for (const ClipPoint& k : corners)
        if (std::hypot(k.x - c.x, k.y - c.y) <= rad) out.push_back(k);
    if (out.size() == 4) return;
    std::vector<AngleInterval> stretches;
    visibleCircleIntervals(c, rad, r, stretches);
    const double step = arcStepFor(rad, maxError);
    for (const AngleInterval& s : stretches) {
        const int count = int(std::min(100000.0, std::ceil((s.to - s.from) / step)));
        for (int i = 0; i <= count; ++i) {
            const double t = s.from + (s.to - s.from) * i / std::max(count, 1);
            ClipPoint p{c.x + rad * std::cos(t), c.y - rad * std::sin(t)};
            p.x = std::clamp(p.x, r.left, r.right);
            p.y = std::clamp(p.y, r.top, r.bottom);
            out.push_back(p);
        }
    }
    if (out.size() < 3) {
        out.clear();
        return;
    }
    // The region is convex: ordering its boundary points by angle about their mean walks it.
    double mx = 0, my = 0;
    for (const ClipPoint& p : out)
        mx += p.x, my += p.y;
    mx /= double(out.size());
    my /= double(out.size());
    std::sort(out.begin(), out.end(), [mx, my](const ClipPoint& a, const ClipPoint& b) {
        return std::atan2(a.y - my, a.x - mx) < std::atan2(b.y - my, b.x - mx);
    });
}

} // namespace qorv

#include "geometry/animation.h"

#include "geometry/elementgeometry.h"
#include "geometry/locus.h"
#include "geometry/primitives.h"
#include "model/methodtable.h"

#include <algorithm>
#include <cmath>

namespace qorv {

namespace {

constexpr double TwoPi = 6.283185307179586;
constexpr double Inside = 0.0001; // how far inside its ends a bouncing point turns back
constexpr double Far = 999.0;     // where lines, rays and radii turn back

void flip(AnimationRecord& entry) {
    entry.settings[AnimSetting::Direction] = entry.settings[AnimSetting::Direction] == 1 ? 0 : 1;
}

// t moved to the end it crossed of [lo, hi]; the direction turns.
void bounce(double& t, double lo, double hi, AnimationRecord& entry) {
    if (t > hi) {
        t = hi;
        flip(entry);
    } else if (t < lo) {
        t = lo;
        flip(entry);
    }
}

// Length of a stored curve in plane pixels: the pieces the drawing joins.
double sampledLength(const Element& curve) {
    const auto* t = curve.tailAs<SampledCurveTail>();
    if (!t) return 0;
    double length = 0;
    const int n = storedSamples(*t);
    for (int i = 1; i < n; ++i)
        if (samplesJoined(*t, i - 1, i))
            length += distance(t->first[size_t(i - 1)], t->first[size_t(i)]);
    return length;
}

// The element whose way a point on `host` follows: a locus stands for its driver's way (a point
// on an element there for that element).
const Element* wayOf(const Element* host) {
    if (host && host->method == Method::Locus && host->parent2) {
        const Element* driver = host->parent2;
        if (driver->method == Method::PointOnElement && driver->parent1) return driver->parent1;
        return driver;
    }
    return host;
}

void movePointOn(Element& p, double s, AnimationRecord& entry) {
    const Element* host = p.parent1;
    const Element* way = wayOf(host);
    if (!way) return;
    double& t = p.value[3];
    const int kind = way->kind();
    switch (kind) {
    case Kind::Segment:
    case Kind::Vector: {
        Point2 a, b;
        const double length = straightPointsOf(*way, a, b) ? distance(a, b) : 0;
        if (length > 0) t += s / length;
        bounce(t, Inside, 1 - Inside, entry);
        return;
    }
    case Kind::Polygon: {
        const auto* tail = way->tailAs<PolygonTail>();
        const int sides = tail ? int(tail->sides.size()) : 0;
        if (sides <= 0) return;
        const int side = std::clamp(int(std::floor(t)), 0, sides - 1);
        Point2 a, b;
        const Element& edge = *tail->sides[size_t(side)];
        const double length = straightPointsOf(edge, a, b) ? distance(a, b) : 0;
        if (length > 0) t += s / length;
        if (t > sides)
            t = Inside;
        else if (t < 0)
            t = sides - Inside;
        return;
    }
    case Kind::Circle: {
        Point2 c;
        double r = 0;
        if (circleOf(*way, c, r) && r > 0) t += s / r;
        if (std::fabs(t) > TwoPi) t = Inside;
        return;
    }
    case Kind::Arc: {
        ArcData arc;
        double length = 0;
        if (arcDataOf(*way, arc))
            length =
                arc.straight ? distance(arc.start, arc.end) : std::fabs(arcSweep(arc)) * arc.radius;
        if (length > 0) t += s / length;
        bounce(t, Inside, 1 - Inside, entry);
        return;
    }
    case Kind::Locus: {
        // The parameter runs over [0, 1] along the whole stored curve.
        const double length = sampledLength(*way);
        if (length > 0) t += s / length;
        bounce(t, 0, 1, entry);
        return;
    }
    case Kind::Number:
        t += s / Far;
        bounce(t, Inside, 1 - Inside, entry);
        return;
    case Kind::Conic:
        t += 0.1 * s;
        if (t > 119)
            t = 0;
        else if (t < 0)
            t = 119;
        return;
    case Kind::Line:
    case Kind::Ray: {
        const bool ray = kind == Kind::Ray;
        if (methodRow(way->method).pointParameter == PointParameter::Affine) {
            Point2 a, b;
            const double d = straightPointsOf(*way, a, b) ? distance(a, b) : 0;
            if (!(d > 0)) return;
            t += s / d;
            bounce(t, ray ? 0 : -Far / d, Far / d, entry);
        } else {
            t += s;
            bounce(t, ray ? 0 : -Far, Far, entry);
        }
        return;
    }
    default:
        return;
    }
}

} // namespace

bool isAnimatable(const Element& e) {
    return isValidMethod(e.method) && methodRow(e.method).animation != AnimationMove::None;
}

double animationStepLength(int speed, int direction) {
    double a = 0.1 * speed;
    if (direction == 1) a = -a;
    return std::fabs(a) * a;
}

void animateEntry(Document& doc, AnimationRecord& entry) {
    (void)doc;
    Element* e = entry.element;
    if (!e || !e->defined || entry.settings[AnimSetting::Playing] == 0) return;
    const double s = animationStepLength(entry.settings[AnimSetting::Speed],
                                         entry.settings[AnimSetting::Direction]);
    if (s == 0) return;
    if (!isValidMethod(e->method)) return;
    switch (methodRow(e->method).animation) {
    case AnimationMove::None:
        return;
    case AnimationMove::AlongHost:
        movePointOn(*e, s, entry);
        return;
    case AnimationMove::Turn: {
        const Point2 base = firstPointOf(*e), dir = secondPointOf(*e) - base;
        const double angle = std::atan2(dir.y, dir.x) + 0.01 * s;
        e->value[2] = base.x + 100 * std::cos(angle);
        e->value[3] = base.y + 100 * std::sin(angle);
        return;
    }
    case AnimationMove::Radius: {
        const Point2 c = firstPointOf(*e);
        double r = distance(c, secondPointOf(*e)) + s;
        bounce(r, 0, Far, entry);
        e->value[2] = c.x;
        e->value[3] = c.y + r;
        return;
    }
    case AnimationMove::Value: {
        const auto* range = e->tailAs<ParameterTail>();
        if (!range) return;
        const double lo = std::min(range->minimum, range->maximum);
        const double hi = std::max(range->minimum, range->maximum);
        e->value[0] += s * (hi - lo) / Far;
        bounce(e->value[0], lo, hi, entry);
        return;
    }
    }
}

bool animationStep(Document& doc, std::vector<Element*>* moved) {
    if (doc.animations.empty()) return false;
    doc.modified = 1;
    for (AnimationRecord& entry : doc.animations) {
        Element* e = entry.element;
        if (!e || !e->defined || entry.settings[AnimSetting::Playing] == 0) continue;
        animateEntry(doc, entry);
        if (moved) moved->push_back(e);
    }
    return true;
}

AnimationRecord* animationEntryOf(Document& doc, const Element* e) {
    for (AnimationRecord& a : doc.animations)
        if (a.element == e) return &a;
    return nullptr;
}

bool toggleAnimation(Document& doc, Element* e) {
    if (!e) return false;
    if (AnimationRecord* a = animationEntryOf(doc, e)) {
        doc.animations.erase(doc.animations.begin() + (a - doc.animations.data()));
        return false;
    }
    if (int(doc.animations.size()) >= MaxAnimations) return false;
    AnimationRecord r;
    r.element = e;
    r.settings[AnimSetting::Playing] = 1;
    r.settings[AnimSetting::Direction] = NewEntryDirection;
    r.settings[AnimSetting::Speed] = NewEntrySpeed;
    doc.animations.push_back(r);
    return true;
}

void dropUnanimatable(Document& doc) {
    std::erase_if(doc.animations,
                  [](const AnimationRecord& a) { return !a.element || !isAnimatable(*a.element); });
}

bool toggleTrace(Document& doc, Element* e) {
    if (!e) return false;
    auto it = std::find(doc.traceList.begin(), doc.traceList.end(), e);
    if (it != doc.traceList.end()) {
        doc.traceList.erase(it);
        return false;
    }
    if (int(doc.traceList.size()) >= Document::MaxTraced) return false;
    doc.traceList.push_back(e);
    return true;
}

} // namespace qorv

#include "geometry/measure.h"

#include "geometry/conic.h"
#include "geometry/elementgeometry.h"
#include "geometry/intersect.h"
#include "geometry/primitives.h"
#include "geometry/recalcsupport.h"
#include "geometry/transforms.h"
#include "model/uitext.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

namespace qorv {

namespace {

constexpr const char* kSquared = "\xC2\xB2"; // superscript two, UTF-8

// Fixed-size text of an equation under construction (numbers and signs: it never fills up); a
// longer text would be cut between characters, never overflow.
struct TextBuffer {
    char data[512];
    size_t len = 0;
    TextBuffer() { data[0] = 0; }
    void add(std::string_view s) {
        const size_t n = cutLength(s, sizeof data - 1 - len);
        std::memcpy(data + len, s.data(), n);
        len += n;
        data[len] = 0;
    }
    void addNumber(double v, int decimals) {
        len += formatNumberTo(data + len, sizeof data - len, v, decimals);
    }
    std::string_view view() const { return std::string_view(data, len); }
};

void setNumber(Element& e, double v) {
    v = dropTiny(v);
    if (!std::isfinite(v)) {
        e.defined = 0;
        return;
    }
    e.value[0] = v;
    e.option = HasValue;
    e.defined = 1;
}

void setNoValue(Element& e) {
    e.option = NoValue;
    e.defined = 1;
}

double radiusOf(const Element& c) {
    return distance(firstPointOf(c), secondPointOf(c));
}

bool onSegment(Point2 p, Point2 a, Point2 b) {
    return std::fabs(distance(a, p) + distance(p, b) - distance(a, b)) < Tol::Distinct;
}

// ---- text builders ------------------------------------------------------------------------------

void buildLineText(TextBuffer& t, bool slopeForm, double m, double n, int decimals) {
    if (!slopeForm) {
        t.add("x = ");
        t.addNumber(n, decimals);
        return;
    }
    t.add("y = ");
    const bool hasSlope = std::fabs(m) > Tol::Tiny;
    if (hasSlope) {
        t.addNumber(m, decimals);
        t.add("x ");
    }
    if (std::fabs(n) > Tol::Tiny || !hasSlope) {
        if (n > 0 && hasSlope) t.add("+");
        t.addNumber(n, decimals);
    }
}

// "x" when the centre coordinate is 0, else "(x-2.00" or "(x+2.00" (the caller closes it).
void buildCentrePart(TextBuffer& t, char letter, double c, int decimals) {
    const char name[2] = {letter, 0};
    if (c == 0) {
        t.add(name);
        return;
    }
    t.add("(");
    t.add(name);
    t.add(c > 0 ? "-" : "+");
    t.addNumber(std::fabs(c), decimals);
}

void buildCircleText(TextBuffer& t, double a, double b, double p, double q, int decimals) {
    a = dropTiny(a);
    b = dropTiny(b);
    if (p == q) {
        buildCentrePart(t, 'x', a, decimals);
        if (a != 0) t.add(")");
        t.add(kSquared);
        t.add("+");
        buildCentrePart(t, 'y', b, decimals);
        if (b != 0) t.add(")");
        t.add(kSquared);
        t.add("=");
        t.addNumber(p, decimals);
        t.add(kSquared);
        return;
    }
    buildCentrePart(t, 'x', a, decimals);
    t.add(a != 0 ? ")" : "");
    t.add(kSquared);
    t.add("/");
    t.addNumber(p, decimals);
    t.add(kSquared);
    t.add("+");
    buildCentrePart(t, 'y', b, decimals);
    t.add(b != 0 ? ")" : "");
    t.add(kSquared);
    t.add("/");
    t.addNumber(q, decimals);
    t.add(kSquared);
    t.add("=1");
}

void buildConicText(TextBuffer& t, const ConicCoefficients& c, int decimals) {
    static constexpr const char* kLetters[5] = {"y\xC2\xB2 ", "xy ", "x\xC2\xB2 ", "y ", "x "};
    bool first = true;
    for (int i = 0; i < 6; ++i) {
        const double k = c[size_t(i)];
        if (!(std::fabs(k) > Tol::Tiny)) continue;
        if (!first && k > 0) t.add("+");
        first = false;
        if (i == 5) {
            t.addNumber(k, decimals); // the constant is written as a number alone
            continue;
        }
        if (std::fabs(k + 1) < Tol::Tiny)
            t.add("-");
        else if (!(std::fabs(k - 1) <= Tol::Tiny))
            t.addNumber(k, decimals);
        t.add(kLetters[i]);
    }
    t.add(" = 0");
}

// Circle (or curved arc) and axes of a circle equation, in axis coordinates.
bool circleInAxes(const Element& e, double& a, double& b, double& p, double& q) {
    AxesFrame f;
    if (!usable(e.parent1) || !axesFrameOf(e.parent2, f)) return false;
    if (e.parent1->kind() == Kind::Arc && e.parent1->option2 != 0) return false; // no circle
    const Point2 centre = f.toAxes(firstPointOf(*e.parent1));
    const double r = radiusOf(*e.parent1);
    a = centre.x;
    b = centre.y;
    p = r / f.unitX;
    q = r / f.unitY;
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(p) && std::isfinite(q);
}

// The conic of a conic equation refitted through its five points in axis coordinates.
bool conicInAxes(const Element& e, ConicCoefficients& coef) {
    AxesFrame f;
    if (!usable(e.parent1) || !axesFrameOf(e.parent2, f)) return false;
    const auto* t = e.parent1->tailAs<ConicTail>();
    if (!t) return false;
    Point2 pts[5];
    for (int i = 0; i < 5; ++i) {
        if (!usable(t->points[i])) return false;
        pts[i] = f.toAxes(positionOf(*t->points[i]));
    }
    return fitConic(pts, coef);
}

// Slope form (y = m x + n) or vertical form (x = c) of a straight element in axis coordinates.
bool lineInAxes(const Element& e, bool& slopeForm, double& m, double& n) {
    AxesFrame f;
    if (!usable(e.parent1) || !axesFrameOf(e.parent2, f) || !f.hasOriginPoint) return false;
    const Point2 o = f.origin;
    const double ux = f.unitX, uy = f.unitY;
    const Point2 a = firstPointOf(*e.parent1), b = secondPointOf(*e.parent1);
    Point2 q;
    if (intersectLines(a, b, o, Point2{o.x, o.y + 10}, q)) {
        slopeForm = true;
        m = ((b.y - a.y) / uy) / ((b.x - a.x) / ux);
        n = (q.y - o.y) / uy;
    } else if (intersectLines(a, b, o, Point2{o.x + 10, o.y}, q)) {
        slopeForm = false;
        m = 0;
        n = (q.x - o.x) / ux;
    } else {
        return false;
    }
    return std::isfinite(m) && std::isfinite(n);
}

void storeEquationText(Element& e, const TextBuffer& t) {
    if (auto* tail = e.tailAs<EquationTail>()) tail->text.assign(t.data, t.len);
}

} // namespace

// ---- numbers and units
// ----------------------------------------------------------------------------

size_t formatNumberTo(char* buf, size_t size, double value, int decimals) {
    if (!buf || size == 0) return 0;
    if (decimals < 0) decimals = 0;
    if (decimals > 8) decimals = 8;
    if (value == 0) value = 0.0; // no "-0.00" for a negative zero
    int n;
    if (std::fabs(value) > 10000000.0)
        n = std::snprintf(buf, size, "%.2e", value);
    else
        n = std::snprintf(buf, size, "%.*f", decimals, value);
    if (n < 0) {
        buf[0] = 0;
        return 0;
    }
    size_t len = std::min(size_t(n), size - 1);
    if (value < 0 && buf[0] != '-' && len + 1 < size) {
        std::memmove(buf + 1, buf, len + 1);
        buf[0] = '-';
        ++len;
    }
    return len;
}

std::string formatNumber(double value, int decimals) {
    char buf[64];
    const size_t n = formatNumberTo(buf, sizeof buf, value, decimals);
    return std::string(buf, n);
}

std::string_view unitSuffix(const Document& doc, const Element& e) {
    if (e.method == Method::CoordinateX || e.method == Method::CoordinateY) return {};
    static constexpr std::string_view kLength[4] = {"mm", "cm", "m", "km"};
    static constexpr std::string_view kArea[4] = {"mm\xC2\xB2", "cm\xC2\xB2", "m\xC2\xB2",
                                                  "km\xC2\xB2"};
    static constexpr std::string_view kAngle[3] = {"rd", "\xC2\xB0", "gr"};
    const int lu = doc.lengthUnit, au = doc.angleUnit;
    switch (e.unitShown) {
    case 1:
        return lu >= 0 && lu < 4 ? kLength[lu] : std::string_view{};
    case 2:
        return lu >= 0 && lu < 4 ? kArea[lu] : std::string_view{};
    case 3:
        return au >= 0 && au < 3 ? kAngle[au] : std::string_view{};
    default:
        return {};
    }
}

double toLengthUnits(const Document& doc, double worldLength) {
    return worldLength / doc.pixelsPerUnit * lengthFactor(doc);
}

double toAreaUnits(const Document& doc, double worldArea) {
    const double f = lengthFactor(doc);
    return worldArea / (doc.pixelsPerUnit * doc.pixelsPerUnit) * (f * f);
}

double toAngleUnits(const Document& doc, double radians) {
    return radians * angleFactor(doc);
}

double dropTiny(double v) {
    return std::fabs(v) < Tol::Tiny ? 0.0 : v;
}

// ---- arcs
// ----------------------------------------------------------------------------------------

bool pointOnArc(const Element& arc, Point2 p) {
    ArcData a;
    if (!arcDataOf(arc, a)) return false;
    if (distance(p, a.start) < Tol::Distinct || distance(p, a.end) < Tol::Distinct) return true;
    const double off = a.straight ? distanceToLine(p, a.start, a.end)
                                  : std::fabs(distance(a.centre, p) - a.radius);
    return off < Tol::Distinct && isOnArc(a, p);
}

// ---- measurements
// ---------------------------------------------------------------------------------

void recalcProportion(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2)) {
        e.defined = 0;
        return;
    }
    if (e.parent3) {
        if (!e.parent3->defined) {
            e.defined = 0;
            return;
        }
        const Point2 p1 = positionOf(*e.parent1), p2 = positionOf(*e.parent2),
                     p3 = positionOf(*e.parent3);
        const double d12 = distance(p1, p2), d13 = distance(p1, p3), d23 = distance(p2, p3);
        if (d13 == 0) {
            setNoValue(e);
            return;
        }
        double ratio = d12 / d13;
        // p1 between p2 and p3: the ratio is negative.
        if (d23 > d12 && d23 > d13) ratio = -ratio;
        setNumber(e, ratio);
        return;
    }
    const double l1 = distance(firstPointOf(*e.parent1), secondPointOf(*e.parent1));
    const double l2 = distance(firstPointOf(*e.parent2), secondPointOf(*e.parent2));
    if (l2 == 0) {
        setNoValue(e);
        return;
    }
    setNumber(e, l1 / l2);
}

// ---- property checks
// -----------------------------------------------------------------------------

namespace {
void setVerdict(Element& e, bool holds) {
    e.option = holds ? 1 : 0;
    e.defined = 1;
}
} // namespace

void recalcParallelCheck(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2)) {
        e.defined = 0;
        return;
    }
    Point2 x;
    setVerdict(e, !intersectLines(firstPointOf(*e.parent1), secondPointOf(*e.parent1),
                                  firstPointOf(*e.parent2), secondPointOf(*e.parent2), x));
}

void recalcPerpendicularCheck(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2)) {
        e.defined = 0;
        return;
    }
    const Point2 a = firstPointOf(*e.parent1), b = secondPointOf(*e.parent1);
    Point2 q1, q2, x;
    // A first element without a direction has no perpendicular: the check does not hold.
    const bool holds =
        perpendicularThrough(a, b, a, q1, q2) &&
        !intersectLines(q1, q2, firstPointOf(*e.parent2), secondPointOf(*e.parent2), x);
    setVerdict(e, holds);
}

void recalcMembershipCheck(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2)) {
        e.defined = 0;
        return;
    }
    const Point2 p = positionOf(*e.parent1);
    const Element& g = *e.parent2;
    const Point2 a = firstPointOf(g), b = secondPointOf(g);
    switch (g.kind()) {
    case Kind::Line:
        setVerdict(e, distanceToLine(p, a, b) < Tol::Distinct);
        return;
    case Kind::Ray:
        setVerdict(e, distanceToLine(p, a, b) < Tol::Distinct && !isBeyondOrigin(a, b, p));
        return;
    case Kind::Segment:
    case Kind::Vector:
        setVerdict(e, onSegment(p, a, b));
        return;
    case Kind::Circle:
        setVerdict(e, std::fabs(distance(a, p) - distance(a, b)) < Tol::Distinct);
        return;
    case Kind::Arc:
        setVerdict(e, pointOnArc(g, p));
        return;
    case Kind::Conic:
        if (const auto* t = g.tailAs<ConicTail>()) {
            const ConicCoefficients c{t->coefficients[0], t->coefficients[1], t->coefficients[2],
                                      t->coefficients[3], t->coefficients[4], t->coefficients[5]};
            setVerdict(e, std::fabs(conicValue(c, p)) < Tol::Distinct);
            return;
        }
        break;
    default:
        break;
    }
    // Other kinds: the verdict stays as it was.
    e.defined = 1;
}

void recalcEquidistanceCheck(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2) || !usable(e.parent3)) {
        e.defined = 0;
        return;
    }
    const Point2 p1 = positionOf(*e.parent1), p2 = positionOf(*e.parent2),
                 p3 = positionOf(*e.parent3);
    setVerdict(e, std::fabs(distance(p1, p2) - distance(p1, p3)) <= Tol::Distinct);
}

void recalcAlignmentCheck(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2) || !usable(e.parent3)) {
        e.defined = 0;
        return;
    }
    setVerdict(
        e, areCollinear(positionOf(*e.parent1), positionOf(*e.parent2), positionOf(*e.parent3)));
}

// ---- equations
// -----------------------------------------------------------------------------------

std::string lineEquationText(const Element& e) {
    TextBuffer t;
    buildLineText(t, e.option == 1, e.value[0], e.value[1], e.decimals);
    return std::string(t.view());
}

std::string circleEquationText(const Element& e) {
    double a = 0, b = 0, p = 0, q = 0;
    if (!circleInAxes(e, a, b, p, q)) return {};
    TextBuffer t;
    buildCircleText(t, a, b, p, q, e.decimals);
    return std::string(t.view());
}

std::string conicEquationText(const Element& e) {
    ConicCoefficients c{};
    if (!conicInAxes(e, c)) return {};
    TextBuffer t;
    buildConicText(t, c, e.decimals);
    return std::string(t.view());
}

void recalcLineEquation(Document&, Element& e) {
    bool slopeForm = false;
    double m = 0, n = 0;
    if (!lineInAxes(e, slopeForm, m, n)) {
        e.defined = 0;
        return;
    }
    e.option = slopeForm ? 1 : 0;
    if (slopeForm) e.value[0] = m;
    e.value[1] = n;
    TextBuffer t;
    buildLineText(t, slopeForm, m, n, e.decimals);
    storeEquationText(e, t);
    e.defined = 1;
}

void recalcCircleEquation(Document&, Element& e) {
    double a = 0, b = 0, p = 0, q = 0;
    if (!circleInAxes(e, a, b, p, q)) {
        e.defined = 0;
        return;
    }
    e.value[0] = p;
    e.value[1] = q;
    e.option = p == q ? 1 : 0;
    TextBuffer t;
    buildCircleText(t, a, b, p, q, e.decimals);
    storeEquationText(e, t);
    e.defined = 1;
}

void recalcConicEquation(Document&, Element& e) {
    ConicCoefficients c{};
    if (!conicInAxes(e, c)) {
        e.defined = 0;
        return;
    }
    TextBuffer t;
    buildConicText(t, c, e.decimals);
    storeEquationText(e, t);
    e.defined = 1;
}

std::string coordinatesText(const Element& e) {
    const auto* t = e.tailAs<CoordinatesTail>();
    if (!t || !t->xCoord || !t->yCoord) return {};
    // The name is as long as the point's name is: nothing is cut.
    std::string s;
    if (e.parent1 && e.parent1->nameElement)
        if (const auto* n = e.parent1->nameElement->tailAs<NameTail>()) s = n->text;
    s += "(" + formatNumber(t->xCoord->value[0], e.decimals) + ";" +
         formatNumber(t->yCoord->value[0], e.decimals) + ")";
    return s;
}

// ---- display
// -------------------------------------------------------------------------------------

std::string displayText(const Document& doc, const Element& e) {
    switch (e.kind()) {
    case Kind::Number: {
        std::string s = doc.nameOf(&e);
        if (!s.empty()) s += " = ";
        if (e.option == NoValue || !e.defined) return s + uiText().message(Msg::NoValueText);
        int decimals = e.decimals;
        if (e.method == Method::CoordinateX || e.method == Method::CoordinateY) {
            const Element* coords = e.owner ? e.owner : e.parent2;
            if (coords) decimals = coords->decimals;
        }
        s += formatNumber(e.value[0], decimals);
        const std::string_view unit = unitSuffix(doc, e);
        if (!unit.empty()) {
            s += ' ';
            s += unit;
        }
        return s;
    }
    case Kind::Equation:
        if (const auto* t = e.tailAs<EquationTail>()) return t->text;
        return {};
    case Kind::Coordinates:
        return coordinatesText(e);
    case Kind::Property:
        if (const auto* t = e.tailAs<CheckTail>())
            return e.option == 1 ? t->trueText : t->falseText;
        return {};
    case Kind::Name:
        return doc.nameOf(&e);
    case Kind::Function: {
        std::string s = doc.nameOf(&e);
        if (s.empty())
            if (const auto* t = e.tailAs<ExpressionTail>()) s = t->exprText;
        return s;
    }
    case Kind::Button:
        if (const auto* t = e.tailAs<ButtonTail>()) return t->caption;
        return {};
    case Kind::Text:
        if (const auto* t = e.tailAs<TextTail>()) {
            std::string s;
            for (size_t i = 0; i < t->lines.size(); ++i) {
                if (i) s += '\n';
                s += t->lines[i];
            }
            return s;
        }
        return {};
    default:
        return {};
    }
}

} // namespace qorv

// Recalculation of circles, angles, axes, grids, coordinates, name anchors and bitmaps.
#include "geometry/pointonelement.h"
#include "geometry/recalcmethods.h"
#include "geometry/recalcsupport.h"

#include <algorithm>

namespace qorv {

void recalcCircleByCentre(Document&, Element& e) {
    if (!usable(e.parent1)) return setUndefined(e);
    // The circle keeps its radius; the point on it goes straight above the new centre.
    double r = distance(firstPointOf(e), secondPointOf(e));
    if (!std::isfinite(r)) return setUndefined(e);
    if (r == 0.0) r = Tol::Distinct;
    const Point2 c = positionOf(*e.parent1);
    storePair(e, c, {c.x, c.y + r});
}

void recalcCircleCentrePoint(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2)) return setUndefined(e);
    storePair(e, positionOf(*e.parent1), positionOf(*e.parent2));
}

void recalcCircleRadiusCentre(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2) || !usable(e.parent3)) return setUndefined(e);
    const Point2 c = positionOf(*e.parent1);
    const double r = distance(positionOf(*e.parent2), positionOf(*e.parent3));
    storePair(e, c, {c.x + r, c.y});
}

void recalcCircleRadiusNumber(Document& doc, Element& e) {
    // The centre and the number may come in either order.
    const Element* centre = e.parent1;
    const Element* number = e.parent2;
    if (centre && number && centre->kind() == Kind::Number && number->kind() == Kind::Point)
        std::swap(centre, number);
    double n;
    if (!usable(centre) || !numberValueOf(number, n)) return setUndefined(e);
    const double r = n * doc.pixelsPerUnit / lengthFactor(doc.lengthUnit);
    const Point2 c = positionOf(*centre);
    storePair(e, c, {c.x + r, c.y});
}

void recalcAngle(Document&, Element& e) {
    if (!usable(e.parent1) || !usable(e.parent2) || !usable(e.parent3)) return setUndefined(e);
    const Point2 a = positionOf(*e.parent1), v = positionOf(*e.parent2), b = positionOf(*e.parent3);
    const double la = distance(v, a), lb = distance(v, b);
    double angle;
    if (!(la >= Tol::Distinct) || !(lb >= Tol::Distinct) || !orientedAngle(a, v, b, angle))
        return setUndefined(e);
    const double markRadius = std::max(8.0, e.value[1] * std::min(la, lb));
    if (!std::isfinite(markRadius)) return setUndefined(e);
    e.value[0] = angle;
    e.value[2] = markRadius;
    e.defined = 1;
}

void recalcAxes(Document& doc, Element& e) {
    auto* tail = e.tailAs<AxesTail>();
    if (!tail || !tail->xAxis || !tail->yAxis) return setUndefined(e);
    if (doc.coordinateSystem == 1) tail->scaleY = tail->scaleX;
    if (e.parent1) {
        if (!e.parent1->defined) {
            e.defined = 0;
        } else {
            const Point2 o = positionOf(*e.parent1);
            e.defined = isFinite(o) ? 1 : 0;
            if (e.defined) {
                storePair(*tail->xAxis, o, {o.x + 10, o.y});
                storePair(*tail->yAxis, o, {o.x, o.y + 10});
            }
        }
    } else {
        e.defined = 1; // axes without an origin point keep their place
    }
    // Axes that give nothing a frame are not drawn or used either.
    AxesFrame frame;
    if (e.defined && !axesFrameOf(&e, frame)) e.defined = 0;
    tail->xAxis->defined = e.defined;
    tail->yAxis->defined = e.defined;
}

void recalcGrid(Document&, Element& e) {
    e.defined = usable(e.parent1) ? 1 : 0;
}

void recalcCoordinates(Document& doc, Element& e) {
    auto* tail = e.tailAs<CoordinatesTail>();
    if (!tail || !tail->xCoord || !tail->yCoord) return setUndefined(e);
    Element& cx = *tail->xCoord;
    Element& cy = *tail->yCoord;
    AxesFrame f;
    auto undefined = [&] { e.defined = cx.defined = cy.defined = 0; };
    if (!usable(e.parent1) || !axesFrameOf(e.parent2, f)) return undefined();
    const Point2 p = positionOf(*e.parent1);
    const Point2 inAxes = f.toAxes(p);
    double x = inAxes.x, y = inAxes.y;
    const bool polar = e.option == NoValue || (doc.coordinateSystem == 1 && e.option != HasValue);
    if (polar) {
        const double r = std::hypot(x, y);
        double theta = 0;
        if (unorientedAngle({1, 0}, {0, 0}, {x, y}, theta) && y < 0) theta = -theta;
        x = r;
        y = theta * angleFactor(doc.angleUnit);
    }
    if (!std::isfinite(x) || !std::isfinite(y)) return undefined();
    cx.value[0] = x;
    cy.value[0] = y;
    cx.option = cy.option = HasValue;
    e.defined = cx.defined = cy.defined = 1;
}

void recalcName(Document& doc, Element& e) {
    const Element* named = e.parent1;
    if (!usable(named)) return setUndefined(e);
    e.defined = 1;
    // Names that are not drawn beside their element keep their numbers.
    if (e.option == 0) return;
    Point2 anchor;
    switch (named->kind()) {
    case Kind::Point:
        anchor = positionOf(*named);
        break;
    case Kind::Angle:
        if (!usable(named->parent2)) return setUndefined(e);
        anchor = positionOf(*named->parent2);
        break;
    default:
        if (!evaluatePointOnElement(doc, *named, e.value[3], anchor)) return setUndefined(e);
        break;
    }
    const auto* t = e.tailAs<NameTail>();
    const Point2 offset = t ? Point2{t->placement[0], t->placement[1]} : Point2{0, 0};
    storePoint(e, anchor + offset);
}

void recalcFollowFirstParent(Document&, Element& e) {
    e.defined = (!e.parent1 || e.parent1->defined) ? 1 : 0;
}

} // namespace qorv

#include "geometry/recalc.h"

#include "geometry/recalcsupport.h"

namespace qorv {

namespace {

// Points on loci re-run part of the construction inside a pass; a list out of dependency order
// (a damaged file) could make that recurse without end, so the nesting is bounded.
constexpr int MaxPartialDepth = 32;

} // namespace

void recalcElement(Document& doc, Element& e) {
    if (RecalcFunction fn = recalcFunctionOf(e.method)) fn(doc, e);
}

void recalcUpTo(Document& doc, Element* stop) {
    for (Element* e = doc.head; e && e != stop; e = e->next)
        recalcElement(doc, *e);
}

void recalcMarked(Document& doc) {
    for (Element* e = doc.head; e; e = e->next)
        if (e->mark == 1) recalcElement(doc, *e);
}

void recalcStretch(Document& doc, Element& from, const Element& to) {
    for (Element* e = &from; e; e = e->next) {
        if (e->method != Method::Locus) recalcElement(doc, *e);
        if (e == &to) break;
    }
}

double& driverParameter(Element& driver) {
    return driver.method == Method::Parameter ? driver.value[0] : driver.value[3];
}

bool evaluateWithDriverAt(Document& doc, Element& driver, double parameter, const Element& wanted,
                          Point2& out) {
    if (doc.partialPassDepth >= MaxPartialDepth || !std::isfinite(parameter)) return false;
    ++doc.partialPassDepth;
    double& word = driverParameter(driver);
    const double saved = word;
    word = parameter;
    recalcStretch(doc, driver, wanted);
    const bool ok =
        wanted.defined && std::isfinite(wanted.value[0]) && std::isfinite(wanted.value[1]);
    if (ok) out = positionOf(wanted);
    word = saved;
    recalcStretch(doc, driver, wanted);
    --doc.partialPassDepth;
    return ok;
}

bool pointOnLocusAt(Document& doc, const Element& locus, double t, Point2& out) {
    if (locus.method != Method::Locus) return false;
    Element* traced = locus.parent1;
    Element* driver = locus.parent2;
    if (!traced || !driver || traced->kind() != Kind::Point) return false;
    double parameter = t;
    switch (driver->method) {
    case Method::Parameter: {
        const auto* range = driver->tailAs<ParameterTail>();
        if (!range) return false;
        parameter = range->minimum + t * (range->maximum - range->minimum);
        break;
    }
    case Method::PointOnElement:
        break;
    default:
        return false; // grid points and anything else give no point on the locus
    }
    return evaluateWithDriverAt(doc, *driver, parameter, *traced, out);
}

} // namespace qorv

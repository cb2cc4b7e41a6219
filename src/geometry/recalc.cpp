#include "geometry/recalc.h"

#include "geometry/partialpass.h"
#include "geometry/recalcsupport.h"
#include "geometry/workbudget.h"

namespace qorv {

void recalcElement(Document& doc, Element& e) {
    const WorkScope operation(doc);
    spendWork(doc, 1);
    if (RecalcFunction fn = recalcFunctionOf(e.method)) fn(doc, e);
}

void recalcUpTo(Document& doc, Element* stop) {
    const WorkScope operation(doc);
    for (Element* e = doc.head; e && e != stop; e = e->next)
        recalcElement(doc, *e);
}

void recalcMarked(Document& doc) {
    const WorkScope operation(doc);
    for (Element* e = doc.head; e; e = e->next)
        if (e->mark == 1) recalcElement(doc, *e);
}

void recalcElements(Document& doc, const std::vector<Element*>& elements) {
    const WorkScope operation(doc);
    for (Element* e : elements)
        recalcElement(doc, *e);
}

double& driverParameter(Element& driver) {
    return driver.method == Method::Parameter ? driver.value[0] : driver.value[3];
}

bool evaluateWithDriverAt(Document& doc, Element& driver, double parameter, const Element& wanted,
                          Point2& out) {
    if (!std::isfinite(parameter)) return false;
    // Points on loci re-run part of the construction inside a pass; a list out of dependency
    // order (a damaged file) could make that recurse without end, so the nesting is bounded.
    PartialPass pass(doc, driver, wanted, PartialPass::Scope::Stretch);
    if (!pass.ok()) return false;
    driverParameter(driver) = parameter;
    pass.run();
    const bool ok = !pass.spent() && wanted.defined && std::isfinite(wanted.value[0]) &&
                    std::isfinite(wanted.value[1]);
    if (ok) out = positionOf(wanted);
    pass.finish();
    return ok;
}

bool pointOnLocusAt(Document& doc, const Element& locus, double t, Point2& out) {
    if (locus.method != Method::Locus) return false;
    Element* traced = locus.parent1;
    Element* driver = locus.parent2;
    if (!traced || !driver || traced->kind() != Kind::Point) return false;
    // A point on this locus inside its own stretch (a list out of order) has no place on it.
    const BusyGuard guard(doc, locus);
    if (guard.busy()) return false;
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

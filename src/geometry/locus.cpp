#include "geometry/locus.h"

#include "geometry/paramcolor.h"
#include "geometry/partialpass.h"
#include "geometry/recalc.h"
#include "geometry/recalcmethods.h"
#include "geometry/recalcsupport.h"
#include "geometry/ticks.h"
#include "geometry/workbudget.h"
#include "model/methodtable.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qorv {

namespace {

constexpr int32_t MissingWord = -1111; // the sample's word when the traced point is undefined
constexpr double UndefinedGraphY = 99999999.0; // a graph's ordinate where it has no value
constexpr double JumpDistance = 200.0;         // samples this far apart are not joined
constexpr double FarCoordinate = 1e9;          // samples this far out are not drawn at all
constexpr int BisectionSteps = 32;             // at a boundary of definition
constexpr double GraphValueLimit = 999999.0;   // polar graphs: larger values have no point
// Work that one sampling may spend, boundaries included (see workbudget.h): a file with a huge
// sample count over a costly construction is sampled more coarsely instead of freezing the
// program. A sampling gets at least LeastSamplingWork even when its operation has spent its own.
constexpr int64_t SamplingWork = int64_t(1) << 24;
constexpr int64_t LeastSamplingWork = 4096;
constexpr int MaxLocusChain = 32; // loci driven by points on loci, followed to their first driver

bool isFamilyKind(ElementKind k) {
    return k == Kind::Polygon || k == Kind::Arc || k == Kind::Locus || k == Kind::Conic;
}

int capacityOf(const SampledCurveTail& t) {
    return int(std::min({t.first.size(), t.second.size(), t.params.size(), t.words.size(),
                         size_t(MaxCurveSamples)}));
}

// The parameter of sample i of n: start + span i / n (or / (n - 1) when the range includes its
// end). For a parameter driver the stored parameter is the fraction and the driver's value is
// min + (max - min) fraction.
struct Range {
    double start = 0, span = 1;
    bool inclusive = true;
    const ParameterTail* parameter = nullptr;

    double at(int i, int n) const {
        const int d = inclusive ? n - 1 : n;
        return d > 0 ? start + double(i) * span / double(d) : start;
    }
    double word(double stored) const {
        if (!parameter) return stored;
        return parameter->minimum + (parameter->maximum - parameter->minimum) * stored;
    }
    double stored(double word) const {
        if (!parameter) return word;
        const double r = parameter->maximum - parameter->minimum;
        return r != 0 && std::isfinite(r) ? (word - parameter->minimum) / r : 0.0;
    }
};

Range carrierRange(const Element& c) {
    constexpr double Pi = std::numbers::pi;
    const double len = distance(firstPointOf(c), secondPointOf(c));
    const double perUnit = len > 1e-12 && std::isfinite(len) ? 1.0 / len : 1.0;
    if (c.method == Method::FunctionGraph) return {};
    switch (c.kind()) {
    case Kind::Line:
        if (c.method == Method::LineThroughTwoPoints)
            return {-1500 * perUnit, 3000 * perUnit, false};
        return {-1500, 3000, false};
    case Kind::Ray:
        return {0, (c.method == Method::RayThroughTwoPoints ? perUnit : 1.0) * 1500, false};
    case Kind::Circle:
        return {0, 2 * Pi, false};
    case Kind::Conic:
        return {0, double(ConicTail::SampleCount), false};
    case Kind::Polygon:
        return {0, double(c.subElementCount()), false};
    default:
        return {}; // segments, sides, vectors, arcs: the fraction 0..1
    }
}

// The range the driver runs over. A point on a locus holds its locus's driver parameter, so its
// range is that of the locus's driver, followed down a chain of loci.
Range rangeFor(const Element& driver) {
    const Element* d = &driver;
    for (int hop = 0; hop < MaxLocusChain; ++hop) {
        if (d->method == Method::Parameter) {
            Range r;
            if (d == &driver) r.parameter = d->tailAs<ParameterTail>();
            return r; // a point on a parameter's locus takes the fraction
        }
        if (d->method != Method::PointOnElement || !d->parent1) return {};
        const Element& carrier = *d->parent1;
        if (carrier.method != Method::Locus) return carrierRange(carrier);
        if (!carrier.parent2) return {};
        d = carrier.parent2;
    }
    return {};
}

// How many samples of `cost` units each `budget` leaves room for.
int affordableSamples(int capacity, int64_t cost, int64_t budget = SamplingWork) {
    cost = std::max<int64_t>(1, cost);
    return int(std::clamp<int64_t>(budget / cost, std::min(capacity, 2), capacity));
}

// The work one sampling is given: its own share, within what its operation has left.
int64_t samplingBudget(const Document& doc) {
    return std::max(std::min(SamplingWork, workLeft(doc)), LeastSamplingWork);
}

// The work one run of a pass costs at the driver's positions `words` (the cost of a pass
// depends on where its driver is: a graph of a function without value there costs little),
// measured on the work budget: the most any of them cost.
template <size_t N>
int64_t passCost(Document& doc, PartialPass& pass, double& word, const double (&words)[N]) {
    int64_t cost = int64_t(std::max<size_t>(1, pass.size()));
    for (double w : words) {
        const int64_t before = doc.work.left;
        word = w;
        pass.run();
        cost = std::max(cost, before - doc.work.left);
    }
    pass.rewind(); // some elements keep numbers from run to run: start from the same ones
    return cost;
}

bool tracedIsUsable(const Element& traced) {
    return traced.defined && isFinite(firstPointOf(traced)) &&
           (traced.kind() == Kind::Point || isFinite(secondPointOf(traced)));
}

// Stores the traced element as sample k.
void putSample(SampledCurveTail& t, int k, const Element& traced, double param) {
    const size_t i = size_t(k);
    if (tracedIsUsable(traced)) {
        t.first[i] = firstPointOf(traced);
        t.second[i] = traced.kind() == Kind::Point ? t.first[i] : secondPointOf(traced);
        t.words[i] = effectiveColors(traced).color;
    } else {
        t.first[i] = t.second[i] = Point2{0, 0};
        t.words[i] = MissingWord;
    }
    t.params[i] = param;
}

// Moves the undefined samples next to defined ones onto the boundary of definition: 32 halvings
// of the driver's parameter between the two, keeping the last place where the traced point
// existed. A run of undefined samples has both its ends moved (one, when it is a single sample).
// `passes` is the recalculation budget left.
template <class Eval>
void refineBoundaries(SampledCurveTail& t, int n, const Range& r, int64_t passes, Eval eval) {
    auto defined = [&](int i) { return t.words[size_t(i)] != MissingWord; };
    auto refine = [&](int from, int into) {
        if (passes < BisectionSteps) return;
        passes -= BisectionSteps;
        double lo = r.word(t.params[size_t(from)]), hi = r.word(t.params[size_t(into)]);
        bool found = false;
        for (int step = 0; step < BisectionSteps; ++step) {
            const double mid = 0.5 * (lo + hi);
            if (eval(mid, into)) {
                lo = mid;
                found = true;
            } else {
                hi = mid;
            }
        }
        if (!found) { // the defined side's own sample is the boundary found
            t.first[size_t(into)] = t.first[size_t(from)];
            t.second[size_t(into)] = t.second[size_t(from)];
            t.words[size_t(into)] = t.words[size_t(from)];
            t.params[size_t(into)] = t.params[size_t(from)];
        }
    };
    for (int i = 0; i < n;) {
        if (defined(i)) {
            ++i;
            continue;
        }
        const int s = i;
        while (i < n && !defined(i))
            ++i;
        const int e = i - 1;
        if (s > 0) refine(s - 1, s);
        if (i < n && (e > s || s == 0)) refine(i, e);
    }
}

void sampleGridLocus(Document& doc, Element& locus, SampledCurveTail& t, Element& traced,
                     Element& driver) {
    Element* grid = driver.parent1;
    AxesFrame f;
    if (!grid || !grid->defined || !axesFrameOf(grid->parent1, f)) return;
    const double sx = tickStep(f.unitX) * f.unitX, sy = tickStep(f.unitY) * f.unitY;
    const double width = doc.right - doc.left, height = doc.top - doc.bottom;
    if (!(sx > 0) || !(sy > 0) || !(width >= 0) || !(height >= 0) || !std::isfinite(width) ||
        !std::isfinite(height))
        return;
    // Nodes from the top-left corner, right by the x step and down by the y step.
    const double cols = std::min(std::floor(width / sx) + 1, double(MaxCurveSamples));
    const double rows = std::min(std::floor(height / sy) + 1, double(MaxCurveSamples) / cols);
    PartialPass pass(doc, driver, locus, PartialPass::Scope::Dependants, traced.colorParam);
    if (!pass.ok()) return;
    const int nx = int(cols), ny = std::max(1, int(rows));
    const int n = std::min(affordableSamples(MaxCurveSamples, int64_t(pass.size())), nx * ny);
    if (int(t.first.size()) != n) t.resize(n);
    for (int k = 0; k < n; ++k) {
        const Point2 at{doc.left + (k % nx) * sx, doc.top - (k / nx) * sy};
        Point2 node, axes;
        if (!nearestGridNode(doc, *grid, at, node, axes)) break;
        driver.value[0] = node.x;
        driver.value[1] = node.y;
        driver.value[2] = axes.x;
        driver.value[3] = axes.y;
        pass.run();
        if (pass.spent()) break;
        putSample(t, k, traced, k);
        t.count = k + 1;
    }
    pass.finish();
}

bool isClosedCarrier(const Element& driver) {
    if (driver.method != Method::PointOnElement || !driver.parent1) return false;
    const Element& c = *driver.parent1;
    if (c.method == Method::Locus) return c.option == 1;
    const ElementKind k = c.kind();
    return k == Kind::Polygon || k == Kind::Circle || k == Kind::Conic;
}

// During a drag of one unselected element: the locus of a point keeps its samples when the drag
// moves its driver along its carrier (the curve does not change), or moves the traced point
// itself when this is the first locus tracing it and the point is not on an element.
bool keepsSamplesInDrag(const Document& doc, const Element& locus) {
    const Element* dragged = doc.dragged;
    const Element* traced = locus.parent1;
    const Element* driver = locus.parent2;
    // Only compared: the drag sets it for one unselected element and clears it when it ends.
    if (!dragged || !traced || !driver) return false;
    if (traced->kind() != Kind::Point || driver->method == Method::GridPoint) return false;
    if (dragged == driver) return true;
    if (dragged != traced || traced->method == Method::PointOnElement) return false;
    for (const Element* e = doc.head; e; e = e->next)
        if (e->method == Method::Locus && e->parent1 == traced) return e == &locus;
    return false;
}

// ---- function graphs

struct GraphSetup {
    Element* function = nullptr;
    int32_t type = 0;
    double a = 0, b = 0;
    AxesFrame frame;
    EvalContext ctx;
    double angleFactor = 1;

    bool at(double t, Point2& out) const {
        const double v = a + t * (b - a);
        double f = 0;
        if (!std::isfinite(v) || !evaluateFunctionKeeping(*function, v, f, ctx)) return false;
        double x = 0, y = 0;
        switch (type) {
        case FunctionType::YofX:
            x = v, y = f;
            break;
        case FunctionType::XofY:
            x = f, y = v;
            break;
        case FunctionType::RofW: {
            if (f > GraphValueLimit) return false;
            const double w = v / angleFactor;
            x = f * std::cos(w), y = f * std::sin(w);
            break;
        }
        case FunctionType::WofR: {
            if (f > GraphValueLimit) return false;
            const double w = f / angleFactor;
            x = v * std::cos(w), y = v * std::sin(w);
            break;
        }
        default:
            return false;
        }
        const Point2 p = frame.toWorld(x, y);
        if (!isFinite(p)) return false;
        out = p;
        return true;
    }
};

bool graphSetup(const Document& doc, const Element& graph, GraphSetup& s) {
    Element* fn = graph.parent1;
    if (graph.method != Method::FunctionGraph || !fn || !fn->defined ||
        fn->method != Method::Function || !axesFrameOf(graph.parent2, s.frame))
        return false;
    s.function = fn;
    s.type = fn->option;
    s.a = graph.value[1];
    s.b = graph.value[2];
    s.ctx.angleUnit = doc.angleUnit;
    s.angleFactor = angleFactor(doc);
    return true;
}

void putGraphSample(SampledCurveTail& t, int k, const GraphSetup& s, double param) {
    const size_t i = size_t(k);
    Point2 p;
    if (s.at(param, p)) {
        t.first[i] = t.second[i] = p;
        t.words[i] = 0;
    } else {
        t.first[i] = t.second[i] = Point2{0, UndefinedGraphY};
        t.words[i] = MissingWord;
    }
    t.params[i] = param;
}

// Estimated length of a curve for choosing its finer sample count: pieces between 1 and 10 long
// count with their length, others as 1.
int32_t crossingSampleCount(const SampledCurveTail& t) {
    const int n = storedSamples(t);
    double estimate = 0;
    for (int i = 0; i + 1 < n; ++i) {
        const double len = distance(t.first[size_t(i)], t.first[size_t(i + 1)]);
        const bool both = isSampleDefined(t, i) && isSampleDefined(t, i + 1);
        estimate += (both && len >= 1 && len < 10) ? len : 1;
    }
    return std::clamp<int32_t>(int32_t(std::min(estimate / 2, 1e9)), 500, MaxCurveSamples);
}

} // namespace

// ---- reading samples ----------------------------------------------------------------------------

int storedSamples(const SampledCurveTail& t) {
    return std::clamp(t.count, 0, capacityOf(t));
}

bool isSampleDefined(const SampledCurveTail& t, int i) {
    if (i < 0 || i >= storedSamples(t)) return false;
    const Point2 p = t.first[size_t(i)];
    return t.words[size_t(i)] != MissingWord && p.y != UndefinedGraphY && isFinite(p);
}

bool samplesJoined(const SampledCurveTail& t, int i, int j) {
    const auto near = [&](int k) {
        const Point2 p = t.first[size_t(k)];
        return std::abs(p.x) < FarCoordinate && std::abs(p.y) < FarCoordinate;
    };
    return isSampleDefined(t, i) && isSampleDefined(t, j) && near(i) && near(j) &&
           distance(t.first[size_t(i)], t.first[size_t(j)]) < JumpDistance;
}

bool isGridLocus(const Element& e) {
    return e.method == Method::Locus && e.parent2 && e.parent2->method == Method::GridPoint;
}

bool isFamilyLocus(const Element& e) {
    return e.method == Method::Locus && e.parent1 && isFamilyKind(e.parent1->kind());
}

bool isClosedCurve(const Element& e) {
    return e.method == Method::Locus && e.option == 1 && isCurveLocus(e);
}

bool isCurveLocus(const Element& e) {
    if (e.method == Method::FunctionGraph) return true;
    return e.method == Method::Locus && e.parent1 && e.parent1->kind() == Kind::Point &&
           !isGridLocus(e);
}

// ---- loci ---------------------------------------------------------------------------------------

bool isValidLocusPair(Document& doc, const Element& traced, Element& driver) {
    switch (driver.method) {
    case Method::PointOnElement:
    case Method::Parameter:
        break;
    case Method::GridPoint: {
        constexpr KindMask onGrid = kindBits(
            {Kind::Point, Kind::Line, Kind::Ray, Kind::Segment, Kind::Vector, Kind::Circle});
        if (!hasKind(onGrid, traced.kind())) return false;
        break;
    }
    default:
        return false;
    }
    if (&traced == &driver) return false;
    doc.markDescendants(&driver);
    const bool depends = traced.mark == 1;
    doc.clearMarks();
    return depends;
}

void sampleLocus(Document& doc, Element& locus) {
    auto* t = locus.tailAs<SampledCurveTail>();
    Element* traced = locus.parent1;
    Element* driver = locus.parent2;
    if (!t) return;
    BusyGuard guard(doc, locus);
    if (guard.busy()) return;
    t->count = 0;
    if (!traced || !driver || isFamilyKind(traced->kind())) return;
    if (driver->method == Method::GridPoint)
        return sampleGridLocus(doc, locus, *t, *traced, *driver);
    const int capacity = capacityOf(*t);
    if (capacity <= 0) return;

    const WorkScope operation(doc);
    PartialPass pass(doc, *driver, locus, PartialPass::Scope::Dependants, traced->colorParam);
    if (!pass.ok()) return;
    const Range range = rangeFor(*driver);
    const bool point = traced->kind() == Kind::Point;
    double& word = driverParameter(*driver);
    // What one sample costs is measured, nested samplings and expressions included.
    const int64_t budget = samplingBudget(doc);
    const int64_t start = doc.work.left;
    const int64_t cost = passCost(
        doc, pass, word,
        {range.word(range.at(0, 3)), range.word(range.at(1, 3)), range.word(range.at(2, 3))});
    const auto spent = [&] { return start - doc.work.left; };
    const int n = affordableSamples(capacity, cost, budget - spent());
    for (int i = 0; i < n; ++i) {
        const double p = range.at(i, n);
        word = range.word(p);
        pass.run();
        if (pass.spent() || spent() > budget) break;
        if (!point && !tracedIsUsable(*traced)) continue; // a family keeps only what exists
        putSample(*t, t->count++, *traced, range.parameter ? range.stored(word) : p);
    }
    if (point && !pass.spent() && spent() <= budget) {
        const int64_t left = (budget - spent()) / cost;
        refineBoundaries(*t, t->count, range, left, [&](double w, int into) {
            word = w;
            pass.run();
            if (pass.spent() || !tracedIsUsable(*traced)) return false;
            putSample(*t, into, *traced, range.stored(w));
            return true;
        });
    }
    pass.finish();
}

void updateLocus(Document& doc, Element& e, bool mayKeep) {
    const Element* traced = e.parent1;
    const Element* driver = e.parent2;
    auto* t = e.tailAs<SampledCurveTail>();
    if (!traced || !driver || !t) return setUndefined(e);
    if (driver->method != Method::Parameter) {
        const bool runs =
            driver->method == Method::PointOnElement || driver->method == Method::GridPoint;
        if (!runs || !usable(driver->parent1)) return setUndefined(e);
    }
    e.defined = 1;
    e.option = isClosedCarrier(*driver) ? 1 : 0;
    if (isFamilyKind(traced->kind())) {
        t->count = 0; // drawn by re-running the family
        return;
    }
    if (mayKeep && keepsSamplesInDrag(doc, e)) return;
    sampleLocus(doc, e);
}

void recalcLocus(Document& doc, Element& e) {
    updateLocus(doc, e, true);
}

// ---- function graphs ----------------------------------------------------------------------------

bool functionGraphRange(const Document& doc, const Element& function, const Element& axes,
                        double left, double top, double right, double bottom, double& a,
                        double& b) {
    AxesFrame f;
    if (!axesFrameOf(&axes, f)) return false;
    const Point2 tl = f.toAxes({left, top}), br = f.toAxes({right, bottom});
    switch (function.option) {
    case FunctionType::XofY:
        a = br.y, b = tl.y;
        break;
    case FunctionType::RofW:
        a = 0, b = 2 * std::numbers::pi * angleFactor(doc);
        break;
    case FunctionType::WofR:
        a = 0, b = std::max(std::fabs(tl.x), std::fabs(br.x));
        break;
    default:
        a = tl.x, b = br.x;
        break;
    }
    return std::isfinite(a) && std::isfinite(b);
}

bool functionGraphPoint(const Document& doc, const Element& graph, double t, Point2& out) {
    GraphSetup s;
    return graphSetup(doc, graph, s) && std::isfinite(t) && s.at(t, out);
}

bool sampleFunctionGraph(Document& doc, Element& graph) {
    auto* t = graph.tailAs<SampledCurveTail>();
    GraphSetup s;
    if (!t || !graphSetup(doc, graph, s)) return false;
    BusyGuard guard(doc, graph);
    if (guard.busy()) return true;
    const WorkScope operation(doc);
    // The words its function executes are what a sample costs (a file may hold long programs
    // and functions that call each other many times): measured where the range starts, in its
    // middle and at its end.
    const int64_t budget = samplingBudget(doc);
    int64_t words = budget;
    s.ctx.words = &words;
    int64_t cost = 1;
    for (double probe : {0.0, 0.5, 1.0}) {
        const int64_t before = words;
        Point2 p;
        (void)s.at(probe, p);
        cost = std::max(cost, before - words + 1);
    }
    const int n = affordableSamples(capacityOf(*t), cost, words);
    const Range fraction;
    for (int i = 0; i < n; ++i) {
        putGraphSample(*t, i, s, fraction.at(i, n));
        --words;
    }
    t->count = n;
    refineBoundaries(*t, n, fraction, std::max<int64_t>(words, 0) / cost,
                     [&](double param, int into) {
                         Point2 p;
                         if (!s.at(param, p)) return false;
                         t->first[size_t(into)] = t->second[size_t(into)] = p;
                         t->words[size_t(into)] = 0;
                         t->params[size_t(into)] = param;
                         return true;
                     });
    spendWork(doc, budget - words);
    return true;
}

void recalcFunctionGraph(Document& doc, Element& e) {
    e.defined = usable(e.parent1) && usable(e.parent2) && sampleFunctionGraph(doc, e) ? 1 : 0;
}

// ---- families and temporary samples
// ---------------------------------------------------------------

void runFamilyLocus(Document& doc, const Element& locus, FamilyVisitor& visitor) {
    Element* traced = locus.parent1;
    Element* driver = locus.parent2;
    const auto* t = locus.tailAs<SampledCurveTail>();
    if (!locus.defined || !isFamilyLocus(locus) || !t || !driver ||
        driver->method == Method::GridPoint)
        return;
    BusyGuard guard(doc, locus);
    if (guard.busy()) return;
    const WorkScope operation(doc);
    PartialPass pass(doc, *driver, locus, PartialPass::Scope::Dependants, traced->colorParam);
    if (!pass.ok()) return;
    const bool innerLocus = traced->method == Method::Locus;
    const auto* inner = traced->tailAs<SampledCurveTail>();
    // A family of loci costs each member's own sampling too.
    const size_t perMember = pass.size() * size_t(innerLocus && inner ? capacityOf(*inner) + 1 : 1);
    const int n = affordableSamples(t ? int(t->first.size()) : 0, int64_t(perMember));
    const Range range = rangeFor(*driver);
    double& word = driverParameter(*driver);
    for (int i = 0; i < n; ++i) {
        word = range.word(range.at(i, n));
        pass.run();
        if (pass.spent()) break;
        if (innerLocus) updateLocus(doc, *traced, false);
        if (traced->defined && !visitor.visit(*traced)) break;
        spendWork(doc, 1); // the member drawn
    }
    pass.finish();
    if (innerLocus) updateLocus(doc, *traced, false);
}

FinerSamples::FinerSamples(Document& doc, Element& curve) : doc_(doc) {
    auto* t = curve.tailAs<SampledCurveTail>();
    if (!t || !isCurveLocus(curve) || !curve.defined) return;
    const auto& busy = doc.passStacks.busy;
    if (std::find(busy.begin(), busy.end(), &curve) != busy.end()) return;
    curve_ = &curve;
    own_ = int32_t(t->first.size());
    t->resize(crossingSampleCount(*t));
    resample();
}

FinerSamples::~FinerSamples() {
    if (!curve_) return;
    curve_->tailAs<SampledCurveTail>()->resize(own_);
    resample();
}

void FinerSamples::resample() {
    if (curve_->method == Method::FunctionGraph)
        sampleFunctionGraph(doc_, *curve_);
    else
        updateLocus(doc_, *curve_, false);
}

} // namespace qorv

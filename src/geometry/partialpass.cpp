#include "geometry/partialpass.h"

#include "geometry/intersectionpoint.h"
#include "geometry/recalc.h"
#include "geometry/workbudget.h"

#include <algorithm>

namespace qorv {

namespace {

bool hasBit(const Element& e, uint32_t bit) {
    return (uint32_t(e.work) & bit) != 0;
}

void setBit(Element& e, uint32_t bit, bool on) {
    const uint32_t w = on ? uint32_t(e.work) | bit : uint32_t(e.work) & ~bit;
    e.work = int32_t(w);
    forEachSubElement(e, [&](Element& s) {
        s.work = int32_t(on ? uint32_t(s.work) | bit : uint32_t(s.work) & ~bit);
    });
}

bool dependsOnMarked(const Element& e, uint32_t bit) {
    bool found = false;
    forEachParent(e, [&](const Element* p) { found = found || (p && hasBit(*p, bit)); });
    return found;
}

// Setting aside and putting back what recalculation may change in an element. Both walk the same
// fields in the same order.
void saveOne(Document::PassStacks& s, const Element& e) {
    for (double v : e.value)
        s.numbers.push_back(v);
    s.words.push_back(e.defined);
    s.words.push_back(e.option);
    s.words.push_back(e.option2);
    if (const auto* t = e.tailAs<ExpressionTail>()) {
        s.words.push_back(int32_t(t->exprValues.size()));
        s.numbers.insert(s.numbers.end(), t->exprValues.begin(), t->exprValues.end());
    } else if (const auto* c = e.tailAs<ConicTail>()) {
        s.words.push_back(c->conicType);
        for (double k : c->coefficients)
            s.numbers.push_back(k);
        for (const Point2& p : c->samples) {
            s.numbers.push_back(p.x);
            s.numbers.push_back(p.y);
        }
    } else if (const auto* q = e.tailAs<EquationTail>()) {
        if (s.textsUsed == s.texts.size()) s.texts.emplace_back();
        s.texts[s.textsUsed++].assign(q->text);
    }
}

void restoreOne(const Document::PassStacks& s, Element& e, size_t& n, size_t& w, size_t& x) {
    for (double& v : e.value)
        v = s.numbers[n++];
    e.defined = s.words[w++];
    e.option = s.words[w++];
    e.option2 = s.words[w++];
    if (auto* t = e.tailAs<ExpressionTail>()) {
        const size_t count = size_t(s.words[w++]);
        for (size_t i = 0; i < count; ++i, ++n)
            if (i < t->exprValues.size()) t->exprValues[i] = s.numbers[n];
    } else if (auto* c = e.tailAs<ConicTail>()) {
        c->conicType = s.words[w++];
        for (double& k : c->coefficients)
            k = s.numbers[n++];
        for (Point2& p : c->samples) {
            p.x = s.numbers[n++];
            p.y = s.numbers[n++];
        }
    } else if (auto* q = e.tailAs<EquationTail>()) {
        q->text.assign(s.texts[x++]);
    }
}

} // namespace

PartialPass::PartialPass(Document& doc, Element& driver, const Element& end, Scope scope,
                         bool wholeList)
    : doc_(doc), end_(end), scope_(scope) {
    if (doc.partialPassDepth < 0 || doc.partialPassDepth >= MaxPartialDepth) return;
    Document::PassStacks& s = doc.passStacks;
    if (doc.partialPassDepth == 0) s.work = PartialPassWork;
    if (s.work <= 0) return;
    ok_ = true;
    bit_ = uint32_t(1) << doc.partialPassDepth;
    ++doc.partialPassDepth;
    elements_ = s.elements.size();
    numbers_ = s.numbers.size();
    words_ = s.words.size();
    texts_ = s.textsUsed;

    if (scope == Scope::Stretch) {
        // Nothing before the driver depends on it: when `end` comes before it (a list out of
        // order), running to the end of the list would only cost, and nest further stretches.
        bool endFollows = false;
        for (const Element* e = &driver; e && !endFollows; e = e->next)
            endFollows = e == &end;
        for (Element* e = &driver; e; e = e->next) {
            if (e->method != Method::Locus) s.elements.push_back(e);
            if (e == &end || !endFollows) break;
        }
    } else {
        setBit(driver, bit_, true);
        s.elements.push_back(&driver);
        for (Element* e = driver.next; e && (wholeList || e != &end); e = e->next) {
            if (!dependsOnMarked(*e, bit_)) continue;
            setBit(*e, bit_, true);
            s.elements.push_back(e);
        }
    }
    elementsEnd_ = s.elements.size();
    for (size_t i = elements_; i < elementsEnd_; ++i) {
        const Element& e = *s.elements[i];
        if (!runsElement(e)) continue;
        ++runs_;
        saveOne(s, e);
        forEachSubElement(e, [&](const Element& sub) { saveOne(s, sub); });
    }
}

PartialPass::~PartialPass() {
    if (!ok_) return;
    Document::PassStacks& s = doc_.passStacks;
    if (scope_ == Scope::Dependants)
        for (size_t i = elements_; i < elementsEnd_; ++i)
            setBit(*s.elements[i], bit_, false);
    s.elements.resize(elements_);
    s.numbers.resize(numbers_);
    s.words.resize(words_);
    s.textsUsed = texts_;
    --doc_.partialPassDepth;
}

bool PartialPass::runsElement(const Element& e) const {
    switch (e.method) {
    case Method::Locus:
        return false;
    case Method::Name: // nothing depends on a name
        return false;
    case Method::Iteration: // nothing depends on it, and its walks refresh its copy
        return false;
    case Method::IntersectionPoint:
        return scope_ == Scope::Stretch || (e.parent1 != &end_ && e.parent2 != &end_);
    default:
        return true;
    }
}

void PartialPass::run() {
    Document::PassStacks& s = doc_.passStacks;
    if (!ok_ || spent_ || s.work < int64_t(runs_) || workSpent(doc_)) {
        spent_ = ok_;
        return;
    }
    s.work -= int64_t(runs_);
    // By index: nested passes may grow the stack while this one runs.
    for (size_t i = elements_; i < elementsEnd_; ++i) {
        Element& e = *s.elements[i];
        if (runsElement(e)) recalcElement(doc_, e);
    }
}

void PartialPass::restore() {
    const Document::PassStacks& s = doc_.passStacks;
    size_t n = numbers_, w = words_, x = texts_;
    for (size_t i = elements_; i < elementsEnd_; ++i) {
        Element& e = *s.elements[i];
        if (!runsElement(e)) continue;
        restoreOne(s, e, n, w, x);
        forEachSubElement(e, [&](Element& sub) { restoreOne(s, sub, n, w, x); });
    }
}

void PartialPass::finish() {
    if (!ok_) return;
    restore();
    // Graphs sample their function, and intersections with loci sample those loci: what they
    // leave is derived from what was just put back.
    for (size_t i = elements_; i < elementsEnd_; ++i) {
        Element& e = *doc_.passStacks.elements[i];
        const bool derives =
            e.method == Method::FunctionGraph ||
            (e.method == Method::IntersectionPoint && e.option == IntersectionCode::Locus);
        if (derives && runsElement(e)) recalcElement(doc_, e);
    }
    restore();
}

BusyGuard::BusyGuard(Document& doc, const Element& e) : doc_(doc) {
    auto& list = doc.passStacks.busy;
    busy_ = std::find(list.begin(), list.end(), &e) != list.end();
    if (!busy_) list.push_back(&e);
}

BusyGuard::~BusyGuard() {
    if (!busy_) doc_.passStacks.busy.pop_back();
}

} // namespace qorv

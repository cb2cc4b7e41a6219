// Partial passes: part of a construction re-run at other positions of one driving element (the
// samples of loci and function graphs of a family, points on loci), after which the construction
// is exactly as it was, bit for bit.
//
// Recalculation is not always a pure function of the parents: a circle given its centre or a line
// through one point keeps its own radius or direction, and an element that is undefined keeps the
// numbers it had last. So a pass sets aside the stored numbers of every element it runs and puts
// them back at the end, besides running the elements once more at the driver's own position
// (which brings back what is derived and not set aside, such as the samples of a graph).
#pragma once

#include "model/document.h"

namespace qorv {

// How deeply partial passes may nest (a point on a locus inside the sampling of another locus
// ...); each level marks its elements with a bit of its own in `work`.
constexpr int MaxPartialDepth = 32;
// Element recalculations that an outermost partial pass and all the passes nested in it may
// spend: a damaged or hostile list whose passes call each other cannot freeze the program.
constexpr int64_t PartialPassWork = int64_t(1) << 26;

class PartialPass {
  public:
    enum class Scope {
        // Every element from the driver up to and including `end`, except loci and iterations;
        // only the driver when `end` does not come after it.
        Stretch,
        // The driver and the elements that depend on it, in list order, up to (not including)
        // `end`, or over the whole list; except loci, names, iterations and intersection points
        // that have `end` as a parent.
        Dependants,
    };

    PartialPass(Document& doc, Element& driver, const Element& end, Scope scope,
                bool wholeList = false);
    ~PartialPass();
    PartialPass(const PartialPass&) = delete;
    PartialPass& operator=(const PartialPass&) = delete;

    // False when passes are nested too deep: nothing was set aside and nothing may be run.
    bool ok() const { return ok_; }
    // Elements recalculated by one run.
    size_t size() const { return runs_; }
    // Recalculates the pass's elements once, in list order; nothing once the work allowed to
    // the outermost pass, or to the operation (see workbudget.h), is spent.
    void run();
    // Puts back the numbers set aside, as before the first run (after runs that only measure).
    void rewind() {
        if (ok_) restore();
    }
    // Whether the work allowed is spent (runs do nothing any more).
    bool spent() const { return spent_; }
    // Puts back what was set aside, and brings back what is derived from it without being set
    // aside (the samples of graphs, the loci that intersections sample more finely): the
    // construction is as it was when the pass began.
    void finish();

  private:
    bool runsElement(const Element& e) const;
    void restore();

    Document& doc_;
    const Element& end_;
    Scope scope_;
    bool ok_ = false;
    bool spent_ = false;
    uint32_t bit_ = 0;
    size_t elements_ = 0, numbers_ = 0, words_ = 0, texts_ = 0; // where this pass's stacks start
    size_t elementsEnd_ = 0;
    size_t runs_ = 0;
};

// Marks a locus or graph as being sampled or evaluated for as long as it lives; `busy()` when it
// already was (only a list that loops through points on loci or intersections asks again).
class BusyGuard {
  public:
    BusyGuard(Document& doc, const Element& e);
    ~BusyGuard();
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;
    bool busy() const { return busy_; }

  private:
    Document& doc_;
    bool busy_ = false;
};

} // namespace qorv

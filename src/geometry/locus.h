// Loci (method 21) and function graphs (method 65): sampling over the driver's range, the
// boundaries of definition, families of curves, and what the drawing, the hit test and the
// intersections read from the samples.
//
// A locus samples its driver's range: for each sample the driver is set and the elements that
// depend on it are recalculated (a partial pass), then the traced element's points and colour
// are stored. Points give a curve; lines, rays, segments, vectors and circles a family stored
// sample by sample; polygons, arcs, conics and loci a family that is not stored but re-run
// whenever it is drawn or hit (runFamilyLocus). Afterwards the construction is exactly as it was.
#pragma once

#include "model/document.h"
#include "model/elementcodec.h"

namespace qorv {

// ---- reading samples ----------------------------------------------------------------------------

// Samples of a locus or graph that are stored (the count, within the arrays).
int storedSamples(const SampledCurveTail& t);
// Whether stored sample i is defined: not the missing word -1111, nor a graph's undefined
// ordinate, and finite.
bool isSampleDefined(const SampledCurveTail& t, int i);
// Whether the drawing joins samples i and j: both defined, less than 200 apart and within 1e9 of
// the origin on either axis.
bool samplesJoined(const SampledCurveTail& t, int i, int j);
// A locus driven by a point on a grid: its samples are separate points, one per node.
bool isGridLocus(const Element& e);
// A locus whose traced element is a polygon, arc, locus or conic: nothing is stored, the family
// is re-run to be drawn or hit.
bool isFamilyLocus(const Element& e);
// A locus or graph drawn as one polyline of its samples (a traced point, not on a grid).
bool isCurveLocus(const Element& e);
// A curve locus whose driver runs round a closed carrier: its last sample joins its first.
bool isClosedCurve(const Element& e);

// The pieces a curve (isCurveLocus) is drawn as, wherever it is drawn: each run of samples in
// which every sample is joined to the next (samplesJoined), a closed curve (more than two
// samples) going on from its last sample to its first. `piece(first, count)` is called for each
// run of at least two samples, in order; its samples are first, first + 1, ... modulo the stored
// count, so a closed curve joined all round is (0, n + 1) and ends on its first sample again.
template <class F> void forEachCurvePiece(const Element& e, const SampledCurveTail& t, F&& piece) {
    const int n = storedSamples(t);
    if (n < 2) return;
    const bool closed = n > 2 && isClosedCurve(e);
    const auto joinedToNext = [&](int i) { return samplesJoined(t, i, i + 1 < n ? i + 1 : 0); };
    int start = 0;
    if (closed) {
        // Start after a break, so that the piece running through the end is not cut in two.
        int gap = -1;
        for (int i = 0; i < n && gap < 0; ++i)
            if (!joinedToNext(i)) gap = i;
        if (gap < 0) {
            piece(0, n + 1);
            return;
        }
        start = (gap + 1) % n;
    }
    int first = start, count = 1;
    for (int k = 0, links = closed ? n : n - 1; k < links; ++k) {
        const int i = (start + k) % n;
        if (joinedToNext(i)) {
            ++count;
            continue;
        }
        if (count >= 2) piece(first, count);
        first = (i + 1) % n;
        count = 1;
    }
    if (count >= 2) piece(first, count);
}

// ---- loci ---------------------------------------------------------------------------------------

// Whether a locus may trace `traced` driven by `driver`: the driver is a point on an element, a
// point on a grid or a parameter, and `traced` depends on it; with a point on a grid, `traced` is
// a point, line, ray, segment, vector or circle. Uses and clears the `mark` of every element.
bool isValidLocusPair(Document& doc, const Element& traced, Element& driver);

// Rebuilds the locus's samples from its driver's whole range (for a grid driver, every node in
// the visible part of the plane). Leaves the construction exactly as it was.
void sampleLocus(Document& doc, Element& locus);

// Recalculation of a locus (21): defined when its driver can run (a parameter, or a point on a
// defined element or grid), closed when the driver runs round a polygon, circle, conic or closed
// locus; then sampled, unless `mayKeep` and a drag of its driver cannot change it.
void updateLocus(Document& doc, Element& locus, bool mayKeep);

// ---- function graphs ----------------------------------------------------------------------------

// The range [a, b] of the variable of a new graph of `function` on `axes` in the visible area
// given (world coordinates): by the function's type, the x range or the y range across the
// area, one turn in the document's angle unit, or 0 to the farthest place where the x axis
// leaves the area. False when the axes give no frame.
bool functionGraphRange(const Document& doc, const Element& function, const Element& axes,
                        double left, double top, double right, double bottom, double& a, double& b);

// The point of a graph at its parameter t in [0, 1] (the variable at a + t (b - a)). False where
// the function has no value.
bool functionGraphPoint(const Document& doc, const Element& graph, double t, Point2& out);

// Rebuilds a graph's samples (both parents defined); false when they are not.
bool sampleFunctionGraph(Document& doc, Element& graph);

// ---- families and temporary samples
// ---------------------------------------------------------------

// Called once for each member of a family: the traced element as it is at that sample. Return
// false to stop.
class FamilyVisitor {
  public:
    virtual ~FamilyVisitor() = default;
    virtual bool visit(const Element& member) = 0;
};

// Re-runs a family locus (isFamilyLocus) for each sample of its driver's range and shows each
// member to the visitor (a traced locus is resampled at each step). Leaves the construction
// exactly as it was.
void runFamilyLocus(Document& doc, const Element& locus, FamilyVisitor& visitor);

// A locus or graph sampled more finely for as long as this lives (its intersections, code 42):
// at least 500 samples, more when its length asks for it; afterwards it is sampled again with
// its own count. Loci that store no curve (families, grids) are left as they are.
class FinerSamples {
  public:
    FinerSamples(Document& doc, Element& curve);
    ~FinerSamples();
    FinerSamples(const FinerSamples&) = delete;
    FinerSamples& operator=(const FinerSamples&) = delete;

  private:
    void resample();
    Document& doc_;
    Element* curve_ = nullptr;
    int32_t own_ = 0;
};

} // namespace qorv

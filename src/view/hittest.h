// The hit test: which elements lie under the pointer for the current tool, in construction order,
// with the rules that narrow the list (points first, texts before curves, the selection, the
// intersection under the pointer, the elements already picked).
#pragma once

#include "model/element.h"
#include "view/hitgeometry.h"
#include "view/tooltable.h"
#include "view/viewtransform.h"

#include <memory>
#include <string>
#include <vector>

namespace qorv {

class Document;

constexpr int MaxHits = 100;

struct Hit {
    Element* element = nullptr;
    int side = -1;     // polygon hit on a side: which side
    Point2 node;       // grid hit: the nearest node (world)
    Point2 nodeAxes;   // grid hit: that node's axis coordinates
    double pixels = 0; // distance from the pointer, in pixels (0 inside a box)
};

struct HitQuery {
    int tool = Tool::Move;
    NeedsRow needs;                                // the working row of the sequence
    bool onlyShown = false;                        // hidden elements never hit
    bool showHidden = false;                       // "Ver lo oculto"
    double detection = 8;                          // pixels
    const std::vector<Element*>* picked = nullptr; // elements picked in the sequence
};

class HitTester {
  public:
    HitTester();
    ~HitTester();
    HitTester(const HitTester&) = delete;
    HitTester& operator=(const HitTester&) = delete;

    // Runs the hit test at a world point and returns the hits (at most MaxHits). When the
    // pointer is at a crossing of the first two hits, the list is one hit: the intersection
    // holder (method 57) of this tester, valid until the next run.
    const std::vector<Hit>& run(Document& doc, const ViewTransform& view, const BoxQuery& boxes,
                                const HitQuery& q, Point2 world);

    const std::vector<Hit>& hits() const { return hits_; }
    // The temporary intersection holder: parents, variant code in `option` (and the crossing in
    // `option2` for loci), position in value[0..1].
    Element& holder() { return *holder_; }
    bool isHolder(const Element* e) const { return e == holder_.get(); }

  private:
    bool snapToIntersection(const ViewTransform& view, double detection, Point2 world);

    std::vector<Hit> hits_;
    std::unique_ptr<Element> holder_;
};

// The status-bar description of an element: its method's name, for calculations and functions
// followed by ": " and the expression, for iterations by ": n=" and the count.
std::string describeElement(const Document& doc, const Element& e);
// The cursor label of an element: its kind noun, then its name when it has a name label.
std::string cursorLabelOf(const Document& doc, const Element& e);

} // namespace qorv

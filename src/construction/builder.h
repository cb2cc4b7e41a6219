// Builds constructions in code through the same creation path as the tools: examples, benchmark
// generators and tests.
#pragma once

#include "construction/create.h"
#include "geometry/recalc.h"
#include "model/document.h"

#include <vector>

namespace qorv {

class ConstructionBuilder {
  public:
    explicit ConstructionBuilder(Document& target) : target_(&target) {}

    CreationOptions opts;
    // Fields set before a call (option, values, text) go into the next element only: creating an
    // element clears the request.
    ElementRequest req;
    // Recalculates each element as it is made, as the tools do.
    bool recalculate = false;
    int made = 0; // elements made by this builder

    Element* make(ConstructionMethod m, Element* p1 = nullptr, Element* p2 = nullptr,
                  Element* p3 = nullptr, std::vector<Element*> extra = {}) {
        req.method = m;
        req.parent1 = p1;
        req.parent2 = p2;
        req.parent3 = p3;
        req.extra = std::move(extra);
        Element* e = createElement(*target_, req, opts);
        ++made;
        if (recalculate) recalcElement(*target_, *e);
        return e;
    }
    Element* point(double x, double y) {
        req.value[0] = x;
        req.value[1] = y;
        return make(Method::FreePoint);
    }
    // An intersection point choosing its candidate by the variant code.
    Element* intersection(Element* a, Element* b, int32_t code) {
        req.option = code;
        return make(Method::IntersectionPoint, a, b);
    }

  private:
    Document* target_;
};

// A builder with a document of its own.
struct DocumentHolder {
    Document doc;
};
struct OwningBuilder : DocumentHolder, ConstructionBuilder {
    OwningBuilder() : ConstructionBuilder(doc) {}
};

} // namespace qorv

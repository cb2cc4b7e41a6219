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
    // An iteration of `count` levels mapping `from` onto `to` (one initial and one destination
    // element), drawing the copies of `shown` too.
    Element* iteration(Element* from, Element* to, const std::vector<Element*>& shown, int count) {
        ElementRequest request;
        request.method = Method::Iteration;
        Element* e = createElement(*target_, request, opts);
        auto& t = *e->tailAs<IterationTail>();
        t.iterations = count;
        t.initialCount = 1;
        t.destinationCount = 1;
        t.participants = {Ref(from), Ref(to)};
        for (Element* s : shown)
            t.participants.emplace_back(s);
        t.images = {1};
        ++made;
        if (recalculate) recalcElement(*target_, *e);
        return e;
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

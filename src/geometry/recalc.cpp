#include "geometry/recalc.h"

namespace qorv {

// Placeholder until the recalculation engine lands: elements keep their numbers.
void recalcElement(Document&, Element&) {}

void recalcUpTo(Document& doc, Element* stop) {
    for (Element* e = doc.head; e && e != stop; e = e->next) recalcElement(doc, *e);
}

void recalcMarked(Document& doc) {
    for (Element* e = doc.head; e; e = e->next)
        if (e->mark == 1) recalcElement(doc, *e);
}

} // namespace qorv

#include "model/replay.h"

namespace qorv {

std::vector<Element*> constructionSteps(const Document& doc, bool showHidden) {
    std::vector<Element*> steps;
    for (Element* e = doc.head; e; e = e->next)
        if (doc.isListable(e, showHidden)) steps.push_back(e);
    return steps;
}

bool cutAfter(Document& doc, Element* last) {
    if (!last || !last->next) return false;
    doc.clearMarks();
    for (Element* e = last->next; e; e = e->next) {
        e->mark = 1;
        forEachSubElement(*e, [](Element& s) { s.mark = 1; });
    }
    doc.deleteMarked();
    doc.clearMarks();
    return true;
}

int replayIntervalMs(int item) {
    if (item < 0) item = 0;
    if (item <= 9) return (item + 1) * 100;
    if (item <= 13) return item * 1000 - 8000;
    return 10000;
}

} // namespace qorv

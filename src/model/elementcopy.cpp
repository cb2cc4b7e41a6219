#include "model/elementcopy.h"

#include "model/docfile.h"

#include <unordered_map>

namespace qorv {

// ---- element chains ----------------------------------------------------------------------------

ElementChain& ElementChain::operator=(ElementChain&& o) noexcept {
    if (this != &o) {
        destroyElements(head);
        head = o.head;
        tail = o.tail;
        o.head = o.tail = nullptr;
    }
    return *this;
}

void ElementChain::append(Element* e) {
    linkAtEnd(head, tail, e);
}

Element* ElementChain::release() {
    Element* first = head;
    head = tail = nullptr;
    return first;
}

ElementChain copyElements(const std::vector<const Element*>& elements) {
    // The copies are numbered 1, 2, 3 ... like a list of their own; every reference of a copy is
    // first turned into the number of the copied element, then resolved within the copy.
    std::unordered_map<const Element*, int32_t> numberOf;
    int32_t k = 1;
    for (const Element* e : elements) {
        if (!e) continue;
        numberOf[e] = k++;
        forEachSubElement(*e, [&](const Element& s) { numberOf[&s] = k++; });
    }
    const auto renumberCopy = [&](Element& copy, const Element& original) {
        copy.id = numberOf[&original];
        copy.nameElement = nullptr; // each copied "Nombre" sets it again
        copy.mark = 0;
        forEachReference(copy, [&](Ref& ref) {
            const auto it = ref ? numberOf.find(ref) : numberOf.end();
            ref = Ref(nullptr, it != numberOf.end() ? it->second : -1);
        });
    };
    ElementChain chain;
    for (const Element* e : elements) {
        if (!e) continue;
        std::unique_ptr<Element> c = e->clone();
        renumberCopy(*c, *e);
        for (int i = 0, n = e->subElementCount(); i < n; ++i)
            renumberCopy(*c->subElement(i), *e->subElement(i));
        chain.append(c.release());
    }
    resolveReferences(chain.head);
    return chain;
}

} // namespace qorv

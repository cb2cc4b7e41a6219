// Deep copies of elements re-linked among themselves by id: the clipboard, iteration copies.
#pragma once

#include "model/element.h"

#include <vector>

namespace qorv {

// An owned chain of elements linked by `next` and `prev`.
class ElementChain {
  public:
    ElementChain() = default;
    ElementChain(ElementChain&& o) noexcept : head(o.head), tail(o.tail) {
        o.head = o.tail = nullptr;
    }
    ElementChain& operator=(ElementChain&& o) noexcept;
    ElementChain(const ElementChain&) = delete;
    ElementChain& operator=(const ElementChain&) = delete;
    ~ElementChain() { destroyElements(head); }

    void append(Element* e); // takes ownership
    // Gives the elements up; the chain is empty afterwards.
    Element* release();
    bool empty() const { return head == nullptr; }

    Element* head = nullptr;
    Element* tail = nullptr;
};

// Deep copies of `elements` (each with its font, tail and sub-elements), in the given order,
// linked among themselves by id: references to elements of the set (or their sub-elements) point
// to the copies, references to anything else become null, and each "Nombre" copied labels the
// copy of its element. The elements must be given in list order.
ElementChain copyElements(const std::vector<const Element*>& elements);

} // namespace qorv

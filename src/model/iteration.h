// The iteration tool's workspace (the lists of initial and destination elements gathered in the
// drawing), its enabling rules, and the creation of an iteration element from it.
#pragma once

#include "model/document.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qorv {

// At most this many copies are drawn by one iteration: the number of iterations is bounded so
// that W initial elements and K destination lists stay below it.
constexpr int32_t MaxIterationCopies = 50000;

// The largest number of iterations allowed for W initial elements and K destination lists:
// 50000 div W when K is 1, else the integer part of log(50000 div W) / log K; at least 1.
int32_t iterationLimit(int32_t initialCount, int32_t destinationCount);
// A number of iterations the user asks for, brought within 1 and the element's limit.
int32_t limitedIterations(const IterationTail& t, int64_t requested);

struct IterationWorkspace {
    static constexpr int MaxLists = 100;   // list 0: the initial elements; 1..99 destinations
    static constexpr int MaxElements = 99; // per list
    std::vector<std::vector<Element*>> lists;
    int current = -1;                // the list being edited, -1 for none
    int32_t pendingIterations = 1;   // the number a new iteration gets
    int32_t defaultIterations = 1;   // the general option a reset goes back to
    Element* countElement = nullptr; // a number whose value gives the iterations
    bool countMode = false;          // "Número de iteraciones": the next click picks the count

    // Empties every list and forgets the count; new iterations get the default number again.
    void reset();

    int listCount() const { return int(lists.size()); }
    // "Añadir elementos destino": a new, empty destination list becomes current.
    bool canAddDestination() const;
    bool addDestination();
    // "Eliminar": a destination list goes (the one before becomes current); list 0 resets.
    bool canRemove() const { return !lists.empty(); }
    void removeCurrent();
    // "Elegir elementos": list i becomes current (list 0 is made when the workspace is empty).
    void choose(int i);
    // "Número de iteraciones" needs at least two elements in the document.
    static bool canChooseCount(const Document& doc);
    // "Nueva iteración": two or more lists, every destination list as long as list 0 and of the
    // same kinds element by element, and some destination element depending on an initial one.
    bool canCreate(const Document& doc) const;
    // A click on an element in the tool: in or out of the current list. False when nothing
    // changed (no current list, or a full one).
    bool toggle(Element* e);
    // The current list's elements become the selection of the document.
    void selectCurrent(Document& doc) const;
    // Drops every reference to elements that are no longer in the document.
    void forgetMissing(const Document& doc);

    // The lines of the dialog's list: `label`, then for destination lists "I" and the number,
    // ": " and the element numbers 1..m separated by "," (primed in destination lists). When
    // the workspace is empty and the document has two or more elements, the label alone.
    std::vector<std::string> lines(const Document& doc, const std::string& label) const;
};

} // namespace qorv

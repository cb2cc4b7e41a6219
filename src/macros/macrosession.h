// The macro work of the main window on its current document: the elements clicked in the two
// selection modes, the initial and final lists stored from them, the elements the initial list
// determines, and the macro being applied.
#pragma once

#include "model/document.h"

#include <vector>

namespace qorv {

class MacroSession {
  public:
    // Elements clicked in the selection mode running, in the order they were clicked; each is
    // drawn selected.
    const std::vector<Element*>& selection() const { return selection_; }
    // Adds `e` to the selection, or takes it out when it is there.
    void toggle(Element* e);
    void clearSelection() { selection_.clear(); }

    // The dialog opens in the select-initial mode: the selection becomes the initial list, which
    // is expanded; the elements it determines are found, and final elements that are not among
    // them are dropped.
    void storeInitial(const Document& doc);
    // The dialog opens in the select-final mode: the selection becomes the final list.
    void storeFinal() { finals_ = selection_; }

    // The initial list as chosen (its first initialCount() entries), then the implied elements.
    const std::vector<Element*>& initial() const { return initial_; }
    int initialCount() const { return initialCount_; }
    const std::vector<Element*>& finals() const { return finals_; }
    bool isDetermined(const Element* e) const;
    // Both lists hold something: a macro can be completed.
    bool canComplete() const { return initialCount_ > 0 && !finals_.empty(); }
    // Records the macro in the document; the stored lists are released on success. The slot, or
    // -1 (see completeMacro).
    int complete(Document& doc, const std::string& name);

    // The macro applied (a slot of the current document), -1 for none.
    int applying = -1;
    // The macro dialog is open: the drawing marks the initial and final elements.
    bool dialogOpen = false;

    // Forgets everything (another document is shown).
    void clear();
    // Forgets the elements that are no longer in `doc` (deleted since they were chosen).
    void dropMissing(const Document& doc);
    // Visits every element reference held, for finding them again after undo and redo (a
    // reference that comes back null is dropped by the next dropMissing).
    template <class F> void forEachReference(F&& f) {
        for (auto* list : {&selection_, &initial_, &finals_, &determined_})
            for (Element*& e : *list)
                f(e);
    }

  private:
    std::vector<Element*> selection_;
    std::vector<Element*> initial_;
    int initialCount_ = 0;
    std::vector<Element*> finals_;
    std::vector<Element*> determined_;
};

} // namespace qorv

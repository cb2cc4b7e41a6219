#include "macros/macrosession.h"

#include "macros/macro.h"

#include <algorithm>
#include <unordered_set>

namespace qorv {

void MacroSession::toggle(Element* e) {
    if (!e) return;
    const auto it = std::find(selection_.begin(), selection_.end(), e);
    if (it != selection_.end()) {
        selection_.erase(it);
        e->selected = 0;
    } else {
        selection_.push_back(e);
        e->selected = 1;
    }
}

void MacroSession::storeInitial(const Document& doc) {
    initial_ = selection_;
    initialCount_ = int(initial_.size());
    expandInitialElements(initial_);
    determined_ = determinedElements(doc, initial_);
    std::erase_if(finals_, [this](const Element* f) { return !isDetermined(f); });
}

bool MacroSession::isDetermined(const Element* e) const {
    return e && std::find(determined_.begin(), determined_.end(), e) != determined_.end();
}

int MacroSession::complete(Document& doc, const std::string& name) {
    const std::vector<Element*> chosen(initial_.begin(), initial_.begin() + initialCount_);
    const int slot = completeMacro(doc, name, chosen, finals_);
    if (slot < 0) return slot;
    initial_.clear();
    initialCount_ = 0;
    finals_.clear();
    determined_.clear();
    return slot;
}

void MacroSession::clear() {
    selection_.clear();
    initial_.clear();
    initialCount_ = 0;
    finals_.clear();
    determined_.clear();
    applying = -1;
}

void MacroSession::dropMissing(const Document& doc) {
    std::unordered_set<const Element*> present;
    for (const Element* e = doc.head; e; e = e->next) {
        present.insert(e);
        forEachSubElement(*e, [&](const Element& s) { present.insert(&s); });
    }
    const auto gone = [&](const Element* e) { return !present.count(e); };
    // The chosen initial elements that go no longer count.
    initialCount_ = int(std::count_if(initial_.begin(), initial_.begin() + initialCount_,
                                      [&](const Element* e) { return !gone(e); }));
    for (auto* list : {&selection_, &initial_, &finals_, &determined_})
        std::erase_if(*list, gone);
    if (applying >= doc.macroCount()) applying = -1;
}

} // namespace qorv

#include "model/iteration.h"

#include <algorithm>
#include <cmath>

namespace qorv {

int32_t iterationLimit(int32_t initialCount, int32_t destinationCount) {
    const int32_t perCopy = MaxIterationCopies / std::max(initialCount, 1);
    if (destinationCount <= 1) return std::max(perCopy, 1);
    const double levels =
        std::log(double(std::max(perCopy, 1))) / std::log(double(destinationCount));
    return std::max(int32_t(levels), 1);
}

int32_t limitedIterations(const IterationTail& t, int64_t requested) {
    const int32_t limit = iterationLimit(t.initialCount, t.destinationCount);
    return int32_t(std::clamp<int64_t>(requested, 1, limit));
}

void IterationWorkspace::reset() {
    lists.clear();
    current = -1;
    countElement = nullptr;
    countMode = false;
    pendingIterations = defaultIterations;
}

bool IterationWorkspace::canAddDestination() const {
    return listCount() >= 1 && listCount() < MaxLists;
}

bool IterationWorkspace::addDestination() {
    if (!canAddDestination()) return false;
    lists.emplace_back();
    current = listCount() - 1;
    return true;
}

void IterationWorkspace::removeCurrent() {
    if (current <= 0 || current >= listCount()) {
        reset();
        return;
    }
    lists.erase(lists.begin() + current);
    --current;
}

void IterationWorkspace::choose(int i) {
    if (lists.empty() && i == 0) lists.emplace_back();
    if (i >= 0 && i < listCount()) current = i;
}

bool IterationWorkspace::canChooseCount(const Document& doc) {
    return doc.head && doc.head->next;
}

namespace {

// Whether any of `targets` depends, directly or through others, on any of `roots`. One walk in
// list order: an element depends on the roots when one of its parents does.
bool anyDependsOn(const Document& doc, const std::vector<Element*>& roots,
                  const std::vector<Element*>& targets) {
    std::vector<const Element*> reached(roots.begin(), roots.end());
    const auto isReached = [&](const Element* p) {
        return p && std::find(reached.begin(), reached.end(), p) != reached.end();
    };
    for (const Element* e = doc.head; e; e = e->next) {
        bool hit = false;
        forEachParent(*e, [&](const Element* p) {
            hit = hit || isReached(p) || (p && p->owner && isReached(p->owner));
        });
        if (hit && !isReached(e)) reached.push_back(e);
    }
    for (const Element* t : targets)
        if (std::find(roots.begin(), roots.end(), t) == roots.end() && isReached(t)) return true;
    return false;
}

} // namespace

bool IterationWorkspace::canCreate(const Document& doc) const {
    if (listCount() < 2 || lists[0].empty()) return false;
    const auto& initial = lists[0];
    for (int j = 1; j < listCount(); ++j) {
        const auto& d = lists[size_t(j)];
        if (d.size() != initial.size()) return false;
        for (size_t i = 0; i < d.size(); ++i)
            if (!d[i] || !initial[i] || d[i]->kind() != initial[i]->kind()) return false;
    }
    std::vector<Element*> destinations;
    for (int j = 1; j < listCount(); ++j)
        destinations.insert(destinations.end(), lists[size_t(j)].begin(), lists[size_t(j)].end());
    return anyDependsOn(doc, initial, destinations);
}

bool IterationWorkspace::toggle(Element* e) {
    if (!e || current < 0 || current >= listCount()) return false;
    auto& list = lists[size_t(current)];
    const auto it = std::find(list.begin(), list.end(), e);
    if (it != list.end()) {
        list.erase(it);
        return true;
    }
    if (int(list.size()) >= MaxElements) return false;
    list.push_back(e);
    return true;
}

void IterationWorkspace::selectCurrent(Document& doc) const {
    doc.selectNone();
    if (current < 0 || current >= listCount()) return;
    for (Element* e : lists[size_t(current)])
        e->selected = 1;
}

void IterationWorkspace::forgetMissing(const Document& doc) {
    std::vector<const Element*> present;
    for (const Element* e = doc.head; e; e = e->next) {
        present.push_back(e);
        forEachSubElement(*e, [&](const Element& s) { present.push_back(&s); });
    }
    const auto missing = [&](const Element* e) {
        return std::find(present.begin(), present.end(), e) == present.end();
    };
    for (auto& list : lists)
        std::erase_if(list, missing);
    if (countElement && missing(countElement)) countElement = nullptr;
}

std::vector<std::string> IterationWorkspace::lines(const Document& doc,
                                                   const std::string& label) const {
    std::vector<std::string> out;
    if (lists.empty()) {
        if (canChooseCount(doc)) out.push_back(label);
        return out;
    }
    for (int i = 0; i < listCount(); ++i) {
        std::string s = label;
        if (i > 0) s += "I" + std::to_string(i);
        s += ": ";
        for (size_t k = 0; k < lists[size_t(i)].size(); ++k) {
            if (k) s += ",";
            s += std::to_string(k + 1);
            if (i > 0) s += "'";
        }
        out.push_back(std::move(s));
    }
    return out;
}

} // namespace qorv

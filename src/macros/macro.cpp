#include "macros/macro.h"

#include "model/docfile.h"
#include "model/uitext.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

namespace qorv {

namespace {

using ElementSet = std::unordered_set<const Element*>;

bool contains(const std::vector<Element*>& list, const Element* e) {
    return std::find(list.begin(), list.end(), e) != list.end();
}

// The elements an element is built from, for the macro walks: its references and those of its
// sub-elements (other than the element itself), without colour parameters.
template <class F> void forEachDefiningParent(const Element& e, F&& f) {
    const auto visit = [&](const Element& x) {
        forEachReference(x, [&](const Ref& r) {
            if (&r != &x.colorParam && r.ptr && r.ptr != &e) f(r.ptr);
        });
    };
    visit(e);
    forEachSubElement(e, visit);
}

// The colour parameters of an element and of its sub-elements.
template <class F> void forEachColourParameter(const Element& e, F&& f) {
    if (e.colorParam) f(e.colorParam.ptr);
    forEachSubElement(e, [&](const Element& s) {
        if (s.colorParam) f(s.colorParam.ptr);
    });
}

// A copy of an element for a template or from one: every field, tail, font and sub-element,
// without the runtime state and without the name link (which points into a list).
std::unique_ptr<Element> cleanCopy(const Element& e) {
    std::unique_ptr<Element> c = e.clone();
    const auto clean = [](Element& x) {
        x.selected = 0;
        x.mark = 0;
        x.work = 0;
        x.nameElement = nullptr;
    };
    clean(*c);
    forEachSubElement(*c, clean);
    return c;
}

// The template number of every reference of `copy`, from what the original points at; -1 for
// what has no number.
void numberReferences(Element& copy, const std::unordered_map<const Element*, int32_t>& number) {
    forEachReference(copy, [&](Ref& ref) {
        const auto it = ref ? number.find(ref.ptr) : number.end();
        ref = Ref(nullptr, it != number.end() ? it->second : -1);
    });
}

// A text's corner is kept in whole units.
int32_t pixelCoordinate(double v) {
    return std::isfinite(v)
               ? int32_t(std::clamp(std::trunc(v), double(INT32_MIN), double(INT32_MAX)))
               : 0;
}

} // namespace

// ---- choosing -----------------------------------------------------------------------------------

namespace {

// The elements that define `e` for the expansion, in order (null entries included).
template <class F> void forEachImpliedElement(Element& e, F&& f) {
    switch (e.kind()) {
    case Kind::Segment:
    case Kind::Vector:
        f(e.parent1.ptr);
        f(e.parent2.ptr);
        break;
    case Kind::Circle:
        f(e.parent1.ptr);
        break;
    case Kind::Arc:
    case Kind::Angle:
        f(e.parent1.ptr);
        f(e.parent2.ptr);
        f(e.parent3.ptr);
        break;
    case Kind::Axes:
        f(e.parent1.ptr);
        f(e.subElement(0));
        f(e.subElement(1));
        break;
    case Kind::Conic:
        if (const auto* t = e.tailAs<ConicTail>())
            for (const Ref& p : t->points)
                f(p.ptr);
        break;
    default:
        break;
    }
}

// The clicked elements expanded for a template recorded with `recorded` initial numbers. The
// recording left out every implied element already in its list; the clicked ones may coincide
// differently (a segment with one of its own ends where the recording had another point), so
// repeated implied elements are kept, in their places, as long as the count asks for them.
std::vector<Element*> expandForTemplate(std::vector<Element*> list, size_t recorded) {
    std::erase(list, nullptr);
    std::vector<char> repeated(list.size(), 0);
    for (size_t i = 0; i < list.size(); ++i) {
        if (repeated[i]) continue; // expanded where it first came
        forEachImpliedElement(*list[i], [&](Element* p) {
            if (!p) return;
            repeated.push_back(contains(list, p) ? 1 : 0);
            list.push_back(p);
        });
    }
    size_t excess = list.size() > recorded ? list.size() - recorded : 0;
    std::vector<Element*> out;
    for (size_t i = 0; i < list.size(); ++i) {
        if (repeated[i] && excess > 0) {
            --excess;
            continue;
        }
        out.push_back(list[i]);
    }
    return out;
}

// How many initial numbers the template was recorded with: its own elements are numbered from
// there on.
size_t recordedInitialCount(const MacroSlot& macro) {
    int64_t lowest = INT64_MAX;
    for (const Element* t = macro.first; t; t = t->next) {
        lowest = std::min<int64_t>(lowest, t->id);
        forEachSubElement(*t, [&](const Element& s) { lowest = std::min<int64_t>(lowest, s.id); });
    }
    return lowest == INT64_MAX ? 0 : size_t(std::max<int64_t>(lowest, 0));
}

} // namespace

void expandInitialElements(std::vector<Element*>& list) {
    std::erase(list, nullptr);
    for (size_t i = 0; i < list.size(); ++i)
        forEachImpliedElement(*list[i], [&](Element* p) {
            if (p && !contains(list, p)) list.push_back(p);
        });
}

std::vector<Element*> determinedElements(const Document& doc,
                                         const std::vector<Element*>& expanded) {
    const ElementSet initial(expanded.begin(), expanded.end());
    ElementSet determined;
    const auto known = [&](const Element* p) {
        if (initial.count(p) || determined.count(p)) return true;
        return p->owner && determined.count(p->owner);
    };
    const auto allKnown = [&](const Element& e) {
        bool any = false, all = true;
        forEachDefiningParent(e, [&](const Element* p) {
            any = true;
            all = all && known(p);
        });
        return any && all;
    };
    std::vector<Element*> order;
    for (Element* e = doc.head; e; e = e->next) {
        if (initial.count(e) || !allKnown(*e)) continue;
        determined.insert(e);
        order.push_back(e);
    }
    // An element coloured by something outside goes, and what depends on it after it; a colour
    // parameter may point forward, so until nothing changes.
    for (bool changed = true; changed;) {
        changed = false;
        for (Element* e : order) {
            if (!determined.count(e)) continue;
            bool keep = allKnown(*e);
            forEachColourParameter(*e, [&](const Element* c) { keep = keep && known(c); });
            if (!keep) {
                determined.erase(e);
                changed = true;
            }
        }
    }
    std::erase_if(order, [&](const Element* e) { return !determined.count(e); });
    return order;
}

// ---- completing ---------------------------------------------------------------------------------

int completeMacro(Document& doc, const std::string& name, const std::vector<Element*>& initial,
                  const std::vector<Element*>& finals) {
    const int slot = doc.macroCount();
    if (slot >= Document::MacroSlots) return -1;
    std::vector<Element*> chosen;
    for (Element* e : initial)
        if (e && !contains(chosen, e)) chosen.push_back(e);
    std::vector<Element*> expanded = chosen;
    expandInitialElements(expanded);
    const std::vector<Element*> determined = determinedElements(doc, expanded);
    const ElementSet isDetermined(determined.begin(), determined.end());
    ElementSet isFinal;
    for (Element* f : finals)
        if (f && isDetermined.count(f)) isFinal.insert(f);
    if (chosen.empty() || isFinal.empty()) return -1;

    // What the final elements need, walking back from each of them and stopping at initial
    // elements; a side, an axis line or a coordinate number stands for its owner.
    const ElementSet isInitial(expanded.begin(), expanded.end());
    ElementSet reached;
    std::vector<const Element*> stack(isFinal.begin(), isFinal.end());
    while (!stack.empty()) {
        const Element* x = stack.back();
        stack.pop_back();
        const auto visit = [&](const Element* p) {
            if (!isInitial.count(p) && p->owner) p = p->owner;
            if (isInitial.count(p) || !reached.insert(p).second) return;
            stack.push_back(p);
        };
        forEachDefiningParent(*x, visit);
        forEachColourParameter(*x, visit);
    }

    // Numbers: the expanded initial elements 0..n-1, then each kept element and its
    // sub-elements in list order.
    std::unordered_map<const Element*, int32_t> number;
    int32_t next = 0;
    for (const Element* e : expanded)
        number[e] = next++;
    std::vector<const Element*> kept;
    for (const Element* e : determined) {
        if (!isFinal.count(e) && !reached.count(e)) continue;
        kept.push_back(e);
        number[e] = next++;
        forEachSubElement(*e, [&](const Element& s) { number[&s] = next++; });
    }

    MacroSlot& m = doc.macros[size_t(slot)];
    m.clear();
    Element* last = nullptr;
    for (const Element* e : kept) {
        Element* c = cleanCopy(*e).release();
        c->id = number[e];
        numberReferences(*c, number);
        for (int i = 0, n = e->subElementCount(); i < n; ++i) {
            Element& s = *c->subElement(i);
            s.id = number[e->subElement(i)];
            numberReferences(s, number);
        }
        if (!isFinal.count(e)) c->visible = Internal;
        c->prev = last;
        (last ? last->next : m.first) = c;
        last = c;
    }
    m.used = true;
    m.version = 900;
    m.name = name;
    for (const Element* e : chosen)
        m.head.push_back(int16_t(e->kind()));
    doc.modified = 1;
    return slot;
}

// ---- the table ----------------------------------------------------------------------------------

Element* copyTemplate(const Element* first) {
    Element* head = nullptr;
    Element* last = nullptr;
    for (const Element* e = first; e; e = e->next) {
        Element* c = cleanCopy(*e).release();
        c->prev = last;
        (last ? last->next : head) = c;
        last = c;
    }
    return head;
}

int copyMacro(const MacroSlot& macro, Document& doc) {
    const int slot = doc.macroCount();
    if (slot >= Document::MacroSlots || !macro.used) return -1;
    MacroSlot& m = doc.macros[size_t(slot)];
    m.clear();
    m.used = true;
    m.version = macro.version;
    m.head = macro.head;
    m.name = macro.name;
    m.texts = macro.texts;
    m.first = copyTemplate(macro.first);
    doc.modified = 1;
    return slot;
}

void deleteMacro(Document& doc, int slot) {
    const int n = doc.macroCount();
    if (slot < 0 || slot >= n) return;
    for (int i = slot; i + 1 < n; ++i)
        doc.macros[size_t(i)].swap(doc.macros[size_t(i + 1)]);
    doc.macros[size_t(n - 1)].clear();
    doc.modified = 1;
}

bool swapMacros(Document& doc, int a, int b) {
    const int n = doc.macroCount();
    if (a < 0 || b < 0 || a >= n || b >= n) return false;
    doc.macros[size_t(a)].swap(doc.macros[size_t(b)]);
    doc.modified = 1;
    return true;
}

// ---- applying -----------------------------------------------------------------------------------

Element* instantiateMacro(Document& doc, const MacroSlot& macro, std::vector<Element*> matched,
                          Point2 at, bool keepTemplateVisibility) {
    if (!macro.used || !macro.first || matched.size() != macro.head.size()) return nullptr;
    for (size_t i = 0; i < matched.size(); ++i)
        if (!matched[i] || matched[i]->kind() != macro.head[i]) return nullptr;
    // Numbers below the recorded count stand for the clicked elements, however many the
    // clicked ones expand to; the template's own elements are numbered from that count on, so
    // a number the clicked elements do not fill binds to nothing.
    const size_t recorded = recordedInitialCount(macro);
    if (macro.version != 100) matched = expandForTemplate(std::move(matched), recorded);
    const int64_t bound = int64_t(std::min(recorded, matched.size()));

    // The copies, and where each template number is among them (the first claim of a number
    // keeps it), with the position of the copy it belongs to.
    std::vector<std::unique_ptr<Element>> copies;
    struct Target {
        Element* element;
        size_t position;
    };
    std::unordered_map<int32_t, Target> byNumber;
    for (const Element* t = macro.first; t; t = t->next) {
        copies.push_back(cleanCopy(*t));
        Element& c = *copies.back();
        const size_t position = copies.size() - 1;
        byNumber.try_emplace(c.id, Target{&c, position});
        forEachSubElement(c, [&](Element& s) { byNumber.try_emplace(s.id, Target{&s, position}); });
    }

    // A reference binds to the matched element of its number, to an earlier copy (or to the
    // owner of a sub-element), and a colour parameter to any copy.
    const auto bind = [&](Element& e, size_t position) {
        forEachReference(e, [&](Ref& ref) {
            const int32_t m = ref.id;
            Element* target = nullptr;
            if (m >= 0 && m < bound) {
                target = matched[size_t(m)];
            } else if (const auto it = byNumber.find(m); m >= 0 && it != byNumber.end()) {
                const Target& t = it->second;
                if (&ref == &e.colorParam || t.position < position ||
                    (e.owner && t.element == e.owner))
                    target = t.element;
            }
            ref = target;
        });
    };
    for (size_t i = 0; i < copies.size(); ++i) {
        Element& c = *copies[i];
        bind(c, i);
        forEachSubElement(c, [&](Element& s) { bind(s, i); });
        completeResolvedElement(c);
        if (c.visible != 0 && isTextLike(c.kind())) {
            if (auto* text = c.tailAs<TextTail>()) {
                text->x = pixelCoordinate(at.x);
                text->y = pixelCoordinate(at.y);
            } else if (c.kind() != Kind::Name && c.kind() != Kind::Coordinates) {
                c.value[2] = at.x;
                c.value[3] = at.y;
            }
        }
        if (!keepTemplateVisibility) c.visible = 1;
    }

    Element* first = copies.front().get();
    for (auto& c : copies)
        doc.append(c.release());
    doc.renumber();
    doc.modified = 1;
    return first;
}

std::string macroPrompt(const MacroSlot& macro, size_t next) {
    std::string s = macro.name + " ->";
    if (next < macro.head.size()) s += " " + uiText().kindName(macro.head[next]);
    return s;
}

} // namespace qorv

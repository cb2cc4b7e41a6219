#include "construction/clipboard.h"

#include "construction/create.h"
#include "geometry/measure.h"
#include "geometry/recalc.h"
#include "model/docfile.h"
#include "model/elementcodec.h"
#include "model/uitext.h"
#include "model/undo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

namespace qorv {

// ---- text of the selection ----------------------------------------------------------------------

namespace {

constexpr char EntryEnd = '\r';

// A number as its element shows it, or the no-value text.
std::string numberText(const Element& e) {
    if (!e.defined || e.option == NoValue) return uiText().message(Msg::NoValueText);
    int decimals = e.decimals;
    if (e.method == Method::CoordinateX || e.method == Method::CoordinateY) {
        const Element* coordinates = e.owner ? e.owner : e.parent2;
        if (coordinates) decimals = coordinates->decimals;
    }
    return formatNumber(e.value[0], decimals);
}

std::string fixedText(double v, int decimals) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", std::clamp(decimals, 0, 8), v);
    return buffer;
}

// A table cell is empty when its row holds no value for the column (a row beyond the column's
// values, or a value that is not a number or is the not-set marker).
bool emptyCell(const TableColumn& c, int32_t row) {
    if (size_t(row) >= c.values.size()) return true;
    const double v = c.values[size_t(row)];
    return !std::isfinite(v) || v == NotSet;
}

void appendEntry(std::string& out, const Element& e) {
    switch (e.kind()) {
    case Kind::Text:
        if (const auto* t = e.tailAs<TextTail>())
            for (const std::string& line : t->lines) {
                out += line;
                out += EntryEnd;
            }
        return;
    case Kind::Name:
        if (const auto* t = e.tailAs<NameTail>()) {
            out += t->text;
            out += EntryEnd;
        }
        return;
    case Kind::Number:
        out += numberText(e);
        out += EntryEnd;
        return;
    case Kind::Function:
        if (const auto* t = e.tailAs<ExpressionTail>(); t && !e.nameElement) {
            out += t->exprText;
            out += EntryEnd;
        }
        return;
    case Kind::Table:
        if (const auto* t = e.tailAs<TableTail>()) {
            const int32_t rows = std::clamp(t->rows, 0, TableTail::MaxRows);
            for (int32_t r = 0; r < rows; ++r) {
                for (const TableColumn& c : t->columns) {
                    out += emptyCell(c, r) ? std::string(" -")
                                           : fixedText(c.values[size_t(r)], e.decimals);
                    out += "  ";
                }
                out += EntryEnd;
            }
        }
        return;
    case Kind::Equation:
        if (const auto* t = e.tailAs<EquationTail>()) {
            out += t->text;
            out += EntryEnd;
        }
        return;
    case Kind::Coordinates:
        if (const auto* t = e.tailAs<CoordinatesTail>(); t && t->xCoord && t->yCoord) {
            out += numberText(*t->xCoord);
            out += "  ";
            out += numberText(*t->yCoord);
            out += EntryEnd;
        }
        return;
    case Kind::Property:
        if (const auto* t = e.tailAs<CheckTail>()) {
            out += e.option == 1 ? t->trueText : t->falseText;
            out += EntryEnd;
        }
        return;
    case Kind::Button:
        if (const auto* t = e.tailAs<ButtonTail>()) {
            out += t->caption;
            out += EntryEnd;
        }
        return;
    default:
        return;
    }
}

bool hasSelection(const Element& e) {
    bool any = e.selected != 0;
    forEachSubElement(e, [&](const Element& s) { any = any || s.selected != 0; });
    return any;
}

// Sets `mark` on every element (never a sub-element: its owner stands for it) that is selected
// or that a selected element depends on, directly or indirectly.
void markSelectionWithAncestors(Document& doc) {
    doc.clearMarks();
    std::vector<Element*> stack;
    const auto push = [&](Element* p) {
        if (p && p->owner) p = p->owner;
        if (p && p->mark != 1) {
            p->mark = 1;
            stack.push_back(p);
        }
    };
    for (Element* e = doc.head; e; e = e->next)
        if (hasSelection(*e)) push(e);
    const auto visitReferences = [&](Element& x) {
        forEachReference(x, [&](Ref& ref) { push(ref); });
    };
    while (!stack.empty()) {
        Element* x = stack.back();
        stack.pop_back();
        visitReferences(*x);
        forEachSubElement(*x, visitReferences);
    }
}

int32_t movedCoordinate(int32_t x, double d) {
    const double v = std::round(double(x) + d);
    return std::isfinite(v) ? int32_t(std::clamp(v, double(INT32_MIN), double(INT32_MAX))) : x;
}

// Free elements move with the paste: free points, texts and free bitmaps their position, the
// other text-like elements the top-left of their text. Names and coordinates are placed from
// their element, which moves already.
void movePasted(Element& e, double dx, double dy) {
    const ElementKind k = e.kind();
    if (e.method == Method::FreePoint || (e.method == Method::Bitmap && !e.parent1)) {
        e.value[0] += dx;
        e.value[1] += dy;
    } else if (auto* t = e.tailAs<TextTail>()) {
        t->x = movedCoordinate(t->x, dx);
        t->y = movedCoordinate(t->y, dy);
    } else if (isTextLike(k) && k != Kind::Text && k != Kind::Name && k != Kind::Coordinates) {
        e.value[2] += dx;
        e.value[3] += dy;
    }
}

} // namespace

std::string selectionText(const Document& doc) {
    std::string out;
    for (const Element* e = doc.head; e; e = e->next)
        if (e->selected && e->defined) appendEntry(out, *e);
    return out;
}

// ---- copy, cut, paste ---------------------------------------------------------------------------

void copySelection(Document& doc, InternalClipboard& clip,
                   const std::vector<Document*>& openDocuments) {
    clip.elements = ElementChain();
    for (Document* d : openDocuments)
        if (d) d->pasteCounter = 0;
    doc.pasteCounter = 1;

    markSelectionWithAncestors(doc);
    std::vector<const Element*> marked;
    for (const Element* e = doc.head; e; e = e->next)
        if (e->mark == 1) marked.push_back(e);
    ElementChain copy = copyElements(marked);
    size_t i = 0;
    for (Element* c = copy.head; c; c = c->next, ++i) {
        const Element& original = *marked[i];
        // Ancestors that were not selected arrive hidden.
        if (original.visible != Internal)
            c->visible = hasSelection(original) && original.visible != 0 ? original.visible : 0;
        c->selected = 0;
        forEachSubElement(*c, [](Element& s) { s.selected = 0; });
    }
    doc.clearMarks();
    clip.elements = std::move(copy);
    clip.left = doc.left;
    clip.top = doc.top;
}

void cutSelection(Document& doc, InternalClipboard& clip,
                  const std::vector<Document*>& openDocuments) {
    bool any = false;
    for (const Element* e = doc.head; e && !any; e = e->next)
        any = hasSelection(*e);
    if (!any) return;
    copySelection(doc, clip, openDocuments);
    recordUndoStep(doc);
    doc.deleteSelected();
    recalcUpTo(doc);
}

Element* paste(Document& doc, const InternalClipboard& clip) {
    if (clip.empty()) return nullptr;
    recordUndoStep(doc);
    std::vector<const Element*> source;
    for (const Element* e = clip.elements.head; e; e = e->next)
        source.push_back(e);
    ElementChain copy = copyElements(source);

    doc.selectNone();
    const double n = doc.pasteCounter;
    doc.pasteCounter = doc.pasteCounter < INT32_MAX ? doc.pasteCounter + 1 : INT32_MAX;
    const double dx = doc.left - (clip.left - 20.0 * n);
    const double dy = doc.top - (clip.top + 20.0 * n);
    Element* first = copy.head;
    for (Element* e = copy.release(); e;) {
        Element* next = e->next;
        // Internal elements are never selected.
        e->selected = e->visible != 0 && e->visible != Internal ? 1 : 0;
        movePasted(*e, dx, dy);
        doc.append(e);
        e = next;
    }
    doc.modified = 1;
    recalcUpTo(doc);
    return first;
}

Element* pastePicture(Document& doc, std::vector<uint8_t> picture, const CreationOptions& opts) {
    if (picture.empty()) return nullptr;
    Element* selected = nullptr;
    for (Element* e = doc.head; e && !selected; e = e->next) {
        if (e->selected) selected = e;
        forEachSubElement(*e, [&](Element& s) {
            if (!selected && s.selected) selected = &s;
        });
    }
    const ElementKind k = selected ? selected->kind() : -1;
    Element* anchor =
        k == Kind::Point || k == Kind::Segment || k == Kind::Vector ? selected : nullptr;

    recordUndoStep(doc);
    ElementRequest req;
    req.method = Method::Bitmap;
    req.parent1 = anchor;
    if (!anchor) {
        req.value[0] = doc.left;
        req.value[1] = doc.top;
    }
    Element* e = createElement(doc, req, opts);
    if (auto* t = e->tailAs<BitmapTail>()) t->picture = std::move(picture);
    e->selected = 1;
    recalcUpTo(doc);
    return e;
}

} // namespace qorv

// A readable dump of everything a document's list holds (fields, references by id, tails,
// sub-elements, selection, trace and animation lists), written field by field without the file
// or snapshot codecs, so that a test can tell whether two states are the same.
#pragma once

#include "model/document.h"

#include <cstdio>
#include <string>

namespace qorv::testing {

inline std::string dumpNumber(double v) {
    char b[64];
    std::snprintf(b, sizeof b, "%a", v);
    return b;
}

inline std::string dumpRef(const Element* e) {
    return e ? std::to_string(e->id) : std::string("-");
}

inline std::string dumpFont(const FontRecord& f) {
    return "[" + f.name + " " + std::to_string(f.color) + " " + std::to_string(f.size) + " " +
           std::to_string(f.bold) + std::to_string(f.italic) + std::to_string(f.underline) +
           std::to_string(f.strikeout) + "]";
}

inline void dumpElement(std::string& out, const Element& e) {
    out += "#" + std::to_string(e.id) + " m" + std::to_string(e.method);
    out += " p" + dumpRef(e.parent1) + "," + dumpRef(e.parent2) + "," + dumpRef(e.parent3);
    out += " v";
    for (double x : e.value)
        out += dumpNumber(x) + ",";
    out += " d" + std::to_string(e.defined) + " vis" + std::to_string(e.visible) + " sel" +
           std::to_string(e.selected) + " o" + std::to_string(e.option) + "," +
           std::to_string(e.option2) + " u" + std::to_string(e.unitShown) + " dec" +
           std::to_string(e.decimals) + " c" + std::to_string(e.color) + " s" +
           std::to_string(e.shape) + " cp" + dumpRef(e.colorParam) + "," +
           std::to_string(e.colorParamMode) + "," + std::to_string(e.colorParamFrom) + "," +
           std::to_string(e.colorParamTo) + " n" + dumpRef(e.nameElement) + " own" +
           dumpRef(e.owner);
    if (e.font) out += " f" + dumpFont(*e.font);
    if (const auto* t = e.tailAs<ExpressionTail>()) {
        out += " expr[" + t->exprText + "]";
        for (int32_t w : t->exprCode)
            out += std::to_string(w) + ",";
        for (double v : t->exprValues)
            out += dumpNumber(v) + ",";
        for (const Element* a : t->exprArgs)
            out += "a" + dumpRef(a);
    }
    if (const auto* t = e.tailAs<TableTail>()) {
        out += " rows" + std::to_string(t->rows);
        for (const auto& c : t->columns) {
            out += " col" + dumpRef(c.element) + ":";
            for (double v : c.values)
                out += dumpNumber(v) + ",";
        }
    }
    if (const auto* t = e.tailAs<EquationTail>())
        out += " eq[" + t->text + "]" + dumpNumber(t->labelPosition);
    if (const auto* t = e.tailAs<TextTail>()) {
        out += " text" + std::to_string(t->x) + "," + std::to_string(t->y) + "," +
               std::to_string(t->flag) + dumpFont(t->font);
        for (const auto& l : t->lines)
            out += "[" + l + "]";
        for (const auto& r : t->runs)
            out += dumpFont(r.font) + std::to_string(r.length);
    }
    if (const auto* t = e.tailAs<NameTail>()) {
        out += " name[" + t->text + "]";
        for (double v : t->placement)
            out += dumpNumber(v) + ",";
    }
    if (const auto* t = e.tailAs<CheckTail>())
        out += " check[" + t->trueText + "|" + t->falseText + "]";
    if (const auto* t = e.tailAs<ConicTail>())
        for (const Element* p : t->points)
            out += " cp" + dumpRef(p);
    if (const auto* t = e.tailAs<ParameterTail>())
        out += " par" + dumpNumber(t->minimum) + dumpNumber(t->maximum) + dumpNumber(t->step);
    if (const auto* t = e.tailAs<ButtonTail>()) {
        out += " button[" + t->caption + "]";
        for (size_t i = 0; i < t->elements.size(); ++i)
            out += dumpRef(t->elements[i]) + ":" +
                   (i < t->states.size() ? std::to_string(t->states[i]) : "?") + ",";
    }
    if (const auto* t = e.tailAs<BitmapTail>()) {
        out += " pic" + std::to_string(t->picture.size()) + ":";
        for (uint8_t b : t->picture)
            out += std::to_string(b) + ".";
    }
    if (const auto* t = e.tailAs<IterationTail>()) {
        out += " iter" + std::to_string(t->iterations) + "," + std::to_string(t->initialCount) +
               "," + std::to_string(t->destinationCount);
        for (const Element* p : t->participants)
            out += dumpRef(p);
        for (int32_t x : t->images)
            out += "i" + std::to_string(x);
    }
    if (const auto* t = e.tailAs<SampledCurveTail>())
        out += " samples" + std::to_string(t->first.size());
    if (const auto* t = e.tailAs<AxesTail>())
        out += " axes" + dumpNumber(t->scaleX) + dumpNumber(t->scaleY);
    out += "\n";
    forEachSubElement(e, [&](const Element& s) {
        out += "  ";
        dumpElement(out, s);
    });
}

// Renumbers the document first.
inline std::string dumpState(Document& doc) {
    doc.renumber();
    std::string out;
    for (const Element* e = doc.head; e; e = e->next)
        dumpElement(out, *e);
    out += "traces";
    for (const Element* e : doc.traceList)
        out += " " + dumpRef(e);
    out += "\nanimations";
    for (const auto& a : doc.animations)
        out += " " + dumpRef(a.element) + ":" + std::to_string(a.settings[0]) + "," +
               std::to_string(a.settings[1]) + "," + std::to_string(a.settings[2]);
    out += "\nppu " + dumpNumber(doc.pixelsPerUnit) + "\n";
    return out;
}

} // namespace qorv::testing

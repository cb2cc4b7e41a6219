#include "view/labeltext.h"

#include "model/document.h"

#include <algorithm>
#include <cstdio>

namespace qorv {

// Stand-in for formatNumber of the geometry engine until the lead wires displayText.
std::string numberText(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", std::clamp(decimals, 0, 8), value);
    return buffer;
}

std::string labelText(const Document& doc, const Element& e) {
    // TODO(lead): return displayText(doc, e) for numbers, equations, coordinates and checks.
    (void)doc;
    switch (e.kind()) {
    case Kind::Name:
        if (auto* t = e.tailAs<NameTail>()) return t->text;
        return {};
    case Kind::Text:
        if (auto* t = e.tailAs<TextTail>()) {
            std::string all;
            for (size_t i = 0; i < t->lines.size(); ++i) {
                if (i) all += '\n';
                all += t->lines[i];
            }
            return all;
        }
        return {};
    case Kind::Number:
        if (e.option == NoValue) return {};
        return numberText(e.value[0], e.decimals);
    case Kind::Function:
        if (auto* t = e.tailAs<ExpressionTail>()) return t->exprText;
        return {};
    case Kind::Equation:
        if (auto* t = e.tailAs<EquationTail>()) return t->text;
        return {};
    case Kind::Property:
        if (auto* t = e.tailAs<CheckTail>()) return e.option == 1 ? t->trueText : t->falseText;
        return {};
    case Kind::Button:
        if (auto* t = e.tailAs<ButtonTail>()) return t->caption;
        return {};
    default:
        return {};
    }
}

} // namespace qorv

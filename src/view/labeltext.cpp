#include "view/labeltext.h"

#include "geometry/measure.h"
#include "model/document.h"

#include <algorithm>
#include <cstdio>

namespace qorv {

// Table cells are written in fixed notation with the table's decimals.
std::string numberText(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", std::clamp(decimals, 0, 8), value);
    return buffer;
}

std::string labelText(const Document& doc, const Element& e) {
    return displayText(doc, e);
}

} // namespace qorv

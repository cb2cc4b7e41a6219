#include "view/labeltext.h"

#include "geometry/drawing.h"
#include "geometry/measure.h"
#include "model/document.h"

namespace qorv {

std::string numberText(double value, int decimals) {
    return tableCellText(value, decimals);
}

std::string labelText(const Document& doc, const Element& e) {
    return displayText(doc, e);
}

} // namespace qorv

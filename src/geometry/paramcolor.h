// Colours driven by a number element ("Color paramétrico"): the drawing applies them, and a
// locus keeps the colour its traced element had at each sample.
#pragma once

#include "model/element.h"

namespace qorv {

class Document;

// The blend position x in [0, 1] that a driving number gives: the fractional part of |value|;
// an integer value gives 1 when odd and 0 when even; 0 when the number is undefined, has no
// value or is not finite.
double parametricFraction(const Element* number);

// The colour of mode |mode| at position x (modes 1, 2, 3..101, 103..201, 1000; `from` and `to`
// are the two colours of mode 1000). Unknown modes give `from`.
Color parametricColor(int mode, double x, Color from, Color to);

// HSV (hue in degrees, saturation and value in [0, 1]) to a COLORREF by the hexcone rule.
Color hsvToColor(double hueDegrees, double saturation, double value);

// Whether the element keeps a fill colour (polygons, circles, angles and iterations); the fill
// colour is held in `option`, -1 meaning no fill.
bool hasFillColor(const Element& e);
inline Color fillColorOf(const Element& e) {
    return hasFillColor(e) ? e.option : -1;
}

// The colours an element is drawn with after its parametric colour is applied: a positive mode
// drives the line colour, a negative one the fill colour (or the background of a text-like
// element, kept in `shape`).
struct EffectiveColors {
    Color color = 0;
    Color fill = -1;    // fillable kinds only
    int32_t shape = -1; // style word; for text-like kinds the background colour
};
EffectiveColors effectiveColors(const Element& e);

// Stores the parametric colour of e into the element itself (before a redraw in the editor).
void applyParametricColour(Element& e);
void applyParametricColours(Document& doc);

// Gives `e` the parametric colour of `number` with a mode of the parametric-colour dialog:
// stored negative for the fill colour; for mode 1000 the two end colours too.
void setParamColour(Element& e, Element& number, int mode, bool fill, Color from, Color to);

// Gives `e` the line colour `c` as it is seen: a text's characters and a number's font take it
// too, sub-elements follow, and a parametric colour is dropped.
void setLineColour(Element& e, Color c);

} // namespace qorv

// Measurements in the document's units, the property checks, the equation and coordinate texts,
// and the one line of text that a text-like element shows.
#pragma once

#include "model/document.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace qorv {

// A number with `decimals` decimals (0..8); above 10 000 000 in magnitude, scientific notation
// with three significant digits. A negative value that rounds to zero keeps its minus sign.
std::string formatNumber(double value, int decimals);
// The same into a buffer; returns the length written (the text is always terminated).
size_t formatNumberTo(char* buf, size_t size, double value, int decimals);

// "cm", "cm²", "°" ... for the element's `unitShown` and the document's units; empty for none.
std::string_view unitSuffix(const Document& doc, const Element& e);

// World measures in the document's units (the factors of the length and angle units).
double toLengthUnits(const Document& doc, double worldLength);
double toAreaUnits(const Document& doc, double worldArea);
double toAngleUnits(const Document& doc, double radians);
// Measures below 1e-8 in magnitude are exactly 0.
double dropTiny(double v);

// Whether p lies on the arc (within 0.0001 of its circle, or of its line when straight, and
// between its ends).
bool pointOnArc(const Element& arc, Point2 p);

// ---- proportion (kind 11); the other measurements are in recalcmethods.h
// ----------------------------------------------------------------------
void recalcProportion(Document& doc, Element& e); // 68

// ---- property checks: `option` 1 when the property holds
// ------------------------------------------
void recalcParallelCheck(Document& doc, Element& e);      // 50
void recalcPerpendicularCheck(Document& doc, Element& e); // 51
void recalcMembershipCheck(Document& doc, Element& e);    // 52
void recalcEquidistanceCheck(Document& doc, Element& e);  // 53
void recalcAlignmentCheck(Document& doc, Element& e);     // 54

// ---- equations
// ----------------------------------------------------------------------------------- Texts from
// the element's stored numbers (line) or from its parents (circle, conic); empty when the parents
// give none.
std::string lineEquationText(const Element& e);
std::string circleEquationText(const Element& e);
std::string conicEquationText(const Element& e);
// "(x;y)" of a coordinates element (42), preceded by the point's name.
std::string coordinatesText(const Element& e);

void recalcLineEquation(Document& doc, Element& e);   // 45
void recalcCircleEquation(Document& doc, Element& e); // 46
void recalcConicEquation(Document& doc, Element& e);  // 58

// The line of text a text-like element shows: a number with its name, decimals and unit (or the
// no-value text), an equation, coordinates, a check's verdict word, a name, a function's label,
// a button's caption, a text's lines (joined by line breaks). Empty for other kinds.
std::string displayText(const Document& doc, const Element& e);

} // namespace qorv

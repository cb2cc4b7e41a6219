// The one place where the drawing asks what text a text-like element shows.
#pragma once

#include "model/element.h"

#include <string>

namespace qorv {

class Document;

// The text shown for a name, number, function, equation, coordinates, property check or button;
// for a text element its lines joined with '\n'. Measurement texts, equations and coordinates
// belong to the geometry engine's displayText (the lead wires it here); until then a number shows
// only its value.
std::string labelText(const Document& doc, const Element& e);

// A number as a table cell shows it, with `decimals` decimals (0..8).
std::string numberText(double value, int decimals);

} // namespace qorv

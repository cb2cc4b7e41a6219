// The program's options: what applies to everything (pick distance, decimals, tool-button size,
// the window ...) and the copy of the document options that new documents start from. The main
// window owns one ProgramOptions; the options file keeps it between runs (optionsfile.h).
#pragma once

#include "model/docfile.h"
#include "model/document.h"

#include <cstdint>
#include <string>

namespace qorv {

namespace ButtonSize {
enum : int32_t { Small = 0, Normal = 1, Large = 2 };
}

// Accepted ranges of the general options.
namespace OptionLimits {
constexpr int32_t PickDistanceMin = 2, PickDistanceMax = 20;
constexpr int32_t NameDistanceMin = 20, NameDistanceMax = 100;
constexpr int32_t LocusPointsMin = 10, LocusPointsMax = 10000;
constexpr int32_t DecimalsMin = 0, DecimalsMax = 8;
constexpr double PixelsPerUnitMax = 1000.0;
constexpr int32_t IterationsMin = 1, IterationsMax = 3;
constexpr int32_t ExportScaleMin = 1, ExportScaleMax = 8;
constexpr size_t LanguageNameMax = 40; // bytes (StoredLanguageNameBytes)
} // namespace OptionLimits

struct ProgramOptions {
    int32_t pickDistance = 8;    // pixels
    double planeSize = 4000.0;   // plane width and height, pixels
    int32_t locusPoints = 80;    // points of a new locus
    int32_t nameDistance = 50;   // how far a name may be from its element, pixels
    double parameterStep = 0.01; // the "+" and "-" keys' first step for parameters
    int32_t decimals = 2;        // on screen
    int32_t hideMacroIntermediates = 1;
    int32_t horizontalTables = 1;
    int32_t stepByStepFromLast = 0; // the file keeps it inverted
    int32_t adaptCursorColour = 1;  // the cursor label takes the detected element's colour
    int32_t markRotationCentre = 1;
    int32_t buttonSize = ButtonSize::Normal;
    int32_t iterations = 3;  // of a new iteration
    int32_t exportScale = 1; // 1 .. 8, times 100 %
    double angleMarkFactor = 0.13;
    std::string language; // UTF-8 in memory, at most 40 bytes in the file

    WindowRecord window{10, 10, 440, 610, 2}; // left, top, height, width, state (2 maximised)
    int32_t mainBarShown = 1;                 // "Botones Principales"
    int32_t editBarShown = 1;                 // "Botones de edición"
    int32_t documentBarShown = 1;             // "Barra de documento"
    int32_t statusBarShown = 1;               // "Barra de Estado"
    int32_t fullScreen = 0;
    int32_t showHidden = 0;

    FontRecord cursorFont{"Arial", 0xffffff, 11, 0, 0, 0, 0}; // "Mensajes del cursor"
    Color cursorBackground = 0;

    // What new documents start with (and files older than the stored fonts and per-kind tables
    // take those from): units, scale, colours, fonts, per-kind tables, anti-aliasing.
    DocumentDefaults document = DocumentDefaults::builtIn();

    bool operator==(const ProgramOptions&) const = default;
};

// The largest tool-button size a screen of this height offers.
int32_t largestButtonSize(int screenHeight);

// The built-in options for a screen of the given size (plane size and tool-button size depend
// on it).
ProgramOptions builtInOptions(int screenWidth, int screenHeight);

// Values the program indexes tables with, divides by or draws with are brought into their
// ranges (a hand-edited or damaged file must not reach the drawing); the plane size is raised to
// the screen's minimum.
void normalizeOptions(ProgramOptions& o, int screenWidth, int screenHeight);

// A new document takes every document option from the program's defaults: colours, fonts,
// per-kind tables, units, pixels per unit, constant lengths under zoom, coordinate system and
// anti-aliasing. (Reading a file older than the stored fonts and tables takes them from
// `o.document` through ReadOptions::defaults.)
void applyOptionDefaults(Document& doc, const ProgramOptions& o);

// The document part of the options as a document holds it now (what "Guardar opciones" keeps).
DocumentDefaults documentOptionsOf(const Document& doc);

} // namespace qorv

#include "settings/options.h"

#include "view/viewtransform.h"

#include <algorithm>
#include <cmath>

namespace qorv {

namespace {

int32_t clampInt(int32_t v, int32_t lo, int32_t hi) {
    return std::clamp(v, lo, hi);
}

int32_t flag(int32_t v) {
    return v != 0 ? 1 : 0;
}

double positiveOr(double v, double fallback) {
    return std::isfinite(v) && v > 0 ? v : fallback;
}

void normalizeDocumentOptions(DocumentDefaults& d) {
    const DocumentDefaults& b = DocumentDefaults::builtIn();
    d.lengthUnit = clampInt(d.lengthUnit, LengthUnit::Mm, LengthUnit::Km);
    d.angleUnit = clampInt(d.angleUnit, AngleUnit::Rad, AngleUnit::Gra);
    d.coordinateSystem = clampInt(d.coordinateSystem, 0, 1);
    d.pixelsPerUnit = positiveOr(d.pixelsPerUnit, b.pixelsPerUnit);
    if (d.pixelsPerUnit > OptionLimits::PixelsPerUnitMax) d.pixelsPerUnit = b.pixelsPerUnit;
    d.constantLengthsWithZoom = flag(d.constantLengthsWithZoom);
    d.antialiased = flag(d.antialiased);
    if (d.background < 0) d.background = 0;
    for (FontRecord& f : d.fonts)
        if (f.size <= 0 || f.size > 200) f.size = 10;
}

} // namespace

int32_t largestButtonSize(int screenHeight) {
    if (screenHeight > 914) return ButtonSize::Large;
    if (screenHeight > 700) return ButtonSize::Normal;
    return ButtonSize::Small;
}

ProgramOptions builtInOptions(int screenWidth, int screenHeight) {
    ProgramOptions o;
    o.planeSize = planeDefault(screenWidth, screenHeight);
    o.buttonSize = largestButtonSize(screenHeight);
    return o;
}

void normalizeOptions(ProgramOptions& o, int screenWidth, int screenHeight) {
    using namespace OptionLimits;
    const ProgramOptions b;
    o.pickDistance = clampInt(o.pickDistance, PickDistanceMin, PickDistanceMax);
    o.nameDistance = clampInt(o.nameDistance, NameDistanceMin, NameDistanceMax);
    o.locusPoints = clampInt(o.locusPoints, LocusPointsMin, LocusPointsMax);
    o.decimals = clampInt(o.decimals, DecimalsMin, DecimalsMax);
    o.iterations = clampInt(o.iterations, IterationsMin, IterationsMax);
    o.exportScale = clampInt(o.exportScale, ExportScaleMin, ExportScaleMax);
    o.buttonSize = clampInt(o.buttonSize, ButtonSize::Small, largestButtonSize(screenHeight));
    const double pmin = planeMinimum(screenWidth, screenHeight);
    const double pmax = planeMaximum(screenWidth, screenHeight);
    if (!std::isfinite(o.planeSize) || o.planeSize < pmin) o.planeSize = pmin;
    if (o.planeSize > pmax) o.planeSize = pmax;
    o.parameterStep = std::fabs(o.parameterStep);
    if (!std::isfinite(o.parameterStep) || o.parameterStep == 0) o.parameterStep = b.parameterStep;
    o.angleMarkFactor = positiveOr(o.angleMarkFactor, b.angleMarkFactor);
    for (int32_t* f :
         {&o.hideMacroIntermediates, &o.horizontalTables, &o.stepByStepFromLast,
          &o.adaptCursorColour, &o.markRotationCentre, &o.mainBarShown, &o.editBarShown,
          &o.documentBarShown, &o.statusBarShown, &o.fullScreen, &o.showHidden})
        *f = flag(*f);
    o.window.state = clampInt(o.window.state, 0, 2);
    if (o.cursorFont.size <= 0 || o.cursorFont.size > 200) o.cursorFont.size = b.cursorFont.size;
    normalizeDocumentOptions(o.document);
}

void applyOptionDefaults(Document& doc, const ProgramOptions& o) {
    const DocumentDefaults& d = o.document;
    doc.background = d.background;
    doc.hiddenColor = d.hiddenColor;
    doc.selectedColor = d.selectedColor;
    doc.fonts = d.fonts;
    doc.kindColors = d.kindColors;
    doc.kindShapes = d.kindShapes;
    doc.lengthUnit = d.lengthUnit;
    doc.angleUnit = d.angleUnit;
    doc.pixelsPerUnit = d.pixelsPerUnit;
    doc.constantLengthsWithZoom = d.constantLengthsWithZoom;
    doc.coordinateSystem = d.coordinateSystem;
    doc.antialiased = d.antialiased;
}

DocumentDefaults documentOptionsOf(const Document& doc) {
    DocumentDefaults d;
    d.background = doc.background;
    d.hiddenColor = doc.hiddenColor;
    d.selectedColor = doc.selectedColor;
    d.fonts = doc.fonts;
    d.kindColors = doc.kindColors;
    d.kindShapes = doc.kindShapes;
    d.lengthUnit = doc.lengthUnit;
    d.angleUnit = doc.angleUnit;
    d.pixelsPerUnit = doc.pixelsPerUnit;
    d.constantLengthsWithZoom = doc.constantLengthsWithZoom;
    d.coordinateSystem = doc.coordinateSystem;
    d.antialiased = doc.antialiased;
    return d;
}

} // namespace qorv

#include "view/viewtransform.h"

#include "model/document.h"

#include <algorithm>
#include <cmath>

namespace qorv {

namespace {

// Pixels beyond this are as good as infinitely far and must not overflow the int conversion.
constexpr double MaxPixel = 1e9;

// Halves round up (towards +infinity), the same way on both axes.
bool roundPixel(double v, int& out) {
    const double r = std::floor(v + 0.5);
    if (!(std::fabs(r) <= MaxPixel)) return false; // also catches NaN
    out = int(r);
    return true;
}

} // namespace

ScreenPoint ViewTransform::toScreen(double x, double y) const {
    if (!(std::fabs(x) <= FarCoordinate) || !(std::fabs(y) <= FarCoordinate))
        return {FarPixel, FarPixel};
    ScreenPoint p;
    if (!roundPixel(toScreenX(x), p.x) || !roundPixel(toScreenY(y), p.y))
        return {FarPixel, FarPixel};
    return p;
}

ViewTransform documentView(const Document& doc, double scale) {
    return ViewTransform{doc.left, doc.top, scale};
}

void updateFarCorner(Document& doc, int screenWidth, int screenHeight, double scale) {
    doc.right = doc.left + screenWidth * scale;
    doc.bottom = doc.top - screenHeight * scale;
}

double planeMinimum(int screenWidth, int screenHeight) {
    return std::max(double(std::max(screenWidth, screenHeight)) + 1.0, 1000.0);
}

double planeMaximum(int screenWidth, int screenHeight) {
    return planeMinimum(screenWidth, screenHeight) + 20000.0;
}

double planeDefault(int screenWidth, int screenHeight) {
    return std::max(4000.0, planeMinimum(screenWidth, screenHeight) + 1000.0);
}

double originXFromScroll(int position, double planeSize, int clientWidth) {
    return -planeSize / 2 + (planeSize - clientWidth) * position / ScrollMax;
}

double originYFromScroll(int position, double planeSize, int clientHeight) {
    return planeSize / 2 - (planeSize - clientHeight) * position / ScrollMax;
}

namespace {
int scrollPosition(double offset, double span) {
    if (!(span > 0)) return 0;
    const double p = std::round(ScrollMax * offset / span);
    if (!std::isfinite(p)) return 0;
    return int(std::clamp(p, 0.0, double(ScrollMax)));
}
} // namespace

int scrollFromOriginX(double x0, double planeSize, int clientWidth) {
    return scrollPosition(x0 + planeSize / 2, planeSize - clientWidth);
}

int scrollFromOriginY(double y0, double planeSize, int clientHeight) {
    return scrollPosition(planeSize / 2 - y0, planeSize - clientHeight);
}

} // namespace qorv

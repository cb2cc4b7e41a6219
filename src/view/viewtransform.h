// World/screen conversion, the plane and the scroll bars of the drawing area.
//
// World coordinates are plane pixels with y growing upwards; screen coordinates are pixels of the
// drawing area (or of a miniature) with y growing downwards. The view origin (x0, y0) is the world
// point shown at the top-left pixel. Nothing here uses Qt, so the conversions can be shared.
#pragma once

#include "model/element.h"

namespace qorv {

class Document;

// Coordinates beyond this magnitude are never converted: they map to the far-away pixel.
constexpr double FarCoordinate = 1e10;
constexpr int FarPixel = 999999;

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// The conversion used by every drawing: origin and scale (pixels per world unit; 1.0 in the
// main window, smaller only for miniatures such as the "Mover la pantalla" preview).
struct ViewTransform {
    double x0 = 0.0;
    double y0 = 0.0;
    double scale = 1.0;

    // Rounded pixel; (FarPixel, FarPixel) for coordinates beyond FarCoordinate (or not finite),
    // and also when the pixel itself would not fit an int.
    ScreenPoint toScreen(double x, double y) const;
    ScreenPoint toScreen(Point2 p) const { return toScreen(p.x, p.y); }
    // Unrounded pixel coordinates, for the anti-aliased and vector paths.
    double toScreenX(double x) const { return (x - x0) * scale; }
    double toScreenY(double y) const { return -(y - y0) * scale; }
    // Drawing-area pixel to world, unrounded.
    Point2 toWorld(double sx, double sy) const { return {sx / scale + x0, -sy / scale + y0}; }
};

// The view of a document at the main window's scale of 1.
ViewTransform documentView(const Document& doc, double scale = 1.0);

// The far corner is always derived from the whole screen, not the window:
// right = x0 + screenWidth * scale, bottom = y0 - screenHeight * scale.
void updateFarCorner(Document& doc, int screenWidth, int screenHeight, double scale = 1.0);

// ---- the plane ---------------------------------------------------------------------------------

// Smallest and largest plane side for a screen of the given size.
double planeMinimum(int screenWidth, int screenHeight);
double planeMaximum(int screenWidth, int screenHeight);
// The plane side a new session starts with: max(4000, minimum + 1000).
double planeDefault(int screenWidth, int screenHeight);

// The plane: the square [-size/2, size/2] on both axes, centred on the world origin.
struct Plane {
    double size = 4000.0;
    double left() const { return -size / 2; }
    double right() const { return size / 2; }
    double top() const { return size / 2; }
    double bottom() const { return -size / 2; }
    bool contains(double x, double y) const {
        return x >= left() && x <= right() && y >= bottom() && y <= top();
    }
};

// ---- scroll bars -------------------------------------------------------------------------------

constexpr int ScrollMax = 10000;
constexpr int ScrollSmallStep = 10;
constexpr int ScrollLargeStep = 100;

// Position 0 shows the top-left corner of the plane, ScrollMax the bottom-right one.
double originXFromScroll(int position, double planeSize, int clientWidth);
double originYFromScroll(int position, double planeSize, int clientHeight);
// The inverse, rounded and kept inside 0..ScrollMax (a window wider than the plane gives 0).
int scrollFromOriginX(double x0, double planeSize, int clientWidth);
int scrollFromOriginY(double y0, double planeSize, int clientHeight);

} // namespace qorv

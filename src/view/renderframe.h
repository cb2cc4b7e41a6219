// State of one drawing call, shared by the renderer's source files (not part of its interface).
#pragma once

#include "model/document.h"
#include "view/clip.h"
#include "view/pixelwriter.h"
#include "view/renderer.h"

#include <QPainter>

#include <cmath>

namespace qorv {

// Margin, in pixels, by which clipping reaches beyond the target so that pen ends and thick
// strokes never show a cut.
constexpr double ClipMargin = 16.0;

inline QColor toQColor(Color c) {
    return QColor(colorRed(c), colorGreen(c), colorBlue(c));
}

// Text of the model (UTF-8, or 8-bit text from old files) as a QString.
QString toQString(const std::string& s);

struct Renderer::Frame {
    const Document& doc;
    const RenderOptions& o;
    bool smooth = false; // antialiased or vector geometry
    bool miniature = false;
    bool printer = false;
    bool highlighting = false; // drawing a selection highlight under its element
    bool scaledPens = false;   // the painter scales (a larger export): one-pixel pens grow too
    ClipRect clip;             // target rectangle plus the margin, in screen pixels
    double wl = 0, wr = 0, wb = 0, wt = 0; // the same in world coordinates (culling)
    uint64_t penKey = ~uint64_t(0);
    uint64_t brushKey = ~uint64_t(0);
    // The plain path on an image writes one-pixel strokes, circles and discs itself.
    PixelWriter* direct = nullptr;

    // The painter, to draw with: what direct writing keeps for later is written first, so that
    // the image takes every stroke in the order of the drawing.
    QPainter& paint() {
        if (direct) direct->flush();
        return painter_;
    }
    // The painter's pen, brush and font, which draw nothing by themselves.
    QPainter& state() { return painter_; }
    Color penColour = 0;
    int penStyle = 1;
    Color brushColour = -1; // -1: no brush

    Frame(QPainter& painter, const Document& d, const RenderOptions& opts)
        : doc(d), o(opts), painter_(painter) {
        smooth = o.antialiased || o.vector;
        miniature = o.target == RenderTarget::Miniature;
        printer = o.target == RenderTarget::Printer;
        scaledPens = painter.worldTransform().isScaling();
        clip = {-ClipMargin, -ClipMargin, o.width + ClipMargin, o.height + ClipMargin};
        const double s = o.view.scale > 0 ? o.view.scale : 1.0;
        wl = o.view.x0 - ClipMargin / s;
        wr = o.view.x0 + (o.width + ClipMargin) / s;
        wt = o.view.y0 + ClipMargin / s;
        wb = o.view.y0 - (o.height + ClipMargin) / s;
    }

    double scale() const { return o.view.scale; }
    // Unrounded screen coordinates (for clipping).
    ClipPoint raw(Point2 w) const { return {o.view.toScreenX(w.x), o.view.toScreenY(w.y)}; }
    // Where a clipped screen coordinate is painted: pixel centres on the plain path (rounded
    // the same way as the world-to-screen conversion), exact on the smooth one.
    double place(double v) const { return smooth ? v + 0.5 : std::floor(v + 0.5) + 0.5; }
    QPointF placed(ClipPoint c) const { return {place(c.x), place(c.y)}; }
    QPointF at(Point2 w) const { return placed(raw(w)); }

    QRgb penRgb() const {
        return qRgb(colorRed(penColour), colorGreen(penColour), colorBlue(penColour));
    }
    // Whether the current pen's strokes are written directly: every pen on the smooth path,
    // one-pixel pens on the plain one.
    bool directStroke() const { return direct && (smooth || lineWidthOf(penStyle) == 1); }
    // A clipped straight piece in the current pen.
    void stroke(ClipPoint a, ClipPoint b) {
        if (direct && smooth) {
            direct->smoothLine(place(a.x), place(a.y), place(b.x), place(b.y),
                               lineWidthOf(penStyle), penRgb(), penStyle);
            return;
        }
        if (directStroke()) {
            direct->line(int(std::floor(a.x + 0.5)), int(std::floor(a.y + 0.5)),
                         int(std::floor(b.x + 0.5)), int(std::floor(b.y + 0.5)), penRgb(),
                         penStyle);
            return;
        }
        paint().drawLine(placed(a), placed(b));
    }
    // Placed points joined in the current pen.
    void strokePolyline(const QPointF* points, int n, bool closed = false) {
        if (n < 2) return;
        if (direct && smooth) {
            const double w = lineWidthOf(penStyle);
            for (int i = 0; i + 1 < n; ++i)
                direct->smoothLine(points[i].x(), points[i].y(), points[i + 1].x(),
                                   points[i + 1].y(), w, penRgb(), penStyle);
            if (closed)
                direct->smoothLine(points[n - 1].x(), points[n - 1].y(), points[0].x(),
                                   points[0].y(), w, penRgb(), penStyle);
            return;
        }
        if (directStroke()) {
            auto pixel = [](double v) { return int(std::floor(v)); };
            for (int i = 0; i + 1 < n; ++i)
                direct->line(pixel(points[i].x()), pixel(points[i].y()), pixel(points[i + 1].x()),
                             pixel(points[i + 1].y()), penRgb(), penStyle);
            if (closed)
                direct->line(pixel(points[n - 1].x()), pixel(points[n - 1].y()),
                             pixel(points[0].x()), pixel(points[0].y()), penRgb(), penStyle);
            return;
        }
        if (closed) {
            paint().drawPolygon(points, n);
        } else {
            paint().drawPolyline(points, n);
        }
    }

    bool worldBoxVisible(double minX, double minY, double maxX, double maxY) const {
        return maxX >= wl && minX <= wr && maxY >= wb && minY <= wt;
    }
    bool insidePlane(double x, double y) const {
        const double h = o.planeSize / 2;
        return x >= -h && x <= h && y >= -h && y <= h;
    }

  private:
    QPainter& painter_;
};

inline Point2 firstPoint(const Element& e) {
    return {e.value[0], e.value[1]};
}
inline Point2 secondPoint(const Element& e) {
    return {e.value[2], e.value[3]};
}
inline Point2 positionOf(const Element* e) {
    return e ? Point2{e->value[0], e->value[1]} : Point2{};
}
inline bool sameWorldPoint(Point2 a, Point2 b) {
    return a.x == b.x && a.y == b.y;
}

} // namespace qorv

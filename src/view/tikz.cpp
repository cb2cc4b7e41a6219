#include "view/tikz.h"

#include <QPaintEngine>
#include <QPainterPath>
#include <QTextItem>

#include <cmath>
#include <cstdio>
#include <map>

namespace qorv {

class TikzEngine : public QPaintEngine {
  public:
    TikzEngine(int width, int height, const ViewTransform& view, double pixelsPerUnit)
        : QPaintEngine(QPaintEngine::AllFeatures), width_(width), height_(height), view_(view),
          unit_(pixelsPerUnit > 0 ? pixelsPerUnit : 40.0) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& state) override {
        const DirtyFlags dirty = state.state();
        if (dirty & DirtyPen) pen_ = state.pen();
        if (dirty & DirtyBrush) brush_ = state.brush();
        if (dirty & DirtyTransform) transform_ = state.transform();
    }

    void drawPath(const QPainterPath& path) override {
        std::string s;
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            if (e.isMoveTo()) {
                s += " " + point(e);
            } else if (e.isLineTo()) {
                s += " -- " + point(e);
            } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
                s += " .. controls " + point(e) + " and " + point(path.elementAt(i + 1)) + " .. " +
                     point(path.elementAt(i + 2));
                i += 2;
            }
        }
        shape(s, path.fillRule() == Qt::OddEvenFill);
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        if (count < 2) return;
        std::string s = " " + point(points[0]);
        for (int i = 1; i < count; ++i)
            s += " -- " + point(points[i]);
        if (mode == PolylineMode) {
            stroke(s);
            return;
        }
        shape(s + " -- cycle", mode == OddEvenMode);
    }
    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override {
        std::vector<QPointF> p(points, points + count);
        drawPolygon(p.data(), count, mode);
    }

    void drawLines(const QLineF* lines, int count) override {
        for (int i = 0; i < count; ++i)
            stroke(" " + point(lines[i].p1()) + " -- " + point(lines[i].p2()));
    }
    void drawLines(const QLine* lines, int count) override {
        for (int i = 0; i < count; ++i) {
            const QLineF line(lines[i]);
            drawLines(&line, 1);
        }
    }

    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            QPainterPath p;
            p.addRect(rects[i]);
            drawPath(p);
        }
    }
    void drawRects(const QRect* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            const QRectF rect(rects[i]);
            drawRects(&rect, 1);
        }
    }

    void drawEllipse(const QRectF& r) override {
        if (!transform_.isIdentity() && transform_.type() > QTransform::TxTranslate) {
            QPainterPath p;
            p.addEllipse(r);
            drawPath(p);
            return;
        }
        char radii[96];
        std::snprintf(radii, sizeof radii, " ellipse [x radius=%s, y radius=%s]",
                      number(r.width() / 2 / scale() / unit_).c_str(),
                      number(r.height() / 2 / scale() / unit_).c_str());
        shape(" " + point(r.center()) + radii, false);
    }

    void drawPoints(const QPointF* points, int count) override {
        for (int i = 0; i < count; ++i)
            drawEllipse(QRectF(points[i] - QPointF(0.5, 0.5), QSizeF(1, 1)));
    }

    void drawTextItem(const QPointF& at, const QTextItem& item) override {
        const QString text = item.text();
        if (text.trimmed().isEmpty()) return;
        const QFont font = item.font();
        // Pixel sizes of the drawing, in points of the picture's scale.
        const double pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96 / 72;
        const double points = pixels / scale() / unit_ * 72.27 / 2.54;
        std::string options = "anchor=base west, inner sep=0pt, text=" + colour(pen_.color());
        char size[96];
        std::snprintf(size, sizeof size, ", font=\\fontsize{%s}{%s}\\selectfont",
                      number(points).c_str(), number(points * 1.2).c_str());
        options += size;
        if (font.bold()) options += "\\bfseries";
        if (font.italic()) options += "\\itshape";
        body_ += "\\node[" + options + "] at " + point(at) + " {" + escaped(text) + "};\n";
    }

    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {
        // Pictures are not part of the TikZ drawing.
    }
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
    }

    std::string document() const {
        // The device's pixel centres are at half pixels: the picture covers whole pixels.
        const QPointF topLeft = toUnits(QPointF(0.5, 0.5)),
                      bottomRight = toUnits(QPointF(width_ + 0.5, height_ + 0.5));
        const std::string box = "(" + number(topLeft.x()) + "," + number(bottomRight.y()) +
                                ") rectangle (" + number(bottomRight.x()) + "," +
                                number(topLeft.y()) + ")";
        // The page is exactly the picture.
        std::string s = "% A QORV drawing: compile this file, or copy its tikzpicture into a "
                        "document that loads TikZ.\n"
                        "\\documentclass{article}\n\\usepackage[T1]{fontenc}\n"
                        "\\usepackage[paperwidth=" +
                        number(bottomRight.x() - topLeft.x()) +
                        "cm, paperheight=" + number(topLeft.y() - bottomRight.y()) +
                        "cm, margin=0pt]{geometry}\n"
                        "\\usepackage{tikz}\n\\pagestyle{empty}\n\\topskip=0pt\n"
                        "\\begin{document}\n\\noindent\n"
                        "\\begin{tikzpicture}[x=1cm, y=1cm, line cap=round, line join=round]\n";
        for (const auto& [rgb, name] : colours_) {
            char line[96];
            std::snprintf(line, sizeof line, "\\definecolor{%s}{RGB}{%d,%d,%d}\n", name.c_str(),
                          int(rgb >> 16), int((rgb >> 8) & 0xff), int(rgb & 0xff));
            s += line;
        }
        s += "\\useasboundingbox " + box + ";\n\\clip " + box + ";\n";
        s += body_;
        s += "\\end{tikzpicture}\n\\end{document}\n";
        return s;
    }

  private:
    double scale() const {
        // Device pixels per world unit, the painter's own scaling included.
        const double s = view_.scale > 0 ? view_.scale : 1.0;
        const double det = std::abs(transform_.determinant());
        return s * (det > 0 ? std::sqrt(det) : 1.0);
    }
    // Device pixels (with the painter's transform) to picture units. The smooth drawing places
    // a world point half a pixel into its pixel.
    QPointF toUnits(QPointF device) const {
        const Point2 w = view_.toWorld(device.x() - 0.5, device.y() - 0.5);
        return {w.x / unit_, w.y / unit_};
    }
    std::string point(QPointF p) const {
        const QPointF u = toUnits(transform_.map(p));
        return "(" + number(u.x()) + "," + number(u.y()) + ")";
    }
    std::string point(const QPainterPath::Element& e) const { return point(QPointF(e.x, e.y)); }
    static std::string number(double v) {
        if (!std::isfinite(v)) v = 0;
        if (std::abs(v) < 5e-7) v = 0;
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "%.6g", v);
        return buffer;
    }

    std::string colour(const QColor& c) {
        const uint32_t rgb = (uint32_t(c.red()) << 16) | (uint32_t(c.green()) << 8) | c.blue();
        auto it = colours_.find(rgb);
        if (it == colours_.end())
            it = colours_.emplace(rgb, "qorv" + std::to_string(colours_.size())).first;
        return it->second;
    }

    std::string strokeOptions() {
        if (pen_.style() == Qt::NoPen || pen_.color().alpha() == 0) return {};
        // Cosmetic pens and pens of width 0 draw one pixel wide.
        const double pixels = pen_.widthF() > 0 ? pen_.widthF() : 1.0;
        const double width = pen_.isCosmetic() ? pixels / view_.scale : pixels;
        std::string s = "draw=" + colour(pen_.color()) +
                        ", line width=" + number(width / unit_ * 72.27 / 2.54) + "pt";
        switch (pen_.style()) {
        case Qt::DashLine:
            s += ", dashed";
            break;
        case Qt::DotLine:
            s += ", dotted";
            break;
        case Qt::DashDotLine:
        case Qt::DashDotDotLine:
            s += ", dash dot";
            break;
        case Qt::CustomDashLine: {
            const QList<qreal> dashes = pen_.dashPattern();
            s += ", dash pattern=";
            for (int i = 0; i + 1 < dashes.size(); i += 2)
                s += std::string(i ? " " : "") + "on " +
                     number(dashes[i] * width / unit_ * 72.27 / 2.54) + "pt off " +
                     number(dashes[i + 1] * width / unit_ * 72.27 / 2.54) + "pt";
            break;
        }
        default:
            break;
        }
        if (pen_.color().alpha() < 255) s += ", draw opacity=" + number(pen_.color().alphaF());
        return s;
    }
    std::string fillOptions(bool evenOdd) {
        if (brush_.style() == Qt::NoBrush || brush_.color().alpha() == 0) return {};
        std::string s = "fill=" + colour(brush_.color());
        if (brush_.color().alpha() < 255) s += ", fill opacity=" + number(brush_.color().alphaF());
        if (evenOdd) s += ", even odd rule";
        return s;
    }

    void stroke(const std::string& geometry) {
        const std::string o = strokeOptions();
        if (!o.empty()) body_ += "\\path[" + o + "]" + geometry + ";\n";
    }
    // A closed or open shape, filled with the brush and stroked with the pen.
    void shape(const std::string& geometry, bool evenOdd) {
        std::string o = strokeOptions();
        const std::string fill = fillOptions(evenOdd);
        if (!fill.empty()) o += (o.empty() ? "" : ", ") + fill;
        if (!o.empty()) body_ += "\\path[" + o + "]" + geometry + ";\n";
    }

    static std::string escaped(const QString& text) {
        std::string out;
        for (const QChar ch : text) {
            const char16_t c = ch.unicode();
            switch (c) {
            case '\\':
                out += "\\textbackslash{}";
                break;
            case '{':
            case '}':
            case '$':
            case '&':
            case '#':
            case '%':
            case '_':
                out += '\\';
                out += char(c);
                break;
            case '^':
                out += "\\textasciicircum{}";
                break;
            case '~':
                out += "\\textasciitilde{}";
                break;
            default:
                out += QString(ch).toStdString();
            }
        }
        return out;
    }

    int width_, height_;
    ViewTransform view_;
    double unit_;
    QPen pen_;
    QBrush brush_;
    QTransform transform_;
    std::map<uint32_t, std::string> colours_;
    std::string body_;
};

TikzDevice::TikzDevice(int width, int height, const ViewTransform& view, double pixelsPerUnit)
    : width_(width), height_(height),
      engine_(std::make_unique<TikzEngine>(width, height, view, pixelsPerUnit)) {}

TikzDevice::~TikzDevice() = default;

QPaintEngine* TikzDevice::paintEngine() const {
    return engine_.get();
}

std::string TikzDevice::document() const {
    return engine_->document();
}

int TikzDevice::metric(PaintDeviceMetric metric) const {
    switch (metric) {
    case PdmWidth:
        return width_;
    case PdmHeight:
        return height_;
    case PdmWidthMM:
        return int(std::lround(width_ * 25.4 / 96));
    case PdmHeightMM:
        return int(std::lround(height_ * 25.4 / 96));
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return 96;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    default:
        return 0;
    }
}

} // namespace qorv

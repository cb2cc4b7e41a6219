#include "geometry/dxf.h"

#include "geometry/conic.h"
#include "geometry/drawing.h"
#include "geometry/locus.h"
#include "geometry/workbudget.h"
#include "model/atomicfile.h"
#include "model/cp1252.h"
#include "model/document.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string_view>

namespace qorv {

namespace {

// The AutoCAD Color Index as RGB (0xRRGGBB): 0 black, 1..9 the named colours, 10..249 the hue
// rings, 250..255 the grey ramp.
// clang-format off
constexpr uint32_t kAci[256] = {
    0x000000, 0xff0000, 0xffff00, 0x00ff00, 0x00ffff, 0x0000ff, 0xff00ff, 0xffffff,
    0x808080, 0xc0c0c0, 0xff0000, 0xff7f7f, 0xa50000, 0xa55252, 0x7f0000, 0x7f3f3f,
    0x4c0000, 0x4c2626, 0x260000, 0x261313, 0xff3f00, 0xff9f7f, 0xa52900, 0xa56752,
    0x7f1f00, 0x7f4f3f, 0x4c1300, 0x4c2f26, 0x260900, 0x261713, 0xff7f00, 0xffbf7f,
    0xa55200, 0xa57c52, 0x7f3f00, 0x7f5f3f, 0x4c2600, 0x4c3926, 0x261300, 0x261c13,
    0xffbf00, 0xffdf7f, 0xa57c00, 0xa59152, 0x7f5f00, 0x7f6f3f, 0x4c3900, 0x4c4226,
    0x261c00, 0x262113, 0xffff00, 0xffff7f, 0xa5a500, 0xa5a552, 0x7f7f00, 0x7f7f3f,
    0x4c4c00, 0x4c4c26, 0x262600, 0x262613, 0xbfff00, 0xdfff7f, 0x7ca500, 0x91a552,
    0x5f7f00, 0x6f7f3f, 0x394c00, 0x424c26, 0x1c2600, 0x212613, 0x7fff00, 0xbfff7f,
    0x52a500, 0x7ca552, 0x3f7f00, 0x5f7f3f, 0x264c00, 0x394c26, 0x132600, 0x1c2613,
    0x3fff00, 0x9fff7f, 0x29a500, 0x67a552, 0x1f7f00, 0x4f7f3f, 0x134c00, 0x2f4c26,
    0x092600, 0x172613, 0x00ff00, 0x7fff7f, 0x00a500, 0x52a552, 0x007f00, 0x3f7f3f,
    0x004c00, 0x264c26, 0x002600, 0x132613, 0x00ff3f, 0x7fff9f, 0x00a529, 0x52a567,
    0x007f1f, 0x3f7f4f, 0x004c13, 0x264c2f, 0x002609, 0x132617, 0x00ff7f, 0x7fffbf,
    0x00a552, 0x52a57c, 0x007f3f, 0x3f7f5f, 0x004c26, 0x264c39, 0x002613, 0x13261c,
    0x00ffbf, 0x7fffdf, 0x00a57c, 0x52a591, 0x007f5f, 0x3f7f6f, 0x004c39, 0x264c42,
    0x00261c, 0x132621, 0x00ffff, 0x7fffff, 0x00a5a5, 0x52a5a5, 0x007f7f, 0x3f7f7f,
    0x004c4c, 0x264c4c, 0x002626, 0x132626, 0x00bfff, 0x7fdfff, 0x007ca5, 0x5291a5,
    0x005f7f, 0x3f6f7f, 0x00394c, 0x26424c, 0x001c26, 0x132126, 0x007fff, 0x7fbfff,
    0x0052a5, 0x527ca5, 0x003f7f, 0x3f5f7f, 0x00264c, 0x26394c, 0x001326, 0x131c26,
    0x003fff, 0x7f9fff, 0x0029a5, 0x5267a5, 0x001f7f, 0x3f4f7f, 0x00134c, 0x262f4c,
    0x000926, 0x131726, 0x0000ff, 0x7f7fff, 0x0000a5, 0x5252a5, 0x00007f, 0x3f3f7f,
    0x00004c, 0x26264c, 0x000026, 0x131326, 0x3f00ff, 0x9f7fff, 0x2900a5, 0x6752a5,
    0x1f007f, 0x4f3f7f, 0x13004c, 0x2f264c, 0x090026, 0x171326, 0x7f00ff, 0xbf7fff,
    0x5200a5, 0x7c52a5, 0x3f007f, 0x5f3f7f, 0x26004c, 0x39264c, 0x130026, 0x1c1326,
    0xbf00ff, 0xdf7fff, 0x7c00a5, 0x9152a5, 0x5f007f, 0x6f3f7f, 0x39004c, 0x42264c,
    0x1c0026, 0x211326, 0xff00ff, 0xff7fff, 0xa500a5, 0xa552a5, 0x7f007f, 0x7f3f7f,
    0x4c004c, 0x4c264c, 0x260026, 0x261326, 0xff00bf, 0xff7fdf, 0xa5007c, 0xa55291,
    0x7f005f, 0x7f3f6f, 0x4c0039, 0x4c2642, 0x26001c, 0x261321, 0xff007f, 0xff7fbf,
    0xa50052, 0xa5527c, 0x7f003f, 0x7f3f5f, 0x4c0026, 0x4c2639, 0x260013, 0x26131c,
    0xff003f, 0xff7f9f, 0xa50029, 0xa55267, 0x7f001f, 0x7f3f4f, 0x4c0013, 0x4c262f,
    0x260009, 0x261317, 0x000000, 0x333333, 0x666666, 0x999999, 0xcccccc, 0xffffff,
};
// clang-format on

constexpr double Pi = std::numbers::pi;

// Point sizes are for 96 dots per inch, as in the drawing.
double fontHeight(const FontRecord* font) {
    const double size = font ? std::abs(double(font->size)) : 10.0;
    return (size == 0 ? 10.0 : size) * 96.0 / 72.0;
}

// The most characters one value of this DXF version holds: a longer text line goes on in lines
// below it.
constexpr size_t MaxTextValue = 255;

// Writes the shapes of the drawing description, element by element in list order, as it goes:
// the text gathers in a small buffer that goes to the file whenever it fills (or, with no file,
// stays whole for dxfText). What reaches the file is what the drawing shows (where curves break,
// which copies an iteration makes, each sample's colour), in the entities this format has.
class DxfWriter : public DrawingListener {
  public:
    DxfWriter(const Document& doc, const DxfOptions& options, AtomicFileWriter* file)
        : doc_(doc), options_(options),
          unit_(doc.pixelsPerUnit > 0 ? 1.0 / doc.pixelsPerUnit : 1.0 / 40.0), file_(file) {}

    // False when the file could not take the text; the writing stops there.
    bool run() {
        text("0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n0\nENDSEC\n");
        text("0\nSECTION\n2\nENTITIES\n");
        DrawingOptions o;
        o.showHidden = options_.showHidden;
        o.hiddenColour = false; // a file shows each element in its own colour
        Drawing drawing;
        describeDrawing(doc_, o, drawing, this);
        text("0\nENDSEC\n0\nEOF\n");
        spill(true);
        return ok_;
    }
    std::string takeText() { return std::move(out_); }

    bool described(const Element& e, DescribedAs as, const Drawing& d, size_t first) override {
        // Members of a locus family are not written, and an iteration is its copies.
        if (as == DescribedAs::Member ||
            (as == DescribedAs::Element && e.kind() == Kind::Iteration))
            return ok_;
        for (size_t i = first; i < d.shapes.size() && ok_; ++i)
            if (d.shapes[i].stroke) shape(e, d, d.shapes[i]);
        endCurve();
        return ok_;
    }

  private:
    // Template text: each '\n' becomes CR LF, as a file opened in text mode writes it.
    void text(const char* s) {
        for (; *s; ++s) {
            if (*s == '\n') out_ += '\r';
            out_ += *s;
        }
        spill(false);
    }
    // A group is two lines, its code and its value: a control character in a value (a line
    // break in a name, a tab) would end the line early or confuse a reader, so it becomes a
    // space.
    void group(int code, std::string_view value) {
        out_ += std::to_string(code);
        out_ += "\r\n";
        for (char ch : value)
            out_ += (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f) ? ' ' : ch;
        out_ += "\r\n";
    }
    // Hands the buffer to the file once it is large (or at the end).
    void spill(bool end) {
        if (!file_ || (!end && out_.size() < SpillSize)) return;
        ok_ = ok_ && file_->write(out_.data(), out_.size());
        out_.clear();
    }
    void number(int code, double v) {
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "%.12g", std::isfinite(v) ? v : 0.0);
        group(code, buffer);
    }
    void point(int code, Point2 p) {
        number(code, p.x * unit_);
        number(code + 10, p.y * unit_);
    }
    void colour(Color c) { group(62, std::to_string(dxfColourIndex(c))); }

    void line(Point2 a, Point2 b, Color c) {
        text("0\nLINE\n8\n0\n");
        point(10, a);
        point(11, b);
        colour(c);
    }
    void circle(Point2 centre, double radius, Color c) {
        text("0\nCIRCLE\n8\n0\n");
        point(10, centre);
        number(40, radius * unit_);
        colour(c);
    }
    void polyline(const Drawing& d, const DrawnShape& s, bool closed) {
        text(closed ? "0\nPOLYLINE\n8\n0\n66\n1\n70\n1\n" : "0\nPOLYLINE\n8\n0\n66\n1\n");
        colour(s.color);
        for (uint32_t k = 0; k < s.count; ++k) {
            text("0\nVERTEX\n8\n0\n");
            point(10, at(d, s, k));
        }
        text("0\nSEQEND\n");
    }
    // Lines of text from the top one down, each 1.4 heights below the last; a line too long
    // for one value goes on in the lines below it.
    void label(Point2 topLeft, double height, const std::string& s, bool lines, Color c) {
        const std::string all = utf8ToCp1252(s);
        Point2 at{topLeft.x, topLeft.y - height};
        size_t from = 0;
        while (from < all.size()) {
            size_t end = lines ? all.find('\n', from) : std::string::npos;
            if (end == std::string::npos) end = all.size();
            if (end == from) { // an empty line
                at.y -= 1.4 * height;
                from = end + 1;
                continue;
            }
            const size_t take = std::min(end - from, MaxTextValue);
            text("0\nTEXT\n8\n0\n");
            point(10, at);
            number(40, height * unit_);
            group(1, std::string_view(all).substr(from, take));
            colour(c);
            at.y -= 1.4 * height;
            from += take;
            if (from == end) ++from; // past the line break
        }
    }

    // A curve goes on in one polyline while its colour number stays: the drawing starts a new
    // piece at each change of colour, which the palette may not tell apart.
    void curve(const Drawing& d, const DrawnShape& s) {
        const int colourIndex = dxfColourIndex(s.color);
        const Point2 start = at(d, s, 0);
        uint32_t k = 0;
        if (curveOpen_ && colourIndex == curveColour_ && start.x == curveEnd_.x &&
            start.y == curveEnd_.y) {
            k = 1;
        } else {
            endCurve();
            text("0\nPOLYLINE\n8\n0\n66\n1\n");
            group(62, std::to_string(colourIndex));
            curveOpen_ = true;
            curveColour_ = colourIndex;
        }
        for (; k < s.count; ++k) {
            text("0\nVERTEX\n8\n0\n");
            point(10, at(d, s, k));
        }
        curveEnd_ = at(d, s, s.count - 1);
    }
    void endCurve() {
        if (!curveOpen_) return;
        text("0\nSEQEND\n");
        curveOpen_ = false;
    }

    static Point2 at(const Drawing& d, const DrawnShape& s, uint32_t k) {
        return {d.numbers[s.first + 2 * k], d.numbers[s.first + 2 * k + 1]};
    }

    // One shape of `e` as the entity this format has for it, or nothing.
    void shape(const Element& e, const Drawing& d, const DrawnShape& s) {
        const int kind = e.kind();
        if (s.shape != Shape::Polyline) endCurve();
        switch (s.shape) {
        case Shape::Line:
        case Shape::Ray:
            // Only lines through two points, between them; a pair of lines as its two lines.
            if (kind == Kind::Conic || e.method == Method::LineThroughTwoPoints ||
                e.method == Method::RayThroughTwoPoints)
                line(at(d, s, 0), at(d, s, 1), s.color);
            return;
        case Shape::Segment: // segments, vectors, straight arcs
            if (kind == Kind::Segment || kind == Kind::Vector || kind == Kind::Arc)
                line(at(d, s, 0), at(d, s, 1), s.color);
            return;
        case Shape::Polygon:
            if (kind == Kind::Polygon) polyline(d, s, true);
            return;
        case Shape::Circle:
            if (kind == Kind::Circle) circle(at(d, s, 0), d.numbers[s.first + 2], s.color);
            return;
        case Shape::Arc:
            if (kind == Kind::Arc) arc(d, s);
            return;
        case Shape::Polyline:
            if (kind == Kind::Locus && isCurveLocus(e))
                curve(d, s);
            else if (kind == Kind::Conic)
                conic(e, d, s);
            return;
        case Shape::Text:
            if (kind == Kind::Text) {
                const auto* t = e.tailAs<TextTail>();
                label(at(d, s, 0), fontHeight(t ? &t->font : nullptr), d.texts[s.text], true,
                      s.color);
            } else if (kind == Kind::Name || kind == Kind::Number || kind == Kind::Coordinates) {
                label(at(d, s, 0), fontHeight(e.font.get()), d.texts[s.text], false, s.color);
            }
            return;
        default:
            return;
        }
    }

    // DXF arcs run counter-clockwise from their start angle to their end angle: a clockwise
    // arc is the counter-clockwise one from its last point to its first.
    void arc(const Drawing& d, const DrawnShape& s) {
        const double from = d.numbers[s.first + 3], sweep = d.numbers[s.first + 4];
        const auto degrees = [](double a) {
            double deg = std::fmod(a * 180.0 / Pi, 360.0);
            if (deg < 0) deg += 360.0;
            return deg >= 360.0 ? 0.0 : deg;
        };
        text("0\nARC\n8\n0\n");
        point(10, at(d, s, 0));
        number(40, d.numbers[s.first + 2] * unit_);
        number(50, degrees(sweep >= 0 ? from : from + sweep));
        number(51, degrees(sweep >= 0 ? from + sweep : from));
        colour(s.color);
    }

    // Ellipses only (parabolas and hyperbolas have no entity here): a circle as a CIRCLE, any
    // other as the closed run of its samples.
    void conic(const Element& e, const Drawing& d, const DrawnShape& s) {
        const auto* t = e.tailAs<ConicTail>();
        if (!t || t->conicType != ConicType::Ellipse) return;
        ConicCoefficients k;
        std::copy(std::begin(t->coefficients), std::end(t->coefficients), k.begin());
        const ConicReduction red = reduceConic(k, t->conicType);
        if (red.type == ConicType::Ellipse &&
            std::abs(red.a - red.b) <= 1e-9 * std::max(std::abs(red.a), std::abs(red.b))) {
            circle(red.centre, red.a, s.color);
            return;
        }
        polyline(d, s, false);
    }

    static constexpr size_t SpillSize = 1 << 16;

    const Document& doc_;
    const DxfOptions& options_;
    const double unit_; // world lengths to the document's length unit
    AtomicFileWriter* file_;
    std::string out_;
    bool ok_ = true;
    bool curveOpen_ = false; // a curve's polyline awaits more vertices or its end
    int curveColour_ = 0;
    Point2 curveEnd_;
};

} // namespace

int dxfColourIndex(Color c) {
    const int r = colorRed(c), g = colorGreen(c), b = colorBlue(c);
    int best = 0;
    int64_t bestDistance = INT64_MAX;
    for (int i = 0; i < 256; ++i) {
        const int dr = r - int(kAci[i] >> 16), dg = g - int((kAci[i] >> 8) & 0xff),
                  db = b - int(kAci[i] & 0xff);
        const int64_t d = int64_t(dr) * dr + int64_t(dg) * dg + int64_t(db) * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

std::string dxfText(const Document& doc, const DxfOptions& options) {
    const WorkScope operation(doc); // one budget for all the iterations and families written
    DxfWriter w(doc, options, nullptr);
    w.run();
    return w.takeText();
}

bool writeDxfFile(const Document& doc, const std::string& path, const DxfOptions& options) {
    const WorkScope operation(doc);
    AtomicFileWriter file(path);
    return file.ok() && DxfWriter(doc, options, &file).run() && file.commit();
}

} // namespace qorv

#include "view/renderer.h"

#include "geometry/paramcolor.h"
#include "geometry/workbudget.h"
#include "view/renderframe.h"

#include <QPainter>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace qorv {

QString toQString(const std::string& s) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString r = utf8(QByteArrayView(s.data(), qsizetype(s.size())));
    if (utf8.hasError()) return QString::fromLatin1(s.data(), qsizetype(s.size()));
    return r;
}

int lineWidthOf(int style) {
    switch (style) {
    case 2:
        return 3;
    case 5:
        return 5;
    case 6:
        return 7;
    case -1:
        return 3;
    case -2:
        return 5;
    case -3:
        return 7;
    case -4:
        return 9;
    default:
        return 1;
    }
}

namespace {

// Element states that reach a pass.
bool isDrawable(const Element& e, bool showHidden) {
    if (!isValidMethod(e.method) || !e.defined || e.visible == Internal) return false;
    return e.visible != 0 || showHidden;
}

// The printer has no grey: grey, silver and white print black.
Color printerColour(Color c) {
    const Color rgbOnly = c & 0xffffff;
    if (rgbOnly == rgb(128, 128, 128) || rgbOnly == rgb(192, 192, 192) ||
        rgbOnly == rgb(255, 255, 255))
        return 0;
    return c;
}

// Rows of a filled disc whose box is d x d pixels: for each row the first column and the width,
// the same cells that an ellipse filling that box covers.
struct DiscRows {
    std::array<std::pair<int, int>, 64> rows{};
    int size = 0;
};
const DiscRows& discRows(int d) {
    static std::array<DiscRows, 64> table = [] {
        std::array<DiscRows, 64> t{};
        for (int n = 1; n < 64; ++n) {
            const double r = n / 2.0;
            t[size_t(n)].size = n;
            for (int j = 0; j < n; ++j) {
                const double dy = j + 0.5 - r;
                const double half = std::sqrt(std::max(0.0, r * r - dy * dy));
                const int first = int(std::ceil(r - half - 0.5));
                const int last = int(std::floor(r + half - 0.5));
                t[size_t(n)].rows[size_t(j)] = {first, std::max(0, last - first + 1)};
            }
        }
        return t;
    }();
    return table[size_t(std::clamp(d, 1, 63))];
}

// Whole-pixel rectangles: written straight into the image when the frame allows it (the same
// pixels as the painter's, which fills integer rectangles exactly), else by the painter.
struct PixelRects {
    QPainter& p;
    PixelWriter* direct;
    void fill(int x, int y, int w, int h, const QColor& c) const {
        if (direct)
            direct->fillRect(x, y, w, h, c.rgb());
        else
            p.fillRect(x, y, w, h, c);
    }
};

void fillDisc(const PixelRects& out, int left, int top, int d, const QColor& c) {
    const DiscRows& rows = discRows(d);
    for (int j = 0; j < rows.size; ++j)
        if (rows.rows[size_t(j)].second > 0)
            out.fill(left + rows.rows[size_t(j)].first, top + j, rows.rows[size_t(j)].second, 1, c);
}

} // namespace

Renderer::Renderer() = default;
Renderer::~Renderer() = default;

void Renderer::clearCaches() {
    texts_.clear();
    glyphs_.clear();
    pictures_.clear();
    pens_.clear();
    fonts_.clear();
}

// ---- painter state -------------------------------------------------------------------------

void Renderer::attachDirect(Frame& f) {
    if (!f.o.vector && pixels_.attach(f.state(), f.o.width, f.o.height)) f.direct = &pixels_;
}

void Renderer::usePen(Frame& f, Color c, int style) {
    // Pens differ only for the styles -4..6; any other word draws as style 1 (a file may hold
    // any number there).
    if (style < -4 || style > 6) style = 1;
    f.penColour = c;
    f.penStyle = style;
    const uint64_t key = (uint64_t(uint32_t(c) & 0xffffffu) << 16) | (uint64_t(style + 64) << 1) |
                         (f.smooth ? 1u : 0u) | (f.scaledPens ? uint64_t(1) << 41 : 0u);
    if (key == f.penKey) return;
    f.penKey = key;
    auto it = pens_.find(key);
    if (it == pens_.end()) {
        if (pens_.size() > 4096) pens_.clear();
        const int width = lineWidthOf(style);
        QPen pen(toQColor(c));
        if (width <= 1) {
            // Cosmetic, one pixel whatever the device, unless the painter draws larger.
            pen.setWidth(f.scaledPens ? 1 : 0);
            pen.setCapStyle(Qt::SquareCap);
        } else {
            pen.setWidth(width);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
        }
        if (style == 3) // dotted
            pen.setDashPattern(f.smooth ? QList<qreal>{4, 4} : QList<qreal>{3, 3});
        else if (style == 4) // dash-dot
            pen.setDashPattern(f.smooth ? QList<qreal>{4, 8, 12, 8} : QList<qreal>{9, 6, 3, 6});
        it = pens_.emplace(key, pen).first;
    }
    f.state().setPen(it->second);
}

void Renderer::useBrush(Frame& f, Color c) {
    f.brushColour = c & 0xffffff;
    const uint64_t key = uint64_t(uint32_t(c) & 0xffffffu);
    if (key == f.brushKey) return;
    f.brushKey = key;
    f.state().setBrush(toQColor(c));
}

void Renderer::useNoBrush(Frame& f) {
    f.brushColour = -1;
    constexpr uint64_t none = uint64_t(1) << 40;
    if (f.brushKey == none) return;
    f.brushKey = none;
    f.state().setBrush(Qt::NoBrush);
}

// ---- passes --------------------------------------------------------------------------------

void Renderer::redraw(QImage& target, const Document& doc, const RenderOptions& options) {
    QPainter p(&target);
    redraw(p, doc, options);
}

void Renderer::redraw(QPainter& painter, const Document& doc, const RenderOptions& options) {
    // One budget for all the iterations and families the drawing re-runs.
    const WorkScope operation(doc);
    ++frame_;
    framePicturePixels_ = 0;
    Frame f(painter, doc, options);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, options.antialiased);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setBackgroundMode(Qt::TransparentMode);
    const bool still = options.layer == RenderLayer::Still;
    attachDirect(f);
    // Strokes written directly are kept and written at once, band by band (see PixelWriter);
    // the ground too, when it is written directly, so that it is cleared band by band as well.
    if (f.direct) f.direct->setBatching(true);
    if (options.target != RenderTarget::Printer && options.layer != RenderLayer::Moving) {
        const QColor ground = toQColor(doc.background);
        if (f.direct)
            f.direct->fillRect(0, 0, options.width, options.height, ground.rgb());
        else
            painter.fillRect(QRect(0, 0, options.width, options.height), ground);
    }
    passes(f);
    if (f.direct) f.direct->setBatching(false);
    if (options.marks && !still) options.marks(painter);
    // Traces over everything: dark traces on a light ground are ANDed in, light ones on a dark
    // ground ORed in. Raster operations exist only on raster targets.
    if (options.trace && !doc.traceList.empty() && !options.vector && !still) {
        const Color bg = doc.background;
        const int v = std::max({colorRed(bg), colorGreen(bg), colorBlue(bg)});
        painter.setCompositionMode(v / 255.0 > 0.5 ? QPainter::RasterOp_SourceAndDestination
                                                   : QPainter::RasterOp_SourceOrDestination);
        painter.drawImage(0, 0, *options.trace);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (options.overlay && options.target == RenderTarget::MainBitmap && !still)
        options.overlay(painter);
    painter.restore();
    trimCaches();
}

namespace {

// The elements a drawing cut at `stop` shows, in list order: those before the cut, then the
// names of those (a name follows what it names in the list, so a step of the replay would lose
// it otherwise). `before` is working space.
template <class F>
void forEachBeforeStop(const Document& doc, const Element* stop,
                       std::unordered_set<const Element*>& before, F&& f) {
    before.clear();
    const Element* e = doc.head;
    for (; e && e != stop; e = e->next) {
        if (stop) before.insert(e);
        f(*e);
    }
    for (; e; e = e->next) {
        if (e->method != Method::Name || !e->parent1) continue;
        const Element* named = e->parent1->owner ? e->parent1->owner : e->parent1.ptr;
        if (before.count(named)) f(*e);
    }
}

} // namespace

void Renderer::passes(Frame& f) {
    // One walk of the list collects what can be drawn; the passes then run over that.
    drawables_.clear();
    if (f.o.layer == RenderLayer::Moving) {
        if (f.o.moving)
            for (const Element* e : *f.o.moving)
                if (isDrawable(*e, f.o.showHidden)) drawables_.push_back({e, e->kind()});
    } else {
        const bool still = f.o.layer == RenderLayer::Still;
        forEachBeforeStop(f.doc, f.o.stop, beforeStop_, [&](const Element& e) {
            if (isDrawable(e, f.o.showHidden) && !(still && e.mark == 1))
                drawables_.push_back({&e, e.kind()});
        });
    }
    fills(f); // first, so that they lie under every outline
    // Everything but points, then points above all of it.
    for (const Drawable& d : drawables_)
        if (d.kind != Kind::Point) drawHighlightThenElement(f, *d.element);
    for (const Drawable& d : drawables_)
        if (d.kind == Kind::Point) drawHighlightThenElement(f, *d.element);
}

// Polygons, circles and angles with a fill colour, filled (angles outlined in the background
// colour, the others in black; the main pass draws the real outlines over them).
void Renderer::fills(Frame& f) {
    for (const Drawable& d : drawables_) {
        const int k = d.kind;
        if (k != Kind::Polygon && k != Kind::Circle && k != Kind::Angle) continue;
        const Element& e = *d.element;
        if (e.option < 0 && !(e.colorParam && e.colorParamMode < 0)) continue; // no fill
        const EffectiveColors c = effectiveColors(e);
        if (c.fill >= 0)
            drawOne(f, e, k == Kind::Angle ? f.doc.background : 0, c.shape, c.fill, false);
    }
}

void Renderer::drawHighlightThenElement(Frame& f, const Element& e) {
    const Document& doc = f.doc;
    const EffectiveColors c = effectiveColors(e);
    const bool shown = e.visible != 0;
    const Color colour = shown ? c.color : doc.hiddenColor;
    const bool highlights = f.o.target == RenderTarget::MainBitmap && !f.o.interacting;
    const int k = e.kind();
    const bool picked = highlights && f.o.picked &&
                        std::find(f.o.picked->begin(), f.o.picked->end(), &e) != f.o.picked->end();
    if (highlights && (e.selected || picked)) {
        f.highlighting = true;
        if (isTextLike(k) || e.font)
            drawOne(f, e, doc.background, doc.selectedColor, -1, false);
        else if (k == Kind::Bitmap || k == Kind::Iteration)
            drawOne(f, e, doc.selectedColor, -2, -1, false);
        else
            drawOne(f, e, doc.selectedColor, highlightStyle(c.shape), -1, false);
        f.highlighting = false;
    } else if (highlights && k == Kind::Polygon) {
        // A side chosen on its own shows its highlight even when the polygon is not selected.
        if (auto* t = e.tailAs<PolygonTail>()) {
            for (const SubElement& s : t->sides) {
                if (!s->selected || !s->defined) continue;
                usePen(f, doc.selectedColor, highlightStyle(c.shape));
                worldSegment(f, firstPoint(*s), secondPoint(*s));
            }
        }
    }
    drawOne(f, e, colour, c.shape, -1, shown);
}

void Renderer::fillPass(QPainter& painter, const Document& doc, const RenderOptions& options) {
    ++frame_;
    Frame f(painter, doc, options);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, options.antialiased);
    attachDirect(f);
    drawables_.clear();
    forEachBeforeStop(doc, options.stop, beforeStop_, [&](const Element& e) {
        if (isDrawable(e, options.showHidden)) drawables_.push_back({&e, e.kind()});
    });
    fills(f);
    painter.restore();
}

void Renderer::kindPass(QPainter& painter, const Document& doc, const RenderOptions& options,
                        int kind) {
    ++frame_;
    Frame f(painter, doc, options);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, options.antialiased);
    attachDirect(f);
    forEachBeforeStop(doc, options.stop, beforeStop_, [&](const Element& e) {
        if (e.kind() == kind && isDrawable(e, options.showHidden)) drawHighlightThenElement(f, e);
    });
    painter.restore();
}

void Renderer::namePass(QPainter& painter, const Document& doc, const RenderOptions& options) {
    kindPass(painter, doc, options, Kind::Name);
}

void Renderer::pointPass(QPainter& painter, const Document& doc, const RenderOptions& options) {
    kindPass(painter, doc, options, Kind::Point);
}

void Renderer::drawElement(QPainter& painter, const Document& doc, const Element& e, Color colour,
                           int style, Color fill, const RenderOptions& options) {
    ++frame_;
    Frame f(painter, doc, options);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, options.antialiased);
    attachDirect(f);
    drawOne(f, e, colour, style, fill, colour == effectiveColors(e).color);
    painter.restore();
}

void Renderer::drawOne(Frame& f, const Element& e, Color colour, int style, Color fill,
                       bool ownColour) {
    if (f.printer) colour = printerColour(colour);
    switch (e.kind()) {
    case Kind::Point:
        drawPoint(f, e.value[0], e.value[1], colour, style);
        break;
    case Kind::Line:
    case Kind::Ray:
    case Kind::Segment:
        usePen(f, colour, style);
        drawStraight(f, e, e.kind(), colour, style);
        break;
    case Kind::Vector:
        drawVector(f, e, colour, style);
        break;
    case Kind::Polygon:
        drawPolygon(f, e, colour, style, fill, ownColour);
        break;
    case Kind::Circle:
        drawCircle(f, e, colour, style, fill);
        break;
    case Kind::Arc:
        drawArc(f, e, colour, style);
        break;
    case Kind::Angle:
        drawAngle(f, e, colour, style, fill);
        break;
    case Kind::Locus:
        drawLocus(f, e, colour, style, ownColour);
        break;
    case Kind::Conic:
        drawConic(f, e, colour, style);
        break;
    case Kind::Axes:
        drawAxes(f, e, colour, style, ownColour);
        break;
    case Kind::Grid:
        drawGrid(f, e, colour, style);
        break;
    case Kind::Text:
        drawText(f, e, colour, style, ownColour);
        break;
    case Kind::Table:
        drawTable(f, e, colour);
        break;
    case Kind::Button:
        drawButton(f, e, colour, style);
        break;
    case Kind::Bitmap:
        drawBitmap(f, e, colour, style);
        break;
    case Kind::Name:
    case Kind::Number:
    case Kind::Function:
    case Kind::Equation:
    case Kind::Coordinates:
    case Kind::Property:
        drawLabelElement(f, e, colour, style);
        break;
    case Kind::Iteration:
        drawIteration(f, e, colour, style);
        break;
    default: // intersection holders draw nothing
        break;
    }
}

// ---- points ----------------------------------------------------------------------------------

void Renderer::drawPoint(Frame& f, double wx, double wy, Color c, int style) {
    // Only points inside the view rectangle are drawn.
    const ScreenPoint s = f.o.view.toScreen(wx, wy);
    if (s.x < 0 || s.y < 0 || s.x >= f.o.width || s.y >= f.o.height) return;
    // (the painter draws here only where the point is not written directly)
    QPainter& p = f.state();
    const QColor colour = toQColor(c);
    const QColor ground = toQColor(f.doc.background);
    const int x = s.x, y = s.y;
    if (style < 1 || style > 6) style = style < 0 ? -1 : 1;

    if (f.printer && f.o.printerDotsPerInch > 0) {
        f.paint();
        const PixelRects painted{p, nullptr};
        const int d = std::max(1, f.o.printerDotsPerInch / 45);
        switch (style) {
        case 1:
            p.fillRect(x - d + 1, y - d + 1, 2 * d - 1, 2 * d - 1, colour);
            return;
        case 2:
            fillDisc(painted, x - d, y - d, 2 * d + 1, colour);
            return;
        case 3:
            fillDisc(painted, x - d, y - d, 2 * d + 1, colour);
            fillDisc(painted, x - d + 1, y - d + 1, 2 * d - 1, ground);
            return;
        case 4:
            usePen(f, c, 1);
            p.drawLine(QPointF(x - d + 0.5, y - d + 0.5), QPointF(x + d + 0.5, y + d + 0.5));
            p.drawLine(QPointF(x - d + 0.5, y + d + 0.5), QPointF(x + d + 0.5, y - d + 0.5));
            return;
        case 5:
            p.fillRect(x - d, y - d, 2 * d + 1, 2 * d + 1, colour);
            return;
        case 6:
            p.fillRect(x, y, 1, 1, colour);
            return;
        default:
            fillDisc(painted, x - d - 1, y - d - 1, 2 * d + 3, colour);
            return;
        }
    }

    if (f.smooth) {
        const QPointF centre(f.o.view.toScreenX(wx) + 0.5, f.o.view.toScreenY(wy) + 0.5);
        auto disc = [&](double diameter, const QColor& col) {
            if (f.direct) {
                f.direct->smoothDisc(centre.x(), centre.y(), diameter / 2, col.rgb());
                return;
            }
            p.setPen(Qt::NoPen);
            f.penKey = ~uint64_t(0);
            p.setBrush(col);
            f.brushKey = ~uint64_t(0);
            p.drawEllipse(centre, diameter / 2, diameter / 2);
        };
        switch (style) {
        case 1:
            disc(4, colour);
            return;
        case 2:
            disc(6, colour);
            return;
        case 3:
            disc(6, colour);
            disc(4, ground);
            return;
        case 4:
            usePen(f, c, 1);
            f.stroke({centre.x() - 3.5, centre.y() - 3.5}, {centre.x() + 2.5, centre.y() + 2.5});
            f.stroke({centre.x() - 3.5, centre.y() + 2.5}, {centre.x() + 2.5, centre.y() - 3.5});
            return;
        case 5:
            f.paint().fillRect(QRectF(centre.x() - 3, centre.y() - 3, 6, 6), colour);
            return;
        case 6:
            disc(2, colour);
            return;
        default:
            disc(8, colour);
            return;
        }
    }

    const PixelRects out{p, f.direct};
    switch (style) {
    case 1:
        out.fill(x - 1, y - 1, 3, 3, colour);
        return;
    case 2:
        fillDisc(out, x - 2, y - 2, 5, colour);
        return;
    case 3:
        fillDisc(out, x - 2, y - 2, 5, colour);
        fillDisc(out, x - 1, y - 1, 3, ground);
        return;
    case 4:
        // Two diagonals of five pixels crossing at the point.
        for (int i = -2; i <= 2; ++i) {
            out.fill(x + i, y + i, 1, 1, colour);
            out.fill(x + i, y - i, 1, 1, colour);
        }
        return;
    case 5:
        out.fill(x - 2, y - 2, 5, 5, colour);
        return;
    case 6:
        out.fill(x, y, 1, 1, colour);
        return;
    default:
        fillDisc(out, x - 3, y - 3, 7, colour);
        return;
    }
}

// ---- caches ----------------------------------------------------------------------------------

const QFont& Renderer::fontFor(const FontRecord& r, uint64_t* keyOut) {
    uint64_t key = std::hash<std::string>{}(r.name);
    key ^= (uint64_t(uint32_t(r.size)) << 8) ^ (uint64_t(r.bold != 0) << 1) ^
           (uint64_t(r.italic != 0) << 2) ^ (uint64_t(r.underline != 0) << 3) ^
           (uint64_t(r.strikeout != 0) << 4);
    key = key * 0x9E3779B97F4A7C15ull + uint64_t(uint32_t(r.size));
    if (keyOut) *keyOut = key;
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    if (fonts_.size() > 256) fonts_.clear();
    QFont font(toQString(r.name));
    // Point sizes are for 96 dots per inch: pixel height = size * 96 / 72.
    // A file may hold any size: negative ones count by their magnitude (in 64 bits, so that the
    // smallest int has one too).
    const int size = int(std::clamp<int64_t>(std::abs(int64_t(r.size)), 1, 750));
    font.setPixelSize(std::max(1, int(std::lround(size * 96.0 / 72.0))));
    font.setBold(r.bold == 1);
    font.setItalic(r.italic == 1);
    font.setUnderline(r.underline == 1);
    font.setStrikeOut(r.strikeout == 1);
    // No kerning or ligatures: one glyph per character at its own advance, so that texts can be
    // written glyph by glyph.
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setKerning(false);
    return fonts_.emplace(key, font).first->second;
}

const Renderer::TextEntry& Renderer::layoutText(const void* owner, const std::string& text,
                                                const FontRecord& font, bool direct) {
    uint64_t fontKey = 0;
    const QFont& qfont = fontFor(font, &fontKey);
    // Entries hold glyphs of the cache: both go together.
    if (glyphs_.fontCount() > 64) {
        pixels_.flush(); // the strokes kept may still read the glyphs' masks
        glyphs_.clear();
        texts_.clear();
    }
    TextEntry& entry = texts_[owner];
    entry.frame = frame_;
    if (entry.fontKey != fontKey || entry.text != text) {
        entry.text = text;
        entry.fontKey = fontKey;
        entry.layoutReady = entry.lineReady = entry.lineTried = false;
    }
    if (direct && !entry.lineTried) {
        entry.lineTried = true;
        entry.lineReady = glyphs_.layout(fontKey, qfont, toQString(text), entry.line);
        if (entry.lineReady)
            entry.size = QSizeF(entry.line.extentWidth(), entry.line.extentHeight());
    }
    if ((!direct || !entry.lineReady) && !entry.layoutReady) {
        entry.layout = QStaticText(toQString(text));
        entry.layout.setTextFormat(Qt::PlainText);
        entry.layout.prepare(QTransform(), qfont);
        entry.size = entry.layout.size();
        entry.layoutReady = true;
    }
    return entry;
}

void Renderer::drawLaidOutText(Frame& f, const TextEntry& text, const FontRecord& font,
                               QPointF topLeft, Color c) {
    if (text.lineReady && f.direct && !f.o.vector) {
        glyphs_.draw(*f.direct, text.line, topLeft.x(), topLeft.y(),
                     qRgb(colorRed(c), colorGreen(c), colorBlue(c)));
        return;
    }
    f.state().setFont(fontFor(font));
    f.state().setPen(toQColor(c));
    f.penKey = ~uint64_t(0);
    if (f.o.vector)
        f.paint().drawText(QRectF(topLeft, text.size), Qt::AlignLeft | Qt::AlignTop,
                           text.layout.text());
    else
        f.paint().drawStaticText(topLeft, text.layout);
}

void Renderer::trimCaches() {
    // Entries of elements that were not drawn lately (deleted, or out of view for long) go.
    constexpr uint64_t keepFrames = 64;
    // A scan now and then is enough: an entry lives at most half as long again.
    if (frame_ - trimmedAt_ < keepFrames / 2) return;
    trimmedAt_ = frame_;
    if (texts_.size() > 512) {
        for (auto it = texts_.begin(); it != texts_.end();)
            it = frame_ - it->second.frame > keepFrames ? texts_.erase(it) : std::next(it);
    }
    if (pictures_.size() > 16) {
        for (auto it = pictures_.begin(); it != pictures_.end();)
            it = frame_ - it->second.frame > keepFrames ? pictures_.erase(it) : std::next(it);
    }
}

} // namespace qorv

// Text-like elements (texts, names, numbers, equations, coordinates, checks, tables, buttons)
// and bitmaps.
#include "view/renderer.h"

#include "model/uitext.h"
#include "view/labeltext.h"
#include "view/renderframe.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace qorv {

namespace {

// Where a text-like element keeps its text position (world, top-left of the text): the third
// and fourth values, except for names (first and second) and coordinates (a polar offset from
// their point).
bool textPosition(const Element& e, Point2& at) {
    switch (e.kind()) {
    case Kind::Name:
        at = firstPoint(e);
        return true;
    case Kind::Coordinates:
        if (!e.parent1) return false;
        at = {e.parent1->value[0] + e.value[0] * std::cos(e.value[1]),
              e.parent1->value[1] + e.value[0] * std::sin(e.value[1])};
        return true;
    default:
        at = secondPoint(e);
        return true;
    }
}

} // namespace

// One line of text of an element: highlight box or opaque background, then the text. On
// miniatures only a box of the text's extent.
void Renderer::drawLabelElement(Frame& f, const Element& e, Color c, int background) {
    if (e.kind() == Kind::Name && e.option == 0) return; // shown inside its element's own text
    Point2 at;
    if (!textPosition(e, at) || !std::isfinite(at.x) || !std::isfinite(at.y)) return;
    if (e.kind() == Kind::Name && !f.insidePlane(at.x, at.y)) return;
    const double s = f.scale();
    if (!f.worldBoxVisible(at.x, at.y - 2000 / s, at.x + 4000 / s, at.y)) return;
    const std::string text = labelText(f.doc, e);
    if (text.empty()) return;
    static const FontRecord fallback;
    const FontRecord& font = e.font ? *e.font : fallback;
    const TextEntry& entry = layoutText(&e, text, font, f.direct && !f.miniature);
    const QPointF topLeft = f.at(at) - QPointF(0.5, 0.5);
    if (f.miniature) {
        const QRectF box(topLeft, entry.size * s);
        f.state().setPen(toQColor(c));
        f.penKey = ~uint64_t(0);
        if (background >= 0)
            useBrush(f, background);
        else
            useNoBrush(f);
        f.paint().drawRect(box);
        return;
    }
    if (background >= 0) {
        const double m = f.highlighting ? 2 : 0;
        f.paint().fillRect(QRectF(topLeft, entry.size).adjusted(-m, -m, m, m),
                           toQColor(background));
    }
    drawLaidOutText(f, entry, font, topLeft, c);
}

// The lines of a text block split by its font runs (a line break counts as two characters of a
// run; characters beyond the last run keep its font), with their measures.
struct Renderer::TextBlock {
    struct Piece {
        QString text;
        const FontRecord* font;
    };
    std::vector<std::vector<Piece>> lines;
    std::vector<double> ascents, heights;
    double width = 0, height = 0;
};

bool Renderer::layoutTextBlock(const Element& e, TextBlock& b) {
    auto* t = e.tailAs<TextTail>();
    if (!t || t->lines.empty()) return false;
    b.lines.assign(t->lines.size(), {});
    const size_t runCount = t->runs.size();
    size_t run = 0;
    int64_t leftInRun = runCount ? t->runs[0].length : 0;
    auto nextRun = [&] {
        while (run < runCount && leftInRun <= 0) {
            ++run;
            leftInRun = run < runCount ? t->runs[run].length : 0;
        }
    };
    auto fontNow = [&]() -> const FontRecord* {
        if (run < runCount) return &t->runs[run].font;
        return runCount ? &t->runs[runCount - 1].font : &t->font;
    };
    for (size_t i = 0; i < t->lines.size(); ++i) {
        const QString line = toQString(t->lines[i]);
        qsizetype pos = 0;
        while (pos < line.size()) {
            nextRun();
            qsizetype n = line.size() - pos;
            if (run < runCount) n = qsizetype(std::min<int64_t>(leftInRun, n));
            b.lines[i].push_back({line.mid(pos, n), fontNow()});
            pos += n;
            leftInRun -= n;
        }
        if (b.lines[i].empty()) b.lines[i].push_back({QString(), fontNow()});
        for (int lineBreak = 2; lineBreak > 0 && run < runCount;) {
            nextRun();
            if (run >= runCount) break;
            const int64_t take = std::min<int64_t>(lineBreak, leftInRun);
            lineBreak -= int(take);
            leftInRun -= take;
        }
    }
    b.width = b.height = 0;
    b.ascents.assign(b.lines.size(), 0.0);
    b.heights.assign(b.lines.size(), 0.0);
    for (size_t i = 0; i < b.lines.size(); ++i) {
        double w = 0, ascent = 0, descent = 0;
        for (const TextBlock::Piece& p : b.lines[i]) {
            QFontMetricsF m(fontFor(*p.font));
            w += m.horizontalAdvance(p.text);
            ascent = std::max(ascent, m.ascent());
            descent = std::max(descent, m.descent());
        }
        b.ascents[i] = ascent;
        b.heights[i] = ascent + descent + 1;
        b.width = std::max(b.width, w);
        b.height += b.heights[i];
    }
    return true;
}

// A text block: its lines, with the font runs that cover them.
void Renderer::drawText(Frame& f, const Element& e, Color c, int background, bool own) {
    auto* t = e.tailAs<TextTail>();
    if (!t || t->lines.empty()) return;
    const Point2 at{double(t->x), double(t->y)};
    const double s = f.scale();
    if (!f.worldBoxVisible(at.x, at.y - 4000 / s, at.x + 4000 / s, at.y)) return;
    TextBlock block;
    if (!layoutTextBlock(e, block)) return;
    const double width = block.width, height = block.height;
    const QPointF topLeft = f.at(at) - QPointF(0.5, 0.5);
    if (f.miniature) {
        f.state().setPen(toQColor(c));
        f.penKey = ~uint64_t(0);
        if (background >= 0)
            useBrush(f, background);
        else
            useNoBrush(f);
        f.paint().drawRect(QRectF(topLeft, QSizeF(width, height) * s));
        return;
    }
    if (background >= 0) {
        const double m = f.highlighting ? 2 : 0;
        f.paint().fillRect(QRectF(topLeft, QSizeF(width, height)).adjusted(-m, -m, m, m),
                           toQColor(background));
    }
    f.penKey = ~uint64_t(0);
    double y = topLeft.y();
    for (size_t i = 0; i < block.lines.size(); ++i) {
        double x = topLeft.x();
        for (const TextBlock::Piece& p : block.lines[i]) {
            const QFont& font = fontFor(*p.font);
            f.state().setFont(font);
            f.state().setPen(toQColor(own ? p.font->color : c));
            f.paint().drawText(QPointF(x, y + block.ascents[i]), p.text);
            x += QFontMetricsF(font).horizontalAdvance(p.text);
        }
        y += block.heights[i];
    }
}

// The cells of a table: a header per referenced element, then its values; columns side by side,
// or rows one under the other when the table runs horizontally (option -100).
struct Renderer::TableLayout {
    std::vector<std::vector<QString>> cells; // column by column, header first
    std::vector<double> colW;
    double cellW = 0, cellH = 0, pad = 4;
    size_t nCells = 0;
    bool horizontal = false;
    QFont font;

    QRectF cell(QPointF topLeft, size_t k, size_t r) const {
        double x = topLeft.x(), y = topLeft.y();
        if (horizontal) {
            x += double(r) * cellW;
            y += double(k) * cellH;
            return QRectF(x, y, cellW, cellH);
        }
        for (size_t i = 0; i < k; ++i)
            x += colW[i] + 2 * pad;
        y += double(r) * cellH;
        return QRectF(x, y, colW[k] + 2 * pad, cellH);
    }
    QSizeF extent() const {
        const QRectF last = cell(QPointF(), cells.size() - 1, nCells - 1);
        return {last.right(), last.bottom()};
    }
};

bool Renderer::layoutTable(const Document& doc, const Element& e, TableLayout& l) {
    auto* t = e.tailAs<TableTail>();
    if (!t || t->columns.empty()) return false;
    static const FontRecord fallback;
    l.font = fontFor(e.font ? *e.font : fallback);
    const QFontMetricsF m(l.font);
    const int rows = std::clamp(t->rows, 0, TableTail::MaxRows);
    l.horizontal = e.option == NoValue;
    l.cellH = m.height() + 2 * l.pad;
    l.cells.assign(t->columns.size(), {});
    l.colW.assign(t->columns.size(), 0.0);
    for (size_t k = 0; k < t->columns.size(); ++k) {
        const TableColumn& col = t->columns[k];
        std::string head = col.element ? doc.nameOf(col.element) : std::string();
        if (head.empty() && col.element) head = uiText().kindName(col.element->kind());
        l.cells[k].push_back(toQString(head));
        for (int r = 0; r < rows; ++r)
            l.cells[k].push_back(size_t(r) < col.values.size()
                                     ? toQString(numberText(col.values[size_t(r)], e.decimals))
                                     : QString());
        for (const QString& q : l.cells[k])
            l.colW[k] = std::max(l.colW[k], m.horizontalAdvance(q));
    }
    l.nCells = size_t(rows) + 1;
    double maxW = 0;
    for (double w : l.colW)
        maxW = std::max(maxW, w);
    l.cellW = maxW + 2 * l.pad;
    return true;
}

void Renderer::drawTable(Frame& f, const Element& e, Color c) {
    const Point2 at = secondPoint(e);
    const double s = f.scale();
    if (!f.worldBoxVisible(at.x, at.y - 8000 / s, at.x + 8000 / s, at.y)) return;
    TableLayout l;
    if (!layoutTable(f.doc, e, l)) return;
    const QPointF topLeft = f.at(at) - QPointF(0.5, 0.5);
    if (f.miniature) {
        f.state().setPen(toQColor(c));
        f.penKey = ~uint64_t(0);
        useNoBrush(f);
        const QSizeF extent = l.extent();
        f.paint().drawRect(QRectF(topLeft, QSizeF(extent.width() * s, extent.height() * s)));
        return;
    }
    usePen(f, c, 1);
    useNoBrush(f);
    f.state().setFont(l.font);
    for (size_t k = 0; k < l.cells.size(); ++k) {
        for (size_t r = 0; r < l.nCells; ++r) {
            const QRectF box = l.cell(topLeft, k, r);
            f.paint().drawRect(box);
            f.paint().drawText(box.adjusted(l.pad, l.pad, -l.pad, -l.pad),
                               Qt::AlignRight | Qt::AlignVCenter, l.cells[k][r]);
        }
    }
}

// A button: its caption on a face of the colour kept in `shape`, raised, or sunk while its
// state word (option2) is 0.
void Renderer::drawButton(Frame& f, const Element& e, Color c, int face) {
    const Point2 at = secondPoint(e);
    const double s = f.scale();
    if (!f.worldBoxVisible(at.x, at.y - 2000 / s, at.x + 4000 / s, at.y)) return;
    const std::string caption = labelText(f.doc, e);
    static const FontRecord fallback;
    const FontRecord& font = e.font ? *e.font : fallback;
    const TextEntry& entry = layoutText(&e, caption.empty() ? std::string(" ") : caption, font);
    const QPointF topLeft = f.at(at) - QPointF(0.5, 0.5);
    const QRectF box(topLeft, entry.size + QSizeF(12, 8));
    if (f.miniature) {
        f.state().setPen(toQColor(c));
        f.penKey = ~uint64_t(0);
        useBrush(f, face >= 0 ? face : rgb(192, 192, 192));
        f.paint().drawRect(QRectF(topLeft, box.size() * s));
        return;
    }
    if (f.highlighting) { // the selection frame around the face
        f.paint().fillRect(box.adjusted(-2, -2, 2, 2),
                           toQColor(face >= 0 ? face : f.doc.selectedColor));
        return;
    }
    const QColor faceColour = toQColor(face >= 0 ? face : rgb(192, 192, 192));
    f.paint().fillRect(box, faceColour);
    const bool up = e.option2 != 0;
    const QColor light = faceColour.lighter(150), dark = faceColour.darker(200);
    f.state().setPen(up ? light : dark);
    f.paint().drawLine(box.topLeft(), box.topRight() - QPointF(1, 0));
    f.paint().drawLine(box.topLeft(), box.bottomLeft() - QPointF(0, 1));
    f.state().setPen(up ? dark : light);
    f.paint().drawLine(box.bottomLeft() - QPointF(0, 1), box.bottomRight() - QPointF(1, 1));
    f.paint().drawLine(box.topRight() - QPointF(1, 0), box.bottomRight() - QPointF(1, 1));
    f.state().setFont(fontFor(font));
    f.state().setPen(toQColor(c));
    f.penKey = ~uint64_t(0);
    const QPointF textAt = topLeft + QPointF(6, 4) + (up ? QPointF() : QPointF(1, 1));
    if (f.o.vector)
        f.paint().drawText(QRectF(textAt, entry.size), Qt::AlignLeft | Qt::AlignTop,
                           entry.layout.text());
    else
        f.paint().drawStaticText(textAt, entry.layout);
}

// Decoded once per picture and kept while the element is drawn.
const QImage* Renderer::pictureOf(const Element& e) {
    auto* t = e.tailAs<BitmapTail>();
    if (!t || t->picture.empty()) return nullptr;
    // A cheap fingerprint of the bytes, so that a changed picture is decoded again.
    uint64_t sample = t->picture.size();
    const size_t stride = std::max<size_t>(1, t->picture.size() / 64);
    for (size_t i = 0; i < t->picture.size(); i += stride)
        sample = sample * 1099511628211ull + t->picture[i];
    PictureEntry& entry = pictures_[&e];
    // Only the Windows bitmap format, whatever else the bytes look like: its header gives the
    // size before anything is decoded.
    const auto decode = [&](bool whole, QSize& size) {
        QBuffer buffer;
        buffer.setData(QByteArray::fromRawData(
            reinterpret_cast<const char*>(t->picture.data()),
            qsizetype(std::min<size_t>(t->picture.size(), size_t(INT32_MAX)))));
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "bmp");
        reader.setAutoDetectImageFormat(false);
        reader.setDecideFormatFromContent(false);
        if (!whole) {
            size = reader.canRead() ? reader.size() : QSize();
            return QImage();
        }
        return reader.read();
    };
    if (entry.data != t->picture.data() || entry.bytes != t->picture.size() ||
        entry.sample != sample || entry.pixels < 0) {
        entry.data = t->picture.data();
        entry.bytes = t->picture.size();
        entry.sample = sample;
        entry.image = QImage();
        entry.failed = false;
        QSize size;
        decode(false, size);
        entry.pixels = size.isValid() ? int64_t(size.width()) * size.height() : 0;
    }
    if (entry.pixels <= 0 || entry.pixels > MaxPicturePixels || entry.failed) return nullptr;
    if (entry.frame != frame_) {
        if (framePicturePixels_ + entry.pixels > MaxDrawingPicturePixels) return nullptr;
        framePicturePixels_ += entry.pixels;
        entry.frame = frame_;
    }
    if (entry.image.isNull()) {
        QSize size;
        entry.image = decode(true, size);
        entry.failed = entry.image.isNull();
        // Room for it among the pictures kept: those drawn least recently go.
        int64_t kept = cachedPicturePixels();
        while (kept > MaxCachedPicturePixels) {
            PictureEntry* oldest = nullptr;
            for (auto& [owner, other] : pictures_)
                if (!other.image.isNull() && other.frame != frame_ &&
                    (!oldest || other.frame < oldest->frame))
                    oldest = &other;
            if (!oldest) break;
            kept -= int64_t(oldest->image.width()) * oldest->image.height();
            oldest->image = QImage();
        }
    }
    return entry.image.isNull() ? nullptr : &entry.image;
}

int64_t Renderer::cachedPicturePixels() const {
    int64_t pixels = 0;
    for (const auto& [owner, entry] : pictures_)
        pixels += int64_t(entry.image.width()) * entry.image.height();
    return pixels;
}

// A bitmap: free, with its top-left corner at its first two values; anchored to a point, placed
// by `option` 1..9 (the point at the left, centre or right of the top, middle or bottom row).
void Renderer::drawBitmap(Frame& f, const Element& e, Color c, int style) {
    const QImage* image = pictureOf(e);
    if (!image) return;
    const double s = f.scale();
    const double w = image->width() * s, h = image->height() * s;
    Point2 anchor = firstPoint(e);
    if (e.parent1) anchor = positionOf(e.parent1);
    if (!std::isfinite(anchor.x) || !std::isfinite(anchor.y)) return;
    QPointF topLeft = f.at(anchor) - QPointF(0.5, 0.5);
    if (e.parent1 && e.option >= 1 && e.option <= 9) {
        const int col = (e.option - 1) % 3, row = (e.option - 1) / 3;
        topLeft -= QPointF(w * col / 2.0, h * row / 2.0);
    }
    const QRectF box(topLeft, QSizeF(w, h));
    if (!box.intersects(QRectF(f.clip.left, f.clip.top, f.clip.right - f.clip.left,
                               f.clip.bottom - f.clip.top)))
        return;
    if (style <= -2) { // the selection frame (a bitmap's own style word is -1)
        const double m = lineWidthOf(style) / 2.0;
        f.paint().fillRect(box.adjusted(-m, -m, m, m), toQColor(c));
        return;
    }
    f.paint().drawImage(box, *image);
}

// ---- boxes for hit testing ---------------------------------------------------------------------

bool Renderer::elementBox(const Document& doc, const Element& e, const ViewTransform& view,
                          QRectF& box) {
    const double s = view.scale > 0 ? view.scale : 1.0;
    auto placed = [&](Point2 w) {
        return QPointF(std::floor(view.toScreenX(w.x) + 0.5),
                       std::floor(view.toScreenY(w.y) + 0.5));
    };
    static const FontRecord fallback;
    switch (e.kind()) {
    case Kind::Name:
    case Kind::Number:
    case Kind::Function:
    case Kind::Equation:
    case Kind::Coordinates:
    case Kind::Property: {
        if (e.kind() == Kind::Name && e.option == 0) return false;
        Point2 at;
        if (!textPosition(e, at) || !std::isfinite(at.x) || !std::isfinite(at.y)) return false;
        const std::string text = labelText(doc, e);
        if (text.empty()) return false;
        const TextEntry& entry = layoutText(&e, text, e.font ? *e.font : fallback);
        box = QRectF(placed(at), entry.size * s);
        return true;
    }
    case Kind::Button: {
        const std::string caption = labelText(doc, e);
        const TextEntry& entry = layoutText(&e, caption.empty() ? std::string(" ") : caption,
                                            e.font ? *e.font : fallback);
        box = QRectF(placed(secondPoint(e)), (entry.size + QSizeF(12, 8)) * s);
        return true;
    }
    case Kind::Text: {
        auto* t = e.tailAs<TextTail>();
        TextBlock block;
        if (!t || !layoutTextBlock(e, block)) return false;
        box = QRectF(placed({double(t->x), double(t->y)}), QSizeF(block.width, block.height) * s);
        return true;
    }
    case Kind::Table: {
        TableLayout l;
        if (!layoutTable(doc, e, l)) return false;
        box = QRectF(placed(secondPoint(e)), l.extent() * s);
        return true;
    }
    case Kind::Bitmap: {
        const QImage* image = pictureOf(e);
        if (!image) return false;
        const double w = image->width() * s, h = image->height() * s;
        Point2 anchor = firstPoint(e);
        if (e.parent1) anchor = positionOf(e.parent1);
        if (!std::isfinite(anchor.x) || !std::isfinite(anchor.y)) return false;
        QPointF topLeft = placed(anchor);
        if (e.parent1 && e.option >= 1 && e.option <= 9) {
            const int col = (e.option - 1) % 3, row = (e.option - 1) / 3;
            topLeft -= QPointF(w * col / 2.0, h * row / 2.0);
        }
        box = QRectF(topLeft, QSizeF(w, h));
        return true;
    }
    default:
        return false;
    }
}

} // namespace qorv

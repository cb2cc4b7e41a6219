#include "view/hoveroverlay.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qorv {

QRect devicePixels(const QImage& image, QRect r) {
    const qreal k = image.devicePixelRatio();
    if (k == 1.0) return r;
    return QRectF(r.x() * k, r.y() * k, r.width() * k, r.height() * k).toAlignedRect();
}

namespace {

void copyRect(const QImage& from, QImage& to, QRect r) {
    r = devicePixels(to, r);
    r &= from.rect();
    r &= to.rect();
    if (r.isEmpty() || from.format() != to.format()) return;
    const int bytes = r.width() * (from.depth() / 8);
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(to.scanLine(y) + r.left() * (to.depth() / 8),
                    from.constScanLine(y) + r.left() * (from.depth() / 8), size_t(bytes));
}

} // namespace

void HoverOverlay::invalidate() {
    cleanValid_ = false;
    shapesShown_ = false;
    labelRect_ = QRect();
}

QRect HoverOverlay::restoreLabel(QImage& bitmap) {
    const QRect r = labelRect_;
    if (!r.isEmpty() && !labelPatch_.isNull()) {
        QPainter p(&bitmap);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(r.topLeft(), labelPatch_);
    }
    labelRect_ = QRect();
    return r;
}

QRect HoverOverlay::clear(QImage& bitmap) {
    QRect changed = restoreLabel(bitmap);
    if (shapesShown_ && cleanValid_) {
        copyRect(clean_, bitmap, shapesArea_);
        changed |= shapesArea_;
    }
    shapesShown_ = false;
    return changed;
}

namespace {

double luminance(QColor c) {
    const auto channel = [](int v) {
        const double x = v / 255.0;
        return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

} // namespace

double contrastRatio(QColor a, QColor b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(QColor text, QColor background) {
    constexpr double Wanted = 4.5;
    if (contrastRatio(text, background) >= Wanted) return text;
    // Black and white give the most contrast each on one side of this luminance.
    const QColor towards = luminance(background) < 0.18 ? QColor(255, 255, 255) : QColor(0, 0, 0);
    const auto mix = [&](double t) {
        return QColor::fromRgb(
            int(std::lround(text.red() + (towards.red() - text.red()) * t)),
            int(std::lround(text.green() + (towards.green() - text.green()) * t)),
            int(std::lround(text.blue() + (towards.blue() - text.blue()) * t)));
    };
    double lo = 0, hi = 1;
    for (int i = 0; i < 12; ++i) {
        const double mid = (lo + hi) / 2;
        (contrastRatio(mix(mid), background) >= Wanted ? hi : lo) = mid;
    }
    return mix(hi);
}

QRect HoverOverlay::show(QImage& bitmap, QRect area, const std::function<void(QImage&)>& shapes,
                         bool shapesChanged, const QString& label, const QFont& font, QColor colour,
                         QColor background, QPoint labelAt) {
    QRect changed = restoreLabel(bitmap);
    if (shapesChanged) {
        if (shapesShown_ && cleanValid_) {
            copyRect(clean_, bitmap, shapesArea_);
            changed |= shapesArea_;
            shapesShown_ = false;
        }
        if (shapes) {
            if (!cleanValid_) {
                if (clean_.size() != bitmap.size() || clean_.format() != bitmap.format() ||
                    clean_.devicePixelRatio() != bitmap.devicePixelRatio()) {
                    clean_ = QImage(bitmap.size(), bitmap.format());
                    clean_.setDevicePixelRatio(bitmap.devicePixelRatio());
                }
                copyRect(bitmap, clean_, area);
                cleanValid_ = true;
            }
            shapes(bitmap);
            shapesShown_ = true;
            shapesArea_ = area;
            changed |= area;
        }
    }
    if (!label.isEmpty()) {
        const QFontMetrics m(font);
        QRect r(labelAt, m.size(Qt::TextSingleLine, label) + QSize(2, 2));
        // Kept inside the drawing area.
        if (r.right() > area.right() - 2) r.moveRight(area.right() - 2);
        if (r.bottom() > area.bottom() - 2) r.moveBottom(labelAt.y() - 24);
        if (r.left() < area.left()) r.moveLeft(area.left());
        if (r.top() < area.top()) r.moveTop(area.top());
        r &= QRect(QPoint(0, 0), bitmap.deviceIndependentSize().toSize());
        if (!r.isEmpty()) {
            labelPatch_ = bitmap.copy(devicePixels(bitmap, r));
            labelRect_ = r;
            QPainter p(&bitmap);
            p.fillRect(r, background);
            p.setFont(font);
            p.setPen(readableOn(colour, background));
            p.drawText(r.adjusted(1, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, label);
            changed |= r;
        }
    }
    return changed;
}

} // namespace qorv

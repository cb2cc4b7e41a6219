#include "view/draglayers.h"

#include "model/document.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qorv {

DragLayers::Key DragLayers::keyOf(const Document& doc, const RenderOptions& o) {
    return {&doc,         doc.head,       o.stop,         o.view.x0, o.view.y0,
            o.view.scale, o.planeSize,    o.width,        o.height,  o.antialiased,
            o.showHidden, doc.background, doc.hiddenColor};
}

void DragLayers::reset() {
    ready_ = false;
    suspended_ = false;
    moving_.clear();
    coloured_.clear();
    layeredFrames_ = 0;
}

// The marks of a drag stay those of its first step; a moving element that lost its mark means
// another set of moving elements.
bool DragLayers::marksUnchanged() const {
    for (const Element* e : moving_)
        if (e->mark != 1) return false;
    return true;
}

void DragLayers::build(Renderer& renderer, QSize pixels, qreal ratio, const Document& doc,
                       const RenderOptions& options) {
    ready_ = false;
    moving_.clear();
    coloured_.clear();
    size_t count = 0;
    for (Element* e = doc.head; e && e != options.stop; e = e->next, ++count) {
        if (e->mark != 1) continue;
        moving_.push_back(e);
        if (e->colorParam) coloured_.push_back(e);
    }
    if (moving_.empty()) return;
    key_ = keyOf(doc, options);
    ready_ = true;
    // When most of the drawing moves, the copy of the still layer costs more than it saves.
    pays_ = moving_.size() * 4 <= count * 3;
    if (!pays_) return;
    // The same pixels as the target: on a scaled screen it holds more pixels than the view.
    if (still_.width() < pixels.width() || still_.height() < pixels.height())
        still_ = QImage(pixels, QImage::Format_RGB32);
    still_.setDevicePixelRatio(ratio);
    RenderOptions o = options;
    o.layer = RenderLayer::Still;
    o.trace = nullptr;
    o.marks = nullptr;
    o.overlay = nullptr;
    renderer.redraw(still_, doc, o);
}

// The pixels of the view on `target`: the area of the options in the target's own pixels.
static QSize viewPixels(const QImage& target, const RenderOptions& options) {
    const qreal k = target.devicePixelRatio();
    return {std::min(target.width(), int(std::ceil(options.width * k))),
            std::min(target.height(), int(std::ceil(options.height * k)))};
}

bool DragLayers::prepare(Renderer& renderer, const QImage& target, const Document& doc,
                         const RenderOptions& options) {
    const bool covered = !suspended_ && options.layer == RenderLayer::All &&
                         options.target == RenderTarget::MainBitmap && !options.vector &&
                         options.width > 0 && options.height > 0 &&
                         target.width() >= options.width && target.height() >= options.height &&
                         (target.format() == QImage::Format_RGB32 ||
                          target.format() == QImage::Format_ARGB32_Premultiplied);
    if (!covered) return false;
    const QSize pixels = viewPixels(target, options);
    const qreal ratio = target.devicePixelRatio();
    const bool stillFits = still_.width() >= pixels.width() && still_.height() >= pixels.height() &&
                           still_.devicePixelRatio() == ratio;
    if (!ready_ || !(keyOf(doc, options) == key_) || !marksUnchanged() || (pays_ && !stillFits))
        build(renderer, pixels, ratio, doc, options);
    return ready_ && pays_;
}

bool DragLayers::draw(Renderer& renderer, QImage& target, const Document& doc,
                      const RenderOptions& options) {
    if (!prepare(renderer, target, doc, options)) return false;
    // The still layer has no alpha: on a premultiplied target it is opaque all the same.
    const QSize pixels = viewPixels(target, options);
    const size_t rowBytes = size_t(pixels.width()) * 4;
    for (int y = 0; y < pixels.height(); ++y)
        std::memcpy(target.scanLine(y), still_.constScanLine(y), rowBytes);
    RenderOptions o = options;
    o.layer = RenderLayer::Moving;
    o.moving = &moving_;
    QPainter p(&target);
    renderer.redraw(p, doc, o);
    ++layeredFrames_;
    return true;
}

} // namespace qorv

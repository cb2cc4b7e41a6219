// The canvas's part in traces, blinking, animation and the step-by-step replay.
#include "app/drawingcanvas.h"

#include "geometry/animation.h"
#include "geometry/paramcolor.h"
#include "geometry/recalc.h"
#include "model/document.h"

#include <QPainter>
#include <QTimer>

namespace qorv {

void DrawingCanvas::drawTraces() {
    Document& doc = *document_;
    if (doc.traceList.empty()) return;
    RenderOptions o = renderOptions();
    o.target = RenderTarget::Trace;
    o.marks = nullptr;
    o.overlay = nullptr;
    QPainter p(&traceBitmap_);
    for (const Element* e : doc.traceList) {
        if (!e || !e->defined) continue;
        const EffectiveColors c = effectiveColors(*e);
        renderer_.drawElement(p, doc, *e, c.color, c.shape, -1, o);
    }
}

void DrawingCanvas::redrawWithoutTraces() {
    clearTrace();
    redraw();
    interaction_.refreshHover();
}

void DrawingCanvas::animate() {
    Document& doc = *document_;
    std::vector<Element*> moved;
    if (!animationStep(doc, &moved)) return;
    // A drag in progress owns the drawing; the positions catch up at its next move, drawn in
    // full (the moved elements are not the drag's).
    if (interaction_.gestureActive() && !moved.empty()) {
        dragLayers_.suspend();
        interaction_.dragRemark();
    }
    if (interaction_.gestureActive() || moved.empty()) return;
    doc.markDescendantsOf(moved);
    recalcMarked(doc);
    doc.clearMarks();
    redraw();
    interaction_.refreshHover();
}

void DrawingCanvas::showReplayStep(Element* step, bool whole) {
    replayStep_ = step;
    replayWhole_ = whole;
    recalcUpTo(*document_, step && !whole ? step->next : nullptr);
    blinkOn_ = false;
    redraw();
}

// The blinking starts again, from its "on" phase, at the redraw that follows.
void DrawingCanvas::traceListChanged() {
    blinkTimer_->stop();
}

std::vector<Element*> DrawingCanvas::blinkElements() {
    Document& doc = *document_;
    if (replayStep_) {
        for (Element* e = doc.head; e; e = e->next)
            if (e == replayStep_) return {e};
        replayStep_ = nullptr; // gone with an undo or a cut
        return {};
    }
    if (interaction_.tool() == Tool::Trace) return doc.traceList;
    return interaction_.engine().picked();
}

bool DrawingCanvas::blinking() const {
    return blinkTimer_->isActive();
}

void DrawingCanvas::updateBlinking() {
    const bool any = !blinkElements().empty();
    if (any && !blinkTimer_->isActive()) {
        blinkOn_ = true; // what was just picked shows at once
        blinkTimer_->start();
    } else if (!any && blinkTimer_->isActive()) {
        blinkTimer_->stop();
    }
}

void DrawingCanvas::blinkTick() {
    if (blinkElements().empty()) {
        blinkTimer_->stop();
        return;
    }
    blinkOn_ = !blinkOn_;
    // The "off" phase is the drawing as it is (a highlight is wider than the element).
    if (!blinkOn_) return redraw();
    // The hover's highlight and label come off first; the next mouse move puts them back.
    catchUp();
    overlay_.clear(mainBitmap_);
    hover_ = HoverFeedback{};
    drawBlinkPhase();
    area_->update();
}

void DrawingCanvas::drawBlinkPhase() {
    if (!blinkOn_) return;
    const std::vector<Element*> elements = blinkElements();
    Document& doc = *document_;
    RenderOptions o = renderOptions();
    QPainter p(&mainBitmap_);
    for (const Element* e : elements) {
        if (!e || !e->defined) continue;
        int style = effectiveColors(*e).shape;
        const int k = e->kind();
        if (k == Kind::Point)
            style = 3;
        else if (k == Kind::Locus && e->parent1 && e->parent1->colorParam)
            style = -1;
        else if (k == Kind::Bitmap)
            style = -2;
        renderer_.drawElement(p, doc, *e, doc.selectedColor, style, -1, o);
    }
}

} // namespace qorv

// The drawing of a drag step in two layers. When the drag starts, what does not move (every
// element but the marked ones: the dragged elements and their descendants) is drawn once into an
// image of its own; each step copies that image and draws only the moving elements over it, then
// the traces, marks and overlay (when most of the drawing moves, every step is drawn in full).
// The moving elements may so lie above still ones that the full
// drawing puts over them; the frame after the drag is a full redraw again.
#pragma once

#include "view/renderer.h"

#include <QImage>

#include <vector>

namespace qorv {

class Document;
struct Element;

class DragLayers {
  public:
    // Draws one step into `target` (32 bits a pixel, at least options.width x options.height).
    // The still layer is made at the first step, and again when the view, the size, the path or
    // the marks changed. False when layers cannot draw this frame (nothing to move, a target or
    // options they do not cover, suspended): then nothing is drawn and the caller redraws fully.
    bool draw(Renderer& renderer, QImage& target, const Document& doc,
              const RenderOptions& options);
    // Forgets the still layer (the drag ended, the elements were replaced).
    void reset();
    // Until the next reset, every frame is drawn fully (something that is not marked changes
    // during the drag, e.g. an animation step).
    void suspend() {
        reset();
        suspended_ = true;
    }
    // Whether the moving elements of this drag are known, and which of them a number colours.
    bool ready() const { return ready_; }
    const std::vector<Element*>& colouredMoving() const { return coloured_; }
    // Frames drawn from the still layer since the last reset.
    int layeredFrames() const { return layeredFrames_; }

  private:
    struct Key {
        const Document* doc = nullptr;
        const Element* head = nullptr;
        const Element* stop = nullptr;
        double x0 = 0, y0 = 0, scale = 0, planeSize = 0;
        int width = 0, height = 0;
        bool antialiased = false, showHidden = false;
        Color background = 0, hidden = 0;
        bool operator==(const Key&) const = default;
    };
    static Key keyOf(const Document& doc, const RenderOptions& o);
    // Whether layers serve this frame on `target`; the still layer is made or made again.
    bool prepare(Renderer& renderer, const QImage& target, const Document& doc,
                 const RenderOptions& options);
    bool marksUnchanged() const;
    void build(Renderer& renderer, QSize pixels, qreal ratio, const Document& doc,
               const RenderOptions& options);

    QImage still_;
    std::vector<Element*> moving_;
    std::vector<Element*> coloured_;
    Key key_;
    bool ready_ = false;
    bool pays_ = false; // few enough elements move for the layers to be worth it
    bool suspended_ = false;
    int layeredFrames_ = 0;
};

} // namespace qorv

// The zoom tool: dragging up enlarges the construction about the pressed point, dragging down
// shrinks it. The view scale stays 1; the construction's own coordinates change.
#pragma once

#include "model/element.h"

#include <functional>

namespace qorv {

class Document;

// The factor of one mouse move from `previous` to `current` (world points): |1 + 0.003 dy|.
double zoomFactor(Point2 previous, Point2 current);

// One zoom drag. `scale` applies a factor about the centre (normally scaleConstruction of the
// geometry engine followed by recalculation and redraw).
class ZoomDrag {
  public:
    using Scaler = std::function<void(Point2 centre, double factor)>;
    explicit ZoomDrag(Scaler scale) : scale_(std::move(scale)) {}

    void press(Point2 world);
    // Returns the factor applied (1 when the move was horizontal or no drag runs).
    double move(Point2 world);
    void release() { active_ = false; }
    bool active() const { return active_; }
    Point2 centre() const { return centre_; }

  private:
    Scaler scale_;
    bool active_ = false;
    Point2 centre_;
    Point2 previous_;
};

} // namespace qorv

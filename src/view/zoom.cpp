#include "view/zoom.h"

#include "model/document.h"

#include <cmath>

namespace qorv {

double zoomFactor(Point2 previous, Point2 current) {
    return std::fabs(1.0 + 0.003 * (current.y - previous.y));
}

void ZoomDrag::press(Point2 world) {
    active_ = true;
    centre_ = world;
    previous_ = world;
}

double ZoomDrag::move(Point2 world) {
    if (!active_) return 1.0;
    const double k = zoomFactor(previous_, world);
    previous_ = world;
    if (k == 1.0 || !std::isfinite(k) || k == 0.0) return 1.0;
    if (scale_) scale_(centre_, k);
    return k;
}

} // namespace qorv

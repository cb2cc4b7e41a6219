// What the hover draws over the finished drawing: the highlight of the element under the pointer
// (or the element under construction following the pointer) and the cursor label. Everything is
// drawn straight into the drawing bitmap over saved pixels and taken away by putting them back,
// so moving the mouse never redraws the construction.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <functional>

namespace qorv {

// The pixels of `image` under r, r given in the coordinates of the area it is drawn for (they
// differ when the image has a device pixel ratio).
QRect devicePixels(const QImage& image, QRect r);

class HoverOverlay {
  public:
    // The bitmap was redrawn: nothing of the overlay is on it any more.
    void invalidate();

    // Puts back the pixels under everything drawn; returns the area that changed.
    QRect clear(QImage& bitmap);

    // Shows a new hover on `bitmap` (whose visible part is `area`): `shapes` paints the
    // highlight and previews (null: none; `shapesChanged` false keeps the ones already shown),
    // then the label at `labelAt` (top-left before it is kept inside the area). Returns the
    // area that changed.
    QRect show(QImage& bitmap, QRect area, const std::function<void(QImage&)>& shapes,
               bool shapesChanged, const QString& label, const QFont& font, QColor colour,
               QPoint labelAt);

    // The rectangle the label took last (empty when none).
    QRect labelRect() const { return labelRect_; }
    bool hasShapes() const { return shapesShown_; }

  private:
    QRect restoreLabel(QImage& bitmap);

    QImage clean_; // the bitmap as drawn, taken before the first shape
    bool cleanValid_ = false;
    bool shapesShown_ = false;
    QRect shapesArea_;
    QImage labelPatch_;
    QRect labelRect_;
};

} // namespace qorv

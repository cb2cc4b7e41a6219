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

// The contrast ratio of two colours (1 for equal ones, 21 for black and white), from their
// relative luminance as the accessibility guidelines define it.
double contrastRatio(QColor a, QColor b);
// `text` as it is, when it reads well on `background` (a contrast ratio of at least 4.5);
// otherwise mixed towards white on a dark background, towards black on a light one, just enough.
QColor readableOn(QColor text, QColor background);

class HoverOverlay {
  public:
    // The bitmap was redrawn: nothing of the overlay is on it any more.
    void invalidate();

    // Puts back the pixels under everything drawn; returns the area that changed.
    QRect clear(QImage& bitmap);

    // Shows a new hover on `bitmap` (whose visible part is `area`): `shapes` paints the
    // highlight and previews (null: none; `shapesChanged` false keeps the ones already shown),
    // then the label at `labelAt` (top-left before it is kept inside the area) on a box of
    // `background`, in `colour` made readable on it. Returns the area that changed.
    QRect show(QImage& bitmap, QRect area, const std::function<void(QImage&)>& shapes,
               bool shapesChanged, const QString& label, const QFont& font, QColor colour,
               QColor background, QPoint labelAt);

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

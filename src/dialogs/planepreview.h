// The whole plane in miniature with a rectangle on it that can be dragged: the view in "Mover la
// pantalla", the printed page in "Imprimir". Shared by both dialogs.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

class QFrame;
class QWidget;

namespace qorv {

class DialogContext;

constexpr int PlanePreviewSide = 340;

// Draws the context's whole plane, recalculated, into `image` (PlanePreviewSide square) at `scale`
// preview pixels per plane pixel.
void drawPlanePreview(DialogContext& context, double scale, QImage& image);

// Paints the preview and the rectangle on it: cyan, then black one pixel further out.
void paintPlanePreview(QWidget* preview, const QImage& image, const QRect& rectangle);

// The rectangle's origin kept inside the preview.
QPoint clampedToPreview(QPoint origin, QSize size);

// The bevel `Bevel1` at `at` in `dialog` with the preview widget inside, its mouse and paint
// events going to `dialog`'s event filter.
QWidget* makePlanePreview(QWidget* dialog, QPoint at, QFrame*& bevel);

// The plane-size track bar (0..1000) between the smallest and largest plane of the screen.
int planeTrackPosition(DialogContext& context, double planeSize);
double planeAtTrackPosition(DialogContext& context, int position);

// The view fields and the plane size at a dialog's opening, put back when it closes.
struct SavedPlaneView {
    double left = 0, top = 0, right = 0, bottom = 0, plane = 0;
    static SavedPlaneView of(DialogContext& context);
    void restore(DialogContext& context) const;
};

} // namespace qorv

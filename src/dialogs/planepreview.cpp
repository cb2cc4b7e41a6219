#include "dialogs/planepreview.h"

#include "dialogs/dialogcontext.h"
#include "geometry/recalc.h"
#include "model/document.h"
#include "view/renderer.h"
#include "view/viewtransform.h"

#include <QFrame>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace qorv {

void drawPlanePreview(DialogContext& context, double scale, QImage& image) {
    Document& doc = context.document();
    recalcUpTo(doc);
    RenderOptions o;
    const double half = context.planeSize() / 2;
    o.view = ViewTransform{-half, half, scale};
    o.width = PlanePreviewSide;
    o.height = PlanePreviewSide;
    o.target = RenderTarget::Miniature;
    o.showHidden = context.showHidden();
    o.planeSize = context.planeSize();
    context.renderer().redraw(image, doc, o);
}

void paintPlanePreview(QWidget* preview, const QImage& image, const QRect& r) {
    QPainter p(preview);
    p.drawImage(0, 0, image);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 255, 255), 0));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(QPen(Qt::black, 0));
    p.drawRect(r.adjusted(-1, -1, 0, 0));
}

QPoint clampedToPreview(QPoint origin, QSize size) {
    return {std::clamp(origin.x(), 0, std::max(0, PlanePreviewSide - size.width())),
            std::clamp(origin.y(), 0, std::max(0, PlanePreviewSide - size.height()))};
}

QWidget* makePlanePreview(QWidget* dialog, QPoint at, QFrame*& bevel) {
    bevel = new QFrame(dialog);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::Box);
    bevel->setGeometry(at.x(), at.y(), PlanePreviewSide + 2, PlanePreviewSide + 2);
    auto* preview = new QWidget(bevel);
    preview->setObjectName(QStringLiteral("preview"));
    preview->setGeometry(1, 1, PlanePreviewSide, PlanePreviewSide);
    preview->setAttribute(Qt::WA_OpaquePaintEvent);
    preview->setMouseTracking(true);
    preview->installEventFilter(dialog);
    return preview;
}

int planeTrackPosition(DialogContext& context, double planeSize) {
    const QSize screen = context.screenSize();
    const double pmin = planeMinimum(screen.width(), screen.height());
    const double pmax = planeMaximum(screen.width(), screen.height());
    return int(std::lround(1000 * (planeSize - pmin) / (pmax - pmin)));
}

double planeAtTrackPosition(DialogContext& context, int position) {
    const QSize screen = context.screenSize();
    const double pmin = planeMinimum(screen.width(), screen.height());
    const double pmax = planeMaximum(screen.width(), screen.height());
    return pmin + (pmax - pmin) * position / 1000.0;
}

SavedPlaneView SavedPlaneView::of(DialogContext& context) {
    const Document& doc = context.document();
    return {doc.left, doc.top, doc.right, doc.bottom, context.planeSize()};
}

void SavedPlaneView::restore(DialogContext& context) const {
    Document& doc = context.document();
    doc.left = left;
    doc.top = top;
    doc.right = right;
    doc.bottom = bottom;
    if (context.planeSize() != plane) context.setPlaneSize(plane);
}

} // namespace qorv

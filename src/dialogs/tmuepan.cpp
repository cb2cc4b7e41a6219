#include "dialogs/tmuepan.h"

#include "dialogs/dialogcontext.h"
#include "dialogs/planepreview.h"

#include "geometry/recalc.h"
#include "model/document.h"
#include "model/uitext.h"
#include "view/qtexts.h"
#include "view/renderer.h"
#include "view/viewtransform.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSlider>

#include <algorithm>
#include <cmath>

namespace qorv {

TMuePan::TMuePan(DialogContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(text(Msg::MoveScreenCaption));
    setFixedSize(344, 376);

    preview_ = makePlanePreview(this, QPoint(1, 1), Bevel1);
    preview_->setCursor(Qt::CrossCursor); // the selection cursor

    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setRange(0, 1000);
    TrackBar1->setToolTip(text(Msg::PlaneSizeHint));
    TrackBar1->setGeometry(4, 347, 196, 26);

    BotOK = new QPushButton(text(Msg::OkButton), this);
    BotOK->setObjectName(QStringLiteral("BotOK"));
    BotOK->setGeometry(204, 347, 66, 26);
    BotOK->setDefault(true);
    BotCancel = new QPushButton(text(Msg::CancelButton), this);
    BotCancel->setObjectName(QStringLiteral("BotCancel"));
    BotCancel->setGeometry(274, 347, 66, 26);
    connect(BotOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BotCancel, &QPushButton::clicked, this, &QDialog::reject);

    // Opening: remember the view and the plane, fit the whole plane into the preview.
    Document& doc = context_.document();
    saved_ = SavedPlaneView::of(context_);
    corner_ = QPointF(doc.left, doc.top);
    scale_ = PreviewSide / saved_.plane;
    previewImage_ = QImage(PreviewSide, PreviewSide, QImage::Format_RGB32);
    placeRectangleFromView();
    redrawPreview();
    {
        const QSignalBlocker block(TrackBar1);
        TrackBar1->setValue(planeTrackPosition(context_, saved_.plane));
    }
    connect(TrackBar1, &QSlider::valueChanged, this, &TMuePan::trackBarChanged);
}

void TMuePan::placeRectangleFromView() {
    const double half = context_.planeSize() / 2;
    const QSize client = context_.drawingAreaSize();
    rectOrigin_ = QPoint(int(std::lround((corner_.x() + half) * scale_)),
                         int(std::lround((half - corner_.y()) * scale_)));
    rectSize_ = QSize(int(std::lround(client.width() * scale_)) + 1,
                      int(std::lround(client.height() * scale_)) + 1);
}

bool TMuePan::clampRectangle() {
    const QPoint before = rectOrigin_;
    rectOrigin_ = clampedToPreview(rectOrigin_, rectSize_);
    return rectOrigin_ != before;
}

// The document's view origin becomes the world point under the rectangle's corner, in whole
// plane pixels.
void TMuePan::moveViewToRectangle() {
    Document& doc = context_.document();
    const double half = context_.planeSize() / 2;
    doc.left = std::round(rectOrigin_.x() / scale_ - half);
    doc.top = std::round(half - rectOrigin_.y() / scale_);
    corner_ = QPointF(doc.left, doc.top);
    const QSize screen = context_.screenSize();
    updateFarCorner(doc, screen.width(), screen.height());
}

void TMuePan::redrawPreview() {
    drawPlanePreview(context_, scale_, previewImage_);
    preview_->update();
}

bool TMuePan::eventFilter(QObject* watched, QEvent* event) {
    if (watched != preview_) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Paint:
        paintPlanePreview(preview_, previewImage_, QRect(rectOrigin_, rectSize_));
        return true;
    case QEvent::MouseButtonPress: {
        auto* m = static_cast<QMouseEvent*>(event);
        const QPoint at = m->position().toPoint();
        const QRect inner = QRect(rectOrigin_, rectSize_).adjusted(2, 2, -2, -2);
        if (m->button() == Qt::LeftButton && inner.contains(at, true)) {
            dragging_ = true;
            pressPoint_ = at;
            pressOrigin_ = rectOrigin_;
            preview_->setCursor(Qt::ClosedHandCursor);
        }
        return true;
    }
    case QEvent::MouseMove: {
        auto* m = static_cast<QMouseEvent*>(event);
        const QPoint at = m->position().toPoint();
        if (!dragging_) {
            const bool over = QRect(rectOrigin_, rectSize_).contains(at);
            preview_->setCursor(over ? Qt::OpenHandCursor : Qt::CrossCursor);
            return true;
        }
        rectOrigin_ = pressOrigin_ + (at - pressPoint_);
        clampRectangle();
        moved_ = true;
        preview_->update();
        moveViewToRectangle();
        context_.redraw();
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (dragging_) {
            dragging_ = false;
            preview_->setCursor(Qt::OpenHandCursor);
        }
        return true;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void TMuePan::trackBarChanged(int position) {
    context_.setPlaneSize(planeAtTrackPosition(context_, position));
    scale_ = PreviewSide / context_.planeSize();
    placeRectangleFromView();
    // The view is kept where it was; a rectangle pushed back inside the smaller plane counts
    // as a move, applied on OK.
    if (clampRectangle()) moved_ = true;
    redrawPreview();
}

void TMuePan::done(int result) {
    if (!finished_) {
        finished_ = true;
        if (result == QDialog::Accepted) {
            if (moved_) moveViewToRectangle();
        } else {
            saved_.restore(context_);
        }
        context_.viewChanged();
    }
    QDialog::done(result);
}

} // namespace qorv

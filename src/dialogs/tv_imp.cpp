#include "dialogs/tv_imp.h"

#include "dialogs/dialogcontext.h"
#include "dialogs/planepreview.h"

#include "geometry/recalc.h"
#include "model/document.h"
#include "model/uitext.h"
#include "view/qtexts.h"
#include "view/renderer.h"
#include "view/resources.h"
#include "view/tooltable.h"
#include "view/viewtransform.h"

#include <QFrame>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include <algorithm>
#include <cmath>

namespace qorv {

namespace {

constexpr int InitialMagnificationPosition = 390; // 0.25 mm per pixel
constexpr int DragMargin = 4;

QLabel* label(QWidget* parent, int msg, int x, int y) {
    auto* l = new QLabel(text(msg), parent);
    l->setGeometry(x, y, 150, 18);
    return l;
}

} // namespace

TV_imp::TV_imp(DialogContext& context, QPrinter& printer, std::function<void(QPrinter&)> setup,
               const QString& title, QWidget* parent)
    : QDialog(parent), context_(context), printer_(printer), setup_(std::move(setup)),
      title_(title) {
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(text(Msg::PrintCaption));
    setFixedSize(504, 350);

    preview_ = makePlanePreview(this, QPoint(4, 4), Bevel1);
    preview_->setCursor(toolCursor(Cursor::Select));

    const int x = 352;
    label(this, Msg::PlaneSizeLabel, x, 8);
    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setRange(0, 1000);
    TrackBar1->setGeometry(x, 28, 146, 26);
    label(this, Msg::MagnificationLabel, x, 64);
    TrackBar2 = new QSlider(Qt::Horizontal, this);
    TrackBar2->setObjectName(QStringLiteral("TrackBar2"));
    TrackBar2->setRange(0, 1000);
    TrackBar2->setGeometry(x, 84, 146, 26);
    label(this, Msg::CopiesLabel, x, 124);
    Ed_ncop = new QLineEdit(QStringLiteral("1"), this);
    Ed_ncop->setObjectName(QStringLiteral("Ed_ncop"));
    Ed_ncop->setMaxLength(3);
    Ed_ncop->setValidator(new QIntValidator(0, 999, Ed_ncop));
    Ed_ncop->setGeometry(x, 144, 50, 24);
    UD_ncop = new QSpinBox(this);
    UD_ncop->setObjectName(QStringLiteral("UD_ncop"));
    UD_ncop->setRange(1, 999);
    UD_ncop->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    UD_ncop->setGeometry(x + 52, 144, 18, 24);
    // The arrows step the number in the edit field, which stays the one that counts.
    connect(UD_ncop, &QSpinBox::valueChanged, this,
            [this](int v) { Ed_ncop->setText(QString::number(v)); });

    bot_print = new QPushButton(text(Msg::PrintButton), this);
    bot_print->setObjectName(QStringLiteral("bot_print"));
    bot_print->setGeometry(x, 250, 146, 26);
    bot_print->setDefault(true);
    bot_opc = new QPushButton(text(Msg::PrinterOptionsButton), this);
    bot_opc->setObjectName(QStringLiteral("bot_opc"));
    bot_opc->setGeometry(x, 282, 146, 26);
    bot_cancel = new QPushButton(text(Msg::CancelButton), this);
    bot_cancel->setObjectName(QStringLiteral("bot_cancel"));
    bot_cancel->setGeometry(x, 314, 146, 26);
    connect(bot_print, &QPushButton::clicked, this, &TV_imp::print);
    connect(bot_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(bot_opc, &QPushButton::clicked, this, [this] {
        if (setup_) setup_(printer_);
        pageFromPrinter();
        placeRectangle();
        preview_->update();
    });

    // Opening: remember the view and the plane, fit the whole plane into the preview.
    Document& doc = context_.document();
    saved_ = SavedPlaneView::of(context_);
    corner_ = QPointF(doc.left, doc.top);
    scale_ = PreviewSide / saved_.plane;
    previewImage_ = QImage(PreviewSide, PreviewSide, QImage::Format_RGB32);
    magnification_ = magnificationAt(InitialMagnificationPosition);
    pageFromPrinter();
    placeRectangle();
    redrawPreview();
    {
        const QSignalBlocker block1(TrackBar1), block2(TrackBar2);
        TrackBar1->setValue(planeTrackPosition(context_, saved_.plane));
        TrackBar2->setValue(InitialMagnificationPosition);
    }
    connect(TrackBar1, &QSlider::valueChanged, this, &TV_imp::planeTrackBarChanged);
    connect(TrackBar2, &QSlider::valueChanged, this, &TV_imp::magnificationChanged);
}

int TV_imp::copies() const {
    return std::max(1, Ed_ncop->text().trimmed().toInt());
}

// The printable page in plane pixels at the magnification.
void TV_imp::pageFromPrinter() {
    const QRectF mm = printer_.pageLayout().paintRect(QPageLayout::Millimeter);
    pw_ = std::max(1, int(std::lround(mm.width() / magnification_)));
    ph_ = std::max(1, int(std::lround(mm.height() / magnification_)));
}

void TV_imp::placeRectangle() {
    const double half = context_.planeSize() / 2;
    rectOrigin_ = QPoint(int(std::lround((corner_.x() + half) * scale_)),
                         int(std::lround((half - corner_.y()) * scale_)));
    rectSize_ = QSize(int(std::lround(pw_ * scale_)) + 1, int(std::lround(ph_ * scale_)) + 1);
    clampRectangle();
}

void TV_imp::clampRectangle() {
    rectOrigin_ = clampedToPreview(rectOrigin_, rectSize_);
    const double half = context_.planeSize() / 2;
    corner_ = QPointF(rectOrigin_.x() / scale_ - half, half - rectOrigin_.y() / scale_);
}

void TV_imp::redrawPreview() {
    drawPlanePreview(context_, scale_, previewImage_);
    preview_->update();
}

bool TV_imp::eventFilter(QObject* watched, QEvent* event) {
    if (watched != preview_) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Paint:
        paintPlanePreview(preview_, previewImage_, QRect(rectOrigin_, rectSize_));
        return true;
    case QEvent::MouseButtonPress: {
        auto* m = static_cast<QMouseEvent*>(event);
        const QPoint at = m->position().toPoint();
        const QRect inner = QRect(rectOrigin_, rectSize_)
                                .adjusted(DragMargin, DragMargin, -DragMargin, -DragMargin);
        if (m->button() == Qt::LeftButton && inner.contains(at, true)) {
            dragging_ = true;
            pressPoint_ = at;
            pressOrigin_ = rectOrigin_;
            preview_->setCursor(toolCursor(Cursor::Pan));
        }
        return true;
    }
    case QEvent::MouseMove: {
        auto* m = static_cast<QMouseEvent*>(event);
        const QPoint at = m->position().toPoint();
        if (!dragging_) {
            const bool over = QRect(rectOrigin_, rectSize_).contains(at);
            preview_->setCursor(toolCursor(over ? Cursor::Draggable : Cursor::Select));
            return true;
        }
        rectOrigin_ = pressOrigin_ + (at - pressPoint_);
        clampRectangle();
        preview_->update();
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (dragging_) {
            dragging_ = false;
            preview_->setCursor(toolCursor(Cursor::Draggable));
        }
        return true;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void TV_imp::planeTrackBarChanged(int position) {
    context_.setPlaneSize(planeAtTrackPosition(context_, position));
    scale_ = PreviewSide / context_.planeSize();
    placeRectangle();
    redrawPreview();
}

void TV_imp::magnificationChanged(int position) {
    magnification_ = magnificationAt(position);
    pageFromPrinter();
    placeRectangle();
    preview_->update();
}

// The page's rectangle becomes the view, at the printer's resolution, once per copy.
void TV_imp::print() {
    hide();
    Document& doc = context_.document();
    const double half = context_.planeSize() / 2;
    doc.left = rectOrigin_.x() / scale_ - half;
    doc.top = half - rectOrigin_.y() / scale_;
    doc.right = doc.left + pw_;
    doc.bottom = doc.top - ph_;
    const QRect page = printer_.pageLayout().paintRectPixels(printer_.resolution());
    const double scale = double(page.width()) / pw_;
    printer_.setDocName(title_);
    QPainter painter;
    if (painter.begin(&printer_)) {
        RenderOptions o;
        o.view = ViewTransform{doc.left, doc.top, scale};
        o.width = page.width();
        o.height = int(std::ceil(ph_ * scale));
        o.target = RenderTarget::Printer;
        o.antialiased = true;
        o.vector = true;
        o.showHidden = context_.showHidden();
        o.planeSize = context_.planeSize();
        o.printerDotsPerInch = printer_.resolution();
        for (int i = 0, n = copies(); i < n; ++i) {
            if (i > 0) printer_.newPage();
            context_.renderer().redraw(painter, doc, o);
        }
        printed_ = painter.end();
    }
    accept();
}

void TV_imp::done(int result) {
    if (!finished_) {
        finished_ = true;
        saved_.restore(context_);
        context_.viewChanged();
    }
    QDialog::done(result);
}

} // namespace qorv

#include "app/drawingcanvas.h"

#include "geometry/paramcolor.h"
#include "geometry/pointonelement.h"
#include "geometry/recalc.h"
#include "model/document.h"
#include "model/uitext.h"
#include "view/qtexts.h"
#include "view/resources.h"
#include "view/viewtransform.h"

#include <QApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <QWidgetAction>

#include <algorithm>
#include <cmath>

namespace qorv {

namespace {

QColor qcolor(Color c) {
    return QColor(colorRed(c), colorGreen(c), colorBlue(c));
}

// The renderer's fonts are given at 96 dots per inch: pixel height = points * 96 / 72.
QFont fontOf(const FontRecord& r) {
    QFont f(qtext(r.name));
    f.setPixelSize(std::max(1, int(std::lround(std::clamp(r.size, 1, 200) * 96.0 / 72.0))));
    f.setBold(r.bold == 1);
    f.setItalic(r.italic == 1);
    return f;
}

int modifierBits(Qt::KeyboardModifiers m) {
    int bits = 0;
    if (m & Qt::ShiftModifier) bits |= Modifier::Shift;
    if (m & Qt::ControlModifier) bits |= Modifier::Ctrl;
    if (m & Qt::AltModifier) bits |= Modifier::Alt;
    return bits;
}

ScreenPoint pixelOf(const QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    return {p.x(), p.y()};
}

MouseButton buttonOf(const QMouseEvent* e) {
    switch (e->button()) {
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::LeftButton:
        return MouseButton::Left;
    default:
        return MouseButton::Middle;
    }
}

int keyCodeOf(int key) {
    switch (key) {
    case Qt::Key_Escape:
        return KeyCode::Escape;
    case Qt::Key_Plus:
        return KeyCode::Plus;
    case Qt::Key_Minus:
        return KeyCode::Minus;
    case Qt::Key_Left:
        return KeyCode::Left;
    case Qt::Key_Right:
        return KeyCode::Right;
    case Qt::Key_Up:
        return KeyCode::Up;
    case Qt::Key_Down:
        return KeyCode::Down;
    case Qt::Key_Control:
        return KeyCode::Control;
    case Qt::Key_Delete:
        return KeyCode::Delete;
    default:
        return KeyCode::Other;
    }
}

// The drawing area: the canvas paints it (a copy of the main bitmap, or a drag frame drawn
// straight onto the window).
class DrawingArea : public QWidget {
  public:
    using Painter = std::function<void(QWidget&, const QRect&)>;
    DrawingArea(Painter paint, QWidget* parent) : QWidget(parent), paint_(std::move(paint)) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumSize(200, 150);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
    }

  protected:
    void paintEvent(QPaintEvent* event) override { paint_(*this, event->rect()); }

  private:
    Painter paint_;
};

} // namespace

DrawingCanvas::DrawingCanvas(CanvasOwner& owner, ToolRequests& requests, Document& doc,
                             QWidget* parent)
    : QWidget(parent), owner_(owner), document_(&doc), interaction_(*this, requests) {
    // The off-screen bitmaps start at the size of the screen.
    const QSize screen = screenSize();
    pixelRatio_ = devicePixelRatioF();
    mainBitmap_ = deviceBitmap(screen, pixelRatio_);
    mainBitmap_.fill(Qt::black);
    traceBitmap_ = deviceBitmap(screen, pixelRatio_);
    traceBitmap_.fill(Qt::white);
    planeSize_ = planeDefault(screen.width(), screen.height());

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    area_ = new DrawingArea([this](QWidget& area, const QRect& r) { paintArea(area, r); }, this);
    grid->addWidget(area_, 0, 0);
    auto barOnPanel = [&](Qt::Orientation orientation, const char* name, QWidget*& panel) {
        panel = new QWidget(this);
        auto* layout = new QGridLayout(panel);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* bar = new QScrollBar(orientation, panel);
        bar->setObjectName(QString::fromLatin1(name));
        bar->setRange(0, ScrollMax);
        bar->setSingleStep(ScrollSmallStep);
        bar->setPageStep(ScrollLargeStep);
        layout->addWidget(bar);
        return bar;
    };
    SB_v = barOnPanel(Qt::Vertical, "SB_v", panelV_);
    grid->addWidget(panelV_, 0, 1);
    SB_h = barOnPanel(Qt::Horizontal, "SB_h", panelH_);
    grid->addWidget(panelH_, 1, 0);
    connect(SB_h, &QScrollBar::valueChanged, this, &DrawingCanvas::horizontalScrolled);
    connect(SB_v, &QScrollBar::valueChanged, this, &DrawingCanvas::verticalScrolled);

    buttonTimer_ = new QTimer(this);
    buttonTimer_->setSingleShot(true);
    buttonTimer_->setInterval(150);
    connect(buttonTimer_, &QTimer::timeout, this, [this] { interaction_.buttonTimerFired(); });
    blinkTimer_ = new QTimer(this);
    blinkTimer_->setInterval(BlinkIntervalMs);
    connect(blinkTimer_, &QTimer::timeout, this, &DrawingCanvas::blinkTick);
    area_->installEventFilter(this);
    setCursorNumber(toolInfo(Tool::Move).cursor);
}

DrawingCanvas::~DrawingCanvas() {
    // The area outlives the tools by a moment (children go last): its last events find no one.
    area_->removeEventFilter(this);
}

// ---- the document shown -------------------------------------------------------------------------

void DrawingCanvas::showDocument(Document& doc) {
    interaction_.documentReplaced();
    dragLayers_.reset();
    bitmapBehind_ = false;
    renderer_.clearCaches();
    document_ = &doc;
    replayStep_ = nullptr;
    clearTrace();
    synchronizeView(true);
    recalculateAndRedraw();
}

void DrawingCanvas::elementsReplaced() {
    dragLayers_.reset();
    bitmapBehind_ = false; // the frame waiting drew elements that are gone
    renderer_.clearCaches();
    redraw();
}

// ---- drawing ------------------------------------------------------------------------------------

QSize DrawingCanvas::screenSize() const {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->size() : QSize(1024, 768);
}

QSize DrawingCanvas::drawingAreaSize() const {
    return area_->size();
}

ViewTransform DrawingCanvas::view() {
    return documentView(*document_);
}

int DrawingCanvas::areaWidth() {
    return area_->width();
}

int DrawingCanvas::areaHeight() {
    return area_->height();
}

QImage DrawingCanvas::deviceBitmap(QSize size, qreal ratio) {
    QImage image((QSizeF(size) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}

void DrawingCanvas::setDevicePixelRatio(qreal ratio) {
    ratioOverride_ = ratio;
    redraw();
}

void DrawingCanvas::ensureBitmapSize() {
    const QSize need = drawingAreaSize().expandedTo(screenSize());
    const qreal ratio = ratioOverride_ > 0 ? ratioOverride_ : area_->devicePixelRatioF();
    const QSize have = mainBitmap_.deviceIndependentSize().toSize();
    if (ratio == pixelRatio_ && have.width() >= need.width() && have.height() >= need.height())
        return;
    // Drawn in the screen's own pixels, so that lines stay one pixel of the screen wide and text
    // sharp when the screen scales; everything else keeps working in the area's coordinates.
    const QSize size = ratio == pixelRatio_ ? need.expandedTo(have) : need;
    pixelRatio_ = ratio;
    mainBitmap_ = deviceBitmap(size, ratio);
    mainBitmap_.fill(Qt::black);
    traceBitmap_ = deviceBitmap(size, ratio);
    clearTrace();
}

RenderOptions DrawingCanvas::renderOptions() {
    RenderOptions o;
    o.view = documentView(*document_);
    o.width = area_->width();
    o.height = area_->height();
    o.target = RenderTarget::MainBitmap;
    o.antialiased = document_->antialiased != 0;
    o.showHidden = showHidden_;
    o.planeSize = planeSize_;
    o.interacting = interaction_.interacting();
    // The elements picked so far blink instead of being highlighted (blinkTick).
    o.picked = nullptr;
    o.trace = &traceBitmap_;
    if (replayStep_ && !replayWhole_) o.stop = replayStep_->next;
    o.overlay = [this](QPainter& p) { drawOverlay(p); };
    const MacroSession* macros = interaction_.macroSession();
    const int tool = interaction_.tool();
    if (macros && (macros->dialogOpen || tool == Tool::MacroInitial || tool == Tool::MacroFinal))
        o.marks = [this](QPainter& p) { drawMacroMarks(p); };
    return o;
}

// Where the mark of an element goes: a point's place, the corner of a text-like element's box,
// a place along a curve.
bool DrawingCanvas::markAnchor(const Element& e, ScreenPoint& at) {
    const ViewTransform v = view();
    if (!e.defined) return false;
    if (isTextLike(e.kind()) || e.kind() == Kind::Bitmap) {
        PixelBox box;
        if (!elementBox(e, box)) return false;
        at = {int(box.x), int(box.y)};
        return true;
    }
    Point2 p{e.value[0], e.value[1]};
    double t = 0.5;
    switch (e.kind()) {
    case Kind::Point:
        break;
    case Kind::Circle:
        t = 0.785;
        [[fallthrough]];
    case Kind::Line:
    case Kind::Ray:
    case Kind::Segment:
    case Kind::Vector:
    case Kind::Polygon:
    case Kind::Arc:
    case Kind::Conic:
        if (e.kind() == Kind::Conic) t = 30;
        if (isParameterisedByDistance(e.method)) t = 0;
        if (!evaluatePointOnElement(e, t, p)) return false;
        break;
    default:
        return false;
    }
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
    at = v.toScreen(p.x, p.y);
    return true;
}

// The initial elements of the macro being made (those chosen numbered in their order, the implied
// ones after them) and its final elements, each marked by a tag beside it.
void DrawingCanvas::drawMacroMarks(QPainter& p) {
    if (!interaction_.macroSession()) return;
    MacroSession& macros = *interaction_.macroSession();
    macros.dropMissing(*document_); // a cut may have taken some away
    QFont font = p.font();
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.setRenderHint(QPainter::Antialiasing, false);
    const auto tag = [&](const Element* e, const QString& label, const QColor& colour) {
        ScreenPoint at;
        if (!e || !markAnchor(*e, at)) return;
        const QRect r(at.x + 6, at.y - 18, p.fontMetrics().horizontalAdvance(label) + 6, 13);
        p.setPen(QPen(colour, 1));
        p.setBrush(QColor(255, 255, 255));
        p.drawRect(r);
        p.drawText(r, Qt::AlignCenter, label);
    };
    // In a selection mode the elements clicked so far are the list of that mode.
    const int tool = interaction_.tool();
    const bool choosingInitial = tool == Tool::MacroInitial;
    const std::vector<Element*>& initial = choosingInitial ? macros.selection() : macros.initial();
    const int chosen = choosingInitial ? int(initial.size()) : macros.initialCount();
    for (size_t i = 0; i < initial.size(); ++i)
        tag(initial[i], int(i) < chosen ? QStringLiteral("I%1").arg(i + 1) : QStringLiteral("I"),
            QColor(0, 150, 0));
    for (const Element* e : tool == Tool::MacroFinal ? macros.selection() : macros.finals())
        tag(e, QStringLiteral("F"), QColor(200, 40, 0));
}

void DrawingCanvas::redraw() {
    Document& doc = *document_;
    ensureBitmapSize();
    const bool moving = interaction_.moving();
    // During a drag only the moving elements' colours can change (an element coloured by a
    // number is that number's descendant).
    if (moving && dragLayers_.ready()) {
        for (Element* e : dragLayers_.colouredMoving())
            applyParametricColour(*e);
    } else {
        applyParametricColours(doc);
    }
    if (tracing_ || moving) drawTraces();
    const RenderOptions o = renderOptions();
    // The frame after a drag, and every other one, is drawn in full. A drag frame waits for the
    // area's paint, which draws it onto the window itself.
    if (!moving) dragLayers_.reset();
    overlay_.invalidate();
    updateBlinking();
    const bool blinking = blinkOn_ && blinkTimer_->isActive();
    bitmapBehind_ = moving && !blinking;
    if (!bitmapBehind_) drawFrame(mainBitmap_, o);
    if (blinking) drawBlinkPhase();
    area_->update();
    // A frame of a drag changes nothing the window around shows.
    if (!moving) owner_.redrawn();
}

const QImage& DrawingCanvas::mainBitmap() {
    catchUp();
    return mainBitmap_;
}

void DrawingCanvas::catchUp() {
    if (!bitmapBehind_) return;
    bitmapBehind_ = false;
    drawFrame(mainBitmap_, renderOptions());
}

// During a drag, only the moving elements over the still layer when the layers serve.
void DrawingCanvas::drawFrame(QImage& target, const RenderOptions& o) {
    if (!interaction_.moving() || !dragLayers_.draw(renderer_, target, *document_, o))
        renderer_.redraw(target, *document_, o);
}

void DrawingCanvas::paintArea(QWidget& area, const QRect& r) {
    if (bitmapBehind_ && paintFrameOnWindow(area)) return;
    catchUp();
    QPainter p(&area);
    // The bitmap has the screen's pixels: the part under r is r scaled by their ratio.
    const qreal k = mainBitmap_.devicePixelRatio();
    p.drawImage(QRectF(r), mainBitmap_,
                QRectF(r.x() * k, r.y() * k, r.width() * k, r.height() * k));
}

// The pending drag frame drawn straight into the window's pixels, which saves copying the whole
// bitmap at every frame. Only when the area paints onto an image in the bitmap's pixels with
// nothing clipped away, since the frame covers the whole area; the main bitmap catches up when
// it is read.
bool DrawingCanvas::paintFrameOnWindow(QWidget& area) {
    QPainter p(&area);
    QPaintEngine* engine = p.paintEngine();
    QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image) return false;
    auto* window = static_cast<QImage*>(device);
    // The drawing writes 32-bit opaque pixels of its own.
    if (window->format() != QImage::Format_RGB32 &&
        window->format() != QImage::Format_ARGB32_Premultiplied)
        return false;
    const qreal k = pixelRatio_;
    const QTransform t = p.deviceTransform();
    if (t.type() > QTransform::TxScale || t.m11() != k || t.m22() != k) return false;
    const QRect where(QPoint(qRound(t.dx()), qRound(t.dy())), (QSizeF(area.size()) * k).toSize());
    if (!QRect(QPoint(), window->size()).contains(where) || engine->systemClip() != QRegion(where))
        return false;
    p.end();
    QImage frame(window->bits() + qsizetype(where.y()) * window->bytesPerLine() + where.x() * 4,
                 where.width(), where.height(), window->bytesPerLine(), window->format());
    frame.setDevicePixelRatio(k);
    drawFrame(frame, renderOptions());
    ++windowFrames_;
    return true;
}

void DrawingCanvas::recalculateAndRedraw() {
    recalcUpTo(*document_);
    redraw();
}

void DrawingCanvas::recalculateMarkedAndRedraw() {
    recalcMarked(*document_);
    redraw();
}

void DrawingCanvas::recalculateDragAndRedraw(const DragEngine& drag) {
    drag.recalculate(*document_);
    redraw();
}

void DrawingCanvas::clearTrace() {
    const Color bg = document_->background;
    const int v = std::max({colorRed(bg), colorGreen(bg), colorBlue(bg)});
    traceBitmap_.fill(v / 255.0 > 0.5 ? Qt::white : Qt::black);
}

void DrawingCanvas::setShowHidden(bool on) {
    showHidden_ = on;
    redraw();
}

// Drawn over the construction at every redraw: the rubber band and the rotation centre. (The
// elements picked by the sequence in progress are highlighted by the drawing itself, under the
// points.)
void DrawingCanvas::drawOverlay(QPainter& p) const {
    const ViewTransform view = documentView(*document_);
    const Interaction& in = interaction_;
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    if (in.bandActive()) {
        const WorldRect r = in.band();
        const ScreenPoint a = view.toScreen(r.left, r.top), b = view.toScreen(r.right, r.bottom);
        p.setPen(QPen(QColor(255, 255, 255), 1, Qt::DotLine));
        p.drawRect(QRect(QPoint(a.x, a.y), QPoint(b.x, b.y)));
    } else if (in.areaDefined() && in.tool() == Tool::Move) {
        const WorldRect r = in.area();
        const ScreenPoint a = view.toScreen(r.left, r.top), b = view.toScreen(r.right, r.bottom);
        p.setPen(QPen(QColor(128, 128, 128), 1, Qt::DashLine));
        p.drawRect(QRect(QPoint(a.x, a.y), QPoint(b.x, b.y)));
    }
    if (markRotationCentre_ && in.hasRotationCentre() && in.tool() == Tool::RotateSelection) {
        const ScreenPoint c = view.toScreen(in.rotationCentre());
        p.setPen(QPen(QColor(255, 0, 0), 1));
        p.drawEllipse(QPoint(c.x, c.y), 5, 5);
        p.drawLine(c.x - 8, c.y, c.x + 8, c.y);
        p.drawLine(c.x, c.y - 8, c.x, c.y + 8);
    }
}

bool DrawingCanvas::elementBox(const Element& e, PixelBox& box) {
    QRectF r;
    if (!renderer_.elementBox(*document_, e, view(), r)) return false;
    box = {r.x(), r.y(), r.width(), r.height()};
    return true;
}

// ---- hover feedback -----------------------------------------------------------------------------

void DrawingCanvas::showHover(const HoverFeedback& fb) {
    const QRect area(QPoint(0, 0), area_->size());
    const std::unique_ptr<Element> preview = interaction_.previewElement();
    const bool hasPreview = preview != nullptr;
    const bool shapesChanged = fb.highlight != hover_.highlight || hasPreview ||
                               overlay_.hasShapes() != (fb.highlight || hasPreview);
    hover_ = fb;
    std::function<void(QImage&)> shapes;
    if (fb.highlight || hasPreview) {
        shapes = [&](QImage& image) {
            QPainter p(&image);
            const RenderOptions o = renderOptions();
            Document& doc = *document_;
            if (hasPreview) {
                // The element under construction, drawn from its own numbers.
                Element& temp = *preview;
                const int kind = temp.kind();
                const CreationOptions& creation = owner_.creationOptions();
                const Color c = creation.applyChosenColor
                                    ? creation.chosenColor
                                    : doc.kindColors[size_t(std::max(0, kind))];
                if (temp.method == Method::CircleByCentre ||
                    temp.method == Method::LineThroughPoint ||
                    temp.method == Method::RayThroughPoint)
                    recalcElement(doc, temp);
                renderer_.drawElement(p, doc, temp, c, 3, -1, o);
            }
            if (fb.highlight) {
                const Element& e = *fb.highlight;
                const int own = isTextLike(e.kind()) ? -1 : e.shape;
                renderer_.drawElement(p, doc, e, doc.selectedColor, highlightStyle(own), -1, o);
                renderer_.drawElement(p, doc, e, e.visible ? e.color : doc.hiddenColor, e.shape, -1,
                                      o);
            }
            // Points stay above everything, as in the drawing: one lying on the highlighted
            // element (its intersection with another) must not vanish under the highlight.
            renderer_.pointPass(p, doc, o);
        };
    }
    // The program's cursor-message font, not one of the document's.
    const QColor colour = qcolor(fb.labelColour >= 0 ? fb.labelColour : cursorFont_.color);
    catchUp();
    const QRect changed = overlay_.show(mainBitmap_, area, shapes, shapesChanged, qtext(fb.label),
                                        fontOf(cursorFont_), colour, qcolor(cursorBackground_),
                                        QPoint(fb.at.x + 12, fb.at.y + 2 + fb.below));
    if (!changed.isEmpty()) area_->update(changed.adjusted(-1, -1, 1, 1));
}

void DrawingCanvas::setStatusText(const std::string& text) {
    owner_.setStatusText(qtext(text));
}

void DrawingCanvas::setCursorNumber(int cursor) {
    if (cursor == cursorNumber_) return;
    cursorNumber_ = cursor;
    area_->setCursor(toolCursor(cursor)); // the arrow outside the tools' cursors
}

// ---- the ambiguity menu -------------------------------------------------------------------------

int DrawingCanvas::chooseAmong(const std::vector<Element*>& elements, ScreenPoint at) {
    if (ambiguityChooser_) return ambiguityChooser_(elements);
    QMenu menu(this);
    auto* action = new QWidgetAction(&menu);
    auto* panel = new QWidget(&menu);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(0);
    int chosen = -1;
    constexpr int RowsPerColumn = 20;
    for (int i = 0; i < int(elements.size()); ++i) {
        const Element& e = *elements[size_t(i)];
        QString text = qtext(describeElement(*document_, e));
        const std::string name = document_->nameOf(&e);
        if (!name.empty()) text += QStringLiteral(" ") + qtext(name);
        auto* item = new QToolButton(panel);
        item->setText(text);
        item->setAutoRaise(true);
        item->setToolButtonStyle(Qt::ToolButtonTextOnly);
        item->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(item, &QToolButton::clicked, &menu, [&menu, &chosen, i] {
            chosen = i;
            menu.close();
        });
        grid->addWidget(item, i % RowsPerColumn, i / RowsPerColumn);
    }
    action->setDefaultWidget(panel);
    menu.addAction(action);
    menu.exec(area_->mapToGlobal(QPoint(at.x, at.y)));
    return chosen;
}

// ---- the rest of the tools' host ----------------------------------------------------------------

void DrawingCanvas::recordUndoStep() {
    ++toolUndoSteps_;
    owner_.recordUndoStep();
}

void DrawingCanvas::viewOriginChanged() {
    synchronizeView(true);
    if (!document_->traceList.empty()) clearTrace();
    redraw();
}

void DrawingCanvas::scrollBy(int horizontal, int vertical) {
    if (horizontal) SB_h->setValue(SB_h->value() + horizontal);
    if (vertical) SB_v->setValue(SB_v->value() + vertical);
}

void DrawingCanvas::startButtonTimer() {
    buttonTimer_->start();
}

bool DrawingCanvas::buttonTimerRunning() {
    return buttonTimer_->isActive();
}

void DrawingCanvas::captureMouse(bool on) {
    if (on)
        area_->grabMouse();
    else
        area_->releaseMouse();
}

// ---- events of the drawing area -----------------------------------------------------------------

bool DrawingCanvas::eventFilter(QObject* watched, QEvent* event) {
    if (watched != area_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Resize:
        areaResized();
        return false;
    case QEvent::MouseMove: {
        auto* m = static_cast<QMouseEvent*>(event);
        interaction_.mouseMove(pixelOf(m), m->buttons() & Qt::LeftButton,
                               m->buttons() & Qt::RightButton, modifierBits(m->modifiers()));
        return true;
    }
    case QEvent::MouseButtonPress: {
        auto* m = static_cast<QMouseEvent*>(event);
        area_->setFocus(Qt::MouseFocusReason);
        interaction_.mousePress(pixelOf(m), buttonOf(m), modifierBits(m->modifiers()));
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* m = static_cast<QMouseEvent*>(event);
        interaction_.mouseRelease(pixelOf(m), buttonOf(m), modifierBits(m->modifiers()));
        return true;
    }
    case QEvent::MouseButtonDblClick: {
        auto* m = static_cast<QMouseEvent*>(event);
        interaction_.doubleClick(pixelOf(m), buttonOf(m), modifierBits(m->modifiers()));
        return true;
    }
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (!(wheel->modifiers() & Qt::ControlModifier)) return false;
        // Steps less than half a second apart belong to one burst: one undo step.
        const bool continuing = wheelClock_.isValid() && wheelClock_.elapsed() < 500;
        wheelClock_.start();
        const QPointF at = wheel->position();
        interaction_.wheelZoom({int(std::lround(at.x())), int(std::lround(at.y()))},
                               wheel->angleDelta().y() / 120.0, continuing);
        return true;
    }
    case QEvent::Leave:
        interaction_.leave();
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* k = static_cast<QKeyEvent*>(event);
        const int code = keyCodeOf(k->key());
        if (code == KeyCode::Other) return false;
        const int mods = modifierBits(k->modifiers());
        if (event->type() == QEvent::KeyPress)
            interaction_.keyPress(code, mods, k->isAutoRepeat());
        else if (!k->isAutoRepeat())
            interaction_.keyRelease(code, mods);
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void DrawingCanvas::areaResized() {
    owner_.drawingAreaResized();
    synchronizeView(true);
    recalculateAndRedraw();
}

// ---- the view and the scroll bars ---------------------------------------------------------------

void DrawingCanvas::synchronizeView(bool setBars) {
    Document& doc = *document_;
    const QSize screen = screenSize();
    updateFarCorner(doc, screen.width(), screen.height());
    if (!setBars) return;
    const QSize area = drawingAreaSize();
    const QSignalBlocker blockH(SB_h), blockV(SB_v);
    SB_h->setValue(scrollFromOriginX(doc.left, planeSize_, area.width()));
    SB_v->setValue(scrollFromOriginY(doc.top, planeSize_, area.height()));
}

void DrawingCanvas::horizontalScrolled(int position) {
    document_->left = originXFromScroll(position, planeSize_, drawingAreaSize().width());
    afterScroll();
}

void DrawingCanvas::verticalScrolled(int position) {
    document_->top = originYFromScroll(position, planeSize_, drawingAreaSize().height());
    afterScroll();
}

void DrawingCanvas::afterScroll() {
    synchronizeView(false);
    interaction_.viewScrolled();
    if (!document_->traceList.empty()) clearTrace();
    recalculateAndRedraw();
}

void DrawingCanvas::setPlaneSize(double size) {
    const QSize screen = screenSize();
    planeSize_ = std::clamp(size, planeMinimum(screen.width(), screen.height()),
                            planeMaximum(screen.width(), screen.height()));
}

void DrawingCanvas::viewChanged() {
    synchronizeView(true);
    recalculateAndRedraw();
}

} // namespace qorv

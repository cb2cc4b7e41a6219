// The main window's side of the tool modes: mouse and key events of the drawing area go to the
// interaction controller, which reaches the document, the drawing and the dialogs through the
// ToolHost below.
#include "app/tform1.h"

#include "geometry/recalc.h"
#include "model/uitext.h"
#include "view/hittest.h"
#include "view/resources.h"
#include "view/viewtransform.h"

#include <QApplication>
#include <QFontDialog>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QWidgetAction>

#include <array>

namespace qorv {

namespace {

QString qtext(const std::string& s) {
    return QString::fromStdString(s);
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

} // namespace

// ---- the window as the interaction's host -------------------------------------------------------

class ToolHost : public InteractionHost {
  public:
    explicit ToolHost(TForm1& w) : w_(w) {}

    Document& document() override { return *w_.document_; }
    ViewTransform view() override { return documentView(*w_.document_); }
    int areaWidth() override { return w_.drawingArea_->width(); }
    int areaHeight() override { return w_.drawingArea_->height(); }
    double planeSize() override { return w_.planeSize_; }
    bool showHidden() override { return w_.showHidden_; }
    const CreationOptions& creationOptions() override { return w_.creation_; }
    bool elementBox(const Element& e, PixelBox& box) override {
        QRectF r;
        if (!w_.renderer_.elementBox(*w_.document_, e, view(), r)) return false;
        box = {r.x(), r.y(), r.width(), r.height()};
        return true;
    }

    void recordUndoStep() override {
        ++w_.toolUndoSteps_;
        w_.recordUndoStep();
    }
    void recalculateAndRedraw() override { w_.recalculateAndRedraw(); }
    void recalculateMarkedAndRedraw() override { w_.recalculateMarkedAndRedraw(); }
    void redraw() override { w_.redraw(); }
    void viewOriginChanged() override {
        w_.synchronizeView(true);
        if (!w_.document_->traceList.empty()) w_.clearTrace();
        w_.redraw();
    }
    void scrollBy(int horizontal, int vertical) override {
        if (horizontal) w_.SB_h->setValue(w_.SB_h->value() + horizontal);
        if (vertical) w_.SB_v->setValue(w_.SB_v->value() + vertical);
    }
    void setStatusText(const std::string& text) override {
        const QString t = qtext(text);
        if (w_.statusText_->text() != t) w_.statusText_->setText(t);
    }
    void setCursorNumber(int cursor) override { w_.setCursorNumber(cursor); }
    void showHover(const HoverFeedback& feedback) override { w_.showHover(feedback); }
    int chooseAmong(const std::vector<Element*>& elements, ScreenPoint at) override {
        return w_.chooseAmong(elements, QPoint(at.x, at.y));
    }
    void toolChosen(int tool) override { w_.toolChosenOnBars(tool); }
    void startButtonTimer() override { w_.buttonTimer_->start(); }
    bool buttonTimerRunning() override { return w_.buttonTimer_->isActive(); }
    void captureMouse(bool on) override {
        if (on)
            w_.drawingArea_->grabMouse();
        else
            w_.drawingArea_->releaseMouse();
    }
    void openElementDialog(int tool, Element& e) override {
        if (w_.elementDialogHook_) w_.elementDialogHook_(tool, e);
    }
    void showMessage(int slot) override { w_.warn(qtext(uiText().message(slot))); }
    bool chooseFont(FontRecord& font) override {
        if (w_.fontDialogHook_) return w_.fontDialogHook_(font);
        QFont initial(qtext(font.name), std::clamp(font.size, 1, 200));
        initial.setBold(font.bold == 1);
        initial.setItalic(font.italic == 1);
        initial.setUnderline(font.underline == 1);
        initial.setStrikeOut(font.strikeout == 1);
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, initial, &w_);
        if (!ok) return false;
        font.name = chosen.family().toStdString();
        if (chosen.pointSize() > 0) font.size = chosen.pointSize();
        font.bold = chosen.bold() ? 1 : 0;
        font.italic = chosen.italic() ? 1 : 0;
        font.underline = chosen.underline() ? 1 : 0;
        font.strikeout = chosen.strikeOut() ? 1 : 0;
        return true;
    }

  private:
    TForm1& w_;
};

TForm1::~TForm1() {
    // The interaction refers to the host; both go before the widgets.
    interaction_.reset();
    toolHost_.reset();
}

void TForm1::setupTools() {
    creation_.chosenColor = rgb(0, 128, 192); // B_azmarino starts pressed
    toolHost_ = std::make_unique<ToolHost>(*this);
    interaction_ = std::make_unique<Interaction>(*toolHost_);
    drawingArea_->setMouseTracking(true);
    drawingArea_->setFocusPolicy(Qt::StrongFocus);
    drawingArea_->installEventFilter(this);
    buttonTimer_ = new QTimer(this);
    buttonTimer_->setSingleShot(true);
    buttonTimer_->setInterval(150);
    // Undo, redo, cut and paste replace or delete elements: the tools drop what they hold and
    // the move tool is chosen.
    connect(this, &TForm1::editCommandStarted, this, [this] {
        chooseTool(0);
        interaction_->documentReplaced();
    });
    connect(buttonTimer_, &QTimer::timeout, this, [this] { interaction_->buttonTimerFired(); });
    paletteTimer_ = new QTimer(this);
    paletteTimer_->setSingleShot(true);
    paletteTimer_->setInterval(200);
    connect(paletteTimer_, &QTimer::timeout, this, &TForm1::paletteTimerFired);
    // Escape selects the move tool wherever the focus is.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this,
            [this] { interaction_->keyPress(KeyCode::Escape, 0); });
    statusText_->setText(qtext(uiText().toolPrompt(Tool::Move)));
    setCursorNumber(toolInfo(Tool::Move).cursor);
}

void TForm1::chooseTool(int tool, bool ownButton) {
    interaction_->chooseTool(tool, ownButton);
}

int TForm1::currentTool() const {
    return interaction_->tool();
}

const QString& TForm1::statusText() const {
    static QString text;
    text = statusText_->text();
    return text;
}

void TForm1::setCursorNumber(int cursor) {
    if (cursor == cursorNumber_) return;
    static std::array<QCursor, toolCursorCount + 1> cursors;
    static std::array<bool, toolCursorCount + 1> loaded{};
    cursorNumber_ = cursor;
    if (cursor < 1 || cursor > toolCursorCount) {
        drawingArea_->setCursor(Qt::ArrowCursor);
        return;
    }
    if (!loaded[size_t(cursor)]) {
        cursors[size_t(cursor)] = toolCursor(cursor);
        loaded[size_t(cursor)] = true;
    }
    drawingArea_->setCursor(cursors[size_t(cursor)]);
}

// ---- events of the drawing area -----------------------------------------------------------------

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched != drawingArea_ || !interaction_) return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto* m = static_cast<QMouseEvent*>(event);
        interaction_->mouseMove(pixelOf(m), m->buttons() & Qt::LeftButton,
                                m->buttons() & Qt::RightButton, modifierBits(m->modifiers()));
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* m = static_cast<QMouseEvent*>(event);
        const MouseButton b = m->button() == Qt::RightButton  ? MouseButton::Right
                              : m->button() == Qt::LeftButton ? MouseButton::Left
                                                              : MouseButton::Middle;
        const int mods = modifierBits(m->modifiers());
        if (event->type() == QEvent::MouseButtonPress) {
            drawingArea_->setFocus(Qt::MouseFocusReason);
            interaction_->mousePress(pixelOf(m), b, mods);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            interaction_->mouseRelease(pixelOf(m), b, mods);
        } else {
            interaction_->doubleClick(pixelOf(m), b, mods);
        }
        return true;
    }
    case QEvent::Leave:
        interaction_->leave();
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* k = static_cast<QKeyEvent*>(event);
        const int code = keyCodeOf(k->key());
        if (code == KeyCode::Other) return false;
        const int mods = modifierBits(k->modifiers());
        if (event->type() == QEvent::KeyPress)
            interaction_->keyPress(code, mods, k->isAutoRepeat());
        else if (!k->isAutoRepeat())
            interaction_->keyRelease(code, mods);
        return true;
    }
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

// ---- hover feedback -----------------------------------------------------------------------------

void TForm1::showHover(const HoverFeedback& fb) {
    const QRect area(QPoint(0, 0), drawingArea_->size());
    const std::unique_ptr<Element> preview =
        interaction_ ? interaction_->previewElement() : nullptr;
    const bool hasPreview = preview != nullptr;
    const bool shapesChanged = fb.highlight != hover_.highlight || hasPreview ||
                               overlay_.hasShapes() != (fb.highlight || hasPreview);
    hover_ = fb;
    std::function<void(QImage&)> shapes;
    if (fb.highlight || hasPreview) {
        shapes = [&](QImage& image) {
            QPainter p(&image);
            const RenderOptions o = viewOptions();
            Document& doc = *document_;
            if (hasPreview) {
                // The element under construction, drawn from its own numbers.
                Element& temp = *preview;
                const int kind = temp.kind();
                const Color c = creation_.applyChosenColor
                                    ? creation_.chosenColor
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
    const FontRecord& font = document_->fonts[FontSlot::Cursor];
    const QColor colour = qcolor(fb.labelColour >= 0 ? fb.labelColour : font.color);
    const QRect changed =
        overlay_.show(mainBitmap_, area, shapes, shapesChanged, qtext(fb.label), fontOf(font),
                      colour, QPoint(fb.at.x + 12, fb.at.y + 2 + fb.below));
    if (!changed.isEmpty()) drawingArea_->update(changed.adjusted(-1, -1, 1, 1));
}

// Drawn over the construction at every redraw: the rubber band and the rotation centre. (The
// elements picked by the sequence in progress are highlighted by the drawing itself, under the
// points.)
void TForm1::drawOverlay(QPainter& p) {
    if (!interaction_) return;
    const ViewTransform view = documentView(*document_);
    const Interaction& in = *interaction_;
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    if (in.bandActive()) {
        const WorldRect r = in.band();
        const ScreenPoint a = view.toScreen(r.left, r.top), b = view.toScreen(r.right, r.bottom);
        p.setPen(QPen(QColor(255, 255, 255), 1, Qt::DotLine));
        p.drawRect(QRect(QPoint(a.x, a.y), QPoint(b.x, b.y)));
    } else if (in.areaDefined() && currentTool() == Tool::Move) {
        const WorldRect r = in.area();
        const ScreenPoint a = view.toScreen(r.left, r.top), b = view.toScreen(r.right, r.bottom);
        p.setPen(QPen(QColor(128, 128, 128), 1, Qt::DashLine));
        p.drawRect(QRect(QPoint(a.x, a.y), QPoint(b.x, b.y)));
    }
    if (in.hasRotationCentre() && currentTool() == Tool::RotateSelection) {
        const ScreenPoint c = view.toScreen(in.rotationCentre());
        p.setPen(QPen(QColor(255, 0, 0), 1));
        p.drawEllipse(QPoint(c.x, c.y), 5, 5);
        p.drawLine(c.x - 8, c.y, c.x + 8, c.y);
        p.drawLine(c.x, c.y - 8, c.x, c.y + 8);
    }
}

// ---- the ambiguity menu -------------------------------------------------------------------------

int TForm1::chooseAmong(const std::vector<Element*>& elements, QPoint at) {
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
    menu.exec(drawingArea_->mapToGlobal(at));
    return chosen;
}

} // namespace qorv

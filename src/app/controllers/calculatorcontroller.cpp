#include "app/controllers/calculatorcontroller.h"

#include "app/drawingcanvas.h"
#include "app/editorsession.h"
#include "app/windowcontext.h"
#include "app/windowrequests.h"
#include "dialogs/tv_calc.h"
#include "dialogs/tv_ed_param.h"
#include "dialogs/tv_puncoord.h"
#include "view/tooltable.h"

#include <QWidget>

#include <algorithm>

namespace qorv {

namespace {

bool isCalculatorTool(int tool) {
    return tool == Tool::Calculate || tool == Tool::Parameter || tool == Tool::Function;
}

} // namespace

CalculatorController::CalculatorController(const FeatureContext& context)
    : QObject(context.window), ctx_(context) {
    EditorSession& session = ctx_.session;
    connect(&session, &EditorSession::toolChanged, this, &CalculatorController::toolChanged);
    connect(&session, &EditorSession::currentDocumentChanged, this,
            [this] { documentChanged(true); });
    connect(&session, &EditorSession::elementsReplaced, this, [this] { documentChanged(false); });
    connect(&ctx_.requests, &WindowRequests::elementDialogAsked, this,
            &CalculatorController::elementDialogAsked);
    connect(&ctx_.requests, &WindowRequests::elementClickedForDialog, this,
            &CalculatorController::elementClicked);
    session.heldReferences().add([this](const HeldReferences::Visit& visit) {
        if (calc_) calc_->calculator().forEachHeld(visit);
    });
}

// The calculator redraws when it closes: it goes before the canvas.
CalculatorController::~CalculatorController() {
    delete calc_;
}

void CalculatorController::toolChanged(int tool) {
    if (!isCalculatorTool(tool)) {
        if (calc_ && calc_->isVisible()) {
            hiding_ = true;
            calc_->hide();
            hiding_ = false;
        }
        return;
    }
    if (!calc_) {
        calc_ = new TV_calc(ctx_.context, ctx_.window);
        connect(calc_, &TV_calc::placingStarted, this, &CalculatorController::placingStarted);
        connect(calc_, &TV_calc::placingMoved, this, &CalculatorController::placingMoved);
        connect(calc_, &TV_calc::placingEnded, this, &CalculatorController::placingEnded);
        connect(calc_, &TV_calc::closed, this, &CalculatorController::closed);
    }
    calc_->openFor(tool);
    // At the bottom of the drawing area, centred over the window but not left of its edge.
    calc_->adjustSize();
    const QWidget* area = ctx_.canvas.drawingArea();
    const QPoint bottom = area->mapToGlobal(QPoint(0, area->height()));
    const QRect frame = ctx_.window->frameGeometry();
    const int x = std::max(frame.center().x() - calc_->width() / 2, frame.left() + 8);
    calc_->move(x, bottom.y() - calc_->frameGeometry().height());
}

void CalculatorController::editInCalculator(Element& e) {
    const int tool = e.method == Method::Function ? Tool::Function : Tool::Calculate;
    // Choosing the tool opens the calculator cleared; then it takes the element.
    ctx_.session.chooseTool(tool);
    if (calc_) calc_->openFor(tool, &e);
}

void CalculatorController::elementDialogAsked(int tool, Element* e) {
    switch (tool) {
    case Tool::Calculate:
    case Tool::Function:
        editInCalculator(*e);
        break;
    case Tool::RepresentPoints:
        openRepresentPoints(nullptr, e);
        break;
    case Tool::Parameter:
        editParameter(*e);
        break;
    default:
        break; // the properties dialog's
    }
}

void CalculatorController::elementClicked(int tool, Element* e) {
    if (tool == Tool::RepresentPoints)
        openRepresentPoints(e, nullptr);
    else if (isCalculatorTool(tool) && calc_ && calc_->isVisible())
        calc_->addReference(*e);
}

void CalculatorController::editParameter(Element& e) {
    TV_ed_param dialog(ctx_.context, e, ctx_.window);
    ctx_.context.run(dialog);
    ctx_.session.noteChanges();
}

void CalculatorController::openRepresentPoints(Element* axes, Element* edited) {
    TV_puncoord dialog(ctx_.context, axes, edited, ctx_.window);
    ctx_.context.run(dialog);
}

void CalculatorController::documentChanged(bool otherDocument) {
    placed_ = nullptr;
    if (calc_) calc_->documentChanged(otherDocument);
}

void CalculatorController::shiftPlaced(QPoint pixels) {
    const ViewTransform view = ctx_.canvas.view();
    const Point2 a = view.toWorld(0, 0), b = view.toWorld(pixels.x(), pixels.y());
    placed_->value[2] += b.x - a.x;
    placed_->value[3] += b.y - a.y;
}

void CalculatorController::placingStarted(Element* e, QPoint global) {
    DrawingCanvas& canvas = ctx_.canvas;
    placed_ = e;
    placedLast_ = global;
    const QPoint at = canvas.drawingArea()->mapFromGlobal(global);
    const Point2 w = canvas.view().toWorld(at.x(), at.y());
    e->value[2] = w.x;
    e->value[3] = w.y;
    canvas.recalculateAndRedraw();
    // The text is centred where the result was.
    PixelBox box;
    if (canvas.elementBox(*e, box))
        shiftPlaced(QPoint(at.x() - int(box.x + box.w / 2), at.y() - int(box.y + box.h / 2)));
    canvas.recalculateAndRedraw();
}

void CalculatorController::placingMoved(QPoint global) {
    if (!placed_) return;
    shiftPlaced(global - placedLast_);
    placedLast_ = global;
    ctx_.canvas.recalculateAndRedraw();
}

void CalculatorController::placingEnded() {
    if (!placed_) return;
    placed_ = nullptr;
    ctx_.session.chooseTool(Tool::Move);
}

void CalculatorController::closed() {
    if (!hiding_ && isCalculatorTool(ctx_.session.tool())) ctx_.session.chooseTool(Tool::Move);
}

} // namespace qorv

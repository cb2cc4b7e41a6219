// The main window's calculator, parameters, functions and represented points: the calculator
// window that tools 42..44 open, the element dragged out of its result field, and the
// represent-points dialog.
#include "app/tform1.h"

#include "model/uitext.h"
#include "settings/language.h"
#include "view/qtexts.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>

namespace qorv {

namespace {

bool isCalculatorTool(int tool) {
    return tool == Tool::Calculate || tool == Tool::Parameter || tool == Tool::Function;
}

} // namespace

void TForm1::calcToolChosen(int tool) {
    if (!isCalculatorTool(tool)) {
        if (calc_ && calc_->isVisible()) {
            hidingCalc_ = true;
            calc_->hide();
            hidingCalc_ = false;
        }
        return;
    }
    if (!calc_) {
        calc_ = new TV_calc(*this, this);
        connect(this, &TForm1::documentChanged, calc_, &TV_calc::documentChanged);
    }
    calc_->openFor(tool);
    // At the bottom of the drawing area, centred over the window but not left of its edge.
    calc_->adjustSize();
    const QWidget* area = canvas_->drawingArea();
    const QPoint bottom = area->mapToGlobal(QPoint(0, area->height()));
    const QRect frame = frameGeometry();
    const int x = std::max(frame.center().x() - calc_->width() / 2, frame.left() + 8);
    calc_->move(x, bottom.y() - calc_->frameGeometry().height());
}

bool TForm1::openCalcElementDialog(int tool, Element& e) {
    switch (tool) {
    case Tool::Calculate:
    case Tool::Function:
        chooseTool(tool);
        calc_->openFor(tool, &e);
        return true;
    case Tool::RepresentPoints:
        openRepresentPoints(nullptr, &e);
        return true;
    case Tool::Parameter:
        editParameter(e);
        return true;
    default:
        return false;
    }
}

void TForm1::dialogElementClicked(int tool, Element& e) {
    if (tool == Tool::EditElement)
        editElement(e);
    else if (tool == Tool::RepresentPoints)
        openRepresentPoints(&e, nullptr);
    else if (calc_ && calc_->isVisible())
        calc_->addReference(e);
}

void TForm1::openRepresentPoints(Element* axes, Element* edited) {
    TV_puncoord dialog(*this, axes, edited, this);
    runDialog(dialog);
}

void TForm1::dialogDocumentChanged() {
    canvas_->recalculateAndRedraw();
}

void TForm1::shiftPlaced(QPoint pixels) {
    const ViewTransform view = canvas_->view();
    const Point2 a = view.toWorld(0, 0), b = view.toWorld(pixels.x(), pixels.y());
    placed_->value[2] += b.x - a.x;
    placed_->value[3] += b.y - a.y;
}

void TForm1::calcPlacingStarted(Element& e, QPoint global) {
    placed_ = &e;
    placedLast_ = global;
    const QPoint at = canvas_->drawingArea()->mapFromGlobal(global);
    const Point2 w = canvas_->view().toWorld(at.x(), at.y());
    e.value[2] = w.x;
    e.value[3] = w.y;
    canvas_->recalculateAndRedraw();
    // The text is centred where the result was.
    PixelBox box;
    if (canvas_->elementBox(e, box))
        shiftPlaced(QPoint(at.x() - int(box.x + box.w / 2), at.y() - int(box.y + box.h / 2)));
    canvas_->recalculateAndRedraw();
}

void TForm1::calcPlacingMoved(QPoint global) {
    if (!placed_) return;
    shiftPlaced(global - placedLast_);
    placedLast_ = global;
    canvas_->recalculateAndRedraw();
}

void TForm1::calcPlacingEnded() {
    if (!placed_) return;
    placed_ = nullptr;
    chooseTool(Tool::Move);
}

void TForm1::calcClosed() {
    if (!hidingCalc_ && isCalculatorTool(currentTool())) chooseTool(Tool::Move);
}

} // namespace qorv

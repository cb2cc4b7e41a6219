// The calculator and the numeric elements: the calculator window that tools 42..44 open (and a
// double click on a calculation or function), the element dragged out of its result field, the
// parameter dialog and the represent-points dialog.
#pragma once

#include "app/controllers/featurecontext.h"

#include <QObject>
#include <QPoint>

namespace qorv {

class TV_calc;
struct Element;

class CalculatorController : public QObject {
    Q_OBJECT
  public:
    explicit CalculatorController(const FeatureContext& context);
    ~CalculatorController() override;

    // The calculator window (null until a calculator tool was first chosen).
    TV_calc* window() const { return calc_; }
    // The calculator on the calculation or function `e`, in its tool.
    void editInCalculator(Element& e);
    // "Modificar parámetro" on the parameter `e`.
    void editParameter(Element& e);
    // The represent-points dialog on `axes` (null: the reference axes), or on the represented
    // point `edited`.
    void openRepresentPoints(Element* axes, Element* edited);

  private:
    void toolChanged(int tool);
    void elementDialogAsked(int tool, Element* e);
    void elementClicked(int tool, Element* e);
    void documentChanged(bool otherDocument);
    void placingStarted(Element* e, QPoint global);
    void placingMoved(QPoint global);
    void placingEnded();
    void closed();
    // Moves the element being placed by a distance on the screen.
    void shiftPlaced(QPoint pixels);

    FeatureContext ctx_;
    TV_calc* calc_ = nullptr;
    Element* placed_ = nullptr; // made from the result field, following the held mouse
    QPoint placedLast_;
    bool hiding_ = false; // another tool closes the calculator: not a close by the user
};

} // namespace qorv

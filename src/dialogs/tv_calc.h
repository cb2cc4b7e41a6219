// The calculator window: an expression typed or built from buttons and clicked elements, its
// result, and the calculation, parameter or function made by dragging the result onto the
// drawing (or an existing calculation or function edited in place). Always on top, not modal.
#pragma once

#include "calc/calculator.h"
#include "dialogs/dialogcontext.h"

#include <QDialog>
#include <QLineEdit>

class QPushButton;
class QToolButton;

namespace qorv {

// The read-only result field: pressing it with a result available makes the element, which the
// held mouse then drags.
class ResultField : public QLineEdit {
    Q_OBJECT
  public:
    using QLineEdit::QLineEdit;
  signals:
    void pressed(QPoint global);
    void dragged(QPoint global);
    void released();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool held_ = false;
};

class TV_calc : public QDialog {
    Q_OBJECT
  public:
    explicit TV_calc(DialogContext& context, QWidget* parent = nullptr);

    // Opens for tool 42 (calculation), 43 (parameter) or 44 (function), cleared; with `edit`, on
    // that calculation or function.
    void openFor(int tool, Element* edit = nullptr);
    int tool() const { return tool_; }
    // Inserts at the caret; a text ending in "(" gets its ")" (see Calculator).
    void insertText(const QString& text);
    // A click on an element of the drawing.
    void addReference(Element& e);
    void evaluateExpression();
    // Function types 1..4 (the B_tipfun menu).
    void setFunctionType(int type);

    const Calculator& calculator() const { return calc_; }
    Calculator& calculator() { return calc_; }
    // Another document is shown (everything clicked is forgotten), or elements of this one may
    // have been freed (the result goes when it named one of them).
    void documentChanged(bool otherDocument);
    QLineEdit* expressionField() const { return Ed_expr; }
    ResultField* resultField() const { return Ed_result; }
    QToolButton* typeButton() const { return B_tipfun; }

  signals:
    // The result field was pressed and `e` made at the global point: it follows the pointer
    // until the button is released.
    void placingStarted(Element* e, QPoint global);
    void placingMoved(QPoint global);
    void placingEnded();
    // The window was closed (its button, Escape, or another tool).
    void closed();

  protected:
    void hideEvent(QHideEvent* event) override;

  private:
    QPushButton* button(const char* name, const QString& caption, const QString& inserted);
    void clearAll();
    void showType();
    void showAvailability();
    void resultPressed(QPoint global);
    void editSelected(bool on);

    DialogContext& context_;
    Calculator calc_;
    int tool_ = 42;
    QLineEdit* Ed_expr = nullptr;
    ResultField* Ed_result = nullptr;
    QPushButton* B_vi = nullptr;
    QToolButton* B_tipfun = nullptr;
    QPushButton* B_arc = nullptr;
    bool placing_ = false;
};

} // namespace qorv

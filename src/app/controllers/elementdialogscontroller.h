// The element dialogs: the properties dialog "Editar elemento" (a double click, the edit tool,
// the construction list), the redefinitions it closes for, the parametric-colour tool started on
// an element, and the construction list beside the drawing.
#pragma once

#include "app/controllers/featurecontext.h"

#include <QObject>

namespace qorv {

class CalculatorController;
class TV_lista;
struct Element;
struct ElementDialogClose;

class ElementDialogsController : public QObject {
    Q_OBJECT
  public:
    // Calculations, functions and parameters are redefined in `calculator`'s dialogs.
    ElementDialogsController(const FeatureContext& context, CalculatorController& calculator);

    // The properties dialog of `e`.
    void editElement(Element& e);
    // The parametric-colour tool with `e` already chosen (Bcolorpar of the properties dialog).
    void startParametricColour(Element& e);
    // "Lista construcción": the list beside the drawing (made on first use).
    void showConstructionList();
    TV_lista* constructionList() const { return list_; }

  signals:
    // "Ver lo oculto" is to be switched on or off (for the redefinition of a button's list).
    void showHiddenAsked(bool on);

  private:
    void elementDialogAsked(int tool, Element* e);
    // After the properties dialog: the redefinition it was closed for.
    void redefineAfterDialog(const ElementDialogClose& closing, Element& e);
    // The hide/show button tool redefining `button`'s list, its elements selected.
    void redefineButtonList(Element& button);
    // A tool was chosen: a redefinition of a button's list ends.
    void endButtonListRedefinition();
    // The document changed: a button whose list was being redefined may be gone.
    void documentChanged(bool otherDocument);

    FeatureContext ctx_;
    CalculatorController& calculator_;
    TV_lista* list_ = nullptr;
    bool hiddenShownForButton_ = false; // "Ver lo oculto" switched on for a button's list
};

} // namespace qorv

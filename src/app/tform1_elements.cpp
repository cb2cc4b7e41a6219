// The element dialogs of the main window: the properties dialog.
#include "app/tform1.h"
#include "dialogs/tedit_elem.h"
#include "dialogs/tv_ed_param.h"

#include <QScreen>

namespace qorv {

struct TForm1::ElementHost : ElementDialogHost {
    explicit ElementHost(TForm1& w) : w_(w) {}
    Document& dialogDocument() override { return w_.document(); }
    const CreationOptions& dialogCreationOptions() override { return w_.creation_; }
    void dialogRecordUndo() override { w_.recordUndoStep(); }
    void dialogDocumentChanged() override {
        // "Borrar" freed elements: the tools let go of them before the drawing blinks them.
        if (w_.session_.removalsUntold()) w_.canvas_->interaction().documentReplaced();
        w_.canvas_->recalculateAndRedraw();
    }
    void dialogWarn(const QString& message) override { w_.warn(message); }
    bool dialogChooseFont(FontRecord& font) override { return w_.chooseFont(font); }
    void dialogRevertStep() override {
        // The list is new objects: the tools let go of what they picked (the construction list
        // opens this dialog while a tool has elements picked).
        w_.session_.replaceElements(ElementsChange::Revert,
                                    [](Document& doc) { return revertStep(doc); });
        w_.updateMenuStates();
    }
    TForm1& w_;
};

void TForm1::editElement(Element& e) {
    ElementHost host(*this);
    TEdit_elem dialog(host, e, this);
    runDialog(dialog);
    updateMenuStates();
    if (TV_lista_ && TV_lista_->isVisible()) TV_lista_->rebuild();
    if (Element* edited = dialog.element()) redefineAfterDialog(dialog.closing(), *edited);
    if (dialog.parametricColourAsked() && dialog.element())
        startParametricColour(*dialog.element());
}

void TForm1::redefineAfterDialog(const ElementDialogClose& closing, Element& e) {
    if (closing.calculator)
        openCalcElementDialog(e.method == Method::Function ? Tool::Function : Tool::Calculate, e);
    else if (closing.parameterDialog)
        editParameter(e);
    else if (closing.parents)
        redefineParents(e);
    else if (closing.buttonList)
        redefineButtonList(e);
}

void TForm1::redefineParents(Element& p) {
    chooseTool(Tool::RedefinePoint);
    Hit hit;
    hit.element = &p;
    canvas_->interaction().engine().click(&hit, Point2{p.value[0], p.value[1]}, 0);
}

void TForm1::redefineButtonList(Element& button) {
    const auto* t = button.tailAs<ButtonTail>();
    if (!t) return;
    Document& doc = document();
    doc.selectNone();
    for (Element* c : t->elements)
        if (c) c->selected = 1;
    chooseTool(Tool::ShowHideButton); // keeps the selection
    // The hidden ones must be seen to be taken off the list.
    if (!canvas_->showHidden()) {
        setShowHidden(true);
        hiddenShownForButton_ = true;
    }
    creation_.redefiningButton = &button;
    canvas_->recalculateAndRedraw();
}

void TForm1::endButtonListRedefinition() {
    creation_.redefiningButton = nullptr;
    if (!hiddenShownForButton_) return;
    hiddenShownForButton_ = false;
    setShowHidden(false);
}

void TForm1::editParameter(Element& e) {
    TV_ed_param dialog(*this, e, this);
    runDialog(dialog);
    updateMenuStates();
}

void TForm1::showConstructionList() {
    if (!TV_lista_) {
        TV_lista_ = new TV_lista([this]() -> Document& { return document(); },
                                 [this](Element& e) { editElement(e); }, this);
        TV_lista_->setModal(false);
        connect(this, &TForm1::documentChanged, TV_lista_, &TV_lista::documentChanged);
        // Beside the drawing, on its right.
        const QRect area = canvas_->drawingArea()->geometry();
        TV_lista_->resize(320, std::max(300, area.height()));
        TV_lista_->move(mapToGlobal(QPoint(std::max(0, width() - 330), area.top())));
        TV_lista_->rebuild();
        TV_lista_->show();
        // Its buttons and columns may make it wider than asked: it is kept on the screen.
        if (const QScreen* s = screen()) {
            const QRect free = s->availableGeometry();
            QRect r = TV_lista_->frameGeometry();
            r.moveRight(std::min(r.right(), free.right()));
            r.moveLeft(std::max(r.left(), free.left()));
            TV_lista_->move(r.topLeft());
        }
    }
    TV_lista_->rebuild();
    TV_lista_->show();
    TV_lista_->raise();
}

} // namespace qorv

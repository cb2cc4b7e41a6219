#include "app/controllers/elementdialogscontroller.h"

#include "app/commands.h"
#include "app/controllers/calculatorcontroller.h"
#include "app/drawingcanvas.h"
#include "app/editorsession.h"
#include "app/windowcontext.h"
#include "app/windowrequests.h"
#include "dialogs/tedit_elem.h"
#include "dialogs/tv_lista.h"
#include "view/tooltable.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace qorv {

ElementDialogsController::ElementDialogsController(const FeatureContext& context,
                                                   CalculatorController& calculator)
    : QObject(context.window), ctx_(context), calculator_(calculator) {
    EditorSession& session = ctx_.session;
    connect(&ctx_.requests, &WindowRequests::elementDialogAsked, this,
            &ElementDialogsController::elementDialogAsked);
    connect(&ctx_.requests, &WindowRequests::elementClickedForDialog, this,
            [this](int tool, Element* e) {
                if (tool == Tool::EditElement) editElement(*e);
            });
    connect(&session, &EditorSession::toolChanged, this,
            &ElementDialogsController::endButtonListRedefinition);
    connect(&session, &EditorSession::currentDocumentChanged, this,
            [this] { documentChanged(true); });
    connect(&session, &EditorSession::elementsReplaced, this, [this] { documentChanged(false); });
    session.heldReferences().add([this](const HeldReferences::Visit& visit) {
        visit(ctx_.session.creationOptions().redefiningButton);
    });
    ctx_.onCommand(CommandId::ConstructionList, this, [this] { showConstructionList(); });
}

void ElementDialogsController::elementDialogAsked(int tool, Element* e) {
    switch (tool) {
    case Tool::Calculate:
    case Tool::Function:
    case Tool::RepresentPoints:
    case Tool::Parameter:
        return; // the calculator's
    default:
        editElement(*e);
    }
}

void ElementDialogsController::editElement(Element& e) {
    TEdit_elem dialog(ctx_.context, e, ctx_.window);
    ctx_.context.run(dialog);
    ctx_.session.noteChanges();
    if (list_ && list_->isVisible()) list_->rebuild();
    if (Element* edited = dialog.element()) redefineAfterDialog(dialog.closing(), *edited);
    if (dialog.parametricColourAsked() && dialog.element())
        startParametricColour(*dialog.element());
}

void ElementDialogsController::redefineAfterDialog(const ElementDialogClose& closing, Element& e) {
    if (closing.calculator)
        calculator_.editInCalculator(e);
    else if (closing.parameterDialog)
        calculator_.editParameter(e);
    else if (closing.parents)
        ctx_.canvas.interaction().chooseToolWith(Tool::RedefinePoint, e);
    else if (closing.buttonList)
        redefineButtonList(e);
}

void ElementDialogsController::startParametricColour(Element& e) {
    ctx_.canvas.interaction().chooseToolWith(Tool::ParamLineColour, e);
}

void ElementDialogsController::redefineButtonList(Element& button) {
    const auto* t = button.tailAs<ButtonTail>();
    if (!t) return;
    EditorSession& session = ctx_.session;
    Document& doc = session.document();
    doc.selectNone();
    for (Element* c : t->elements)
        if (c) c->selected = 1;
    session.chooseTool(Tool::ShowHideButton); // keeps the selection
    // The hidden ones must be seen to be taken off the list.
    if (!ctx_.canvas.showHidden()) {
        emit showHiddenAsked(true);
        hiddenShownForButton_ = true;
    }
    session.creationOptions().redefiningButton = &button;
    ctx_.canvas.recalculateAndRedraw();
    session.notifySelectionChanged();
}

void ElementDialogsController::endButtonListRedefinition() {
    ctx_.session.creationOptions().redefiningButton = nullptr;
    if (!hiddenShownForButton_) return;
    hiddenShownForButton_ = false;
    emit showHiddenAsked(false);
}

void ElementDialogsController::documentChanged(bool otherDocument) {
    CreationOptions& creation = ctx_.session.creationOptions();
    if (otherDocument) {
        creation.redefiningButton = nullptr;
    } else if (creation.redefiningButton) {
        bool there = false;
        for (const Element* e = ctx_.session.document().head; e && !there; e = e->next)
            there = e == creation.redefiningButton;
        if (!there) creation.redefiningButton = nullptr;
    }
    if (list_) list_->documentChanged();
}

void ElementDialogsController::showConstructionList() {
    if (!list_) {
        list_ = new TV_lista(ctx_.context, ctx_.window);
        list_->setModal(false);
        connect(list_, &TV_lista::editAsked, this, [this](Element* e) { editElement(*e); });
        // Beside the drawing, on its right.
        const QWidget* window = ctx_.window;
        const QRect area = ctx_.canvas.drawingArea()->geometry();
        list_->resize(320, std::max(300, area.height()));
        list_->move(window->mapToGlobal(QPoint(std::max(0, window->width() - 330), area.top())));
        list_->rebuild();
        list_->show();
        // Its buttons and columns may make it wider than asked: it is kept on the screen.
        if (const QScreen* s = window->screen()) {
            const QRect free = s->availableGeometry();
            QRect r = list_->frameGeometry();
            r.moveRight(std::min(r.right(), free.right()));
            r.moveLeft(std::max(r.left(), free.left()));
            list_->move(r.topLeft());
        }
    }
    list_->rebuild();
    list_->show();
    list_->raise();
}

} // namespace qorv

// The shell's wiring of the features: the controllers are made here and connected to what the
// window itself shows (the tool bars, "Ver lo oculto", help, the bars viewer mode hides).
#include "app/tform1.h"

#include "app/commands.h"
#include "app/controllers/animationcontroller.h"
#include "app/controllers/calculatorcontroller.h"
#include "app/controllers/elementdialogscontroller.h"
#include "app/controllers/iterationcontroller.h"
#include "app/controllers/macrocontroller.h"
#include "app/windowcontext.h"
#include "app/windowrequests.h"

#include <QAction>
#include <QStatusBar>
#include <QToolBar>

namespace qorv {

void TForm1::createFeatures() {
    const FeatureParts parts{session_, *canvas_, *context_, *requests_, this};
    calc_ = new CalculatorController(parts);
    iteration_ = new IterationController(parts);
    elementDialogs_ = new ElementDialogsController(parts, *calc_);
    connect(elementDialogs_, &ElementDialogsController::showHiddenAsked, this,
            &TForm1::setShowHidden);
    macros_ = new MacroController(parts);
    macros_->setHelp([this] { return openHelp(); });
    M_macros = commands_->action(CommandId::Macros);
    connect(M_macros, &QAction::triggered, macros_, &MacroController::openDialog);
    connect(macros_, &MacroController::toolShownAgain, this,
            [this] { toolBars_->showTool(currentTool()); });
    anim_ = new AnimationController(parts, *commands_);
    anim_->setViewerHides(
        QList<QWidget*>{toolBars_->mainBar(), toolBars_->editBar(), documentBar_, statusBar()});
}

void TForm1::setElementDialogHook(std::function<void(int tool, Element&)> hook) {
    requests_->setElementDialogHook(std::move(hook));
}

void TForm1::setFontDialogHook(std::function<bool(FontRecord&)> hook) {
    context_->setFontDialogHook(std::move(hook));
}

void TForm1::setMacroDialogHook(std::function<void(TMacCon&)> hook) {
    macros_->setDialogHook(std::move(hook));
}

TV_calc* TForm1::calculatorWindow() const {
    return calc_->window();
}

TV_iterac* TForm1::iterationDialog() const {
    return iteration_ ? iteration_->dialog() : nullptr;
}

void TForm1::editElement(Element& e) {
    elementDialogs_->editElement(e);
}

void TForm1::startParametricColour(Element& e) {
    elementDialogs_->startParametricColour(e);
}

void TForm1::editParameter(Element& e) {
    calc_->editParameter(e);
}

void TForm1::showConstructionList() {
    elementDialogs_->showConstructionList();
}

TV_lista* TForm1::constructionList() const {
    return elementDialogs_->constructionList();
}

void TForm1::openMacroDialog() {
    macros_->openDialog();
}

} // namespace qorv

#include "app/controllers/iterationcontroller.h"

#include "app/drawingcanvas.h"
#include "app/editorsession.h"
#include "app/windowcontext.h"
#include "construction/create.h"
#include "dialogs/tv_iterac.h"
#include "model/uitext.h"
#include "view/qtexts.h"
#include "view/tooltable.h"

namespace qorv {

IterationController::IterationController(const FeatureContext& parts)
    : QObject(parts.window), parts_(parts) {
    EditorSession& session = parts_.session;
    parts_.canvas.interaction().lendIterationWorkspace(&lists_);
    connect(&session, &EditorSession::toolChanged, this, &IterationController::toolChanged);
    connect(&session, &EditorSession::currentDocumentChanged, this, [this] {
        lists_.reset();
        if (dialog_ && dialog_->isVisible()) dialog_->refresh();
    });
    connect(&session, &EditorSession::elementsReplaced, this, [this] {
        lists_.forgetMissing(parts_.session.document());
        if (dialog_ && dialog_->isVisible()) dialog_->refresh();
    });
}

void IterationController::toolChanged(int tool) {
    if (tool != Tool::Iteration) {
        if (dialog_) dialog_->hide();
        return;
    }
    lists_.defaultIterations = parts_.session.programOptions().iterations;
    if (lists_.listCount() == 0 && !lists_.countElement)
        lists_.pendingIterations = lists_.defaultIterations;
    if (!dialog_) {
        dialog_ = new TV_iterac(parts_.context, lists_, parts_.window);
        dialog_->setModal(false);
        connect(dialog_, &TV_iterac::selectionShown, this, [this] {
            parts_.canvas.redraw();
            parts_.session.notifySelectionChanged();
            if (lists_.countMode)
                parts_.canvas.setStatusText(uiText().message(Msg::IterCountPrompt));
        });
        connect(dialog_, &TV_iterac::createAsked, this, &IterationController::createIteration);
        connect(dialog_, &TV_iterac::leaveAsked, this, [this] {
            if (parts_.session.tool() == Tool::Iteration) parts_.session.chooseTool(Tool::Move);
        });
    }
    dialog_->refresh();
    dialog_->show();
    dialog_->raise();
}

void IterationController::createIteration() {
    EditorSession& session = parts_.session;
    Document& doc = session.document();
    if (!lists_.canCreate(doc)) return;
    session.recordUndoStep();
    qorv::createIteration(doc, lists_, session.creationOptions());
    lists_.reset();
    session.chooseTool(Tool::Move);
    parts_.canvas.recalculateAndRedraw();
}

} // namespace qorv

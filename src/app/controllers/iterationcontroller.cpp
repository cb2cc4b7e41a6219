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

IterationController::IterationController(const FeatureContext& context)
    : QObject(context.window), ctx_(context) {
    EditorSession& session = ctx_.session;
    ctx_.canvas.interaction().lendIterationWorkspace(&lists_);
    connect(&session, &EditorSession::toolChanged, this, &IterationController::toolChanged);
    connect(&session, &EditorSession::currentDocumentChanged, this, [this] {
        lists_.reset();
        if (dialog_ && dialog_->isVisible()) dialog_->refresh();
    });
    connect(&session, &EditorSession::elementsReplaced, this, [this] {
        lists_.forgetMissing(ctx_.session.document());
        if (dialog_ && dialog_->isVisible()) dialog_->refresh();
    });
}

void IterationController::toolChanged(int tool) {
    if (tool != Tool::Iteration) {
        if (dialog_) dialog_->hide();
        return;
    }
    lists_.defaultIterations = ctx_.session.programOptions().iterations;
    if (lists_.listCount() == 0 && !lists_.countElement)
        lists_.pendingIterations = lists_.defaultIterations;
    if (!dialog_) {
        dialog_ = new TV_iterac(ctx_.context, lists_, ctx_.window);
        dialog_->setModal(false);
        connect(dialog_, &TV_iterac::selectionShown, this, [this] {
            ctx_.canvas.redraw();
            ctx_.session.notifySelectionChanged();
            if (lists_.countMode) ctx_.canvas.setStatusText(uiText().message(Msg::IterCountPrompt));
        });
        connect(dialog_, &TV_iterac::createAsked, this, &IterationController::createIteration);
        connect(dialog_, &TV_iterac::leaveAsked, this, [this] {
            if (ctx_.session.tool() == Tool::Iteration) ctx_.session.chooseTool(Tool::Move);
        });
    }
    dialog_->refresh();
    dialog_->show();
    dialog_->raise();
}

void IterationController::createIteration() {
    EditorSession& session = ctx_.session;
    Document& doc = session.document();
    if (!lists_.canCreate(doc)) return;
    session.recordUndoStep();
    qorv::createIteration(doc, lists_, session.creationOptions());
    lists_.reset();
    session.chooseTool(Tool::Move);
    ctx_.canvas.recalculateAndRedraw();
}

} // namespace qorv

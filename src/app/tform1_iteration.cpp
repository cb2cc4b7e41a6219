// The iteration tool's window side: its menu item, the dialog that stays open while the tool is
// active, and the dialog asking for the number of iterations.
#include "app/tform1.h"

#include "dialogs/tv_iterac.h"
#include "model/iteration.h"
#include "model/uitext.h"
#include "settings/language.h"
#include "view/qtexts.h"

#include <QAction>
#include <QMenu>

namespace qorv {

struct TForm1::IterationHost : IterationDialogHost {
    TForm1& w;
    explicit IterationHost(TForm1& window) : w(window) {}
    IterationWorkspace& lists() { return w.iterationLists_; }

    Document& iterationDocument() override { return w.document(); }
    IterationWorkspace& iterationLists() override { return lists(); }
    void iterationSelectionChanged() override {
        w.canvas_->redraw();
        if (lists().countMode) w.setStatusText(text(Msg::IterCountPrompt));
    }
    void createIterationNow() override {
        IterationWorkspace& ws = lists();
        Document& doc = w.document();
        if (!ws.canCreate(doc)) return;
        w.recordUndoStep();
        createIteration(doc, ws, w.creation_);
        ws.reset();
        w.chooseTool(Tool::Move);
        w.canvas_->recalculateAndRedraw();
    }
    void leaveIterationTool() override {
        if (w.currentTool() == Tool::Iteration) w.chooseTool(Tool::Move);
    }
};

void TForm1::setupIteration() {
    iterationHost_ = std::make_shared<IterationHost>(*this);
}

void TForm1::iterationToolChosen(int tool) {
    if (!iterationHost_) return;
    if (tool != Tool::Iteration) {
        if (TV_iterac_) TV_iterac_->hide();
        return;
    }
    IterationWorkspace& ws = iterationHost_->lists();
    ws.defaultIterations = options_.iterations;
    if (ws.listCount() == 0 && !ws.countElement) ws.pendingIterations = ws.defaultIterations;
    if (!TV_iterac_) {
        TV_iterac_ = new TV_iterac(*iterationHost_, this);
        TV_iterac_->setModal(false);
    }
    TV_iterac_->refresh();
    TV_iterac_->show();
    TV_iterac_->raise();
}

bool TForm1::askIterationCount(int32_t& n) {
    TV_iterac_ni dialog(n, this);
    runDialog(dialog);
    if (dialog.result() != QDialog::Accepted) return false;
    n = dialog.number();
    return true;
}

} // namespace qorv

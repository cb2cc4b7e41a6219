// The iteration tool (60): a click on an element takes it into the list being edited or out of
// it; in count mode a click on a number makes it the count element, a click elsewhere asks for
// the number, and either creates the iteration.
#include "construction/create.h"
#include "view/toolsequences_parts.h"

namespace qorv::sequences {

namespace {

class IterationSequence : public ToolSequence {
  public:
    bool wantsPoint(const ClickEngine&, const Element*) const override { return false; }

    void click(ClickEngine& engine, const Click& click) override {
        IterationWorkspace* ws = engine.host().iterationWorkspace();
        if (!ws) return;
        Document& doc = engine.doc();
        ws->forgetMissing(doc);
        Element* e = click.element;
        if (!ws->countMode) {
            if (!ws->toggle(e)) return;
            ws->selectCurrent(doc);
            engine.markChanged();
            return;
        }
        if (e && e->kind() == Kind::Number) {
            ws->countElement = e;
        } else {
            int32_t n = ws->pendingIterations;
            if (!engine.requests().askIterationCount(n)) return;
            ws->pendingIterations = n;
            ws->countElement = nullptr;
        }
        ws->countMode = false;
        engine.markChanged();
        if (!ws->canCreate(doc)) return;
        engine.saveUndoOnce();
        createIteration(doc, *ws, engine.options());
        ws->reset();
        doc.selectNone();
        engine.requestTool(Tool::Move, false);
    }
};

} // namespace

std::unique_ptr<ToolSequence> makeIterationSequence(int tool) {
    if (tool == Tool::Iteration) return std::make_unique<IterationSequence>();
    return nullptr;
}

} // namespace qorv::sequences

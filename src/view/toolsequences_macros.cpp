// The macro tools: choosing the initial elements (53) and the final elements (54) of a macro in
// the drawing, and applying a macro (52) by clicking elements of the kinds of its initial ones.
#include "view/toolsequences_parts.h"

#include "macros/macro.h"
#include "macros/macrosession.h"
#include "model/uitext.h"

namespace qorv::sequences {

namespace {

// Each click on an element adds it to the selection or takes it out; in the select-final mode
// only elements that the initial ones determine can be chosen.
class MacroSelectSequence : public ToolSequence {
  public:
    bool wantsPoint(const ClickEngine&, const Element*) const override { return false; }

    void restart(ClickEngine& engine) override {
        if (MacroSession* s = engine.host().macroSession()) s->clearSelection();
    }

    void click(ClickEngine& engine, const Click& click) override {
        MacroSession* s = engine.host().macroSession();
        Element* e = click.element;
        if (!s || !e) return;
        if (engine.tool() == Tool::MacroFinal && !s->isDetermined(e)) {
            engine.requests().showMessage(Msg::NotFinalElement);
            return;
        }
        s->toggle(e);
        engine.markChanged();
    }
};

// Applying: the needs row asks for the kind of the next initial element (a point, made where
// the click is when it falls on empty ground or on a curve); once every initial element is
// matched, one undo step and the macro's copies.
class ApplyMacroSequence : public ToolSequence {
  public:
    void restart(ClickEngine& engine) override { expect(engine, 0); }

    void click(ClickEngine& engine, const Click& click) override {
        const MacroSlot* m = macro(engine);
        Element* e = click.element;
        const size_t k = engine.picked().size();
        if (!m || !e || k >= m->head.size() || e->kind() != m->head[k]) return;
        engine.pick(e);
        if (k + 1 < m->head.size()) {
            expect(engine, k + 1);
            return;
        }
        engine.saveUndoOnce();
        instantiateMacro(engine.doc(), *m, engine.picked(), click.world,
                         engine.options().hideMacroIntermediates);
        engine.reset();
    }

  private:
    static const MacroSlot* macro(ClickEngine& engine) {
        const MacroSession* s = engine.host().macroSession();
        if (!s || s->applying < 0 || s->applying >= engine.doc().macroCount()) return nullptr;
        return &engine.doc().macros[size_t(s->applying)];
    }

    static void expect(ClickEngine& engine, size_t k) {
        const MacroSlot* m = macro(engine);
        const int kind = m && k < m->head.size() ? m->head[k] : -1;
        if (kind == Kind::Point)
            setNeeds(engine, 1);
        else
            setNeeds(engine, 0, {kind});
    }
};

} // namespace

std::unique_ptr<ToolSequence> makeMacroSequence(int tool) {
    switch (tool) {
    case Tool::ApplyMacro:
        return std::make_unique<ApplyMacroSequence>();
    case Tool::MacroInitial:
    case Tool::MacroFinal:
        return std::make_unique<MacroSelectSequence>();
    default:
        return nullptr;
    }
}

} // namespace qorv::sequences

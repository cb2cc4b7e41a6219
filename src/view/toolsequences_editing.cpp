// Editing tools: visibility, deletion, font, colours (parametric too), styles; redefinition of
// a point; the hide/show and motion buttons; texts and pictures.
#include "view/toolsequences_parts.h"

#include "geometry/paramcolor.h"
#include "geometry/pointonelement.h"
#include "geometry/recalc.h"
#include "model/buttonaction.h"
#include "model/uitext.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qorv::sequences {

namespace {

// The style word each style tool gives (point shapes, line styles, angle marks).
int styleOfTool(int tool) {
    static constexpr int styles[] = {1, 6, 4, 2, 5, 3, 1, 3, 4, 5, 6, 2, 1, 2, 3};
    return tool >= Tool::FirstPointShape && tool <= Tool::LastAngleMark
               ? styles[tool - Tool::FirstPointShape]
               : 1;
}

// "Editar elemento": a click opens the properties dialog of the element.
class ElementDialogSequence : public ToolSequence {
  public:
    // An empty place is not an element: no point is made there.
    bool wantsPoint(const ClickEngine&, const Element*) const override { return false; }
    void click(ClickEngine& engine, const Click& click) override {
        if (click.element) engine.requests().dialogElementClicked(engine.tool(), *click.element);
    }
};

// Editing tools: one click on an element applies the tool to it.
class EditSequence : public ToolSequence {
  public:
    bool wantsPoint(const ClickEngine&, const Element*) const override { return false; }
    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e || e->method == Method::Intersection) return;
        if (engine.tool() == Tool::Font) return chooseFont(engine, e);
        engine.saveUndoOnce();
        if (!e) return;
        apply(engine, *e);
        engine.reset();
    }

  private:
    // The font tool: the font dialog on the element's font (a text's own font, a table's font);
    // the undo step only once the dialog is confirmed. A colour equal to the background keeps
    // the old colour.
    static void chooseFont(ClickEngine& engine, Element* e) {
        auto* text = e->tailAs<TextTail>();
        FontRecord* current = text ? &text->font : e->font.get();
        if (!current) return;
        FontRecord chosen = *current;
        if (!engine.requests().chooseFont(chosen)) return;
        engine.saveUndoOnce();
        if (!e) return;
        text = e->tailAs<TextTail>();
        auto apply = [&](FontRecord& f) {
            const Color old = f.color;
            f = chosen;
            if (chosen.color == engine.doc().background) f.color = old;
        };
        if (text) {
            apply(text->font);
            for (FontRun& r : text->runs)
                apply(r.font);
        } else if (e->font) {
            apply(*e->font);
        }
        engine.reset();
    }

    static void apply(ClickEngine& engine, Element& target) {
        const int tool = engine.tool();
        switch (tool) {
        case Tool::ToggleVisibility:
            target.visible = target.visible ? 0 : 1;
            if (target.nameElement) target.nameElement->visible = target.visible;
            return;
        case Tool::DeleteElement:
            engine.doc().deleteWithDescendants(&target);
            return;
        case Tool::LineColour:
            setLineColour(target, engine.options().chosenColor);
            return;
        case Tool::FillColour: {
            const Color c = engine.options().chosenColor;
            if (hasFillColor(target)) {
                target.option = target.option == c ? -1 : c;
            } else if (isTextLike(target.kind())) {
                target.shape = target.shape == c ? -1 : c;
            }
            if (target.colorParamMode < 0) {
                target.colorParam = nullptr;
                target.colorParamMode = 0;
            }
            return;
        }
        default:
            if (tool >= Tool::FirstPointShape && tool <= Tool::LastAngleMark) {
                target.shape = styleOfTool(tool);
                forEachSubElement(target, [&](Element& s) { s.shape = target.shape; });
            }
            return;
        }
    }
};

// Whether `target` is the point itself or depends on it.
bool dependsOnPoint(Document& doc, Element* point, const Element* target) {
    if (!target) return false;
    if (target == point) return true;
    doc.markDescendants(point);
    const Element* owner = target->owner ? target->owner : target;
    const bool found = target->mark == 1 || owner->mark == 1;
    doc.clearMarks();
    return found;
}

// Every reference to `from` now points to `to`; names are left alone.
void replaceReferences(Document& doc, Element* from, Element* to) {
    doc.forEachWithSubs([&](Element& e) {
        if (e.method == Method::Name) return;
        forEachReference(e, [&](Ref& r) {
            if (r == from) r = to;
        });
    });
}

// Redefinition of a point (46): the point, then where it goes: onto a curve (a point on it),
// onto a crossing (the intersection point made there), onto another point (which takes its
// place in everything built on it) or onto an empty place (a free point). A target that depends
// on the point is refused with "Redefinición no válida".
class RedefineSequence : public ToolSequence {
  public:
    bool wantsPoint(const ClickEngine&, const Element*) const override { return false; }
    bool takesCrossings() const override { return true; }

    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (engine.step() == 0) {
            if (!isPoint(e)) return;
            engine.saveUndoOnce();
            if (!e) return;
            engine.pick(e);
            engine.needs() = toolInfo(Tool::Point).needs;
            return;
        }
        Document& doc = engine.doc();
        Element* p = engine.picked().front();
        if (!e) {
            p->method = Method::FreePoint;
            p->parent1 = p->parent2 = p->parent3 = nullptr;
            p->value[0] = click.world.x;
            p->value[1] = click.world.y;
            p->value[2] = p->value[3] = 0;
            p->option = -1;
            p->option2 = 0;
        } else if (e->method == Method::Intersection) {
            if (dependsOnPoint(doc, p, e->parent1) || dependsOnPoint(doc, p, e->parent2))
                return refuse(engine);
            Hit crossing;
            crossing.element = e;
            Element* q = engine.makePoint(&crossing, click.world);
            if (!q) return engine.reset();
            mergeInto(doc, p, q);
        } else if (isPoint(e)) {
            if (dependsOnPoint(doc, p, e)) return refuse(engine);
            mergeInto(doc, p, e);
        } else if (hasKind(PointHostKinds, e->kind()) && e->kind() != Kind::Grid &&
                   e->kind() != Kind::Axes) {
            if (dependsOnPoint(doc, p, e)) return refuse(engine);
            const double t = nearestParameterOnElement(*e, click.world);
            if (!std::isfinite(t)) return;
            p->method = Method::PointOnElement;
            p->parent1 = e;
            p->parent2 = p->parent3 = nullptr;
            p->value[3] = t;
            p->option = -1;
            p->option2 = 0;
        } else {
            return;
        }
        restoreDependencyOrder(doc);
        doc.modified = 1;
        engine.reset(); // the picked point may be gone
    }

  private:
    static void refuse(ClickEngine& engine) {
        engine.reset();
        engine.requests().showMessage(Msg::InvalidRedefinition);
    }

    // q takes p's place in everything built on p (and its name when q has none); p goes.
    static void mergeInto(Document& doc, Element* p, Element* q) {
        replaceReferences(doc, p, q);
        if (Element* name = p->nameElement; name && !q->nameElement) {
            name->parent1 = q;
            q->nameElement = name;
            p->nameElement = nullptr;
        }
        doc.deleteWithDescendants(p);
    }
};

// Hide/show (57) and motion (58) buttons: the first click places the button, then each click
// on an element adds it to the list, and a click on an empty place creates the button.
class ButtonSequence : public ToolSequence {
  public:
    explicit ButtonSequence(ConstructionMethod m) : method_(m) {}

    bool wantsPoint(const ClickEngine&, const Element*) const override { return false; }

    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (Element* button = redefinedButton(engine)) return redefineList(engine, *button, e);
        if (!placed_ || (!e && engine.picked().empty())) {
            place_ = click.world;
            placed_ = true;
            return;
        }
        if (e) {
            if (e->method == Method::Intersection) return;
            engine.pick(e);
            engine.needs() = toolInfo(engine.tool()).needs;
            return;
        }
        ElementRequest& r = engine.request();
        r.extra = engine.picked();
        r.parent1 = r.parent2 = r.parent3 = nullptr;
        placeTextAt(r, place_);
        placed_ = false;
        // A new hide/show button acts once: its elements take the state it imposes.
        if (Element* button = engine.complete(method_)) applyShowHideButton(*button, 1);
    }

  private:
    // The hide/show button whose list is being redefined (from its properties dialog), while it
    // is still in the list.
    Element* redefinedButton(ClickEngine& engine) const {
        Element* b = engine.options().redefiningButton;
        if (!b || method_ != Method::ShowHideButton) return nullptr;
        for (Element* x = engine.doc().head; x; x = x->next)
            if (x == b) return b;
        return nullptr;
    }

    // The selection is the new list: a click on an element adds or removes it, a click on an
    // empty place gives it to the button (each element keeping the state it shows while the
    // button is up, as at creation) and ends the redefinition.
    static void redefineList(ClickEngine& engine, Element& button, Element* e) {
        if (e) {
            if (e == &button || e->method == Method::Intersection) return;
            e->selected = e->selected ? 0 : 1;
            engine.markChanged();
            return;
        }
        engine.saveUndoOnce();
        auto* t = button.tailAs<ButtonTail>();
        if (!t) return;
        const bool keepState = button.option2 != 0;
        t->elements.clear();
        t->states.clear();
        for (Element* x = engine.doc().head; x; x = x->next) {
            if (!x->selected || x == &button) continue;
            t->elements.emplace_back(x);
            t->states.push_back(keepState ? x->visible : (x->visible ? 0 : 1));
        }
        engine.doc().selectNone();
        engine.doc().modified = 1;
        engine.requestTool(Tool::Move, false, nullptr);
    }

    ConstructionMethod method_;
    bool placed_ = false;
    Point2 place_;
};

// Text (55): a click opens the text editor; OK inserts the text there, Cancel makes nothing. A
// click on a text edits that text.
class TextSequence : public ToolSequence {
  public:
    bool wantsPoint(const ClickEngine&, const Element*) const override { return false; }

    void click(ClickEngine& engine, const Click& click) override {
        if (click.element && click.element->tailAs<TextTail>()) {
            if (editExistingText(engine.host(), engine.requests(), *click.element))
                engine.markChanged();
            return engine.reset();
        }
        TextTail typed;
        typed.font = engine.doc().fonts[FontSlot::Texts];
        if (!engine.requests().editText(typed) || typed.lines.empty()) return engine.reset();
        ElementRequest& r = engine.request();
        setParents(engine, nullptr);
        r.text.clear();
        placeTextAt(r, click.world);
        Element* e = engine.complete(Method::Text);
        auto* t = e ? e->tailAs<TextTail>() : nullptr;
        if (!t) return;
        t->lines = std::move(typed.lines);
        t->font = typed.font;
        t->runs = std::move(typed.runs);
        e->option = int32_t(t->lines.size());
    }
};

// "Insertar bitmap" (59): a click places the picture the user chooses, with its top-left corner
// there, or anchored to the point clicked.
class BitmapSequence : public ToolSequence {
  public:
    bool wantsPoint(const ClickEngine&, const Element*) const override { return false; }

    void click(ClickEngine& engine, const Click& click) override {
        std::vector<uint8_t> picture;
        if (!engine.requests().choosePicture(picture) || picture.empty()) return engine.reset();
        Element* anchor = isPoint(click.element) ? click.element : nullptr;
        setParents(engine, anchor);
        ElementRequest& r = engine.request();
        r.value[0] = click.world.x;
        r.value[1] = click.world.y;
        if (Element* e = engine.complete(Method::Bitmap))
            if (auto* t = e->tailAs<BitmapTail>()) t->picture = std::move(picture);
    }
};

// Parametric colours (67 line, 68 fill): the element, then the number that drives it, then the
// dialog gives the mode.
class ParamColourSequence : public ToolSequence {
  public:
    bool wantsPoint(const ClickEngine&, const Element*) const override { return false; }

    void click(ClickEngine& engine, const Click& click) override {
        Element* e = click.element;
        if (!e || e->method == Method::Intersection) return;
        if (engine.step() == 0) {
            engine.pick(e);
            setNeeds(engine, 0, {Kind::Number});
            return;
        }
        if (!isNumber(e)) return;
        Element* target = engine.picked().front();
        int mode = 1;
        Color from = target->colorParamFrom, to = target->colorParamTo;
        if (std::abs(target->colorParamMode) != 1000) from = 0xff0000, to = 255;
        if (!engine.requests().askParametricColour(mode, from, to)) return engine.reset();
        engine.saveUndoOnce();
        setParamColour(*target, *e, mode, engine.tool() == Tool::ParamFillColour, from, to);
        engine.doc().modified = 1;
        engine.reset();
    }
};

} // namespace

} // namespace qorv::sequences

namespace qorv {

bool editExistingText(SequenceHost& host, ToolRequests& requests, Element& e) {
    const auto* t = e.tailAs<TextTail>();
    if (!t) return false;
    TextTail typed;
    typed.lines = t->lines;
    typed.font = t->font;
    typed.runs = t->runs;
    if (!requests.editText(typed) || typed.lines.empty()) return false;
    const bool sameRuns = std::equal(typed.runs.begin(), typed.runs.end(), t->runs.begin(),
                                     t->runs.end(), [](const FontRun& a, const FontRun& b) {
                                         return a.font == b.font && a.length == b.length;
                                     });
    if (typed.lines == t->lines && typed.font == t->font && sameRuns) return false;
    host.recordUndo(); // keeps the working list: `e` stays valid
    auto* target = e.tailAs<TextTail>();
    if (!target) return false;
    target->lines = std::move(typed.lines);
    target->font = typed.font;
    target->runs = std::move(typed.runs);
    e.option = int32_t(target->lines.size());
    host.document().modified = 1;
    return true;
}

} // namespace qorv

namespace qorv::sequences {

std::unique_ptr<ToolSequence> makeEditingSequence(int tool) {
    if (tool == Tool::ToggleVisibility || tool == Tool::DeleteElement || tool == Tool::Font ||
        tool == Tool::LineColour || tool == Tool::FillColour ||
        (tool >= Tool::FirstPointShape && tool <= Tool::LastAngleMark))
        return std::make_unique<EditSequence>();
    switch (tool) {
    case Tool::EditElement:
        return std::make_unique<ElementDialogSequence>();
    case Tool::RedefinePoint:
        return std::make_unique<RedefineSequence>();
    case Tool::ShowHideButton:
        return std::make_unique<ButtonSequence>(Method::ShowHideButton);
    case Tool::MotionButton:
        return std::make_unique<ButtonSequence>(Method::MotionButton);
    case Tool::Text:
        return std::make_unique<TextSequence>();
    case Tool::Bitmap:
        return std::make_unique<BitmapSequence>();
    case Tool::ParamLineColour:
    case Tool::ParamFillColour:
        return std::make_unique<ParamColourSequence>();
    default:
        return nullptr;
    }
}

} // namespace qorv::sequences

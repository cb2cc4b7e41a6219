#include "calc/calculator.h"
#include "construction/create.h"

#include <algorithm>
#include <cstdio>

namespace qorv {

namespace {

// Whether e (an element or a sub-element) is still in the construction, without reading it.
bool inConstruction(Document& doc, const Element* e) {
    bool found = false;
    doc.forEachWithSubs([&](const Element& x) { found = found || &x == e; });
    return found;
}

bool hasNoValue(const Element& e) {
    return !e.defined || (e.kind() == Kind::Number && e.option == NoValue);
}

} // namespace

char variableLetter(int32_t type) {
    switch (type) {
    case FunctionType::YofX:
        return 'x';
    case FunctionType::XofY:
        return 'y';
    case FunctionType::RofW:
        return 'w';
    case FunctionType::WofR:
        return 'r';
    default:
        return 0;
    }
}

std::string functionLabel(int32_t type, std::string_view text) {
    std::string s = "f(";
    if (const char v = variableLetter(type)) s += v;
    s += ")=";
    s += text;
    return s;
}

void Calculator::open(ConstructionMethod method) {
    method_ = method;
    type_ = method == Method::Function ? FunctionType::YofX : FunctionType::Plain;
    editing_ = nullptr;
    clear();
}

void Calculator::setType(int32_t type) {
    if (method_ != Method::Function) return;
    type_ = std::clamp(type, int32_t(FunctionType::YofX), int32_t(FunctionType::WofR));
    clear();
}

void Calculator::clear() {
    variables_.clear();
    functions_.clear();
    compiled_.exprText.clear();
    compiled_.exprCode.clear();
    compiled_.exprVarCount = 0;
    compiled_.exprArgs.clear();
    compiled_.exprValues.clear();
    hasResult_ = false;
    noValue_ = false;
    lastValue_ = 0;
}

std::string Calculator::addReference(Element& e) {
    if (e.method == Method::Function) {
        auto it = std::find(functions_.begin(), functions_.end(), &e);
        if (it == functions_.end()) {
            if (int(functions_.size()) >= MaxFunctions) return {};
            functions_.push_back(&e);
            it = functions_.end() - 1;
        }
        return "f" + std::to_string(it - functions_.begin() + 1) + "(";
    }
    auto it = std::find(variables_.begin(), variables_.end(), &e);
    if (it == variables_.end()) {
        if (int(variables_.size()) >= MaxVariables) return {};
        variables_.push_back(&e);
        it = variables_.end() - 1;
    }
    const char letter = VariableLetters[size_t(it - variables_.begin())];
    return std::string(1, char(letter - 'A' + 'a'));
}

CalcOutcome Calculator::evaluate(std::string_view typed, Document& doc) {
    hasResult_ = false;
    noValue_ = false;
    // Elements deleted while the window was open (a menu command) are forgotten: their letters
    // then no longer compile.
    const auto gone = [&](const Element* x) { return !inConstruction(doc, x); };
    if (std::any_of(variables_.begin(), variables_.end(), gone) ||
        std::any_of(functions_.begin(), functions_.end(), gone)) {
        variables_.clear();
        functions_.clear();
    }
    if (editing_ && gone(editing_)) editing_ = nullptr;
    const std::string_view text = trimExpressionText(typed);
    if (text.size() > size_t(MaxTextLength)) return CalcOutcome::TooLong;
    if (text.empty()) return CalcOutcome::Empty;
    if (!compileToTail(compiled_, text, variables_, functions_, type_)) return CalcOutcome::Invalid;
    if (method_ == Method::Function) {
        hasResult_ = true;
        return CalcOutcome::Function;
    }
    // A variable without value leaves the whole expression without one.
    bool evaluated = std::none_of(variables_.begin(), variables_.end(),
                                  [](const Element* v) { return hasNoValue(*v); });
    if (evaluated) {
        for (size_t i = 0; i < variables_.size(); ++i)
            compiled_.exprValues[i + 1] = variables_[i]->value[0];
        evaluated = evaluateTail(compiled_, 0.0, EvalContext{doc.angleUnit});
    }
    if (evaluated) {
        lastValue_ = compiled_.exprValues[0];
        hasResult_ = true;
        return CalcOutcome::Value;
    }
    if (method_ == Method::Parameter) return CalcOutcome::Invalid;
    // A calculation may exist without a value.
    noValue_ = true;
    hasResult_ = true;
    return CalcOutcome::NoValue;
}

bool Calculator::resultArgumentsLive(Document& doc) const {
    const auto live = [&](const Element* x) { return x && inConstruction(doc, x); };
    return std::all_of(compiled_.exprArgs.begin(), compiled_.exprArgs.end(),
                       [&](const Ref& r) { return live(r.ptr); }) &&
           std::all_of(variables_.begin(), variables_.end(), live) &&
           std::all_of(functions_.begin(), functions_.end(), live);
}

bool Calculator::forgetMissing(Document& doc) {
    const auto gone = [&](const Element* x) { return !x || !inConstruction(doc, x); };
    if (editing_ && gone(editing_)) editing_ = nullptr;
    const bool resultGone = hasResult_ && !resultArgumentsLive(doc);
    if (std::any_of(variables_.begin(), variables_.end(), gone) ||
        std::any_of(functions_.begin(), functions_.end(), gone)) {
        variables_.clear();
        functions_.clear();
    }
    if (std::any_of(compiled_.exprArgs.begin(), compiled_.exprArgs.end(),
                    [&](const Ref& r) { return gone(r.ptr); }))
        compiled_.exprArgs.clear();
    if (resultGone) hasResult_ = false;
    return resultGone;
}

std::string Calculator::resultText(CalcOutcome outcome, const std::string& noValueText) const {
    switch (outcome) {
    case CalcOutcome::Value: {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.4f", lastValue_);
        return buffer;
    }
    case CalcOutcome::NoValue:
        return noValueText;
    case CalcOutcome::Function:
        return functionLabel(type_, compiled_.exprText);
    default:
        return {};
    }
}

std::string Calculator::startEditing(Element& e) {
    const ExpressionTail* t = e.tailAs<ExpressionTail>();
    if (!t || (e.method != Method::Calculation && e.method != Method::Function)) return {};
    open(e.method);
    if (e.method == Method::Function) setType(e.option);
    const size_t v = std::min(size_t(std::max(t->exprVarCount, 0)), t->exprArgs.size());
    for (size_t i = 0; i < t->exprArgs.size(); ++i) {
        Element* a = t->exprArgs[i];
        if (!a) continue;
        (i < v ? variables_ : functions_).push_back(a);
    }
    editing_ = &e;
    return t->exprText;
}

Element* Calculator::makeElement(Document& doc, const CreationOptions& opts) {
    ElementRequest req;
    req.method = method_;
    if (method_ == Method::Parameter) {
        req.value[0] = lastValue_;
        req.option = HasValue;
        return createElement(doc, req, opts);
    }
    req.option = type_;
    req.text = compiled_.exprText;
    Element* e = createElement(doc, req, opts);
    ExpressionTail& t = *e->tailAs<ExpressionTail>();
    t.exprText = compiled_.exprText;
    t.exprCode = compiled_.exprCode;
    t.exprVarCount = compiled_.exprVarCount;
    t.exprArgs = compiled_.exprArgs;
    t.exprValues = compiled_.exprValues;
    if (method_ == Method::Calculation) {
        e->value[0] = lastValue_;
        e->option = noValue_ ? NoValue : HasValue;
    }
    return e;
}

Element* Calculator::create(Document& doc, const CreationOptions& opts, Point2 anchor) {
    if (!hasResult_) return nullptr;
    // The result names what it was compiled with; a deleted element must not be named.
    if (!resultArgumentsLive(doc)) {
        hasResult_ = false;
        return nullptr;
    }
    Element* e = makeElement(doc, opts);
    e->value[2] = anchor.x;
    e->value[3] = anchor.y;
    if (method_ == Method::Function)
        setName(doc, e, functionLabel(type_, compiled_.exprText), opts);
    if (method_ == Method::Calculation && compiled_.exprVarCount > 0) refreshUnitClasses(e);
    return e;
}

bool Calculator::editAllowed(Document& doc) const {
    Element* old = editing_;
    if (!old || !hasResult_ || !inConstruction(doc, old) || !resultArgumentsLive(doc)) return false;
    // What depends on the old element goes after the new one, so the new one may not use it.
    doc.markDescendants(old);
    const auto dependent = [&](const Element* a) { return a == old || a->mark == 1; };
    const bool allowed = std::none_of(variables_.begin(), variables_.end(), dependent) &&
                         std::none_of(functions_.begin(), functions_.end(), dependent);
    doc.clearMarks();
    return allowed;
}

Element* Calculator::applyEdit(Document& doc, const CreationOptions& opts) {
    if (!editAllowed(doc)) return nullptr;
    Element* old = editing_;
    doc.markDescendants(old);
    std::vector<Element*> moving;
    for (Element* x = doc.head; x; x = x->next)
        if (x->mark == 1) moving.push_back(x);
    doc.clearMarks();

    Element* e = makeElement(doc, opts);
    e->value[2] = old->value[2];
    e->value[3] = old->value[3];
    e->visible = old->visible;
    e->color = old->color;
    e->colorParam = old->colorParam;
    e->colorParamMode = old->colorParamMode;
    e->colorParamFrom = old->colorParamFrom;
    e->colorParamTo = old->colorParamTo;
    e->decimals = old->decimals;
    e->unitShown = old->unitShown;
    if (old->font) e->font = std::make_unique<FontRecord>(*old->font);

    const auto relink = [&](Element& x) {
        forEachReference(x, [&](Ref& r) {
            if (r.ptr == old) r = e;
        });
    };
    for (Element* x : moving) {
        doc.unlink(x);
        doc.append(x);
        relink(*x);
        forEachSubElement(*x, relink);
    }
    if (Element* label = old->nameElement) {
        label->parent1 = e;
        e->nameElement = label;
        old->nameElement = nullptr;
        if (method_ == Method::Function)
            if (auto* t = label->tailAs<NameTail>())
                t->text = functionLabel(type_, compiled_.exprText);
    }
    old->mark = 1;
    doc.deleteMarked();
    editing_ = e;
    if (method_ == Method::Calculation && compiled_.exprVarCount > 0) refreshUnitClasses(e);
    return e;
}

} // namespace qorv

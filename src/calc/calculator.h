// The calculator's state and what it does to a construction: the variables and functions clicked
// into an expression, the evaluation of the typed text, and the calculation, parameter or
// function made (or edited) from it. The window around it only shows fields and buttons.
#pragma once

#include "calc/expression.h"
#include "model/document.h"

#include <string>
#include <string_view>
#include <vector>

namespace qorv {

// The lower-case letter of the type's independent variable ('x', 'y', 'w', 'r'); 0 for type 0.
char variableLetter(int32_t type);

// What an evaluation ended with.
enum class CalcOutcome {
    Empty,    // nothing typed: the result field is emptied
    TooLong,  // more than 100 characters
    Invalid,  // the text does not compile (or, for a parameter, has no value)
    Value,    // a number (lastValue)
    NoValue,  // a calculation without value: it can still be placed
    Function, // a function: compiled, not evaluated
};

class Calculator {
  public:
    static constexpr int MaxTextLength = 100;

    // Opens in a mode: the method made (Calculation, Parameter or Function); the type is 1 for a
    // function, 0 otherwise. Everything is cleared.
    void open(ConstructionMethod method);
    ConstructionMethod method() const { return method_; }
    // Type 1..4 in the function mode; changing it clears everything.
    void setType(int32_t type);
    int32_t type() const { return type_; }
    // Empties both lists and forgets the result.
    void clear();

    // A click on an element while the calculator is open: the text to insert ("b", "f2("), or
    // empty when a list is full.
    std::string addReference(Element& e);
    const std::vector<Element*>& variables() const { return variables_; }
    const std::vector<Element*>& functions() const { return functions_; }

    // Compiles (and for numbers evaluates, in the document's angle unit) the typed text with the
    // current lists.
    CalcOutcome evaluate(std::string_view typed, Document& doc);
    // Any change of the text: no result any more.
    void forgetResult() { hasResult_ = false; }
    bool hasResult() const { return hasResult_; }
    double lastValue() const { return lastValue_; }
    // What the result field shows for the outcome: the value with 4 decimals, "f(x)=text", or
    // `noValueText` (a calculation without value); empty otherwise.
    std::string resultText(CalcOutcome outcome, const std::string& noValueText) const;

    // Editing an existing calculation or function: its type, text and lists come back.
    // Returns the text to show.
    std::string startEditing(Element& e);
    Element* editing() const { return editing_; }
    // The element was deleted or replaced behind the calculator's back (undo): stop editing.
    void stopEditing() { editing_ = nullptr; }
    // Elements of the document may have been freed: the clicked lists go when one of them is
    // gone (their letters are positions), the edited element when it is gone, and the result
    // when anything it was compiled with is gone. Returns whether the result went.
    bool forgetMissing(Document& doc);
    // Every element held (both lists, the edited element, the compiled arguments), so that undo
    // can note them by id and find them again; a null one is dropped by forgetMissing.
    template <class F> void forEachHeld(F&& f) {
        for (Element*& e : variables_)
            f(e);
        for (Element*& e : functions_)
            f(e);
        f(editing_);
        for (Ref& r : compiled_.exprArgs)
            f(r.ptr);
    }

    // Creates the element of the mode from the last result (the caller records the undo step
    // first) with its text's top-left corner at `anchor`; a function gets its name label. The
    // unit classes are brought up to date. Null when there is no result.
    Element* create(Document& doc, const CreationOptions& opts, Point2 anchor);
    // Whether the last result can replace the edited element: it may not use that element or
    // anything that depends on it.
    bool editAllowed(Document& doc) const;
    // Replaces the edited element by one made from the last result, keeping its place, look and
    // name; every element that used it follows it in the list and uses the new one. The caller
    // records the undo step first. Returns the new element (edited from now on), or null.
    Element* applyEdit(Document& doc, const CreationOptions& opts);

  private:
    Element* makeElement(Document& doc, const CreationOptions& opts);
    // Whether every element the last result was compiled with is still in the document.
    bool resultArgumentsLive(Document& doc) const;

    ConstructionMethod method_ = Method::Calculation;
    int32_t type_ = FunctionType::Plain;
    std::vector<Element*> variables_;
    std::vector<Element*> functions_;
    ExpressionTail compiled_; // of the last evaluation
    bool hasResult_ = false;
    double lastValue_ = 0;
    bool noValue_ = false;
    Element* editing_ = nullptr;
};

// The text of a function's name label: "f(x)=" and the expression.
std::string functionLabel(int32_t type, std::string_view text);

} // namespace qorv

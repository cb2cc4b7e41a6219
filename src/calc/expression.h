// The expression language of calculations, functions and numeric dialog fields: compiling a
// typed text to a postfix program with a value table, evaluating it, and inferring its unit.
//
// Typed text and stored programs are untrusted: every function here answers "invalid" (false)
// for bad input and never reads or writes out of bounds.
#pragma once

#include "model/document.h"
#include "model/element.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qorv {

// ---- token codes ------------------------------------------------------------------------------

namespace Token {
enum : int32_t {
    End = 0,
    Plus = 43,
    Minus = 45,
    Times = 42,
    Divide = 47,
    Power = 94,
    UnaryMinus = 110,
    Open = 40,
    Close = 41,
    Sin = 115,
    Cos = 99,
    Tan = 116,
    Asin = 83,
    Acos = 67,
    Atan = 84,
    Ln = 108,
    Log = 76,
    Abs = 97,
    Sqr = 113,
    Int = 105,
    Sgn = 500,
    Ceil = 501,
    Floor = 502,
    Round = 503,
    Exp = 504,
    Sinh = 505,
    Cosh = 506,
    Tanh = 507,
    Sec = 508,
    Cosec = 509,
    Cotg = 510,
    Random = 511,
    Sech = 512,
    Cosech = 513,
    Cotgh = 514,
    Asinh = 525,
    Acosh = 526,
    Atanh = 527,
    Asech = 528,
    Acosech = 529,
    Acotgh = 530,
    Asec = 531,
    Acosec = 532,
    Acotg = 533,
    Call = 1000, // Call + n calls the n-th function of the function list, n >= 1
    VarX = -1001,
    VarY = -1002,
    VarW = -1003,
    VarR = -1004,
};
} // namespace Token

// One row of the operator and function table.
struct OperatorRow {
    int32_t code;
    std::string_view text; // empty for unary minus, which is never typed as such
    int32_t priority;
};

// The operator and function table, in lookup order.
std::span<const OperatorRow> operatorTable();

// Priority of an operator, function or call code; -1 for operands and unknown codes.
int32_t tokenPriority(int32_t code);

constexpr int MaxExpressionLength = 99; // characters of the compact text
constexpr int MaxTokens = 100;          // entries of a token array, the terminating 0 included
constexpr int MaxVariables = 22;
constexpr int MaxFunctions = 99;
constexpr int EvalStackSize = 100;
constexpr int MaxCallDepth = 64; // nesting of F-n calls; deeper chains (only corrupt files) fail
constexpr std::string_view VariableLetters = "ABCDEFGHIJKLMNOPQSTUVZ";
constexpr double ExpressionPi = 3.141592653589793;

// Function types (the `option` word of a function element).
namespace FunctionType {
enum : int32_t { Plain = 0, YofX = 1, XofY = 2, RofW = 3, WofR = 4 };
}
// The token of the independent variable of a type (Token::VarX...), 0 for a plain number.
int32_t independentVariableToken(int32_t type);

// Unit classes (the `unitShown` word of numbers).
namespace UnitClass {
enum : int32_t { None = 0, Length = 1, Area = 2, Angle = 3 };
}

// ---- compiling --------------------------------------------------------------------------------

// The text as typed, without leading and trailing control characters and blanks.
std::string_view trimExpressionText(std::string_view text);

// Compact form of a text: trimmed, blanks removed, letters in upper case.
struct CompactText {
    std::array<char, MaxExpressionLength> chars{};
    int length = 0;
    std::string_view view() const { return {chars.data(), size_t(length)}; }
};
// False when the compact form is empty, longer than 99 characters or not 7-bit ASCII.
bool compactExpression(std::string_view text, CompactText& out);

// A zero-terminated array of token codes: the token array of a compiled text or a postfix program.
struct TokenArray {
    std::array<int32_t, MaxTokens> code{};
    int count = 0; // entries before the terminating 0
    std::span<const int32_t> withTerminator() const { return {code.data(), size_t(count) + 1}; }
};

// Tokenizes, classifies and rewrites `text` (compacted here, so raw typed text is fine) for an
// expression with `varCount` variables (the first letters of VariableLetters), `functionCount`
// callable functions (F1..F<functionCount>) and function type 0..4. False: the text is invalid.
bool compileExpression(std::string_view text, int varCount, int functionCount, int32_t type,
                       TokenArray& tokens);

// Shunting-yard conversion of a compiled token array. False: invalid.
bool toPostfix(const TokenArray& tokens, TokenArray& postfix);

// Stack-depth check of a postfix program (read up to its 0 or the end of the span).
bool checkPostfix(std::span<const int32_t> code);

// Number of numeric constants (numbers and each "PI") of a text; 0 for a text that cannot be
// compacted.
int countConstants(std::string_view text);

// Writes the constants of `text` into slots firstSlotOffset + 1 ... of `values`, where
// firstSlotOffset is V + F. False when the text cannot be compacted, holds an invalid number,
// or the slots do not fit.
bool loadConstants(std::string_view text, int firstSlotOffset, std::span<double> values);

// ---- evaluating -------------------------------------------------------------------------------

struct EvalContext;

// Evaluates a function element at an abscissa for an F-n call. The engine may supply its own;
// without one, calls run the called element's compiled expression (evaluateFunctionElement).
class FunctionCaller {
  public:
    virtual ~FunctionCaller() = default;
    // False when the function has no value at x. `ctx` is the caller's context with the call
    // depth already increased; pass it on to nested evaluations.
    virtual bool callFunction(Element& function, double x, double& result,
                              const EvalContext& ctx) = 0;
};

struct EvalContext {
    int32_t angleUnit = AngleUnit::Rad; // the document's angle unit, for trigonometric functions
    FunctionCaller* caller = nullptr;
    int depth = 0; // current nesting of F-n calls
    // Words the caller allows (a sampling shares one count among its samples): an evaluation
    // at depth 0 may execute at most the smaller of this and MaxEvaluationWords, calls included,
    // and takes what it executed off it. Null: MaxEvaluationWords alone.
    int64_t* words = nullptr;
};

// Words one evaluation may execute, the words of the functions it calls included: far above any
// typed expression, yet a file's chain of functions each calling the previous one many times
// has no value instead of running for hours.
constexpr int64_t MaxEvaluationWords = int64_t(1) << 20;

// Runs a postfix program on a stack of 100 doubles. Operand -k reads values[k]; "X", "Y", "W",
// "R" push x; call F n evaluates args[varCount + n - 1] at its argument. On success the result
// is stored in values[0]; on failure (an undefined case, a domain or range error, a malformed
// program, or more words than the context allows) values[0] is left as it was. Allocates
// nothing.
bool evaluate(std::span<const int32_t> code, std::span<double> values, double x, int varCount,
              std::span<const Ref> args, const EvalContext& ctx = {});

// The whole chain for a dialog number field: an expression without variables, in the given
// angle unit. Nothing when the text is invalid or has no value.
std::optional<double> evaluateNumberText(std::string_view text, int32_t angleUnit = AngleUnit::Rad);

// Seeds the generator behind RANDOM (tests and reproducible runs).
void seedExpressionRandom(uint32_t seed);

// ---- compiled expressions of elements ---------------------------------------------------------

// Compiles `text` with the given variables (up to 22, letter order) and functions (up to 99,
// F1 first) and type, and fills the tail: exprText (trimmed), exprCode, exprVarCount, exprArgs
// (with their ids), and exprValues sized 1 + V + F + C with the constants loaded. False when the
// text is invalid or the lists are too long; the tail is then left unchanged.
bool compileToTail(ExpressionTail& tail, std::string_view text, std::span<Element* const> variables,
                   std::span<Element* const> functions, int32_t type);

// Copies variable values into slots 1..V of the value table. False when the counts differ.
bool setVariableValues(ExpressionTail& tail, std::span<const double> values);

// Evaluates a compiled tail with its current value table; the result is in exprValues[0].
bool evaluateTail(ExpressionTail& tail, double x, const EvalContext& ctx = {});

// Evaluates a function element (method 64) at x with its own program, values and arguments.
bool evaluateFunctionElement(Element& function, double x, double& result,
                             const EvalContext& ctx = {});

// Recalculation of a calculation (37) or a function (64) from its referenced elements: undefined
// when any of them is undefined; the variables' `value[0]` are copied into the value table. A
// calculation whose variable has no value (`option` -100) or whose evaluation fails gets
// `option` -100; otherwise `value[0]` = the result and `option` 100. A function (whose `option`
// is its type) is not evaluated here; it is undefined when a variable has no value. Returns
// whether the element ends defined and, for a calculation, with a value.
bool recalcExpression(Element& e, const EvalContext& ctx = {});

// ---- units ------------------------------------------------------------------------------------

// Unit class of a numeric element: 1 for methods 28..33, 2 for 34 and 35, 3 for 36, the unit of
// its expression for a calculation (37), 0 otherwise. A calculation used as a variable counts
// with its stored `unitShown` (kept current in list order by refreshUnitClasses).
int32_t inferUnitClass(const Element& e);

// Recomputes `unitShown` of every calculation from `first` to the end of its list, in order.
void refreshUnitClasses(Element* first);

} // namespace qorv

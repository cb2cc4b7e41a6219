// Randomized tests of the expression language: generated expressions checked against a separate
// tree evaluator, and thousands of random and mutated texts and programs that must never crash.
#include "calc/expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace qorv;

namespace {

// ---- generated expressions and their values, computed independently ---------------------------

struct Generated {
    std::string text;
    std::optional<double> value; // nullopt: undefined (division by zero, domain)
    int priority;                // of the top operator; 9 for an atom or a call
    bool nearRangeLimit = false; // some partial result is near the overflow guard's 1e99
};

bool nearLimit(double r) {
    return r != 0 && std::fabs(std::log10(std::fabs(r))) > 90;
}

class ExpressionGenerator {
  public:
    explicit ExpressionGenerator(uint32_t seed) : rng_(seed) {}

    Generated make(int depth) {
        const int pick = depth <= 0 ? 0 : int(rng_() % 10);
        if (pick <= 2) return atom();
        if (pick == 3) return function(depth);
        return binary(depth);
    }

  private:
    std::mt19937 rng_;

    Generated atom() {
        const int whole = int(rng_() % 10);
        const int tenths = int(rng_() % 10);
        if (rng_() % 2) return {std::to_string(whole), double(whole), 9};
        const char sep = rng_() % 2 ? ',' : '.';
        return {std::to_string(whole) + sep + std::to_string(tenths), whole + tenths / 10.0, 9};
    }

    Generated function(int depth) {
        Generated arg = make(depth - 1);
        static const char* names[] = {"SIN", "COS", "ABS", "SQR", "LN", "ATAN", "FLOOR", "EXP"};
        const int k = int(rng_() % 8);
        std::optional<double> v;
        if (arg.value) {
            const double a = *arg.value;
            switch (k) {
            case 0:
                v = std::sin(a);
                break;
            case 1:
                v = std::cos(a);
                break;
            case 2:
                v = std::fabs(a);
                break;
            case 3:
                if (a >= 0) v = std::sqrt(a);
                break;
            case 4:
                if (a > 0) v = std::log(a);
                break;
            case 5:
                v = std::atan(a);
                break;
            case 6:
                v = std::floor(a);
                break;
            case 7:
                if (std::fabs(a) <= 199) v = std::exp(a);
                break;
            }
        }
        return {std::string(names[k]) + "(" + arg.text + ")", v, 9, arg.nearRangeLimit};
    }

    static std::string wrap(const Generated& g, bool need) {
        return need ? "(" + g.text + ")" : g.text;
    }

    Generated binary(int depth) {
        Generated a = make(depth - 1);
        Generated b = make(depth - 1);
        static const char ops[] = {'+', '-', '*', '/', '^'};
        const int k = int(rng_() % 5);
        const int prio = k < 2 ? 1 : (k < 4 ? 2 : 3);
        if (k == 4) { // keep powers small and real: a small integer exponent
            const int e = int(rng_() % 4);
            b = {std::to_string(e), double(e), 9};
        }
        // Left-associative: the right operand needs brackets at equal priority.
        std::string text = wrap(a, a.priority < prio) + ops[k] + wrap(b, b.priority <= prio);
        std::optional<double> v;
        if (a.value && b.value) {
            const double x = *a.value, y = *b.value;
            switch (k) {
            case 0:
                v = x + y;
                break;
            case 1:
                v = x - y;
                break;
            case 2:
                v = x * y;
                break;
            case 3:
                if (y != 0) v = x / y;
                break;
            case 4:
                if (!(x == 0 && y < 0)) v = std::pow(x, y);
                break;
            }
        }
        const bool limit = a.nearRangeLimit || b.nearRangeLimit || (v && nearLimit(*v));
        if (rng_() % 6 == 0) {
            text = "(-(" + text + "))";
            if (v) v = -*v;
            return {text, v, 9, limit};
        }
        return {text, v, prio, limit};
    }
};

} // namespace

TEST(ExpressionRandom, GeneratedExpressionsMatchATreeEvaluator) {
    ExpressionGenerator gen(12345);
    int compared = 0, undefinedBoth = 0;
    for (int i = 0; i < 20000; ++i) {
        const Generated g = gen.make(1 + i % 7);
        // Each unary minus adds two tokens to the 99 that fit: stay well below the limit.
        if (g.text.size() > 60) continue;
        // Stay clear of the overflow guard and of rounding near the domain edges.
        if (g.nearRangeLimit) continue;
        const auto r = evaluateNumberText(g.text);
        if (!g.value) {
            // Undefined in exact arithmetic may still round to a value (ln of 1e-17), but the
            // common cases, division by an exact 0 and ln/sqr of exact negatives, must fail.
            if (!r) ++undefinedBoth;
            continue;
        }
        ASSERT_TRUE(r.has_value()) << g.text;
        EXPECT_NEAR(*r, *g.value, 1e-9 * std::max(1.0, std::fabs(*g.value))) << g.text;
        ++compared;
    }
    EXPECT_GT(compared, 10000);
    EXPECT_GT(undefinedBoth, 10);
}

namespace {

const char* const kPieces[] = {
    "+",     "-",     "*",   "/",   "^",     "(",           ")",        "SIN", "COS",    "TAN",
    "ASIN",  "LN",    "LOG", "SQR", "ABS",   "INT",         "ROUND",    "EXP", "RANDOM", "COTGH",
    "ACOSH", "ASECH", "F",   "F1",  "F2",    "F3",          "F0",       "F01", "X",      "Y",
    "W",     "R",     "A",   "B",   "C",     "E",           "Z",        "PI",  "pi",     "0",
    "1",     "2,5",   ".5",  "5.",  "3,5,2", "99999999999", "0,000001", " ",   "\t",     "\xc3\xa9",
    "\x01",  "\x7f",  ",",   ".",   "^-",    "--",          "1E5",      "2X",  "()",     ")(",
};

std::string randomText(std::mt19937& rng) {
    std::string s;
    const int n = int(rng() % 40);
    for (int i = 0; i < n; ++i) {
        if (rng() % 8 == 0)
            s += char(rng() % 256); // any byte
        else
            s += kPieces[rng() % (sizeof(kPieces) / sizeof(kPieces[0]))];
    }
    return s;
}

std::string mutate(std::string s, std::mt19937& rng) {
    const int edits = 1 + int(rng() % 3);
    for (int i = 0; i < edits; ++i) {
        const size_t at = s.empty() ? 0 : rng() % (s.size() + 1);
        switch (rng() % 4) {
        case 0:
            s.insert(at, 1, "+-*/^()X,.A1F"[rng() % 13]);
            break;
        case 1:
            if (at < s.size()) s.erase(at, 1);
            break;
        case 2:
            if (at < s.size()) s[at] = char(rng() % 256);
            break;
        case 3:
            s.insert(at, kPieces[rng() % (sizeof(kPieces) / sizeof(kPieces[0]))]);
            break;
        }
    }
    return s;
}

const char* const kSeeds[] = {
    "-2^2",        "2*-3",       "SIN(X)^2+COS(X)^2", "F1(X)*F2(A+B)", "(A+B)/(C-E)",
    "ROUND(2,5)",  "(-8)^(1/3)", "ASECH(X/10)",       "2^3^2",         "SQR(A*B)+PI",
    "-(1+2)*-(3)", "LN(EXP(X))", "RANDOM(10)+F3(1)",  "ATANH(X",       "X)*2",
};

// Compiled program invariants that hold for every text the compiler accepts.
void checkAccepted(const TokenArray& program, int v, int f, int constants) {
    ASSERT_GT(program.count, 0);
    ASSERT_LT(program.count, MaxTokens);
    ASSERT_EQ(program.code[size_t(program.count)], 0);
    for (int i = 0; i < program.count; ++i) {
        const int32_t c = program.code[size_t(i)];
        ASSERT_NE(c, 0);
        ASSERT_NE(c, Token::Open);
        ASSERT_NE(c, Token::Close);
        if (c < 0 && !(c >= Token::VarR && c <= Token::VarX)) {
            // Operands read variables or constants, never the reserved function slots.
            const int k = -c;
            ASSERT_TRUE(k <= v || (k > v + f && k <= v + f + constants)) << k;
        } else if (c >= 0) {
            ASSERT_GE(tokenPriority(c), 1);
        }
    }
}

} // namespace

TEST(ExpressionRandom, RandomAndMutatedTextsNeverMisbehave) {
    std::mt19937 rng(777);
    seedExpressionRandom(3);
    std::vector<std::unique_ptr<Element>> numbers;
    std::vector<Element*> vars;
    for (int i = 0; i < MaxVariables; ++i) {
        auto e = std::make_unique<Element>();
        e->method = Method::SegmentLength + (i % 9); // lengths, areas, angle, calculation
        e->value[0] = (i % 7) - 3.0;
        e->option = HasValue;
        e->unitShown = i % 4;
        vars.push_back(e.get());
        numbers.push_back(std::move(e));
    }
    // Three functions to call: x^2, a function calling the first, and one of a variable.
    std::vector<std::unique_ptr<Element>> fns;
    std::vector<Element*> fnPtrs;
    for (const char* t : {"X^2", "F1(X)+1", "A*X"}) {
        auto e = std::make_unique<Element>();
        e->method = Method::Function;
        e->option = FunctionType::YofX;
        auto tail = std::make_unique<ExpressionTail>();
        ASSERT_TRUE(compileToTail(*tail, t, std::span<Element* const>(vars.data(), 1), fnPtrs,
                                  FunctionType::YofX));
        e->tail = std::move(tail);
        fnPtrs.push_back(e.get());
        fns.push_back(std::move(e));
    }

    int accepted = 0, evaluated = 0;
    for (int i = 0; i < 60000; ++i) {
        std::string text;
        if (i % 3 == 0)
            text = randomText(rng);
        else
            text = mutate(kSeeds[rng() % (sizeof(kSeeds) / sizeof(kSeeds[0]))], rng);
        // Half of the runs with every variable, function and X, so that most seeds stay valid.
        const bool full = rng() % 2;
        const int v = full ? MaxVariables : int(rng() % (MaxVariables + 1));
        const int f = full ? 3 : int(rng() % 4);
        const int32_t type = full ? FunctionType::YofX : int32_t(rng() % 5);
        const int32_t unit = int32_t(rng() % 3);

        TokenArray tokens, program;
        const bool compiled = compileExpression(text, v, f, type, tokens);
        const bool ok =
            compiled && toPostfix(tokens, program) && checkPostfix(program.withTerminator());
        if (!ok) {
            // The element helper agrees with the chain.
            ExpressionTail t;
            EXPECT_FALSE(compileToTail(t, text, std::span<Element* const>(vars.data(), size_t(v)),
                                       std::span<Element* const>(fnPtrs.data(), size_t(f)), type))
                << text;
            continue;
        }
        ++accepted;
        const int constants = countConstants(text);
        checkAccepted(program, v, f, constants);

        auto calc = std::make_unique<Element>();
        calc->method = type == 0 ? Method::Calculation : Method::Function;
        calc->option = type;
        auto tail = std::make_unique<ExpressionTail>();
        ASSERT_TRUE(compileToTail(*tail, text, std::span<Element* const>(vars.data(), size_t(v)),
                                  std::span<Element* const>(fnPtrs.data(), size_t(f)), type))
            << text;
        ASSERT_EQ(tail->exprValues.size(), size_t(1 + v + f + constants));
        calc->tail = std::move(tail);

        EvalContext ctx;
        ctx.angleUnit = unit;
        if (recalcExpression(*calc, ctx)) {
            ExpressionTail& t = *calc->tailAs<ExpressionTail>();
            const double x = double(int(rng() % 2001) - 1000) / 10.0;
            if (evaluateTail(t, x, ctx)) {
                ++evaluated;
                EXPECT_TRUE(std::isfinite(t.exprValues[0])) << text;
            }
        }
        const int32_t cls = inferUnitClass(*calc);
        EXPECT_TRUE(cls >= 0 && cls <= 3);
    }
    EXPECT_GT(accepted, 4000);
    EXPECT_GT(evaluated, 3000);
}

TEST(ExpressionRandom, RandomProgramsAreRejectedOrEvaluatedSafely) {
    std::mt19937 rng(4242);
    const int32_t interesting[] = {0,
                                   -1,
                                   -2,
                                   -5,
                                   -1001,
                                   -1004,
                                   -1005,
                                   Token::Plus,
                                   Token::Power,
                                   Token::UnaryMinus,
                                   Token::Open,
                                   Token::Close,
                                   Token::Sin,
                                   Token::Acotgh,
                                   515,
                                   Token::Call,
                                   Token::Call + 1,
                                   Token::Call + 99,
                                   Token::Call + 100,
                                   INT32_MIN,
                                   INT32_MAX};
    auto fn = std::make_unique<Element>();
    fn->method = Method::Function;
    auto tail = std::make_unique<ExpressionTail>();
    ASSERT_TRUE(compileToTail(*tail, "X*2", {}, {}, FunctionType::YofX));
    fn->tail = std::move(tail);
    Ref args[] = {Ref(fn.get()), Ref()};

    for (int i = 0; i < 20000; ++i) {
        std::vector<int32_t> code(rng() % 120);
        for (auto& c : code) {
            if (rng() % 3 == 0)
                c = int32_t(rng());
            else
                c = interesting[rng() % (sizeof(interesting) / sizeof(interesting[0]))];
        }
        std::vector<double> values(rng() % 6, 1.5);
        const double before = values.empty() ? 0.0 : values[0];
        const int v = int(rng() % 3) - 1;
        const bool ok = evaluate(code, values, 0.5, v, args);
        if (ok) {
            ASSERT_FALSE(values.empty());
            EXPECT_TRUE(std::isfinite(values[0]));
        } else if (!values.empty()) {
            EXPECT_EQ(values[0], before);
        }
        (void)checkPostfix(code);
    }
}

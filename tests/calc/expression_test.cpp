#include "calc/expression.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace qorv;

namespace {

constexpr double kPi = 3.141592653589793;

std::optional<double> calc(std::string_view text, int32_t unit = AngleUnit::Rad) {
    return evaluateNumberText(text, unit);
}

// Compiles with V variables (given values), no functions, the type; evaluates at x.
std::optional<double> calcVars(std::string_view text, const std::vector<double>& vars,
                               int32_t type = FunctionType::Plain, double x = 0.0) {
    const int v = int(vars.size());
    TokenArray tokens, program;
    if (!compileExpression(text, v, 0, type, tokens) || !toPostfix(tokens, program) ||
        !checkPostfix(program.withTerminator()))
        return std::nullopt;
    std::vector<double> values(size_t(1 + v + countConstants(text)), 0.0);
    if (!loadConstants(text, v, values)) return std::nullopt;
    for (int i = 0; i < v; ++i)
        values[size_t(i + 1)] = vars[size_t(i)];
    if (!evaluate(program.withTerminator(), values, x, v, {})) return std::nullopt;
    return values[0];
}

bool valid(std::string_view text, int v = 0, int f = 0, int32_t type = FunctionType::Plain) {
    TokenArray tokens, program;
    return compileExpression(text, v, f, type, tokens) && toPostfix(tokens, program) &&
           checkPostfix(program.withTerminator());
}

#define EXPECT_VALUE(text, expected)                                                               \
    do {                                                                                           \
        const auto r_ = calc(text);                                                                \
        ASSERT_TRUE(r_.has_value()) << text;                                                       \
        EXPECT_NEAR(*r_, (expected), 1e-12 * std::max(1.0, std::fabs(expected))) << text;          \
    } while (0)

#define EXPECT_UNDEFINED(text) EXPECT_FALSE(calc(text).has_value()) << text

} // namespace

TEST(ExpressionOperators, ArithmeticAndPriority) {
    EXPECT_VALUE("1+2*3", 7.0);
    EXPECT_VALUE("(1+2)*3", 9.0);
    EXPECT_VALUE("2*3^2", 18.0);
    EXPECT_VALUE("10-4-3", 3.0);   // left-associative
    EXPECT_VALUE("100/10/5", 2.0); // left-associative
    EXPECT_VALUE("2^3^2", 64.0);   // "^" is left-associative too
    EXPECT_VALUE("7/2", 3.5);
    EXPECT_VALUE("8-2*3+1", 3.0);
    EXPECT_VALUE("1+2-3*4/6^2", 1.0 + 2.0 - 3.0 * 4.0 / std::pow(6.0, 2.0));
    EXPECT_VALUE("2^(1+1)*3", 12.0);
    EXPECT_VALUE("((2))", 2.0);
    EXPECT_VALUE("0,1+0,2", 0.1 + 0.2);
}

TEST(ExpressionOperators, UnaryMinusPlacement) {
    EXPECT_VALUE("-2^2", 4.0); // the minus binds to 2 only, then the power
    EXPECT_VALUE("2*-3", -6.0);
    EXPECT_VALUE("-(1+2)", -3.0);
    EXPECT_VALUE("2^-2", 0.25);
    EXPECT_VALUE("--2", 2.0);
    EXPECT_VALUE("-2*3", -6.0);
    EXPECT_VALUE("3--2", 5.0);
    EXPECT_VALUE("-2+3", 1.0);
    EXPECT_VALUE("1-(-2)", 3.0);
    EXPECT_VALUE("4*-2^2", 16.0); // 4 * (-2)^2
    EXPECT_VALUE("2^-1^2", std::pow(std::pow(2.0, -1.0), 2.0));
    EXPECT_VALUE("(1-(-2))*3", 9.0);
    EXPECT_VALUE("(2*-3)+4", -2.0);
    EXPECT_VALUE("-SIN(PI/2)^2", 1.0); // (-sin)^2
    EXPECT_VALUE("--------1", 1.0);
    EXPECT_EQ(calcVars("-X*3", {}, FunctionType::YofX, 2.0), -6.0);
    EXPECT_EQ(calcVars("-A/B", {6.0, 3.0}), -2.0);
}

TEST(ExpressionOperators, PowerRules) {
    EXPECT_VALUE("0^0", 1.0);
    EXPECT_VALUE("5^0", 1.0);
    EXPECT_VALUE("0^3", 0.0);
    EXPECT_UNDEFINED("0^-1");
    EXPECT_VALUE("(-2)^3", -8.0);
    EXPECT_VALUE("(-2)^-2", 0.25);
    EXPECT_VALUE("(-8)^(1/3)", -2.0);
    EXPECT_VALUE("(-8)^(2/3)", 4.0);
    EXPECT_VALUE("(-8)^(-1/3)", -0.5);
    EXPECT_VALUE("(-32)^0,2", -2.0);
    EXPECT_VALUE("(-32)^0,4", 4.0);
    EXPECT_UNDEFINED("(-8)^0.5");
    EXPECT_UNDEFINED("(-2)^(1/100)");        // no odd denominator below 100
    EXPECT_UNDEFINED("(-2)^0,000000000001"); // numerator 0
    EXPECT_VALUE("2^0,5", std::sqrt(2.0));
}

TEST(ExpressionOperators, OverflowGuard) {
    EXPECT_VALUE("10^99", 1e99);
    EXPECT_UNDEFINED("10^100");
    EXPECT_UNDEFINED("10^-100");
    EXPECT_UNDEFINED("10^50*10^50");
    EXPECT_VALUE("10^49*10^50", 1e99);
    EXPECT_VALUE("10^-60*10^-60", 1e-120); // only large products are guarded
    EXPECT_UNDEFINED("10^50/10^-50");
    EXPECT_VALUE("10^-50/10^50", 1e-100);
    EXPECT_VALUE("10^60*0", 0.0);
    EXPECT_VALUE("0/10^-60", 0.0);
    EXPECT_VALUE("10^99+10^99", 2e99); // sums are not guarded
    EXPECT_UNDEFINED("1/0");
    EXPECT_UNDEFINED("1/(2-2)");
    EXPECT_UNDEFINED("0/0");
}

namespace {

struct FunctionCase {
    const char* text;
    double expected;
};

} // namespace

TEST(ExpressionFunctions, EveryFunctionInRadians) {
    const FunctionCase cases[] = {
        {"SIN(0,7)", std::sin(0.7)},
        {"COS(0,7)", std::cos(0.7)},
        {"TAN(0,7)", std::tan(0.7)},
        {"ASIN(0,3)", std::asin(0.3)},
        {"ACOS(0,3)", std::acos(0.3)},
        {"ATAN(3)", std::atan(3.0)},
        {"LN(5)", std::log(5.0)},
        {"LOG(1000)", 3.0},
        {"LOG(2)", std::log(2.0) / std::log(10.0)},
        {"ABS(-3,5)", 3.5},
        {"SQR(16)", 4.0},
        {"SQR(2)", std::sqrt(2.0)},
        {"INT(-2,7)", -2.0},
        {"INT(2,7)", 2.0},
        {"SGN(-3)", -1.0},
        {"SGN(0)", 0.0},
        {"SGN(0,01)", 1.0},
        {"CEIL(-2,7)", -2.0},
        {"CEIL(2,1)", 3.0},
        {"FLOOR(-2,7)", -3.0},
        {"FLOOR(2,9)", 2.0},
        {"ROUND(2,5)", 3.0},
        {"ROUND(-2,5)", -2.0},
        {"ROUND(-2,6)", -3.0},
        {"ROUND(2,4)", 2.0},
        {"ROUND(-0,4)", 0.0},
        {"EXP(1)", 2.718281828459045},
        {"EXP(199)", std::exp(199.0)},
        {"SINH(1,5)", (std::exp(1.5) - std::exp(-1.5)) / 2},
        {"COSH(1,5)", (std::exp(1.5) + std::exp(-1.5)) / 2},
        {"TANH(0,5)", (std::exp(1.0) - 1) / (std::exp(1.0) + 1)},
        {"TANH(1000)", 1.0},
        {"SEC(0,7)", 1 / std::cos(0.7)},
        {"COSEC(0,7)", 1 / std::sin(0.7)},
        {"COTG(0,7)", 1 / std::tan(0.7)},
        {"SECH(1,5)", 2 / (std::exp(1.5) + std::exp(-1.5))},
        {"COSECH(1,5)", 2 / (std::exp(1.5) - std::exp(-1.5))},
        {"COTGH(0,5)", (std::exp(1.0) + 1) / (std::exp(1.0) - 1)},
        {"ASINH(0,5)", std::log(0.5 + std::sqrt(1.25))},
        {"ASINH(-0,5)", -std::log(0.5 + std::sqrt(1.25))},
        {"ACOSH(2)", std::log(2 + std::sqrt(3.0))},
        {"ACOSH(1)", 0.0},
        {"ATANH(0,5)", 0.5 * std::log(3.0)},
        {"ASECH(0,5)", std::log(std::sqrt(3.0) + 2)},
        {"ASECH(1)", 0.0},
        {"ACOSECH(2)", std::log(std::sqrt(1.25) + 0.5)},
        {"ACOSECH(-2)", std::log(std::sqrt(1.25) - 0.5)},
        {"ACOTGH(2)", 0.5 * std::log(3.0)},
        {"ACOTGH(-3)", 0.5 * std::log(2.0 / 4.0)},
        {"ASEC(2)", kPi / 3},
        {"ASEC(-1)", kPi},
        {"ACOSEC(2)", kPi / 6},
        {"ACOTG(2)", std::atan(0.5)},
        {"SIN(PI/2)", 1.0},
        {"PI", 3.141592653589793},
        {"pi", 3.141592653589793},
        {"2*pi", 2 * kPi},
        {"sqr(abs(-9))+log(100)", 5.0},
    };
    for (const auto& c : cases)
        EXPECT_VALUE(c.text, c.expected);

    // Every function of the table has a case above.
    for (const OperatorRow& row : operatorTable()) {
        if (row.priority != 5) continue;
        bool found = false;
        for (const auto& c : cases)
            found = found || std::string(c.text).rfind(std::string(row.text) + "(", 0) == 0;
        EXPECT_TRUE(found || row.text == "RANDOM") << row.text;
    }
}

TEST(ExpressionFunctions, DomainFailures) {
    for (const char* text :
         {"SQR(-1)",        "LN(0)",       "LN(-1)",    "LOG(0)",     "LOG(-5)",     "ACOS(2)",
          "ASIN(-1,5)",     "EXP(200)",    "EXP(-200)", "SINH(200)",  "COSH(-200)",  "SECH(200)",
          "COSECH(-200)",   "COSECH(0)",   "COTGH(0)",  "COSEC(0)",   "COTG(0)",     "ASEC(0)",
          "ASEC(0,5)",      "ACOSEC(0,5)", "ACOSEC(0)", "ACOTG(0)",   "ACOSH(0,5)",  "ACOSH(-1)",
          "ACOSH(-2)",      "ATANH(1)",    "ATANH(-1)", "ATANH(2)",   "ASECH(0)",    "ASECH(1,5)",
          "ASECH(-0,5)",    "ACOSECH(0)",  "ACOTGH(1)", "ACOTGH(-1)", "ACOTGH(0,5)", "1+LN(0)*0",
          "SQR(-1)-SQR(-1)"})
        EXPECT_UNDEFINED(text);
    EXPECT_TRUE(calc("EXP(-199)").has_value());
    EXPECT_TRUE(calc("SINH(199)").has_value());
    // sin(pi) is about 1e-16, not zero: its reciprocal is a large but defined number.
    EXPECT_TRUE(calc("COSEC(PI)").has_value());
}

TEST(ExpressionFunctions, AngleUnits) {
    const auto deg = [](std::string_view t) { return calc(t, AngleUnit::Deg); };
    const auto gra = [](std::string_view t) { return calc(t, AngleUnit::Gra); };
    EXPECT_NEAR(*deg("SIN(90"), 1.0, 1e-15); // the missing ")" is appended
    EXPECT_NEAR(*deg("COS(180)"), -1.0, 1e-15);
    EXPECT_NEAR(*deg("TAN(45)"), 1.0, 1e-15);
    EXPECT_NEAR(*deg("SIN(30)"), 0.5, 1e-15);
    EXPECT_NEAR(*gra("SIN(100)"), 1.0, 1e-15);
    EXPECT_NEAR(*gra("COS(200)"), -1.0, 1e-15);
    EXPECT_NEAR(*deg("SEC(60)"), 2.0, 1e-12);
    EXPECT_NEAR(*deg("COSEC(30)"), 2.0, 1e-12);
    EXPECT_NEAR(*deg("COTG(45)"), 1.0, 1e-12);
    EXPECT_NEAR(*deg("ASIN(1)"), 90.0, 1e-12);
    EXPECT_NEAR(*gra("ACOS(0)"), 100.0, 1e-12);
    EXPECT_NEAR(*deg("ATAN(1)"), 45.0, 1e-12);
    EXPECT_NEAR(*deg("ASEC(2)"), 60.0, 1e-12);
    EXPECT_NEAR(*deg("ACOSEC(2)"), 30.0, 1e-12);
    EXPECT_NEAR(*gra("ACOTG(1)"), 50.0, 1e-12);
    EXPECT_NEAR(*calc("SIN(PI/2)", AngleUnit::Rad), 1.0, 1e-15);
    EXPECT_NEAR(*calc("ASIN(1)", AngleUnit::Rad), kPi / 2, 1e-15);
    // Hyperbolic functions and logarithms do not depend on the angle unit.
    EXPECT_NEAR(*deg("SINH(1)"), std::sinh(1.0), 1e-15);
    EXPECT_NEAR(*gra("LN(2)"), std::log(2.0), 1e-15);
    // In degrees SIN(PI/2) is the sine of 1.57 degrees.
    EXPECT_NEAR(*deg("SIN(PI/2)"), std::sin(kPi / 2 * kPi / 180), 1e-15);
}

TEST(ExpressionFunctions, RandomIsAnIntegerUpToItsRoundedArgument) {
    seedExpressionRandom(7);
    bool sawZero = false, sawTop = false;
    for (int i = 0; i < 3000; ++i) {
        const double r = *calc("RANDOM(5)");
        EXPECT_EQ(r, std::floor(r));
        EXPECT_GE(r, 0.0);
        EXPECT_LE(r, 5.0);
        sawZero = sawZero || r == 0.0;
        sawTop = sawTop || r == 5.0;
        const double s = *calc("RANDOM(-2,6)"); // n = |a| rounded = 3
        EXPECT_TRUE(s == 0 || s == 1 || s == 2 || s == 3) << s;
    }
    EXPECT_TRUE(sawZero);
    EXPECT_TRUE(sawTop);
    EXPECT_EQ(*calc("RANDOM(0)"), 0.0);
    EXPECT_EQ(*calc("RANDOM(0,4)"), 0.0);
}

TEST(ExpressionNumbers, DecimalSeparatorsAndPi) {
    EXPECT_VALUE("3,5*2", 7.0);
    EXPECT_VALUE("3.5*2", 7.0);
    EXPECT_VALUE(",5", 0.5);
    EXPECT_VALUE(".5", 0.5);
    EXPECT_VALUE("5,", 5.0);
    EXPECT_VALUE("1.25+1,25", 2.5);
    EXPECT_VALUE("  2 , 5  ", 2.5); // blanks are removed before compiling
    EXPECT_VALUE("007", 7.0);
    EXPECT_VALUE("P I", kPi);
    for (const char* bad : {"3,5,2", "1..2", "1.,2", ".", ",", "1E5", "1e5", "2X", "PIPI", "0X10"})
        EXPECT_FALSE(valid(bad)) << bad;
}

TEST(ExpressionVariables, LettersInOrder) {
    // 22 letters without R, W, X and Y; the i-th letter reads the i-th value.
    ASSERT_EQ(VariableLetters.size(), 22u);
    std::vector<double> vars;
    for (int i = 0; i < 22; ++i)
        vars.push_back(10.0 + i);
    for (int i = 0; i < 22; ++i) {
        const std::string letter(1, VariableLetters[size_t(i)]);
        EXPECT_EQ(calcVars(letter, vars), 10.0 + i) << letter;
        const std::string lower(1, char(letter[0] - 'A' + 'a'));
        EXPECT_EQ(calcVars(lower, vars), 10.0 + i) << lower;
    }
    EXPECT_EQ(calcVars("A-B*C", {10, 2, 3}), 4.0);
    EXPECT_EQ(calcVars("E", {1, 2, 3, 4, 5}), 5.0); // E is a variable, not Euler's number
    EXPECT_TRUE(valid("A+B", 2));
    EXPECT_FALSE(valid("C", 2));
    EXPECT_FALSE(valid("E"));
    EXPECT_FALSE(valid("AB", 2)); // one unknown token
    for (const char* t : {"X", "Y", "W", "R"})
        EXPECT_FALSE(valid(t, 22)) << t;
}

TEST(ExpressionVariables, IndependentVariableOfTheType) {
    const char* names[] = {"X", "Y", "W", "R"};
    for (int type = 0; type <= 4; ++type) {
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(valid(names[i], 0, 0, type), type == i + 1) << names[i] << type;
    }
    EXPECT_EQ(calcVars("X^2+1", {}, FunctionType::YofX, 3.0), 10.0);
    EXPECT_EQ(calcVars("w*2", {}, FunctionType::RofW, 4.0), 8.0);
    EXPECT_EQ(calcVars("SIN(X", {}, FunctionType::YofX, 0.0), 0.0);
    EXPECT_EQ(calcVars("X)*2", {}, FunctionType::YofX, 3.0), 6.0);
}

TEST(ExpressionCompile, InvalidTexts) {
    const std::string bad[] = {"2X",
                               "X SIN(X)",
                               "F0(2)",
                               "F01(2)",
                               "+",
                               "()",
                               "",
                               "   ",
                               "-",
                               "2(3)",
                               "(X)(X)",
                               "SIN",
                               "2+*3",
                               "2+",
                               "*2",
                               "SIN2",
                               "SIN-2",
                               ")(",
                               "2^",
                               "A",
                               "F",
                               "F1(2)",
                               "F1",
                               "2 PI",
                               "PI(2)",
                               "X2",
                               "SIN(2)COS(2)",
                               "(2)SIN(3)",
                               "#",
                               "2;3",
                               "2\t+1",
                               std::string("2\0+1", 4),
                               "2·3",
                               "\xff",
                               "√2"};
    for (const auto& t : bad)
        EXPECT_FALSE(valid(t, 0, 0, FunctionType::YofX)) << t;
    EXPECT_FALSE(evaluateNumberText("").has_value());
    // Blanks go before tokenizing; leading and trailing control characters are trimmed.
    EXPECT_VALUE("1 2", 12.0);
    EXPECT_VALUE("\t2\r\n", 2.0);
}

TEST(ExpressionCompile, LengthLimit) {
    std::string t = "1";
    while (t.size() < 99)
        t += "+1";
    ASSERT_EQ(t.size(), 99u);
    EXPECT_VALUE(t, 50.0);
    EXPECT_FALSE(calc(t + "1").has_value()); // 100 characters
    EXPECT_VALUE("  " + t + "  ", 50.0);     // trimmed
    std::string spaced;
    for (char c : t)
        spaced += std::string(" ") + c;
    EXPECT_VALUE(spaced, 50.0); // blanks do not count
    EXPECT_FALSE(calc(std::string(5000, '1')).has_value());
}

TEST(ExpressionCompile, ParenthesesBalancingAndLimits) {
    EXPECT_VALUE("(1+2", 3.0);
    EXPECT_VALUE("1+2)*3", 9.0); // "(" added at the beginning
    EXPECT_VALUE("((((2", 2.0);
    std::string nested = std::string(49, '(') + "1" + std::string(49, ')');
    EXPECT_VALUE(nested, 1.0);
    // 98 "(" would need 98 ")" appended: more than the token array holds.
    EXPECT_FALSE(valid(std::string(98, '(') + "1"));
    EXPECT_FALSE(valid("1" + std::string(98, ')')));
    // Each unary minus needs two more tokens.
    EXPECT_FALSE(valid(std::string(98, '-') + "1"));
    EXPECT_VALUE(std::string(30, '-') + "1", 1.0);
    EXPECT_VALUE(std::string(31, '-') + "1", -1.0);
}

TEST(ExpressionCompile, CodesOfOperandsAndPostfix) {
    // V = 1, F = 2: variable A is -1, constants start at -(V+F+1) = -4.
    TokenArray tokens, program;
    ASSERT_TRUE(compileExpression("A+2*PI", 1, 2, 0, tokens));
    ASSERT_TRUE(toPostfix(tokens, program));
    const std::vector<int32_t> got(program.code.begin(), program.code.begin() + program.count + 1);
    EXPECT_EQ(got, (std::vector<int32_t>{-1, -4, -5, Token::Times, Token::Plus, 0}));

    ASSERT_TRUE(compileExpression("-2^2", 0, 0, 0, tokens));
    const std::vector<int32_t> t(tokens.code.begin(), tokens.code.begin() + tokens.count + 1);
    EXPECT_EQ(t, (std::vector<int32_t>{Token::UnaryMinus, Token::Open, -1, Token::Close,
                                       Token::Power, -2, 0}));

    ASSERT_TRUE(compileExpression("f2(x)", 0, 2, FunctionType::YofX, tokens));
    ASSERT_TRUE(toPostfix(tokens, program));
    EXPECT_EQ(program.count, 2);
    EXPECT_EQ(program.code[0], Token::VarX);
    EXPECT_EQ(program.code[1], Token::Call + 2);
    EXPECT_FALSE(compileExpression("F3(X)", 0, 2, FunctionType::YofX, tokens));
    EXPECT_FALSE(compileExpression("F1(X)", 0, 0, FunctionType::YofX, tokens));
    EXPECT_FALSE(compileExpression("1", 23, 0, 0, tokens));
    EXPECT_FALSE(compileExpression("1", 0, 100, 0, tokens));
    EXPECT_FALSE(compileExpression("1", -1, 0, 0, tokens));
}

TEST(ExpressionCompile, CheckPostfixCountsTheStack) {
    const auto ok = [](std::vector<int32_t> c) { return checkPostfix(c); };
    EXPECT_TRUE(ok({-1, -2, Token::Plus, 0}));
    EXPECT_TRUE(ok({-1, Token::Sin, 0}));
    EXPECT_TRUE(ok({-1, Token::UnaryMinus, Token::Call + 1, 0}));
    EXPECT_TRUE(ok({-1})); // no terminator: the span's end stops it
    EXPECT_FALSE(ok({-1, Token::Plus, 0}));
    EXPECT_FALSE(ok({-1, -2, 0}));
    EXPECT_FALSE(ok({0}));
    EXPECT_FALSE(ok({}));
    EXPECT_FALSE(ok({Token::Sin, 0}));
    EXPECT_FALSE(ok({-1, Token::Open, 0}));
    EXPECT_FALSE(ok({-1, 520, 0})); // 515..524 name nothing
    EXPECT_FALSE(ok({-1, Token::Call, 0}));
    EXPECT_FALSE(ok({-1, Token::Call + 100, 0}));
}

TEST(ExpressionConstants, CountedAndLoadedInTextOrder) {
    const std::string text = "2+pi*3,5-A/.25";
    EXPECT_EQ(countConstants(text), 4);
    std::vector<double> values(1 + 1 + 2 + 4, -7.0);
    ASSERT_TRUE(loadConstants(text, 3, values));
    EXPECT_EQ(values[4], 2.0);
    EXPECT_EQ(values[5], kPi);
    EXPECT_EQ(values[6], 3.5);
    EXPECT_EQ(values[7], 0.25);
    EXPECT_EQ(values[0], -7.0); // untouched
    EXPECT_EQ(values[3], -7.0);
    std::vector<double> small(7, 0.0);
    EXPECT_FALSE(loadConstants(text, 3, small));
    EXPECT_EQ(countConstants(std::string(200, '1')), 0);
}

TEST(ExpressionEvaluate, FailureKeepsSlotZeroAndMalformedProgramsFail) {
    std::vector<double> values = {42.0, 1.0, 0.0};
    const std::vector<int32_t> divByZero = {-1, -2, Token::Divide, 0};
    EXPECT_FALSE(evaluate(divByZero, values, 0, 2, {}));
    EXPECT_EQ(values[0], 42.0);

    const std::vector<std::vector<int32_t>> bad = {
        {-3, 0},                  // slot beyond the table
        {-1, 9999, 0},            // unknown code
        {-1, Token::Call + 1, 0}, // no function to call
        {INT_MIN, 0},             // huge operand index
        {-1, Token::Plus, 0},     // stack shortfall
        {-1, -1, 0},              // two results
        {Token::Sin, 0},
        {0},
        {-1, Token::Open, 0},
        {-1, 517, 0},
    };
    for (const auto& code : bad) {
        EXPECT_FALSE(evaluate(code, values, 0, 2, {}));
        EXPECT_EQ(values[0], 42.0);
    }
    std::vector<int32_t> deep(101, -1);
    EXPECT_FALSE(evaluate(deep, values, 0, 2, {})); // more than 100 on the stack
    EXPECT_FALSE(evaluate(divByZero, std::span<double>(), 0, 0, {}));

    const Ref nullArg;
    EXPECT_FALSE(evaluate(std::vector<int32_t>{-1, Token::Call + 1, 0}, values, 0, 0,
                          std::span<const Ref>(&nullArg, 1)));
    // A non-finite variable value is a range error.
    values[1] = std::nan("");
    EXPECT_FALSE(evaluate(std::vector<int32_t>{-1, 0}, values, 0, 1, {}));
    values[1] = INFINITY;
    EXPECT_FALSE(evaluate(std::vector<int32_t>{-1, 0}, values, 0, 1, {}));
}

// Number tokens are read the same in every locale and on every build: correctly rounded, as the
// standard library's own conversion reads them, with too large or vanishing values refused.
TEST(NumberTokens, ReadAsCorrectlyRoundedDecimalsInAnyLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    // A locale whose separator is ',' when the machine has one; the check holds either way.
    for (const char* name : {"es_ES.UTF-8", "de_DE.UTF-8", "C.UTF-8"})
        if (std::setlocale(LC_NUMERIC, name)) break;
    std::mt19937_64 random(40);
    std::vector<std::string> texts = {"0.1",
                                      "2.675",
                                      "9007199254740993",
                                      "0.30000000000000004",
                                      "1.7976931348623157",
                                      "123456789012345678901234567890",
                                      "0." + std::string(90, '0') + "1",
                                      std::string(99, '9')};
    for (int i = 0; i < 2000; ++i) {
        std::string s;
        const int digits = 1 + int(random() % 25), dot = int(random() % (digits + 1));
        for (int k = 0; k < digits; ++k) {
            if (k == dot) s += '.';
            s += char('0' + random() % 10);
        }
        texts.push_back(s);
    }
    for (const std::string& s : texts) {
        double expected = 0;
        const auto r = std::from_chars(s.data(), s.data() + s.size(), expected);
        const bool fits = r.ec == std::errc() && r.ptr == s.data() + s.size();
        const std::optional<double> got = calc(s);
        ASSERT_EQ(got.has_value(), fits) << s;
        if (fits) EXPECT_EQ(*got, expected) << s;
        std::string comma = s;
        std::replace(comma.begin(), comma.end(), '.', ',');
        if (fits) EXPECT_EQ(calc(comma), expected) << comma;
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

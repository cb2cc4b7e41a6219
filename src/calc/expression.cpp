// Compiling an expression text: compaction, tokenizing, classification, rewriting, postfix.
#include "calc/expression.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>

namespace qorv {

namespace {

constexpr OperatorRow kOperators[] = {
    {Token::Plus, "+", 1},        {Token::Minus, "-", 1},     {Token::Times, "*", 2},
    {Token::Divide, "/", 2},      {Token::Power, "^", 3},     {Token::UnaryMinus, "", 4},
    {Token::Open, "(", 0},        {Token::Close, ")", 99},    {Token::Sin, "SIN", 5},
    {Token::Cos, "COS", 5},       {Token::Tan, "TAN", 5},     {Token::Asin, "ASIN", 5},
    {Token::Acos, "ACOS", 5},     {Token::Atan, "ATAN", 5},   {Token::Ln, "LN", 5},
    {Token::Log, "LOG", 5},       {Token::Abs, "ABS", 5},     {Token::Sqr, "SQR", 5},
    {Token::Int, "INT", 5},       {Token::Sgn, "SGN", 5},     {Token::Ceil, "CEIL", 5},
    {Token::Floor, "FLOOR", 5},   {Token::Round, "ROUND", 5}, {Token::Exp, "EXP", 5},
    {Token::Sinh, "SINH", 5},     {Token::Cosh, "COSH", 5},   {Token::Tanh, "TANH", 5},
    {Token::Sec, "SEC", 5},       {Token::Cosec, "COSEC", 5}, {Token::Cotg, "COTG", 5},
    {Token::Random, "RANDOM", 5}, {Token::Sech, "SECH", 5},   {Token::Cosech, "COSECH", 5},
    {Token::Cotgh, "COTGH", 5},   {Token::Asinh, "ASINH", 5}, {Token::Acosh, "ACOSH", 5},
    {Token::Atanh, "ATANH", 5},   {Token::Asech, "ASECH", 5}, {Token::Acosech, "ACOSECH", 5},
    {Token::Acotgh, "ACOTGH", 5}, {Token::Asec, "ASEC", 5},   {Token::Acosec, "ACOSEC", 5},
    {Token::Acotg, "ACOTG", 5},
};

constexpr std::string_view kDelimiters = "+-*/^()";

bool isDelimiter(char c) {
    return kDelimiters.find(c) != std::string_view::npos;
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBinaryOperator(int32_t code) {
    const int32_t p = tokenPriority(code);
    return p >= 1 && p <= 3;
}

// Splits a compact text into tokens: each delimiter alone, each run of other characters.
struct TokenSpan {
    int start = 0;
    int length = 0;
};

template <class F> void forEachToken(std::string_view s, F&& f) {
    int i = 0;
    const int n = int(s.size());
    while (i < n) {
        if (isDelimiter(s[size_t(i)])) {
            f(s.substr(size_t(i), 1));
            ++i;
            continue;
        }
        int j = i;
        while (j < n && !isDelimiter(s[size_t(j)]))
            ++j;
        f(s.substr(size_t(i), size_t(j - i)));
        i = j;
    }
}

// A number token: digits with at most one decimal separator ("," or "."), at least one digit.
bool isNumberToken(std::string_view t) {
    int separators = 0, digits = 0;
    for (char c : t) {
        if (c == ',' || c == '.')
            ++separators;
        else if (isDigit(c))
            ++digits;
        else
            return false;
    }
    return separators <= 1 && digits >= 1;
}

// Correctly rounded value of `n` digits with at most one '.', NUL-terminated, whatever the
// program's locale (the editor runs under the user's, where the separator may be ','). Too large a
// value fails, and so does a nonzero one too small to be told from zero.
bool parseDecimal(const char* s, size_t n, double& value) {
#if defined(__GLIBC__)
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
    const auto toDouble = [](const char* b, char** e) { return strtod_l(b, e, c); };
#else
    // The C library of the web build reads '.' in every locale.
    const auto toDouble = [](const char* b, char** e) { return std::strtod(b, e); };
#endif
    char* end = nullptr;
    const double v = toDouble(s, &end);
    if (end != s + n || std::isinf(v)) return false;
    if (v == 0 && std::any_of(s, s + n, [](char ch) { return ch >= '1' && ch <= '9'; }))
        return false;
    value = v;
    return true;
}

// Value of a number token (isNumberToken holds). "5." and ".5" are numbers; "," is the point.
bool parseNumberToken(std::string_view t, double& value) {
    char buf[MaxExpressionLength + 2];
    size_t n = 0;
    if (t.empty() || t.size() > MaxExpressionLength) return false;
    if (t.front() == ',' || t.front() == '.') buf[n++] = '0';
    for (char c : t)
        buf[n++] = (c == ',') ? '.' : c;
    if (buf[n - 1] == '.') --n;
    buf[n] = '\0';
    return parseDecimal(buf, n, value);
}

bool isConstantToken(std::string_view t) {
    return t == "PI" || isNumberToken(t);
}

// Inserts `code` at position `at` of the token array (the caller checked the room).
void insertToken(TokenArray& a, int at, int32_t code) {
    for (int k = a.count; k > at; --k)
        a.code[size_t(k)] = a.code[size_t(k - 1)];
    a.code[size_t(at)] = code;
    ++a.count;
    a.code[size_t(a.count)] = Token::End;
}

// Classifies one token. False: the text is invalid.
bool classify(std::string_view t, int varCount, int functionCount, int32_t type, int& constantIndex,
              int32_t& code) {
    for (const OperatorRow& row : kOperators) {
        if (!row.text.empty() && row.text == t) {
            code = row.code;
            return true;
        }
    }
    if (t.size() >= 2 && t[0] == 'F') {
        const std::string_view rest = t.substr(1);
        bool digits = true;
        for (char c : rest)
            digits = digits && isDigit(c);
        const bool canonical = digits && (rest == "0" || rest[0] != '0');
        if (canonical) {
            // More than three digits is beyond any function list.
            if (rest.size() > 3) return false;
            int n = 0;
            for (char c : rest)
                n = n * 10 + (c - '0');
            if (n < 1 || n > functionCount) return false;
            code = Token::Call + n;
            return true;
        }
    }
    if (t.size() == 1) {
        int32_t independent = 0;
        switch (t[0]) {
        case 'X':
            independent = Token::VarX;
            break;
        case 'Y':
            independent = Token::VarY;
            break;
        case 'W':
            independent = Token::VarW;
            break;
        case 'R':
            independent = Token::VarR;
            break;
        default:
            break;
        }
        if (independent != 0) {
            if (independent != independentVariableToken(type)) return false;
            code = independent;
            return true;
        }
    }
    if (isConstantToken(t)) {
        code = -(varCount + functionCount + constantIndex + 1);
        ++constantIndex;
        return true;
    }
    if (t.size() == 1) {
        const size_t i = VariableLetters.find(t[0]);
        if (i != std::string_view::npos && int(i) < varCount) {
            code = -int32_t(i + 1);
            return true;
        }
    }
    return false;
}

// Puts "(" after each unary minus and ")" before the next binary operator (or at the end).
bool bracketUnaryMinus(TokenArray& a) {
    for (int i = 0; i < a.count; ++i) {
        if (a.code[size_t(i)] != Token::UnaryMinus) continue;
        if (a.count > MaxTokens - 3) return false;
        insertToken(a, i + 1, Token::Open);
        int j = i + 2;
        while (j < a.count) {
            const int32_t c = a.code[size_t(j)];
            if (c == Token::Open) {
                int depth = 0, k = j;
                for (; k < a.count; ++k) {
                    if (a.code[size_t(k)] == Token::Open) ++depth;
                    if (a.code[size_t(k)] == Token::Close && --depth == 0) break;
                }
                j = k + 1; // past the matching ")" or the end
                continue;
            }
            if (isBinaryOperator(c)) break;
            ++j;
        }
        insertToken(a, std::min(j, a.count), Token::Close);
    }
    return true;
}

// Adds the missing "(" at the beginning or the missing ")" at the end.
bool balanceParentheses(TokenArray& a) {
    int opens = 0, closes = 0;
    for (int i = 0; i < a.count; ++i) {
        opens += a.code[size_t(i)] == Token::Open;
        closes += a.code[size_t(i)] == Token::Close;
    }
    for (; closes > opens; ++opens) {
        if (a.count > MaxTokens - 2) return false;
        insertToken(a, 0, Token::Open);
    }
    for (; opens > closes; ++closes) {
        if (a.count > MaxTokens - 2) return false;
        insertToken(a, a.count, Token::Close);
    }
    return true;
}

// An operand may be followed, parentheses aside, only by a binary operator or the end.
bool checkAdjacency(const TokenArray& a) {
    for (int i = 0; i < a.count; ++i) {
        if (a.code[size_t(i)] >= 0) continue;
        int j = i + 1;
        while (j < a.count &&
               (a.code[size_t(j)] == Token::Open || a.code[size_t(j)] == Token::Close))
            ++j;
        if (j < a.count && !isBinaryOperator(a.code[size_t(j)])) return false;
    }
    return true;
}

} // namespace

std::span<const OperatorRow> operatorTable() {
    return kOperators;
}

int32_t tokenPriority(int32_t code) {
    if (code > Token::Call && code <= Token::Call + MaxFunctions) return 5;
    for (const OperatorRow& row : kOperators)
        if (row.code == code) return row.priority;
    return -1;
}

int32_t independentVariableToken(int32_t type) {
    switch (type) {
    case FunctionType::YofX:
        return Token::VarX;
    case FunctionType::XofY:
        return Token::VarY;
    case FunctionType::RofW:
        return Token::VarW;
    case FunctionType::WofR:
        return Token::VarR;
    default:
        return 0;
    }
}

std::string_view trimExpressionText(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ')
        --e;
    return text.substr(b, e - b);
}

bool compactExpression(std::string_view text, CompactText& out) {
    out.length = 0;
    for (char c : trimExpressionText(text)) {
        if (c == ' ') continue;
        const auto u = static_cast<unsigned char>(c);
        if (u >= 128 || out.length >= MaxExpressionLength) {
            out.length = 0;
            return false;
        }
        out.chars[size_t(out.length++)] = (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
    }
    return out.length > 0;
}

bool compileExpression(std::string_view text, int varCount, int functionCount, int32_t type,
                       TokenArray& tokens) {
    tokens.count = 0;
    tokens.code[0] = Token::End;
    if (varCount < 0 || varCount > MaxVariables || functionCount < 0 ||
        functionCount > MaxFunctions)
        return false;
    CompactText compact;
    if (!compactExpression(text, compact)) return false;

    TokenArray a;
    bool ok = true;
    int constantIndex = 0;
    forEachToken(compact.view(), [&](std::string_view t) {
        if (!ok) return;
        int32_t code = 0;
        // At most 99 characters, hence at most 99 tokens: the array always has room.
        if (!classify(t, varCount, functionCount, type, constantIndex, code)) {
            ok = false;
            return;
        }
        a.code[size_t(a.count++)] = code;
    });
    if (!ok) return false;
    a.code[size_t(a.count)] = Token::End;

    // "-" is unary first and after an operator, "(", a function or a call.
    for (int i = 0; i < a.count; ++i) {
        if (a.code[size_t(i)] != Token::Minus) continue;
        const int32_t prev = i == 0 ? 0 : a.code[size_t(i - 1)];
        if (i == 0 || (prev > 0 && prev != Token::Close)) a.code[size_t(i)] = Token::UnaryMinus;
    }

    if (!bracketUnaryMinus(a) || !balanceParentheses(a) || !checkAdjacency(a)) return false;
    tokens = a;
    return true;
}

bool toPostfix(const TokenArray& tokens, TokenArray& postfix) {
    postfix.count = 0;
    postfix.code[0] = Token::End;
    TokenArray out;
    std::array<int32_t, MaxTokens> stack{};
    int top = 0;
    const int n = std::clamp(tokens.count, 0, MaxTokens - 1);
    for (int i = 0; i < n; ++i) {
        const int32_t c = tokens.code[size_t(i)];
        if (c == Token::End) break;
        if (c < 0) {
            out.code[size_t(out.count++)] = c;
        } else if (c == Token::Open) {
            stack[size_t(top++)] = c;
        } else if (c == Token::Close) {
            while (top > 0 && stack[size_t(top - 1)] != Token::Open)
                out.code[size_t(out.count++)] = stack[size_t(--top)];
            if (top == 0) return false;
            --top;
        } else {
            const int32_t p = tokenPriority(c);
            if (p < 1) return false;
            while (top > 0 && stack[size_t(top - 1)] != Token::Open &&
                   tokenPriority(stack[size_t(top - 1)]) >= p)
                out.code[size_t(out.count++)] = stack[size_t(--top)];
            stack[size_t(top++)] = c;
        }
    }
    while (top > 0) {
        const int32_t c = stack[size_t(--top)];
        if (c != Token::Open) out.code[size_t(out.count++)] = c;
    }
    if (out.count == 0) return false;
    out.code[size_t(out.count)] = Token::End;
    postfix = out;
    return true;
}

bool checkPostfix(std::span<const int32_t> code) {
    int depth = 0;
    for (const int32_t c : code) {
        if (c == Token::End) break;
        if (c < 0) {
            if (++depth > EvalStackSize) return false;
            continue;
        }
        const int32_t p = tokenPriority(c);
        if (p >= 1 && p <= 3) {
            if (depth < 2) return false;
            --depth;
        } else if (p == 4 || p == 5) {
            if (depth < 1) return false;
        } else {
            return false; // parentheses and unknown codes have no place in a program
        }
    }
    return depth == 1;
}

int countConstants(std::string_view text) {
    CompactText compact;
    if (!compactExpression(text, compact)) return 0;
    int n = 0;
    forEachToken(compact.view(), [&](std::string_view t) { n += isConstantToken(t); });
    return n;
}

bool loadConstants(std::string_view text, int firstSlotOffset, std::span<double> values) {
    CompactText compact;
    if (firstSlotOffset < 0 || !compactExpression(text, compact)) return false;
    bool ok = true;
    size_t slot = size_t(firstSlotOffset) + 1;
    forEachToken(compact.view(), [&](std::string_view t) {
        if (!ok || !isConstantToken(t)) return;
        double v = ExpressionPi;
        if (t != "PI" && !parseNumberToken(t, v)) ok = false;
        if (slot >= values.size()) ok = false;
        if (ok) values[slot++] = v;
    });
    return ok;
}

} // namespace qorv

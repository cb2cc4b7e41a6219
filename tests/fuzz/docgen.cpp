#include "docgen.h"

#include "calc/expression.h"
#include "fuzz/opsdriver.h"
#include "geometry/recalc.h"
#include "model/bytestream.h"
#include "model/docfile.h"
#include "model/elementcodec.h"
#include "model/methodtable.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <climits>
#include <limits>
#include <random>
#include <unordered_map>

namespace qorv::fuzz {

namespace {

// The versions whose rules differ, and the ones on either side of each threshold.
constexpr int32_t kVersions[] = {100, 101, 150, 199, 200, 201, 299, 300, 301, 399, 400, 499,
                                 500, 599, 600, 699, 700, 799, 800, 801, 802, 899, 900};

constexpr uint64_t kSpecialBits[] = {
    0x7ff8000000000000ull, // quiet NaN
    0xfff8000000000000ull, // negative quiet NaN
    0x7ff0000000000001ull, // signalling NaN
    0x7ff4000000000123ull, // NaN with a payload
    0x7ff0000000000000ull, // +infinity
    0xfff0000000000000ull, // -infinity
    0x7fefffffffffffffull, // the largest double
    0xffefffffffffffffull, // its negative
    0x0000000000000001ull, // the smallest subnormal
    0x8000000000000001ull, // its negative
    0x000fffffffffffffull, // the largest subnormal
    0x0010000000000000ull, // the smallest normal
    0x8000000000000000ull, // -0
};
constexpr double kSpecialValues[] = {1e308,
                                     -1e308,
                                     1e300,
                                     -1e300,
                                     1e15,
                                     -1e15,
                                     1e10,
                                     -1e10,
                                     1e-300,
                                     0.0,
                                     1.0,
                                     -1111.0,
                                     4e6,
                                     -4e6,
                                     0.5,
                                     2e9,
                                     -2e9,
                                     1e-9,
                                     9007199254740993.0};
constexpr int32_t kSpecialInts[] = {
    INT32_MIN, INT32_MIN + 1, INT32_MAX, INT32_MAX - 63, -1,    0,       1,          2,    100,
    -100,      255,           256,       65535,          65536, 1 << 24, -(1 << 24), 1000, 1015,
    1016,      INT32_MAX / 2};

class Gen {
  public:
    explicit Gen(uint64_t seed) : rng_(seed) {}

    std::vector<uint8_t> document();
    bool mayBeRefused() const { return refusal_; }

  private:
    // One element of the list as the generator numbers it: its id in a renumbered list, the id
    // its record stores (now and then another one) and its sub-elements.
    struct Planned {
        int32_t method = 0;
        int32_t id = 0;
        int32_t storedId = 0;
        int subCount = 0;
    };

    uint64_t next() { return rng_(); }
    uint32_t below(uint32_t n) { return n ? uint32_t(next() % n) : 0; }
    bool chance(double p) { return double(next() >> 11) * 0x1.0p-53 < p; }
    int32_t between(int32_t lo, int32_t hi) { return lo + int32_t(below(uint32_t(hi - lo + 1))); }
    template <class T, size_t N> const T& pick(const T (&a)[N]) { return a[below(N)]; }

    int32_t hostileInt() { return chance(0.3) ? int32_t(uint32_t(next())) : pick(kSpecialInts); }
    // An int that is usually `usual` and otherwise hostile.
    int32_t mostly(int32_t usual, double hostile = -1) {
        return chance(hostile < 0 ? hostility_ : hostile) ? hostileInt() : usual;
    }
    double specialDouble() {
        if (chance(0.5)) return std::bit_cast<double>(pick(kSpecialBits));
        return pick(kSpecialValues);
    }
    double coordinate() {
        if (chance(hostility_)) return specialDouble();
        if (chance(0.1)) return double(int32_t(next() % 2001) - 1000) / 1000.0;
        return double(int64_t(next() % 120001) - 60000) / 100.0;
    }
    int32_t colour() { return chance(hostility_) ? hostileInt() : int32_t(next() & 0xffffff); }

    // A string of at most the file limit (one byte more when a refusal is allowed).
    void str(ByteWriter& w, size_t usualMax = 40) {
        size_t n;
        const uint32_t r = below(100);
        if (r < 15)
            n = 0;
        else if (r < 70)
            n = below(uint32_t(usualMax) + 1);
        else if (r < 85)
            n = below(200);
        else if (r < 97)
            n = below(uint32_t(MaxFileStringBytes) + 1);
        else
            n = MaxFileStringBytes;
        if (refusal_ && chance(0.02)) n = MaxFileStringBytes + 1;
        std::string s(n, ' ');
        const uint32_t style = below(10);
        const uint8_t start = uint8_t(next());
        for (size_t i = 0; i < n; ++i) {
            switch (style) {
            case 0:
            case 1:
            case 2:
            case 3:
                s[i] = char(0x20 + below(95));
                break;
            case 4:
            case 5:
            case 6:
                s[i] = char(next());
                break;
            case 7:
                s[i] = char(0x80 + below(128));
                break;
            case 8:
                s[i] = char(uint8_t(start + i));
                break; // every byte value in turn
            default:
                s[i] = char(0xE9);
                break; // one character, two bytes in UTF-8
            }
        }
        w.i32(int32_t(n));
        w.bytes(s.data(), n);
    }

    void font(ByteWriter& w) {
        str(w, 12);
        w.i32(colour());
        w.i32(chance(0.7) ? between(6, 40) : hostileInt());
        for (int i = 0; i < 4; ++i)
            w.i32(chance(0.8) ? int32_t(below(2)) : hostileInt());
    }

    // ---- references ----

    // Every id an element or sub-element of the plan has, with its kind and its position.
    struct Target {
        int32_t id;
        int32_t kind;
        int position;
    };

    // The stored id of a reference from the element at `position` to something of kinds `want`.
    int32_t ref(int position, KindMask want, bool optional = false) {
        if (optional && chance(0.8)) return -1;
        const uint32_t r = below(100);
        if (r < 62) {
            // An earlier element or sub-element of a kind the slot takes.
            const size_t end = firstAt_[size_t(position)];
            std::vector<int32_t> ok;
            for (size_t i = end; i-- > 0 && ok.size() < 12;)
                if (hasKind(want, targets_[i].kind)) ok.push_back(targets_[i].id);
            if (!ok.empty()) return ok[below(uint32_t(ok.size()))];
        }
        if (r < 75 && firstAt_[size_t(position)] > 0)
            return targets_[below(uint32_t(firstAt_[size_t(position)]))].id; // any earlier
        if (r < 80) return -1;
        if (r < 85 && !targets_.empty()) return targets_[below(uint32_t(targets_.size()))].id;
        if (r < 90) return plan_[size_t(position)].id;     // itself
        if (r < 93) return plan_[size_t(position)].id + 1; // its own first sub-element, or the next
        return hostileInt();
    }
    int32_t refAny(int position) { return ref(position, ParentKinds::Any); }

    // ---- records ----

    void plan(int count);
    void section(ByteWriter& w);
    void element(ByteWriter& w, int position);
    void body(ByteWriter& w, int position);
    void subBlock(ByteWriter& w, int position, int32_t id, int32_t p1, int32_t p2, int32_t p3);
    void common(ByteWriter& w, int position);
    void expression(ByteWriter& w, int position);
    void bitmap(ByteWriter& w);
    void macro(ByteWriter& w, bool headWords);

    std::mt19937_64 rng_;
    int32_t version_ = 900;
    double hostility_ = 0.05; // chance of a hostile value in any one field
    bool refusal_ = false;    // the file may break the layout somewhere
    std::vector<Planned> plan_;
    std::vector<Target> targets_;
    std::vector<size_t> firstAt_; // per position: the targets before that element
};

// Methods of list records (sides, axis lines and coordinate numbers live in their owners).
int32_t listMethod(uint32_t r) {
    static const std::vector<int32_t> methods = [] {
        std::vector<int32_t> m;
        for (const MethodRow& row : methodTable())
            if (row.listed) m.push_back(row.code);
        return m;
    }();
    return methods[r % methods.size()];
}

ElementKind subKindOf(int32_t method) {
    switch (method) {
    case Method::Polygon:
        return Kind::Segment;
    case Method::Axes:
        return Kind::Line;
    case Method::Coordinates:
        return Kind::Number;
    default:
        return -1;
    }
}

void Gen::plan(int count) {
    plan_.clear();
    targets_.clear();
    firstAt_.clear();
    int32_t id = 1;
    for (int i = 0; i < count; ++i) {
        Planned p;
        // Points first and more often, so that what follows has parents to take.
        p.method = i < 3 || chance(0.2) ? Method::FreePoint : listMethod(uint32_t(next()));
        if (p.method == Method::Polygon)
            p.subCount = chance(0.6) ? 3 + int(below(4)) : chance(0.9) ? int(below(12)) : 200;
        else if (p.method == Method::Axes || p.method == Method::Coordinates)
            p.subCount = 2;
        p.id = id;
        p.storedId = chance(hostility_ / 2) ? (chance(0.5) ? id - 1 : hostileInt()) : id;
        firstAt_.push_back(targets_.size());
        targets_.push_back({p.id, kindOf(p.method), i});
        for (int s = 0; s < p.subCount; ++s)
            targets_.push_back({id + 1 + s, subKindOf(p.method), i});
        id += 1 + p.subCount;
        plan_.push_back(p);
    }
    firstAt_.push_back(targets_.size());
}

void Gen::section(ByteWriter& w) {
    const int32_t v = version_;
    w.i32(colour());
    if (v >= 500) {
        w.i32(colour());
        w.i32(colour());
    }
    if (v >= 600) {
        for (int f = 0; f < 4; ++f)
            font(w);
        for (int k = 0; k < 12; ++k)
            w.i32(colour());
        for (int k = 0; k < 12; ++k)
            w.i32(mostly(between(1, 6)));
    }
    // Values the reader refuses out of range stay in range unless the file may be refused.
    const auto ranged = [&](int32_t hi) {
        return refusal_ && chance(0.05) ? hostileInt() : between(0, hi);
    };
    if (v >= 300) w.i32(ranged(3));
    w.i32(ranged(2));
    if (v >= 600) {
        const double ppu = chance(0.8) ? 40.0 : chance(0.5) ? double(between(1, 400)) / 3 : 1e-300;
        w.f64(refusal_ && chance(0.05) ? specialDouble() : ppu);
    } else {
        w.i32(refusal_ && chance(0.05) ? hostileInt() : between(1, 200));
    }
    if (v >= 801) w.i32(mostly(int32_t(below(2))));
    w.i32(ranged(1));
    if (v >= 500) w.i32(mostly(int32_t(below(2))));
    const bool farAway = chance(hostility_);
    w.f64(farAway ? (chance(0.5) ? 1e300 : -1e300) : -480.0 + double(between(-200, 200)));
    w.f64(farAway ? (chance(0.5) ? 1e308 : 5e-324) : 330.0 + double(between(-200, 200)));
    if (v == FirstFormatVersion) return;
    const int32_t traced = chance(0.5) ? 0 : int32_t(below(chance(0.9) ? 4 : 101));
    w.i32(traced);
    for (int32_t i = 0; i < traced; ++i)
        w.i32(plan_.empty() || chance(0.1) ? hostileInt() : refAny(int(plan_.size()) - 1));
    const int32_t animated = chance(0.5) ? 0 : int32_t(below(5));
    w.i32(animated);
    for (int32_t i = 0; i < animated; ++i) {
        w.i32(plan_.empty() || chance(0.1) ? hostileInt() : refAny(int(plan_.size()) - 1));
        for (int k = 0; k < 3; ++k)
            w.i32(mostly(between(-10, 100)));
    }
}

void Gen::subBlock(ByteWriter& w, int position, int32_t id, int32_t p1, int32_t p2, int32_t p3) {
    const auto maybe = [&](int32_t usual) { return chance(hostility_) ? refAny(position) : usual; };
    w.i32(chance(hostility_) ? hostileInt() : id);
    w.i32(maybe(p1));
    w.i32(maybe(p2));
    w.i32(maybe(p3));
    for (int k = 0; k < 4; ++k)
        w.f64(coordinate());
}

void Gen::expression(ByteWriter& w, int position) {
    const Planned& self = plan_[size_t(position)];
    // Variables are numbers, functions are functions: mostly.
    std::vector<int32_t> varIds, fnIds;
    const int vars = chance(0.3) ? 0 : int(below(chance(0.9) ? 4 : 23));
    const int fns = chance(0.7) ? 0 : int(below(3));
    for (int i = 0; i < vars; ++i)
        varIds.push_back(ref(position, kindBit(Kind::Number)));
    for (int i = 0; i < fns; ++i)
        fnIds.push_back(ref(position, kindBit(Kind::Function)));

    std::vector<int32_t> code;
    std::vector<double> values;
    std::string text;
    if (chance(0.7)) {
        // A program compiled from a text made of the language's pieces.
        static const char* kPieces[] = {
            "+",     "-",      "*",     "/",      "^",      "(",      ")",    "SIN(", "COS(",
            "TAN(",  "LN(",    "LOG(",  "ABS(",   "SQR(",   "INT(",   "SGN(", "EXP(", "ASIN(",
            "ACOS(", "ATANH(", "COSH(", "ROUND(", "RANDOM", "PI",     "X",    "Y",    "R",
            "W",     "2",      "0",     "1E308",  "0.5",    "1E-320", "7"};
        for (int tries = 0; tries < 8 && code.empty(); ++tries) {
            std::string t;
            const int n = 1 + int(below(12));
            for (int i = 0; i < n; ++i) {
                const uint32_t r = below(10);
                if (r < 3 && vars > 0)
                    t += VariableLetters[below(uint32_t(vars))];
                else if (r < 4 && fns > 0)
                    t += "F" + std::to_string(1 + below(uint32_t(fns))) + "(";
                else
                    t += pick(kPieces);
            }
            std::vector<Element> dummies(size_t(vars + fns));
            std::vector<Element*> v, f;
            for (int i = 0; i < vars; ++i)
                v.push_back(&dummies[size_t(i)]);
            for (int i = 0; i < fns; ++i)
                f.push_back(&dummies[size_t(vars + i)]);
            ExpressionTail tail;
            const int32_t type = self.method == Method::Function ? int32_t(below(5)) : 0;
            if (compileToTail(tail, t, v, f, type)) {
                code = tail.exprCode;
                values = tail.exprValues;
                text = tail.exprText;
            }
        }
    }
    if (code.empty()) {
        // Words of every kind: operands, operators, calls, variables, and now and then ones
        // that reach outside the tables (the reader refuses those).
        values.assign(1 + size_t(vars + fns) + below(4), 0.0);
        const int n = int(below(16));
        for (int i = 0; i < n; ++i) {
            const uint32_t r = below(10);
            if (r < 4 && (values.size() > 1 || refusal_))
                code.push_back(-1 -
                               int32_t(below(uint32_t(values.size() - 1 + (refusal_ ? 2 : 0)))));
            else if (r < 7)
                code.push_back(operatorTable()[below(uint32_t(operatorTable().size()))].code);
            else if (r < 8 && fns > 0)
                code.push_back(Token::Call + 1 + int32_t(below(uint32_t(fns))));
            else if (r < 9)
                code.push_back(Token::VarX - int32_t(below(4)));
            else
                code.push_back(hostileInt());
            // Operands and calls beyond the tables only where the file may be refused.
            const int32_t w = code.back();
            if (!refusal_ && ((w <= -1 && w >= -999 && -int64_t(w) >= int64_t(values.size())) ||
                              (w >= 1001 && w <= 1999 && w - 1000 > vars + fns)))
                code.back() = Token::Plus;
        }
        code.push_back(0);
        for (double& x : values)
            x = coordinate();
        if (chance(0.5)) code.pop_back(); // no terminator: the reader adds one
    } else if (chance(hostility_)) {
        for (double& x : values)
            x = specialDouble();
    }
    if (text.empty() || chance(0.2)) {
        ByteWriter scratch;
        str(scratch, 20);
        text.assign(scratch.data().begin() + 4, scratch.data().end());
    }
    std::vector<int32_t> args = varIds;
    args.insert(args.end(), fnIds.begin(), fnIds.end());
    w.i32(int32_t(args.size()));
    w.i32(int32_t(values.size()));
    w.i32(int32_t(code.size()));
    w.i32(int32_t(text.size()));
    w.bytes(text.data(), text.size());
    for (int32_t c : code)
        w.i32(c);
    for (int32_t a : args)
        w.i32(a);
    for (double x : values)
        w.f64(x);
}

void Gen::bitmap(ByteWriter& w) {
    std::vector<uint8_t> bytes;
    const uint32_t kind = below(4);
    if (kind == 0) {
        bytes.resize(below(64));
        for (auto& b : bytes)
            b = uint8_t(next());
    } else {
        // A Windows bitmap file: 24 or 8 bits, sizes now and then absurd, data now and then short.
        const int32_t width = chance(0.8) ? between(1, 6) : hostileInt();
        const int32_t height = chance(0.8) ? between(-6, 6) : hostileInt();
        const bool palette = kind == 2;
        const uint32_t colours = palette ? (chance(0.8) ? 256u : uint32_t(next())) : 0u;
        const uint32_t paletteBytes = palette ? 4 * std::min(colours, 256u) : 0;
        const uint32_t offset = 14 + 40 + paletteBytes;
        const uint32_t row =
            palette ? ((uint32_t(width) + 3) & ~3u) : ((uint32_t(width) * 3 + 3) & ~3u);
        uint32_t pixels = row * uint32_t(std::abs(int64_t(height)) & 0xff);
        pixels = std::min<uint32_t>(pixels, 512);
        if (kind == 3) pixels = below(pixels + 1);
        ByteWriter b;
        const auto u16 = [&](uint16_t x) { b.i16(int16_t(x)); };
        const auto u32 = [&](uint32_t x) { b.i32(int32_t(x)); };
        u16(0x4d42);
        u32(offset + pixels);
        u32(0);
        u32(offset);
        u32(40);
        u32(uint32_t(width));
        u32(uint32_t(height));
        u16(1);
        u16(palette ? 8 : 24);
        u32(chance(0.9) ? 0 : uint32_t(next() % 4)); // compression
        u32(pixels);
        u32(2835);
        u32(2835);
        u32(colours);
        u32(0);
        for (uint32_t i = 0; i < paletteBytes + pixels; ++i) {
            const uint8_t x = uint8_t(next());
            b.bytes(&x, 1);
        }
        bytes = b.data();
    }
    w.i32(int32_t(bytes.size()));
    w.bytes(bytes.data(), bytes.size());
}

void Gen::body(ByteWriter& w, int position) {
    const Planned& self = plan_[size_t(position)];
    const int32_t v = version_;
    const auto point = [&] { return ref(position, kindBit(Kind::Point)); };
    switch (tailTypeOf(self.method)) {
    case TailType::Polygon: {
        w.i32(self.subCount);
        std::vector<int32_t> vertices;
        for (int i = 0; i < self.subCount; ++i)
            vertices.push_back(point());
        for (int i = 0; i < self.subCount; ++i)
            subBlock(w, position, self.id + 1 + i, vertices[size_t(i)],
                     vertices[size_t((i + 1) % self.subCount)], self.id);
        break;
    }
    case TailType::SampledCurve:
        w.i32(chance(0.9) ? int32_t(below(120)) : chance(0.9) ? 250 : 3000);
        break;
    case TailType::Expression:
        expression(w, position);
        break;
    case TailType::Table: {
        const int32_t columns = chance(0.9) ? int32_t(below(4)) : 30;
        const int32_t rows = chance(0.8)                 ? int32_t(below(6))
                             : (refusal_ && chance(0.1)) ? 101
                                                         : 100;
        w.i32(columns);
        w.i32(rows);
        for (int32_t c = 0; c < columns; ++c) {
            w.i32(ref(position, kindBit(Kind::Number)));
            for (int32_t r = 0; r < rows; ++r)
                w.f64(coordinate());
        }
        break;
    }
    case TailType::Axes: {
        const auto scale = [&] {
            return chance(0.7) ? 40.0 : chance(0.5) ? coordinate() : specialDouble();
        };
        w.f64(scale());
        w.f64(scale());
        const int32_t origin = point();
        subBlock(w, position, self.id + 1, origin, self.id, -1);
        subBlock(w, position, self.id + 2, origin, self.id, -1);
        break;
    }
    case TailType::Coordinates: {
        const int32_t p = point();
        subBlock(w, position, self.id + 1, p, self.id, -1);
        subBlock(w, position, self.id + 2, p, self.id, -1);
        break;
    }
    case TailType::Equation:
        if (v >= 300) w.f64(coordinate());
        str(w);
        break;
    case TailType::Text: {
        const int32_t lines = chance(0.9) ? int32_t(below(4)) : 40;
        const int32_t runs = chance(0.9) ? int32_t(below(3)) : 20;
        w.i32(lines);
        if (v >= 400) w.i32(runs);
        for (int32_t i = 0; i < lines; ++i)
            str(w);
        if (v != FirstFormatVersion) font(w);
        if (v >= 400)
            for (int32_t i = 0; i < runs; ++i) {
                font(w);
                w.i32(mostly(between(0, 40)));
            }
        if (v >= 600) {
            w.i32(mostly(between(0, 900)));
            w.i32(mostly(between(0, 700)));
            w.i32(mostly(int32_t(below(2))));
        }
        break;
    }
    case TailType::Name:
        str(w, 8);
        for (int k = 0; k < 4; ++k)
            w.f64(coordinate());
        break;
    case TailType::Check:
        str(w);
        str(w);
        break;
    case TailType::Conic:
        for (int k = 0; k < 5; ++k)
            w.i32(point());
        break;
    case TailType::Parameter:
        w.f64(coordinate());
        w.f64(coordinate());
        if (v >= 700) w.f64(chance(0.8) ? 0.01 : coordinate());
        break;
    case TailType::Button: {
        const int32_t n = int32_t(below(6));
        w.i32(n);
        str(w, 12);
        for (int32_t i = 0; i < n; ++i)
            w.i32(refAny(position));
        for (int32_t i = 0; i < n; ++i)
            w.i32(mostly(int32_t(below(2))));
        break;
    }
    case TailType::Bitmap:
        bitmap(w);
        break;
    case TailType::Iteration: {
        const int32_t all = int32_t(below(7));
        const int32_t rows = int32_t(below(uint32_t(all) + 1));
        const int32_t lists = chance(0.9) ? between(1, 3) : (refusal_ ? hostileInt() : 99);
        w.i32(all);
        w.i32(rows);
        for (int32_t i = 0; i < all; ++i)
            w.i32(refAny(position));
        w.i32(mostly(between(1, 10)));
        w.i32(mostly(int32_t(below(2))));
        w.i32(lists);
        for (int k = 0; k < 3; ++k)
            w.i32(mostly(int32_t(below(2))));
        const int64_t cells = lists >= 1 && lists <= 99 ? int64_t(rows) * lists : 0;
        // Now and then every image is the first initial element: each level lands where the
        // walk started, and a huge count must still stop.
        const bool cycle = chance(0.2);
        for (int64_t i = 0; i < cells; ++i)
            w.i32(refusal_ && chance(0.02) ? hostileInt()
                                           : (cycle ? 0 : int32_t(below(uint32_t(all)))));
        break;
    }
    case TailType::None:
        break;
    }
}

void Gen::common(ByteWriter& w, int position) {
    const Planned& self = plan_[size_t(position)];
    const int32_t v = version_;
    const MethodRow& row = methodRow(self.method);
    w.i32(self.storedId);
    for (int k = 0; k < 3; ++k)
        w.i32(ref(position, row.parents[k] ? row.parents[k] : ParentKinds::Any,
                  row.parents[k] == ParentKinds::None));
    for (int k = 0; k < 4; ++k)
        w.f64(coordinate());
    w.i32(chance(0.9) ? 1 : mostly(0, 0.5));
    const uint32_t vis = below(100);
    w.i32(vis < 60 ? 1 : vis < 75 ? 0 : vis < 95 ? Internal : hostileInt());
    int32_t option = int32_t(below(3)) - 1;
    switch (self.method) {
    case Method::IntersectionPoint:
        option = chance(0.5) ? 42 : int32_t(below(8));
        break;
    case Method::Coordinates:
        option = chance(0.5) ? HasValue : NoValue;
        break;
    case Method::Function:
        option = int32_t(below(5));
        break;
    case Method::Bitmap:
        option = int32_t(below(10));
        break;
    default:
        if (kindOf(self.method) == Kind::Number) option = chance(0.8) ? HasValue : NoValue;
        if (chance(0.3)) option = colour(); // a fill colour
        break;
    }
    w.i32(mostly(option));
    w.i32(colour());
    if (v >= 300) {
        w.i32(chance(0.85)  ? -1
              : chance(0.7) ? ref(position, kindBit(Kind::Number))
                            : refAny(position));
        static const int32_t kModes[] = {0,  1,  2,  3,    50,   101,  103,   150, 201, 1000,
                                         -1, -2, -3, -101, -103, -201, -1000, 102, 202, 999};
        w.i32(chance(0.6) ? 0 : mostly(pick(kModes), 0.2));
    }
    if (v >= 800) {
        w.i32(colour());
        w.i32(colour());
    }
    const int32_t shape = isTextLike(kindOf(self.method)) && chance(0.5)
                              ? (chance(0.5) ? -1 : colour())
                              : between(-4, 7);
    w.i32(mostly(shape));
    if (v >= 300) {
        w.i32(mostly(chance(0.5) ? 0 : chance(0.5) ? HasValue : NoValue));
        w.i32(mostly(int32_t(below(4))));
        w.i32(mostly(int32_t(below(9))));
        if (carriesFont(kindOf(self.method))) font(w);
    }
}

void Gen::element(ByteWriter& w, int position) {
    w.i32(plan_[size_t(position)].method);
    body(w, position);
    common(w, position);
}

void Gen::macro(ByteWriter& w, bool headWords) {
    if (headWords) {
        w.i32(pick(kVersions));
        w.i32(FileType::Macro);
    }
    const int32_t n = int32_t(below(6));
    w.i32(n);
    for (int32_t i = 0; i < n; ++i)
        w.i16(int16_t(chance(0.8) ? int16_t(below(25)) : int16_t(next())));
    str(w, 12);
    const int32_t lines = int32_t(below(3));
    w.i32(chance(0.9) ? lines : lines | int32_t(0x10000 * below(4))); // a 16-bit count
    for (int32_t i = 0; i < lines; ++i)
        str(w);
    // The macro's own records, numbered from 0 as templates are.
    const int count = int(below(5));
    plan(count);
    for (int i = 0; i < count; ++i)
        element(w, i);
}

std::vector<uint8_t> Gen::document() {
    version_ = pick(kVersions);
    const uint32_t mood = below(10);
    hostility_ = mood < 3 ? 0.0 : mood < 8 ? 0.04 : 0.3;
    refusal_ = chance(0.1);
    const uint32_t t = below(20);
    const bool isMacro = t < 3;
    int32_t type = isMacro ? 20 : t < 5 ? 11 : 10;
    if (version_ < 301 && chance(0.5)) type = isMacro ? 2 : type == 10 ? 1 : type;

    ByteWriter w;
    w.i32(refusal_ && chance(0.05) ? (chance(0.5) ? 901 : 99) : version_);
    w.i32(refusal_ && chance(0.05) ? hostileInt() : type);
    if (type == 11)
        for (int k = 0; k < 5; ++k)
            w.i32(mostly(between(0, 900)));
    if (isMacro) {
        macro(w, false);
        for (int m = int(below(3)); m > 0; --m) {
            w.i32(-1);
            macro(w, true);
        }
    } else {
        const uint32_t r = below(100);
        const int count = r < 3    ? 0
                          : r < 33 ? between(1, 10)
                          : r < 85 ? between(11, 40)
                                   : between(41, 150);
        plan(count);
        section(w);
        for (int i = 0; i < count; ++i)
            element(w, i);
        for (int m = chance(0.9) ? 0 : int(below(3)); m > 0; --m) {
            w.i32(-1);
            macro(w, true);
        }
    }
    std::vector<uint8_t> bytes = std::move(w.data());
    if (refusal_ && chance(0.2)) bytes.resize(below(uint32_t(bytes.size()) + 1)); // cut short
    return bytes;
}

// ---- the run --------------------------------------------------------------------------------

// The position of every element and sub-element of the list, by address.
std::unordered_map<const Element*, int> positions(Document& doc) {
    std::unordered_map<const Element*, int> at;
    int k = 0;
    doc.forEachWithSubs([&](Element& e) { at[&e] = k++; });
    return at;
}

// Every reference of every element and sub-element, as positions (-1 for none).
std::unordered_map<const Element*, std::vector<int>>
referencePositions(Document& doc, const std::unordered_map<const Element*, int>& at) {
    std::unordered_map<const Element*, std::vector<int>> refs;
    doc.forEachWithSubs([&](Element& e) {
        auto& r = refs[&e];
        forEachReference(e, [&](Ref& x) {
            const auto it = x ? at.find(x) : at.end();
            r.push_back(it == at.end() ? -1 : it->second);
        });
    });
    return refs;
}

int32_t visibleCount(const Document& doc) {
    int32_t n = 0;
    for (const Element* e = doc.head; e; e = e->next)
        n += e->visible != Internal ? 1 : 0;
    return n;
}

} // namespace

std::vector<uint8_t> generateDocument(uint64_t seed, bool* mayBeRefused) {
    if (const uint64_t shape = seed % CostlySeedPeriod - 1; shape < uint64_t(CostlyShape::Count)) {
        if (mayBeRefused) *mayBeRefused = false;
        return costlyDocument(CostlyShape(shape), seed);
    }
    Gen g(seed);
    std::vector<uint8_t> bytes = g.document();
    if (mayBeRefused) *mayBeRefused = g.mayBeRefused();
    return bytes;
}

std::string runGeneratedDocument(const std::vector<uint8_t>& file, bool mustRead,
                                 const std::function<void(Document&)>& draw) {
    Document doc;
    const ReadResult r = readDocumentData(doc, file.data(), file.size(), FileType::Document);
    if (r.kind != FileKind::Document && r.kind != FileKind::Macro) {
        if (doc.head) return "a refused file left elements behind";
        if (mustRead) return "a file laid out as the format says was refused";
        return {};
    }
    if (r.kind == FileKind::Macro) {
        const std::vector<uint8_t> bytes = encodeMacroFile(doc.macros[size_t(r.macroSlot)]);
        Document back;
        const ReadResult b = readDocumentData(back, bytes.data(), bytes.size(), FileType::Macro);
        if (b.kind != FileKind::Macro) return "a written macro file does not read back";
        if (encodeMacroFile(back.macros[size_t(b.macroSlot)]) != bytes)
            return "a macro file read back writes differently";
        return {};
    }
    std::string failure = checkSound(doc);
    if (!failure.empty()) return "after reading: " + failure;
    recalcUpTo(doc);
    if (draw) draw(doc);
    if (!(failure = checkSound(doc)).empty()) return "after recalculation: " + failure;

    // The removal keeps every element that is not internal, and every kept element keeps the
    // references it had.
    const auto at = positions(doc);
    const auto before = referencePositions(doc, at);
    const int32_t shown = visibleCount(doc);
    removeUnusedInternalElements(doc);
    if (!(failure = checkSound(doc)).empty()) return "after removing unused elements: " + failure;
    if (visibleCount(doc) != shown) return "the removal took an element that is not internal";
    const auto after = referencePositions(doc, at);
    for (const auto& [e, refs] : after)
        if (before.at(e) != refs) return "the removal changed a kept element's references";

    const std::vector<uint8_t> bytes = encodeDocument(doc);
    Document back;
    if (readDocumentData(back, bytes.data(), bytes.size(), FileType::Document).kind !=
        FileKind::Document)
        return "a saved document does not read back";
    if (back.elementCount() != doc.elementCount()) return "a saved document reads back otherwise";
    if (encodeDocument(back) != bytes) return "a document read back saves differently";
    recalcUpTo(back);
    if (draw) draw(back);
    if (!(failure = checkSound(back)).empty()) return "after reading back: " + failure;
    // What saving kept is all used: saving again takes nothing more.
    const int32_t count = back.elementCount();
    removeUnusedInternalElements(back);
    if (back.elementCount() != count) return "a second save removed more elements";
    return {};
}

} // namespace qorv::fuzz

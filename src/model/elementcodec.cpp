#include "model/elementcodec.h"

#include "model/cp1252.h"
#include "model/methodtable.h"

#include <algorithm>

namespace qorv {

// ---- strings and fonts --------------------------------------------------------------------------

bool readFileString(ByteReader& in, std::string& utf8) {
    int32_t n = 0;
    const uint8_t* p = nullptr;
    if (!in.count(n, 1, int64_t(MaxFileStringBytes)) || !in.bytes(size_t(n), p)) return false;
    utf8 = cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(p), size_t(n)));
    return true;
}

void writeFileString(ByteWriter& out, std::string_view utf8) {
    std::string bytes = utf8ToCp1252(utf8);
    if (bytes.size() > MaxFileStringBytes) bytes.resize(MaxFileStringBytes);
    out.i32(int32_t(bytes.size()));
    out.bytes(bytes.data(), bytes.size());
}

bool readFontBlock(ByteReader& in, FontRecord& f, size_t maxNameChars) {
    int32_t n = 0;
    const uint8_t* p = nullptr;
    if (!in.count(n, 1, int64_t(MaxFileStringBytes)) || !in.bytes(size_t(n), p)) return false;
    f.name = cp1252ToUtf8(
        std::string_view(reinterpret_cast<const char*>(p), std::min(size_t(n), maxNameChars)));
    int32_t flags[4];
    if (!in.i32(f.color) || !in.i32(f.size)) return false;
    for (int32_t& x : flags)
        if (!in.i32(x)) return false;
    f.bold = flags[0] == 1;
    f.italic = flags[1] == 1;
    f.underline = flags[2] == 1;
    f.strikeout = flags[3] == 1;
    return true;
}

void writeFontBlock(ByteWriter& out, const FontRecord& f) {
    writeFileString(out, f.name);
    out.i32(f.color);
    out.i32(f.size);
    for (int32_t x : {f.bold, f.italic, f.underline, f.strikeout})
        out.i32(x == 1 ? 1 : 0);
}

bool isListMethod(int32_t m) {
    return isValidMethod(m) && methodRow(m).listed;
}

// ---- the record, once for both directions ------------------------------------------------------

namespace {

// Bytes of the smallest string, font block and sub-element block; counts of items that hold
// them are bounded by the input that remains.
constexpr size_t StringMin = 4;
constexpr size_t FontMin = StringMin + 6 * 4;
constexpr size_t SubBlockBytes = 4 * 4 + 4 * 8;
constexpr int32_t MaxIterationLists = 99;
constexpr int32_t MaxCount = INT32_MAX;

// Snapshot strings: the UTF-8 bytes as they are, of any length.
bool readRawString(ByteReader& in, std::string& s) {
    int32_t n = 0;
    const uint8_t* p = nullptr;
    if (!in.count(n, 1, MaxCount) || !in.bytes(size_t(n), p)) return false;
    s.assign(reinterpret_cast<const char*>(p), size_t(n));
    return true;
}

void writeRawString(ByteWriter& out, std::string_view s) {
    const size_t n = std::min(s.size(), size_t(MaxCount));
    out.i32(int32_t(n));
    out.bytes(s.data(), n);
}

bool readRawFont(ByteReader& in, FontRecord& f) {
    return readRawString(in, f.name) && in.i32(f.color) && in.i32(f.size) && in.i32(f.bold) &&
           in.i32(f.italic) && in.i32(f.underline) && in.i32(f.strikeout);
}

void writeRawFont(ByteWriter& out, const FontRecord& f) {
    writeRawString(out, f.name);
    for (int32_t x : {f.color, f.size, f.bold, f.italic, f.underline, f.strikeout})
        out.i32(x);
}

// Versions that changed the record after the first format (version 100).
constexpr int32_t V300 = 300, V400 = 400, V600 = 600, V700 = 700, V800 = 800, V900 = 900;

struct Reader {
    static constexpr bool reading = true;
    ByteReader& in;
    ElementReadContext& ctx;
    bool snapshot = ctx.encoding == RecordEncoding::Snapshot;

    int32_t version() const { return snapshot ? FileVersion : ctx.version; }
    bool i32(int32_t& v) { return in.i32(v); }
    bool f64(double& v) { return in.f64(v); }
    bool str(std::string& s) { return snapshot ? readRawString(in, s) : readFileString(in, s); }
    bool font(FontRecord& f) { return snapshot ? readRawFont(in, f) : readFontBlock(in, f); }
    bool count(int32_t& n, size_t minBytes, int64_t max) { return in.count(n, minBytes, max); }
    bool fail() { return in.fail(); }
    template <class T> T& tail(Element& e) {
        if (!e.tailAs<T>()) e.tail = std::make_unique<T>();
        return *e.tailAs<T>();
    }
    void sub(SubElement& s) {
        if (!s) s = SubElement(std::make_unique<Element>());
    }
};

struct Writer {
    static constexpr bool reading = false;
    ByteWriter& out;
    bool snapshot = false;
    std::unique_ptr<ElementTail> scratch; // stands in for a missing tail

    int32_t version() const { return FileVersion; }
    bool i32(const int32_t& v) {
        out.i32(v);
        return true;
    }
    bool f64(const double& v) {
        out.f64(v);
        return true;
    }
    bool str(const std::string& s) {
        if (snapshot)
            writeRawString(out, s);
        else
            writeFileString(out, s);
        return true;
    }
    bool font(const FontRecord& f) {
        if (snapshot)
            writeRawFont(out, f);
        else
            writeFontBlock(out, f);
        return true;
    }
    bool count(const int32_t& n, size_t, int64_t) { return i32(n); }
    bool fail() { return false; }
    template <class T> T& tail(Element& e) {
        if (auto* t = e.tailAs<T>()) return *t;
        scratch = std::make_unique<T>();
        return static_cast<T&>(*scratch);
    }
    void sub(SubElement&) {}
};

// What a file does not keep of a sub-element (it takes its owner's style there).
template <class IO> bool subElementState(IO& io, Element& e) {
    int32_t hasFont = e.font ? 1 : 0;
    if (!io.i32(e.defined) || !io.i32(e.visible) || !io.i32(e.selected) || !io.i32(e.option) ||
        !io.i32(e.option2) || !io.i32(e.unitShown) || !io.i32(e.decimals) || !io.i32(e.color) ||
        !io.i32(e.shape) || !io.i32(e.colorParam.id) || !io.i32(e.colorParamMode) ||
        !io.i32(e.colorParamFrom) || !io.i32(e.colorParamTo) || !io.i32(hasFont))
        return false;
    if constexpr (IO::reading) {
        if (hasFont != 0 && hasFont != 1) return io.fail();
        e.font = hasFont ? std::make_unique<FontRecord>() : nullptr;
    }
    return !e.font || io.font(*e.font);
}

// id, three parent ids and the four values of a side, an axis line or a coordinate number.
template <class IO> bool subBlock(IO& io, SubElement& s) {
    io.sub(s);
    Element blank;
    Element& e = s ? *s : blank;
    if (!io.i32(e.id) || !io.i32(e.parent1.id) || !io.i32(e.parent2.id) || !io.i32(e.parent3.id) ||
        !io.f64(e.value[0]) || !io.f64(e.value[1]) || !io.f64(e.value[2]) || !io.f64(e.value[3]))
        return false;
    return !io.snapshot || subElementState(io, e);
}

template <class IO> bool ints(IO& io, std::vector<int32_t>& v, int32_t n) {
    if constexpr (IO::reading) v.assign(size_t(n), 0);
    for (int32_t i = 0; i < n; ++i)
        if (!io.i32(v[size_t(i)])) return false;
    return true;
}

// The ids of a list of references; reading makes the list, with the references null.
template <class IO> bool refIds(IO& io, std::vector<Ref>& v, int32_t n) {
    if constexpr (IO::reading) v.assign(size_t(n), Ref{});
    for (int32_t i = 0; i < n; ++i)
        if (!io.i32(v[size_t(i)].id)) return false;
    return true;
}

// Reading rejects a program that would read outside its own value table or call a function it
// does not list; such a file could only come from damage.
bool programFits(ExpressionTail& t) {
    const int64_t slots = int64_t(t.exprValues.size());
    const int64_t args = int64_t(t.exprArgs.size());
    for (int32_t w : t.exprCode) {
        if (w <= -1 && w >= -999 && -int64_t(w) >= slots) return false;
        if (w >= 1001 && w <= 1999 && w - 1000 > args) return false;
    }
    if (!t.exprCode.empty() && t.exprValues.empty()) return false;
    if (!t.exprCode.empty() && t.exprCode.back() != 0) t.exprCode.push_back(0);
    return true;
}

// Counts and body of each method: what its tail type holds.
template <class IO> bool transferBody(IO& io, Element& e) {
    const int32_t v = io.version();
    switch (tailTypeOf(e.method)) {
    case TailType::Polygon: {
        auto& t = io.template tail<PolygonTail>(e);
        int32_t n = int32_t(t.sides.size());
        if (!io.count(n, SubBlockBytes, MaxCount)) return false;
        if constexpr (IO::reading) t.sides.resize(size_t(n));
        for (auto& s : t.sides)
            if (!subBlock(io, s)) return false;
        return true;
    }
    case TailType::SampledCurve: {
        auto& t = io.template tail<SampledCurveTail>(e);
        int32_t n = int32_t(t.first.size());
        if (!io.count(n, 0, MaxCurveSamples)) return false;
        if constexpr (IO::reading) {
            if (!io.snapshot) {
                if (n > io.ctx.sampleBudget) return io.fail();
                io.ctx.sampleBudget -= n;
            }
            t.resize(n);
        }
        return true;
    }
    case TailType::Expression: {
        auto& t = io.template tail<ExpressionTail>(e);
        int32_t args = int32_t(t.exprArgs.size());
        int32_t cells = int32_t(t.exprValues.size());
        int32_t words = int32_t(t.exprCode.size());
        if (!io.count(args, 4, MaxCount) || !io.count(cells, 8, MaxCount) ||
            !io.count(words, 4, MaxCount) || !io.str(t.exprText) || !ints(io, t.exprCode, words) ||
            !refIds(io, t.exprArgs, args))
            return false;
        if constexpr (IO::reading) t.exprValues.assign(size_t(cells), 0.0);
        for (double& x : t.exprValues)
            if (!io.f64(x)) return false;
        if constexpr (IO::reading) {
            if (!io.snapshot && !programFits(t)) return io.fail();
        }
        return true;
    }
    case TailType::Table: {
        auto& t = io.template tail<TableTail>(e);
        int32_t columns = int32_t(t.columns.size());
        int32_t rows = std::clamp(t.rows, 0, TableTail::MaxRows);
        if (!io.count(columns, 4, MaxCount) || !io.i32(rows)) return false;
        if constexpr (IO::reading) {
            if (rows < 0 || rows > TableTail::MaxRows ||
                size_t(columns) * (4 + 8 * size_t(rows)) > io.in.remaining())
                return io.fail();
            t.rows = rows;
            t.columns.assign(size_t(columns), TableColumn{});
            for (auto& c : t.columns)
                c.values.assign(size_t(rows), 0.0);
        }
        for (auto& c : t.columns) {
            if (!io.i32(c.element.id)) return false;
            for (int32_t r = 0; r < rows; ++r) {
                double x = size_t(r) < c.values.size() ? c.values[size_t(r)] : 0.0;
                if (!io.f64(x)) return false;
                if constexpr (IO::reading) c.values[size_t(r)] = x;
            }
        }
        return true;
    }
    case TailType::Axes: {
        auto& t = io.template tail<AxesTail>(e);
        return io.f64(t.scaleX) && io.f64(t.scaleY) && subBlock(io, t.xAxis) &&
               subBlock(io, t.yAxis);
    }
    case TailType::Coordinates: {
        auto& t = io.template tail<CoordinatesTail>(e);
        return subBlock(io, t.xCoord) && subBlock(io, t.yCoord);
    }
    case TailType::Equation: {
        auto& t = io.template tail<EquationTail>(e);
        if (v >= V300 && !io.f64(t.labelPosition)) return false;
        return io.str(t.text);
    }
    case TailType::Text: {
        auto& t = io.template tail<TextTail>(e);
        int32_t lines = int32_t(t.lines.size());
        int32_t runs = int32_t(t.runs.size());
        if (!io.count(lines, StringMin, MaxCount)) return false;
        if (v >= V400 && !io.count(runs, FontMin + 4, MaxCount)) return false;
        if constexpr (IO::reading) t.lines.assign(size_t(lines), std::string());
        for (auto& line : t.lines)
            if (!io.str(line)) return false;
        if (v != FirstFormatVersion) {
            if (!io.font(t.font)) return false;
        } else if constexpr (IO::reading) {
            t.font = io.ctx.textFont;
        }
        if (v >= V400) {
            if constexpr (IO::reading) t.runs.assign(size_t(runs), FontRun{});
            for (auto& r : t.runs)
                if (!io.font(r.font) || !io.i32(r.length)) return false;
        } else if constexpr (IO::reading) {
            // One run in the text's font over every character (as the file counts them, one
            // per code-page byte); a line break counts two.
            int32_t chars = 0;
            for (size_t i = 0; i < t.lines.size(); ++i) {
                for (char c : t.lines[i])
                    chars += (uint8_t(c) & 0xC0) != 0x80 ? 1 : 0;
                chars += i + 1 < t.lines.size() ? 2 : 0;
            }
            t.runs.assign(1, FontRun{t.font, chars});
        }
        if (v >= V600) return io.i32(t.x) && io.i32(t.y) && io.i32(t.flag);
        if constexpr (IO::reading) {
            t.x = 250;
            t.y = 355;
            t.flag = 0;
        }
        return true;
    }
    case TailType::Name: {
        auto& t = io.template tail<NameTail>(e);
        return io.str(t.text) && io.f64(t.placement[0]) && io.f64(t.placement[1]) &&
               io.f64(t.placement[2]) && io.f64(t.placement[3]);
    }
    case TailType::Check: {
        auto& t = io.template tail<CheckTail>(e);
        return io.str(t.trueText) && io.str(t.falseText);
    }
    case TailType::Conic: {
        auto& t = io.template tail<ConicTail>(e);
        for (Ref& p : t.points)
            if (!io.i32(p.id)) return false;
        if constexpr (IO::reading)
            for (auto& s : t.samples)
                s = Point2{1e9, 1e9}; // nothing to draw before recalculation
        return true;
    }
    case TailType::Parameter: {
        auto& t = io.template tail<ParameterTail>(e);
        if (!io.f64(t.minimum) || !io.f64(t.maximum)) return false;
        if (v >= V700) return io.f64(t.step);
        if constexpr (IO::reading) t.step = 0.01;
        return true;
    }
    case TailType::Button: {
        auto& t = io.template tail<ButtonTail>(e);
        int32_t n = int32_t(t.elements.size());
        if (!io.count(n, 8, MaxCount) || !io.str(t.caption) || !refIds(io, t.elements, n))
            return false;
        if constexpr (IO::reading) t.states.assign(size_t(n), 0);
        for (int32_t i = 0; i < n; ++i) {
            int32_t x = size_t(i) < t.states.size() ? t.states[size_t(i)] : 0;
            if (!io.i32(x)) return false;
            if constexpr (IO::reading) t.states[size_t(i)] = x;
        }
        return true;
    }
    case TailType::Bitmap: {
        auto& t = io.template tail<BitmapTail>(e);
        int32_t n = int32_t(t.picture.size());
        if (!io.count(n, 1, MaxCount)) return false;
        if constexpr (IO::reading) {
            const uint8_t* p = nullptr;
            if (!io.in.bytes(size_t(n), p)) return false;
            t.picture.assign(p, p + n);
        } else {
            io.out.bytes(t.picture.data(), t.picture.size());
        }
        return true;
    }
    case TailType::Iteration: {
        auto& t = io.template tail<IterationTail>(e);
        // What is written is always what reading accepts: lists 1..99, rows no more than the
        // participants, entries that are positions in the participants.
        int32_t all = int32_t(t.participants.size());
        int32_t rows = std::clamp(t.initialCount, 0, all);
        int32_t lists = std::clamp(t.destinationCount, 1, MaxIterationLists);
        if (!io.count(all, 4, MaxCount) || !io.count(rows, 0, all) ||
            !refIds(io, t.participants, all) || !io.i32(t.iterations) ||
            !io.i32(t.countFromElement) || !io.i32(lists) || !io.i32(t.lastOnly) ||
            !io.i32(t.drawPoints) || !io.i32(t.ownColour))
            return false;
        const size_t cells = size_t(rows) * size_t(std::max(lists, 0));
        if constexpr (IO::reading) {
            if (lists < 1 || lists > MaxIterationLists || cells > io.in.remaining() / 4)
                return io.fail();
            t.initialCount = rows;
            t.destinationCount = lists;
            t.images.assign(cells, 0);
        }
        for (size_t i = 0; i < cells; ++i) {
            int32_t x = i < t.images.size() ? t.images[i] : 0;
            if constexpr (!IO::reading)
                if (x < 0 || x >= all) x = 0;
            if (!io.i32(x)) return false;
            if constexpr (IO::reading) {
                if (x < 0 || x >= all) return io.fail();
                t.images[i] = x;
            }
        }
        return true;
    }
    case TailType::None:
        return true;
    }
    return true;
}

// The common tail.
template <class IO> bool transferCommon(IO& io, Element& e) {
    const int32_t v = io.version();
    if (!io.i32(e.id) || !io.i32(e.parent1.id) || !io.i32(e.parent2.id) || !io.i32(e.parent3.id))
        return false;
    for (double& x : e.value)
        if (!io.f64(x)) return false;
    if (!io.i32(e.defined) || !io.i32(e.visible)) return false;
    // A text keeps its number of lines in `option`; the count is what sizes the lines.
    int32_t option = e.option;
    if (const auto* t = e.tailAs<TextTail>(); t && !IO::reading) option = int32_t(t->lines.size());
    if (!io.i32(option) || !io.i32(e.color)) return false;
    if constexpr (IO::reading) e.option = option;
    if (v >= V300 && (!io.i32(e.colorParam.id) || !io.i32(e.colorParamMode))) return false;
    if (v >= V800 && (!io.i32(e.colorParamFrom) || !io.i32(e.colorParamTo))) return false;
    if (!io.i32(e.shape)) return false;
    if (v >= V300) {
        if (!io.i32(e.option2) || !io.i32(e.unitShown) || !io.i32(e.decimals)) return false;
        if (carriesFont(e.kind())) {
            FontRecord blank;
            if (!io.font(e.font ? *e.font : blank)) return false;
        }
    }
    return !io.snapshot || io.i32(e.selected);
}

// Sub-elements carry only their numbers in a file; the rest comes from the owner. A snapshot
// holds their whole state.
void completeSubElement(Element& owner, Element& s, ConstructionMethod m, bool snapshot) {
    s.method = m;
    s.owner = &owner;
    if (snapshot) return;
    s.defined = 1;
    s.visible = 1;
    s.color = owner.color;
    s.shape = owner.shape;
    s.decimals = owner.decimals;
}

void completeRecord(Element& e, const ElementReadContext& ctx) {
    const bool snapshot = ctx.encoding == RecordEncoding::Snapshot;
    const int32_t v = snapshot ? FileVersion : ctx.version;
    const ElementKind k = e.kind();
    if (auto* t = e.tailAs<PolygonTail>())
        for (auto& s : t->sides)
            completeSubElement(e, *s, Method::PolygonSide, snapshot);
    if (auto* t = e.tailAs<AxesTail>()) {
        completeSubElement(e, *t->xAxis, Method::AxisX, snapshot);
        completeSubElement(e, *t->yAxis, Method::AxisY, snapshot);
        if (v < V900) e.option = -1;
    }
    if (auto* t = e.tailAs<CoordinatesTail>()) {
        for (auto [s, m] : {std::pair{t->xCoord.get(), Method::CoordinateX},
                            std::pair{t->yCoord.get(), Method::CoordinateY}}) {
            completeSubElement(e, *s, m, snapshot);
            if (snapshot) continue;
            s->option = HasValue;
            s->unitShown = 0;
            s->shape = -1;
        }
    }
    if (auto* t = e.tailAs<TextTail>()) e.option = int32_t(t->lines.size());
    if (v == FirstFormatVersion) {
        if (k == Kind::Polygon || k == Kind::Circle) e.option = -1;
        if (isTextLike(k)) e.shape = -1;
    }
}

} // namespace

std::unique_ptr<Element> readElementRecord(ByteReader& in, int32_t method,
                                           ElementReadContext& ctx) {
    if (ctx.encoding == RecordEncoding::File && !isListMethod(method)) {
        in.fail();
        return nullptr;
    }
    auto e = std::make_unique<Element>();
    e->method = method;
    // What files older than a field get in its place.
    e->colorParam.id = -1;
    e->option2 = e->kind() == Kind::Number ? NoValue : 0;
    if (carriesFont(e->kind())) e->font = std::make_unique<FontRecord>();
    Reader io{in, ctx};
    if (!transferBody(io, *e) || !transferCommon(io, *e)) {
        in.fail();
        return nullptr;
    }
    completeRecord(*e, ctx);
    return e;
}

void writeElementRecord(ByteWriter& out, const Element& e, RecordEncoding encoding) {
    out.i32(e.method);
    // The writer only reads the element; the shared description takes it by reference.
    Element& element = const_cast<Element&>(e);
    Writer io{out, encoding == RecordEncoding::Snapshot, nullptr};
    transferBody(io, element);
    transferCommon(io, element);
}

} // namespace qorv

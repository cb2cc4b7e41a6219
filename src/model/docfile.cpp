#include "model/docfile.h"

#include "model/atomicfile.h"
#include "model/bytestream.h"
#include "model/elementcodec.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>

namespace qorv {

namespace fs = std::filesystem;

namespace {

// The kinds whose default colour and shape a document file stores, in file order.
constexpr int kStoredKinds[12] = {Kind::Point,  Kind::Line, Kind::Ray,     Kind::Segment,
                                  Kind::Circle, Kind::Arc,  Kind::Polygon, Kind::Angle,
                                  Kind::Locus,  Kind::Axes, Kind::Grid,    Kind::Iteration};
// The document's fonts in file order (memory order is cursor, names, numbers, texts).
constexpr int kFontFileOrder[4] = {FontSlot::Cursor, FontSlot::Numbers, FontSlot::Names,
                                   FontSlot::Texts};
constexpr size_t kDocumentFontNameChars = 31;
constexpr int32_t MacroMarker = -1;
constexpr int32_t MaxMacroLines = 32767;

// ---- header -------------------------------------------------------------------------------------

struct Header {
    int kind = FileKind::Invalid;
    int32_t version = 0;
    int32_t type = 0;
    bool hasWindow = false;
    WindowRecord window;
};

Header readHeader(ByteReader& in) {
    Header h;
    if (!in.i32(h.version) || !in.i32(h.type)) return h;
    if (h.version < 301 && h.type == 1) h.type = FileType::Document;
    if (h.version < 301 && h.type == 2) h.type = FileType::Macro;
    const bool known = h.type == FileType::Document || h.type == FileType::ViewerDocument ||
                       h.type == FileType::Macro;
    if (h.version > FileVersion) {
        if (known) h.kind = FileKind::Newer;
        return h;
    }
    if (!known || h.version < OldestFileVersion) return h;
    if (h.type == FileType::ViewerDocument) {
        WindowRecord& w = h.window;
        if (!in.i32(w.left) || !in.i32(w.top) || !in.i32(w.height) || !in.i32(w.width) ||
            !in.i32(w.state))
            return h;
        h.hasWindow = true;
        h.type = FileType::Document;
    }
    h.kind = h.type == FileType::Macro ? FileKind::Macro : FileKind::Document;
    return h;
}

bool readWholeFile(const std::string& path, std::vector<uint8_t>& data) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    const uintmax_t size = fs::file_size(path, ec);
    if (ec || size > MaxDocumentFileBytes) return false;
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    data.resize(size_t(size));
    f.read(reinterpret_cast<char*>(data.data()), std::streamsize(size));
    return f.gcount() == std::streamsize(size);
}

// ---- macro records ------------------------------------------------------------------------------

// The head of a macro record after its version and type words.
bool readMacroHead(ByteReader& in, MacroSlot& m) {
    int32_t n = 0;
    if (!in.count(n, 2, INT32_MAX)) return false;
    m.head.assign(size_t(n), 0);
    for (int16_t& k : m.head)
        if (!in.i16(k)) return false;
    int32_t lines = 0;
    if (!readFileString(in, m.name) || !in.i32(lines)) return false;
    lines &= 0xffff; // a 16-bit count kept in a 32-bit word
    if (size_t(lines) > in.remaining() / 4) return in.fail();
    m.texts.assign(size_t(lines), std::string());
    for (auto& t : m.texts)
        if (!readFileString(in, t)) return false;
    return true;
}

void writeMacroRecord(ByteWriter& out, const MacroSlot& m) {
    out.i32(std::clamp(m.version, OldestFileVersion, FileVersion));
    out.i32(FileType::Macro);
    out.i32(int32_t(m.head.size()));
    for (int16_t k : m.head)
        out.i16(k);
    writeFileString(out, m.name);
    const size_t lines = std::min(m.texts.size(), size_t(MaxMacroLines));
    out.i32(int32_t(lines));
    for (size_t i = 0; i < lines; ++i)
        writeFileString(out, m.texts[i]);
    for (const Element* e = m.first; e; e = e->next)
        writeElementRecord(out, *e);
}

// ---- reading ------------------------------------------------------------------------------------

// The elements and sub-elements of a list by their stored id, with their position in the list
// (sub-elements share their owner's). Ids beyond the number of elements are nobody's, so the
// table never grows past the list; when two elements claim an id the first keeps it.
class IdTable {
  public:
    explicit IdTable(Element* head) {
        size_t total = 0;
        for (Element* e = head; e; e = e->next)
            total += 1 + size_t(e->subElementCount());
        byId_.assign(total + 1, nullptr);
        position_.assign(total + 1, -1);
        int32_t position = 0;
        const auto enter = [&](Element& e) {
            if (e.id >= 1 && size_t(e.id) <= total && !byId_[size_t(e.id)]) {
                byId_[size_t(e.id)] = &e;
                position_[size_t(e.id)] = position;
            }
        };
        for (Element* e = head; e; e = e->next, ++position) {
            enter(*e);
            forEachSubElement(*e, enter);
        }
    }
    Element* find(int32_t id) const {
        return id >= 1 && size_t(id) < byId_.size() ? byId_[size_t(id)] : nullptr;
    }
    // Only for an id that find() knows.
    int32_t positionOf(int32_t id) const { return position_[size_t(id)]; }

  private:
    std::vector<Element*> byId_;
    std::vector<int32_t> position_;
};

bool finitePositive(double x) {
    return std::isfinite(x) && x > 0;
}

// Rows 1 to 16 of the document section; the trace and animation ids go to `traceIds` and
// `animationIds` until the list exists.
bool readDocumentSection(ByteReader& in, int32_t v, Document& doc, std::vector<int32_t>& traceIds,
                         std::vector<int32_t>& animationIds) {
    int32_t bg = 0;
    if (!in.i32(bg)) return false;
    doc.background = bg < 0 ? 0 : bg;
    if (v >= 500) {
        if (!in.i32(doc.hiddenColor) || !in.i32(doc.selectedColor)) return false;
    } else {
        doc.hiddenColor = 0xbebe;
        doc.selectedColor = 0xffaaaa;
    }
    if (v >= 600) {
        for (int slot : kFontFileOrder)
            if (!readFontBlock(in, doc.fonts[size_t(slot)], kDocumentFontNameChars)) return false;
        if (!readKindTables(in, doc.kindColors, doc.kindShapes)) return false;
    }
    doc.lengthUnit = LengthUnit::Cm;
    if (v >= 300 && !in.i32(doc.lengthUnit)) return false;
    if (!in.i32(doc.angleUnit)) return false;
    if (v >= 600) {
        if (!in.f64(doc.pixelsPerUnit)) return false;
    } else {
        int32_t ppu = 0;
        if (!in.i32(ppu)) return false;
        doc.pixelsPerUnit = ppu;
    }
    doc.constantLengthsWithZoom = 0;
    if (v >= 801 && !in.i32(doc.constantLengthsWithZoom)) return false;
    if (!in.i32(doc.coordinateSystem)) return false;
    doc.antialiased = 0;
    if (v >= 500 && !in.i32(doc.antialiased)) return false;
    if (!in.f64(doc.left) || !in.f64(doc.top)) return false;
    // Values the rest of the program indexes tables with or divides by.
    if (doc.lengthUnit < 0 || doc.lengthUnit > 3 || doc.angleUnit < 0 || doc.angleUnit > 2 ||
        doc.coordinateSystem < 0 || doc.coordinateSystem > 1 ||
        !finitePositive(doc.pixelsPerUnit) || !std::isfinite(doc.left) || !std::isfinite(doc.top))
        return in.fail();
    if (v == FirstFormatVersion) return true; // the only format without trace or animation list
    int32_t n = 0;
    if (!in.count(n, 4, Document::MaxTraced)) return false;
    traceIds.assign(size_t(n), 0);
    for (int32_t& id : traceIds)
        if (!in.i32(id)) return false;
    if (!in.count(n, 16, INT32_MAX)) return false;
    animationIds.assign(size_t(n), 0);
    doc.animations.assign(size_t(n), AnimationRecord{});
    for (size_t i = 0; i < size_t(n); ++i) {
        auto& s = doc.animations[i].settings;
        if (!in.i32(animationIds[i]) || !in.i32(s[0]) || !in.i32(s[1]) || !in.i32(s[2]))
            return false;
        if (v < 300) // before 300 the last setting was kept five times smaller
            s[2] = int32_t(std::clamp<int64_t>(int64_t(s[2]) * 5, INT32_MIN, INT32_MAX));
    }
    return true;
}

// Element records until a macro marker or the end, linked after `last`.
bool readElementList(ByteReader& in, ElementReadContext& ctx, Element*& first, Element*& last,
                     bool& markerSeen) {
    markerSeen = false;
    while (!in.atEnd()) {
        int32_t method = 0;
        if (!in.i32(method)) return false;
        if (method == MacroMarker) {
            markerSeen = true;
            return true;
        }
        std::unique_ptr<Element> e = readElementRecord(in, method, ctx);
        if (!e) return false;
        linkAtEnd(first, last, e.release());
    }
    return true;
}

// Macro records from the current position: `headRead` when the version and type words of the
// first one are already consumed (a macro file).
bool readMacroSection(ByteReader& in, ElementReadContext& ctx, Document& doc, bool headRead) {
    for (size_t slot = 0;; ++slot) {
        if (slot >= size_t(Document::MacroSlots)) return in.fail();
        MacroSlot& m = doc.macros[slot];
        m.version = ctx.version;
        if (!headRead) {
            int32_t type = 0;
            if (!in.i32(m.version) || !in.i32(type)) return false;
            if (m.version < 301 && type == 2) type = FileType::Macro;
            if (m.version < OldestFileVersion || m.version > FileVersion || type != FileType::Macro)
                return in.fail();
        }
        headRead = false;
        if (!readMacroHead(in, m)) return false;
        m.used = true;
        Element* last = nullptr;
        bool marker = false;
        if (!readElementList(in, ctx, m.first, last, marker)) return false;
        if (!marker) return true;
    }
}

void installDocument(Document& target, Document& fresh) {
    std::swap(target.head, fresh.head);
    std::swap(target.tail, fresh.tail);
    target.left = fresh.left;
    target.top = fresh.top;
    target.right = fresh.right;
    target.bottom = fresh.bottom;
    target.modified = 0;
    for (int32_t& t : target.transient)
        t = 0;
    target.background = fresh.background;
    target.hiddenColor = fresh.hiddenColor;
    target.selectedColor = fresh.selectedColor;
    target.fonts = fresh.fonts;
    target.kindColors = fresh.kindColors;
    target.kindShapes = fresh.kindShapes;
    target.lengthUnit = fresh.lengthUnit;
    target.angleUnit = fresh.angleUnit;
    target.pixelsPerUnit = fresh.pixelsPerUnit;
    target.constantLengthsWithZoom = fresh.constantLengthsWithZoom;
    target.coordinateSystem = fresh.coordinateSystem;
    target.antialiased = fresh.antialiased;
    target.fileName = fresh.fileName;
    std::swap(target.traceList, fresh.traceList);
    std::swap(target.animations, fresh.animations);
    for (size_t i = 0; i < target.macros.size(); ++i)
        target.macros[i].swap(fresh.macros[i]);
    // The history and the paste count belonged to the list that was replaced.
    std::swap(target.undoHistory, fresh.undoHistory);
    target.pasteCounter = 0;
}

ReadResult readBytes(Document& doc, const uint8_t* data, size_t size, int32_t expectedType,
                     const ReadOptions& options, const std::string* path) {
    ReadResult r;
    ByteReader in(data, size);
    const Header h = readHeader(in);
    r.version = h.version;
    r.type = h.type;
    if (h.kind == FileKind::Newer) r.kind = FileKind::Newer;
    if (h.kind != FileKind::Document && h.kind != FileKind::Macro) return r;
    const bool isDocument = h.kind == FileKind::Document;
    if (expectedType == FileType::Macro && isDocument) return r;

    const DocumentDefaults& defaults =
        options.defaults ? *options.defaults : DocumentDefaults::builtIn();
    Document fresh(defaults);
    ElementReadContext ctx;
    ctx.version = h.version;
    ctx.textFont = defaults.fonts[FontSlot::Texts];

    if (isDocument) {
        std::vector<int32_t> traceIds, animationIds;
        if (!readDocumentSection(in, h.version, fresh, traceIds, animationIds)) return r;
        bool marker = false;
        if (!readElementList(in, ctx, fresh.head, fresh.tail, marker)) return r;
        if (marker && !readMacroSection(in, ctx, fresh, false)) return r;

        const IdTable ids(fresh.head);
        for (int32_t id : traceIds) {
            Element* e = ids.find(id);
            if (e && std::find(fresh.traceList.begin(), fresh.traceList.end(), e) ==
                         fresh.traceList.end())
                fresh.traceList.push_back(e);
        }
        std::vector<AnimationRecord> animations;
        for (size_t i = 0; i < animationIds.size(); ++i) {
            if (Element* e = ids.find(animationIds[i])) {
                animations.push_back(fresh.animations[i]);
                animations.back().element = e;
            }
        }
        fresh.animations = std::move(animations);
        resolveReferences(fresh.head);
        refreshStoredIds(fresh);
        fresh.right = fresh.left + options.viewWidth;
        fresh.bottom = fresh.top - options.viewHeight;
        fresh.fileName = path ? *path : std::string();
        installDocument(doc, fresh);
        r.kind = FileKind::Document;
        r.first = doc.head;
        r.hasWindow = h.hasWindow;
        r.window = h.window;
        r.macrosRead = doc.macroCount();
        return r;
    }

    if (!readMacroSection(in, ctx, fresh, true)) return r;
    const int free = doc.macroCount();
    const int count = fresh.macroCount();
    if (free + count > Document::MacroSlots) return r;
    for (int i = 0; i < count; ++i)
        doc.macros[size_t(free + i)].swap(fresh.macros[size_t(i)]);
    doc.modified = 1;
    r.kind = FileKind::Macro;
    r.macroSlot = free;
    r.macrosRead = count;
    r.first = doc.macros[size_t(free)].first;
    return r;
}

// ---- writing ------------------------------------------------------------------------------------

void writeDocumentSection(ByteWriter& out, const Document& doc) {
    out.i32(doc.background < 0 ? 0 : doc.background);
    out.i32(doc.hiddenColor);
    out.i32(doc.selectedColor);
    for (int slot : kFontFileOrder)
        writeFontBlock(out, doc.fonts[size_t(slot)]);
    writeKindTables(out, doc.kindColors, doc.kindShapes);
    // Only what reading accepts is written.
    const auto inRange = [](int32_t x, int32_t hi, int32_t fallback) {
        return x >= 0 && x <= hi ? x : fallback;
    };
    out.i32(inRange(doc.lengthUnit, 3, LengthUnit::Cm));
    out.i32(inRange(doc.angleUnit, 2, AngleUnit::Rad));
    out.f64(finitePositive(doc.pixelsPerUnit) ? doc.pixelsPerUnit : 40.0);
    out.i32(doc.constantLengthsWithZoom);
    out.i32(inRange(doc.coordinateSystem, 1, 0));
    out.i32(doc.antialiased);
    out.f64(std::isfinite(doc.left) ? doc.left : 0.0);
    out.f64(std::isfinite(doc.top) ? doc.top : 0.0);
    std::vector<int32_t> traced;
    for (const Element* e : doc.traceList)
        if (e && traced.size() < size_t(Document::MaxTraced)) traced.push_back(e->id);
    out.i32(int32_t(traced.size()));
    for (int32_t id : traced)
        out.i32(id);
    int32_t animations = 0;
    for (const auto& a : doc.animations)
        animations += a.element ? 1 : 0;
    out.i32(animations);
    for (const auto& a : doc.animations) {
        if (!a.element) continue;
        out.i32(a.element->id);
        for (int32_t s : a.settings)
            out.i32(s);
    }
}

} // namespace

// ---- public -------------------------------------------------------------------------------------

int probeFile(const std::string& path, WindowRecord* window) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return FileKind::Invalid;
    uint8_t buf[28] = {};
    f.read(reinterpret_cast<char*>(buf), sizeof buf);
    ByteReader in(buf, size_t(f.gcount()));
    const Header h = readHeader(in);
    if (h.kind == FileKind::Document && h.hasWindow) {
        if (window) *window = h.window;
        return FileKind::DocumentWithWindow;
    }
    return h.kind;
}

ReadResult readDocumentFile(Document& doc, const std::string& path, int32_t expectedType,
                            const ReadOptions& options) {
    std::vector<uint8_t> data;
    if (!readWholeFile(path, data)) return ReadResult{};
    return readBytes(doc, data.data(), data.size(), expectedType, options, &path);
}

ReadResult readDocumentData(Document& doc, const uint8_t* data, size_t size, int32_t expectedType,
                            const ReadOptions& options) {
    return readBytes(doc, data, size, expectedType, options, nullptr);
}

void resolveReferences(Element* head) {
    const IdTable ids(head);
    int32_t position = 0;
    const auto resolve = [&](Element& e) {
        forEachReference(e, [&](Ref& ref) {
            Element* target = ids.find(ref.id);
            ref = target && (&ref == &e.colorParam || ids.positionOf(ref.id) < position ||
                             (e.owner && target == e.owner))
                      ? target
                      : nullptr;
        });
    };
    for (Element* e = head; e; e = e->next, ++position) {
        resolve(*e);
        forEachSubElement(*e, resolve);
        completeResolvedElement(*e);
        if (e->method == Method::Name && e->parent1) e->parent1->nameElement = e;
    }
}

void completeResolvedElement(Element& e) {
    // Sides, axis lines and coordinate numbers belong to their owner whatever the ids say.
    if (auto* t = e.tailAs<PolygonTail>())
        for (auto& s : t->sides)
            s->parent3 = &e;
    if (auto* t = e.tailAs<AxesTail>()) t->xAxis->parent2 = t->yAxis->parent2 = &e;
    if (auto* t = e.tailAs<CoordinatesTail>()) t->xCoord->parent2 = t->yCoord->parent2 = &e;
    // Variables come before the functions a calculation calls.
    if (auto* t = e.tailAs<ExpressionTail>()) {
        const auto& a = t->exprArgs;
        t->exprVarCount = int32_t(
            std::find_if(a.begin(), a.end(),
                         [](const Element* x) { return x && x->kind() == Kind::Function; }) -
            a.begin());
    }
}

void refreshStoredIds(Document& doc) {
    doc.renumber();
    doc.forEachWithSubs(
        [](Element& e) { forEachReference(e, [](Ref& ref) { ref.id = ref ? ref->id : -1; }); });
}

void removeUnusedInternalElements(Document& doc) {
    // An internal element is used when an element that is not internal depends on it, directly
    // or through others: one walk from the elements that are not internal back through everything
    // they refer to marks exactly those that stay.
    std::vector<Element*> shown;
    for (Element* e = doc.head; e; e = e->next)
        if (e->visible != Internal) shown.push_back(e);
    doc.markAncestorsOf(shown);
    bool any = false;
    for (Element* e = doc.head; e; e = e->next) {
        const int32_t goes = e->mark == 1 ? 0 : 1;
        e->mark = goes;
        forEachSubElement(*e, [&](Element& s) { s.mark = goes; });
        any = any || goes;
    }
    if (any) doc.deleteMarked();
    doc.clearMarks();
}

bool readKindTables(ByteReader& in, std::array<Color, Kind::Count>& colors,
                    std::array<int32_t, Kind::Count>& shapes) {
    for (int k : kStoredKinds)
        if (!in.i32(colors[size_t(k)])) return false;
    for (int k : kStoredKinds)
        if (!in.i32(shapes[size_t(k)])) return false;
    return true;
}

void writeKindTables(ByteWriter& out, const std::array<Color, Kind::Count>& colors,
                     const std::array<int32_t, Kind::Count>& shapes) {
    for (int k : kStoredKinds)
        out.i32(colors[size_t(k)]);
    for (int k : kStoredKinds)
        out.i32(shapes[size_t(k)]);
}

std::vector<uint8_t> encodeDocument(Document& doc, const SaveOptions& options) {
    refreshStoredIds(doc);
    ByteWriter out;
    out.i32(FileVersion);
    if (options.viewerMode) {
        out.i32(FileType::ViewerDocument);
        const WindowRecord& w = options.window;
        for (int32_t x : {w.left, w.top, w.height, w.width, w.state})
            out.i32(x);
    } else {
        out.i32(FileType::Document);
    }
    writeDocumentSection(out, doc);
    for (const Element* e = doc.head; e; e = e->next)
        writeElementRecord(out, *e);
    for (size_t i = 0; i < size_t(Document::MacroSlots) && doc.macros[i].used; ++i) {
        out.i32(MacroMarker);
        writeMacroRecord(out, doc.macros[i]);
    }
    return std::move(out.data());
}

bool saveDocument(Document& doc, const std::string& path, const SaveOptions& options) {
    removeUnusedInternalElements(doc);
    if (!writeFileAtomically(path, encodeDocument(doc, options))) return false;
    doc.fileName = path;
    doc.modified = 0;
    return true;
}

std::vector<uint8_t> encodeMacroFile(const MacroSlot& macro) {
    // The file's header is the macro record's own version and type; the element records are
    // always written in the current encoding, so the file says so.
    ByteWriter out;
    writeMacroRecord(out, macro);
    std::vector<uint8_t> bytes = std::move(out.data());
    const int32_t v = FileVersion;
    std::memcpy(bytes.data(), &v, 4);
    return bytes;
}

bool writeMacroFile(const MacroSlot& macro, const std::string& path) {
    return writeFileAtomically(path, encodeMacroFile(macro));
}

bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
    AtomicFileWriter file(path);
    return file.write(bytes.data(), bytes.size()) && file.commit();
}

} // namespace qorv

#include "opsdriver.h"

#include "construction/clipboard.h"
#include "construction/create.h"
#include "construction/examples.h"
#include "construction/undoredo.h"
#include "geometry/recalc.h"
#include "geometry/transforms.h"
#include "macros/circumcentre.h"
#include "macros/macro.h"
#include "model/docfile.h"
#include "model/docfile_samples.h"
#include "model/elementcodec.h"
#include "model/undo.h"

#include <algorithm>
#include <array>
#include <climits>
#include <memory>

namespace qorv::fuzz {

namespace {

using Bytes = std::vector<uint8_t>;

// Bounds that keep one input fast: operations run, elements a paste may grow the list to, and
// saves read back (by the operation, or to compare a state brought back by undo or redo).
constexpr int MaxOperations = 32;
constexpr int32_t MaxElements = 500;
constexpr int MaxReadBacks = 6;

class ByteSource {
  public:
    ByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool empty() const { return pos_ >= size_; }
    uint8_t u8() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint16_t u16() {
        const uint16_t lo = u8();
        return uint16_t(lo | (u8() << 8));
    }
    int8_t i8() { return int8_t(u8()); }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// Every element of the list and every sub-element, in id order.
std::vector<Element*> allElements(Document& doc) {
    std::vector<Element*> all;
    doc.forEachWithSubs([&](Element& e) { all.push_back(&e); });
    return all;
}

Element* pick(Document& doc, uint16_t k) {
    const std::vector<Element*> all = allElements(doc);
    return all.empty() ? nullptr : all[k % all.size()];
}

} // namespace

std::string checkSound(Document& doc) {
    // Every element and sub-element with the position of the list element it is or belongs to,
    // by address.
    std::vector<std::pair<const Element*, int32_t>> position;
    int32_t n = 0;
    const Element* prev = nullptr;
    for (Element* e = doc.head; e; e = e->next, ++n) {
        if (e->prev != prev) return "broken back link";
        if (e->owner) return "a sub-element in the list";
        position.emplace_back(e, n);
        bool ownerOk = true;
        forEachSubElement(*e, [&](Element& s) {
            ownerOk = ownerOk && s.owner == e;
            position.emplace_back(&s, n);
        });
        if (!ownerOk) return "a sub-element with a wrong owner";
        prev = e;
    }
    if (doc.tail != prev) return "tail is not the last element";
    std::sort(position.begin(), position.end());
    for (size_t i = 1; i < position.size(); ++i)
        if (position[i].first == position[i - 1].first) return "an element twice in the list";
    // The position of an element of the list, or -1.
    const auto at = [&](const Element* x) {
        const auto it = std::lower_bound(position.begin(), position.end(),
                                         std::pair<const Element*, int32_t>(x, INT32_MIN));
        return it != position.end() && it->first == x ? it->second : -1;
    };

    std::string failure;
    const auto check = [&](Element& e) {
        const int32_t mine = at(e.owner ? e.owner : &e);
        forEachReference(e, [&](Ref& ref) {
            if (!ref || !failure.empty()) return;
            const int32_t theirs = at(ref);
            if (theirs < 0)
                failure = "a reference to an element not in the list";
            else if (&ref != &e.colorParam && theirs >= mine && ref != e.owner)
                failure = "a reference to a later element";
        });
        if (failure.empty() && e.nameElement && at(e.nameElement) < 0)
            failure = "a name that is not in the list";
    };
    doc.forEachWithSubs(check);
    if (!failure.empty()) return failure;
    for (const Element* e : doc.traceList)
        if (e && at(e) < 0) return "a trace entry not in the list";
    for (const AnimationRecord& a : doc.animations)
        if (a.element && at(a.element) < 0) return "an animation entry not in the list";
    return {};
}

namespace {

// Saves, reads back, and saves the copy: the two files must be the same.
std::string saveAndReadBack(Document& doc, Document& copy) {
    const Bytes bytes = encodeDocument(doc);
    const ReadResult r = readDocumentData(copy, bytes.data(), bytes.size(), FileType::Document);
    if (r.kind != FileKind::Document) return "a saved document does not read back";
    if (encodeDocument(copy) != bytes) return "a document read back saves differently";
    return {};
}

// The file of a document without its macros: what the undo history keeps of it.
Bytes encodeConstruction(Document& doc) {
    std::array<MacroSlot, Document::MacroSlots + 1> macros;
    for (size_t i = 0; i < macros.size(); ++i)
        macros[i].swap(doc.macros[i]);
    Bytes bytes = encodeDocument(doc);
    for (size_t i = 0; i < macros.size(); ++i)
        macros[i].swap(doc.macros[i]);
    return bytes;
}

// The elements of a kind (sub-elements included), in id order.
std::vector<Element*> elementsOfKind(Document& doc, int kind) {
    std::vector<Element*> out;
    doc.forEachWithSubs([&](Element& e) {
        if (e.kind() == kind) out.push_back(&e);
    });
    return out;
}

int32_t templateSize(const MacroSlot& m) {
    int32_t n = 0;
    for (const Element* e = m.first; e; e = e->next)
        ++n;
    return n;
}

// The file of a recorded state (saved when it was recorded) as a full recalculation gives it:
// what undo and redo must bring back.
std::string recalculatedImage(const Bytes& recorded, Bytes& out) {
    Document copy;
    if (readDocumentData(copy, recorded.data(), recorded.size(), FileType::Document).kind !=
        FileKind::Document)
        return "a saved document does not read back";
    recalcUpTo(copy);
    out = encodeConstruction(copy);
    return {};
}

struct HistoryState {
    int position = 0;
    int count = 0;
    bool operator==(const HistoryState&) const = default;
};

class Session {
  public:
    explicit Session(std::unique_ptr<Document> doc) : doc_(std::move(doc)) {}

    std::string run(ByteSource& in) {
        std::string failure = checkSound(*doc_);
        for (int i = 0; i < MaxOperations && failure.empty() && !in.empty(); ++i) {
            const uint8_t op = uint8_t(in.u8() % Op::Count);
            failure = step(op, in);
            if (failure.empty()) failure = checkSound(*doc_);
            if (!failure.empty())
                failure =
                    "operation " + std::to_string(i) + " (" + std::to_string(op) + "): " + failure;
        }
        if (failure.empty()) {
            Document copy;
            failure = saveAndReadBack(*doc_, copy);
        }
        return failure;
    }

  private:
    HistoryState history() const {
        if (!doc_->undoHistory) return {};
        return {doc_->undoHistory->position(), doc_->undoHistory->count()};
    }

    // Runs an operation that may record one undo step; the expected image of the state recorded
    // is taken before it.
    template <class F> std::string recording(F&& operation) {
        Bytes image = encodeConstruction(*doc_);
        const HistoryState before = history();
        operation();
        const HistoryState after = history();
        if (after == before) return {};
        if (after.position != after.count || after.count > before.count + 1)
            return "an operation recorded more than one undo step";
        expected_.resize(size_t(std::min<int>(before.position, int(expected_.size()))));
        expected_.push_back(std::move(image));
        return modelMatches();
    }

    std::string modelMatches() const {
        return int(expected_.size()) == history().count ? std::string()
                                                        : "the undo history lost count of steps";
    }

    std::string undoOrRedo(bool isUndo) {
        UndoHistory& h = undoHistory(*doc_);
        if (isUndo && h.canUndo() && h.position() == h.count() && !h.currentSaved())
            expected_.push_back(encodeConstruction(*doc_));
        const int before = h.position();
        const bool done = isUndo ? undo(*doc_) : redo(*doc_);
        std::string failure = modelMatches();
        if (!failure.empty() || !done) return failure;
        if (h.position() != before + (isUndo ? -1 : 1)) return "undo or redo moved wrongly";
        if (++readBacks_ > MaxReadBacks) return {};
        Bytes image;
        failure = recalculatedImage(expected_[size_t(h.position())], image);
        if (!failure.empty()) return failure;
        if (encodeConstruction(*doc_) != image)
            return isUndo ? "undo did not bring back the recorded state"
                          : "redo did not bring back the recorded state";
        return {};
    }

    // A new document (read back from a save) starts a new history.
    void replaceDocument(std::unique_ptr<Document> doc) {
        doc_ = std::move(doc);
        expected_.clear();
    }

    std::string step(uint8_t op, ByteSource& in) {
        Document& doc = *doc_;
        switch (op) {
        case Op::Delete:
            doc.deleteWithDescendants(pick(doc, in.u16()));
            break;
        case Op::ToggleSelected:
            if (Element* e = pick(doc, in.u16())) e->selected = e->selected ? 0 : 1;
            break;
        case Op::SelectSome: {
            const uint8_t k = in.u8();
            if (k == 0)
                doc.selectAll();
            else if (k == 1)
                doc.selectNone();
            else
                doc.selectKind((k >> 1) % Kind::Count, k & 1);
            break;
        }
        case Op::SelectChildren:
            doc.selectChildren();
            break;
        case Op::SelectParents:
            doc.selectParents();
            break;
        case Op::DeleteSelected:
            doc.deleteSelected();
            break;
        case Op::Copy:
            copySelection(doc, clipboard_);
            break;
        case Op::Cut:
            return recording([&] { cutSelection(doc, clipboard_); });
        case Op::Paste: {
            int32_t copied = 0;
            for (const Element* e = clipboard_.elements.head; e; e = e->next)
                ++copied;
            if (doc.elementCount() + copied > MaxElements) break;
            return recording([&] { paste(doc, clipboard_); });
        }
        case Op::RecordUndoStep:
            return recording([&] { recordUndoStep(doc); });
        case Op::Undo:
            return undoOrRedo(true);
        case Op::Redo:
            return undoOrRedo(false);
        case Op::Scale: {
            // The zoom tool's factor for a vertical mouse move of up to 255 pixels.
            const double k = std::abs(1.0 + 0.003 * (int(in.u8()) - 128) * 2);
            const double x = in.i8() * 16.0, y = in.i8() * 16.0;
            scaleConstruction(doc, Point2{x, y}, k);
            break;
        }
        case Op::Recalculate:
            recalcUpTo(doc);
            break;
        case Op::Drag: {
            Element* e = pick(doc, in.u16());
            const double dx = in.i8(), dy = in.i8();
            if (!e || e->method != Method::FreePoint) break;
            doc.markDescendants(e);
            e->mark = 1;
            e->value[0] += dx;
            e->value[1] += dy;
            recalcMarked(doc);
            doc.clearMarks();
            break;
        }
        case Op::SaveAndReadBack: {
            const uint8_t how = in.u8();
            if (++readBacks_ > MaxReadBacks) break;
            if (how & 1) removeUnusedInternalElements(doc);
            auto copy = std::make_unique<Document>();
            std::string failure = saveAndReadBack(doc, *copy);
            if (!failure.empty()) return failure;
            if (how & 2) {
                recalcUpTo(*copy);
                replaceDocument(std::move(copy));
            }
            break;
        }
        case Op::SetName: {
            Element* e = pick(doc, in.u16());
            const uint8_t length = in.u8() % 8;
            setName(doc, e, std::string(length, char('A' + length)), options_);
            break;
        }
        case Op::ToggleTrace: {
            Element* e = pick(doc, in.u16());
            if (!e) break;
            auto& list = doc.traceList;
            const auto it = std::find(list.begin(), list.end(), e);
            if (it != list.end())
                list.erase(it);
            else if (int(list.size()) < Document::MaxTraced)
                list.push_back(e);
            break;
        }
        case Op::Animate: {
            Element* e = pick(doc, in.u16());
            const uint8_t setting = in.u8();
            if (e && doc.animations.size() < 100)
                doc.animations.push_back(AnimationRecord{e, {setting % 3, setting, 1}});
            break;
        }
        case Op::DeleteAll:
            doc.deleteAll();
            break;
        case Op::FindAxes:
            findAxes(doc, true, options_);
            break;
        case Op::PastePicture: {
            Bytes picture(size_t(1 + in.u8() % 16), uint8_t(0x42));
            return recording([&] { pastePicture(doc, std::move(picture), options_); });
        }
        case Op::RecordMacro:
            recordMacro(in);
            break;
        case Op::ApplyMacro:
            return applyMacro(in);
        case Op::CopyMacro:
            return copyMacro(in);
        default:
            break;
        }
        return {};
    }

    void recordMacro(ByteSource& in) {
        Document& doc = *doc_;
        std::vector<Element*> initial;
        for (int n = 1 + in.u8() % 4; n > 0; --n)
            initial.push_back(pick(doc, in.u16()));
        std::vector<Element*> expanded = initial;
        expandInitialElements(expanded);
        const std::vector<Element*> determined = determinedElements(doc, expanded);
        std::vector<Element*> finals;
        for (int m = 1 + in.u8() % 4; m > 0; --m)
            if (!determined.empty()) finals.push_back(determined[in.u16() % determined.size()]);
        completeMacro(doc, "M", initial, finals);
    }

    // Applies a macro of the document (read from the input, or recorded) to elements of the
    // kinds it asks for, as the apply tool does: one undo step, then the copies.
    std::string applyMacro(ByteSource& in) {
        Document& doc = *doc_;
        const int count = doc.macroCount();
        if (count == 0) return {};
        const MacroSlot& m = doc.macros[in.u8() % size_t(count)];
        std::vector<Element*> matched;
        for (int16_t kind : m.head) {
            const std::vector<Element*> candidates = elementsOfKind(doc, kind);
            matched.push_back(candidates.empty() ? nullptr
                                                 : candidates[in.u16() % candidates.size()]);
        }
        const uint8_t flags = in.u8();
        const Point2 at{in.i8() * 4.0, in.i8() * 4.0};
        if (doc.elementCount() + templateSize(m) > MaxElements) return {};
        const int32_t before = doc.elementCount();
        Element* first = nullptr;
        std::string failure = recording([&] {
            recordUndoStep(doc);
            first = instantiateMacro(doc, m, matched, at, flags & 1);
            recalcUpTo(doc);
        });
        if (!failure.empty()) return failure;
        if (!first && doc.elementCount() != before) return "a refused macro changed the list";
        if (first && doc.elementCount() != before + templateSize(m))
            return "a macro did not append one copy per template element";
        return {};
    }

    std::string copyMacro(ByteSource& in) {
        Document& doc = *doc_;
        const int count = doc.macroCount();
        if (count == 0) return {};
        const size_t slot = in.u8() % size_t(count);
        const bool throughFile = in.u8() & 1;
        const Bytes file = encodeMacroFile(doc.macros[slot]);
        if (throughFile) {
            const ReadResult r = readDocumentData(doc, file.data(), file.size(), FileType::Macro);
            if (r.kind != FileKind::Macro) {
                return count < Document::MacroSlots ? "a macro file written does not read back"
                                                    : std::string();
            }
            if (encodeMacroFile(doc.macros[size_t(r.macroSlot)]) != file)
                return "a macro file read back writes differently";
            return {};
        }
        const int copied = qorv::copyMacro(doc.macros[slot], doc);
        if (copied < 0) return count < Document::MacroSlots ? "a macro was not copied" : "";
        if (encodeMacroFile(doc.macros[size_t(copied)]) != file)
            return "a copied macro writes differently";
        return {};
    }

    std::unique_ptr<Document> doc_;
    InternalClipboard clipboard_;
    CreationOptions options_;
    // The file of the state each snapshot of the history holds, by the snapshots' positions.
    std::vector<Bytes> expected_;
    int readBacks_ = 0;
};

} // namespace

const std::vector<Bytes>& sampleDocuments() {
    static const std::vector<Bytes> files = [] {
        std::vector<Bytes> out;
        testing::SampleDocument every;
        out.push_back(encodeDocument(every.doc));
        for (std::string_view name : exampleNames()) {
            Document doc;
            buildExample(name, doc);
            out.push_back(encodeDocument(doc));
        }
        OwningBuilder b;
        Element* p = b.point(0, 0);
        Element* q = b.point(100, 0);
        Element* r = b.point(30, 70);
        b.make(Method::Polygon, nullptr, nullptr, nullptr, {p, q, r});
        b.make(Method::Axes, b.point(5, 5));
        b.make(Method::Coordinates, r);
        out.push_back(encodeDocument(b.doc));
        OwningBuilder t;
        const test::CircumcentreConstruction m(t, {-60, -20}, {50, -30}, {10, 60});
        t.make(Method::CircleCentrePoint, m.centre, m.a);
        completeMacro(t.doc, "circuncentro", {m.a, m.b, m.c}, {m.centre});
        out.push_back(encodeDocument(t.doc));
        return out;
    }();
    return files;
}

std::string runDocumentOperations(const uint8_t* data, size_t size) {
    ByteSource in(data, size);
    const uint16_t n = in.u16();
    Bytes file;
    if (n == 0xffff) {
        const auto& samples = sampleDocuments();
        file = samples[in.u8() % samples.size()];
        for (int changes = in.u8() % 9; changes > 0; --changes) {
            const uint16_t at = in.u16();
            file[at % file.size()] = in.u8();
        }
    } else {
        for (size_t i = 0; i < n && !in.empty(); ++i)
            file.push_back(in.u8());
    }
    auto doc = std::make_unique<Document>();
    if (readDocumentData(*doc, file.data(), file.size(), FileType::Document).kind !=
        FileKind::Document)
        return {};
    if (doc->elementCount() > MaxElements) return {};
    recalcUpTo(*doc);
    Session session(std::move(doc));
    return session.run(in);
}

Bytes operationsInput(const Bytes& document, const Bytes& operations) {
    Bytes out;
    const size_t n = std::min<size_t>(document.size(), 0xffff);
    out.push_back(uint8_t(n & 0xff));
    out.push_back(uint8_t(n >> 8));
    out.insert(out.end(), document.begin(), document.begin() + std::ptrdiff_t(n));
    out.insert(out.end(), operations.begin(), operations.end());
    return out;
}

} // namespace qorv::fuzz

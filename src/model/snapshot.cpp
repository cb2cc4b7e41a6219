#include "model/snapshot.h"

#include "model/docfile.h"
#include "model/elementcodec.h"
#include "model/methodtable.h"

// The web page's engine takes no undo snapshots and is built without the compression library:
// there chunks would be kept unpacked.
#if defined(__EMSCRIPTEN__)
#define QORV_PACKED_SNAPSHOTS 0
using ZSTD_CCtx = ZSTD_CCtx_s;
#else
#define QORV_PACKED_SNAPSHOTS 1
#include <zstd.h>
#endif

#include <cstring>
#include <new>
#include <unordered_set>

namespace qorv {

namespace {

// A changed chunk is kept as its changes only while they stay small and quick to apply: a chain
// of at most MaxDepth changes, whose bytes add up to at most MaxChainFactor times the chunk.
constexpr uint32_t MaxDepth = 32;
constexpr uint64_t MaxChainFactor = 2;
// Equal bytes shorter than this between two changed stretches are stored with them (a stretch
// header costs about as much).
constexpr size_t MinGap = 8;
// The fastest level: recording a step stays quick, and the exclusive-or stretches, mostly zeros,
// shrink about as well as with slower ones.
[[maybe_unused]] constexpr int PackLevel = 1;

void putVarint(std::vector<uint8_t>& out, size_t v) {
    while (v >= 0x80) {
        out.push_back(uint8_t(v | 0x80));
        v >>= 7;
    }
    out.push_back(uint8_t(v));
}

bool getVarint(const uint8_t*& p, const uint8_t* end, size_t& v) {
    v = 0;
    for (int shift = 0; shift < 64 && p < end; shift += 7) {
        const uint8_t b = *p++;
        v |= size_t(b & 0x7f) << shift;
        if (!(b & 0x80)) return true;
    }
    return false;
}

// First index at or after i where the two buffers differ, or n.
size_t firstDifference(const uint8_t* a, const uint8_t* b, size_t i, size_t n) {
    while (i + 8 <= n) {
        uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x != y) break;
        i += 8;
    }
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

// The stretches in which `now` differs from `old` (same length n): for each, the number of equal
// bytes skipped, its length and its bytes exclusive-or the old ones. False when that would take
// more than `limit`.
bool encodeChanges(const uint8_t* old, const uint8_t* now, size_t n, size_t limit,
                   std::vector<uint8_t>& out) {
    out.clear();
    size_t pos = 0;
    for (;;) {
        const size_t start = firstDifference(old, now, pos, n);
        if (start >= n) return true;
        size_t end = start + 1, k = end;
        while (k < n) {
            if (now[k] != old[k])
                end = ++k;
            else if (k - end >= MinGap)
                break;
            else
                ++k;
        }
        putVarint(out, start - pos);
        putVarint(out, end - start);
        if (out.size() + (end - start) > limit) return false;
        for (size_t i = start; i < end; ++i)
            out.push_back(uint8_t(now[i] ^ old[i]));
        pos = end;
    }
}

bool applyChanges(const uint8_t* p, size_t n, std::vector<uint8_t>& bytes) {
    const uint8_t* end = p + n;
    size_t pos = 0;
    while (p < end) {
        size_t gap = 0, length = 0;
        if (!getVarint(p, end, gap) || !getVarint(p, end, length)) return false;
        if (gap > bytes.size() - pos || length > bytes.size() - pos - gap ||
            length > size_t(end - p))
            return false;
        pos += gap;
        for (uint8_t* q = bytes.data() + pos; q != bytes.data() + pos + length; ++q)
            *q ^= *p++;
        pos += length;
    }
    return true;
}

struct DecompressionState {
#if QORV_PACKED_SNAPSHOTS
    ZSTD_DCtx* zstd = ZSTD_createDCtx();
    ~DecompressionState() {
        ZSTD_freeDCtx(zstd);
    }
#endif
    std::vector<uint8_t> unpacked;
};

// The bytes a chunk holds, unpacked into `z.unpacked` when they are compressed. False when the
// compressed frame is damaged or does not give the length noted.
bool contentOf(const SnapshotChunk& c, DecompressionState& z, const uint8_t*& data, size_t& n) {
    if (!c.packedFrom) {
        data = c.bytes.data();
        n = c.bytes.size();
        return true;
    }
#if !QORV_PACKED_SNAPSHOTS
    return false;
#else
    // Neither the records nor their changes (at most half of them) can be larger than this; a
    // larger length is damage, not a reason to allocate.
    if (!z.zstd || c.packedFrom > uint64_t(c.size) * 2 + 64) return false;
    if (ZSTD_getFrameContentSize(c.bytes.data(), c.bytes.size()) != c.packedFrom) return false;
    z.unpacked.resize(c.packedFrom);
    const size_t got = ZSTD_decompressDCtx(z.zstd, z.unpacked.data(), z.unpacked.size(),
                                           c.bytes.data(), c.bytes.size());
    if (ZSTD_isError(got) || got != c.packedFrom) return false;
    data = z.unpacked.data();
    n = got;
    return true;
#endif
}

// The records of a chunk: the full chunk at the end of its chain with every change applied.
// When the chain passes through `known`, whose records are `knownBytes` (a chunk of the snapshot
// shown), the changes after it are applied to those.
bool decodeChunk(const SnapshotChunk& c, std::vector<uint8_t>& out, DecompressionState& z,
                 const SnapshotChunk* known, const std::vector<uint8_t>* knownBytes) {
    std::vector<const SnapshotChunk*> chain;
    const SnapshotChunk* p = &c;
    for (; p->base && p != known; p = p->base.get())
        chain.push_back(p);
    const uint8_t* data = nullptr;
    size_t n = 0;
    if (p == known && knownBytes && knownBytes->size() == p->size) {
        out = *knownBytes;
    } else {
        if (p->base) { // `known` with the wrong length: read the chain from its full chunk
            chain.clear();
            for (p = &c; p->base; p = p->base.get())
                chain.push_back(p);
        }
        if (!contentOf(*p, z, data, n) || n != p->size) return false;
        out.assign(data, data + n);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if ((*it)->size != out.size() || !contentOf(**it, z, data, n) ||
            !applyChanges(data, n, out))
            return false;
    }
    return true;
}

// The chunk's bytes: `content` compressed when that makes it smaller, else as it is.
void pack(SnapshotChunk& c, const uint8_t* content, size_t n, ZSTD_CCtx* zstd,
          std::vector<uint8_t>& scratch) {
#if QORV_PACKED_SNAPSHOTS
    if (zstd && n > 0) {
        scratch.resize(ZSTD_compressBound(n));
        const size_t got = ZSTD_compress2(zstd, scratch.data(), scratch.size(), content, n);
        if (!ZSTD_isError(got) && got < n) {
            c.bytes.assign(scratch.begin(), scratch.begin() + std::ptrdiff_t(got));
            c.packedFrom = uint32_t(n);
            return;
        }
    }
#endif
    c.bytes.assign(content, content + n);
}

SnapshotChunkPtr makeChunk(const uint8_t* bytes, size_t size, uint32_t records,
                           const SnapshotChunkPtr* previous, const std::vector<uint8_t>* old,
                           std::vector<uint8_t>& changes, std::vector<uint8_t>& scratch,
                           ZSTD_CCtx* zstd) {
    auto c = std::make_shared<SnapshotChunk>();
    c->size = uint32_t(size);
    c->records = records;
    if (previous && old && (*previous)->records == records && old->size() == size &&
        (*previous)->depth < MaxDepth) {
        const SnapshotChunk& p = **previous;
        const uint64_t room =
            MaxChainFactor * size - std::min<uint64_t>(p.chainBytes, MaxChainFactor * size);
        const size_t limit = size_t(std::min<uint64_t>(room, size / 2));
        if (encodeChanges(old->data(), bytes, size, limit, changes)) {
            c->base = *previous;
            pack(*c, changes.data(), changes.size(), zstd, scratch);
            c->depth = p.depth + 1;
            c->chainBytes = p.chainBytes + c->bytes.size();
            return c;
        }
    }
    pack(*c, bytes, size, zstd, scratch);
    return c;
}

// The value words that recalculation writes from the parents alone whenever the element comes
// out defined (never reading them first): the method row's `rebuiltByUndo`. Installing a snapshot
// is followed by a full recalculation, so for a defined element of these methods the words are
// stored as zeros: a drag that moves thousands of dependent elements then changes only the
// records of what was dragged, and the steps stay small.
ValueWords derivedValueWords(ConstructionMethod m) {
    return isValidMethod(m) ? methodRow(m).rebuiltByUndo : RebuiltWords::None;
}

// Writes an element's snapshot record with its derived value words as zeros.
void writeSnapshotRecord(ByteWriter& out, Element& e) {
    const uint8_t words = e.defined == 1 ? derivedValueWords(e.method) : 0;
    if (!words) return writeElementRecord(out, e, RecordEncoding::Snapshot);
    double kept[4];
    std::memcpy(kept, e.value, sizeof kept);
    struct Restore {
        Element& e;
        const double* kept;
        ~Restore() { std::memcpy(e.value, kept, sizeof e.value); }
    } restore{e, kept};
    for (int i = 0; i < 4; ++i)
        if (words & (1u << i)) e.value[i] = 0;
    writeElementRecord(out, e, RecordEncoding::Snapshot);
}

// Frees a chain being built when reading fails.
struct ChainGuard {
    Element* first = nullptr;
    ~ChainGuard() { destroyElements(first); }
};

} // namespace

SnapshotBase::SnapshotBase() = default;

SnapshotBase::~SnapshotBase() {
#if QORV_PACKED_SNAPSHOTS
    ZSTD_freeCCtx(zstd_);
#endif
}

void SnapshotBase::clear() {
    chunks_.clear();
    bytes_.clear();
}

size_t SnapshotBase::bytesHeld() const {
    size_t n = chunks_.capacity() * sizeof(SnapshotChunkPtr) +
               bytes_.capacity() * sizeof(std::vector<uint8_t>) + scratch_.data().capacity() +
               changes_.capacity() + packed_.capacity();
    for (const auto& b : bytes_)
        n += b.capacity();
    return n;
}

Snapshot takeSnapshot(Document& doc, SnapshotBase* base) {
    refreshStoredIds(doc);
    SnapshotBase local;
    SnapshotBase& b = base ? *base : local;
    ByteWriter& out = b.scratch_;
    out.clear();

    struct Stretch {
        size_t begin, end;
        uint32_t records;
    };
    std::vector<Stretch> stretches;
    Snapshot s;
    uint32_t inChunk = 0;
    size_t begin = 0;
    for (Element* e = doc.head; e; e = e->next) {
        writeSnapshotRecord(out, *e);
        ++s.elementCount;
        if (++inChunk == SnapshotBase::RecordsPerChunk) {
            stretches.push_back({begin, out.size(), inChunk});
            begin = out.size();
            inChunk = 0;
        }
    }
    if (inChunk) stretches.push_back({begin, out.size(), inChunk});
    const std::vector<uint8_t>& buffer = out.data();

    for (const Element* e : doc.traceList)
        if (e) s.traceIds.push_back(e->id);
    for (const AnimationRecord& a : doc.animations) {
        if (!a.element) continue;
        SnapshotAnimation x;
        x.id = a.element->id;
        std::memcpy(x.settings, a.settings, sizeof x.settings);
        s.animations.push_back(x);
    }
    s.pixelsPerUnit = doc.pixelsPerUnit;

#if QORV_PACKED_SNAPSHOTS
    if (!b.zstd_) {
        // Without it, chunks are kept unpacked. The checksum makes damage a refusal to install.
        b.zstd_ = ZSTD_createCCtx();
        ZSTD_CCtx_setParameter(b.zstd_, ZSTD_c_compressionLevel, PackLevel);
        ZSTD_CCtx_setParameter(b.zstd_, ZSTD_c_checksumFlag, 1);
    }
#endif
    s.chunks.reserve(stretches.size());
    std::vector<bool> changed(stretches.size(), false);
    for (size_t i = 0; i < stretches.size(); ++i) {
        const Stretch& st = stretches[i];
        const uint8_t* bytes = buffer.data() + st.begin;
        const size_t size = st.end - st.begin;
        const bool known = i < b.chunks_.size();
        if (known && b.chunks_[i]->records == st.records && b.bytes_[i].size() == size &&
            std::memcmp(b.bytes_[i].data(), bytes, size) == 0) {
            s.chunks.push_back(b.chunks_[i]);
            continue;
        }
        changed[i] = true;
        s.chunks.push_back(makeChunk(bytes, size, st.records, known ? &b.chunks_[i] : nullptr,
                                     known ? &b.bytes_[i] : nullptr, b.changes_, b.packed_,
                                     b.zstd_));
    }

    // The base follows the new snapshot. Should memory run out half way, it forgets everything,
    // which only costs sharing.
    try {
        b.bytes_.resize(stretches.size());
        for (size_t i = 0; i < stretches.size(); ++i)
            if (changed[i])
                b.bytes_[i].assign(buffer.begin() + std::ptrdiff_t(stretches[i].begin),
                                   buffer.begin() + std::ptrdiff_t(stretches[i].end));
        b.chunks_ = s.chunks;
    } catch (const std::bad_alloc&) {
        b.clear();
        throw;
    }
    return s;
}

bool installSnapshot(Document& doc, const Snapshot& s, SnapshotBase* base) {
    try {
        std::vector<std::vector<uint8_t>> decoded(s.chunks.size());
        DecompressionState unpacking;
        ChainGuard chain;
        Element* last = nullptr;
        ElementReadContext ctx;
        ctx.encoding = RecordEncoding::Snapshot;
        int32_t count = 0;
        for (size_t i = 0; i < s.chunks.size(); ++i) {
            const bool shown = base && i < base->chunks_.size() && i < base->bytes_.size();
            if (!s.chunks[i] || !decodeChunk(*s.chunks[i], decoded[i], unpacking,
                                             shown ? base->chunks_[i].get() : nullptr,
                                             shown ? &base->bytes_[i] : nullptr))
                return false;
            ByteReader in(decoded[i].data(), decoded[i].size());
            for (uint32_t r = 0; r < s.chunks[i]->records; ++r) {
                int32_t method = 0;
                if (!in.i32(method)) return false;
                std::unique_ptr<Element> e = readElementRecord(in, method, ctx);
                if (!e) return false;
                Element* raw = e.release();
                raw->prev = last;
                if (last)
                    last->next = raw;
                else
                    chain.first = raw;
                last = raw;
                ++count;
            }
            if (!in.atEnd()) return false;
        }
        if (count != s.elementCount) return false;
        resolveReferences(chain.first);

        // The ids are those of the numbering at the time the snapshot was taken.
        std::vector<Element*> byId(1, nullptr);
        for (Element* e = chain.first; e; e = e->next) {
            const auto enter = [&](Element& x) {
                if (x.id >= 1 && size_t(x.id) < size_t(INT32_MAX)) {
                    if (size_t(x.id) >= byId.size()) byId.resize(size_t(x.id) + 1, nullptr);
                    if (!byId[size_t(x.id)]) byId[size_t(x.id)] = &x;
                }
            };
            enter(*e);
            forEachSubElement(*e, enter);
        }
        const auto find = [&](int32_t id) {
            return id >= 1 && size_t(id) < byId.size() ? byId[size_t(id)] : nullptr;
        };
        std::vector<Element*> traces;
        for (int32_t id : s.traceIds)
            if (Element* e = find(id)) traces.push_back(e);
        std::vector<AnimationRecord> animations;
        for (const SnapshotAnimation& a : s.animations) {
            if (Element* e = find(a.id)) {
                AnimationRecord r;
                r.element = e;
                std::memcpy(r.settings, a.settings, sizeof r.settings);
                animations.push_back(r);
            }
        }
        std::vector<SnapshotChunkPtr> chunks;
        if (base) chunks = s.chunks;

        // Nothing below can fail.
        destroyElements(doc.head);
        ++doc.removals;
        doc.head = chain.first;
        doc.tail = last;
        chain.first = nullptr;
        doc.traceList = std::move(traces);
        doc.animations = std::move(animations);
        doc.pixelsPerUnit = s.pixelsPerUnit;
        if (base) {
            base->chunks_ = std::move(chunks);
            base->bytes_ = std::move(decoded);
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

size_t snapshotBytes(const std::vector<Snapshot>& snapshots) {
    std::unordered_set<const SnapshotChunk*> seen;
    size_t n = snapshots.capacity() * sizeof(Snapshot);
    for (const Snapshot& s : snapshots) {
        n += s.chunks.capacity() * sizeof(SnapshotChunkPtr) +
             s.traceIds.capacity() * sizeof(int32_t) +
             s.animations.capacity() * sizeof(SnapshotAnimation);
        for (const SnapshotChunkPtr& c : s.chunks)
            for (const SnapshotChunk* p = c.get(); p && seen.insert(p).second; p = p->base.get())
                n += sizeof(SnapshotChunk) + p->bytes.capacity();
    }
    return n;
}

} // namespace qorv

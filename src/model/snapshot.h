// Snapshots of a document's construction for the undo history.
//
// A snapshot keeps the element records in the snapshot encoding of the one element writer, cut
// into chunks of consecutive records. A chunk whose bytes did not change since the snapshot
// before is shared with it; a changed chunk of the same length is kept as the stretches that
// changed, over the chunk it replaces, each stretch as the exclusive or of the new bytes with the
// old (numbers that moved a little differ in their low bytes only, so the rest is zeros). Every
// chunk's bytes are then compressed with zstd when that makes them smaller. So a step that
// changes little costs little, and a long session stays small. Loci and conic samples are not
// stored: installing a snapshot is followed by a full recalculation, which rebuilds them.
#pragma once

#include "model/bytestream.h"
#include "model/document.h"

#include <cstdint>
#include <memory>
#include <vector>

struct ZSTD_CCtx_s;

namespace qorv {

// Consecutive element records: either their bytes, or the stretches in which they differ from
// an older chunk of the same length; either kept as they are or compressed.
struct SnapshotChunk {
    std::shared_ptr<const SnapshotChunk> base; // null: `bytes` are the records themselves
    std::vector<uint8_t> bytes;
    uint32_t packedFrom = 0; // 0: `bytes` as they are; else a zstd frame of this many bytes
    uint32_t size = 0;       // bytes of the records
    uint32_t records = 0;    // number of records
    uint32_t depth = 0;      // changes to apply on top of the full chunk at the end of the chain
    uint64_t chainBytes = 0; // bytes of those changes
};
using SnapshotChunkPtr = std::shared_ptr<const SnapshotChunk>;

struct SnapshotAnimation {
    int32_t id = -1;
    int32_t settings[3] = {0, 0, 0};
};

struct Snapshot {
    std::vector<SnapshotChunkPtr> chunks;
    int32_t elementCount = 0;
    std::vector<int32_t> traceIds;
    std::vector<SnapshotAnimation> animations;
    double pixelsPerUnit = 40.0;
};

// The chunks of the snapshot taken or installed last, with their bytes, which the next snapshot
// shares or is compared with, and from which installing another starts where it can.
class SnapshotBase {
  public:
    static constexpr uint32_t RecordsPerChunk = 64;

    SnapshotBase();
    ~SnapshotBase();
    SnapshotBase(const SnapshotBase&) = delete;
    SnapshotBase& operator=(const SnapshotBase&) = delete;

    void clear();
    // Memory held (the record bytes and the chunk references).
    size_t bytesHeld() const;

  private:
    friend Snapshot takeSnapshot(Document& doc, SnapshotBase* base);
    friend bool installSnapshot(Document& doc, const Snapshot& s, SnapshotBase* base);
    std::vector<SnapshotChunkPtr> chunks_;
    std::vector<std::vector<uint8_t>> bytes_; // decoded bytes of each chunk
    ByteWriter scratch_;                      // reused for the records of the next snapshot
    std::vector<uint8_t> changes_, packed_;   // reused for the chunks of the next snapshot
    ZSTD_CCtx_s* zstd_ = nullptr;             // reused compression state
};

// Renumbers the document, refreshes its stored ids and captures its elements (with their
// selection), trace and animation lists and pixels per unit. With a base, unchanged chunks are
// shared with the base's snapshot and the base becomes the new snapshot. Throws std::bad_alloc
// when memory runs out (the document is then unchanged).
Snapshot takeSnapshot(Document& doc, SnapshotBase* base = nullptr);

// Replaces the document's list, trace and animation lists and pixels per unit by the snapshot's.
// The elements are built and linked before anything is touched: false, and the document as it
// was, when the snapshot cannot be read or memory runs out. The caller recalculates.
bool installSnapshot(Document& doc, const Snapshot& s, SnapshotBase* base = nullptr);

// Bytes held by a set of snapshots; chunks shared between them are counted once.
size_t snapshotBytes(const std::vector<Snapshot>& snapshots);

} // namespace qorv

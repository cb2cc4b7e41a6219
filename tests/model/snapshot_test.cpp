#include "construction/create.h"
#include "construction/undoredo.h"
#include "docfile_samples.h"
#include "statedump.h"

#include "geometry/recalc.h"
#include "model/docfile.h"
#include "model/elementcodec.h"
#include "model/snapshot.h"
#include "model/undo.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace qorv;
using namespace qorv::testing;

namespace {

// n free points, each followed by a midpoint with the first point.
std::vector<Element*> pointsDocument(Document& doc, int n) {
    std::vector<Element*> points;
    ConstructionBuilder mk(doc);
    for (int i = 0; i < n; ++i) {
        points.push_back(mk.point(i, -i));
        mk.make(Method::Midpoint, points.front(), points.back());
    }
    recalcUpTo(doc);
    return points;
}

std::unique_ptr<Element> roundTrip(const Element& e, RecordEncoding encoding) {
    ByteWriter out;
    writeElementRecord(out, e, encoding);
    ByteReader in(out.data().data(), out.data().size());
    int32_t method = 0;
    EXPECT_TRUE(in.i32(method));
    ElementReadContext ctx;
    ctx.encoding = encoding;
    auto read = readElementRecord(in, method, ctx);
    EXPECT_TRUE(read && in.atEnd());
    return read;
}

} // namespace

// ---- the snapshot encoding of the element writer ------------------------------------------

TEST(SnapshotRecord, KeepsTextsOfAnyLengthAndCharacter) {
    Document doc;
    Element* p = ConstructionBuilder(doc).point(1, 2);
    std::string longName;
    while (longName.size() < 3000)
        longName += "ab中文😀€ñ";
    setName(doc, p, longName, CreationOptions{});
    Element* name = p->nameElement;
    ASSERT_NE(name, nullptr);
    name->font->name = "Fuente 字体 " + std::string(2000, 'x');

    auto kept = roundTrip(*name, RecordEncoding::Snapshot);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->tailAs<NameTail>()->text, longName);
    EXPECT_EQ(kept->font->name, name->font->name);

    // A file cannot hold them: the code page and the length limit apply there.
    auto filed = roundTrip(*name, RecordEncoding::File);
    ASSERT_TRUE(filed);
    EXPECT_LE(filed->tailAs<NameTail>()->text.size(), MaxFileStringBytes * 3);
    EXPECT_NE(filed->tailAs<NameTail>()->text, longName);
}

TEST(SnapshotRecord, KeepsSubElementStateAndSelection) {
    SampleDocument s;
    Document& doc = s.doc;
    Element* polygon = nullptr;
    Element* coordinates = nullptr;
    for (Element* e = doc.head; e; e = e->next) {
        if (e->method == Method::Polygon && !polygon) polygon = e;
        if (e->method == Method::Coordinates) coordinates = e;
    }
    ASSERT_TRUE(polygon && coordinates);
    Element* side = polygon->subElement(1);
    side->color = 0x123456;
    side->shape = LineStyle::Dashed;
    side->visible = 0;
    side->selected = 1;
    side->colorParamMode = 7;
    side->font = std::make_unique<FontRecord>(FontRecord{"Side", 1, 2, 1, 0, 1, 0});
    coordinates->subElement(0)->decimals = 6;
    coordinates->subElement(1)->defined = 0;
    polygon->selected = 1;
    refreshStoredIds(doc);

    for (Element* e : {polygon, coordinates}) {
        auto copy = roundTrip(*e, RecordEncoding::Snapshot);
        ASSERT_TRUE(copy);
        EXPECT_EQ(copy->selected, e->selected);
        ASSERT_EQ(copy->subElementCount(), e->subElementCount());
        for (int i = 0; i < e->subElementCount(); ++i) {
            const Element& a = *e->subElement(i);
            const Element& b = *copy->subElement(i);
            EXPECT_EQ(b.owner, copy.get());
            EXPECT_EQ(b.method, a.method);
            EXPECT_EQ(b.color, a.color);
            EXPECT_EQ(b.shape, a.shape);
            EXPECT_EQ(b.visible, a.visible);
            EXPECT_EQ(b.selected, a.selected);
            EXPECT_EQ(b.defined, a.defined);
            EXPECT_EQ(b.decimals, a.decimals);
            EXPECT_EQ(b.colorParamMode, a.colorParamMode);
            ASSERT_EQ(bool(b.font), bool(a.font));
            if (a.font) {
                EXPECT_EQ(*b.font, *a.font);
            }
        }
    }
}

TEST(SnapshotRecord, TruncatedOrDamagedInputIsRefusedWithoutHarm) {
    SampleDocument s;
    refreshStoredIds(s.doc);
    ByteWriter out;
    std::vector<size_t> ends;
    for (const Element* e = s.doc.head; e; e = e->next) {
        writeElementRecord(out, *e, RecordEncoding::Snapshot);
        ends.push_back(out.data().size());
    }
    const auto readAll = [](const std::vector<uint8_t>& bytes) {
        ByteReader in(bytes.data(), bytes.size());
        ElementReadContext ctx;
        ctx.encoding = RecordEncoding::Snapshot;
        int records = 0;
        while (!in.atEnd()) {
            int32_t method = 0;
            if (!in.i32(method)) break;
            if (!readElementRecord(in, method, ctx)) break;
            ++records;
        }
        return std::pair{records, in.failed()};
    };
    const std::vector<uint8_t>& all = out.data();
    EXPECT_EQ(readAll(all), std::pair(int(ends.size()), false));
    // Cut anywhere inside a record: the records before it are read, then the input fails.
    std::mt19937 rng(7);
    for (int i = 0; i < 300; ++i) {
        const size_t cut = std::uniform_int_distribution<size_t>(0, all.size() - 1)(rng);
        const std::vector<uint8_t> part(all.begin(), all.begin() + std::ptrdiff_t(cut));
        const auto whole = size_t(std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin());
        const auto [records, failed] = readAll(part);
        EXPECT_EQ(size_t(records), whole);
        EXPECT_EQ(failed, std::find(ends.begin(), ends.end(), cut) == ends.end() && cut > 0);
    }
    // Random bytes and huge counts are refused or read without crashing.
    for (int i = 0; i < 300; ++i) {
        std::vector<uint8_t> junk = all;
        for (int k = 0; k < 8; ++k)
            junk[std::uniform_int_distribution<size_t>(0, junk.size() - 1)(rng)] = uint8_t(rng());
        readAll(junk);
    }
}

// ---- snapshots ----------------------------------------------------------------------------

TEST(Snapshot, InstallGivesBackTheStateTaken) {
    SampleDocument s;
    Document& doc = s.doc;
    recalcUpTo(doc);
    doc.head->selected = 1;
    doc.tail->selected = 1;
    const std::string state = dumpState(doc);
    const std::vector<uint8_t> file = encodeDocument(doc);
    const Snapshot snap = takeSnapshot(doc);

    // Change everything the snapshot keeps.
    doc.deleteWithDescendants(doc.head);
    doc.pixelsPerUnit = 12;
    ConstructionBuilder(doc).point(5, 5);
    ASSERT_NE(dumpState(doc), state);

    ASSERT_TRUE(installSnapshot(doc, snap));
    recalcUpTo(doc);
    EXPECT_EQ(dumpState(doc), state);
    EXPECT_EQ(encodeDocument(doc), file);
    EXPECT_EQ(doc.traceList.size(), 2u);
    EXPECT_EQ(doc.animations.size(), 2u);
    // The same snapshot can be installed again.
    doc.clear();
    ASSERT_TRUE(installSnapshot(doc, snap));
    recalcUpTo(doc);
    EXPECT_EQ(dumpState(doc), state);
}

TEST(Snapshot, UnchangedChunksAreSharedAndChangedOnesKeepOnlyTheChanges) {
    Document doc;
    std::vector<Element*> points = pointsDocument(doc, 300); // 600 records, 10 chunks
    SnapshotBase base;
    const Snapshot first = takeSnapshot(doc, &base);
    const std::string firstState = dumpState(doc);
    ASSERT_EQ(first.chunks.size(), 10u);

    const Snapshot same = takeSnapshot(doc, &base);
    for (size_t i = 0; i < same.chunks.size(); ++i)
        EXPECT_EQ(same.chunks[i], first.chunks[i]) << i;
    // A second snapshot of the same state costs only its list of chunks.
    EXPECT_LT(snapshotBytes({first, same}) - snapshotBytes({first}), 1000u);

    // Moving the point of record 400 (chunk 6) changes that point and its midpoint only.
    points[200]->value[0] += 0.5;
    recalcUpTo(doc);
    const std::string movedState = dumpState(doc);
    const Snapshot moved = takeSnapshot(doc, &base);
    for (size_t i = 0; i < moved.chunks.size(); ++i) {
        if (i == 6) continue;
        EXPECT_EQ(moved.chunks[i], first.chunks[i]) << i;
    }
    ASSERT_NE(moved.chunks[6], first.chunks[6]);
    EXPECT_EQ(moved.chunks[6]->base, first.chunks[6]);
    EXPECT_LT(moved.chunks[6]->bytes.size(), 64u);
    EXPECT_LT(snapshotBytes({first, moved}) - snapshotBytes({first}), 1000u);

    ASSERT_TRUE(installSnapshot(doc, first));
    recalcUpTo(doc);
    EXPECT_EQ(dumpState(doc), firstState);
    ASSERT_TRUE(installSnapshot(doc, moved));
    recalcUpTo(doc);
    EXPECT_EQ(dumpState(doc), movedState);
}

TEST(Snapshot, ChainsOfChangesStayShortAndEveryStepReadsBack) {
    Document doc;
    std::vector<Element*> points = pointsDocument(doc, 100);
    SnapshotBase base;
    std::vector<Snapshot> snaps;
    std::vector<std::string> states;
    for (int step = 0; step < 120; ++step) {
        points[step % 7]->value[1] += 1.25;
        recalcUpTo(doc);
        states.push_back(dumpState(doc));
        snaps.push_back(takeSnapshot(doc, &base));
        for (const auto& c : snaps.back().chunks)
            EXPECT_LE(c->depth, 32u);
    }
    for (size_t i : {size_t(0), size_t(31), size_t(32), size_t(33), size_t(77), size_t(119)}) {
        Document other;
        ASSERT_TRUE(installSnapshot(other, snaps[i]));
        recalcUpTo(other);
        EXPECT_EQ(dumpState(other), states[i]) << i;
    }
}

TEST(Snapshot, DeletionInTheMiddleAndAnEmptyDocument) {
    Document doc;
    std::vector<Element*> points = pointsDocument(doc, 100);
    SnapshotBase base;
    takeSnapshot(doc, &base);
    doc.deleteWithDescendants(points[30]);
    const std::string state = dumpState(doc);
    const Snapshot after = takeSnapshot(doc, &base);
    doc.clear();
    const Snapshot empty = takeSnapshot(doc, &base);
    EXPECT_TRUE(empty.chunks.empty());
    ASSERT_TRUE(installSnapshot(doc, after));
    recalcUpTo(doc);
    EXPECT_EQ(dumpState(doc), state);
    ASSERT_TRUE(installSnapshot(doc, empty));
    EXPECT_EQ(doc.head, nullptr);
    EXPECT_EQ(doc.tail, nullptr);
}

TEST(Snapshot, DamagedSnapshotIsRefusedAndLeavesTheDocumentAsItWas) {
    SampleDocument s;
    Document& doc = s.doc;
    recalcUpTo(doc);
    const Snapshot good = takeSnapshot(doc);
    const std::string state = dumpState(doc);

    Snapshot cut = good;
    auto shorter = std::make_shared<SnapshotChunk>(*cut.chunks[0]);
    shorter->bytes.resize(shorter->bytes.size() / 2);
    shorter->size = uint32_t(shorter->bytes.size());
    cut.chunks[0] = shorter;
    EXPECT_FALSE(installSnapshot(doc, cut));
    EXPECT_EQ(dumpState(doc), state);

    Snapshot wrongCount = good;
    wrongCount.elementCount += 1;
    EXPECT_FALSE(installSnapshot(doc, wrongCount));
    EXPECT_EQ(dumpState(doc), state);

    Snapshot badChanges = good;
    auto delta = std::make_shared<SnapshotChunk>();
    delta->base = good.chunks[0];
    delta->size = good.chunks[0]->size;
    delta->records = good.chunks[0]->records;
    delta->bytes = {0xff, 0xff, 0xff, 0x7f, 0x10, 1, 2}; // a change beyond the end
    badChanges.chunks[0] = delta;
    EXPECT_FALSE(installSnapshot(doc, badChanges));
    EXPECT_EQ(dumpState(doc), state);
}

namespace {

// Blocks of every kind of element whose numbers follow from its parents (lines, rays, segments,
// circles, midpoints, translations, intersections, angles, vectors, measures), all hanging on
// one driver, so that dragging it changes every block. Returns the driver.
Element* dependentBlocks(Document& doc, int blocks) {
    ConstructionBuilder mk(doc);
    Element* driver = mk.point(0, 0);
    Element* from = mk.point(0, -50);
    Element* to = mk.point(37.5, -50);
    Element* a = driver;
    for (int i = 0; i < blocks; ++i) {
        if (i > 0) a = mk.make(Method::TranslationPoint, a, from, to);
        Element* b = mk.point(40.0 * i + 33, 7.0 * (i % 5) + 11);
        Element* c = mk.point(40.0 * i + 9, 31.0 - i % 3);
        Element* ab = mk.make(Method::Segment, a, b);
        Element* bc = mk.make(Method::LineThroughTwoPoints, b, c);
        Element* circle = mk.make(Method::CircleCentrePoint, a, c);
        Element* m = mk.make(Method::Midpoint, a, b);
        Element* perp = mk.make(Method::PerpendicularLine, ab, m);
        mk.make(Method::ParallelLine, ab, c);
        mk.intersection(bc, perp, 0);
        mk.intersection(bc, circle, 6);
        Element* poly = mk.make(Method::Polygon, nullptr, nullptr, nullptr, {a, b, c});
        mk.make(Method::PolygonArea, poly);
        mk.make(Method::DistancePointPoint, a, b);
        mk.make(Method::Angle, a, b, c);
        mk.make(Method::RayThroughTwoPoints, c, m);
        mk.make(Method::Vector, m, c);
    }
    recalcUpTo(doc);
    return driver;
}

} // namespace

TEST(Snapshot, ManyCompressedStepsUndoAndRedoByteForByte) {
    Document doc;
    Element* driver = dependentBlocks(doc, 40); // about 640 elements, 10 chunks
    size_t records = 0;                         // bytes of all records
    for (const SnapshotChunkPtr& c : takeSnapshot(doc).chunks)
        records += c->size;
    std::vector<std::vector<uint8_t>> files;
    std::vector<std::string> states;
    constexpr int Steps = 150;
    for (int step = 0; step < Steps; ++step) {
        files.push_back(encodeDocument(doc));
        states.push_back(dumpState(doc));
        ASSERT_TRUE(recordUndoStep(doc));
        driver->value[0] += step % 2 ? 0.75 : -0.5;
        driver->value[1] += 0.125;
        recalcUpTo(doc);
    }
    const std::vector<uint8_t> lastFile = encodeDocument(doc);
    const std::string lastState = dumpState(doc);

    // The steps are kept compressed, and a step costs a small part of a whole snapshot.
    int packed = 0;
    for (const Snapshot& s : undoHistory(doc).snapshots())
        for (const SnapshotChunkPtr& c : s.chunks)
            packed += c->packedFrom != 0;
    EXPECT_GT(packed, Steps);
    EXPECT_LT(undoHistory(doc).bytesHeld(), records * Steps / 20) << records;

    for (int step = Steps; step-- > 0;) {
        ASSERT_TRUE(undo(doc));
        ASSERT_EQ(dumpState(doc), states[size_t(step)]) << "undo to " << step;
        ASSERT_EQ(encodeDocument(doc), files[size_t(step)]) << "undo to " << step;
    }
    EXPECT_FALSE(canUndo(doc));
    for (int step = 1; step <= Steps; ++step) {
        ASSERT_TRUE(redo(doc));
        ASSERT_EQ(dumpState(doc), step < Steps ? states[size_t(step)] : lastState)
            << "redo to " << step;
        ASSERT_EQ(encodeDocument(doc), step < Steps ? files[size_t(step)] : lastFile)
            << "redo to " << step;
    }
    EXPECT_FALSE(canRedo(doc));
}

TEST(Snapshot, DamagedCompressedChunksAreRefusedWithoutHarm) {
    Document doc;
    Element* driver = dependentBlocks(doc, 20);
    SnapshotBase base;
    const Snapshot first = takeSnapshot(doc, &base);
    driver->value[0] += 3.5;
    for (Element* e = doc.head; e; e = e->next)
        e->color ^= 0x123456; // changes that compress well, in every record
    recalcUpTo(doc);
    const Snapshot second = takeSnapshot(doc, &base);
    const std::string state = dumpState(doc);

    // A compressed full chunk and a compressed chain of changes.
    size_t chained = second.chunks.size();
    for (size_t i = 0; i < second.chunks.size(); ++i)
        if (second.chunks[i]->base && second.chunks[i]->packedFrom) chained = i;
    ASSERT_LT(chained, second.chunks.size());
    ASSERT_NE(first.chunks[0]->packedFrom, 0u);

    const auto damaged = [&](const Snapshot& good, size_t i,
                             const std::function<void(SnapshotChunk&)>& harm) {
        Snapshot s = good;
        auto c = std::make_shared<SnapshotChunk>(*s.chunks[i]);
        harm(*c);
        s.chunks[i] = c;
        return s;
    };
    const std::vector<std::pair<const char*, std::function<void(SnapshotChunk&)>>> harms = {
        {"cut short", [](SnapshotChunk& c) { c.bytes.resize(c.bytes.size() / 2); }},
        {"cut to nothing", [](SnapshotChunk& c) { c.bytes.clear(); }},
        {"one byte more", [](SnapshotChunk& c) { c.bytes.push_back(0); }},
        {"bytes flipped",
         [](SnapshotChunk& c) {
             for (size_t k = 4; k < c.bytes.size(); k += 7)
                 c.bytes[k] ^= 0x5a;
         }},
        {"length too small", [](SnapshotChunk& c) { c.packedFrom -= 1; }},
        {"length too large", [](SnapshotChunk& c) { c.packedFrom += 1; }},
        {"huge length", [](SnapshotChunk& c) { c.packedFrom = 0xffffffffu; }},
        {"not marked packed", [](SnapshotChunk& c) { c.packedFrom = 0; }},
    };
    for (const auto& [what, harm] : harms) {
        for (const auto& [good, i] : {std::pair(&first, size_t(0)), std::pair(&second, chained)}) {
            SCOPED_TRACE(std::string(what) + (good == &first ? ", full chunk" : ", changes"));
            const Snapshot bad = damaged(*good, i, harm);
            EXPECT_FALSE(installSnapshot(doc, bad, &base));
            EXPECT_EQ(dumpState(doc), state);
        }
    }
    // Undamaged, both still read back.
    ASSERT_TRUE(installSnapshot(doc, first, &base));
    ASSERT_TRUE(installSnapshot(doc, second, &base));
    recalcUpTo(doc);
    EXPECT_EQ(dumpState(doc), state);
}

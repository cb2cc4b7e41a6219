#include "docfile_samples.h"
#include "statedump.h"

#include "geometry/recalc.h"
#include "model/docfile.h"
#include "model/elementcodec.h"
#include "model/snapshot.h"

#include <gtest/gtest.h>

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
    doc.setName(p, longName, CreationOptions{});
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

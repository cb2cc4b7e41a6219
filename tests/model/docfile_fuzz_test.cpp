// Damaged and hostile files: mutated, truncated and oversized input is refused without a crash,
// a huge allocation or a change to the open document; whatever is accepted is a sound document.
#include "docfile_samples.h"

#include "geometry/recalc.h"
#include "model/elementcodec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>

using namespace qorv;
using namespace qorv::testing;

namespace {

ReadResult readBytes(Document& doc, const std::vector<uint8_t>& b,
                     int32_t expected = FileType::Document) {
    return readDocumentData(doc, b.data(), b.size(), expected);
}

// A small file of an old version with one record of several methods.
std::vector<uint8_t> oldFile(int32_t v) {
    FileBytes f;
    f.i32(v).i32(v < 301 ? 1 : 10).section(v);
    f.i32(Method::FreePoint).common(v, 1, -1, -1, -1, 3, 4, 0, false);
    f.i32(Method::FreePoint).common(v, 2, -1, -1, -1, 5, 4, 0, false);
    f.i32(Method::DistancePointPoint).common(v, 3, 1, 2, -1, 0, 0, 100, v >= 300);
    f.i32(Method::Text).i32(1);
    if (v >= 400) f.i32(1);
    f.str("hola");
    if (v != 100) f.font("Arial", 1, 2);
    if (v >= 400) f.font("Arial", 1, 2).i32(4);
    if (v >= 600) f.i32(1).i32(2).i32(0);
    f.common(v, 4, -1, -1, -1, 0, 0, 1, false);
    f.i32(Method::Polygon).i32(2);
    f.i32(6).i32(1).i32(2).i32(5).f64(0).f64(0).f64(0).f64(0);
    f.i32(7).i32(2).i32(1).i32(5).f64(0).f64(0).f64(0).f64(0);
    f.common(v, 5, -1, -1, -1, 0, 0, 0, false);
    f.i32(Method::Name).str("P").f64(4).f64(4).f64(0).f64(0);
    f.common(v, 8, 1, -1, -1, 0, 0, 1, v >= 300);
    return f.bytes();
}

// Checks an accepted document: it writes a file that reads back to the same bytes, recalculates
// and can be deleted element by element without hanging.
void checkSound(Document& doc) {
    const auto bytes = encodeDocument(doc);
    Document again;
    ASSERT_EQ(readBytes(again, bytes).kind, FileKind::Document);
    ASSERT_EQ(encodeDocument(again), bytes);
    recalcUpTo(again);
    int guard = again.elementCount();
    while (again.head && guard-- >= 0)
        again.deleteWithDescendants(again.head);
    EXPECT_EQ(again.head, nullptr);
    EXPECT_EQ(again.tail, nullptr);
}

void mutate(std::vector<uint8_t>& b, std::mt19937& rng) {
    const auto pick = [&](size_t n) { return n ? size_t(rng() % n) : 0; };
    static const int32_t interesting[] = {0,    -1,   1,   2,    100,     101,       900,
                                          1015, 1016, 255, 4096, 1 << 20, INT32_MAX, INT32_MIN};
    switch (rng() % 6) {
    case 0: // bit flip
        if (!b.empty()) b[pick(b.size())] ^= uint8_t(1u << (rng() % 8));
        break;
    case 1: // byte change
        if (!b.empty()) b[pick(b.size())] = uint8_t(rng());
        break;
    case 2: { // insertion
        const size_t at = pick(b.size() + 1);
        std::vector<uint8_t> extra(1 + rng() % 12);
        for (auto& x : extra)
            x = uint8_t(rng());
        b.insert(b.begin() + std::ptrdiff_t(at), extra.begin(), extra.end());
        break;
    }
    case 3: { // deletion
        if (b.empty()) break;
        const size_t at = pick(b.size());
        const size_t n = std::min(b.size() - at, size_t(1 + rng() % 12));
        b.erase(b.begin() + std::ptrdiff_t(at), b.begin() + std::ptrdiff_t(at + n));
        break;
    }
    case 4: // truncation
        b.resize(pick(b.size() + 1));
        break;
    default: { // an aligned word set to a value that sizes or ends things
        if (b.size() < 4) break;
        const size_t at = pick(b.size() / 4) * 4;
        const int32_t v = interesting[rng() % std::size(interesting)];
        std::memcpy(b.data() + at, &v, 4);
        break;
    }
    }
}

} // namespace

TEST(DocumentFileFuzz, MutatedFilesAreRefusedCleanlyOrReadSoundly) {
    SampleDocument sample;
    std::vector<std::vector<uint8_t>> bases = {encodeDocument(sample.doc),
                                               oldFile(100),
                                               oldFile(299),
                                               oldFile(500),
                                               oldFile(801),
                                               encodeMacroFile(sample.doc.macros[0])};
    SampleDocument target;
    const auto snapshot = encodeDocument(target.doc);
    std::mt19937 rng(20240611);
    int accepted = 0, refused = 0;
    for (int i = 0; i < 20000; ++i) {
        std::vector<uint8_t> b = bases[size_t(i) % bases.size()];
        const int mutations = 1 + int(rng() % 4);
        for (int k = 0; k < mutations; ++k)
            mutate(b, rng);
        const Element* head = target.doc.head;
        const int32_t expected = rng() % 4 == 0 ? FileType::Macro : FileType::Document;
        const ReadResult r = readBytes(target.doc, b, expected);
        if (r.kind == FileKind::Document || r.kind == FileKind::Macro) {
            ++accepted;
            if (r.kind == FileKind::Document) checkSound(target.doc);
            ASSERT_EQ(readBytes(target.doc, snapshot).kind, FileKind::Document);
        } else {
            ++refused;
            ASSERT_EQ(target.doc.head, head) << "mutation " << i;
            ASSERT_EQ(encodeDocument(target.doc), snapshot) << "mutation " << i;
        }
        if (::testing::Test::HasFatalFailure()) return;
    }
    RecordProperty("accepted", accepted);
    RecordProperty("refused", refused);
    // Both outcomes occur, so the test exercises both paths.
    EXPECT_GT(accepted, 100);
    EXPECT_GT(refused, 1000);
}

TEST(DocumentFileFuzz, EveryTruncationIsRefusedOrEndsAtARecord) {
    SampleDocument sample;
    for (const auto& base :
         {oldFile(100), oldFile(600), oldFile(900), encodeDocument(sample.doc)}) {
        Document doc;
        ASSERT_EQ(readBytes(doc, base).kind, FileKind::Document);
        doc.clear();
        int accepted = 0;
        const size_t step = base.size() > 4000 ? 7 : 1;
        for (size_t n = 0; n < base.size(); n += step) {
            std::vector<uint8_t> cut(base.begin(), base.begin() + std::ptrdiff_t(n));
            const ReadResult r = readBytes(doc, cut);
            if (r.kind == FileKind::Document) {
                ++accepted;
                checkSound(doc);
            } else {
                ASSERT_EQ(r.kind, FileKind::Invalid) << n;
                ASSERT_EQ(doc.head, nullptr);
            }
            doc.clear();
        }
        // Only cuts right after the section or after a whole record read as documents.
        EXPECT_LT(accepted, 80);
    }
}

TEST(DocumentFileFuzz, OversizedCountsAndLengthsAreRefused) {
    const auto refused = [](const char* what, const std::function<void(FileBytes&)>& record) {
        FileBytes f;
        f.i32(900).i32(10).section(900);
        record(f);
        f.i32(0).i32(0).i32(0); // a few bytes more, far fewer than any count asks for
        Document doc;
        EXPECT_EQ(readBytes(doc, f.bytes()).kind, FileKind::Invalid) << what;
        EXPECT_EQ(doc.head, nullptr) << what;
    };
    constexpr int32_t Big = INT32_MAX;
    {
        FileBytes f;
        f.i32(900).i32(10).section(900);
        f.i32(Method::Polygon).i32(0).common(900, 1, -1, -1, -1, 0, 0, 0, false);
        Document doc;
        ASSERT_EQ(readBytes(doc, f.bytes()).kind, FileKind::Document); // the frame is sound
    }
    refused("polygon sides", [](FileBytes& f) { f.i32(Method::Polygon).i32(Big); });
    refused("text lines", [](FileBytes& f) { f.i32(Method::Text).i32(Big).i32(1); });
    refused("text runs", [](FileBytes& f) { f.i32(Method::Text).i32(1).i32(Big); });
    refused("string length", [](FileBytes& f) { f.i32(Method::Name).i32(Big); });
    refused("negative length", [](FileBytes& f) { f.i32(Method::Name).i32(-5); });
    refused("bitmap bytes", [](FileBytes& f) { f.i32(Method::Bitmap).i32(Big); });
    refused("locus samples", [](FileBytes& f) { f.i32(Method::Locus).i32(Big); });
    refused("graph samples",
            [](FileBytes& f) { f.i32(Method::FunctionGraph).i32(MaxCurveSamples + 1); });
    refused("expression args", [](FileBytes& f) { f.i32(Method::Calculation).i32(Big); });
    refused("expression cells",
            [](FileBytes& f) { f.i32(Method::Calculation).i32(0).i32(Big).i32(0); });
    refused("expression words",
            [](FileBytes& f) { f.i32(Method::Function).i32(0).i32(0).i32(Big); });
    refused("table columns", [](FileBytes& f) { f.i32(Method::Table).i32(Big).i32(1); });
    refused("table rows", [](FileBytes& f) { f.i32(Method::Table).i32(1).i32(101); });
    refused("button elements", [](FileBytes& f) { f.i32(Method::MotionButton).i32(Big); });
    refused("iteration participants", [](FileBytes& f) { f.i32(Method::Iteration).i32(Big); });
    refused("iteration rows", [](FileBytes& f) { f.i32(Method::Iteration).i32(1).i32(2); });
    refused("iteration lists", [](FileBytes& f) {
        f.i32(Method::Iteration).i32(1).i32(1).i32(7).i32(1).i32(0).i32(Big);
    });
    refused("iteration image", [](FileBytes& f) {
        f.i32(Method::Iteration).i32(1).i32(1).i32(7);
        f.i32(1).i32(0).i32(1).i32(0).i32(1).i32(1).i32(5); // entry 5 of one participant
    });
    refused("invalid method", [](FileBytes& f) { f.i32(74); });
    refused("side as list element", [](FileBytes& f) { f.i32(Method::PolygonSide); });
    refused("macro kinds", [](FileBytes& f) { f.i32(-1).i32(900).i32(20).i32(Big); });
    refused("macro lines",
            [](FileBytes& f) { f.i32(-1).i32(900).i32(20).i32(0).str("m").i32(Big); });
    refused("macro version", [](FileBytes& f) { f.i32(-1).i32(901).i32(20); });

    // The lists of the document section.
    for (int32_t n : {101, Big, -1}) {
        FileBytes f;
        f.i32(900).i32(10).section(900);
        f.bytes().resize(f.bytes().size() - 8);
        f.i32(n).i32(0);
        Document doc;
        EXPECT_EQ(readBytes(doc, f.bytes()).kind, FileKind::Invalid) << n;
    }
    FileBytes anim;
    anim.i32(900).i32(10).section(900);
    anim.bytes().resize(anim.bytes().size() - 4);
    anim.i32(Big).i32(1).i32(2);
    Document doc;
    EXPECT_EQ(readBytes(doc, anim.bytes()).kind, FileKind::Invalid);

    // Values that other code divides by or indexes with.
    for (double ppu : {40.0, 0.0, -1.0, std::nan("")}) {
        FileBytes f;
        f.i32(900).i32(10);
        f.i32(0).i32(0).i32(0);
        for (int i = 0; i < 4; ++i)
            f.font("Arial", 0, 10);
        for (int i = 0; i < 24; ++i)
            f.i32(1);
        f.i32(1).i32(0).f64(ppu).i32(0).i32(0).i32(0).f64(0).f64(0).i32(0).i32(0);
        EXPECT_EQ(readBytes(doc, f.bytes()).kind, ppu > 0 ? FileKind::Document : FileKind::Invalid)
            << ppu;
    }
}

TEST(DocumentFileFuzz, SampleCapacityHasABudgetPerFile) {
    FileBytes f;
    f.i32(600).common(900, 1, -1, -1, -1, 0, 0, 0, false);
    ElementReadContext ctx;
    ctx.sampleBudget = 1000;
    ByteReader first(f.bytes().data(), f.bytes().size());
    auto e = readElementRecord(first, Method::Locus, ctx);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->tailAs<SampledCurveTail>()->first.size(), 600u);
    EXPECT_EQ(ctx.sampleBudget, 400);
    ByteReader second(f.bytes().data(), f.bytes().size());
    EXPECT_EQ(readElementRecord(second, Method::Locus, ctx), nullptr);
    EXPECT_TRUE(second.failed());
}

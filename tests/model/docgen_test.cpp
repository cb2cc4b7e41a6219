// The hostile-document generator reaches what it promises: every method code, every version and
// file type, special values, refusals, and documents that read. Running its documents is the
// hostile tests' (they draw too); this checks the generator itself, and that it is deterministic.
#include "fuzz/docgen.h"

#include "model/docfile.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <set>

using namespace qorv;

TEST(DocumentGenerator, CoversEveryMethodVersionAndType) {
    std::set<int32_t> methods, versions, types;
    int documents = 0, macros = 0, refused = 0, nan = 0, subnormal = 0, hostileFonts = 0;
    for (uint64_t seed = 1; seed <= 1500; ++seed) {
        const std::vector<uint8_t> file = fuzz::generateDocument(seed);
        ASSERT_EQ(file, fuzz::generateDocument(seed)) << seed;
        Document doc;
        const ReadResult r = readDocumentData(doc, file.data(), file.size(), FileType::Document);
        if (r.kind == FileKind::Document) {
            ++documents;
        } else if (r.kind == FileKind::Macro) {
            ++macros;
        } else {
            ++refused;
            continue;
        }
        versions.insert(r.version);
        types.insert(r.hasWindow ? FileType::ViewerDocument : r.type);
        const auto look = [&](const Element& e) {
            methods.insert(e.method);
            for (double v : e.value) {
                nan += std::isnan(v) ? 1 : 0;
                subnormal += std::fpclassify(v) == FP_SUBNORMAL ? 1 : 0;
            }
            if (e.font && (e.font->size == INT32_MIN || e.font->size == INT32_MAX)) ++hostileFonts;
        };
        doc.forEachWithSubs(look);
        for (const MacroSlot& m : doc.macros)
            for (const Element* e = m.first; e; e = e->next)
                look(*e);
    }
    EXPECT_EQ(methods.size(), size_t(Method::Count));
    EXPECT_EQ(*methods.begin(), 0);
    EXPECT_EQ(*methods.rbegin(), Method::Count - 1);
    EXPECT_EQ(versions.size(), 23u);
    EXPECT_EQ(types,
              (std::set<int32_t>{FileType::Document, FileType::ViewerDocument, FileType::Macro}));
    // Mostly documents that read, some refused.
    EXPECT_GT(documents, 1000);
    EXPECT_GT(macros, 100);
    EXPECT_GT(refused, 10);
    EXPECT_GT(nan, 100);
    EXPECT_GT(subnormal, 20);
    EXPECT_GT(hostileFonts, 5);
}

TEST(DocumentGenerator, CostlyShapesAreSmallDocumentsThatRead) {
    for (int s = 0; s < int(fuzz::CostlyShape::Count); ++s) {
        const std::vector<uint8_t> file = fuzz::generateDocument(uint64_t(s) + 1);
        EXPECT_EQ(file, fuzz::costlyDocument(fuzz::CostlyShape(s), uint64_t(s) + 1)) << s;
        EXPECT_LE(file.size(), size_t(64) << 10) << s;
        Document doc;
        const ReadResult r = readDocumentData(doc, file.data(), file.size(), FileType::Document);
        EXPECT_EQ(r.kind, FileKind::Document) << s;
        EXPECT_GE(doc.elementCount(), 5) << s;
    }
}

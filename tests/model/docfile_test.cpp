#include "docfile_samples.h"

#include "geometry/recalc.h"
#include "model/elementcodec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using namespace qorv;
using namespace qorv::testing;
namespace fs = std::filesystem;

namespace {

int idOf(const Element* e) {
    return e ? e->id : -1;
}

std::vector<Element*> listOf(const Document& d) {
    std::vector<Element*> v;
    for (Element* e = d.head; e; e = e->next)
        v.push_back(e);
    return v;
}

ReadResult readBytes(Document& doc, const std::vector<uint8_t>& b,
                     int32_t expected = FileType::Document, const ReadOptions& o = {}) {
    return readDocumentData(doc, b.data(), b.size(), expected, o);
}

void expectSameFields(const Element& a, const Element& b) {
    EXPECT_EQ(a.method, b.method);
    EXPECT_EQ(a.id, b.id);
    EXPECT_EQ(idOf(a.parent1), idOf(b.parent1));
    EXPECT_EQ(idOf(a.parent2), idOf(b.parent2));
    EXPECT_EQ(idOf(a.parent3), idOf(b.parent3));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(a.value[i], b.value[i]) << i;
}

void expectSameElement(const Element& a, const Element& b) {
    SCOPED_TRACE("element " + std::to_string(a.id) + " method " + std::to_string(a.method));
    expectSameFields(a, b);
    EXPECT_EQ(a.defined, b.defined);
    EXPECT_EQ(a.visible, b.visible);
    EXPECT_EQ(a.option, b.option);
    EXPECT_EQ(a.option2, b.option2);
    EXPECT_EQ(a.unitShown, b.unitShown);
    EXPECT_EQ(a.decimals, b.decimals);
    EXPECT_EQ(a.color, b.color);
    EXPECT_EQ(a.shape, b.shape);
    EXPECT_EQ(idOf(a.colorParam), idOf(b.colorParam));
    EXPECT_EQ(a.colorParamMode, b.colorParamMode);
    EXPECT_EQ(a.colorParamFrom, b.colorParamFrom);
    EXPECT_EQ(a.colorParamTo, b.colorParamTo);
    EXPECT_EQ(idOf(a.nameElement), idOf(b.nameElement));
    ASSERT_EQ(bool(a.font), bool(b.font));
    if (a.font) {
        EXPECT_EQ(*a.font, *b.font);
    }
    ASSERT_EQ(bool(a.tail), bool(b.tail));
    ASSERT_EQ(a.subElementCount(), b.subElementCount());
    for (int i = 0; i < a.subElementCount(); ++i) {
        const Element& sa = *a.subElement(i);
        const Element& sb = *b.subElement(i);
        expectSameFields(sa, sb);
        EXPECT_EQ(sb.owner, &b);
        EXPECT_EQ(sa.shape, sb.shape);
        if (a.method != Method::Coordinates) {
            EXPECT_EQ(sa.color, sb.color);
        }
        EXPECT_EQ(sa.visible, sb.visible);
        EXPECT_EQ(sa.option, sb.option);
    }
    if (!a.tail) return;
    ASSERT_EQ(a.tail->type, b.tail->type);
    const auto ids = [](const std::vector<Ref>& v) {
        std::vector<int> r;
        for (const Element* e : v)
            r.push_back(idOf(e));
        return r;
    };
    if (auto* t = a.tailAs<AxesTail>()) {
        EXPECT_EQ(t->scaleX, b.tailAs<AxesTail>()->scaleX);
        EXPECT_EQ(t->scaleY, b.tailAs<AxesTail>()->scaleY);
    } else if (auto* t = a.tailAs<SampledCurveTail>()) {
        EXPECT_EQ(t->first.size(), b.tailAs<SampledCurveTail>()->first.size());
        EXPECT_EQ(t->words.size(), b.tailAs<SampledCurveTail>()->words.size());
    } else if (auto* t = a.tailAs<ExpressionTail>()) {
        auto* u = b.tailAs<ExpressionTail>();
        EXPECT_EQ(t->exprText, u->exprText);
        EXPECT_EQ(t->exprCode, u->exprCode);
        EXPECT_EQ(t->exprValues, u->exprValues);
        EXPECT_EQ(ids(t->exprArgs), ids(u->exprArgs));
        EXPECT_EQ(t->exprVarCount, u->exprVarCount);
    } else if (auto* t = a.tailAs<TableTail>()) {
        auto* u = b.tailAs<TableTail>();
        EXPECT_EQ(t->rows, u->rows);
        ASSERT_EQ(t->columns.size(), u->columns.size());
        for (size_t i = 0; i < t->columns.size(); ++i) {
            EXPECT_EQ(idOf(t->columns[i].element), idOf(u->columns[i].element));
            EXPECT_EQ(t->columns[i].values, u->columns[i].values);
        }
    } else if (auto* t = a.tailAs<EquationTail>()) {
        EXPECT_EQ(t->labelPosition, b.tailAs<EquationTail>()->labelPosition);
        EXPECT_EQ(t->text, b.tailAs<EquationTail>()->text);
    } else if (auto* t = a.tailAs<TextTail>()) {
        auto* u = b.tailAs<TextTail>();
        EXPECT_EQ(t->x, u->x);
        EXPECT_EQ(t->y, u->y);
        EXPECT_EQ(t->flag, u->flag);
        EXPECT_EQ(t->lines, u->lines);
        EXPECT_EQ(t->font, u->font);
        ASSERT_EQ(t->runs.size(), u->runs.size());
        for (size_t i = 0; i < t->runs.size(); ++i) {
            EXPECT_EQ(t->runs[i].font, u->runs[i].font);
            EXPECT_EQ(t->runs[i].length, u->runs[i].length);
        }
    } else if (auto* t = a.tailAs<NameTail>()) {
        EXPECT_EQ(t->text, b.tailAs<NameTail>()->text);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(t->placement[i], b.tailAs<NameTail>()->placement[i]);
    } else if (auto* t = a.tailAs<CheckTail>()) {
        EXPECT_EQ(t->trueText, b.tailAs<CheckTail>()->trueText);
        EXPECT_EQ(t->falseText, b.tailAs<CheckTail>()->falseText);
    } else if (auto* t = a.tailAs<ConicTail>()) {
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(idOf(t->points[i]), idOf(b.tailAs<ConicTail>()->points[i]));
    } else if (auto* t = a.tailAs<ParameterTail>()) {
        EXPECT_EQ(t->minimum, b.tailAs<ParameterTail>()->minimum);
        EXPECT_EQ(t->maximum, b.tailAs<ParameterTail>()->maximum);
        EXPECT_EQ(t->step, b.tailAs<ParameterTail>()->step);
    } else if (auto* t = a.tailAs<ButtonTail>()) {
        EXPECT_EQ(t->caption, b.tailAs<ButtonTail>()->caption);
        EXPECT_EQ(ids(t->elements), ids(b.tailAs<ButtonTail>()->elements));
        EXPECT_EQ(t->states, b.tailAs<ButtonTail>()->states);
    } else if (auto* t = a.tailAs<BitmapTail>()) {
        EXPECT_EQ(t->picture, b.tailAs<BitmapTail>()->picture);
    } else if (auto* t = a.tailAs<IterationTail>()) {
        auto* u = b.tailAs<IterationTail>();
        EXPECT_EQ(ids(t->participants), ids(u->participants));
        EXPECT_EQ(t->images, u->images);
        EXPECT_EQ(std::vector<int>({t->iterations, t->countFromElement, t->destinationCount,
                                    t->lastOnly, t->drawPoints, t->ownColour, t->initialCount}),
                  std::vector<int>({u->iterations, u->countFromElement, u->destinationCount,
                                    u->lastOnly, u->drawPoints, u->ownColour, u->initialCount}));
    }
}

struct TempDir {
    fs::path path;
    TempDir() {
        path = fs::temp_directory_path() /
               ("qorv-files-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() {
        std::error_code ec;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path, ec);
    }
    std::string file(const std::string& name) const { return (path / name).string(); }
    size_t entries() const {
        return size_t(std::distance(fs::directory_iterator(path), fs::directory_iterator()));
    }
};

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

int32_t wordAt(const std::vector<uint8_t>& b, size_t offset) {
    int32_t v;
    std::memcpy(&v, b.data() + offset, 4);
    return v;
}

// A polygon of n vertices, all at the origin.
void addPolygon(Document& doc, int n, const CreationOptions& opts) {
    ConstructionBuilder mk(doc);
    mk.opts = opts;
    std::vector<Element*> v;
    for (int i = 0; i < n; ++i)
        v.push_back(mk.point(0, 0));
    mk.make(Method::Polygon, nullptr, nullptr, nullptr, v);
}

} // namespace

// ---- round trips --------------------------------------------------------------------------------

TEST(DocumentFile, EveryMethodRoundTripsWithItsFieldsAndTail) {
    SampleDocument s;
    std::set<int> methods;
    for (Element* e : listOf(s.doc))
        methods.insert(e->method);
    for (int m = 0; m < Method::Count; ++m)
        EXPECT_EQ(methods.count(m), isListMethod(m) ? 1u : 0u) << "method " << m;

    const std::vector<uint8_t> first = encodeDocument(s.doc);
    Document read;
    ReadOptions o;
    o.viewWidth = 800;
    o.viewHeight = 600;
    const ReadResult r = readBytes(read, first, FileType::Document, o);
    ASSERT_EQ(r.kind, FileKind::Document);
    EXPECT_EQ(r.version, 900);
    EXPECT_EQ(r.type, 10);
    EXPECT_FALSE(r.hasWindow);
    EXPECT_EQ(r.first, read.head);
    EXPECT_EQ(read.modified, 0);

    const auto a = listOf(s.doc), b = listOf(read);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i)
        expectSameElement(*a[i], *b[i]);

    // Writing what was read gives the same bytes.
    EXPECT_EQ(encodeDocument(read), first);
}

TEST(DocumentFile, ViewFontsUnitsTraceAndAnimationsSurvive) {
    SampleDocument s;
    s.doc.kindColors[Kind::Text] = 0x0a0b0c; // not among the stored kinds
    DocumentDefaults defaults = DocumentDefaults::builtIn();
    defaults.kindColors[Kind::Text] = 0x55;
    Document read;
    ReadOptions o;
    o.defaults = &defaults;
    o.viewWidth = 800;
    o.viewHeight = 600;
    ASSERT_EQ(readBytes(read, encodeDocument(s.doc), 10, o).kind, FileKind::Document);
    EXPECT_EQ(read.left, -123.25);
    EXPECT_EQ(read.top, 77.5);
    EXPECT_EQ(read.right, -123.25 + 800);
    EXPECT_EQ(read.bottom, 77.5 - 600);
    EXPECT_EQ(read.background, 0x102030);
    EXPECT_EQ(read.hiddenColor, 0x405060);
    EXPECT_EQ(read.selectedColor, 0x708090);
    EXPECT_EQ(read.fonts, s.doc.fonts);
    for (int k : {0, 1, 2, 3, 4, 5, 6, 7, 8, 13, 20, 24}) {
        EXPECT_EQ(read.kindColors[size_t(k)], s.doc.kindColors[size_t(k)]) << k;
        EXPECT_EQ(read.kindShapes[size_t(k)], s.doc.kindShapes[size_t(k)]) << k;
    }
    EXPECT_EQ(read.kindColors[Kind::Text], 0x55);
    // The document's fonts keep 31 characters of their name.
    s.doc.fonts[FontSlot::Names].name = std::string(31, 'n') + "ñandú";
    Document cut;
    ASSERT_EQ(readBytes(cut, encodeDocument(s.doc)).kind, FileKind::Document);
    EXPECT_EQ(cut.fonts[FontSlot::Names].name, std::string(31, 'n'));
    s.doc.fonts[FontSlot::Names].name = std::string(30, 'n') + "ñandú";
    ASSERT_EQ(readBytes(cut, encodeDocument(s.doc)).kind, FileKind::Document);
    EXPECT_EQ(cut.fonts[FontSlot::Names].name, std::string(30, 'n') + "ñ");
    EXPECT_EQ(read.lengthUnit, LengthUnit::Mm);
    EXPECT_EQ(read.angleUnit, AngleUnit::Gra);
    EXPECT_EQ(read.pixelsPerUnit, 37.75);
    EXPECT_EQ(read.constantLengthsWithZoom, 1);
    EXPECT_EQ(read.coordinateSystem, 1);
    EXPECT_EQ(read.antialiased, 1);
    ASSERT_EQ(read.traceList.size(), 2u);
    EXPECT_EQ(read.traceList[0]->id, s.doc.traceList[0]->id);
    EXPECT_EQ(read.traceList[1]->method, Method::Locus);
    ASSERT_EQ(read.animations.size(), 2u);
    EXPECT_EQ(read.animations[1].element->method, Method::Parameter);
    EXPECT_EQ(read.animations[1].settings[0], -4);
    EXPECT_EQ(read.animations[1].settings[2], 60);
    // Names become their element's label again.
    Element* a = read.head;
    ASSERT_NE(a->nameElement, nullptr);
    EXPECT_EQ(read.nameOf(a), "A");
}

TEST(DocumentFile, MacrosKeepTheirHeadTextsAndTemplateIds) {
    SampleDocument s;
    Document read;
    ASSERT_EQ(readBytes(read, encodeDocument(s.doc)).kind, FileKind::Document);
    for (int i = 0; i < 2; ++i) {
        const MacroSlot& m = read.macros[size_t(i)];
        ASSERT_TRUE(m.used);
        EXPECT_EQ(m.version, i == 0 ? 900 : 100);
        EXPECT_EQ(m.head, s.doc.macros[size_t(i)].head);
        EXPECT_EQ(m.name, s.doc.macros[size_t(i)].name);
        EXPECT_EQ(m.texts, s.doc.macros[size_t(i)].texts);
        ASSERT_NE(m.first, nullptr);
        ASSERT_NE(m.first->next, nullptr);
        // Template numbers stay as they are; nothing is linked.
        EXPECT_EQ(m.first->id, 2);
        EXPECT_EQ(m.first->parent2.id, 1);
        EXPECT_EQ(m.first->visible, Internal);
        EXPECT_EQ(m.first->parent1, nullptr);
        EXPECT_EQ(m.first->next->method, Method::Midpoint);
        EXPECT_EQ(m.first->next->next, nullptr);
    }
    EXPECT_FALSE(read.macros[2].used);
}

TEST(DocumentFile, PentagonWritesFiveSideBlocksAndReadsBackAClosedPolygon) {
    SampleDocument s;
    Document doc;
    addPolygon(doc, 5, s.opts);
    const auto bytes = encodeDocument(doc);

    // Method 14, five sides, then per side its id, three parent ids and four doubles: the
    // polygon is element 6, its sides 7..11, side i joins vertex i+1 to vertex (i+1)%5+1.
    size_t at = 0;
    for (size_t i = 0; i + 8 <= bytes.size(); i += 1)
        if (wordAt(bytes, i) == 14 && wordAt(bytes, i + 4) == 5 && wordAt(bytes, i + 8) == 7)
            at = i;
    ASSERT_NE(at, 0u);
    for (int i = 0; i < 5; ++i) {
        const size_t block = at + 8 + size_t(i) * 48;
        EXPECT_EQ(wordAt(bytes, block), 7 + i);
        EXPECT_EQ(wordAt(bytes, block + 4), i + 1);
        EXPECT_EQ(wordAt(bytes, block + 8), (i + 1) % 5 + 1);
        EXPECT_EQ(wordAt(bytes, block + 12), 6);
    }
    EXPECT_EQ(wordAt(bytes, at + 8 + 5 * 48), 6); // the polygon's own id starts its tail

    Document read;
    ASSERT_EQ(readBytes(read, bytes).kind, FileKind::Document);
    Element* poly = read.tail;
    auto* t = poly->tailAs<PolygonTail>();
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->sides.size(), 5u);
    auto vs = listOf(read);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(t->sides[i]->method, Method::PolygonSide);
        EXPECT_EQ(t->sides[i]->parent1, vs[i]);
        EXPECT_EQ(t->sides[i]->parent2, vs[(i + 1) % 5]);
        EXPECT_EQ(t->sides[i]->parent3, poly);
        EXPECT_EQ(t->sides[i]->color, poly->color);
    }
}

TEST(DocumentFile, ViewerModeFileOpensAsADocumentAndHandsBackTheWindow) {
    TempDir dir;
    SampleDocument s;
    SaveOptions so;
    so.viewerMode = true;
    so.window = WindowRecord{10, 20, 480, 640, 2};
    const std::string path = dir.file("visor.qrv");
    ASSERT_TRUE(saveDocument(s.doc, path, so));
    WindowRecord w;
    EXPECT_EQ(probeFile(path, &w), FileKind::DocumentWithWindow);
    EXPECT_EQ(w, so.window);
    Document read;
    const ReadResult r = readDocumentFile(read, path, FileType::Document);
    EXPECT_EQ(r.kind, FileKind::Document);
    EXPECT_TRUE(r.hasWindow);
    EXPECT_EQ(r.window, so.window);
    EXPECT_EQ(read.fileName, path);
    EXPECT_EQ(read.elementCount(), s.doc.elementCount());
    EXPECT_EQ(probeFile(dir.file("missing.qrv")), FileKind::Invalid);
}

TEST(DocumentFile, UnusedInternalElementsAreNotWritten) {
    Document doc;
    ConstructionBuilder mk(doc);
    Element* a = mk.point(0, 0);
    Element* lone = mk.point(1, 0);
    lone->visible = Internal;
    Element* chainStart = mk.point(2, 0);
    chainStart->visible = Internal;
    Element* chainEnd = mk.make(Method::Midpoint, chainStart, a);
    chainEnd->visible = Internal; // internal too: the whole chain serves nothing
    Element* needed = mk.point(3, 0);
    needed->visible = Internal;
    mk.make(Method::Midpoint, needed, a); // visible, so `needed` stays

    TempDir dir;
    ASSERT_TRUE(saveDocument(doc, dir.file("a.qrv")));
    Document read;
    ASSERT_EQ(readDocumentFile(read, dir.file("a.qrv"), 10).kind, FileKind::Document);
    std::vector<double> xs;
    for (Element* e : listOf(read))
        xs.push_back(e->method == Method::FreePoint ? e->value[0] : -1);
    EXPECT_EQ(xs, (std::vector<double>{0, 3, -1}));
    EXPECT_EQ(doc.elementCount(), 3);
}

// An internal point that only a sub-element refers to is used all the same: every reference of
// every sub-element counts, whichever slot it is in.
TEST(DocumentFile, InternalElementsThatOnlySubElementsUseAreWritten) {
    enum Slot { SideEnd, AxisStart, AxisThird, CoordinateStart, CoordinateThird };
    for (const Slot slot : {SideEnd, AxisStart, AxisThird, CoordinateStart, CoordinateThird}) {
        SCOPED_TRACE(slot);
        OwningBuilder b;
        Element* a = b.point(0, 0);
        Element* c = b.point(50, 80);
        Element* used = b.point(77, -33);
        used->visible = Internal;
        Element* owner = nullptr;
        Element* sub = nullptr;
        Ref* ref = nullptr;
        if (slot == SideEnd) {
            owner = b.make(Method::Polygon, nullptr, nullptr, nullptr, {a, c, b.point(9, 9)});
            sub = owner->subElement(0);
            ref = &sub->parent2;
        } else if (slot == AxisStart || slot == AxisThird) {
            owner = b.make(Method::Axes, a);
            sub = owner->subElement(1);
            ref = slot == AxisStart ? &sub->parent1 : &sub->parent3;
        } else {
            owner = b.make(Method::Coordinates, c);
            sub = owner->subElement(0);
            ref = slot == CoordinateStart ? &sub->parent1 : &sub->parent3;
        }
        *ref = used;
        const int subIndex = sub == owner->subElement(0) ? 0 : 1;

        TempDir dir;
        ASSERT_TRUE(saveDocument(b.doc, dir.file("a.qrv")));
        Document read;
        ASSERT_EQ(readDocumentFile(read, dir.file("a.qrv"), FileType::Document).kind,
                  FileKind::Document);
        Element* readOwner = nullptr;
        for (Element* e : listOf(read))
            if (e->method == owner->method) readOwner = e;
        ASSERT_NE(readOwner, nullptr);
        const Element* readSub = readOwner->subElement(subIndex);
        const Element* target = slot == SideEnd                                ? readSub->parent2
                                : slot == AxisStart || slot == CoordinateStart ? readSub->parent1
                                                                               : readSub->parent3;
        ASSERT_NE(target, nullptr);
        EXPECT_EQ(target->visible, Internal);
        EXPECT_EQ(target->value[0], 77);
    }
}

// Trace and animation entries may name sub-elements; when their owner is an unused internal
// element, saving drops them with it.
TEST(DocumentFile, SavingDropsTraceAndAnimationEntriesOfRemovedSubElements) {
    OwningBuilder b;
    Element* a = b.point(0, 0);
    Element* c = b.point(50, 80);
    Element* polygon = b.make(Method::Polygon, nullptr, nullptr, nullptr, {a, c, b.point(9, 9)});
    Element* axes = b.make(Method::Axes, a);
    Element* coordinates = b.make(Method::Coordinates, c);
    for (Element* e : {polygon, axes, coordinates})
        e->visible = Internal;
    Element* kept = b.point(1, 1);
    b.doc.traceList = {polygon->subElement(1), kept, axes->subElement(0)};
    b.doc.animations.push_back(AnimationRecord{coordinates->subElement(1), {1, 2, 3}});
    b.doc.animations.push_back(AnimationRecord{kept, {4, 5, 6}});
    b.doc.animations.push_back(AnimationRecord{axes->subElement(1), {7, 8, 9}});

    TempDir dir;
    ASSERT_TRUE(saveDocument(b.doc, dir.file("a.qrv")));
    EXPECT_EQ(b.doc.elementCount(), 4);
    EXPECT_EQ(b.doc.traceList, std::vector<Element*>{kept});
    ASSERT_EQ(b.doc.animations.size(), 1u);
    EXPECT_EQ(b.doc.animations[0].element, kept);
    Document read;
    ASSERT_EQ(readDocumentFile(read, dir.file("a.qrv"), FileType::Document).kind,
              FileKind::Document);
    ASSERT_EQ(read.traceList.size(), 1u);
    EXPECT_EQ(read.traceList[0]->value[0], 1);
    ASSERT_EQ(read.animations.size(), 1u);
    EXPECT_EQ(read.animations[0].element->value[0], 1);
    EXPECT_EQ(read.animations[0].settings[2], 6);
}

// ---- older versions -----------------------------------------------------------------------------

TEST(DocumentFile, Version299GetsTheDefaultsOfLaterFields) {
    FileBytes g;
    g.i32(299).i32(1); // type 1 is a document before 301
    g.i32(0x000001).i32(AngleUnit::Deg).i32(40).i32(0).f64(10).f64(20);
    g.i32(0);                             // no traced elements
    g.i32(1).i32(1).i32(4).i32(5).i32(6); // one animation of element 1
    g.i32(Method::FreePoint).common(299, 1, -1, -1, -1, 3, 4, 0, false);
    g.i32(Method::DistancePointPoint).common(299, 2, 1, 1, -1, 0, 0, 100, false);
    g.i32(Method::LineEquation).str("y = x").common(299, 3, -1, -1, -1, 0, 0, 100, false);
    g.i32(Method::Text).i32(1).str("hola").font("Courier", 0x10, 8);
    g.common(299, 4, -1, -1, -1, 0, 0, 1, false);
    g.i32(Method::Axes).f64(40).f64(40);
    for (int id : {6, 7})
        g.i32(id).i32(1).i32(5).i32(-1).f64(0).f64(0).f64(0).f64(0);
    g.common(299, 5, 1, -1, -1, 0, 0, 1, false);
    g.i32(Method::Parameter).f64(-3).f64(3).common(299, 8, -1, -1, -1, 1, 0, 100, false);

    Document doc;
    const ReadResult r = readBytes(doc, g.bytes());
    ASSERT_EQ(r.kind, FileKind::Document);
    EXPECT_EQ(r.version, 299);
    EXPECT_EQ(r.type, 10);
    EXPECT_EQ(doc.lengthUnit, LengthUnit::Cm);
    EXPECT_EQ(doc.angleUnit, AngleUnit::Deg);
    EXPECT_EQ(doc.pixelsPerUnit, 40.0);
    EXPECT_EQ(doc.hiddenColor, 0xbebe);
    EXPECT_EQ(doc.selectedColor, 0xffaaaa);
    EXPECT_EQ(doc.fonts, DocumentDefaults::builtIn().fonts);
    ASSERT_EQ(doc.animations.size(), 1u);
    // The 200 format (up to 300) kept the last setting five times smaller.
    EXPECT_EQ(doc.animations[0].settings[2], 30);
    auto v = listOf(doc);
    ASSERT_EQ(v.size(), 6u);
    for (Element* e : v) {
        EXPECT_EQ(e->colorParam.id, -1);
        EXPECT_EQ(e->colorParamMode, 0);
        EXPECT_EQ(e->decimals, 2);
        EXPECT_EQ(e->unitShown, 0);
    }
    EXPECT_EQ(v[0]->option2, 0);
    EXPECT_EQ(v[1]->option2, NoValue);
    EXPECT_EQ(v[5]->option2, NoValue);
    ASSERT_NE(v[1]->font, nullptr);
    EXPECT_EQ(*v[1]->font, (FontRecord{"Arial", 12632256, 10, 0, 0, 0, 0}));
    EXPECT_EQ(v[1]->parent1, v[0]);
    EXPECT_EQ(v[2]->tailAs<EquationTail>()->labelPosition, 0.0);
    EXPECT_EQ(v[2]->tailAs<EquationTail>()->text, "y = x");
    auto* text = v[3]->tailAs<TextTail>();
    EXPECT_EQ(text->font, (FontRecord{"Courier", 0x10, 8, 0, 0, 0, 0}));
    ASSERT_EQ(text->runs.size(), 1u);
    EXPECT_EQ(text->runs[0].length, 4);
    EXPECT_EQ(text->x, 250);
    EXPECT_EQ(text->y, 355);
    EXPECT_EQ(v[4]->option, -1); // axes before 900
    EXPECT_EQ(v[4]->tailAs<AxesTail>()->xAxis->parent2, v[4]);
    EXPECT_EQ(v[5]->tailAs<ParameterTail>()->step, 0.01);
    EXPECT_EQ(v[5]->tailAs<ParameterTail>()->maximum, 3);
}

// Each rule that changes between versions 300 and 899 read from both sides of its threshold:
// a field present from version T is read from a file of version T and takes its default in a
// file of version T - 1, with everything after it still in place.
TEST(DocumentFile, EachVersionThresholdIsReadFromBothSides) {
    const DocumentDefaults& d = DocumentDefaults::builtIn();
    for (const int32_t v : {399, 400, 499, 500, 599, 600, 699, 700, 799, 800, 801}) {
        SCOPED_TRACE(v);
        FileBytes f;
        f.i32(v).i32(10).i32(0x000001);
        if (v >= 500) f.i32(0x0a0b0c).i32(0x0d0e0f);
        if (v >= 600) {
            for (int i = 0; i < 4; ++i) // file order: cursor, numbers, names, texts
                f.font("F" + std::to_string(i), 0x10 + i, 20 + i);
            for (int k = 0; k < 12; ++k) // kinds 0, 1, 2, 3, 5, 6, 4, 7, 8, 13, 20, 24
                f.i32(0x100 + k);
            for (int k = 0; k < 12; ++k)
                f.i32(2 + k % 5);
        }
        f.i32(LengthUnit::Mm).i32(AngleUnit::Deg);
        if (v >= 600)
            f.f64(37.5);
        else
            f.i32(37);
        if (v >= 801) f.i32(1);
        f.i32(0); // rectangular
        if (v >= 500) f.i32(1);
        f.f64(10).f64(20).i32(0).i32(0);
        f.i32(Method::FreePoint).common(v, 1, -1, -1, -1, 3, 4, 0, false, 0x111111, 0x222222);
        f.i32(Method::Text).i32(1);
        if (v >= 400) f.i32(2);
        f.str("hola").font("Courier", 0x30, 9);
        if (v >= 400) f.font("A", 1, 11).i32(2).font("B", 2, 12).i32(2);
        if (v >= 600) f.i32(7).i32(8).i32(1);
        f.common(v, 2, -1, -1, -1, 0, 0, 1, false);
        f.i32(Method::Parameter).f64(-3).f64(3);
        if (v >= 700) f.f64(0.5);
        f.common(v, 3, -1, -1, -1, 1, 0, 100, true);

        Document doc;
        ASSERT_EQ(readBytes(doc, f.bytes()).kind, FileKind::Document);
        const auto list = listOf(doc);
        ASSERT_EQ(list.size(), 3u);
        EXPECT_EQ(doc.lengthUnit, LengthUnit::Mm);
        EXPECT_EQ(doc.angleUnit, AngleUnit::Deg);
        EXPECT_EQ(doc.left, 10);
        EXPECT_EQ(doc.top, 20);
        // 500: colours of hidden and selected elements, anti-aliasing.
        EXPECT_EQ(doc.hiddenColor, v >= 500 ? 0x0a0b0c : 0xbebe);
        EXPECT_EQ(doc.selectedColor, v >= 500 ? 0x0d0e0f : 0xffaaaa);
        EXPECT_EQ(doc.antialiased, v >= 500 ? 1 : 0);
        // 600: the four fonts, the per-kind tables and a fractional unit length.
        if (v >= 600) {
            EXPECT_EQ(doc.fonts[FontSlot::Cursor], (FontRecord{"F0", 0x10, 20, 0, 0, 0, 0}));
            EXPECT_EQ(doc.fonts[FontSlot::Numbers].name, "F1");
            EXPECT_EQ(doc.fonts[FontSlot::Names].name, "F2");
            EXPECT_EQ(doc.fonts[FontSlot::Texts].name, "F3");
            EXPECT_EQ(doc.kindColors[Kind::Circle], 0x104);
            EXPECT_EQ(doc.kindColors[Kind::Iteration], 0x10b);
            EXPECT_EQ(doc.kindShapes[Kind::Polygon], 3);
        } else {
            EXPECT_EQ(doc.fonts, d.fonts);
            EXPECT_EQ(doc.kindColors, d.kindColors);
            EXPECT_EQ(doc.kindShapes, d.kindShapes);
        }
        EXPECT_EQ(doc.pixelsPerUnit, v >= 600 ? 37.5 : 37.0);
        // 801: lengths constant under zoom.
        EXPECT_EQ(doc.constantLengthsWithZoom, v >= 801 ? 1 : 0);
        // 800: the two colours of a parametric colour.
        EXPECT_EQ(list[0]->colorParamFrom, v >= 800 ? 0x111111 : 0);
        EXPECT_EQ(list[0]->colorParamTo, v >= 800 ? 0x222222 : 0);
        EXPECT_EQ(list[0]->value[0], 3);
        // 400: font runs; 600: the text's place and flag.
        const auto* text = list[1]->tailAs<TextTail>();
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->lines, std::vector<std::string>{"hola"});
        EXPECT_EQ(text->font.name, "Courier");
        if (v >= 400) {
            ASSERT_EQ(text->runs.size(), 2u);
            EXPECT_EQ(text->runs[1].font.name, "B");
            EXPECT_EQ(text->runs[1].length, 2);
        } else {
            ASSERT_EQ(text->runs.size(), 1u);
            EXPECT_EQ(text->runs[0].font.name, "Courier");
            EXPECT_EQ(text->runs[0].length, 4);
        }
        EXPECT_EQ(text->x, v >= 600 ? 7 : 250);
        EXPECT_EQ(text->y, v >= 600 ? 8 : 355);
        EXPECT_EQ(text->flag, v >= 600 ? 1 : 0);
        // 700: the parameter's step.
        const auto* param = list[2]->tailAs<ParameterTail>();
        ASSERT_NE(param, nullptr);
        EXPECT_EQ(param->step, v >= 700 ? 0.5 : 0.01);
        EXPECT_EQ(param->maximum, 3);
        EXPECT_EQ(list[2]->decimals, 4);
    }
}

TEST(DocumentFile, Version100CorrectionsAndVersion200AnimationScale) {
    DocumentDefaults defaults = DocumentDefaults::builtIn();
    defaults.fonts[FontSlot::Texts] = FontRecord{"Script", 0x99, 17, 1, 0, 0, 0};
    ReadOptions o;
    o.defaults = &defaults;
    FileBytes f;
    f.i32(100).i32(1).section(100);
    f.i32(Method::FreePoint).common(100, 1, -1, -1, -1, 0, 0, 0, false);
    f.i32(Method::CircleByCentre).common(100, 2, 1, -1, -1, 0, 0, 7, false);
    f.i32(Method::Text).i32(2).str("uno").str("d\xf3s").common(100, 3, -1, -1, -1, 0, 0, 2, false);
    f.i32(Method::Parameter).f64(0).f64(1).common(100, 4, -1, -1, -1, 0, 0, 100, false);
    Document doc;
    ASSERT_EQ(readBytes(doc, f.bytes(), 10, o).kind, FileKind::Document);
    auto v = listOf(doc);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[0]->shape, 2);
    EXPECT_EQ(v[1]->option, -1);
    EXPECT_EQ(v[2]->shape, -1);
    EXPECT_EQ(v[2]->tailAs<TextTail>()->font, defaults.fonts[FontSlot::Texts]);
    EXPECT_EQ(v[2]->tailAs<TextTail>()->lines[1], "dós");
    EXPECT_EQ(v[2]->tailAs<TextTail>()->runs[0].length, 3 + 2 + 3); // characters, not bytes
    EXPECT_EQ(v[3]->shape, -1);

    FileBytes g;
    g.i32(200).i32(1);
    g.i32(0).i32(AngleUnit::Rad).i32(40).i32(0).f64(0).f64(0);
    g.i32(0).i32(1).i32(1).i32(0).i32(0).i32(7);
    g.i32(Method::FreePoint).common(200, 1, -1, -1, -1, 0, 0, 0, false);
    Document doc2;
    ASSERT_EQ(readBytes(doc2, g.bytes()).kind, FileKind::Document);
    ASSERT_EQ(doc2.animations.size(), 1u);
    EXPECT_EQ(doc2.animations[0].settings[2], 35);
}

// Only version 100 lacks the trace and animation lists and the text's font record; every later
// version below 200 has them.
TEST(DocumentFile, VersionsAfter100HaveTraceAnimationAndTextFont) {
    for (const int32_t v : {101, 150, 199}) {
        SCOPED_TRACE(v);
        FileBytes f;
        f.i32(v).i32(1);
        f.i32(0).i32(AngleUnit::Rad).i32(40).i32(0).f64(0).f64(0);
        f.i32(1).i32(1);                      // element 1 traced
        f.i32(1).i32(3).i32(1).i32(2).i32(3); // element 3 animated
        f.i32(Method::FreePoint).common(v, 1, -1, -1, -1, 5, 6, 0, false);
        f.i32(Method::Text).i32(1).str("hola").font("Courier", 0x10, 8);
        f.common(v, 2, -1, -1, -1, 0, 0, 1, false);
        f.i32(Method::Parameter).f64(0).f64(1).common(v, 3, -1, -1, -1, 0, 0, 100, false);
        Document doc;
        ASSERT_EQ(readBytes(doc, f.bytes()).kind, FileKind::Document);
        const auto list = listOf(doc);
        ASSERT_EQ(list.size(), 3u);
        EXPECT_EQ(doc.traceList, std::vector<Element*>{list[0]});
        ASSERT_EQ(doc.animations.size(), 1u);
        EXPECT_EQ(doc.animations[0].element, list[2]);
        EXPECT_EQ(list[1]->tailAs<TextTail>()->font, (FontRecord{"Courier", 0x10, 8, 0, 0, 0, 0}));
        EXPECT_EQ(list[1]->tailAs<TextTail>()->lines, std::vector<std::string>{"hola"});
        // The corrections of the first format are version 100's alone.
        EXPECT_EQ(list[0]->shape, 2);
        EXPECT_EQ(list[2]->shape, 2);
    }
}

// ---- refusals -----------------------------------------------------------------------------------

TEST(DocumentFile, NewerVersionsAndForeignTypesAreRefused) {
    SampleDocument s;
    const Element* before = s.doc.head;
    auto bytes = encodeDocument(s.doc);
    const auto snapshot = bytes;
    int32_t v = 901;
    std::memcpy(bytes.data(), &v, 4);
    EXPECT_EQ(readBytes(s.doc, bytes).kind, FileKind::Newer);
    int32_t type = 11;
    std::memcpy(bytes.data() + 4, &type, 4);
    EXPECT_EQ(readBytes(s.doc, bytes).kind, FileKind::Newer);
    type = 5;
    std::memcpy(bytes.data() + 4, &type, 4);
    EXPECT_EQ(readBytes(s.doc, bytes).kind, FileKind::Invalid);
    v = 99;
    type = 10;
    std::memcpy(bytes.data(), &v, 4);
    std::memcpy(bytes.data() + 4, &type, 4);
    EXPECT_EQ(readBytes(s.doc, bytes).kind, FileKind::Invalid);
    // Type 1 and 2 mean something only before 301.
    v = 301;
    type = 1;
    std::memcpy(bytes.data(), &v, 4);
    std::memcpy(bytes.data() + 4, &type, 4);
    EXPECT_EQ(readBytes(s.doc, bytes).kind, FileKind::Invalid);
    EXPECT_EQ(s.doc.head, before);
    EXPECT_EQ(encodeDocument(s.doc), snapshot);

    TempDir dir;
    std::ofstream(dir.file("new.qrv"), std::ios::binary)
        .write(reinterpret_cast<const char*>("\x85\x03\x00\x00\x0a\x00\x00\x00"), 8);
    EXPECT_EQ(probeFile(dir.file("new.qrv")), FileKind::Newer);
}

TEST(DocumentFile, WrongCountOrCutStringLeavesTheDocumentUnchanged) {
    SampleDocument s;
    Element* head = s.doc.head;
    const auto snapshot = encodeDocument(s.doc);

    // A polygon that claims more sides than the file holds.
    Document small;
    addPolygon(small, 3, s.opts);
    auto bytes = encodeDocument(small);
    size_t at = 0;
    for (size_t i = 0; i + 8 <= bytes.size(); ++i)
        if (wordAt(bytes, i) == 14 && wordAt(bytes, i + 4) == 3) at = i + 4;
    ASSERT_NE(at, 0u);
    for (int32_t n : {4, 1000, INT32_MAX, -1}) {
        auto bad = bytes;
        std::memcpy(bad.data() + at, &n, 4);
        EXPECT_EQ(readBytes(s.doc, bad).kind, FileKind::Invalid) << n;
    }
    // Fewer sides than written leaves bytes that are not a record.
    int32_t two = 2;
    std::memcpy(bytes.data() + at, &two, 4);
    EXPECT_EQ(readBytes(s.doc, bytes).kind, FileKind::Invalid);

    // A string cut off by the end of the file, and one longer than the limit.
    FileBytes f;
    f.i32(900).i32(10).section(900);
    f.i32(Method::Name).i32(20);
    f.w.bytes("abc", 3);
    EXPECT_EQ(readBytes(s.doc, f.bytes()).kind, FileKind::Invalid);
    FileBytes g;
    g.i32(900).i32(10).section(900);
    g.i32(Method::Name).str(std::string(1016, 'x')).f64(0).f64(0).f64(0).f64(0);
    g.common(900, 1, -1, -1, -1, 0, 0, 1, true);
    EXPECT_EQ(readBytes(s.doc, g.bytes()).kind, FileKind::Invalid);

    EXPECT_EQ(s.doc.head, head);
    EXPECT_EQ(encodeDocument(s.doc), snapshot);
}

TEST(DocumentFile, LongStringsAreCutWhereReadingStops) {
    Document doc;
    ConstructionBuilder mk(doc);
    mk.req.text = std::string(2000, 'a') + "\n" + std::string(1015, 'b');
    mk.make(Method::Text);
    Document read;
    ASSERT_EQ(readBytes(read, encodeDocument(doc)).kind, FileKind::Document);
    auto* t = read.head->tailAs<TextTail>();
    EXPECT_EQ(t->lines[0], std::string(1015, 'a'));
    EXPECT_EQ(t->lines[1], std::string(1015, 'b'));
}

TEST(DocumentFile, ForwardSelfAndDanglingReferencesBecomeNull) {
    FileBytes f;
    f.i32(900).i32(10).section(900);
    // 1: a point on element 2 (later); 2: a line through 1; 3: a midpoint of itself and of 99;
    // 4: a segment 1-2 coloured by 5 (later, which is allowed for colours); 5: a parameter.
    f.i32(Method::PointOnElement).common(900, 1, 2, -1, -1, 0, 0, 0, false);
    f.i32(Method::LineThroughPoint).common(900, 2, 1, -1, -1, 0, 0, 0, false);
    f.i32(Method::Midpoint).common(900, 3, 3, 99, -1, 0, 0, 0, false);
    auto& seg = f.i32(Method::Segment);
    seg.i32(4).i32(1).i32(2).i32(-1).f64(0).f64(0).f64(0).f64(0);
    seg.i32(1).i32(1).i32(0).i32(0xff).i32(5).i32(1000).i32(0).i32(0).i32(1).i32(0).i32(0).i32(2);
    f.i32(Method::Parameter).f64(0).f64(1).f64(0.1).common(900, 5, -1, -1, -1, 0, 0, 100, true);
    // A button that lists itself and element 1.
    f.i32(Method::ShowHideButton).i32(2).str("b").i32(6).i32(1).i32(0).i32(1);
    f.common(900, 6, -1, -1, -1, 0, 0, 0, true);

    Document doc;
    ASSERT_EQ(readBytes(doc, f.bytes()).kind, FileKind::Document);
    auto v = listOf(doc);
    ASSERT_EQ(v.size(), 6u);
    EXPECT_EQ(v[0]->parent1, nullptr);
    EXPECT_EQ(v[1]->parent1, v[0]);
    EXPECT_EQ(v[2]->parent1, nullptr);
    EXPECT_EQ(v[2]->parent2, nullptr);
    EXPECT_EQ(v[3]->parent1, v[0]);
    EXPECT_EQ(v[3]->colorParam, v[4]);
    auto* b = v[5]->tailAs<ButtonTail>();
    EXPECT_EQ(std::vector<Element*>(b->elements.begin(), b->elements.end()),
              (std::vector<Element*>{nullptr, v[0]}));
    // Stored ids follow the references.
    EXPECT_EQ(v[2]->parent1.id, -1);
    EXPECT_EQ(v[3]->colorParam.id, 5);

    // No cycle: recalculation ends and deleting the first point takes the line, the segment
    // and the button's dependants with it, and nothing hangs.
    recalcUpTo(doc);
    doc.deleteWithDescendants(v[0]);
    std::vector<int> left;
    for (Element* e : listOf(doc))
        left.push_back(e->method);
    EXPECT_EQ(left, (std::vector<int>{Method::Midpoint, Method::Parameter}));
}

// ---- macro files --------------------------------------------------------------------------------

TEST(MacroFile, WrittenAndReadIntoTheNextFreeSlot) {
    SampleDocument s;
    TempDir dir;
    ASSERT_TRUE(writeMacroFile(s.doc.macros[1], dir.file("m.mac")));
    EXPECT_EQ(probeFile(dir.file("m.mac")), FileKind::Macro);

    Document doc;
    doc.macros[0].used = true;
    doc.macros[0].name = "existing";
    const ReadResult r = readDocumentFile(doc, dir.file("m.mac"), FileType::Macro);
    ASSERT_EQ(r.kind, FileKind::Macro);
    EXPECT_EQ(r.macroSlot, 1);
    EXPECT_EQ(r.first, doc.macros[1].first);
    EXPECT_EQ(doc.macros[0].name, "existing");
    EXPECT_EQ(doc.macros[1].name, "mediatriz ñ");
    EXPECT_EQ(doc.macros[1].texts, s.doc.macros[1].texts);
    EXPECT_EQ(doc.macros[1].head, s.doc.macros[1].head);
    EXPECT_EQ(doc.macros[1].first->next->method, Method::Midpoint);
    EXPECT_EQ(doc.head, nullptr);

    // A document is no macro file; a full table takes no more.
    TempDir dir2;
    ASSERT_TRUE(saveDocument(s.doc, dir2.file("d.qrv")));
    Document other;
    EXPECT_EQ(readDocumentFile(other, dir2.file("d.qrv"), FileType::Macro).kind, FileKind::Invalid);
    Document full;
    for (int i = 0; i < Document::MacroSlots; ++i)
        full.macros[size_t(i)].used = true;
    EXPECT_EQ(readDocumentFile(full, dir.file("m.mac"), FileType::Macro).kind, FileKind::Invalid);
    EXPECT_EQ(full.macros[Document::MacroSlots].first, nullptr);
}

TEST(MacroFile, ADocumentWithMoreThanAHundredMacrosIsRefused) {
    FileBytes f;
    f.i32(900).i32(10).section(900);
    for (int i = 0; i < 101; ++i)
        f.i32(-1).i32(900).i32(20).i32(0).str("m").i32(0);
    Document doc;
    EXPECT_EQ(readBytes(doc, f.bytes()).kind, FileKind::Invalid);
    f.bytes().resize(f.bytes().size() - 25); // drop the last macro record
    EXPECT_EQ(readBytes(doc, f.bytes()).kind, FileKind::Document);
    EXPECT_TRUE(doc.macros[99].used);
}

// ---- saving -------------------------------------------------------------------------------------

TEST(SaveDocument, FailureLeavesThePreviousFileIntact) {
    TempDir dir;
    SampleDocument s;
    s.doc.modified = 1;
    EXPECT_FALSE(saveDocument(s.doc, dir.file("missing/folder/a.qrv")));
    EXPECT_FALSE(fs::exists(dir.path / "missing"));
    // A folder in the way is not replaced.
    fs::create_directory(dir.path / "taken.qrv");
    EXPECT_FALSE(saveDocument(s.doc, dir.file("taken.qrv")));
    EXPECT_TRUE(fs::is_directory(dir.path / "taken.qrv"));
    EXPECT_EQ(s.doc.modified, 1); // still unsaved
    EXPECT_EQ(s.doc.fileName, "");

    Document small;
    ConstructionBuilder mk(small);
    mk.opts = s.opts;
    mk.point(0, 0);
    const std::string path = dir.file("doc.qrv");
    ASSERT_TRUE(saveDocument(small, path));
    const auto old = fileBytes(path);
#ifndef _WIN32
    // The disk "fills up" after a few hundred bytes, whoever runs the test.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = old.size() + 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const bool ok = saveDocument(s.doc, path);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(ok);
    EXPECT_EQ(fileBytes(path), old);
    EXPECT_EQ(dir.entries(), 2u); // the document and the folder in the way: no temporary left
    EXPECT_EQ(s.doc.modified, 1);
#endif
    // A good save replaces the file whole and keeps its permissions.
#ifndef _WIN32
    ::chmod(path.c_str(), 0640);
#endif
    ASSERT_TRUE(saveDocument(s.doc, path));
    EXPECT_EQ(s.doc.modified, 0); // saved, under its new name
    EXPECT_EQ(s.doc.fileName, path);
    EXPECT_EQ(fileBytes(path), encodeDocument(s.doc));
#ifndef _WIN32
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
#endif
    EXPECT_EQ(dir.entries(), 2u);
}

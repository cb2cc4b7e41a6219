// DXF files read back by a real DXF library (Debian's python3-ezdxf): entities, coordinates and
// colour numbers.
#include "builder.h"

#include "calc/expression.h"
#include "construction/examples.h"
#include "geometry/dxf.h"
#include "geometry/intersectionpoint.h"
#include "geometry/recalc.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace qorv;
using qorv::testing::Builder;
using qorv::testing::Pi;

namespace {

// Prints the version, then one line per entity of the model space: its type, its colour number,
// then its numbers (LINE x1 y1 x2 y2; CIRCLE cx cy r; ARC cx cy r start end; POLYLINE closed
// x y ...; TEXT x y height, then the text). For each "rgb R G B" argument it also prints the
// index of the nearest palette colour as the library knows the palette (entry 0 black).
constexpr const char* kReader = R"(import sys, ezdxf
from ezdxf.colors import DXF_DEFAULT_COLORS as pal
doc = ezdxf.readfile(sys.argv[1])
print("version", doc.dxfversion)
for e in doc.modelspace():
    t = e.dxftype()
    c = e.dxf.color
    if t == "LINE":
        v = [e.dxf.start.x, e.dxf.start.y, e.dxf.end.x, e.dxf.end.y]
    elif t == "CIRCLE":
        v = [e.dxf.center.x, e.dxf.center.y, e.dxf.radius]
    elif t == "ARC":
        v = [e.dxf.center.x, e.dxf.center.y, e.dxf.radius, e.dxf.start_angle, e.dxf.end_angle]
    elif t == "POLYLINE":
        v = [1 if e.is_closed else 0] + [x for p in e.points() for x in (p[0], p[1])]
    elif t == "TEXT":
        v = [e.dxf.insert.x, e.dxf.insert.y, e.dxf.height]
    else:
        v = []
    print(t, c, " ".join(repr(float(x)) for x in v), "|" + e.dxf.text if t == "TEXT" else "")
for a in sys.argv[2:]:
    r, g, b = (int(x) for x in a.split(","))
    best = min(range(256), key=lambda i: (
        (r - (0 if i == 0 else pal[i] >> 16)) ** 2 + (g - (0 if i == 0 else (pal[i] >> 8) & 255)) ** 2
        + (b - (0 if i == 0 else pal[i] & 255)) ** 2, i))
    print("nearest", best)
)";

struct Entity {
    std::string type;
    int colour = -1;
    std::vector<double> v;
    std::string text;
};

struct ReadBack {
    std::string version;
    std::vector<Entity> entities;
    std::vector<int> nearest;
};

// The Python that has ezdxf: Debian's own first (a python3 earlier on the PATH may lack it).
std::string pythonWithEzdxf() {
    for (const char* p : {"/usr/bin/python3", "python3"}) {
        const std::string probe = std::string(p) + " -c \"import ezdxf\" >/dev/null 2>&1";
        if (std::system(probe.c_str()) == 0) return p;
    }
    return {};
}

class DxfFile : public ::testing::Test {
  protected:
    void SetUp() override {
        python_ = pythonWithEzdxf();
        if (python_.empty())
            GTEST_SKIP() << "python3-ezdxf is not installed (scripts/install-deps.sh installs it): "
                            "DXF files are not read back";
        dir_ = std::filesystem::temp_directory_path() /
               ("qorv_dxf_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        std::ofstream(dir_ / "read.py") << kReader;
    }
    void TearDown() override {
        std::error_code ec;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
    }

    ReadBack readBack(const Document& doc, const std::vector<Color>& nearestOf = {},
                      const DxfOptions& options = {}) {
        ReadBack r;
        const std::filesystem::path file = dir_ / "out.dxf";
        EXPECT_TRUE(writeDxfFile(doc, file.string(), options));
        std::string command = python_ + " " + (dir_ / "read.py").string() + " " + file.string();
        for (Color c : nearestOf)
            command += " " + std::to_string(colorRed(c)) + "," + std::to_string(colorGreen(c)) +
                       "," + std::to_string(colorBlue(c));
        FILE* pipe = popen((command + " 2>&1").c_str(), "r");
        EXPECT_TRUE(pipe);
        if (!pipe) return r;
        std::string all;
        char buffer[4096];
        while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
            all.append(buffer, n);
        EXPECT_EQ(pclose(pipe), 0) << all;
        std::istringstream lines(all);
        std::string line;
        while (std::getline(lines, line)) {
            std::istringstream in(line);
            std::string word;
            in >> word;
            if (word == "version") {
                in >> r.version;
            } else if (word == "nearest") {
                int i = -1;
                in >> i;
                r.nearest.push_back(i);
            } else {
                Entity e;
                e.type = word;
                in >> e.colour;
                std::string item;
                while (in >> item && item[0] != '|')
                    e.v.push_back(std::stod(item));
                if (const size_t bar = line.find('|'); bar != std::string::npos)
                    e.text = line.substr(bar + 1);
                r.entities.push_back(e);
            }
        }
        return r;
    }

    std::string python_;
    std::filesystem::path dir_;
};

void expectValues(const Entity& e, std::vector<double> expected, double tol = 1e-9) {
    ASSERT_EQ(e.v.size(), expected.size()) << e.type;
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(e.v[i], expected[i], tol) << e.type << " value " << i;
}

} // namespace

TEST_F(DxfFile, CoordinatesAreInTheDocumentsLengthUnit) {
    Builder b;
    b.doc.pixelsPerUnit = 50;
    b.segment(b.point(0, 0), b.point(100, 50));
    b.circle(b.point(-100, 25), b.point(-100, 125));
    const ReadBack r = readBack(b.doc);
    EXPECT_EQ(r.version, "AC1009");
    ASSERT_EQ(r.entities.size(), 2u);
    EXPECT_EQ(r.entities[0].type, "LINE");
    expectValues(r.entities[0], {0, 0, 2, 1});
    EXPECT_EQ(r.entities[1].type, "CIRCLE");
    expectValues(r.entities[1], {-2, 0.5, 2});
}

TEST_F(DxfFile, ColoursAreTheNearestPaletteEntries) {
    Builder b;
    const Color colours[] = {rgb(0, 0, 0),       rgb(255, 0, 0),     rgb(255, 128, 0),
                             rgb(255, 255, 255), rgb(128, 128, 128), rgb(10, 200, 90),
                             rgb(0, 128, 192)};
    for (Color c : colours)
        b.segment(b.point(0, 0), b.point(10, 10))->color = c;
    const ReadBack r = readBack(b.doc, std::vector<Color>(std::begin(colours), std::end(colours)));
    ASSERT_EQ(r.entities.size(), std::size(colours));
    ASSERT_EQ(r.nearest.size(), std::size(colours));
    EXPECT_EQ(r.entities[0].colour, 0) << "black";
    EXPECT_EQ(r.entities[1].colour, 1) << "red";
    EXPECT_EQ(r.entities[3].colour, 7) << "white";
    EXPECT_EQ(r.entities[4].colour, 8) << "grey";
    for (size_t i = 0; i < std::size(colours); ++i)
        EXPECT_EQ(r.entities[i].colour, r.nearest[i]) << "colour " << i;
}

TEST_F(DxfFile, StraightLinesOnlyThroughTwoPointsAndUnclipped) {
    Builder b;
    Element* p = b.point(0, 0);
    Element* q = b.point(40, 0);
    Element* other = b.line(p, q); // method 6
    other->color = rgb(255, 0, 0);
    b.make(Method::PerpendicularLine, other, q);           // method 10: not written
    b.make(Method::LineThroughPoint, p, q);                // method 5: not written
    b.ray(q, b.point(4000, 4000))->color = rgb(0, 0, 255); // method 8: between its points
    const ReadBack r = readBack(b.doc);
    ASSERT_EQ(r.entities.size(), 2u);
    EXPECT_EQ(r.entities[0].type, "LINE");
    EXPECT_EQ(r.entities[0].colour, 1);
    expectValues(r.entities[0], {0, 0, 1, 0});
    EXPECT_EQ(r.entities[1].colour, 5);
    expectValues(r.entities[1], {1, 0, 100, 100});
}

TEST_F(DxfFile, OnlyPointsAndAxesGiveNoEntities) {
    Builder b;
    Element* o = b.point(0, 0);
    b.point(30, 40);
    b.make(Method::Axes, o);
    Element* hidden = b.segment(o, b.point(80, 0));
    hidden->visible = 0;
    const ReadBack r = readBack(b.doc);
    EXPECT_EQ(r.version, "AC1009");
    EXPECT_TRUE(r.entities.empty());
    const std::string text = dxfText(b.doc);
    EXPECT_NE(text.find("2\r\nENTITIES\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n"), std::string::npos);
    // "Ver lo oculto" writes the hidden segment.
    DxfOptions all;
    all.showHidden = true;
    EXPECT_EQ(readBack(b.doc, {}, all).entities.size(), 1u);
}

TEST_F(DxfFile, PolygonsArcsAndLabels) {
    Builder b;
    Element* a = b.point(0, 0);
    Element* c = b.point(80, 0);
    Element* d = b.point(0, 40);
    b.make(Method::Polygon, nullptr, nullptr, nullptr, {a, c, d});
    // Counter-clockwise from (40, 0) through (0, 40) to (-40, 0), and the same arc clockwise.
    Element* e1 = b.point(40, 0);
    Element* e2 = b.point(-40, 0);
    b.make(Method::ArcThreePoints, e1, d, e2);
    b.make(Method::ArcThreePoints, e2, d, e1);
    b.make(Method::SegmentLength, b.segment(a, c));
    const ReadBack r = readBack(b.doc);
    ASSERT_EQ(r.entities.size(), 5u);
    EXPECT_EQ(r.entities[0].type, "POLYLINE");
    expectValues(r.entities[0], {1, 0, 0, 2, 0, 0, 1});
    for (int i : {1, 2}) {
        EXPECT_EQ(r.entities[size_t(i)].type, "ARC");
        expectValues(r.entities[size_t(i)], {0, 0, 1, 0, 180});
    }
    EXPECT_EQ(r.entities[3].type, "LINE");
    EXPECT_EQ(r.entities[4].type, "TEXT");
    EXPECT_NE(r.entities[4].text.find("2"), std::string::npos) << r.entities[4].text;
}

TEST(Dxf, AFileThatCannotBeCreatedIsReported) {
    Builder b;
    b.segment(b.point(0, 0), b.point(10, 0));
    EXPECT_FALSE(writeDxfFile(b.doc, "/nonexistent-folder/qorv/out.dxf"));
}

TEST_F(DxfFile, LociConicsAndTexts) {
    Builder b;
    // A closed locus: the midpoint of a point running round a circle and a fixed point.
    Element* circle = b.circle(b.point(0, 0), b.point(100, 0));
    b.req.value[3] = 0.3;
    Element* driver = b.make(Method::PointOnElement, circle);
    Element* traced = b.make(Method::Midpoint, driver, b.point(300, 40));
    b.opts.locusPoints = 90;
    b.make(Method::Locus, traced, driver);
    // An ellipse and a circle through five points.
    std::vector<Element*> onEllipse, onCircle;
    for (double t : {0.3, 1.2, 2.4, 3.6, 5.0}) {
        onEllipse.push_back(b.point(200 * std::cos(t), 100 * std::sin(t)));
        onCircle.push_back(b.point(-400 + 80 * std::cos(t), 80 * std::sin(t)));
    }
    b.make(Method::Conic, nullptr, nullptr, nullptr, onEllipse);
    b.make(Method::Conic, nullptr, nullptr, nullptr, onCircle);
    b.req.text = "AAAA\nBBBB";
    b.req.value[2] = 20;
    b.req.value[3] = 180;
    const Element* text = b.make(Method::Text);

    const ReadBack r = readBack(b.doc);
    ASSERT_EQ(r.entities.size(), 6u);
    EXPECT_EQ(r.entities[0].type, "CIRCLE");
    const Entity& locus = r.entities[1];
    ASSERT_EQ(locus.type, "POLYLINE");
    EXPECT_EQ(locus.v[0], 0) << "written open, its first vertex repeated";
    ASSERT_EQ(locus.v.size(), 1 + 2 * 91u);
    for (int i = 0; i <= 90; ++i) {
        const double a = (i % 90) * 2 * Pi / 90;
        EXPECT_NEAR(locus.v[size_t(1 + 2 * i)], (150 + 50 * std::cos(a)) / 40, 1e-9);
        EXPECT_NEAR(locus.v[size_t(2 + 2 * i)], (20 + 50 * std::sin(a)) / 40, 1e-9);
    }
    const Entity& ellipse = r.entities[2];
    ASSERT_EQ(ellipse.type, "POLYLINE");
    ASSERT_EQ(ellipse.v.size(), 1 + 2 * 121u);
    for (size_t i = 1; i < ellipse.v.size(); i += 2)
        EXPECT_NEAR(std::pow(ellipse.v[i] / 5, 2) + std::pow(ellipse.v[i + 1] / 2.5, 2), 1, 1e-6);
    EXPECT_EQ(ellipse.v[1], ellipse.v[ellipse.v.size() - 2]);
    EXPECT_EQ(r.entities[3].type, "CIRCLE");
    expectValues(r.entities[3], {-10, 0, 2}, 1e-6);
    // Each line of the text one font height lower than the last, the first one below the top.
    const double h = text->tailAs<TextTail>()->font.size * 96.0 / 72.0 / 40;
    for (int i : {0, 1}) {
        const Entity& t = r.entities[size_t(4 + i)];
        ASSERT_EQ(t.type, "TEXT");
        expectValues(t, {0.5, 4.5 - h - 1.4 * h * i, h}, 1e-9);
        EXPECT_EQ(t.text, i == 0 ? "AAAA" : "BBBB");
    }
}

// Every copy of an iteration is written: Sierpinski's triangle, five levels of three corner
// copies, draws 3 + 9 + 27 + 81 + 243 copies of its three sides.
TEST(Dxf, IterationsWriteEveryCopy) {
    Document doc;
    ASSERT_TRUE(buildExample("sierpinski", doc));
    recalcUpTo(doc);
    const std::string text = dxfText(doc);
    size_t lines = 0;
    for (size_t at = text.find("0\r\nLINE\r\n"); at != std::string::npos;
         at = text.find("0\r\nLINE\r\n", at + 1))
        ++lines;
    EXPECT_EQ(lines, 3u + 3u * (3 + 9 + 27 + 81 + 243));
}

namespace {

// A function of x over [a, b] drawn on axes at the origin, one axis unit 40 pixels (one DXF unit).
Element* graphOf(Builder& b, const char* text, double a, double to) {
    Element* ax = b.make(Method::Axes, b.point(0, 0));
    ax->tailAs<AxesTail>()->scaleX = ax->tailAs<AxesTail>()->scaleY = 40;
    recalcElement(b.doc, *ax);
    b.req.option = FunctionType::YofX;
    b.req.text = text;
    Element* fn = b.make(Method::Function);
    EXPECT_TRUE(compileToTail(*fn->tailAs<ExpressionTail>(), text, {}, {}, FunctionType::YofX));
    recalcElement(b.doc, *fn);
    b.req.value[1] = a;
    b.req.value[2] = to;
    return b.make(Method::FunctionGraph, fn, ax);
}

} // namespace

// A curve is broken where the drawing breaks it: across the asymptote of 1/x, across the gap of
// the square root of x^2 - 1, and where a locus runs off to infinity and comes back.
TEST_F(DxfFile, CurvesBreakWhereTheDrawingBreaksThem) {
    struct Case {
        const char* text;
        double (*y)(double);
        double gapFrom, gapTo; // no vertex, and no polyline crossing, between these x
    };
    const Case cases[] = {
        {"1/x", [](double x) { return 1 / x; }, -0.001, 0.001},
        {"sqr(x^2-1)", [](double x) { return std::sqrt(x * x - 1); }, -0.999, 0.999},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        Builder b;
        ASSERT_EQ(graphOf(b, k.text, -3, 3)->defined, 1);
        const ReadBack r = readBack(b.doc);
        ASSERT_EQ(r.entities.size(), 2u) << "one polyline on each side";
        for (const Entity& e : r.entities) {
            ASSERT_EQ(e.type, "POLYLINE");
            ASSERT_GE(e.v.size(), 1 + 2 * 20u);
            EXPECT_EQ(e.v[0], 0);
            const bool left = e.v[1] < 0;
            for (size_t i = 1; i + 1 < e.v.size(); i += 2) {
                const double x = e.v[i], y = e.v[i + 1];
                EXPECT_EQ(x < 0, left) << "x " << x;
                EXPECT_FALSE(x > k.gapFrom && x < k.gapTo) << "x " << x;
                EXPECT_NEAR(y, k.y(x), 1e-6 * std::max(1.0, std::abs(y))) << "x " << x;
            }
        }
    }

    // D runs along y = 0 from x = -100 to 100; the line through D and (0, 50) meets the line
    // y = 1.25 x + 100 at x = -50 d / (50 + 1.25 d), which runs off at d = -40: x <= -66.7
    // before, x >= -28.6 after, nothing in between.
    Builder b;
    Element* d = b.make(Method::PointOnElement, b.segment(b.point(-100, 0), b.point(100, 0)));
    Element* through = b.line(d, b.point(0, 50));
    Element* fixed = b.line(b.point(0, 100), b.point(40, 150));
    bool swap = false;
    Element* q = b.intersection(through, fixed, intersectionBaseCode(*through, *fixed, swap));
    b.opts.locusPoints = 201;
    ASSERT_EQ(b.make(Method::Locus, q, d)->defined, 1);
    const ReadBack r = readBack(b.doc);
    ASSERT_EQ(r.entities.size(), 5u) << "three lines and two pieces";
    size_t vertices = 0;
    for (size_t i = 3; i < 5; ++i) {
        const Entity& e = r.entities[i];
        ASSERT_EQ(e.type, "POLYLINE");
        const bool left = e.v[1] < -47.0 / 40;
        for (size_t j = 1; j + 1 < e.v.size(); j += 2, ++vertices) {
            const double x = e.v[j] * 40, y = e.v[j + 1] * 40;
            EXPECT_EQ(x < -47, left) << "x " << x;
            EXPECT_TRUE(x <= -66.6 || x >= -28.6) << "x " << x;
            EXPECT_NEAR(y, 1.25 * x + 100, 1e-6 * std::max(1.0, std::abs(y)));
        }
    }
    EXPECT_GE(vertices, 190u);
}

namespace {

// The file's lines (each ended by CR LF), checked to form code / value pairs; the value of each
// code-0 pair in order.
std::vector<std::string> structureOf(const std::string& dxf) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < dxf.size()) {
        const size_t end = dxf.find("\r\n", at);
        if (end == std::string::npos) {
            ADD_FAILURE() << "the file does not end with CR LF";
            break;
        }
        lines.push_back(dxf.substr(at, end - at));
        at = end + 2;
    }
    std::vector<std::string> starts;
    EXPECT_EQ(lines.size() % 2, 0u);
    for (size_t i = 0; i + 1 < lines.size(); i += 2) {
        for (const std::string& l : {lines[i], lines[i + 1]})
            for (char ch : l)
                EXPECT_FALSE(static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f)
                    << "control character in line " << i << ": " << l;
        char* rest = nullptr;
        const long code = std::strtol(lines[i].c_str(), &rest, 10);
        EXPECT_TRUE(!lines[i].empty() && *rest == 0) << "code line " << i << ": " << lines[i];
        if (code == 0) starts.push_back(lines[i + 1]);
    }
    EXPECT_EQ(std::count(starts.begin(), starts.end(), "EOF"), 1);
    EXPECT_EQ(starts.empty() ? "" : starts.back(), "EOF");
    return starts;
}

} // namespace

// Texts, names, labels and equations holding line breaks and other control characters: every
// value stays on its line, and the file has exactly the entities of the same document with
// harmless texts.
TEST_F(DxfFile, ControlCharactersInTextsNeverBreakTheStructure) {
    const std::string hostile[] = {
        "A\r\n0\r\nLINE\r\n8\r\n0\r\n10\r\n0\r\n20\r\n0\r\n11\r\n9\r\n21\r\n9\r\n62\r\n1",
        "x\n0\nEOF\n",
        "\r",
        "tab\there\x1a\x7f\x01",
        std::string("nul\0nul", 7),
        "\n\n0\r\nENDSEC\r\n0\r\nEOF"};
    // Control characters made harmless: '_' where the file shows a space. A text keeps its line
    // breaks, CR LF or LF alike.
    const auto tame = [](std::string s, bool text) {
        if (text) std::erase(s, '\r');
        for (char& ch : s)
            if ((static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f) && !(text && ch == '\n'))
                ch = '_';
        return s;
    };
    const auto build = [&](Builder& b, bool harmless) {
        const auto text = [&](const std::string& s, bool lines = false) {
            return harmless ? tame(s, lines) : s;
        };
        for (const std::string& s : hostile) {
            Element* p = b.point(10, 20);
            Element* q = b.point(70, -20);
            Element* seg = b.segment(p, q);
            b.req.text = text(s);
            b.make(Method::Name, seg)->option = 1;
            b.req.text = text(s);
            b.make(Method::Name, p)->option = 1;
            Element* dist = b.make(Method::DistancePointPoint, p, q);
            b.req.text = text(s);
            b.make(Method::Name, dist)->option = 1;
            Element* ax = b.make(Method::Axes, b.point(0, 0));
            b.make(Method::Coordinates, p, ax);
            b.make(Method::LineEquation, b.line(p, q), ax)->tailAs<EquationTail>()->text = text(s);
            b.req.text = text(s + "\n" + s, true);
            b.req.value[2] = 20;
            b.req.value[3] = 180;
            b.make(Method::Text);
        }
        recalcUpTo(b.doc);
    };
    Builder bad, good;
    build(bad, false);
    build(good, true);
    const std::filesystem::path file = dir_ / "hostile.dxf";
    ASSERT_TRUE(writeDxfFile(bad.doc, file.string()));
    std::ifstream in(file, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), {});
    const std::vector<std::string> starts = structureOf(written);
    const std::vector<std::string> expected = structureOf(dxfText(good.doc));
    EXPECT_EQ(starts, expected);
    EXPECT_GT(std::count(expected.begin(), expected.end(), "TEXT"), 30);
    EXPECT_EQ(std::count(expected.begin(), expected.end(), "LINE"), 12);

    // A DXF library reads the same texts, the control characters shown as spaces.
    const ReadBack r = readBack(bad.doc);
    const ReadBack g = readBack(good.doc);
    ASSERT_EQ(r.entities.size(), g.entities.size());
    for (size_t i = 0; i < r.entities.size(); ++i) {
        EXPECT_EQ(r.entities[i].type, g.entities[i].type);
        std::string shown = g.entities[i].text;
        std::replace(shown.begin(), shown.end(), '_', ' ');
        EXPECT_EQ(r.entities[i].text, shown) << i;
    }
}

// A drawing larger than one piece of the stream reaches the file whole, in place of the old one.
TEST(Dxf, StreamedFilesMatchTheTextAndReplaceTheOldOneWhole) {
    Document doc;
    ASSERT_TRUE(buildExample("sierpinski", doc));
    recalcUpTo(doc);
    const std::string text = dxfText(doc);
    ASSERT_GT(text.size(), 1u << 16) << "spans several pieces";
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("qorv_dxf_stream_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ".dxf");
    { std::ofstream(file, std::ios::binary) << "old"; }
    ASSERT_TRUE(writeDxfFile(doc, file.string()));
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), text);
    std::filesystem::remove(file);
}

// A text line longer than one value of this version (255 characters) goes on in the lines below
// it; the next line of the text moves down with it.
TEST_F(DxfFile, LongTextLinesAreSplitIntoValuesThisVersionHolds) {
    Builder b;
    std::string longLine;
    for (int i = 0; i < 600; ++i)
        longLine += char('a' + i % 26);
    b.req.text = longLine + "\nshort";
    b.req.value[2] = 20;
    b.req.value[3] = 180;
    const Element* text = b.make(Method::Text);
    const ReadBack r = readBack(b.doc);
    ASSERT_EQ(r.entities.size(), 4u);
    const double h = text->tailAs<TextTail>()->font.size * 96.0 / 72.0 / 40;
    std::string joined;
    for (size_t i = 0; i < 4; ++i) {
        const Entity& t = r.entities[i];
        ASSERT_EQ(t.type, "TEXT");
        EXPECT_LE(t.text.size(), 255u);
        expectValues(t, {0.5, 4.5 - h - 1.4 * h * double(i), h}, 1e-9);
        if (i < 3) joined += t.text;
    }
    EXPECT_EQ(joined, longLine);
    EXPECT_EQ(r.entities[3].text, "short");
}

// A locus is written in the colours the drawing gives its samples (the traced point's colour at
// each), a polyline for each run of one colour number, the runs joined end to end.
TEST_F(DxfFile, LociTakeTheColourOfEachSample) {
    Builder b;
    Element* origin = b.point(0, 0);
    Element* d = b.make(Method::PointOnElement, b.segment(origin, b.point(100, 0)));
    Element* traced = b.make(Method::Midpoint, d, b.point(0, 60));
    traced->color = rgb(255, 0, 0);
    b.opts.locusPoints = 60;
    b.make(Method::Locus, traced, d)->color = rgb(0, 0, 255);
    ReadBack r = readBack(b.doc);
    ASSERT_EQ(r.entities.size(), 2u);
    EXPECT_EQ(r.entities[1].type, "POLYLINE");
    EXPECT_EQ(r.entities[1].colour, 1) << "red, as the samples are drawn, not the locus's blue";

    // From red to blue as D's distance from the origin goes from 0 to 1 unit (40 pixels), and
    // again over the next units.
    Builder c;
    Element* o2 = c.point(0, 0);
    Element* d2 = c.make(Method::PointOnElement, c.segment(o2, c.point(100, 0)));
    Element* dist2 = c.make(Method::DistancePointPoint, d2, o2);
    Element* t2 = c.make(Method::Midpoint, d2, c.point(0, 60));
    t2->colorParam = dist2;
    t2->colorParamMode = 1000;
    t2->colorParamFrom = rgb(255, 0, 0);
    t2->colorParamTo = rgb(0, 0, 255);
    c.opts.locusPoints = 60;
    c.make(Method::Locus, t2, d2);
    recalcUpTo(c.doc);
    r = readBack(c.doc);
    std::vector<const Entity*> runs;
    for (const Entity& e : r.entities)
        if (e.type == "POLYLINE") runs.push_back(&e);
    ASSERT_GE(runs.size(), 3u) << "the colour number changes along the curve";
    EXPECT_LT(runs.size(), 59u) << "runs of one colour number are one polyline";
    EXPECT_EQ(runs.front()->colour, 1) << "red where D is at the origin";
    size_t vertices = 0;
    for (size_t i = 0; i < runs.size(); ++i) {
        const std::vector<double>& v = runs[i]->v;
        ASSERT_GE(v.size(), 5u);
        vertices += (v.size() - 1) / 2;
        if (i > 0) {
            EXPECT_NE(runs[i]->colour, runs[i - 1]->colour);
            const std::vector<double>& p = runs[i - 1]->v;
            EXPECT_EQ(v[1], p[p.size() - 2]) << "joined to the run before";
            EXPECT_EQ(v[2], p[p.size() - 1]);
        }
        for (size_t k = 1; k + 1 < v.size(); k += 2)
            EXPECT_NEAR(v[k + 1], 30.0 / 40, 1e-9) << "on the locus y = 30";
    }
    EXPECT_EQ(vertices, 60u + runs.size() - 1) << "every sample, the joins twice";
}

#include "cli/cli.h"

#include "calc/expression.h"
#include "construction/builder.h"
#include "construction/create.h"
#include "geometry/recalc.h"
#include "model/cp1252.h"
#include "model/docfile.h"
#include "model/docfile_samples.h"
#include "model/iteration.h"
#include "model/uitext.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringDecoder>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace qorv;
namespace fs = std::filesystem;

namespace {

struct CliRun {
    int status;
    std::string out, err;
};

CliRun runCli(std::vector<std::string> args) {
    CliRun r;
    r.status = cli::run(args, r.out, r.err);
    return r;
}

struct Files {
    fs::path dir;
    Files() {
        // The process id keeps two runs of the suite on one machine out of each other's files.
        dir = fs::temp_directory_path() /
              ("qorv-cli-" + std::to_string(QCoreApplication::applicationPid()) + "-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~Files() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::string operator()(const std::string& name) const { return (dir / name).string(); }
};

std::string line(int msg) {
    return uiText().message(msg) + "\n";
}

} // namespace

TEST(Cli, InfoCountsElementsAndMacros) {
    Files f;
    qorv::testing::SampleDocument s;
    ASSERT_TRUE(saveDocument(s.doc, f("a.qrv")));
    CliRun r = runCli({"info", f("a.qrv")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "version: 900\ntype: 10\nelements: " + std::to_string(s.doc.elementCount()) +
                         "\nmacros: 2\n");
    ASSERT_TRUE(writeMacroFile(s.doc.macros[0], f("m.mac")));
    EXPECT_EQ(runCli({"info", f("m.mac")}).out, "version: 900\ntype: 20\nelements: 0\nmacros: 1\n");
}

TEST(Cli, DumpIsJsonWithOneEntryPerListElement) {
    Files f;
    qorv::testing::SampleDocument s;
    Element* text = nullptr;
    for (Element* e = s.doc.head; e; e = e->next)
        if (e->method == Method::Text) text = e;
    text->tailAs<TextTail>()->lines = {"dice \"hola\"", "a\\b\tc\x01"};
    s.doc.head->value[2] = std::nan("");
    ASSERT_TRUE(saveDocument(s.doc, f("a.qrv")));
    recalcUpTo(s.doc); // dump recalculates what it read

    CliRun r = runCli({"dump", f("a.qrv")});
    ASSERT_EQ(r.status, 0) << r.err;
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonObject top = json.object();
    EXPECT_EQ(top["version"].toInt(), 900);
    EXPECT_EQ(top["type"].toInt(), 10);
    const QJsonArray elements = top["elements"].toArray();
    ASSERT_EQ(elements.size(), s.doc.elementCount());

    int index = 0;
    for (Element* e = s.doc.head; e; e = e->next, ++index) {
        const QJsonObject o = elements[index].toObject();
        SCOPED_TRACE(index);
        EXPECT_EQ(o["id"].toInt(), e->id);
        EXPECT_EQ(o["method"].toInt(), e->method);
        EXPECT_EQ(o["kind"].toInt(), e->kind());
        EXPECT_EQ(o["defined"].toBool(), e->defined != 0);
        EXPECT_EQ(o["visible"].toInt(), e->visible);
        EXPECT_EQ(o["option"].toInt(), e->option);
        EXPECT_EQ(o["option2"].toInt(), e->option2);
        const QJsonArray parents = o["parents"].toArray();
        ASSERT_EQ(parents.size(), 3);
        EXPECT_EQ(parents[0].toInt(), e->parent1 ? e->parent1->id : -1);
        EXPECT_EQ(parents[2].toInt(), e->parent3 ? e->parent3->id : -1);
        const QJsonArray value = o["value"].toArray();
        ASSERT_EQ(value.size(), 4);
        for (int i = 0; i < 4; ++i) {
            if (std::isfinite(e->value[i])) {
                EXPECT_EQ(value[i].toDouble(), e->value[i]); // 17 digits: exact
            } else {
                EXPECT_TRUE(value[i].isNull());
            }
        }
        EXPECT_EQ(o.contains("conic"), e->method == Method::Conic);
        EXPECT_EQ(o.contains("vertices"), e->method == Method::Polygon);
        if (e->method == Method::Polygon) {
            const QJsonArray v = o["vertices"].toArray();
            ASSERT_EQ(v.size(), 5);
            for (int i = 0; i < 5; ++i)
                EXPECT_EQ(v[i].toInt(), i + 1);
        }
        if (e->method == Method::Conic) {
            EXPECT_EQ(o["conic"].toObject()["coefficients"].toArray().size(), 6);
        }
    }
    // The first free point's NaN is null; names and texts show their words.
    EXPECT_TRUE(elements[0].toObject()["value"].toArray()[2].isNull());
    std::vector<std::string> texts;
    for (const auto& v : elements)
        if (!v.toObject()["text"].toString().isEmpty())
            texts.push_back(v.toObject()["text"].toString().toStdString());
    auto has = [&](const std::string& t) {
        return std::find(texts.begin(), texts.end(), t) != texts.end();
    };
    EXPECT_TRUE(has("dice \"hola\"\na\\b\tc\x01"));
    EXPECT_TRUE(has("A"));
    EXPECT_TRUE(has("círculo"));
    EXPECT_TRUE(has("no paralelos")); // a check shows its verdict
    EXPECT_TRUE(has("Ocultar/Ver"));  // a button its caption
}

// Every string field of a file holds every byte value, and a point's name is as long as a file
// string may be (1015 bytes, each a character of two bytes in UTF-8): the dump is UTF-8 JSON, and
// the coordinates of that point show the whole name and then "(x;y)".
TEST(Cli, DumpIsUtf8JsonWhateverTheStringsHold) {
    Files f;
    qorv::testing::SampleDocument s;
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += char(b);
    const std::string every = cp1252ToUtf8(bytes);
    const std::string longName = cp1252ToUtf8(std::string(1015, '\xe9'));
    Element* coordinates = nullptr;
    s.doc.forEachWithSubs([&](Element& e) {
        if (e.font) e.font->name = every;
        if (e.method == Method::Coordinates) coordinates = &e;
        if (auto* t = e.tailAs<TextTail>()) {
            t->lines = {every, every};
            t->font.name = every;
        }
        if (auto* t = e.tailAs<NameTail>()) t->text = every;
        if (auto* t = e.tailAs<EquationTail>()) t->text = every;
        if (auto* t = e.tailAs<CheckTail>()) t->trueText = t->falseText = every;
        if (auto* t = e.tailAs<ButtonTail>()) t->caption = every;
        if (auto* t = e.tailAs<ExpressionTail>()) t->exprText = every;
    });
    ASSERT_NE(coordinates, nullptr);
    setName(s.doc, coordinates->parent1, longName, s.opts);
    for (auto& font : s.doc.fonts)
        font.name = every;
    ASSERT_TRUE(saveDocument(s.doc, f("a.qrv")));

    CliRun r = runCli({"dump", f("a.qrv")});
    ASSERT_EQ(r.status, 0) << r.err;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)QString(utf8(QByteArrayView(r.out.data(), qsizetype(r.out.size()))));
    EXPECT_FALSE(utf8.hasError());
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    int found = 0;
    for (const auto& v : json.object()["elements"].toArray()) {
        const QJsonObject o = v.toObject();
        if (o["method"].toInt() != Method::Coordinates) continue;
        const std::string text = o["text"].toString().toStdString();
        ASSERT_GT(text.size(), longName.size());
        EXPECT_EQ(text.substr(0, longName.size()), longName);
        EXPECT_EQ(text.front() == '(' ? std::string() : text.substr(longName.size(), 1), "(");
        EXPECT_EQ(text.back(), ')');
        ++found;
    }
    EXPECT_EQ(found, 1);
}

TEST(Cli, ConvertRewritesDocumentsAndMacroFiles) {
    Files f;
    qorv::testing::SampleDocument s;
    SaveOptions viewer;
    viewer.viewerMode = true;
    viewer.window = WindowRecord{1, 2, 3, 4, 0};
    ASSERT_TRUE(saveDocument(s.doc, f("a.qrv"), viewer));
    ASSERT_EQ(runCli({"convert", f("a.qrv"), f("b.qrv")}).status, 0);
    WindowRecord w;
    EXPECT_EQ(probeFile(f("b.qrv"), &w), FileKind::DocumentWithWindow);
    EXPECT_EQ(w, viewer.window);
    std::ifstream a(f("a.qrv"), std::ios::binary), b(f("b.qrv"), std::ios::binary);
    EXPECT_TRUE(
        std::equal(std::istreambuf_iterator<char>(a), {}, std::istreambuf_iterator<char>(b), {}));

    ASSERT_TRUE(writeMacroFile(s.doc.macros[1], f("m.mac")));
    ASSERT_EQ(runCli({"convert", f("m.mac"), f("n.mac")}).status, 0);
    EXPECT_EQ(probeFile(f("n.mac")), FileKind::Macro);

    CliRun r = runCli({"convert", f("a.qrv"), f("missing/x.qrv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, line(Msg::WriteError));
}

TEST(Cli, RefusedFilesGiveStatusOneAndOneLine) {
    Files f;
    CliRun missing = runCli({"dump", f("nothing.qrv")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, line(Msg::CannotOpen));
    EXPECT_TRUE(missing.out.empty());
    EXPECT_EQ(runCli({"info", f("")}).err, line(Msg::CannotOpen)); // a folder
    std::ofstream(f("new.qrv"), std::ios::binary).write("\x85\x03\0\0\x0a\0\0\0", 8);
    CliRun newer = runCli({"info", f("new.qrv")});
    EXPECT_EQ(newer.status, 1);
    EXPECT_EQ(newer.err, line(Msg::NewerVersion));
    std::ofstream(f("junk.qrv"), std::ios::binary) << "not a document at all";
    CliRun junk = runCli({"convert", f("junk.qrv"), f("out.qrv")});
    EXPECT_EQ(junk.status, 1);
    EXPECT_EQ(junk.err, line(Msg::InvalidFile));
    EXPECT_FALSE(fs::exists(f("out.qrv")));
    CliRun unknown = runCli({"frobnicate"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err.rfind("uso: qorv-cli info ARCHIVO\n", 0), 0u) << unknown.err;
    EXPECT_EQ(runCli({}).status, 2);
}

TEST(Cli, EvalReadsDecimalNumbers) {
    EXPECT_EQ(runCli({"eval", "3,25"}).out, "3.25\n");
    EXPECT_EQ(runCli({"eval", " -0.5 "}).out, "-0.5\n");
    EXPECT_EQ(runCli({"eval", "12"}).out, "12\n");
    for (const char* bad : {"", "1.2.3", "abc", "2x", ".", "-"}) {
        CliRun r = runCli({"eval", bad});
        EXPECT_EQ(r.status, 1) << bad;
        EXPECT_EQ(r.err, line(Msg::InvalidExpression)) << bad;
    }
}

TEST(Cli, DumpOfTheTriangleExampleGivesItsMeasures) {
    CliRun r = runCli({"dump", std::string(QORV_SOURCE_DIR) + "/examples/triangle.qrv"});
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonArray elements =
        QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object()["elements"].toArray();
    int checked = 0;
    for (const auto& v : elements) {
        const QJsonObject o = v.toObject();
        const double value = o["value"].toArray()[0].toDouble();
        const std::string text = o["text"].toString().toStdString();
        switch (o["method"].toInt()) {
        case Method::DistancePointPoint: // |AB| = |(340, 20)| pixels at 40 per centimetre
            EXPECT_NEAR(value, std::hypot(340.0, 20.0) / 40, 1e-12);
            EXPECT_EQ(text, "8.51 cm");
            ++checked;
            break;
        case Method::PolygonArea: // shoelace: 40800 square pixels
            EXPECT_NEAR(value, 25.5, 1e-12);
            EXPECT_EQ(text, "25.50 cm\u00b2");
            ++checked;
            break;
        case Method::LineEquation:
            EXPECT_EQ(text, "y = 1.47x +3.38");
            ++checked;
            break;
        case Method::Name:
            EXPECT_FALSE(text.empty());
            break;
        default:
            break;
        }
    }
    EXPECT_EQ(checked, 3);
}

TEST(Cli, ExampleCommandWritesAReadableDocument) {
    Files f;
    EXPECT_EQ(runCli({"example", "conic", f("c.qrv")}).status, 0);
    CliRun info = runCli({"info", f("c.qrv")});
    EXPECT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("type: 10"), std::string::npos);
    CliRun unknown = runCli({"example", "nothing", f("d.qrv")});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err, "no hay ningún ejemplo \"nothing\"; los ejemplos son: triangle, conic, "
                           "intersections, sierpinski\n");
    EXPECT_FALSE(fs::exists(f("d.qrv")));
}

// The program itself, run without a login session (no XDG_RUNTIME_DIR): a successful run writes
// nothing on stderr and leaves nothing behind in the temporary folder.
TEST(Cli, ASuccessfulRunWritesNothingOnStderr) {
    Files f;
    const QString doc =
        QString::fromStdString(std::string(QORV_SOURCE_DIR) + "/examples/triangle.qrv");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("XDG_RUNTIME_DIR");
    env.insert("TMPDIR", QString::fromStdString(f.dir.string()));
    for (const QStringList& args :
         {QStringList{"info", doc},
          QStringList{"render", doc, QString::fromStdString(f("t.png"))}}) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QORV_CLI, args);
        ASSERT_TRUE(p.waitForFinished(60000)) << args.join(' ').toStdString();
        EXPECT_EQ(p.exitCode(), 0) << args.join(' ').toStdString();
        EXPECT_EQ(p.readAllStandardError().toStdString(), "") << args.join(' ').toStdString();
    }
    EXPECT_TRUE(fs::exists(f("t.png")));
    EXPECT_EQ(std::distance(fs::directory_iterator(f.dir), fs::directory_iterator()), 1);
}

// Drawing that makes Qt complain (a polygon of 200,000 sides to fill, a PNG picture with a
// damaged chunk, no runtime folder) still leaves stderr empty; a refusal writes one line.
TEST(Cli, QtWarningsStayOffStderr) {
    Files f;
    OwningBuilder b;
    b.doc.left = 0;
    b.doc.top = 200;
    std::vector<Element*> ring;
    for (int i = 0; i < 1000; ++i)
        ring.push_back(b.point(100 + 90 * std::cos(i * 2.4), 100 + 90 * std::sin(i * 2.4)));
    std::vector<Element*> vertices;
    for (int i = 0; i < 200000; ++i)
        vertices.push_back(ring[size_t(i) % ring.size()]);
    b.make(Method::Polygon, nullptr, nullptr, nullptr, vertices)->option = rgb(0, 0, 255);
    // A palette PNG with a text chunk whose check sum is wrong: libpng warns and goes on.
    QImage picture(8, 8, QImage::Format_Indexed8);
    picture.setColorTable({qRgb(255, 0, 0), qRgb(0, 255, 0)});
    picture.fill(1);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&buffer, "PNG"));
    const QByteArray chunk("\0\0\0\x04tEXtabcd\xde\xad\xbe\xef", 16);
    png.insert(8 + 25, chunk); // after the signature and the header chunk
    Element* bitmap = b.make(Method::Bitmap, ring[0]);
    bitmap->tailAs<BitmapTail>()->picture.assign(png.begin(), png.end());
    ASSERT_TRUE(saveDocument(b.doc, f("hard.qrv")));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("XDG_RUNTIME_DIR");
    env.insert("TMPDIR", QString::fromStdString(f.dir.string()));
    const auto run = [&](const QStringList& args) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QORV_CLI, args);
        EXPECT_TRUE(p.waitForFinished(120000)) << args.join(' ').toStdString();
        return std::pair(p.exitCode(), p.readAllStandardError().toStdString());
    };
    const QString doc = QString::fromStdString(f("hard.qrv"));
    for (const bool aa : {false, true}) {
        QStringList args = {"render",   doc,  QString::fromStdString(f("a.png")), "--width", "300",
                            "--height", "200"};
        if (aa) args << "--aa";
        const auto [status, err] = run(args);
        EXPECT_EQ(status, 0) << aa;
        EXPECT_EQ(err, "") << aa;
    }
    const auto [status, err] =
        run({"render", QString::fromStdString(f("none.qrv")), QString::fromStdString(f("c.png"))});
    EXPECT_EQ(status, 1);
    EXPECT_EQ(err, line(Msg::CannotOpen));
}

// Images above 100 megapixels are refused before anything is read or drawn.
TEST(Cli, RenderRefusesImagesAboveTheLimit) {
    Files f;
    const std::string doc = std::string(QORV_SOURCE_DIR) + "/examples/triangle.qrv";
    for (const auto& [w, h] : {std::pair("16384", "16384"), std::pair("10001", "10000")}) {
        CliRun r = runCli({"render", doc, f("big.png"), "--width", w, "--height", h});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "la imagen de " + std::string(w) + " x " + std::string(h) +
                             " píxeles pasa del límite de 100 megapíxeles\n");
        EXPECT_FALSE(fs::exists(f("big.png")));
    }
    EXPECT_EQ(runCli({"render", doc, f("big.png"), "--width", "16385"}).status, 2);
}

TEST(Cli, RenderDrawsTheExampleAsImageAndAsVectors) {
    Files f;
    const std::string doc = std::string(QORV_SOURCE_DIR) + "/examples/triangle.qrv";
    CliRun png = runCli({"render", doc, f("t.png"), "--width", "300", "--height", "200"});
    ASSERT_EQ(png.status, 0) << png.err;
    QImage image(QString::fromStdString(f("t.png")));
    ASSERT_EQ(image.size(), QSize(300, 200));
    int lit = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(0, 0, 0)) ++lit;
    EXPECT_GT(lit, 500); // lines, the circle and the texts are drawn on the black ground

    ASSERT_EQ(runCli({"render", doc, f("t.svg")}).status, 0);
    std::ifstream in(f("t.svg"));
    const std::string svg{std::istreambuf_iterator<char>(in), {}};
    EXPECT_NE(svg.find("<path"), std::string::npos);
    EXPECT_NE(svg.find("8.51 cm"), std::string::npos); // texts stay text

    // DXF and TikZ by the extension too.
    for (const char* name : {"t.dxf", "t.tex"}) {
        const CliRun r = runCli({"render", doc, f(name)});
        ASSERT_EQ(r.status, 0) << name << r.err;
        EXPECT_TRUE(r.err.empty()) << r.err;
    }
    std::ifstream dxfIn(f("t.dxf"), std::ios::binary);
    const std::string dxf{std::istreambuf_iterator<char>(dxfIn), {}};
    EXPECT_NE(dxf.find("0\r\nPOLYLINE\r\n8\r\n0\r\n66\r\n1\r\n70\r\n1\r\n"), std::string::npos);
    EXPECT_NE(dxf.find("0\r\nCIRCLE\r\n"), std::string::npos);
    std::ifstream texIn(f("t.tex"));
    const std::string tex{std::istreambuf_iterator<char>(texIn), {}};
    EXPECT_NE(tex.find("(-4,-2.5) -- (4.5,-2) -- (0.25,3.75) -- cycle"), std::string::npos);

    EXPECT_EQ(runCli({"render", doc, f("t.xyz")}).status, 1);
    EXPECT_EQ(runCli({"render", doc, f("t.png"), "--width", "0"}).status, 2);
    EXPECT_EQ(runCli({"render", f("missing.qrv"), f("t.png")}).status, 1);
}

// Loci and graphs carry their samples in drawing order: null for an undefined sample and where a
// jump breaks the curve, the first sample again at the end of a closed one.
TEST(Cli, DumpGivesTheSamplesOfLociAndGraphs) {
    Files f;
    OwningBuilder b;
    b.recalculate = true;
    b.opts.locusPoints = 12;
    b.req.value[3] = 0;
    Element* centre = b.point(0, 0);
    Element* onCircle =
        b.make(Method::PointOnElement, b.make(Method::CircleCentrePoint, centre, b.point(100, 0)));
    b.make(Method::Locus, b.make(Method::Midpoint, onCircle, centre), onCircle);
    // Where the vertical line through a point running along a segment meets a circle.
    Element* seg = b.make(Method::Segment, b.point(-100, 0), b.point(100, 0));
    b.req.value[3] = 0.5;
    Element* d = b.make(Method::PointOnElement, seg);
    Element* vertical = b.make(Method::PerpendicularLine, seg, d);
    Element* circle = b.make(Method::CircleCentrePoint, centre, b.point(50, 0));
    b.req.option = 6;
    Element* cut = b.make(Method::IntersectionPoint, vertical, circle);
    b.make(Method::Locus, cut, d);
    // y = 300 INT(x / 2) on axes of unit 1: one jump of 300 between two of its four samples.
    Element* axes = b.make(Method::Axes, centre);
    axes->tailAs<AxesTail>()->scaleX = axes->tailAs<AxesTail>()->scaleY = 1;
    b.req.option = FunctionType::YofX;
    Element* fn = b.make(Method::Function);
    ASSERT_TRUE(compileToTail(*fn->tailAs<ExpressionTail>(), "int(x/2)*300", {}, {}, 1));
    b.req.value[1] = 0;
    b.req.value[2] = 3;
    b.make(Method::FunctionGraph, fn, axes)->tailAs<SampledCurveTail>()->resize(4);
    ASSERT_TRUE(saveDocument(b.doc, f("loci.qrv")));

    CliRun r = runCli({"dump", f("loci.qrv")});
    ASSERT_EQ(r.status, 0) << r.err;
    const QJsonArray elements =
        QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object()["elements"].toArray();
    std::vector<QJsonArray> samples;
    for (const auto& e : elements)
        if (e.toObject()["kind"].toInt() == Kind::Locus)
            samples.push_back(e.toObject()["samples"].toArray());
    ASSERT_EQ(samples.size(), 3u);
    // The closed circle of radius 50: twelve points and the first again.
    ASSERT_EQ(samples[0].size(), 13);
    for (int i = 0; i < 13; ++i) {
        const QJsonArray p = samples[0][i].toArray();
        ASSERT_EQ(p.size(), 2) << i;
        EXPECT_NEAR(std::hypot(p[0].toDouble(), p[1].toDouble()), 50, 1e-9) << i;
    }
    EXPECT_EQ(samples[0][12], samples[0][0]);
    // The cut exists for |x| < 50.0001: undefined samples at both ends, the curve between them
    // ending on the boundary.
    const QJsonArray& gap = samples[1];
    ASSERT_EQ(gap.size(), 12);
    EXPECT_TRUE(gap[0].isNull());
    EXPECT_TRUE(gap[11].isNull());
    int first = 0;
    while (first < 12 && gap[first].isNull())
        ++first;
    ASSERT_LT(first, 6);
    EXPECT_NEAR(gap[first].toArray()[0].toDouble(), -50.0001, 1e-6);
    // x = 0, 1, 2, 3 give y = 0, 0, 300, 300: a null between the second and the third.
    ASSERT_EQ(samples[2].size(), 5);
    EXPECT_TRUE(samples[2][2].isNull());
    EXPECT_DOUBLE_EQ(samples[2][3].toArray()[1].toDouble(), 300);
}

// Each iteration's entry tells how many copies it draws: a tree of two destination lists over
// three levels draws 2 + 4 + 8, only the last level 8, and a chain with a huge count stops at
// the limit.
TEST(Cli, DumpGivesTheCopiesOfEachIteration) {
    const struct {
        int corners;
        int32_t iterations;
        int32_t lastOnly;
        int copies;
    } cases[] = {{2, 3, 0, 14}, {2, 3, 1, 8}, {1, INT32_MAX, 0, MaxIterationCopies}};
    for (const auto& c : cases) {
        Files f;
        OwningBuilder b;
        Element* a = b.point(0, 0);
        IterationWorkspace ws;
        ws.reset();
        ws.choose(0);
        ws.toggle(a);
        for (int j = 0; j < c.corners; ++j) {
            ws.addDestination();
            ws.toggle(b.make(Method::Midpoint, a, b.point(8 * j, 8)));
        }
        Element* it = createIteration(b.doc, ws, b.opts);
        ASSERT_NE(it, nullptr);
        it->tailAs<IterationTail>()->iterations = c.iterations;
        it->tailAs<IterationTail>()->lastOnly = c.lastOnly;
        ASSERT_TRUE(saveDocument(b.doc, f("i.qrv")));
        CliRun r = runCli({"dump", f("i.qrv")});
        ASSERT_EQ(r.status, 0) << r.err;
        const QJsonArray elements = QJsonDocument::fromJson(QByteArray::fromStdString(r.out))
                                        .object()["elements"]
                                        .toArray();
        ASSERT_EQ(elements.size(), b.doc.elementCount());
        const QJsonObject last = elements.last().toObject();
        EXPECT_EQ(last["method"].toInt(), Method::Iteration);
        EXPECT_EQ(last["copies"].toInt(-1), c.copies) << c.iterations;
        EXPECT_FALSE(elements.first().toObject().contains("copies"));
    }
}

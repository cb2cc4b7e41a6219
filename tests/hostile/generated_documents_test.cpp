// The generator's documents through reading, recalculation, saving, reading back and drawing, and
// through `qorv-cli dump`. A fixed slice runs with the tests (under the sanitizers in CI); longer
// runs set QORV_DOCGEN_COUNT (documents in all) and QORV_DOCGEN_SEED (the first seed).
#include "cli/cli.h"
#include "fuzz/docgen.h"
#include "model/document.h"
#include "view/renderer.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QStringDecoder>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace qorv;
namespace fs = std::filesystem;

namespace {

constexpr int kSlices = 8;

uint64_t environmentNumber(const char* name, uint64_t fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtoull(v, nullptr, 10) : fallback;
}

bool isUtf8(const std::string& s) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)QString(utf8(QByteArrayView(s.data(), qsizetype(s.size()))));
    return !utf8.hasError();
}

// Draws a document the ways the editor and the exports do: plain and antialiased, with hidden
// elements shown and every third element selected, and as a miniature.
void drawEveryWay(Document& doc, uint64_t seed) {
    static Renderer renderer;
    int k = 0;
    doc.forEachWithSubs([&](Element& e) { e.selected = (k++ % 3 == 0) ? 1 : 0; });
    QImage image(160, 120, QImage::Format_RGB32);
    RenderOptions o;
    o.view = documentView(doc);
    o.width = image.width();
    o.height = image.height();
    o.antialiased = seed % 2 == 1;
    o.showHidden = seed % 3 != 0;
    renderer.redraw(image, doc, o);
    o.target = seed % 4 == 0 ? RenderTarget::Miniature : RenderTarget::Export;
    o.antialiased = !o.antialiased;
    renderer.redraw(image, doc, o);
    doc.selectNone();
    if (seed % 16 == 0) renderer.clearCaches();
}

class GeneratedDocuments : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(GeneratedDocuments, ReadRecalculateSaveReadBackAndDraw) {
    const uint64_t count = environmentNumber("QORV_DOCGEN_COUNT", 4000);
    const uint64_t first = environmentNumber("QORV_DOCGEN_SEED", 1);
    const fs::path dir = fs::temp_directory_path() /
                         ("qorv-docgen-" + std::to_string(QCoreApplication::applicationPid()) +
                          "-" + std::to_string(GetParam()));
    fs::create_directories(dir);
    const std::string path = (dir / "doc.qrv").string();
    uint64_t run = 0;
    for (uint64_t seed = first + uint64_t(GetParam()); seed < first + count; seed += kSlices) {
        bool mayBeRefused = false;
        const std::vector<uint8_t> file = fuzz::generateDocument(seed, &mayBeRefused);
        const std::string failure = fuzz::runGeneratedDocument(
            file, !mayBeRefused, [&](Document& doc) { drawEveryWay(doc, seed); });
        ASSERT_EQ(failure, "") << "seed " << seed;

        // The dump of any file is UTF-8 JSON (or a refusal).
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
        std::string out, err;
        if (cli::run({"dump", path}, out, err) == 0) {
            ASSERT_TRUE(isUtf8(out)) << "seed " << seed;
            QJsonParseError error;
            QJsonDocument::fromJson(QByteArray::fromStdString(out), &error);
            ASSERT_EQ(error.error, QJsonParseError::NoError)
                << "seed " << seed << ": " << error.errorString().toStdString();
        }
        ++run;
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    RecordProperty("documents", int(run));
}

INSTANTIATE_TEST_SUITE_P(Slices, GeneratedDocuments, ::testing::Range(0, kSlices));

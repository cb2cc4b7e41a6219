// Documents of a few kilobytes that repeat costly work (the generator's costly shapes) go through
// `qorv-cli dump`, a 1920 x 1080 PNG render and a DXF export; pictures are Windows bitmaps only,
// and what one drawing decodes and what the renderer keeps are bounded.
#include "cli/cli.h"
#include "fuzz/docgen.h"
#include "model/docfile.h"
#include "view/scene.h"

#include <QBuffer>
#include <QCoreApplication>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace qorv;
using namespace qorv::test;
namespace fs = std::filesystem;

TEST(CostlyDocuments, EveryShapeDumpsRendersAndExports) {
    const fs::path dir = fs::temp_directory_path() /
                         ("qorv-costly-" + std::to_string(QCoreApplication::applicationPid()));
    fs::create_directories(dir);
    const std::string path = (dir / "doc.qrv").string();
    const std::string png = (dir / "out.png").string(), dxf = (dir / "out.dxf").string();
    for (int s = 0; s < int(fuzz::CostlyShape::Count); ++s) {
        SCOPED_TRACE(s);
        const std::vector<uint8_t> file = fuzz::costlyDocument(fuzz::CostlyShape(s), 1);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
        std::string out, err;
        EXPECT_EQ(cli::run({"dump", path}, out, err), 0) << err;
        EXPECT_NE(out.find("\"elements\""), std::string::npos);
        EXPECT_EQ(cli::run({"render", path, png, "--width", "1920", "--height", "1080"}, out, err),
                  0)
            << err;
        EXPECT_GT(fs::file_size(png), 0u);
        EXPECT_EQ(cli::run({"render", path, dxf}, out, err), 0) << err;
        EXPECT_LT(fs::file_size(dxf), uintmax_t(64) << 20);
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
}

namespace {

std::vector<uint8_t> pictureBytes(int w, int h, QColor colour, const char* format) {
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return {bytes.begin(), bytes.end()};
}

Element* picture(Scene& s, double x, double y, std::vector<uint8_t> bytes) {
    s.req.value[0] = x;
    s.req.value[1] = y;
    Element* e = s.make(Method::Bitmap);
    e->tailAs<BitmapTail>()->picture = std::move(bytes);
    return e;
}

} // namespace

TEST(CostlyDocuments, PicturesAreWindowsBitmapsAndTheirPixelsAreBounded) {
    Scene s;
    // A bitmap shows; the same picture as PNG does not (documents hold Windows bitmaps).
    picture(s, 10, 190, pictureBytes(40, 40, QColor(0, 0, 255), "BMP"));
    picture(s, 110, 190, pictureBytes(40, 40, QColor(0, 255, 0), "PNG"));
    const QImage small = s.render();
    EXPECT_EQ(at(small, 30, 30), rgb(0, 0, 255));
    EXPECT_EQ(at(small, 130, 30), s.doc.background);

    // Pictures that declare thousands of pixels a side in a few bytes.
    Document& doc = s.doc;
    const std::vector<uint8_t> file = fuzz::costlyDocument(fuzz::CostlyShape::HugePictures, 1);
    ASSERT_EQ(readDocumentData(doc, file.data(), file.size(), FileType::Document).kind,
              FileKind::Document);
    for (int frame = 0; frame < 2; ++frame) {
        s.render(s.options(1920, 1080));
        EXPECT_LE(s.renderer.cachedPicturePixels(), Renderer::MaxCachedPicturePixels);
        EXPECT_LE(s.renderer.cachedPicturePixels(), Renderer::MaxDrawingPicturePixels);
    }
}

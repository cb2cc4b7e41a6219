#include "view/exportfile.h"

#include "geometry/dxf.h"
#include "model/document.h"
#include "model/uitext.h"
#include "view/pngwriter.h"
#include "view/renderer.h"
#include "view/tikz.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace qorv {

namespace {

std::string writeError(const std::string& path) {
    return uiText().message(Msg::WriteError) + ": " + path;
}

bool fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

RenderOptions exportOptions(const Document& doc, const ExportRequest& r, bool vector) {
    RenderOptions o;
    o.view = r.view ? *r.view : documentView(doc);
    o.width = r.width;
    o.height = r.height;
    o.target = RenderTarget::Export;
    o.antialiased = vector || r.antialiased;
    o.vector = vector;
    o.showHidden = r.showHidden;
    o.trace = vector ? nullptr : r.trace;
    // Lines reach to the plane's edges on exports; the plane is at least as large as any view.
    o.planeSize = std::max(planeDefault(r.width, r.height),
                           2.0 * std::max(std::abs(o.view.x0), std::abs(o.view.y0)) +
                               2.0 * std::max(r.width, r.height));
    return o;
}

// The file is written under another name and takes its place once complete.
bool commit(QSaveFile& out, const std::string& path, std::string* error) {
    if (out.error() != QFileDevice::NoError || !out.commit()) return fail(error, writeError(path));
    return true;
}

} // namespace

bool renderDocumentToFile(const Document& doc, const std::string& path, int width, int height,
                          bool aa, std::string* error) {
    ExportRequest r;
    r.width = width;
    r.height = height;
    r.antialiased = aa;
    return renderDocumentToFile(doc, path, r, error);
}

namespace {

// A message of the text table with its "%1" replaced.
std::string messageWith(int slot, const std::string& value) {
    std::string m = uiText().message(slot);
    if (const size_t at = m.find("%1"); at != std::string::npos) m.replace(at, 2, value);
    return m;
}

bool checkSize(const ExportRequest& r, std::string* error) {
    const int64_t factor = std::max(1, r.factor);
    if (r.width < 1 || r.height < 1 || r.width * factor > MaxRenderSide ||
        r.height * factor > MaxRenderSide)
        return fail(error, messageWith(Msg::ImageSideLimit, std::to_string(MaxRenderSide)));
    if (int64_t(r.width) * r.height * factor * factor > MaxRenderPixels)
        return fail(error, messageWith(Msg::ImagePixelLimit, std::to_string(MaxRenderPixels)));
    return true;
}

} // namespace

int fittingFactor(int width, int height, int factor) {
    if (width < 1 || height < 1) return 0;
    for (int64_t f = std::clamp(factor, 1, MaxRenderSide); f >= 1; --f)
        if (width * f <= MaxRenderSide && height * f <= MaxRenderSide &&
            int64_t(width) * height * f * f <= MaxRenderPixels)
            return int(f);
    return 0;
}

// A large image's pixels on huge pages where the system gives them on request: a fresh process
// otherwise takes a page fault, and the kernel clears a page, every 4 KB of the image.
static QImage newImage(int width, int height) {
#ifdef __linux__
    const size_t bytes = size_t(width) * size_t(height) * 4;
    constexpr size_t hugePage = size_t(2) << 20;
    if (bytes >= hugePage) {
        const size_t size = (bytes + hugePage - 1) / hugePage * hugePage;
        if (void* pixels = std::aligned_alloc(hugePage, size)) {
            madvise(pixels, size, MADV_HUGEPAGE);
            return QImage(
                static_cast<uchar*>(pixels), width, height, qsizetype(width) * 4,
                QImage::Format_RGB32, [](void* p) { std::free(p); }, pixels);
        }
    }
#endif
    return QImage(width, height, QImage::Format_RGB32);
}

bool renderDocumentToImage(const Document& doc, const ExportRequest& request, QImage& image,
                           std::string* error) {
    if (!checkSize(request, error)) return false;
    const int factor = std::max(1, request.factor);
    image = newImage(request.width * factor, request.height * factor);
    if (image.isNull()) return fail(error, uiText().message(Msg::ImageNoMemory));
    QPainter painter(&image);
    painter.scale(factor, factor);
    Renderer().redraw(painter, doc, exportOptions(doc, request, false));
    return true;
}

bool renderDocumentToFile(const Document& doc, const std::string& path,
                          const ExportRequest& request, std::string* error) {
    const int width = request.width, height = request.height;
    const QString file = QString::fromStdString(path);
    const QString ext = QFileInfo(file).suffix().toLower();
    if (ext == QLatin1String("dxf")) {
        DxfOptions options;
        options.showHidden = request.showHidden;
        return writeDxfFile(doc, path, options) || fail(error, writeError(path));
    }
    if (!checkSize(request, error)) return false;
    Renderer renderer;

    if (ext == QLatin1String("png") || ext == QLatin1String("bmp")) {
        QImage image;
        if (!renderDocumentToImage(doc, request, image, error)) return false;
        QSaveFile out(file);
        if (!out.open(QIODevice::WriteOnly)) return fail(error, writeError(path));
        bool written = false;
        if (ext == QLatin1String("bmp")) {
            written = image.save(&out, "BMP");
        } else if (request.smallestFile) {
            QImageWriter writer(&out, "PNG");
            writer.setQuality(0); // zlib's strongest level
            written = writer.write(image);
        } else {
            written = writeQuickPng(image, out);
        }
        if (!written) return fail(error, writeError(path));
        return commit(out, path, error);
    }
    if (ext == QLatin1String("svg")) {
        QSaveFile out(file);
        if (!out.open(QIODevice::WriteOnly)) return fail(error, writeError(path));
        QSvgGenerator svg;
        svg.setOutputDevice(&out);
        svg.setSize(QSize(width, height));
        svg.setViewBox(QRect(0, 0, width, height));
        svg.setResolution(96);
        svg.setTitle(QStringLiteral("QORV"));
        QPainter painter;
        if (!painter.begin(&svg)) return fail(error, writeError(path));
        renderer.redraw(painter, doc, exportOptions(doc, request, true));
        painter.end();
        return commit(out, path, error);
    }
    if (ext == QLatin1String("pdf")) {
        QSaveFile out(file);
        if (!out.open(QIODevice::WriteOnly)) return fail(error, writeError(path));
        QPdfWriter pdf(&out);
        // One page of exactly the drawing, one point per pixel.
        pdf.setResolution(72);
        pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(width, height), QPageSize::Point),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        pdf.setTitle(QStringLiteral("QORV"));
        pdf.setCreator(QStringLiteral("QORV"));
        QPainter painter;
        if (!painter.begin(&pdf)) return fail(error, writeError(path));
        renderer.redraw(painter, doc, exportOptions(doc, request, true));
        if (!painter.end()) return fail(error, writeError(path));
        return commit(out, path, error);
    }
    if (ext == QLatin1String("tex")) {
        const RenderOptions options = exportOptions(doc, request, true);
        TikzDevice tikz(width, height, options.view, doc.pixelsPerUnit);
        {
            QPainter painter(&tikz);
            renderer.redraw(painter, doc, options);
        }
        const std::string text = tikz.document();
        QSaveFile out(file);
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(text.data(), qint64(text.size())) != qint64(text.size()))
            return fail(error, writeError(path));
        return commit(out, path, error);
    }
    return fail(error, messageWith(Msg::UnknownFileType, ext.toStdString()) + " " +
                           uiText().message(Msg::CliRenderTypes));
}

} // namespace qorv

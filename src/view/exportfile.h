// Drawing a document into an image, vector, TikZ or DXF file.
#pragma once

#include "view/viewtransform.h"

#include <cstdint>
#include <optional>
#include <string>

class QImage;

namespace qorv {

class Document;

// Largest side and largest area of a drawing written to a file: 100 megapixels take 400 MB and
// several seconds; larger ones are refused.
constexpr int MaxRenderSide = 16384;
constexpr int64_t MaxRenderPixels = 100'000'000;

// What to draw: an area of width x height pixels of the view, as the renderer draws it.
struct ExportRequest {
    int width = 0;
    int height = 0;
    bool antialiased = false; // images only; vector files are always smooth
    bool showHidden = false;  // "Ver lo oculto"
    // The document's stored view (its left and top edges at scale 1) unless given.
    std::optional<ViewTransform> view;
    // Images are drawn this many times larger (pens, points and text with them).
    int factor = 1;
    // PNG: the smallest file (every row filter tried, the strongest compression: several times
    // slower) instead of the quick one.
    bool smallestFile = false;
    // The trace bitmap of the same area, combined over image exports as on the screen.
    const QImage* trace = nullptr;
};

// The largest factor, at most `factor`, at which a width x height drawing stays within
// MaxRenderSide and MaxRenderPixels; 0 when even factor 1 does not.
int fittingFactor(int width, int height, int factor);

// Draws the document into a file; the extension chooses the format: ".png" and ".bmp" are images,
// ".svg" and ".pdf" vector files whose elements are paths and text, ".tex" a LaTeX document with
// a TikZ picture (in the document's length unit, one unit a centimetre), ".dxf" a DXF drawing of
// the whole construction. The file is replaced only once it is complete. Returns false with a
// message in `error` for an unknown extension, a size outside 1..16384 on a side or above
// MaxRenderPixels in all, or a file that cannot be written.
bool renderDocumentToFile(const Document& doc, const std::string& path,
                          const ExportRequest& request, std::string* error);
bool renderDocumentToFile(const Document& doc, const std::string& path, int width, int height,
                          bool aa, std::string* error);
// The image the ".png" and ".bmp" files hold (the clipboard takes it too); false, with a message,
// for a size out of bounds or too little memory.
bool renderDocumentToImage(const Document& doc, const ExportRequest& request, QImage& image,
                           std::string* error);

} // namespace qorv

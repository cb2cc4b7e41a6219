// Drawing a document into an image or vector file.
#pragma once

#include <cstdint>
#include <string>

namespace qorv {

class Document;

// Largest side and largest area of a drawing written to a file: 100 megapixels take 400 MB and
// several seconds; larger ones are refused.
constexpr int MaxRenderSide = 16384;
constexpr int64_t MaxRenderPixels = 100'000'000;

// Draws the document at its stored view (its left and top edges at scale 1) into a file of
// width x height pixels. The extension chooses the format: ".png" and ".bmp" are images (drawn
// antialiased when `aa`), ".svg" and ".pdf" are vector files whose elements are paths and text.
// Returns false with a message in `error` for an unknown extension, a size outside 1..16384 on
// a side or above MaxRenderPixels in all, or a file that cannot be written.
bool renderDocumentToFile(const Document& doc, const std::string& path, int width, int height,
                          bool aa, std::string* error);

} // namespace qorv

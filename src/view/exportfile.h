// Drawing a document into an image or vector file.
#pragma once

#include <string>

namespace qorv {

class Document;

// Draws the document at its stored view (its left and top edges at scale 1) into a file of
// width x height pixels. The extension chooses the format: ".png" and ".bmp" are images (drawn
// antialiased when `aa`), ".svg" and ".pdf" are vector files whose elements are paths and text.
// Returns false with a message in `error` for an unknown extension, a size outside 1..16384 or
// a file that cannot be written.
bool renderDocumentToFile(const Document& doc, const std::string& path, int width, int height,
                          bool aa, std::string* error);

} // namespace qorv

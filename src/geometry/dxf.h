// The drawing as an ASCII DXF file (AutoCAD R12, "AC1009"): one entity per drawable element, in
// the document's length unit, on layer "0".
#pragma once

#include "model/element.h"

#include <string>

namespace qorv {

class Document;

// The AutoCAD Color Index nearest to a colour (smallest squared RGB distance, the lowest index
// winning ties; entry 0 counts as black).
int dxfColourIndex(Color c);

struct DxfOptions {
    bool showHidden = false; // "Ver lo oculto": hidden elements are written too
};

// The whole file, lines ended by CR LF, text in Windows-1252. Every value is one line: control
// characters in texts become spaces.
std::string dxfText(const Document& doc, const DxfOptions& options = {});

// Writes the file as it is made, a piece at a time, and puts it in place only once complete;
// false when it cannot be written (the old file is then untouched).
bool writeDxfFile(const Document& doc, const std::string& path, const DxfOptions& options = {});

} // namespace qorv

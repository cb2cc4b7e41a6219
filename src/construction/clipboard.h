// Copying, cutting and pasting elements, the text of the selection for the system clipboard, and
// pasting a picture.
#pragma once

#include "model/document.h"
#include "model/elementcopy.h"

#include <string>
#include <vector>

namespace qorv {

// The program's internal clipboard: the elements copied last and the view's left and top edges
// (world) of the document they came from.
struct InternalClipboard {
    ElementChain elements;
    double left = 0.0;
    double top = 0.0;
    bool empty() const { return elements.empty(); }
};

// The text of the selection for the system clipboard: one entry per selected, defined element in
// list order, each ending with a carriage return (character 13). UTF-8.
std::string selectionText(const Document& doc);

// "Copiar": the selected elements with all their ancestors go to the clipboard (ancestors that
// were not selected arrive hidden; internal elements stay internal), with the view's left and
// top. Every document in `openDocuments` has its paste counter set to 0, then `doc` to 1.
void copySelection(Document& doc, InternalClipboard& clip,
                   const std::vector<Document*>& openDocuments = {});

// "Cortar": "Copiar", then an undo step and the selection deleted with its descendants.
// Nothing happens when nothing is selected.
void cutSelection(Document& doc, InternalClipboard& clip,
                  const std::vector<Document*>& openDocuments = {});

// "Pegar": records an undo step, appends a copy of the clipboard, selects the pasted elements
// that are shown, moves the free ones by the paste offset (below) and recalculates. Returns the
// first pasted element; null (and nothing done) when the clipboard is empty.
//
// With n the document's paste counter (then increased), the copy moves by the view's left and
// top minus the reference corner (clipboard left - 20n, clipboard top + 20n): the first paste
// into the document copied from lands 20 units right and down, a paste into another document
// keeps its place relative to the view, every further paste moves 20 units more.
Element* paste(Document& doc, const InternalClipboard& clip);

// "Pegar imagen": a "Bitmap" holding `picture` (a Windows bitmap file image), anchored to the
// first selected point, segment or vector, else free at the view's left and top. Records an
// undo step, selects the new element and recalculates. Null when `picture` is empty.
Element* pastePicture(Document& doc, std::vector<uint8_t> picture, const CreationOptions& opts);

} // namespace qorv

// Runs a sequence of editing operations, chosen by bytes, on a document read from bytes: the
// operations fuzz target runs it on libFuzzer's inputs, the engine tests on the kept corpus.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qorv {
class Document;
}

namespace qorv::fuzz {

// The input: a 16-bit little-endian length n, n bytes of a document file, then the operations,
// each an operation byte followed by the argument bytes it takes (missing bytes read as 0).
// With n = 0xffff the document is instead the file of a sample (a byte picks it, see
// sampleDocuments) with up to 8 bytes changed (a byte gives their number, then each is a 16-bit
// offset and the new byte): small inputs for documents of every method. An input whose document
// does not read does nothing.
//
// After every operation the document must be sound (list links, every reference and every trace
// and animation entry pointing at an element of the list); whatever is saved must read back and
// save again to the same bytes; an undo or redo must bring back the state that was recorded, as
// a full recalculation of it gives it (the macro table is not part of the undo history); a macro
// copied or written to its file and read back must give the same file. Returns an empty string when
// every check held, else a description of the first failure.
std::string runDocumentOperations(const uint8_t* data, size_t size);

// Checks the list links, the owners of sub-elements and that every reference (parents, colour
// parameter, tail lists, name, trace and animation entries) points at an element of the list;
// a reference other than a colour parameter points at an earlier element or at the owner.
// Returns an empty string for a sound document, else what is wrong.
std::string checkSound(Document& doc);

// Puts a document file and operation bytes together into an input.
std::vector<uint8_t> operationsInput(const std::vector<uint8_t>& document,
                                     const std::vector<uint8_t>& operations);

// The files of the sample documents: one element of every method (the file tests' sample), the
// examples, a polygon with axes and coordinates, and a triangle with the macro of its
// circumcentre.
const std::vector<std::vector<uint8_t>>& sampleDocuments();

// Operation codes (the byte is taken modulo Count).
namespace Op {
enum : uint8_t {
    Delete,          // u16 element: deleteWithDescendants
    ToggleSelected,  // u16 element
    SelectSome,      // u8: all, none, or a kind (with or without the hidden ones)
    SelectChildren,  //
    SelectParents,   //
    DeleteSelected,  //
    Copy,            //
    Cut,             //
    Paste,           //
    RecordUndoStep,  //
    Undo,            //
    Redo,            //
    Scale,           // u8 factor, i8 x, i8 y of the centre
    Recalculate,     //
    Drag,            // u16 element (a free point), i8 dx, i8 dy: marked pass
    SaveAndReadBack, // u8: bit 0 drop unused internal elements first, bit 1 go on with the copy
    SetName,         // u16 element, u8 length (0 deletes the name)
    ToggleTrace,     // u16 element
    Animate,         // u16 element, u8 setting
    DeleteAll,       //
    FindAxes,        // (creates axes when there are none)
    PastePicture,    // u8 bytes
    RecordMacro,     // u8 n, n u16 initial elements, u8 m, m u16 final elements (of those the
                     // initial ones determine)
    ApplyMacro,      // u8 macro, per initial kind a u16 element of that kind, u8 flags, i8 x, i8 y
    CopyMacro,       // u8 macro, u8 how: bit 0 through its file, else as a copy between tables
    Count
};
} // namespace Op

} // namespace qorv::fuzz

// Document files (.qrv) and macro files (.mac): saving, probing and reading.
#pragma once

#include "model/bytestream.h"
#include "model/document.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qorv {

// The type word of a file.
namespace FileType {
enum : int32_t { Document = 10, ViewerDocument = 11, Macro = 20 };
}

// What probing or reading a file found.
namespace FileKind {
enum : int {
    Newer = -1,             // written by a newer version of the program
    Invalid = 0,            // not a file of this format, or not of the type asked for
    Document = 1,           // a document
    Macro = 2,              // a macro file
    DocumentWithWindow = 11 // a document saved in viewer mode, with the window record
};
}

// The main window's placement, stored with documents saved in viewer mode.
struct WindowRecord {
    int32_t left = 0;
    int32_t top = 0;
    int32_t height = 0;
    int32_t width = 0;
    int32_t state = 0; // 0 normal, 1 minimised, 2 maximised
    bool operator==(const WindowRecord&) const = default;
};

struct SaveOptions {
    bool viewerMode = false; // write type 11 with the window record
    WindowRecord window;
};

struct ReadOptions {
    // Files older than the stored fonts and kind tables take them from here (null: built-in).
    // A text of a version-100 file takes the texts font from here too.
    const DocumentDefaults* defaults = nullptr;
    // Client size of the drawing area in pixels: the view's right and bottom edges are the
    // stored left and top plus these.
    double viewWidth = 0.0;
    double viewHeight = 0.0;
};

struct ReadResult {
    int kind = FileKind::Invalid; // Newer, Invalid, Document or Macro
    Element* first = nullptr;     // first element of the list read (of the first macro read)
    int32_t version = 0;          // version word of the file
    int32_t type = 0;             // type word after the old codes 1 and 2 are mapped
    bool hasWindow = false;       // type 11: `window` holds the window record
    WindowRecord window;
    int macroSlot = -1; // a macro file: the slot of the first macro read
    int macrosRead = 0; // macros read (a document's own, or a macro file's)
};

// Largest file the reader accepts.
constexpr uint64_t MaxDocumentFileBytes = uint64_t(128) << 20;

// Looks at the header of a file: FileKind::Invalid, Newer, Document, DocumentWithWindow (the
// record is handed back through `window`) or Macro.
int probeFile(const std::string& path, WindowRecord* window = nullptr);

// Reads a file. `expectedType` FileType::Macro asks for a macro file and refuses documents; any
// other value accepts both. A document replaces the list, settings, trace and animation lists
// and macros of `doc`, gets `fileName` = path and is left unmodified (the caller recalculates);
// a macro file fills the next free macro slots of `doc`. Whatever the file holds, `doc` changes
// only when the whole file was read without fault; otherwise it is left exactly as it was.
ReadResult readDocumentFile(Document& doc, const std::string& path, int32_t expectedType,
                            const ReadOptions& options = {});
// The same from bytes in memory (the path is not stored).
ReadResult readDocumentData(Document& doc, const uint8_t* data, size_t size, int32_t expectedType,
                            const ReadOptions& options = {});

// Deletes every internal element (`visible` 100) whose descendants are all internal, with them.
void removeUnusedInternalElements(Document& doc);

// Renumbers the list and refreshes every stored id (parents, colour parameter, tail lists) from
// the references.
void refreshStoredIds(Document& doc);

// Resolves the stored ids of a list just read into references (parents, colour parameters, tail
// lists, names), by one table indexed by id. A reference must point to an element earlier in the
// list (or, for a sub-element, to its owner); one that does not, or whose id no element has,
// becomes null, so a damaged file cannot make a cycle. A colour parameter may point anywhere.
void resolveReferences(Element* head);
// What resolving gives an element besides its references: its sides, axis lines and coordinate
// numbers point at it as their owner, and a calculation counts its variables.
void completeResolvedElement(Element& e);

// The bytes of a document file; refreshes the stored ids first.
std::vector<uint8_t> encodeDocument(Document& doc, const SaveOptions& options = {});

// Saves a document: removes the unused internal elements, then writes the file; on success the
// document takes `path` as its name and is no longer modified. Returns false when the file could
// not be written; the previous file at `path`, if any, is then untouched and the document is not
// marked saved.
bool saveDocument(Document& doc, const std::string& path, const SaveOptions& options = {});

// The bytes of a macro file holding one macro (its element records keep their template ids),
// and writing it like a document.
std::vector<uint8_t> encodeMacroFile(const MacroSlot& macro);
bool writeMacroFile(const MacroSlot& macro, const std::string& path);

// The per-kind default colours and shapes as document files (version 600 on) store them: the
// colours, then the shapes, of the twelve kinds that have defaults of their own. The other kinds
// keep what the tables hold.
bool readKindTables(ByteReader& in, std::array<Color, Kind::Count>& colors,
                    std::array<int32_t, Kind::Count>& shapes);
void writeKindTables(ByteWriter& out, const std::array<Color, Kind::Count>& colors,
                     const std::array<int32_t, Kind::Count>& shapes);

// Replaces the file at `path` by `bytes` without ever leaving it half written: the bytes go to
// a new file in the same folder, which is flushed to the disk and then renamed over the old
// one. On failure the old file is untouched and no new file is left behind.
bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace qorv

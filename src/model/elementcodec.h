// The element record of document and macro files: the one place that knows, per construction
// method, which counts size a record, what its body holds and which references it keeps by id.
#pragma once

#include "model/bytestream.h"
#include "model/element.h"

#include <memory>
#include <string>
#include <string_view>

namespace qorv {

// Version word written into every file.
constexpr int32_t FileVersion = 900;
// Oldest version that can be read: the first format, which has no trace or animation list, no
// font record in texts, and corrections of its own. Every later version has them.
constexpr int32_t OldestFileVersion = 100;
constexpr int32_t FirstFormatVersion = OldestFileVersion;
// Longest string a file may hold, in bytes.
constexpr size_t MaxFileStringBytes = 1015;
// Sample capacity of one locus or function graph (the editor's own limit), and of all of them in
// one file; the samples themselves are not stored, so the count is the only thing that sizes them.
constexpr int32_t MaxCurveSamples = 50000;
constexpr int64_t MaxFileSamples = int64_t(1) << 22;

// How records are encoded. Files hold Windows-1252 strings of at most MaxFileStringBytes and
// only what the format defines. Snapshots (undo history) are read back only by this program:
// strings stay UTF-8 of any length, sub-elements keep their whole style and state, every element
// keeps its `selected` flag, and the checks that guard against damaged files are skipped, so
// that reading gives back exactly what was written.
enum class RecordEncoding { File, Snapshot };

struct ElementReadContext {
    RecordEncoding encoding = RecordEncoding::File;
    int32_t version = FileVersion;
    // The font a text of a version-100 file takes (the program's default text font).
    FontRecord textFont;
    // Sample capacity still allowed to the loci and function graphs of the file being read.
    int64_t sampleBudget = MaxFileSamples;
};

// Strings: an int byte count and the Windows-1252 bytes. Reading refuses a count above
// MaxFileStringBytes; writing cuts the text there so that what is written can be read back.
bool readFileString(ByteReader& in, std::string& utf8);
void writeFileString(ByteWriter& out, std::string_view utf8);

// A font: name, colour, size and four flags (1 on, anything else off). `maxNameChars` cuts the
// name on reading (the document's own fonts keep 31 characters).
bool readFontBlock(ByteReader& in, FontRecord& f, size_t maxNameChars = MaxFileStringBytes);
void writeFontBlock(ByteWriter& out, const FontRecord& f);

// True for the methods a record may carry at the top of a list (sides, axis lines and
// coordinate numbers exist only inside their owner).
bool isListMethod(int32_t method);

// Reads one element record whose method word has been read already. Returns null, with `in`
// failed, when the method is not a list method (any method is taken from a snapshot) or the
// record is malformed or does not fit the remaining input. References are left null; the stored
// ids are to be resolved by the caller.
std::unique_ptr<Element> readElementRecord(ByteReader& in, int32_t method, ElementReadContext& ctx);

// Writes one element record, method word first, with the ids stored in the element.
void writeElementRecord(ByteWriter& out, const Element& e,
                        RecordEncoding encoding = RecordEncoding::File);

} // namespace qorv

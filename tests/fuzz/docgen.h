// A generator of hostile documents: files laid out as the reader expects, whose content is chosen
// to hurt what comes after reading. Every method code 0..73 (sides, axis lines and coordinate
// numbers inside their owners), references to earlier and later elements, to the element itself,
// to sub-elements and to elements of the wrong kind, special doubles (NaN and infinity patterns,
// +-1e308, subnormals) and integers (INT_MIN, INT_MAX), strings of every length up to the limit
// with every byte value, every file version and type, macros, and now and then a file that must
// be refused (a string one byte too long, a count past the end).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qorv {
class Document;
}

namespace qorv::fuzz {

// The file of one seed: the same seed gives the same bytes on every machine. `mayBeRefused` tells
// whether the generator broke the layout somewhere (about one file in ten); every other file is
// one the reader must accept.
// Seeds 1 .. CostlyShape::Count give the costly documents, one of each shape, and so again every
// CostlySeedPeriod seeds.
std::vector<uint8_t> generateDocument(uint64_t seed, bool* mayBeRefused = nullptr);
constexpr uint64_t CostlySeedPeriod = 4000;

// Runs a file through what a user's file goes through: reading (a file that `mustRead` fails
// when it is refused); for a document, a full
// recalculation, the removal of unused internal elements and saving, reading the saved bytes back
// and a recalculation of that copy; for a macro file, writing it and reading it back. Checks
// that a refused file leaves the document empty, that every reference stays inside the list,
// that the removal keeps every element that is not internal with the same references, and that
// what is saved reads back and saves to the same bytes. `draw` is called on the document after
// each recalculation (the tests that link the drawing code render it there). Returns an empty
// string when every check held, else a description of the first failure.
std::string runGeneratedDocument(const std::vector<uint8_t>& file, bool mustRead,
                                 const std::function<void(Document&)>& draw = {});

// Documents of a few kilobytes that repeat costly work: each must still be read, recalculated,
// drawn and exported in bounded time and memory.
enum class CostlyShape {
    IterationOfFixedLocus,      // 50,000 copies each showing a locus and a graph that stay put
    CallChain,                  // F2 .. F12 each calling the previous one ten times
    LongPrograms,               // 80 graphs of a function of 1,000 words
    LocusOverOwnGraph,          // a locus of a point on the graph of a function of its driver
    IterationOverLocusCrossing, // each copy crosses a line with a locus
    PointsOnLociBeforeDriver,   // points on loci whose traced point comes before the driver
    IterationInStretch,         // an iteration inside the stretch of a point on a locus
    HugePictures,               // pictures declaring thousands of pixels a side in a few bytes
    Count
};
std::vector<uint8_t> costlyDocument(CostlyShape shape, uint64_t seed);

} // namespace qorv::fuzz

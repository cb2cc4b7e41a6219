// The options file "qorv.ini": the program options in a little-endian binary layout, field by
// field, in the user's application-data folder. Reading is all or nothing: a file that is
// missing, too large, cut short, longer than its fields, of another version or with a language
// name over 40 bytes leaves the options untouched, and the caller starts from the built-in ones
// and writes a fresh file.
#pragma once

#include "settings/options.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace qorv {

constexpr int32_t OptionsFileVersion = 900;
// No options file of this program comes near this; a larger one is not read.
constexpr uint64_t MaxOptionsFileBytes = 64 * 1024;

std::vector<uint8_t> encodeOptions(const ProgramOptions& o);
// Fills `out` only when the bytes are a whole options file; the values are taken as they are
// (normalizeOptions brings them into range).
bool decodeOptions(const uint8_t* data, size_t size, ProgramOptions& out);

enum class OptionsFileStatus { Read, Missing, Invalid };
OptionsFileStatus readOptionsFile(const std::string& path, ProgramOptions& out);
// Written like documents: a new file in the same folder, renamed over the old one.
bool writeOptionsFile(const std::string& path, const ProgramOptions& o);

// The options file's path: "qorv.ini" in the per-user application-data folder, which is made
// when missing; the program's own folder when there is none.
QString optionsFilePath();

// The language the options file remembers; empty when there is no readable options file. The
// file is only read.
std::string rememberedLanguage();

struct LoadedOptions {
    ProgramOptions options;
    bool fromFile = false;    // false: the built-in options
    bool writeFailed = false; // the fresh file could not be written
};

// What the file at `path` was last seen to hold, so that start-up reads it only once.
struct OptionsFileContent {
    bool read = false; // false: the file was missing or unreadable
    ProgramOptions options;
};

// Start-up: the options of the file when it reads correctly (normalised for this screen);
// otherwise the built-in ones, written to a fresh file at once. With `known`, the file is not
// read again and `known` stands for it.
LoadedOptions loadOptions(const QString& path, int screenWidth, int screenHeight,
                          const OptionsFileContent* known = nullptr);

} // namespace qorv

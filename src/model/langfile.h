// Language files (.lng): Windows-1252 text in the "languages" folder of the program, one
// assignment "id=text" a line, that replace texts of the UI text table. The file is untrusted:
// whatever it holds, reading it only ever stores texts cut to their slots.
#pragma once

#include "model/uitext.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qorv {

// What a language file did to the table.
struct LanguageApplied {
    int assignments = 0; // lines that set a text
    int unknownIds = 0;  // assignments whose id names nothing
    int ignored = 0;     // lines that are neither comments nor assignments
};

// Sets the built-in texts, then applies every assignment of `bytes` in order (a later line for
// the same id wins). A line whose first character after blanks is ';' is a comment; an
// assignment is an integer id (a negative one counts as its absolute value), blanks, '=',
// blanks and the text up to the end of the line; anything else is ignored. Texts are
// Windows-1252, end at a NUL byte, and are cut to their slot.
LanguageApplied applyLanguage(UiTextTable& table, std::string_view bytes);

// A file larger than this is read only this far (a complete table is a few tens of KiB).
constexpr size_t MaxLanguageFileBytes = size_t(1) << 20;

// The file of language `name` in `folder`: folder/name.lng.
std::string languageFilePath(const std::string& folder, const std::string& name);

// Reads the language file `name` of `folder` into the table; false when it cannot be read (the
// table is then left as it was).
bool loadLanguageFile(UiTextTable& table, const std::string& folder, const std::string& name);

// The languages offered in `folder`: the names of its "*.lng" files, each cut at its first ".",
// sorted.
std::vector<std::string> listLanguages(const std::string& folder);

// The options file keeps the remembered language in at most 40 Windows-1252 bytes. This is what
// it keeps of a name, as read back: the name itself when it fits, else its first 40 characters,
// and '?' for each character the code page lacks ("Čeština" comes back as "?eština").
constexpr size_t StoredLanguageNameBytes = 40;
std::string storedLanguageName(std::string_view utf8);

// The language of `folder` that `remembered` stands for: `remembered` itself when its file is
// there, else the first language whose stored name is `remembered` (so that a name the options
// file could not hold still finds its file); empty when none.
std::string findLanguage(const std::string& folder, const std::string& remembered);

// The language counts as Spanish when the first two kind names, trimmed and upper-cased, are
// "PUNTO" and "RECTA"; it picks the help file.
bool isSpanish(const UiTextTable& table);
const char* helpFileName(const UiTextTable& table);

// The table as a language file: every id that has a built-in text, with the table's current
// text, in Windows-1252.
std::string encodeLanguageFile(const UiTextTable& table);

} // namespace qorv

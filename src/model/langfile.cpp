#include "model/langfile.h"

#include "model/cp1252.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace qorv {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The id of an assignment line: optional blanks, an optional '-' or '+', digits, optional
// blanks, then '=' at `eq`. Nothing for anything else (ids beyond nine digits included: no slot
// has one).
std::optional<int> parseId(std::string_view head) {
    size_t i = 0;
    while (i < head.size() && isBlank(head[i]))
        ++i;
    if (i < head.size() && (head[i] == '-' || head[i] == '+')) ++i;
    const size_t digits = i;
    int id = 0;
    while (i < head.size() && head[i] >= '0' && head[i] <= '9') {
        if (i - digits == 9) return std::nullopt;
        id = id * 10 + (head[i] - '0');
        ++i;
    }
    if (i == digits) return std::nullopt;
    while (i < head.size() && isBlank(head[i]))
        ++i;
    if (i != head.size()) return std::nullopt;
    return id;
}

} // namespace

LanguageApplied applyLanguage(UiTextTable& table, std::string_view bytes) {
    table.fillBuiltInTexts();
    LanguageApplied r;
    while (!bytes.empty()) {
        const size_t end = std::min(bytes.find('\n'), bytes.size());
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        size_t first = 0;
        while (first < line.size() && isBlank(line[first]))
            ++first;
        if (first == line.size()) continue;
        if (line[first] == ';') continue;
        const size_t eq = line.find('=');
        const std::optional<int> id =
            eq == std::string_view::npos ? std::nullopt : parseId(line.substr(0, eq));
        if (!id) {
            ++r.ignored;
            continue;
        }
        std::string_view text = line.substr(eq + 1);
        while (!text.empty() && isBlank(text.front()))
            text.remove_prefix(1);
        text = text.substr(0, std::min(text.find('\0'), text.size()));
        // Cutting before decoding keeps a hostile line from costing more than its slot.
        text = text.substr(0, std::min(text.size(), size_t(UiTextTable::MessageSlotSize)));
        if (table.setById(*id, cp1252ToUtf8(text)))
            ++r.assignments;
        else
            ++r.unknownIds;
    }
    return r;
}

std::string languageFilePath(const std::string& folder, const std::string& name) {
    return (std::filesystem::path(folder) / (name + ".lng")).string();
}

bool loadLanguageFile(UiTextTable& table, const std::string& folder, const std::string& name) {
    if (name.empty()) return false;
    std::ifstream in(languageFilePath(folder, name), std::ios::binary);
    if (!in) return false;
    std::string bytes(MaxLanguageFileBytes, '\0');
    in.read(bytes.data(), std::streamsize(bytes.size()));
    if (in.bad()) return false;
    bytes.resize(size_t(in.gcount()));
    // A folder opens on some systems but reads nothing; an empty file is no language either.
    if (bytes.empty()) return false;
    // A file cut at the limit loses its last, incomplete line.
    if (bytes.size() == MaxLanguageFileBytes && in.peek() != std::char_traits<char>::eof())
        bytes.resize(bytes.rfind('\n') == std::string::npos ? 0 : bytes.rfind('\n'));
    applyLanguage(table, bytes);
    return true;
}

std::vector<std::string> listLanguages(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::filesystem::path& p = it->path();
        if (p.extension() != ".lng" || !it->is_regular_file(ec)) continue;
        std::string name = p.filename().string();
        name = name.substr(0, name.find('.'));
        if (!name.empty()) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::string storedLanguageName(std::string_view utf8) {
    std::string bytes = utf8ToCp1252(utf8);
    if (bytes.size() > StoredLanguageNameBytes) bytes.resize(StoredLanguageNameBytes);
    return cp1252ToUtf8(bytes);
}

std::string findLanguage(const std::string& folder, const std::string& remembered) {
    if (remembered.empty()) return {};
    std::error_code ec;
    if (std::filesystem::is_regular_file(languageFilePath(folder, remembered), ec))
        return remembered;
    for (const std::string& name : listLanguages(folder))
        if (storedLanguageName(name) == remembered) return name;
    return {};
}

bool isSpanish(const UiTextTable& table) {
    const auto is = [](const std::string& text, std::string_view word) {
        size_t b = 0, e = text.size();
        while (b < e && std::isspace(static_cast<unsigned char>(text[b])))
            ++b;
        while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1])))
            --e;
        if (e - b != word.size()) return false;
        for (size_t i = 0; i < word.size(); ++i)
            if (std::toupper(static_cast<unsigned char>(text[b + i])) != word[i]) return false;
        return true;
    };
    return is(table.kindName(Kind::Point), "PUNTO") && is(table.kindName(Kind::Line), "RECTA");
}

const char* helpFileName(const UiTextTable& table) {
    return isSpanish(table) ? "qorv9_es.chm" : "qorv9_en.chm";
}

std::string encodeLanguageFile(const UiTextTable& table) {
    std::string out;
    for (int id : UiTextTable::ids()) {
        out += std::to_string(id);
        out += '=';
        out += utf8ToCp1252(*table.textById(id));
        out += "\r\n";
    }
    return out;
}

} // namespace qorv

#include "view/webpage.h"

#include "model/docfile.h"
#include "model/document.h"
#include "model/uitext.h"
#include "settings/datafolders.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#ifndef QORV_WEB_BUILD_FOLDER
#define QORV_WEB_BUILD_FOLDER ""
#endif

namespace qorv {

namespace {

bool readWhole(const std::filesystem::path& p, std::string& out) {
    std::ifstream in(p, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    out = s.str();
    return bool(in) || in.eof();
}

std::string base64(const std::vector<uint8_t>& bytes) {
    static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const uint32_t n = uint32_t(bytes[i]) << 16 |
                           (i + 1 < bytes.size() ? uint32_t(bytes[i + 1]) << 8 : 0) |
                           (i + 2 < bytes.size() ? uint32_t(bytes[i + 2]) : 0);
        out += digits[n >> 18];
        out += digits[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? digits[(n >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? digits[n & 63] : '=';
    }
    return out;
}

// Text inside an HTML element: markup characters become references.
std::string htmlText(const std::string& s) {
    std::string out;
    for (const char c : s) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

void replaceMark(std::string& page, const std::string& mark, const std::string& with) {
    const size_t at = page.find(mark);
    if (at != std::string::npos) page.replace(at, mark.size(), with);
}

} // namespace

std::string webPageFolder() {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path self = fs::canonical("/proc/self/exe", ec);
    std::vector<fs::path> candidates;
    if (!ec) {
        const std::string installed = programDataFolder(self.parent_path().string(), "web");
        if (!installed.empty()) candidates.push_back(installed);
    }
    if (*QORV_WEB_BUILD_FOLDER) candidates.push_back(QORV_WEB_BUILD_FOLDER);
    for (const fs::path& c : candidates)
        if (fs::is_regular_file(c / "qorv-web.js", ec) && fs::is_regular_file(c / "page.html", ec))
            return c.string();
    return {};
}

std::string fillWebPage(const std::string& pageTemplate, const std::string& engine,
                        const std::vector<uint8_t>& document, const std::string& title) {
    // The loader script must not end its own element early: "</script" (in a string of it)
    // becomes "<\\/script", the same string to the script.
    std::string script;
    script.reserve(engine.size());
    for (size_t i = 0; i < engine.size(); ++i) {
        if (engine[i] == '<' && i + 7 < engine.size() && engine[i + 1] == '/' &&
            std::tolower(static_cast<unsigned char>(engine[i + 2])) == 's' &&
            std::equal(
                engine.begin() + long(i) + 2, engine.begin() + long(i) + 8, "script",
                [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; })) {
            script += "<\\/";
            ++i;
            continue;
        }
        script += engine[i];
    }
    std::string page = pageTemplate;
    // The engine goes in last: nothing inside it is taken for a mark.
    replaceMark(page, "@TITLE@", htmlText(title));
    replaceMark(page, "@DOCUMENT@", base64(document));
    replaceMark(page, "@ENGINE@", script);
    return page;
}

bool writeWebPage(Document& doc, const std::string& title, const std::string& path,
                  std::string* error) {
    const std::string folder = webPageFolder();
    std::string pageTemplate, engine;
    if (folder.empty() || !readWhole(std::filesystem::path(folder) / "page.html", pageTemplate) ||
        !readWhole(std::filesystem::path(folder) / "qorv-web.js", engine)) {
        if (error) *error = uiText().message(Msg::WebNotBuilt);
        return false;
    }
    const std::string page = fillWebPage(pageTemplate, engine, encodeDocument(doc), title);
    if (!writeFileAtomically(path, std::vector<uint8_t>(page.begin(), page.end()))) {
        if (error) *error = uiText().message(Msg::WriteError);
        return false;
    }
    return true;
}

} // namespace qorv

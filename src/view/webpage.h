// The construction as one self-contained web page: the engine module (WebAssembly inside its
// loader script), the document's bytes and the page's drawing script, in one HTML file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qorv {

class Document;

// The folder holding the engine module and the page template ("qorv-web.js", "page.html"): the
// "web" folder beside the program or in the installed data folder, else the web build of the
// source tree the program was built from. Empty when the module was not built.
std::string webPageFolder();

// Writes the page for `doc` (encoded as the program saves it, so the page reads exactly what the
// program would) atomically to `path`. False with `error` set (a text of the UI table) when the
// module is missing or the file cannot be written.
bool writeWebPage(Document& doc, const std::string& title, const std::string& path,
                  std::string* error);

// The page from its parts (the template's marks replaced); exposed for tests.
std::string fillWebPage(const std::string& pageTemplate, const std::string& engine,
                        const std::vector<uint8_t>& document, const std::string& title);

} // namespace qorv

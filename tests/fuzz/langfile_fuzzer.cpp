// libFuzzer target for language files: whatever the bytes, every text ends up whole UTF-8 within
// its slot.
#include "model/cp1252.h"
#include "model/langfile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace qorv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static UiTextTable table;
    applyLanguage(table, std::string_view(reinterpret_cast<const char*>(data), size));
    for (int id = 0; id < 2100; ++id) {
        const std::string* text = table.textById(id);
        if (!text) continue;
        if (utf8Length(*text) > size_t(UiTextTable::slotCharacters(id)) ||
            text->find('\0') != std::string::npos || cp1252ToUtf8(utf8ToCp1252(*text)) != *text)
            std::abort();
    }
    return 0;
}

// The UI text table: every text the program shows comes from these fixed-size slots, filled with
// the built-in Spanish texts and overwritten by a language file. The texts, their ids and their
// kinds are declared once, in model/uitexts.inc.
#pragma once

#include "model/element.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qorv {

// The language-file ranges of the 255-character message slots: ids 1000..1199 set slots 0..199,
// ids 2000..2099 slots 200..299 and ids 3000..3399 slots 300..699. -1 for an id outside them.
constexpr int messageSlotOfId(int id) {
    if (id >= 1000 && id < 1200) return id - 1000;
    if (id >= 2000 && id < 2100) return id - 2000 + 200;
    if (id >= 3000 && id < 3400) return id - 3000 + 300;
    return -1;
}

// The messages and labels, by their slots (model/uitexts.inc gives each its id and text).
namespace Msg {
enum : int {
#define QORV_MESSAGE(name, id, text) name = messageSlotOfId(id),
#include "model/uitexts.inc"
};
} // namespace Msg

// The 80-byte names that follow the method names.
namespace Name {
enum : int {
#define QORV_NAME(name, id, text) name,
#include "model/uitexts.inc"
    Count
};
} // namespace Name

// How many tool modes there are: one prompt row each.
// clang-format off
constexpr int kToolPromptRows = 0
#define QORV_PROMPT(tool, id, text) + 1
#include "model/uitexts.inc"
    ;
// clang-format on

// The language-file id of the status-bar prompt of a tool mode; 0 for a number that is not a tool.
int toolPromptId(int tool);

// A text set on components of the main window (menus, menu items, tool buttons) rather than
// kept in a slot: `names` lists, separated by blanks, the object names that show it (a menu item
// and the tool button that does the same); a button shows it as its hint.
struct ComponentRow {
    int id;
    const char* names;
    const char* text;
};

// The table of texts: every language-file id names exactly one slot or component text.
class UiTextTable {
  public:
    static constexpr int NameSlotSize = 80;
    static constexpr int MessageSlotSize = 256;
    // Kind names 0..24, then "lado", "eje x", "eje y", "coordenada x o r", "coordenada y o theta".
    static constexpr int KindNameSlots = 30;
    static constexpr int MethodNameSlots = Method::Count; // names: the method table's
    static constexpr int MessageSlots = 700;
    // One status-bar prompt per tool mode: as many as model/uitexts.inc has prompt rows.
    static constexpr int ToolPromptSlots = kToolPromptRows;

    UiTextTable() { fillBuiltInTexts(); }
    void fillBuiltInTexts();

    const std::string& kindName(int kind) const;
    const std::string& methodName(int method) const;
    const std::string& name(int slot) const; // Name::
    // Verdict word of property check method 50..54.
    const std::string& checkWord(int method, bool holds) const;
    const std::string& message(int slot) const;
    const std::string& toolPrompt(int tool) const;
    // The heading of a list of element kinds (language id 30).
    const std::string& kindsHeading() const { return kindsHeading_; }
    // The text of a component, by one of its object names; null for a name the table lacks.
    const std::string* componentText(std::string_view objectName) const;

    // Store a text in a slot, cut to fit the slot (79 or 255 characters).
    void setKindName(int slot, std::string_view text);
    void setMethodName(int slot, std::string_view text);
    void setName(int slot, std::string_view text);
    void setMessage(int slot, std::string_view text);
    void setToolPrompt(int tool, std::string_view text);

    // ---- language-file ids
    // Stores `utf8` in what `id` names (a negative id counts as its absolute value); false for an
    // id that names nothing.
    bool setById(int id, std::string_view utf8);
    // How many characters the slot of `id` holds (79 or 255); 0 for an id that names nothing.
    static int slotCharacters(int id);
    // The current text of what `id` names, or null.
    const std::string* textById(int id) const;
    // Every id whose built-in text is not empty, ascending: what a complete language file sets.
    static const std::vector<int>& ids();
    static std::span<const ComponentRow> components();

  private:
    std::array<std::string, KindNameSlots> kindNames_;
    std::string kindsHeading_;
    std::array<std::string, MethodNameSlots + Name::Count> names_; // methods, then Name::
    std::array<std::string, MessageSlots> messages_;
    std::array<std::string, 47> toolPrompts_; // ids 500..546
    std::vector<std::string> components_;     // by row of components()
};

// The program's table (one per process; the main window fills it at start-up).
UiTextTable& uiText();

// The length of the longest start of `text` of at most `max` bytes that does not end inside a
// UTF-8 sequence, and that start: every text that is cut is cut there.
size_t cutLength(std::string_view text, size_t max);
std::string cut(std::string_view text, size_t max);

} // namespace qorv

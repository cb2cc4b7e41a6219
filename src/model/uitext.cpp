#include "model/uitext.h"

#include "model/methodtable.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace qorv {

namespace {

const std::string kEmpty;

// The rows of model/uitexts.inc, by kind. Built-in texts are UTF-8 in the source; files convert at
// their edges.
struct KindNameRow {
    int slot; // -1: the heading of a list of kinds
    int id;   // 0: none
    const char* text;
};
constexpr KindNameRow kKindNameRows[] = {
#define QORV_KIND_NAME(kind, id, text) {kind, id, text},
#include "model/uitexts.inc"
};

struct IdText {
    int id;
    const char* text;
};
constexpr IdText kNameRows[] = {
#define QORV_NAME(name, id, text) {id, text},
#include "model/uitexts.inc"
};

struct PromptRow {
    int tool, id;
    const char* text;
};
constexpr PromptRow kPromptRows[] = {
#define QORV_PROMPT(tool, id, text) {tool, id, text},
#include "model/uitexts.inc"
};

constexpr IdText kMessageRows[] = {
#define QORV_MESSAGE(name, id, text) {id, text},
#include "model/uitexts.inc"
};

constexpr ComponentRow kComponents[] = {
#define QORV_COMPONENT(id, objects, text) {id, objects, text},
#include "model/uitexts.inc"
};

// The verdict words of checks 50..54: holds, fails.
constexpr int kCheckWords[5][2] = {{Msg::CheckParallel, Msg::CheckNotParallel},
                                   {Msg::CheckPerpendicular, Msg::CheckNotPerpendicular},
                                   {Msg::CheckMember, Msg::CheckNotMember},
                                   {Msg::CheckEquidistant, Msg::CheckNotEquidistant},
                                   {Msg::CheckAligned, Msg::CheckNotAligned}};

// The id ranges of the language file, by what they set.
constexpr bool isKindNameId(int id) {
    return id >= 1 && id <= 39;
}
constexpr bool isNameId(int id) {
    return id >= 100 && id <= 399;
}
constexpr int FirstPromptId = 500, PromptIds = 47; // 500..546; later prompts are messages
constexpr bool isComponentId(int id) {
    return id >= 550 && id <= 699;
}

// Every id a row gives, the method names' included.
constexpr size_t kIdCount = std::size(kKindNameRows) + std::size(kNameRows) + Method::Count +
                            std::size(kPromptRows) + std::size(kMessageRows) +
                            std::size(kComponents);
constexpr std::array<int, kIdCount> allRowIds() {
    std::array<int, kIdCount> ids{};
    size_t n = 0;
    for (const KindNameRow& r : kKindNameRows)
        ids[n++] = r.id;
    for (const IdText& r : kNameRows)
        ids[n++] = r.id;
    for (const MethodRow& r : methodTable())
        ids[n++] = r.nameId;
    for (const PromptRow& r : kPromptRows)
        ids[n++] = r.id;
    for (const IdText& r : kMessageRows)
        ids[n++] = r.id;
    for (const ComponentRow& r : kComponents)
        ids[n++] = r.id;
    return ids;
}
// The first id given twice; 0 when every id is given once (the vector's kind name has none).
constexpr int firstRepeatedId() {
    std::array<int, kIdCount> ids = allRowIds();
    std::sort(ids.begin(), ids.end());
    for (size_t i = 1; i < ids.size(); ++i)
        if (ids[i] != 0 && ids[i] == ids[i - 1]) return ids[i];
    return 0;
}
// Held in a constant so that the compiler's message shows the id.
constexpr int kRepeatedId = firstRepeatedId();
static_assert(kRepeatedId == 0, "two texts have the same language-file id");

// Every row's id lies in the range that sets its kind of text.
constexpr bool idsInTheirRanges() {
    for (const KindNameRow& r : kKindNameRows)
        if (r.id != 0 && !isKindNameId(r.id)) return false;
    for (const IdText& r : kNameRows)
        if (!isNameId(r.id)) return false;
    for (const MethodRow& r : methodTable())
        if (!isNameId(r.nameId)) return false;
    for (const PromptRow& r : kPromptRows)
        if ((r.id < FirstPromptId || r.id >= FirstPromptId + PromptIds) &&
            messageSlotOfId(r.id) < 0)
            return false;
    for (const IdText& r : kMessageRows)
        if (messageSlotOfId(r.id) < 0) return false;
    for (const ComponentRow& r : kComponents)
        if (!isComponentId(r.id)) return false;
    return true;
}
static_assert(idsInTheirRanges(), "a text's id is outside the range of its kind");

// Every tool mode has exactly one prompt.
constexpr bool onePromptPerTool() {
    std::array<int, UiTextTable::ToolPromptSlots> count{};
    for (const PromptRow& r : kPromptRows) {
        if (r.tool < 0 || r.tool >= UiTextTable::ToolPromptSlots) return false;
        ++count[size_t(r.tool)];
    }
    for (int c : count)
        if (c != 1) return false;
    return true;
}
static_assert(onePromptPerTool(), "each tool mode 0..ToolPromptSlots-1 needs one prompt row");

constexpr bool kindSlotsFilled() {
    std::array<int, UiTextTable::KindNameSlots> count{};
    for (const KindNameRow& r : kKindNameRows)
        if (r.slot >= 0) ++count[size_t(r.slot)];
    for (int c : count)
        if (c != 1) return false;
    return true;
}
static_assert(kindSlotsFilled(), "each kind-name slot needs one row");

// Cut to at most max characters (slots hold characters, not bytes).
std::string cutChars(std::string_view text, size_t max) {
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue; // continuation byte
        if (chars == max) return std::string(text.substr(0, i));
        ++chars;
    }
    return std::string(text);
}

template <size_t N> const std::string& at(const std::array<std::string, N>& a, int i) {
    return i >= 0 && size_t(i) < N ? a[size_t(i)] : kEmpty;
}

// A negative id counts as its absolute value; -1 for the one that has none.
int absoluteId(int id) {
    if (id >= 0) return id;
    return id == std::numeric_limits<int>::min() ? -1 : -id;
}

int componentRow(int id) {
    for (size_t r = 0; r < std::size(kComponents); ++r)
        if (kComponents[r].id == id) return int(r);
    return -1;
}

// The row of a kind-name id; null for an id no kind name has.
const KindNameRow* kindNameRow(int id) {
    if (!isKindNameId(id)) return nullptr;
    for (const KindNameRow& r : kKindNameRows)
        if (r.id == id) return &r;
    return nullptr;
}

// The name slot of a name id (a method's code, or after the methods a `Name::`); -1 for none.
int nameSlot(int id) {
    if (!isNameId(id)) return -1;
    for (const MethodRow& r : methodTable())
        if (r.nameId == id) return r.code;
    for (size_t k = 0; k < std::size(kNameRows); ++k)
        if (kNameRows[k].id == id) return UiTextTable::MethodNameSlots + int(k);
    return -1;
}

} // namespace

int toolPromptId(int tool) {
    for (const PromptRow& r : kPromptRows)
        if (r.tool == tool) return r.id;
    return 0;
}

size_t cutLength(std::string_view text, size_t max) {
    if (text.size() <= max) return text.size();
    size_t n = max;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    return n;
}

std::string cut(std::string_view text, size_t max) {
    return std::string(text.substr(0, cutLength(text, max)));
}

void UiTextTable::fillBuiltInTexts() {
    for (auto& m : messages_)
        m.clear();
    for (const KindNameRow& r : kKindNameRows)
        (r.slot < 0 ? kindsHeading_ : kindNames_[size_t(r.slot)]) = r.text;
    for (const MethodRow& row : methodTable())
        names_[size_t(row.code)] = row.name;
    for (size_t k = 0; k < std::size(kNameRows); ++k)
        names_[MethodNameSlots + k] = kNameRows[k].text;
    for (const PromptRow& r : kPromptRows)
        *const_cast<std::string*>(textById(r.id)) = r.text;
    for (const IdText& r : kMessageRows)
        messages_[size_t(messageSlotOfId(r.id))] = r.text;
    components_.assign(std::size(kComponents), std::string());
    for (size_t r = 0; r < std::size(kComponents); ++r)
        components_[r] = kComponents[r].text;
}

const std::string& UiTextTable::kindName(int kind) const {
    return at(kindNames_, kind);
}
const std::string& UiTextTable::methodName(int method) const {
    return method >= 0 && method < MethodNameSlots ? names_[size_t(method)] : kEmpty;
}
const std::string& UiTextTable::name(int slot) const {
    return slot >= 0 && slot < Name::Count ? names_[size_t(MethodNameSlots + slot)] : kEmpty;
}
const std::string& UiTextTable::message(int slot) const {
    return at(messages_, slot);
}
const std::string& UiTextTable::toolPrompt(int tool) const {
    const std::string* text = textById(toolPromptId(tool));
    return text ? *text : kEmpty;
}

const std::string& UiTextTable::checkWord(int method, bool holds) const {
    if (method < Method::ParallelCheck || method > Method::AlignmentCheck) return kEmpty;
    return messages_[size_t(kCheckWords[method - Method::ParallelCheck][holds ? 0 : 1])];
}

const std::string* UiTextTable::componentText(std::string_view objectName) const {
    if (objectName.empty()) return nullptr;
    for (size_t r = 0; r < std::size(kComponents); ++r) {
        std::string_view names = kComponents[r].names;
        while (!names.empty()) {
            const size_t end = std::min(names.find(' '), names.size());
            if (names.substr(0, end) == objectName) return &components_[r];
            names.remove_prefix(std::min(end + 1, names.size()));
        }
    }
    return nullptr;
}

void UiTextTable::setKindName(int slot, std::string_view text) {
    if (slot >= 0 && slot < KindNameSlots)
        kindNames_[size_t(slot)] = cutChars(text, NameSlotSize - 1);
}
void UiTextTable::setMethodName(int slot, std::string_view text) {
    if (slot >= 0 && slot < MethodNameSlots)
        names_[size_t(slot)] = cutChars(text, NameSlotSize - 1);
}
void UiTextTable::setName(int slot, std::string_view text) {
    if (slot >= 0 && slot < Name::Count)
        names_[size_t(MethodNameSlots + slot)] = cutChars(text, NameSlotSize - 1);
}
void UiTextTable::setMessage(int slot, std::string_view text) {
    if (slot >= 0 && slot < MessageSlots)
        messages_[size_t(slot)] = cutChars(text, MessageSlotSize - 1);
}

void UiTextTable::setToolPrompt(int tool, std::string_view text) {
    if (const int id = toolPromptId(tool)) setById(id, text);
}

// ---- language-file ids --------------------------------------------------------------------------

bool UiTextTable::setById(int id, std::string_view utf8) {
    const int slotSize = slotCharacters(id);
    if (slotSize == 0) return false;
    *const_cast<std::string*>(textById(id)) = cutChars(utf8, size_t(slotSize));
    return true;
}

const std::string* UiTextTable::textById(int id) const {
    id = absoluteId(id);
    if (id <= 0) return nullptr;
    if (const KindNameRow* r = kindNameRow(id))
        return r->slot < 0 ? &kindsHeading_ : &kindNames_[size_t(r->slot)];
    if (const int slot = nameSlot(id); slot >= 0) return &names_[size_t(slot)];
    if (id >= FirstPromptId && id < FirstPromptId + PromptIds)
        return &toolPrompts_[size_t(id - FirstPromptId)];
    if (const int row = componentRow(id); row >= 0) return &components_[size_t(row)];
    if (const int slot = messageSlotOfId(id); slot >= 0) return &messages_[size_t(slot)];
    return nullptr;
}

int UiTextTable::slotCharacters(int id) {
    id = absoluteId(id);
    if (id <= 0) return 0;
    if (const KindNameRow* r = kindNameRow(id))
        return r->slot < 0 ? MessageSlotSize - 1 : NameSlotSize - 1;
    if (nameSlot(id) >= 0) return NameSlotSize - 1;
    if ((id >= FirstPromptId && id < FirstPromptId + PromptIds) || componentRow(id) >= 0 ||
        messageSlotOfId(id) >= 0)
        return MessageSlotSize - 1;
    return 0;
}

const std::vector<int>& UiTextTable::ids() {
    static const std::vector<int> all = [] {
        const UiTextTable builtIn;
        std::vector<int> v;
        for (int id : allRowIds())
            if (const std::string* text = builtIn.textById(id); text && !text->empty())
                v.push_back(id);
        std::sort(v.begin(), v.end());
        return v;
    }();
    return all;
}

std::span<const ComponentRow> UiTextTable::components() {
    return kComponents;
}

UiTextTable& uiText() {
    static UiTextTable table;
    return table;
}

} // namespace qorv

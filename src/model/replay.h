// The step-by-step replay's view of a construction: its steps (the elements a user can list) and
// cutting the construction back to one of them.
#pragma once

#include "model/document.h"

#include <vector>

namespace qorv {

// The construction steps in list order: the listable elements (no names, defined, not internal,
// visible unless hidden elements are shown).
std::vector<Element*> constructionSteps(const Document& doc, bool showHidden);

// Deletes every element after `last` (which stays the end of the list), with their trace and
// animation entries. Returns whether anything was deleted.
bool cutAfter(Document& doc, Element* last);

// The replay timer's interval for an item of its interval list: "0.1 s." .. "1.0 s." (items
// 0..9), "2.0 s." .. "5.0 s." (10..13), "10 s." (14).
int replayIntervalMs(int item);

} // namespace qorv

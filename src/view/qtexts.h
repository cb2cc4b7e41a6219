// The UI text table's texts as Qt strings, for the windows and dialogs.
#pragma once

#include "model/uitext.h"

#include <QString>

#include <string>

namespace qorv {

inline QString qtext(const std::string& s) {
    return QString::fromStdString(s);
}

// The text of message slot `slot`.
inline QString text(int slot) {
    return qtext(uiText().message(slot));
}

// The text of the second group's name slot `slot` (Name::).
inline QString nameText(int slot) {
    return qtext(uiText().name(slot));
}

} // namespace qorv

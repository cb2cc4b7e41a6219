// The action of a hide/show button, shared by a press in the drawing, the creation of a button
// and the properties dialog.
#pragma once

#include "model/element.h"

namespace qorv {

// Each element the button controls takes the state the button keeps for it when `flag` is 1
// and the opposite when it is 0; names follow their elements. Internal elements are left alone.
void applyShowHideButton(Element& button, int flag);

} // namespace qorv

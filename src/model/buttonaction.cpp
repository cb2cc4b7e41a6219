#include "model/buttonaction.h"

namespace qorv {

void applyShowHideButton(Element& button, int flag) {
    auto* t = button.tailAs<ButtonTail>();
    if (button.method != Method::ShowHideButton || !t) return;
    for (size_t i = 0; i < t->elements.size(); ++i) {
        Element* c = t->elements[i];
        if (!c || c->visible == Internal) continue;
        const int state = i < t->states.size() ? (t->states[i] ? 1 : 0) : 1;
        c->visible = flag == 1 ? state : 1 - state;
        if (c->nameElement) c->nameElement->visible = c->visible;
    }
}

} // namespace qorv

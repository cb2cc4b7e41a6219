// The main window's side of traces, animation, the step-by-step replay and viewer mode.
#include "app/animfeatures.h"
#include "app/tform1.h"

namespace qorv {

void TForm1::setupAnimation() {
    anim_ = new AnimationFeatures(*this);
}

void TForm1::animationEntryClicked(Element* e) {
    if (anim_) anim_->animationDialog().entryClicked(e);
}

} // namespace qorv

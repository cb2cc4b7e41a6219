// The main window's menu items of traces, animation, the step-by-step replay and viewer mode.
#include "app/animfeatures.h"
#include "app/tform1.h"
#include "settings/language.h"

#include <QMenu>

namespace qorv {

void TForm1::setupAnimActions() {
    anim_ = new AnimationFeatures(*this);
    AnimationFeatures& a = *anim_;
    QMenu* traces = editMenu_->addMenu(componentText(QStringLiteral("M_trazas")));
    traces->setObjectName(QStringLiteral("M_trazas"));
    traces->addActions({a.M_traza, a.M_traza_desactivar, a.M_dibtodo});
    viewMenu_->addSeparator();
    viewMenu_->addActions({a.M_PasoaPaso, a.M_anim, a.M_modovisor});
}

void TForm1::animationEntryClicked(Element* e) {
    if (anim_) anim_->animationDialog().entryClicked(e);
}

} // namespace qorv

#include "app/controllers/languagecontroller.h"

#include "app/commands.h"
#include "app/editorsession.h"
#include "model/languagestartup.h"
#include "view/tooltable.h"

namespace qorv {

LanguageController::LanguageController(const FeatureContext& context, QObject* parent)
    : QObject(parent), ctx_(context) {
    ctx_.onCommand(CommandId::Language, this, [this] { chooseFromMenu(); });
}

void LanguageController::chooseFromMenu() {
    if (!host_) return;
    const std::optional<std::string> choice = host_->chooseLanguage();
    if (choice && !choice->empty()) {
        host_->rememberLanguage(*choice);
        ctx_.session.programOptions().language = *choice; // kept when the options are saved
    }
    host_->loadLanguage(host_->rememberedLanguage());
    emit languageChanged();
    ctx_.session.chooseTool(Tool::Move);
}

} // namespace qorv

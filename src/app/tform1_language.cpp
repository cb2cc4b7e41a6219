// The main window's language: "Idioma..." and the texts shown again after a language is loaded.
#include "app/tform1.h"

#include "app/commands.h"
#include "model/languagestartup.h"
#include "model/uitext.h"
#include "settings/language.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QToolBar>

namespace qorv {

void TForm1::createLanguageAction() {
    M_idioma = commands_->action(CommandId::Language);
    connect(M_idioma, &QAction::triggered, this, &TForm1::chooseLanguageFromMenu);
}

void TForm1::applyLanguageTexts() {
    showDocumentList(); // "Documento 1" is a text of the language too
    updateTitle();
    documentBar_->setWindowTitle(QString::fromStdString(uiText().message(Msg::DocumentBar)));
    toolBars_->applyTexts();
    applyComponentTexts(*this);
    applyMenuTexts();
    showRecentFiles();
    setStatusText(QString::fromStdString(uiText().toolPrompt(currentTool())));
    updateStatusUnits();
}

void TForm1::chooseLanguageFromMenu() {
    if (!languageHost_) return;
    const std::optional<std::string> choice = languageHost_->chooseLanguage();
    if (choice && !choice->empty()) {
        languageHost_->rememberLanguage(*choice);
        options_.language = *choice; // kept when the options are saved
    }
    languageHost_->loadLanguage(languageHost_->rememberedLanguage());
    applyLanguageTexts();
    chooseTool(Tool::Move);
}

} // namespace qorv

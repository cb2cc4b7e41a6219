// The main window's language: "Idioma..." and the texts shown again after a language is loaded.
#include "app/tform1.h"

#include "model/languagestartup.h"
#include "model/uitext.h"
#include "settings/language.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QToolBar>

namespace qorv {

void TForm1::createLanguageAction() {
    M_idioma = new QAction(componentText(QStringLiteral("M_idioma")), this);
    M_idioma->setObjectName(QStringLiteral("M_idioma"));
    connect(M_idioma, &QAction::triggered, this, &TForm1::chooseLanguageFromMenu);
}

void TForm1::nameComponents() {
    const std::pair<QObject*, const char*> names[] = {
        {M_undo, "M_undo"},
        {M_redo, "M_redo"},
        {M_cortar, "M_cortar"},
        {M_copiar, "M_copiar"},
        {M_pegar, "M_pegar"},
        {M_pegar_imagen, "M_pegar_imagen"},
        {TodosElem1, "TodosElem1"},
        {MuePan1, "MuePan1"},
        {PantallaCom, "PantallaCom"},
        {M_AA, "M_AA"},
        {toolBars_->mainBar()->toggleViewAction(), "M_botprin"},
        {toolBars_->editBar()->toggleViewAction(), "M_botedi"},
        {documentBar_->toggleViewAction(), "M_bardoc"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(QString::fromLatin1(name));
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

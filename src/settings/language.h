// The language of the program: choosing a language file, loading it into the UI text table, and
// Qt's own dialogs (file dialogs, message-box buttons, colour and font dialogs) in the same
// language through Qt's shipped translations.
#pragma once

#include "model/languagestartup.h"
#include "settings/options.h"
#include "settings/optionsfile.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QObject;
class QWidget;

namespace qorv {

// The "languages" folder: beside the program, or in the installed data folder.
QString languagesFolder();

// The two windows chooseLanguage shows, replaceable (tests answer without them).
struct LanguageDialogs {
    // TV_selidioma over `names`: the name chosen, nothing on Cancel.
    std::function<std::optional<QString>(const QStringList& names)> choose;
    // An information box with the program's caption.
    std::function<void(const QString& text)> inform;
};

// Lists the folder's language files and lets the user choose one. None found: the message "No se
// encuentran ficheros de lenguaje" and nothing.
std::optional<QString> chooseLanguage(const LanguageDialogs& dialogs,
                                      const QString& folder = languagesFolder());

// Reads the language file of `name` into uiText() and gives Qt's dialogs the language it names
// (its Msg::QtLanguageCode). False, with nothing changed, when the file cannot be read.
bool loadLanguage(const QString& name, const QString& folder = languagesFolder());

// Installs Qt's translations of language `code` ("es", ...), replacing those installed before;
// none are installed when Qt ships none for it. Returns whether some were installed.
bool translateSystemDialogs(const QString& code);

// The text of a component (menu, menu item, tool button) of the UI text table, by its object
// name; empty for a name the table lacks.
QString componentText(const QString& objectName);
// Gives every component below `root` whose object name the table knows its text: menus their
// title, actions their text, buttons their hint.
void applyComponentTexts(QObject& root);

// The start-up host over the options file: the language it remembers, and the file written
// again when the user chooses one.
class ProgramLanguageHost : public LanguageHost {
  public:
    // `dialogs`: the program's are defaultLanguageDialogs (dialogs/tv_selidioma.h).
    explicit ProgramLanguageHost(LanguageDialogs dialogs);
    bool optionsFileRead() const override { return optionsRead_; }
    std::string rememberedLanguage() const override { return options_.language; }
    void setDefaultOptions() override;
    void rememberLanguage(const std::string& name) override;
    std::optional<std::string> chooseLanguage() override;
    bool loadLanguage(const std::string& name) override;
    void reportNoLanguageFiles() override;
    // What the options file holds after start-up, for the main window to take without reading
    // it again.
    const OptionsFileContent& optionsFile() const { return file_; }

    LanguageDialogs dialogs;

  private:
    QString optionsPath_;
    ProgramOptions options_;
    bool optionsRead_ = false;
    OptionsFileContent file_;
};

} // namespace qorv

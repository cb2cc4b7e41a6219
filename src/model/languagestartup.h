// The order in which the program settles its language at start-up, against the options file.
// What it needs from the rest of the program comes through LanguageHost, so that the order can
// be run with the real options file and dialogs or with a test's stand-ins.
#pragma once

#include <optional>
#include <string>

namespace qorv {

class LanguageHost {
  public:
    virtual ~LanguageHost() = default;
    // Whether the options file existed and read correctly.
    virtual bool optionsFileRead() const = 0;
    // The language the options remember (empty for none).
    virtual std::string rememberedLanguage() const = 0;
    // Sets the built-in option defaults (the options file was missing or bad).
    virtual void setDefaultOptions() = 0;
    // Makes `name` the remembered language and writes the options file.
    virtual void rememberLanguage(const std::string& name) = 0;
    // Lets the user choose a language; nothing when none is chosen or none is offered (the host
    // has then told the user why).
    virtual std::optional<std::string> chooseLanguage() = 0;
    // Loads the language file of `name` into the UI text table; false when it cannot be read.
    virtual bool loadLanguage(const std::string& name) = 0;
    // "No se encuentran ficheros de lenguaje".
    virtual void reportNoLanguageFiles() = 0;
};

// Settles the language: without an options file the user chooses one and it is written; the
// remembered language is loaded; when that fails and the options file had been read, the user
// chooses again. False when the program must end (no choice, or no language could be loaded).
bool startLanguage(LanguageHost& host);

} // namespace qorv

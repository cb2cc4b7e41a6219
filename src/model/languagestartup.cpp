#include "model/languagestartup.h"

namespace qorv {

bool startLanguage(LanguageHost& host) {
    const bool optionsRead = host.optionsFileRead();
    if (!optionsRead) {
        host.setDefaultOptions();
        const std::optional<std::string> choice = host.chooseLanguage();
        if (!choice) return false;
        host.rememberLanguage(*choice);
    }
    if (host.loadLanguage(host.rememberedLanguage())) return true;
    if (optionsRead) {
        const std::optional<std::string> choice = host.chooseLanguage();
        if (!choice) return false;
        host.rememberLanguage(*choice);
        if (host.loadLanguage(host.rememberedLanguage())) return true;
    }
    host.reportNoLanguageFiles();
    return false;
}

} // namespace qorv

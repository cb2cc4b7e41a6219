// "Idioma...": the language chosen, remembered and loaded; everyone showing texts follows
// languageChanged.
#pragma once

#include "app/controllers/featurecontext.h"

#include <QObject>

namespace qorv {

class LanguageHost;

class LanguageController : public QObject {
    Q_OBJECT
  public:
    explicit LanguageController(const FeatureContext& context, QObject* parent = nullptr);

    // What "Idioma..." chooses with and where the choice is remembered; without one the item
    // does nothing.
    void setHost(LanguageHost* host) { host_ = host; }
    // "Idioma...": a language chosen becomes the remembered one; the language (new or old) is
    // loaded again, the texts are shown again and the move tool is chosen.
    void chooseFromMenu();

  signals:
    // The UI text table holds another language: menus, hints, status bar and caption follow.
    void languageChanged();

  private:
    FeatureContext ctx_;
    LanguageHost* host_ = nullptr;
};

} // namespace qorv

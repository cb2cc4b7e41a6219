// "&Macros": the macro work of the macro tools (lent to the tools: the lists chosen in the
// drawing, the macro applied) and the macro dialog on the current document.
#pragma once

#include "app/controllers/featurecontext.h"
#include "macros/macrosession.h"

#include <QObject>
#include <QString>

#include <functional>

namespace qorv {

class HelpController;
class TMacCon;

class MacroController : public QObject {
    Q_OBJECT
  public:
    // The macro dialog's help comes from `help`.
    MacroController(const FeatureContext& context, HelpController& help);

    MacroSession& session() { return macros_; }
    // The folder of macro files: the last one used, or without one the folder of documents (the
    // program's own folder is not a place of the user's).
    QString folder() const;

    // "Macros..." and B_MacCon: the macro dialog on the current document. Opened in a macro
    // selection mode, it first takes the elements chosen in the drawing as the initial or final
    // list; when it closes, the tool mode it chose is taken, or the move tool after B_no.
    void openDialog();
    // Runs instead of the dialog's modal loop (tests press its buttons there).
    void setDialogHook(std::function<void(TMacCon&)> hook) { dialogHook_ = std::move(hook); }

  signals:
    // The dialog closed without choosing a tool: the tool bars show the current tool again (its
    // button B_MacCon was pressed to open the dialog).
    void toolShownAgain();

  private:
    FeatureContext ctx_;
    MacroSession macros_;
    std::function<void(TMacCon&)> dialogHook_;
    HelpController& help_;
};

} // namespace qorv

// The main window's "&Macros": the macro dialog and what it asks of the window.
#include "app/tform1.h"

#include "app/commands.h"
#include "app/helpwindow.h"
#include "macros/macrosession.h"
#include "model/uitext.h"
#include "settings/language.h"
#include "view/qtexts.h"
#include "view/tooltable.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace qorv {

void TForm1::createMacroActions() {
    M_macros = commands_->action(CommandId::Macros);
    connect(M_macros, &QAction::triggered, this, &TForm1::openMacroDialog);
}

MacroSession& TForm1::macroSession() {
    return macroSession_;
}

void TForm1::openMacroDialog() {
    if (noDocument_) return;
    beforeDialog();
    Document& doc = document();
    MacroSession& session = macroSession();
    session.dropMissing(doc);
    // The elements chosen in the drawing become the list of the mode.
    if (currentTool() == Tool::MacroInitial) session.storeInitial(doc);
    if (currentTool() == Tool::MacroFinal) session.storeFinal();
    session.dialogOpen = true;
    canvas_->redraw();

    TMacCon dialog(*this, this);
    if (macroDialogHook_)
        macroDialogHook_(dialog);
    else
        dialog.exec();
    // The help shown from the dialog was its own while it ran: it stays, with the window.
    if (helpWindow_ && helpWindow_->parentWidget() == &dialog) {
        const bool shown = helpWindow_->isVisible();
        helpWindow_->setParent(this, Qt::Window);
        if (shown) helpWindow_->show();
    }

    session.dialogOpen = false;
    if (dialog.chosenTool() >= 0)
        chooseTool(dialog.chosenTool());
    else if (dialog.result() == TMacCon::BackToMove)
        chooseTool(Tool::Move);
    else
        toolBars_->showTool(currentTool()); // B_MacCon was pressed to open the dialog
    canvas_->redraw();                      // without the marks
    updateTitle();
}

void TForm1::showMacroHelp(QWidget* dialog) {
    HelpWindow* help = openHelp();
    if (!help) return;
    // A modal dialog blocks every window but its own: the help joins the dialog while it runs.
    if (dialog && help->parentWidget() != dialog) {
        help->hide();
        help->setParent(dialog, Qt::Window);
    }
    const HelpTopic topic = helpTopic(Tool::ApplyMacro);
    help->showTopic(QString::fromLatin1(topic.page), QString::fromLatin1(topic.anchor));
}

std::vector<std::pair<QString, Document*>> TForm1::otherDocuments() {
    std::vector<std::pair<QString, Document*>> others;
    for (int i = 0; i < docs_.count(); ++i)
        if (i != docs_.currentIndex()) others.emplace_back(docs_.name(i), &docs_.at(i));
    return others;
}

std::optional<QString> TForm1::askText(const QString& prompt, const QString& initial) {
    QString answer = initial;
    if (!dialogs().inputText(text(Msg::ProgramCaption), prompt, answer)) return std::nullopt;
    return answer;
}

QString TForm1::macroFileToSave(const QString& proposed) {
    return dialogs().saveFileName(text(Msg::SaveMacro), proposed, {text(Msg::FilterMacros)},
                                  QStringLiteral("mac"));
}

QString TForm1::macroFileToOpen() {
    return dialogs().openFileName(text(Msg::LoadMacros), lastMacroFolder(),
                                  {text(Msg::FilterMacros), text(Msg::FilterAllFiles)});
}

void TForm1::setMacroFolder(const QString& folder) {
    folders_.macros = folder;
}

} // namespace qorv

#include "app/prompts.h"

#include "model/uitext.h"
#include "view/qtexts.h"

#include <QDialog>
#include <QMessageBox>

namespace qorv {

Prompts::Prompts(QWidget* parent) : parent_(parent) {}

Prompts::~Prompts() = default;

UserDialogs& Prompts::dialogs() {
    if (dialogs_) return *dialogs_;
    if (!native_) native_ = makeNativeDialogs(parent_);
    return *native_;
}

void Prompts::warn(const QString& message) {
    if (sink_) {
        sink_(message);
        return;
    }
    QMessageBox::warning(parent_, text(Msg::ProgramCaption), message);
}

void Prompts::inform(const QString& message) {
    if (sink_) {
        sink_(message);
        return;
    }
    QMessageBox::information(parent_, text(Msg::ProgramCaption), message);
}

void Prompts::warnField(const QString& caption, const QString& message) {
    if (sink_) {
        sink_(caption + QStringLiteral(": ") + message);
        return;
    }
    QMessageBox::warning(parent_, caption, message);
}

bool Prompts::askYesNo(const QString& question) {
    if (questionHook_) return questionHook_(question);
    return QMessageBox::question(parent_, text(Msg::ProgramCaption), question,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void Prompts::run(QDialog& dialog) {
    beforeDialog();
    if (dialogHook_)
        dialogHook_(dialog);
    else
        dialog.exec();
}

} // namespace qorv

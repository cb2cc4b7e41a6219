// How the window's features ask and tell the user: questions, file dialogs, messages and modal
// dialogs. Each way can be replaced, so that tests answer without a modal loop.
#pragma once

#include "app/userdialogs.h"

#include <QString>

#include <functional>
#include <memory>

class QDialog;
class QWidget;

namespace qorv {

class Prompts {
  public:
    // `parent`: the window the boxes and dialogs belong to.
    explicit Prompts(QWidget* parent);
    ~Prompts();
    Prompts(const Prompts&) = delete;
    Prompts& operator=(const Prompts&) = delete;

    QWidget* parent() const { return parent_; }

    // Questions with Yes, No and Cancel, file dialogs and input boxes; null gives back the
    // platform's (the object is not owned).
    void setUserDialogs(UserDialogs* dialogs) { dialogs_ = dialogs; }
    UserDialogs& dialogs();
    // Where warnings and information go (message boxes with the program's caption unless
    // replaced).
    void setMessageSink(std::function<void(const QString&)> sink) { sink_ = std::move(sink); }
    // Modal dialogs are shown through this instead of exec().
    void setDialogHook(std::function<void(QDialog&)> hook) { dialogHook_ = std::move(hook); }
    // Yes/No questions.
    void setQuestionHook(std::function<bool(const QString&)> hook) {
        questionHook_ = std::move(hook);
    }
    // Runs before every modal dialog (a gesture holding the mouse ends).
    void setBeforeDialog(std::function<void()> before) { before_ = std::move(before); }

    void warn(const QString& text);
    void inform(const QString& text);
    // A warning about a dialog's field, with the dialog's caption.
    void warnField(const QString& caption, const QString& text);
    bool askYesNo(const QString& question);
    // Shows a modal dialog (the gesture running ends first); its result() tells how it closed.
    void run(QDialog& dialog);
    // What runs before a modal dialog.
    void beforeDialog() {
        if (before_) before_();
    }

  private:
    QWidget* parent_;
    UserDialogs* dialogs_ = nullptr;
    std::unique_ptr<UserDialogs> native_;
    std::function<void(const QString&)> sink_;
    std::function<void(QDialog&)> dialogHook_;
    std::function<bool(const QString&)> questionHook_;
    std::function<void()> before_;
};

} // namespace qorv

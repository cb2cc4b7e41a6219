// The questions and file dialogs of the document commands, behind one interface: the main window
// asks through it, and tests answer without a modal loop.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

namespace qorv {

class UserDialogs {
  public:
    enum class Answer { Yes, No, Cancel };

    virtual ~UserDialogs() = default;
    // A question with the buttons Yes, No and Cancel (closing the box is Cancel).
    virtual Answer ask(const QString& caption, const QString& question) = 0;
    // An existing file to open, starting in `folder`; empty when cancelled. The first filter is
    // the one chosen at first.
    virtual QString openFileName(const QString& caption, const QString& folder,
                                 const QStringList& filters) = 0;
    // A file to save to, proposing `proposed` (a full path); the extension `suffix` is added to a
    // name typed without one. Empty when cancelled.
    virtual QString saveFileName(const QString& caption, const QString& proposed,
                                 const QStringList& filters, const QString& suffix) = 0;
    // A line of text typed in an input box that starts with `text`; false when cancelled (and
    // `text` is left alone).
    virtual bool inputText(const QString& caption, const QString& prompt, QString& text) {
        (void)caption;
        (void)prompt;
        (void)text;
        return false;
    }
};

// The platform's message box and file dialogs over `parent`.
std::unique_ptr<UserDialogs> makeNativeDialogs(QWidget* parent);

} // namespace qorv

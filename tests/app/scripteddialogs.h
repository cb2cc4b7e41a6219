// Answers everything the main window asks from a script, and notes what was asked and told: its
// questions, file dialogs and input boxes, its Yes/No questions (from the same answers, or
// `onYesNo`), its modal dialogs (run by `onModal` instead of exec()) and its messages.
#pragma once

#include "app/userdialogs.h"

#include <QDialog>
#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace qorv::testing {

struct ScriptedDialogs : UserDialogs {
    std::deque<Answer> answers;     // for ask()
    std::deque<QString> files;      // for openFileName() and saveFileName(); "" cancels
    std::deque<QString> texts;      // for inputText(); the end of the script cancels
    QStringList captions;           // of every question and file dialog, in order
    QStringList filters;            // of the last file dialog
    QString proposed;               // by the last save dialog
    std::function<void()> onDialog; // runs as each dialog opens

    Answer ask(const QString& caption, const QString& question) override {
        captions << caption;
        lastQuestion = question;
        if (onDialog) onDialog();
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << caption.toStdString();
            return Answer::Cancel;
        }
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    QString openFileName(const QString& caption, const QString&, const QStringList& f) override {
        return nextFile(caption, f);
    }
    QString saveFileName(const QString& caption, const QString& p, const QStringList& f,
                         const QString&) override {
        proposed = p;
        return nextFile(caption, f);
    }

    bool inputText(const QString& caption, const QString& prompt, QString& text) override {
        captions << caption;
        lastQuestion = prompt;
        if (onDialog) onDialog();
        if (texts.empty()) return false;
        text = texts.front();
        texts.pop_front();
        return true;
    }

    // A Yes/No question: `onYesNo` when set, otherwise the next answer (Yes is yes).
    bool yesNo(const QString& question) {
        lastQuestion = question;
        if (onYesNo) return onYesNo(question);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << question.toStdString();
            return false;
        }
        const Answer a = answers.front();
        answers.pop_front();
        return a == Answer::Yes;
    }
    // A modal dialog: `onModal` acts on it in place of the user; without one the test did not
    // expect it, and it is cancelled.
    void modal(QDialog& dialog) {
        if (onModal) {
            onModal(dialog);
            return;
        }
        ADD_FAILURE() << "unexpected dialog: " << dialog.objectName().toStdString();
        dialog.reject();
    }

    // From now on `script` acts on each modal dialog.
    void whenModal(std::function<void(QDialog&)> script) { onModal = std::move(script); }

    QString lastQuestion;
    QStringList messages;                        // warnings and information, in order
    std::function<void(QDialog&)> onModal;       // acts on each modal dialog
    std::function<bool(const QString&)> onYesNo; // answers every Yes/No question

  private:
    QString nextFile(const QString& caption, const QStringList& f) {
        captions << caption;
        filters = f;
        if (onDialog) onDialog();
        if (files.empty()) {
            ADD_FAILURE() << "unexpected file dialog: " << caption.toStdString();
            return {};
        }
        const QString file = files.front();
        files.pop_front();
        return file;
    }
};

} // namespace qorv::testing

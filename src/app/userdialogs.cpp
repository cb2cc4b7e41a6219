#include "app/userdialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>

namespace qorv {

namespace {

class NativeDialogs : public UserDialogs {
  public:
    explicit NativeDialogs(QWidget* parent) : parent_(parent) {}

    Answer ask(const QString& caption, const QString& question) override {
        const auto button = QMessageBox::question(
            parent_, caption, question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (button == QMessageBox::Yes) return Answer::Yes;
        if (button == QMessageBox::No) return Answer::No;
        return Answer::Cancel;
    }

    QString openFileName(const QString& caption, const QString& folder,
                         const QStringList& filters) override {
        QFileDialog dialog(parent_, caption, folder);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters(filters);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    }

    QString saveFileName(const QString& caption, const QString& proposed,
                         const QStringList& filters, const QString& suffix) override {
        QFileDialog dialog(parent_, caption);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilters(filters);
        dialog.setDefaultSuffix(suffix);
        dialog.selectFile(proposed);
        // A name typed without an extension takes the one of the type chosen.
        QObject::connect(
            &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
                static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
                const QRegularExpressionMatch m = pattern.match(filter);
                if (m.hasMatch()) dialog.setDefaultSuffix(m.captured(1));
            });
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    }

    bool inputText(const QString& caption, const QString& prompt, QString& text) override {
        bool ok = false;
        const QString typed =
            QInputDialog::getText(parent_, caption, prompt, QLineEdit::Normal, text, &ok);
        if (ok) text = typed;
        return ok;
    }

  private:
    QWidget* parent_;
};

} // namespace

std::unique_ptr<UserDialogs> makeNativeDialogs(QWidget* parent) {
    return std::make_unique<NativeDialogs>(parent);
}

} // namespace qorv

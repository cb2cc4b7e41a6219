#include "dialogs/tv_selidioma.h"

#include "model/uitext.h"
#include "view/qtexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace qorv {

TV_selidioma::TV_selidioma(const QStringList& names, QWidget* parent) : QDialog(parent) {
    setWindowTitle(text(Msg::LanguageCaption));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->addItems(names);
    if (!names.isEmpty()) ListBox1->setCurrentRow(0);
    BotOK = new QPushButton(text(Msg::OkButton), this);
    BotOK->setObjectName(QStringLiteral("BotOK"));
    BotOK->setDefault(true);
    BotCancel = new QPushButton(text(Msg::CancelButton), this);
    BotCancel->setObjectName(QStringLiteral("BotCancel"));
    connect(BotOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BotCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BotOK);
    buttons->addWidget(BotCancel);
    auto* prompt = new QLabel(text(Msg::LanguagePrompt), this);
    prompt->setObjectName(QStringLiteral("Label1"));
    prompt->setBuddy(ListBox1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(ListBox1);
    layout->addLayout(buttons);
    resize(280, 240);
}

QString TV_selidioma::selectedName() const {
    const QListWidgetItem* item = ListBox1->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

LanguageDialogs defaultLanguageDialogs(QWidget* parent) {
    LanguageDialogs d;
    d.choose = [parent](const QStringList& names) -> std::optional<QString> {
        TV_selidioma dialog(names, parent);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedName().isEmpty())
            return std::nullopt;
        return dialog.selectedName();
    };
    d.inform = [parent](const QString& message) {
        QMessageBox::information(parent, text(Msg::ProgramCaption), message);
    };
    return d;
}

} // namespace qorv

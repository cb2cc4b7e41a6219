#include "dialogs/tv_listadoc.h"

#include "dialogs/dialogcontext.h"

#include "model/uitext.h"
#include "view/qtexts.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qorv {

TV_listadoc::TV_listadoc(DialogContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setWindowTitle(text(Msg::DocumentListCaption));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setMinimumSize(260, 260);

    auto* buttons = new QVBoxLayout;
    auto button = [&](int slot, const char* name) {
        auto* b = new QPushButton(text(slot), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    B_primero = button(Msg::ListFirst, "B_primero");
    B_anterior = button(Msg::ListPrevious, "B_anterior");
    B_siguiente = button(Msg::ListNext, "B_siguiente");
    B_ultimo = button(Msg::ListLast, "B_ultimo");
    buttons->addSpacing(12);
    B_cerrar = button(Msg::CloseItem, "B_cerrar");
    B_guardar = button(Msg::ListSave, "B_guardar");
    buttons->addStretch(1);
    B_ok = button(Msg::OkButton, "B_ok");
    B_ok->setDefault(true);
    B_cancel = button(Msg::CancelButton, "B_cancel");

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(ListBox1, 1);
    layout->addLayout(buttons);

    connect(B_primero, &QPushButton::clicked, this, [this] { choose(0); });
    connect(B_anterior, &QPushButton::clicked, this, [this] { step(-1); });
    connect(B_siguiente, &QPushButton::clicked, this, [this] { step(1); });
    connect(B_ultimo, &QPushButton::clicked, this, [this] { choose(ListBox1->count() - 1); });
    connect(B_cerrar, &QPushButton::clicked, this, &TV_listadoc::closeChosen);
    connect(B_guardar, &QPushButton::clicked, this, &TV_listadoc::saveChosen);
    connect(B_ok, &QPushButton::clicked, this, &TV_listadoc::accept);
    connect(B_cancel, &QPushButton::clicked, this, &TV_listadoc::reject);
    connect(ListBox1, &QListWidget::itemActivated, this, &TV_listadoc::accept);

    fill(context_.currentDocumentIndex());
}

int TV_listadoc::chosen() const {
    return ListBox1->currentRow();
}

void TV_listadoc::fill(int row) {
    ListBox1->clear();
    ListBox1->addItems(context_.documentNames());
    const bool any = ListBox1->count() > 0;
    for (QPushButton* b : {B_primero, B_anterior, B_siguiente, B_ultimo, B_cerrar, B_guardar})
        b->setEnabled(any);
    choose(row);
}

void TV_listadoc::choose(int row) {
    if (ListBox1->count() == 0) return;
    ListBox1->setCurrentRow(std::clamp(row, 0, ListBox1->count() - 1));
}

// Like the document menu's "&Anterior" and "&Siguiente": past either end to the other.
void TV_listadoc::step(int delta) {
    const int n = ListBox1->count();
    if (n == 0) return;
    choose(((chosen() + delta) % n + n) % n);
}

void TV_listadoc::closeChosen() {
    const int row = chosen();
    if (row < 0) return;
    emit closeAsked(row);
    fill(row);
}

void TV_listadoc::saveChosen() {
    const int row = chosen();
    if (row < 0) return;
    emit saveAsked(row);
    fill(row); // a document saved under a new name changes its name
}

void TV_listadoc::accept() {
    if (chosen() >= 0) emit switchAsked(chosen());
    QDialog::accept();
}

} // namespace qorv

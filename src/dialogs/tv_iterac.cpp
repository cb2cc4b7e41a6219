#include "dialogs/tv_iterac.h"

#include "dialogs/dialogcontext.h"

#include "model/iteration.h"
#include "model/uitext.h"
#include "view/qtexts.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

namespace qorv {

TV_iterac::TV_iterac(DialogContext& context, IterationWorkspace& lists, QWidget* parent)
    : QDialog(parent), context_(context), lists_(lists) {
    setObjectName(QStringLiteral("TV_iterac"));
    setWindowTitle(text(Msg::IterDialogCaption));
    LB_listas = new QListWidget(this);
    LB_listas->setObjectName(QStringLiteral("LB_listas"));
    LB_listas->setMinimumSize(200, 160);
    auto button = [&](int slot, const char* name) {
        auto* b = new QPushButton(text(slot), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    B_elegir = button(Msg::ChooseElements, "B_elegir");
    B_destino = button(Msg::AddDestination, "B_destino");
    B_eliminar = button(Msg::DeleteButton, "B_eliminar");
    B_numit = button(Msg::IterationCount, "B_numit");
    B_nueva = button(Msg::NewIteration, "B_nueva");
    B_cancelar = button(Msg::CancelButton, "B_cancelar");

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {B_elegir, B_destino, B_eliminar, B_numit, B_nueva})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(B_cancelar);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(LB_listas, 1);
    layout->addLayout(buttons);

    connect(B_elegir, &QPushButton::clicked, this, &TV_iterac::chooseLine);
    connect(LB_listas, &QListWidget::itemDoubleClicked, this, &TV_iterac::chooseLine);
    connect(LB_listas, &QListWidget::currentRowChanged, this,
            [this] { B_elegir->setEnabled(LB_listas->currentRow() >= 0); });
    connect(B_destino, &QPushButton::clicked, this, &TV_iterac::addDestination);
    connect(B_eliminar, &QPushButton::clicked, this, &TV_iterac::removeList);
    connect(B_numit, &QPushButton::clicked, this, &TV_iterac::countMode);
    connect(B_nueva, &QPushButton::clicked, this, [this] { emit createAsked(); });
    connect(B_cancelar, &QPushButton::clicked, this, &TV_iterac::reject);
    refresh();
}

void TV_iterac::refresh() {
    const Document& doc = context_.document();
    IterationWorkspace& ws = lists_;
    ws.forgetMissing(doc);
    const QSignalBlocker quiet(LB_listas);
    LB_listas->clear();
    for (const std::string& line : ws.lines(doc, uiText().message(Msg::IterationListLabel)))
        LB_listas->addItem(qtext(line));
    const int row = ws.listCount() == 0 ? 0 : ws.current;
    LB_listas->setCurrentRow(row < LB_listas->count() ? row : -1);
    B_elegir->setEnabled(LB_listas->currentRow() >= 0);
    B_destino->setEnabled(ws.canAddDestination());
    B_eliminar->setEnabled(ws.canRemove());
    B_numit->setEnabled(IterationWorkspace::canChooseCount(doc));
    B_nueva->setEnabled(ws.canCreate(doc));
}

void TV_iterac::chooseLine() {
    const int row = LB_listas->currentRow();
    if (row < 0) return;
    IterationWorkspace& ws = lists_;
    ws.countMode = false;
    ws.choose(row);
    ws.selectCurrent(context_.document());
    emit selectionShown();
    refresh();
}

void TV_iterac::addDestination() {
    IterationWorkspace& ws = lists_;
    ws.countMode = false;
    if (!ws.addDestination()) return;
    ws.selectCurrent(context_.document()); // the new list is empty: nothing selected
    emit selectionShown();
    refresh();
}

void TV_iterac::removeList() {
    IterationWorkspace& ws = lists_;
    ws.countMode = false;
    ws.removeCurrent();
    ws.selectCurrent(context_.document());
    emit selectionShown();
    refresh();
}

void TV_iterac::countMode() {
    lists_.countMode = true;
    refresh();
}

void TV_iterac::reject() {
    QDialog::reject();
    emit leaveAsked();
}

TV_iterac_ni::TV_iterac_ni(int32_t n, QWidget* parent) : QDialog(parent), initial_(n) {
    setObjectName(QStringLiteral("TV_iterac_ni"));
    setWindowTitle(text(Msg::IterationCount));
    Ed_ni = new QLineEdit(QString::number(n), this);
    Ed_ni->setObjectName(QStringLiteral("Ed_ni"));
    auto* box = new QDialogButtonBox(this);
    box->addButton(text(Msg::OkButton), QDialogButtonBox::AcceptRole);
    box->addButton(text(Msg::CancelButton), QDialogButtonBox::RejectRole);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(text(Msg::IterationCount), this));
    layout->addWidget(Ed_ni);
    layout->addWidget(box);
}

int32_t TV_iterac_ni::number() const {
    bool ok = false;
    const qlonglong v = Ed_ni->text().trimmed().toLongLong(&ok);
    if (!ok) return initial_;
    if (v < 1) return 1;
    return int32_t(std::min<qlonglong>(v, std::numeric_limits<int32_t>::max()));
}

} // namespace qorv

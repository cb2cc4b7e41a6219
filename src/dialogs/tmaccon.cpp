#include "dialogs/tmaccon.h"

#include "dialogs/dialogcontext.h"

#include "macros/macro.h"
#include "macros/macrosession.h"
#include "model/docfile.h"
#include "model/uitext.h"
#include "view/qtexts.h"
#include "view/tooltable.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace qorv {

namespace {

std::string filePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

TMacCon::TMacCon(DialogContext& context, MacroSession& session, int tool, const QString& folder,
                 QWidget* parent)
    : QDialog(parent), context_(context), session_(session), tool_(tool), folder_(folder) {
    setWindowTitle(text(Msg::MacrosCaption));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setMinimumSize(220, 200);
    ListBox1->viewport()->installEventFilter(this); // a right click renames
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setMinimumHeight(70);
    Memo1->installEventFilter(this); // leaving it stores the description
    Label1 = new QLabel(text(Msg::NewMacroLabel), this);
    Label1->setObjectName(QStringLiteral("Label1"));

    auto button = [&](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    B_eini = button(text(Msg::InitialElements), "B_eini");
    B_efin = button(text(Msg::FinalElements), "B_efin");
    B_comp = button(text(Msg::CompleteMacro), "B_comp");
    B_activar = button(text(Msg::OkButton), "B_activar");
    B_no = button(text(Msg::OkButton), "B_no");
    B_ayuda = button(text(Msg::HelpButton), "B_ayuda");
    B_guarmac = button(text(Msg::SaveMacro), "B_guarmac");
    B_carmac = button(text(Msg::LoadMacros), "B_carmac");
    B_nombre = button(text(Msg::RenameMacro), "B_nombre");
    B_eliminar = button(text(Msg::DeleteMacro), "B_eliminar");
    B_MacUp = button(QStringLiteral("\u25b2"), "B_MacUp");
    B_MacDw = button(QStringLiteral("\u25bc"), "B_MacDw");
    B_MacUp->setToolTip(text(Msg::MacroUp));
    B_MacDw->setToolTip(text(Msg::MacroDown));
    for (QPushButton* b : {B_MacUp, B_MacDw})
        b->setFixedWidth(32);

    // The list with its order buttons and the description on the left; the new macro above the
    // management buttons on the right.
    auto* order = new QVBoxLayout;
    order->addWidget(B_MacUp);
    order->addWidget(B_MacDw);
    order->addStretch(1);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(ListBox1, 1);
    listRow->addLayout(order);
    auto* left = new QVBoxLayout;
    left->addLayout(listRow, 1);
    left->addWidget(Memo1);
    left->addWidget(B_activar);

    auto* right = new QVBoxLayout;
    right->addWidget(Label1);
    for (QPushButton* b : {B_eini, B_efin, B_comp})
        right->addWidget(b);
    right->addSpacing(14);
    for (QPushButton* b : {B_guarmac, B_carmac, B_nombre, B_eliminar})
        right->addWidget(b);
    right->addStretch(1);
    right->addWidget(B_ayuda);
    right->addWidget(B_no);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);

    connect(B_eini, &QPushButton::clicked, this, [this] { chooseMode(Tool::MacroInitial); });
    connect(B_efin, &QPushButton::clicked, this, [this] { chooseMode(Tool::MacroFinal); });
    connect(B_comp, &QPushButton::clicked, this, &TMacCon::completeMacro);
    connect(B_activar, &QPushButton::clicked, this, &TMacCon::applyChosen);
    connect(B_no, &QPushButton::clicked, this, &TMacCon::reject);
    connect(B_ayuda, &QPushButton::clicked, this, [this] { emit helpAsked(); });
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, [this] { emit helpAsked(); });
    connect(B_guarmac, &QPushButton::clicked, this, &TMacCon::saveChosen);
    connect(B_carmac, &QPushButton::clicked, this,
            [this] { loadMenu()->exec(B_carmac->mapToGlobal(QPoint(0, B_carmac->height()))); });
    connect(B_nombre, &QPushButton::clicked, this, &TMacCon::renameChosen);
    connect(B_eliminar, &QPushButton::clicked, this, &TMacCon::deleteChosen);
    connect(B_MacUp, &QPushButton::clicked, this, [this] { moveChosen(-1); });
    connect(B_MacDw, &QPushButton::clicked, this, [this] { moveChosen(1); });
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this] {
        storeDescription();
        showDescription();
        updateButtons();
    });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TMacCon::applyChosen);
    connect(Memo1, &QPlainTextEdit::textChanged, this, [this] { memoChanged_ = true; });

    fill(context_.document().macroCount() > 0 ? 0 : -1);
}

int TMacCon::chosen() const {
    return ListBox1->currentRow();
}

void TMacCon::fill(int row) {
    const Document& doc = context_.document();
    const QSignalBlocker block(ListBox1);
    ListBox1->clear();
    for (int i = 0; i < doc.macroCount(); ++i)
        ListBox1->addItem(QString::fromStdString(doc.macros[size_t(i)].name));
    ListBox1->setCurrentRow(row >= 0 && row < ListBox1->count() ? row : -1);
    showDescription();
    updateButtons();
}

void TMacCon::updateButtons() {
    const Document& doc = context_.document();
    const MacroSession& s = session_;
    const int tool = tool_;
    const bool selecting = tool == Tool::MacroInitial || tool == Tool::MacroFinal;
    B_eini->setEnabled(selecting || doc.elementCount() > 1);
    B_efin->setEnabled(tool == Tool::MacroFinal ||
                       (tool == Tool::MacroInitial && s.initialCount() > 0));
    B_comp->setEnabled(s.canComplete());
    const int row = chosen();
    const bool any = row >= 0;
    for (QWidget* w : {static_cast<QWidget*>(B_guarmac), static_cast<QWidget*>(B_eliminar),
                       static_cast<QWidget*>(B_nombre), static_cast<QWidget*>(B_activar),
                       static_cast<QWidget*>(Memo1)})
        w->setEnabled(any);
    B_MacUp->setEnabled(row > 0);
    B_MacDw->setEnabled(any && row < ListBox1->count() - 1);
}

void TMacCon::showDescription() {
    const Document& doc = context_.document();
    const int row = chosen();
    QStringList lines;
    if (row >= 0 && row < doc.macroCount())
        for (const std::string& line : doc.macros[size_t(row)].texts)
            lines << QString::fromStdString(line);
    const QSignalBlocker block(Memo1);
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
    memoChanged_ = false;
    memoRow_ = row;
}

void TMacCon::storeDescription() {
    if (!memoChanged_) return;
    memoChanged_ = false;
    Document& doc = context_.document();
    if (memoRow_ < 0 || memoRow_ >= doc.macroCount()) return;
    std::vector<std::string> lines;
    const QStringList typed = Memo1->toPlainText().split(QLatin1Char('\n'));
    if (!Memo1->toPlainText().isEmpty())
        for (const QString& line : typed)
            lines.push_back(line.toStdString());
    doc.macros[size_t(memoRow_)].texts = std::move(lines);
    doc.modified = 1;
}

bool TMacCon::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Memo1 && event->type() == QEvent::FocusOut) storeDescription();
    if (watched == ListBox1->viewport() && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (QListWidgetItem* item = ListBox1->itemAt(at)) {
            ListBox1->setCurrentItem(item);
            renameChosen();
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TMacCon::reject() {
    storeDescription();
    done(BackToMove);
}

void TMacCon::chooseMode(int tool) {
    storeDescription();
    chosenTool_ = tool;
    done(StayInTool);
}

void TMacCon::applyChosen() {
    if (chosen() < 0) return;
    storeDescription();
    session_.applying = chosen();
    chosenTool_ = Tool::ApplyMacro;
    done(StayInTool);
}

void TMacCon::completeMacro() {
    Document& doc = context_.document();
    MacroSession& s = session_;
    if (doc.macroCount() >= Document::MacroSlots || !s.canComplete()) return;
    storeDescription();
    const std::optional<QString> answer = context_.askText(text(Msg::MacroNamePrompt), QString());
    if (!answer) return;
    const QString name = answer->trimmed();
    if (name.isEmpty()) {
        context_.warn(text(Msg::MacroNeedsName));
        return;
    }
    const int slot = s.complete(doc, name.toStdString());
    if (slot >= 0) emit listsReleased();
    fill(slot >= 0 ? slot : chosen());
}

void TMacCon::renameChosen() {
    const int row = chosen();
    Document& doc = context_.document();
    if (row < 0 || row >= doc.macroCount()) return;
    MacroSlot& m = doc.macros[size_t(row)];
    const std::optional<QString> answer =
        context_.askText(text(Msg::MacroNamePrompt), QString::fromStdString(m.name));
    if (!answer || answer->trimmed().isEmpty()) return;
    m.name = answer->trimmed().toStdString();
    doc.modified = 1;
    ListBox1->item(row)->setText(QString::fromStdString(m.name));
}

void TMacCon::deleteChosen() {
    const int row = chosen();
    Document& doc = context_.document();
    if (row < 0 || row >= doc.macroCount()) return;
    memoChanged_ = false; // its description goes with it
    MacroSession& s = session_;
    if (s.applying == row) s.applying = -1;
    if (s.applying > row) --s.applying;
    deleteMacro(doc, row);
    const int n = doc.macroCount();
    fill(n == 0 ? -1 : std::min(row, n - 1));
}

void TMacCon::moveChosen(int delta) {
    const int row = chosen();
    storeDescription();
    MacroSession& s = session_;
    if (!swapMacros(context_.document(), row, row + delta)) return;
    if (s.applying == row)
        s.applying = row + delta;
    else if (s.applying == row + delta)
        s.applying = row;
    fill(row + delta);
}

void TMacCon::saveChosen() {
    const int row = chosen();
    Document& doc = context_.document();
    if (row < 0 || row >= doc.macroCount()) return;
    storeDescription();
    const MacroSlot& m = doc.macros[size_t(row)];
    const QString proposed =
        QDir(folder_).filePath(QString::fromStdString(m.name) + QStringLiteral(".mac"));
    QString path = context_.saveFileName(text(Msg::SaveMacro), proposed, {text(Msg::FilterMacros)},
                                         QStringLiteral("mac"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".mac");
    // A read-only file of that name is replaced all the same.
    if (QFile::exists(path))
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    if (!writeMacroFile(m, filePath(path))) {
        context_.warn(text(Msg::WriteError));
        return;
    }
    folder_ = QFileInfo(path).absolutePath();
    emit folderUsed(folder_);
}

void TMacCon::loadFile() {
    const QString path = context_.openFileName(
        text(Msg::LoadMacros), folder_, {text(Msg::FilterMacros), text(Msg::FilterAllFiles)});
    if (path.isEmpty()) return;
    storeDescription();
    Document& doc = context_.document();
    const ReadResult r = readDocumentFile(doc, filePath(path), FileType::Macro);
    if (r.kind != FileKind::Macro) {
        context_.warn(text(r.kind == FileKind::Newer ? Msg::NewerVersion : Msg::InvalidFile));
        return;
    }
    folder_ = QFileInfo(path).absolutePath();
    emit folderUsed(folder_);
    fill(r.macroSlot);
}

void TMacCon::copyFrom(Document& source, int slot) {
    Document& doc = context_.document();
    if (slot < 0 || slot >= source.macroCount()) return;
    storeDescription();
    const int copied = copyMacro(source.macros[size_t(slot)], doc);
    if (copied < 0) {
        context_.warn(text(Msg::MacroTableFull));
        return;
    }
    fill(copied);
}

QMenu* TMacCon::loadMenu() {
    if (loadMenu_) loadMenu_->deleteLater();
    loadMenu_ = new QMenu(this);
    loadMenu_->setObjectName(QStringLiteral("Menu_carmac"));
    connect(loadMenu_->addAction(text(Msg::LoadMacroFile)), &QAction::triggered, this,
            &TMacCon::loadFile);
    loadMenu_->addSeparator();
    loadMenu_->addAction(text(Msg::MacrosOfDocuments))->setEnabled(false);
    const QStringList names = context_.documentNames();
    for (int d = 0; d < names.size(); ++d) {
        if (d == context_.currentDocumentIndex()) continue;
        Document* other = &context_.documentAt(d);
        const QString& name = names[d];
        if (other->macroCount() == 0) continue;
        QMenu* sub =
            loadMenu_->addMenu(QString(name).replace(QLatin1Char('&'), QStringLiteral("&&")));
        for (int i = 0; i < other->macroCount(); ++i) {
            Document* source = other;
            const QString macroName = QString::fromStdString(other->macros[size_t(i)].name);
            connect(
                sub->addAction(QString(macroName).replace(QLatin1Char('&'), QStringLiteral("&&"))),
                &QAction::triggered, this, [this, source, i] { copyFrom(*source, i); });
        }
    }
    return loadMenu_;
}

} // namespace qorv

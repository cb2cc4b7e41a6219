#include "dialogs/tv_lista.h"

#include "model/uitext.h"
#include "view/qtexts.h"

#include <QAction>
#include <QClipboard>
#include <QColorDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qorv {

namespace {

std::string parentName(const Document& doc, const Element* p) {
    if (!p) return {};
    const std::string n = doc.nameOf(p);
    return n.empty() ? "_" : n;
}

} // namespace

std::string listFirstColumn(const Document& doc, const Element& e) {
    std::string s = uiText().methodName(e.method);
    if (e.method == Method::FunctionGraph && e.parent1)
        if (const auto* f = e.parent1->tailAs<ExpressionTail>()) s += " " + f->exprText;
    const std::string name = doc.nameOf(&e);
    if (!name.empty()) s += " " + name;
    if (const auto* it = e.tailAs<IterationTail>())
        s += " [n=" + std::to_string(it->iterations) + "]";
    return s;
}

std::string listSecondColumn(const Document& doc, const Element& e) {
    if (const auto* t = e.tailAs<TextTail>()) {
        if (t->lines.empty()) return "_";
        return t->lines.front() + (t->lines.size() > 1 ? "..." : "");
    }
    std::vector<const Element*> parents;
    if (const auto* p = e.tailAs<PolygonTail>()) {
        for (const SubElement& s : p->sides)
            parents.push_back(s->parent1);
    } else if (const auto* x = e.tailAs<ExpressionTail>()) {
        for (const Ref& r : x->exprArgs)
            parents.push_back(r);
    } else if (const auto* t = e.tailAs<TableTail>()) {
        for (const TableColumn& c : t->columns)
            parents.push_back(c.element);
    } else if (const auto* c = e.tailAs<ConicTail>()) {
        for (const Ref& r : c->points)
            parents.push_back(r);
    } else if (const auto* b = e.tailAs<ButtonTail>()) {
        for (const Ref& r : b->elements)
            parents.push_back(r);
    } else {
        for (const Element* p :
             {static_cast<const Element*>(e.parent1), static_cast<const Element*>(e.parent2),
              static_cast<const Element*>(e.parent3)})
            if (p) parents.push_back(p);
    }
    std::string s;
    for (const Element* p : parents) {
        if (!p) continue;
        if (!s.empty()) s += ",";
        s += parentName(doc, p);
    }
    return s;
}

std::vector<Element*> listedElements(Document& doc, bool showHidden) {
    std::vector<Element*> out;
    for (Element* e = doc.head; e; e = e->next)
        if (doc.isListable(e, showHidden)) out.push_back(e);
    return out;
}

std::string constructionListText(Document& doc, bool showHidden) {
    std::string s;
    int n = 1;
    for (const Element* e : listedElements(doc, showHidden)) {
        s += std::to_string(n++) + ". " + listFirstColumn(doc, *e);
        const std::string second = listSecondColumn(doc, *e);
        if (!second.empty()) s += ": " + second;
        s += "\n";
    }
    return s;
}

TV_lista::TV_lista(DialogContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("TV_lista"));
    setWindowTitle(text(Msg::ConstructionListCaption));
    setMinimumHeight(300);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("list"));
    list_->setColumnCount(2);
    list_->setHeaderHidden(true);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* copy = new QAction(text(Msg::Copy), list_);
    copy->setObjectName(QStringLiteral("Copiar"));
    connect(copy, &QAction::triggered, this, &TV_lista::copyToClipboard);
    list_->addAction(copy);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        const int row = list_->indexOfTopLevelItem(item);
        if (row < 0 || size_t(row) >= elements_.size()) return;
        const size_t before = elements_.size();
        emit editAsked(elements_[size_t(row)]);
        rebuild();
        if (elements_.size() != before)
            list_->clearSelection();
        else
            moveTo(row);
    });

    auto* buttons = new QHBoxLayout;
    auto add = [&](const char* name, const QString& caption, auto slot) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    add("B_pri", QStringLiteral("|<"), [this] { moveTo(0); });
    add("B_ant", QStringLiteral("<"),
        [this] { moveTo(std::max(0, list_->indexOfTopLevelItem(list_->currentItem()) - 1)); });
    add("B_sig", QStringLiteral(">"),
        [this] { moveTo(list_->indexOfTopLevelItem(list_->currentItem()) + 1); });
    add("B_ult", QStringLiteral(">|"), [this] { moveTo(list_->topLevelItemCount() - 1); });
    B_vertodo = add("B_vertodo", text(Msg::ElemShowAll), [this] { rebuild(); });
    B_vertodo->setCheckable(true);
    add("B_font", QStringLiteral("A"), [this] {
        bool ok = false;
        const QFont f = QFontDialog::getFont(&ok, list_->font(), this);
        if (!ok) return;
        list_->setFont(f);
        fitFirstColumn();
    });
    add("B_colfon", QStringLiteral("#"), [this] {
        const QColor c = QColorDialog::getColor(list_->palette().color(QPalette::Base), this);
        if (!c.isValid()) return;
        QPalette p = list_->palette();
        p.setColor(QPalette::Base, c);
        list_->setPalette(p);
    });
    add("B_OK", text(Msg::ElemAccept), [this] { close(); });
    // The buttons whose captions are symbols say what they do.
    for (auto [name, hint] : {std::pair{"B_pri", Msg::ListFirst},
                              {"B_ant", Msg::ListPrevious},
                              {"B_sig", Msg::ListNext},
                              {"B_ult", Msg::ListLast},
                              {"B_font", Msg::ListFontHint},
                              {"B_colfon", Msg::ListColourHint}})
        findChild<QPushButton*>(QString::fromLatin1(name))->setToolTip(text(hint));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    rebuild();
}

void TV_lista::rebuild() {
    Document& doc = context_.document();
    const QStringList names = context_.documentNames();
    const int current = context_.currentDocumentIndex();
    setWindowTitle(current >= 0 && current < names.size()
                       ? text(Msg::ConstructionListCaption) + QStringLiteral(" - ") + names[current]
                       : text(Msg::ConstructionListCaption));
    elements_ = listedElements(doc, B_vertodo && B_vertodo->isChecked());
    list_->clear();
    for (const Element* e : elements_) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, qtext(listFirstColumn(doc, *e)));
        item->setText(1, qtext(listSecondColumn(doc, *e)));
    }
    fitFirstColumn();
}

void TV_lista::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    fitFirstColumn(); // the font is the one shown only now
}

void TV_lista::fitFirstColumn() {
    const QFontMetrics fm(list_->font());
    int widest = 0;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        widest = std::max(widest, fm.horizontalAdvance(list_->topLevelItem(i)->text(0)));
    const int margin = list_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list_);
    list_->setColumnWidth(0, widest + 2 * (margin + 1) + 2 * fm.averageCharWidth());
}

void TV_lista::documentChanged() {
    if (isVisible()) {
        rebuild();
        return;
    }
    elements_.clear();
    list_->clear();
}

void TV_lista::moveTo(int row) {
    if (row < 0 || row >= list_->topLevelItemCount()) return;
    list_->setCurrentItem(list_->topLevelItem(row));
}

void TV_lista::copyToClipboard() {
    QGuiApplication::clipboard()->setText(
        qtext(constructionListText(context_.document(), B_vertodo && B_vertodo->isChecked())));
}

} // namespace qorv

#include "dialogs/tedit_elem.h"

#include "calc/expression.h"
#include "construction/create.h"
#include "geometry/paramcolor.h"
#include "model/buttonaction.h"
#include "model/elementcodec.h"
#include "model/iteration.h"
#include "model/uitext.h"
#include "view/qtexts.h"
#include "view/resources.h"

#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qorv {

namespace {

struct Preset {
    const char* name;
    Color color;
};
constexpr Preset kColours[] = {
    {"Brojo", 255},         {"Bverde", 65280},     {"Bazul", 0xffff00},   {"Bamar", 0xffff},
    {"Bgris", 12632256},    {"Bblanco", 0xffffff}, {"Brojo2", 128},       {"Bverde2", 0x8000},
    {"Bazul2", 0xff0000},   {"Bamar2", 32896},     {"Bgris2", 8421504},   {"Bnegro", 0},
    {"Bvioleta", 0xff8080}, {"Bnaranja", 33023},   {"Brosado", 0xff00ff}, {"Bazmarino", 0xc08000},
};
// The style buttons in style order, each with the picture of the edit bar's button that gives
// the same style.
struct StyleButton {
    const char* name;
    const char* picture;
};
constexpr StyleButton kPointShapes[] = {
    {"BPunor", "B_edit_pnor"},    {"BPungran", "B_edit_pgran"}, {"BPungran2", "B_edit_pgran2"},
    {"BPuncruz", "B_edit_pcruz"}, {"BPuncuad", "B_edit_pcuad"}, {"BPun1p", "B_edit_p1p"}};
constexpr StyleButton kLineShapes[] = {
    {"Blinor", "B_edit_linor"},   {"Bligran", "B_edit_ligran"},   {"Bliray", "B_edit_lipun"},
    {"Bliray2", "B_edit_lipray"}, {"Bligran5", "B_edit_ligran5"}, {"Bligran7", "B_edit_ligran7"}};
constexpr StyleButton kAngleShapes[] = {
    {"Bang1", "B_edit_ang1"}, {"Bang2", "B_edit_ang2"}, {"Bang3", "B_edit_ang3"}};

// Where an angle keeps the marker of the full 0..2pi range: value[3] of an "Angulo", value[1]
// of an "ángulo(valor)" of three points; -1 for anything else.
int fullAngleMarker(const Element& e) {
    if (e.method == Method::Angle) return 3;
    if (e.method == Method::AngleValue && e.parent2) return 1;
    return -1;
}

// The font the font button changes: a text's own font, or the element's.
FontRecord* fontOf(Element& e) {
    if (auto* t = e.tailAs<TextTail>()) return &t->font;
    return e.font.get();
}

bool isLineLike(int32_t k) {
    return k == Kind::Line || k == Kind::Ray || k == Kind::Segment || k == Kind::Polygon ||
           k == Kind::Circle || k == Kind::Arc || k == Kind::Locus || k == Kind::Conic ||
           k == Kind::Vector;
}

// The typed text as an integer; nothing for anything else.
std::optional<int32_t> integerField(const QLineEdit* f) {
    if (!f) return std::nullopt;
    bool ok = false;
    const int v = f->text().trimmed().toInt(&ok);
    return ok ? std::optional<int32_t>(v) : std::nullopt;
}

// What `ed_nom` edits instead of a name: a property check's result as it shows now, a button's
// caption.
std::string* ownText(Element& e) {
    if (auto* t = e.tailAs<CheckTail>()) return e.option == 1 ? &t->trueText : &t->falseText;
    if (auto* t = e.tailAs<ButtonTail>()) return &t->caption;
    return nullptr;
}

// Red, green and blue of a colour word (red in the low byte).
QColor qcolorOf(Color c) {
    return QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff);
}

} // namespace

int32_t locusPointCount(const Element& e, int32_t n) {
    const Element* traced = e.parent1;
    const int32_t least =
        e.method == Method::Locus && traced && traced->kind() == Kind::Locus ? 5 : 10;
    return std::clamp(n, least, MaxCurveSamples);
}

TEdit_elem::TEdit_elem(DialogContext& context, Element& e, QWidget* parent)
    : QDialog(parent), context_(context), e_(&e) {
    setObjectName(QStringLiteral("TEdit_elem"));
    Document& doc = context_.document();
    modifiedAtOpening_ = doc.modified;
    doc.renumber();
    id_ = e.id;
    context_.recordUndoStep();
    kept_ = lookOf(e);
    QString caption = qtext(uiText().methodName(e.method));
    const Element* withText = e.method == Method::FunctionGraph ? e.parent1.ptr : &e;
    if (withText && (e.method == Method::Calculation || e.method == Method::Function ||
                     e.method == Method::FunctionGraph))
        if (const auto* x = withText->tailAs<ExpressionTail>())
            caption += QStringLiteral(": ") + qtext(x->exprText);
    if (e.method == Method::Coordinates)
        caption +=
            QStringLiteral(": ") + nameText(e.option == NoValue ? Name::Polar : Name::Rectangular);
    setWindowTitle(caption);

    auto* layout = new QVBoxLayout(this);
    auto* colours = new QGridLayout;
    int i = 0;
    for (const Preset& p : kColours) {
        const Color c = p.color;
        QPushButton* b = button(QString::fromLatin1(p.name), QString(),
                                [c](Element& x) { setLineColour(x, c); });
        b->setStyleSheet(QStringLiteral("background-color: %1").arg(qcolorOf(c).name()));
        b->setFixedSize(22, 22);
        colours->addWidget(b, i / 8, i % 8);
        ++i;
    }
    QPushButton* rgb = button(QStringLiteral("Brgb"), text(Msg::ElemRgb), [this](Element& x) {
        const auto* t = x.tailAs<TextTail>();
        const QColor c = QColorDialog::getColor(qcolorOf(t ? t->font.color : x.color), this);
        if (!c.isValid()) return;
        setLineColour(x, Color(c.red() | (c.green() << 8) | (c.blue() << 16)));
    });
    colours->addWidget(rgb, 0, 8, 2, 1);
    // The parametric colour is chosen with its tool on the drawing: the dialog closes first.
    auto* Bcolorpar = new QPushButton(text(Msg::ParametricColour), this);
    Bcolorpar->setObjectName(QStringLiteral("Bcolorpar"));
    Bcolorpar->setAutoDefault(false);
    connect(Bcolorpar, &QPushButton::clicked, this, [this] {
        parametricColourAsked_ = true;
        applyAndClose();
    });
    colours->addWidget(Bcolorpar, 2, 0, 1, 9);
    layout->addLayout(colours);

    auto shapes = [&](const auto& names) {
        auto* row = new QHBoxLayout;
        int s = 1;
        for (const StyleButton& n : names) {
            QPushButton* b =
                button(QString::fromLatin1(n.name), QString(), [s](Element& x) { x.shape = s; });
            b->setIcon(toolIcon(QString::fromLatin1(n.picture)));
            b->setIconSize(QSize(20, 20));
            row->addWidget(b);
            ++s;
        }
        layout->addLayout(row);
    };
    const int32_t kind = e.kind();
    if (kind == Kind::Point) shapes(kPointShapes);
    if (isLineLike(kind)) shapes(kLineShapes);
    if (kind == Kind::Angle) shapes(kAngleShapes);

    auto* toggles = new QHBoxLayout;
    toggles->addWidget(button(QStringLiteral("verelem"), text(Msg::ShowElementToggle),
                              [](Element& x) { x.visible = x.visible ? 0 : 1; }));
    if (e.nameElement)
        toggles->addWidget(
            button(QStringLiteral("vernom"), text(Msg::ShowNameToggle), [](Element& x) {
                if (Element* n = x.nameElement) n->visible = n->visible ? 0 : 1;
            }));
    layout->addLayout(toggles);

    if (kind == Kind::Table) {
        QPushButton* hor = button(QStringLiteral("B_f_tabla"), text(Msg::ElemHorizontal),
                                  [](Element& x) { x.option = x.option == -100 ? 100 : -100; });
        hor->setCheckable(true);
        hor->setChecked(e.option == -100);
        toggles->addWidget(hor);
    }
    if (kind == Kind::Bitmap) {
        auto* anchors = new QGridLayout;
        for (int a = 1; a <= 9; ++a)
            anchors->addWidget(button(QStringLiteral("B_pBTM%1").arg(a), QString::number(a),
                                      [a](Element& x) { x.option = a; }),
                               (a - 1) / 3, (a - 1) % 3);
        layout->addLayout(anchors);
    }
    if (const auto* scales = e.tailAs<AxesTail>()) {
        QPushButton* same =
            button(QStringLiteral("Bejeuni1"), text(Msg::ElemSameScale), [](Element& x) {
                if (auto* t = x.tailAs<AxesTail>()) t->scaleY = t->scaleX;
            });
        same->setEnabled(scales->scaleX != scales->scaleY);
        connect(same, &QPushButton::clicked, same, [same] { same->setEnabled(false); });
        toggles->addWidget(same);
    }
    if (kind == Kind::Iteration) {
        auto* flags = new QHBoxLayout;
        auto flag = [&](const char* name, int caption, int32_t IterationTail::*field) {
            QPushButton* b =
                button(QString::fromLatin1(name), text(caption), [this, field](Element& x) {
                    if (auto* t = x.tailAs<IterationTail>()) t->*field = t->*field ? 0 : 1;
                });
            b->setCheckable(true);
            b->setChecked(e.tailAs<IterationTail>() && e.tailAs<IterationTail>()->*field);
            flags->addWidget(b);
            return b;
        };
        flag("Bitf", Msg::ElemIterLast, &IterationTail::lastOnly);
        flag("Bitp", Msg::ElemIterPoints, &IterationTail::drawPoints);
        QPushButton* c = flag("Bitc", Msg::ElemIterColour, &IterationTail::ownColour);
        Bitcu = button(QStringLiteral("Bitcu"), text(Msg::ElemIterFixedColour),
                       [](Element& x) { x.option2 = x.option2 == 111 ? 0 : 111; });
        Bitcu->setCheckable(true);
        Bitcu->setChecked(e.option2 == 111);
        Bitcu->setEnabled(!c->isChecked());
        connect(c, &QPushButton::toggled, Bitcu, [this](bool on) { Bitcu->setEnabled(!on); });
        flags->addWidget(Bitcu);
        layout->addLayout(flags);
    }
    addKindButtons(toggles);

    auto* form = new QGridLayout;
    int r = 0;
    ed_nom = new QLineEdit(qtext(doc.nameOf(&e)), this);
    if (e.method == Method::Name)
        if (const auto* t = e.tailAs<NameTail>()) ed_nom->setText(qtext(t->text));
    if (const std::string* own = ownText(e)) ed_nom->setText(qtext(*own));
    ed_nom->setObjectName(QStringLiteral("ed_nom"));
    form->addWidget(new QLabel(text(Msg::NameLabel), this), r, 0);
    form->addWidget(ed_nom, r++, 1);
    if (kind == Kind::Number || kind == Kind::Coordinates || kind == Kind::Equation ||
        kind == Kind::Table) {
        CB_ndec = new QComboBox(this);
        CB_ndec->setObjectName(QStringLiteral("CB_ndec"));
        for (int d = 0; d <= 8; ++d)
            CB_ndec->addItem(QString::number(d));
        CB_ndec->setCurrentIndex(std::clamp(e.decimals, 0, 8));
        connect(CB_ndec, &QComboBox::activated, this, [this](int d) {
            if (!e_) return;
            e_->decimals = d;
            changed();
        });
        form->addWidget(new QLabel(text(Msg::ElemDecimals), this), r, 0);
        form->addWidget(CB_ndec, r++, 1);
    }
    const bool sampled = e.tailAs<SampledCurveTail>() != nullptr;
    if (sampled || kind == Kind::Iteration) {
        Ed_npLG = new QLineEdit(this);
        Ed_npLG->setObjectName(QStringLiteral("Ed_npLG"));
        if (const auto* t = e.tailAs<SampledCurveTail>())
            Ed_npLG->setText(QString::number(t->first.size()));
        else if (const auto* it = e.tailAs<IterationTail>())
            Ed_npLG->setText(QString::number(it->iterations));
        form->addWidget(
            new QLabel(text(sampled ? Msg::PointCountLabel : Msg::IterationCount), this), r, 0);
        form->addWidget(Ed_npLG, r++, 1);
    }
    addNumberFields(form, r);
    layout->addLayout(form);

    auto* bottom = new QHBoxLayout;
    auto* Bborrar = new QPushButton(text(Msg::DeleteButton), this);
    Bborrar->setObjectName(QStringLiteral("Bborrar"));
    Bborrar->setAutoDefault(false);
    connect(Bborrar, &QPushButton::clicked, this, [this] {
        if (!e_) return;
        context_.document().deleteWithDescendants(e_);
        e_ = nullptr;
        context_.document().modified = 1;
        context_.changed();
        QDialog::accept();
    });
    auto* ok = new QPushButton(text(Msg::ElemAccept), this);
    ok->setObjectName(QStringLiteral("BAceptar"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TEdit_elem::applyAndClose);
    auto* cancel = new QPushButton(text(Msg::ElemCancel), this);
    cancel->setObjectName(QStringLiteral("BCancelar"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &TEdit_elem::cancelAndClose);
    bottom->addWidget(Bborrar);
    bottom->addStretch();
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);
}

QPushButton* TEdit_elem::button(const QString& objectName, const QString& caption,
                                const std::function<void(Element&)>& change) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, change] {
        if (!e_) return;
        change(*e_);
        changed();
    });
    return b;
}

void TEdit_elem::changed() {
    context_.changed();
}

void TEdit_elem::addKindButtons(QBoxLayout* row) {
    const Element& e = *e_;
    if (e.kind() == Kind::Number) {
        const int32_t unit = inferUnitClass(e);
        if (e.method == Method::Parameter || (e.method == Method::Calculation && unit == 0)) {
            // No unit to fall back on: any of the four.
            auto* uni = new QPushButton(text(Msg::ElemUnitButton), this);
            uni->setObjectName(QStringLiteral("Buni"));
            uni->setAutoDefault(false);
            unitMenu_ = new QMenu(uni);
            unitMenu_->setObjectName(QStringLiteral("Buni_menu"));
            for (int u = 0; u <= 3; ++u) {
                QAction* a = unitMenu_->addAction(text(Msg::ElemUnitNone + u));
                a->setCheckable(true);
                connect(a, &QAction::triggered, this, [this, u] {
                    if (!e_) return;
                    e_->unitShown = u;
                    changed();
                });
            }
            connect(uni, &QPushButton::clicked, this, [this, uni] {
                if (!e_) return;
                const QList<QAction*> units = unitMenu_->actions();
                for (int u = 0; u < units.size(); ++u)
                    units[u]->setChecked(u == e_->unitShown);
                unitMenu_->popup(uni->mapToGlobal(QPoint(0, uni->height())));
            });
            row->addWidget(uni);
        } else if (unit != 0) {
            QPushButton* uni =
                button(QStringLiteral("Buni"), text(Msg::ElemUnitButton),
                       [unit](Element& x) { x.unitShown = x.unitShown == unit ? 0 : unit; });
            uni->setCheckable(true);
            uni->setChecked(e.unitShown == unit);
            row->addWidget(uni);
        }
    }
    if (fontOf(*e_))
        row->addWidget(
            button(QStringLiteral("B_tiplet"), text(Msg::ElemFontButton), [this](Element& x) {
                FontRecord* font = fontOf(x);
                FontRecord chosen = *font;
                if (!context_.chooseFont(chosen)) return;
                *font = chosen;
                if (auto* t = x.tailAs<TextTail>())
                    for (FontRun& r : t->runs)
                        r.font = chosen;
                fontChanged_ = true;
            }));
    if (const int m = fullAngleMarker(e); m >= 0) {
        QPushButton* full =
            button(QStringLiteral("B02pi"), text(Msg::ElemFullAngle),
                   [m](Element& x) { x.value[m] = x.value[m] == NotSet ? 0 : NotSet; });
        full->setCheckable(true);
        full->setChecked(e.value[m] == NotSet);
        row->addWidget(full);
    }
    if (e.method == Method::ShowHideButton) {
        QPushButton* inv = button(QStringLiteral("Binvom"), text(Msg::ElemInvert), [](Element& x) {
            x.option2 = x.option2 ? 0 : 1;
            applyShowHideButton(x, x.option2);
        });
        auto showState = [inv](const Element& x) {
            QFont f = inv->font();
            f.setBold(x.option2 == 0);
            inv->setFont(f);
        };
        showState(e);
        connect(inv, &QPushButton::clicked, inv, [this, showState] {
            if (e_) showState(*e_);
        });
        row->addWidget(inv);
    }
    auto redefine = [&](const char* name, int caption, bool ElementDialogClose::*flag) {
        auto* b = new QPushButton(text(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, flag] { closeToRedefine(flag); });
        row->addWidget(b);
    };
    if (e.method == Method::Calculation || e.method == Method::Function)
        redefine("Bmodcpf", Msg::ElemRedefine, &ElementDialogClose::calculator);
    if (e.method == Method::Parameter)
        redefine("Bmodcpf", Msg::ElemRedefine, &ElementDialogClose::parameterDialog);
    if (e.kind() == Kind::Point)
        redefine("Bmodpr", Msg::ElemRedefineParents, &ElementDialogClose::parents);
    if (e.method == Method::ShowHideButton)
        redefine("Bmodbvnv", Msg::ElemRedefineList, &ElementDialogClose::buttonList);
}

void TEdit_elem::addNumberFields(QGridLayout* form, int& r) {
    using Target = double& (*)(Element&);
    auto field = [&](const char* name, int label, double value, Target target) {
        auto* f = new QLineEdit(QString::number(value, 'g', 12), this);
        f->setObjectName(QString::fromLatin1(name));
        form->addWidget(new QLabel(text(label), this), r, 0);
        form->addWidget(f, r++, 1);
        numberFields_.emplace_back(f, target);
    };
    const Element& e = *e_;
    // A function graph runs its variable over [value[1], value[2]].
    if (e.method == Method::FunctionGraph) {
        field("Ed_exta", Msg::ElemRangeFrom, e.value[1],
              [](Element& x) -> double& { return x.value[1]; });
        field("Ed_extb", Msg::ElemRangeTo, e.value[2],
              [](Element& x) -> double& { return x.value[2]; });
    }
    if (const auto* t = e.tailAs<ParameterTail>()) {
        field("Ed_kpe", Msg::ElemValue, e.value[0],
              [](Element& x) -> double& { return x.value[0]; });
        field("Ed_exta", Msg::ElemMinimum, t->minimum,
              [](Element& x) -> double& { return x.tailAs<ParameterTail>()->minimum; });
        field("Ed_extb", Msg::ElemMaximum, t->maximum,
              [](Element& x) -> double& { return x.tailAs<ParameterTail>()->maximum; });
        field("Ed_parinct", Msg::ElemIncrement, t->step,
              [](Element& x) -> double& { return x.tailAs<ParameterTail>()->step; });
    }
}

std::optional<std::vector<double>> TEdit_elem::typedNumbers() {
    std::vector<double> typed;
    const int32_t angleUnit = context_.document().angleUnit;
    for (const auto& [field, target] : numberFields_) {
        const std::optional<double> v =
            evaluateNumberText(field->text().trimmed().toStdString(), angleUnit);
        if (!v) {
            context_.warn(text(Msg::InvalidInput));
            field->setFocus();
            return std::nullopt;
        }
        typed.push_back(*v);
    }
    return typed;
}

void TEdit_elem::closeToRedefine(bool ElementDialogClose::*flag) {
    closing_.*flag = true;
    cancelAndClose();
}

namespace {

// Visits each field kept for Cancel with its copy in the look (the colour parameter aside).
template <class E, class L, class F> void forEachKept(E& e, L& l, F&& f) {
    f(e.color, l.color);
    f(e.colorParamMode, l.colorParamMode);
    f(e.colorParamFrom, l.colorParamFrom);
    f(e.colorParamTo, l.colorParamTo);
    f(e.shape, l.shape);
    f(e.visible, l.visible);
    f(e.decimals, l.decimals);
    f(e.option, l.option);
    f(e.option2, l.option2);
    f(e.unitShown, l.unitShown);
    if (const int m = fullAngleMarker(e); m >= 0) f(e.value[m], l.angleMarker);
    if (auto* t = e.template tailAs<AxesTail>()) {
        f(t->scaleX, l.scaleX);
        f(t->scaleY, l.scaleY);
    }
    if (auto* t = e.template tailAs<IterationTail>()) {
        f(t->lastOnly, l.lastOnly);
        f(t->drawPoints, l.drawPoints);
        f(t->ownColour, l.ownColour);
    }
}

} // namespace

TEdit_elem::Look TEdit_elem::lookOf(const Element& e) const {
    Look l;
    forEachKept(e, l, [](const auto& from, auto& to) { to = from; });
    l.colorParam = e.colorParam;
    l.name = context_.document().nameOf(&e);
    if (e.nameElement) l.nameVisible = e.nameElement->visible;
    return l;
}

void TEdit_elem::applyAndClose() {
    if (!e_) return QDialog::accept();
    const std::optional<std::vector<double>> numbers = typedNumbers();
    if (!numbers) return; // the typed text stays for correcting
    Document& doc = context_.document();
    // Opening recorded an undo step, which marks the document; only a real change keeps it so.
    doc.modified = modifiedAtOpening_;
    const std::string typed = ed_nom->text().toStdString();
    const std::string before = e_->method == Method::Name && e_->tailAs<NameTail>()
                                   ? e_->tailAs<NameTail>()->text
                                   : doc.nameOf(e_);
    if (std::string* own = ownText(*e_)) {
        // An emptied caption would leave nothing to click or read: the old one stays.
        if (!typed.empty() && typed != *own) {
            *own = typed;
            doc.modified = 1;
        }
    } else if (typed != before) {
        const bool selfDeleted = e_->method == Method::Name && typed.empty();
        setName(doc, e_, typed, context_.creationOptions());
        doc.modified = 1;
        if (selfDeleted) e_ = nullptr;
    }
    if (const std::optional<int32_t> n = integerField(Ed_npLG); n && e_) {
        if (auto* t = e_->tailAs<SampledCurveTail>()) {
            const int32_t count = locusPointCount(*e_, *n);
            if (count != int32_t(t->first.size())) {
                t->resize(count);
                doc.modified = 1;
            }
        } else if (auto* it = e_->tailAs<IterationTail>()) {
            const int32_t count = std::clamp(
                *n, 1, iterationLimit(std::max(it->initialCount, 1), it->destinationCount));
            if (count != it->iterations) {
                it->iterations = count;
                doc.modified = 1;
            }
        }
    }
    for (size_t i = 0; e_ && i < numberFields_.size(); ++i) {
        double& target = numberFields_[i].second(*e_);
        if (target != (*numbers)[i]) {
            target = (*numbers)[i];
            doc.modified = 1;
        }
    }
    markIfChanged();
    QDialog::accept();
}

void TEdit_elem::cancelAndClose() {
    closing_.revert = true;
    // A Bcolorpar whose typed fields were refused leaves nothing to start.
    parametricColourAsked_ = false;
    if (e_) restore(*e_, kept_);
    context_.revertStep();
    Document& doc = context_.document();
    e_ = doc.findById(id_);
    doc.modified = modifiedAtOpening_;
    context_.changed();
    QDialog::reject();
}

void TEdit_elem::restore(Element& e, const Look& l) {
    forEachKept(e, l, [](auto& to, const auto& from) { to = from; });
    e.colorParam = Ref(l.colorParam, l.colorParam ? l.colorParam->id : -1);
    if (e.nameElement && l.nameVisible >= 0) e.nameElement->visible = l.nameVisible;
}

void TEdit_elem::markIfChanged() {
    if (e_ && (fontChanged_ || !(lookOf(*e_) == kept_))) context_.document().modified = 1;
    context_.changed();
}

} // namespace qorv

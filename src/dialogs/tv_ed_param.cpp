#include "dialogs/tv_ed_param.h"

#include "calc/expression.h"
#include "geometry/recalcsupport.h"
#include "model/uitext.h"
#include "view/qtexts.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include <cmath>

namespace qorv {

TV_ed_param::TV_ed_param(DialogContext& context, Element& parameter, QWidget* parent)
    : QDialog(parent), context_(context), e_(&parameter) {
    setObjectName(QStringLiteral("TV_ed_param"));
    Document& doc = context_.document();
    doc.renumber();
    id_ = parameter.id;
    const auto* range = parameter.tailAs<ParameterTail>();
    value_ = parameter.value[0];
    lo_ = range ? range->minimum : 0.0;
    hi_ = range ? range->maximum : 0.0;
    QString caption = text(Msg::EditParameterCaption);
    const std::string name = doc.nameOf(&parameter);
    if (!name.empty()) caption += QStringLiteral(": ") + qtext(name);
    setWindowTitle(caption);

    auto field = [this](const char* name) {
        auto* f = new QLineEdit(this);
        f->setObjectName(QString::fromLatin1(name));
        return f;
    };
    Ed_p = field("Ed_p");
    Ed_a = field("Ed_a");
    Ed_b = field("Ed_b");
    showNumber(0, value_);
    showNumber(1, lo_);
    showNumber(2, hi_);
    TB = new QSlider(Qt::Horizontal, this);
    TB->setObjectName(QStringLiteral("TB"));
    TB->setRange(0, TrackRange);
    if (lo_ <= value_ && value_ <= hi_)
        TB->setValue(hi_ == lo_ ? 0 : int(std::lround((value_ - lo_) / (hi_ - lo_) * TrackRange)));
    connect(TB, &QSlider::valueChanged, this, &TV_ed_param::trackMoved);
    auto* ok = new QPushButton(text(Msg::ElemAccept), this);
    ok->setObjectName(QStringLiteral("Bot_ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TV_ed_param::confirm);

    auto* form = new QFormLayout(this);
    form->addRow(text(Msg::ValueLabel), Ed_p);
    form->addRow(text(Msg::MinimumLabel), Ed_a);
    form->addRow(text(Msg::MaximumLabel), Ed_b);
    form->addRow(TB);
    form->addRow(ok);
}

void TV_ed_param::put(Element& e, double value, double lo, double hi) {
    e.value[0] = value;
    if (auto* range = e.tailAs<ParameterTail>()) {
        range->minimum = lo;
        range->maximum = hi;
    }
}

void TV_ed_param::showNumber(int i, double v) {
    QLineEdit* fields[FieldCount] = {Ed_p, Ed_a, Ed_b};
    shown_[i] = QString::number(v, 'f', 2);
    exact_[i] = v;
    fields[i]->setText(shown_[i]);
}

void TV_ed_param::trackMoved(int position) {
    if (!e_) return;
    const auto* range = e_->tailAs<ParameterTail>();
    if (!range) return;
    const double v =
        range->minimum + double(position) / TrackRange * (range->maximum - range->minimum);
    e_->value[0] = v;
    showNumber(0, v);
    context_.changed();
}

bool TV_ed_param::confirm() {
    if (!e_) return false;
    Document& doc = context_.document();
    double typed[FieldCount] = {};
    QLineEdit* fields[FieldCount] = {Ed_p, Ed_a, Ed_b};
    for (int i = 0; i < FieldCount; ++i) {
        if (fields[i]->text() == shown_[i]) {
            typed[i] = exact_[i];
            continue;
        }
        const std::optional<double> v =
            evaluateNumberText(fields[i]->text().trimmed().toStdString(), doc.angleUnit);
        if (!v) {
            context_.warn(text(Msg::InvalidInput));
            fields[i]->setFocus();
            return false;
        }
        typed[i] = *v;
    }
    if (typed[0] != value_ || typed[1] != lo_ || typed[2] != hi_) {
        // The step must hold the values from before the dialog, so "Deshacer" returns to them.
        put(*e_, value_, lo_, hi_);
        context_.recordUndoStep();
        e_ = doc.findById(id_);
        if (e_) put(*e_, typed[0], typed[1], typed[2]);
        doc.modified = 1;
    }
    e_ = nullptr; // nothing more to restore
    context_.changed();
    QDialog::accept();
    return true;
}

void TV_ed_param::reject() {
    if (e_) put(*e_, value_, lo_, hi_);
    e_ = nullptr;
    context_.changed();
    QDialog::reject();
}

} // namespace qorv

#include "dialogs/tv_puncoord.h"

#include "calc/expression.h"
#include "construction/create.h"
#include "geometry/recalcsupport.h"
#include "model/uitext.h"
#include "view/qtexts.h"
#include "view/tooltable.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

namespace qorv {

TV_puncoord::TV_puncoord(DialogContext& context, Element* axes, Element* edited, QWidget* parent)
    : QDialog(parent), context_(context), axes_(axes), edited_(edited) {
    setObjectName(QStringLiteral("TV_puncoord"));
    setWindowTitle(qtext(uiText().toolPrompt(Tool::RepresentPoints)));
    Ed_cx = new QLineEdit(this);
    Ed_cx->setObjectName(QStringLiteral("Ed_cx"));
    Ed_cy = new QLineEdit(this);
    Ed_cy->setObjectName(QStringLiteral("Ed_cy"));
    RB_rec = new QRadioButton(nameText(Name::Rectangular), this);
    RB_rec->setObjectName(QStringLiteral("RB_rec"));
    RB_rec->setChecked(true);
    RB_pol = new QRadioButton(nameText(Name::Polar), this);
    RB_pol->setObjectName(QStringLiteral("RB_pol"));
    auto* B_rep = new QPushButton(text(Msg::CalcRepresent), this);
    B_rep->setObjectName(QStringLiteral("B_rep"));
    B_rep->setDefault(true);
    connect(B_rep, &QPushButton::clicked, this, &TV_puncoord::represent);
    auto* close = new QPushButton(text(Msg::CloseCaption), this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* form = new QFormLayout(this);
    form->addRow(text(Msg::CalcCoordX), Ed_cx);
    form->addRow(text(Msg::CalcCoordY), Ed_cy);
    form->addRow(RB_rec);
    form->addRow(RB_pol);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(B_rep);
    buttons->addWidget(close);
    form->addRow(buttons);
    if (edited_) {
        Ed_cx->setText(QString::number(edited_->value[2]));
        Ed_cy->setText(QString::number(edited_->value[3]));
    }
}

bool TV_puncoord::represent() {
    Document& doc = context_.document();
    const QString tx = Ed_cx->text().trimmed(), ty = Ed_cy->text().trimmed();
    // An edited point keeps the coordinate left empty.
    const auto field = [&](const QString& t, double kept) -> std::optional<double> {
        if (edited_ && t.isEmpty()) return kept;
        return evaluateNumberText(t.toStdString(), doc.angleUnit);
    };
    const std::optional<double> a = field(tx, edited_ ? edited_->value[2] : 0.0);
    const std::optional<double> b = field(ty, edited_ ? edited_->value[3] : 0.0);
    if (!a || !b) {
        context_.warn(text(Msg::InvalidInput));
        (a ? Ed_cy : Ed_cx)->setFocus();
        return false;
    }
    double x = *a, y = *b;
    if (RB_pol->isChecked()) {
        const double theta = *b / angleFactor(doc);
        x = *a * std::cos(theta);
        y = *a * std::sin(theta);
    }
    if (!undoRecorded_) {
        context_.recordUndoStep();
        undoRecorded_ = true;
    }
    if (edited_) {
        edited_->value[2] = x;
        edited_->value[3] = y;
        doc.modified = 1;
    } else {
        ElementRequest req;
        req.method = Method::RepresentedPoint;
        req.parent1 = axes_ ? axes_ : findAxes(doc, true, context_.creationOptions());
        req.value[2] = x;
        req.value[3] = y;
        made_.push_back(createElement(doc, req, context_.creationOptions()));
    }
    context_.changed();
    Ed_cx->clear();
    Ed_cy->clear();
    Ed_cx->setFocus();
    return true;
}

} // namespace qorv

#include "dialogs/optionwidgets.h"

#include "model/uitext.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qorv {

QColor qcolorOf(Color c) {
    return QColor(colorRed(c), colorGreen(c), colorBlue(c));
}

QHBoxLayout* okCancelRow(QDialog& dialog, QPushButton*& ok, QPushButton*& cancel) {
    ok = new QPushButton(QString::fromStdString(uiText().message(Msg::OkButton)), &dialog);
    ok->setObjectName(QStringLiteral("B_OK"));
    ok->setDefault(true);
    cancel = new QPushButton(QString::fromStdString(uiText().message(Msg::CancelButton)), &dialog);
    cancel->setObjectName(QStringLiteral("B_Cancel"));
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

ColourSwatch::ColourSwatch(std::function<bool(Color&)> choose, QWidget* parent)
    : QPushButton(parent), choose_(std::move(choose)) {
    setMinimumSize(48, 22);
    connect(this, &QPushButton::clicked, this, [this] {
        Color c = colour_;
        if (choose_ && choose_(c)) {
            setColour(c);
            emit colourChanged(c);
        }
    });
}

void ColourSwatch::setColour(Color c) {
    colour_ = c;
    update();
}

void ColourSwatch::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    QPainter p(this);
    p.setPen(QColor(60, 60, 60));
    p.setBrush(qcolorOf(colour_));
    p.drawRect(rect().adjusted(5, 5, -6, -6));
}

UpDownField::UpDownField(QLineEdit* edit, int lo, int hi, int step, QWidget* parent)
    : QWidget(parent), edit_(edit), lo_(lo), hi_(hi), step_(step) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(edit_);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    auto* up = new QToolButton(this);
    auto* down = new QToolButton(this);
    up->setArrowType(Qt::UpArrow);
    down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up, down}) {
        b->setFixedSize(16, 11);
        b->setAutoRepeat(true);
        arrows->addWidget(b);
    }
    row->addLayout(arrows);
    connect(up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(down, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

void UpDownField::stepBy(int steps) {
    bool ok = false;
    const int v = edit_->text().trimmed().toInt(&ok);
    const int base = ok ? std::clamp(v, lo_, hi_) : lo_;
    edit_->setText(QString::number(std::clamp(base + steps * step_, lo_, hi_)));
}

} // namespace qorv

#include "dialogs/tvcolpar.h"

#include "model/uitext.h"
#include "view/qtexts.h"

#include <QColorDialog>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace qorv {

namespace {

QColor qcolorOf(Color c) {
    return QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff);
}

Color colourOf(const QColor& c) {
    return Color(c.red() | (c.green() << 8) | (c.blue() << 16));
}

// A label that opens the colour dialog when clicked.
class ColourLabel : public QLabel {
  public:
    ColourLabel(Color& colour, std::function<void()> changed, QWidget* parent)
        : QLabel(parent), colour_(colour), changed_(std::move(changed)) {
        setMinimumSize(40, 20);
        setAutoFillBackground(true);
    }

  protected:
    void mousePressEvent(QMouseEvent*) override {
        const QColor c = QColorDialog::getColor(qcolorOf(colour_), this);
        if (!c.isValid()) return;
        colour_ = colourOf(c);
        changed_();
    }

  private:
    Color& colour_;
    std::function<void()> changed_;
};

} // namespace

TVcolpar::TVcolpar(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TVcolpar"));
    setWindowTitle(text(Msg::ParametricColourCaption));
    auto* grid = new QGridLayout(this);
    const char* names[5] = {"RB_1", "RB_2", "RB_1000", "RB_SB1", "RB_SB2"};
    const char* captions[5] = {"1", "2", "1000", "", ""};
    for (int i = 0; i < 5; ++i) {
        choices_[i] = new QRadioButton(QString::fromLatin1(captions[i]), this);
        choices_[i]->setObjectName(QString::fromLatin1(names[i]));
        grid->addWidget(choices_[i], i, 0);
    }
    choices_[0]->setChecked(true);
    auto bar = [&](const char* name, int lo, int hi, int row) {
        auto* b = new QScrollBar(Qt::Horizontal, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setRange(lo, hi);
        b->setMinimumWidth(160);
        connect(b, &QScrollBar::valueChanged, this,
                [this, row] { choices_[row]->setChecked(true); });
        grid->addWidget(b, row, 1);
        return b;
    };
    SB1 = bar("SB1", 3, 101, 3);
    SB2 = bar("SB2", 103, 201, 4);
    Lab_c1 = new ColourLabel(
        from_, [this] { showColours(); }, this);
    Lab_c1->setObjectName(QStringLiteral("Lab_c1"));
    Lab_c2 = new ColourLabel(
        to_, [this] { showColours(); }, this);
    Lab_c2->setObjectName(QStringLiteral("Lab_c2"));
    grid->addWidget(Lab_c1, 2, 1);
    grid->addWidget(Lab_c2, 2, 2);
    auto* ok = new QPushButton(text(Msg::ElemAccept), this);
    ok->setObjectName(QStringLiteral("Bok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(ok, 5, 2);
    showColours();
}

void TVcolpar::setColours(Color from, Color to) {
    from_ = from;
    to_ = to;
    showColours();
}

void TVcolpar::showColours() {
    for (auto [label, c] : {std::pair{Lab_c1, from_}, std::pair{Lab_c2, to_}}) {
        QPalette p = label->palette();
        p.setColor(QPalette::Window, qcolorOf(c));
        label->setPalette(p);
    }
}

int TVcolpar::mode() const {
    if (choices_[1]->isChecked()) return 2;
    if (choices_[2]->isChecked()) return 1000;
    if (choices_[3]->isChecked()) return SB1->value();
    if (choices_[4]->isChecked()) return SB2->value();
    return 1;
}

void setParamColour(Element& e, Element& number, int mode, bool fill, Color from, Color to) {
    e.colorParam = &number;
    e.colorParamMode = fill ? -mode : mode;
    if (mode == 1000) {
        e.colorParamFrom = from;
        e.colorParamTo = to;
    }
}

} // namespace qorv

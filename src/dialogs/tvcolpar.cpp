#include "dialogs/tvcolpar.h"

#include "model/uitext.h"
#include "view/qtexts.h"

#include <QColorDialog>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
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

// A strip painted from a mode's colours; a click on it runs `clicked`.
class ModeStrip : public QWidget {
  public:
    ModeStrip(std::function<int()> mode, const Color& from, const Color& to,
              std::function<void()> clicked, QWidget* parent)
        : QWidget(parent), mode_(std::move(mode)), from_(from), to_(to),
          clicked_(std::move(clicked)) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, modeImage(mode_(), from_, to_, size()));
    }
    void mousePressEvent(QMouseEvent*) override {
        if (clicked_) clicked_();
    }

  private:
    std::function<int()> mode_;
    const Color& from_;
    const Color& to_;
    std::function<void()> clicked_;
};

} // namespace

QImage modeImage(int mode, Color from, Color to, QSize size) {
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    const int w = image.width();
    for (int x = 0; x < w; ++x) {
        const double t = w > 1 ? double(x) / (w - 1) : 0.0;
        const Color c = parametricColor(mode, t, from, to);
        const QRgb pixel = qRgb(colorRed(c), colorGreen(c), colorBlue(c));
        for (int y = 0; y < image.height(); ++y)
            image.setPixel(x, y, pixel);
    }
    return image;
}

TVcolpar::TVcolpar(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TVcolpar"));
    setWindowTitle(text(Msg::ParametricColourCaption));
    auto* grid = new QGridLayout(this);
    const char* names[5] = {"RB_1", "RB_2", "RB_1000", "RB_SB1", "RB_SB2"};
    const int captions[5] = {Msg::ColTextRainbow, Msg::ColTextGreys, Msg::ColTextTwoColours,
                             Msg::ColTextSaturation, Msg::ColTextBrightness};
    for (int i = 0; i < 5; ++i) {
        choices_[i] = new QRadioButton(text(captions[i]), this);
        choices_[i]->setObjectName(QString::fromLatin1(names[i]));
        grid->addWidget(choices_[i], i, 0);
        auto* strip = new ModeStrip([this, i] { return modeOf(i); }, from_, to_,
                                    [this, i] { choices_[i]->setChecked(true); }, this);
        strip->setObjectName(QStringLiteral("Preset%1").arg(i + 1));
        strip->setFixedSize(98, 16);
        presets_[i] = strip;
        grid->addWidget(strip, i, 3);
        connect(choices_[i], &QRadioButton::toggled, this, [this] { preview_->update(); });
    }
    auto bar = [&](const char* name, int lo, int hi, int row) {
        auto* b = new QScrollBar(Qt::Horizontal, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setRange(lo, hi);
        b->setMinimumWidth(160);
        connect(b, &QScrollBar::valueChanged, this, [this, row] {
            choices_[row]->setChecked(true);
            presets_[row]->update();
            preview_->update();
        });
        grid->addWidget(b, row, 1, 1, 2);
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
    auto* caption = new QLabel(text(Msg::ColTextPreview), this);
    grid->addWidget(caption, 5, 0);
    preview_ = new ModeStrip([this] { return mode(); }, from_, to_, nullptr, this);
    preview_->setObjectName(QStringLiteral("Preview"));
    preview_->setMinimumSize(200, 28);
    grid->addWidget(preview_, 5, 1, 1, 3);
    auto* ok = new QPushButton(text(Msg::ElemAccept), this);
    ok->setObjectName(QStringLiteral("Bok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(ok, 6, 3);
    choices_[0]->setChecked(true);
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
    if (preview_) preview_->update();
    if (presets_[2]) presets_[2]->update();
}

int TVcolpar::modeOf(int i) const {
    switch (i) {
    case 1:
        return 2;
    case 2:
        return 1000;
    case 3:
        return SB1->value();
    case 4:
        return SB2->value();
    default:
        return 1;
    }
}

int TVcolpar::mode() const {
    for (int i = 1; i < 5; ++i)
        if (choices_[i]->isChecked()) return modeOf(i);
    return 1;
}

} // namespace qorv

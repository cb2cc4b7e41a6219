#include "dialogs/top_fon.h"

#include "dialogs/optionwidgets.h"
#include "model/uitext.h"
#include "view/qtexts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qorv {

TOp_fon::TOp_fon(DialogContext& context, QWidget* parent) : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("TOp_fon"));
    setWindowTitle(text(Msg::FontsCaption));
    const Document& doc = context_.document();
    for (size_t i = 0; i < 4; ++i)
        fonts_[i] = doc.fonts[i];
    fonts_[CursorEntry] = context_.programOptions().cursorFont;

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    for (int slot : {Msg::FirstFont, Msg::NamesFont, Msg::NumbersFont, Msg::TextsFont,
                     Msg::CursorMessagesFont})
        ListBox1->addItem(text(slot));
    ListBox1->setFixedWidth(170);

    Lab_click = new QLabel(text(Msg::ClickToChange), this);
    Lab_click->setObjectName(QStringLiteral("Lab_click"));
    preview = new QLabel(this);
    preview->setObjectName(QStringLiteral("preview"));
    preview->setMinimumSize(260, 110);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::Panel);
    preview->setFrameShadow(QFrame::Sunken);
    preview->setAutoFillBackground(true);
    preview->setCursor(Qt::PointingHandCursor);
    preview->installEventFilter(this);

    // The arrow keys move through the list as clicks do.
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this] { showPreview(); });

    auto* right = new QVBoxLayout;
    right->addWidget(Lab_click);
    right->addWidget(preview, 1);
    auto* columns = new QHBoxLayout;
    columns->addWidget(ListBox1);
    columns->addLayout(right, 1);
    QHBoxLayout* buttons = okCancelRow(*this, B_OK, B_Cancel);
    connect(B_OK, &QPushButton::clicked, this, &TOp_fon::B_OKClick);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);

    ListBox1->setCurrentRow(0);
    showPreview();
}

bool TOp_fon::eventFilter(QObject* watched, QEvent* event) {
    if (watched == preview && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        previewClicked();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TOp_fon::previewClicked() {
    const int row = ListBox1->currentRow();
    if (row < 0 || row > CursorEntry) return;
    FontRecord f = fonts_[size_t(row)];
    if (!context_.chooseFont(f)) return;
    fonts_[size_t(row)] = f;
    showPreview();
}

void TOp_fon::showPreview() {
    const int row = std::clamp(ListBox1->currentRow(), 0, CursorEntry);
    const FontRecord& f = fonts_[size_t(row)];
    QFont font(QString::fromStdString(f.name));
    font.setPointSize(std::clamp(f.size, 1, 200));
    font.setBold(f.bold == 1);
    font.setItalic(f.italic == 1);
    font.setUnderline(f.underline == 1);
    font.setStrikeOut(f.strikeout == 1);
    preview->setFont(font);
    const Color background = row == CursorEntry ? context_.programOptions().cursorBackground
                                                : context_.document().background;
    QPalette p = preview->palette();
    p.setColor(QPalette::Window, qcolorOf(background));
    p.setColor(QPalette::WindowText, qcolorOf(f.color));
    preview->setPalette(p);
    preview->setText(text(Msg::FontSample) + QLatin1Char(' ') + text(Msg::FontSampleChars));
}

void TOp_fon::B_OKClick() {
    Document& doc = context_.document();
    bool changed = false;
    for (size_t i = 0; i < 4; ++i) {
        changed = changed || !(doc.fonts[i] == fonts_[i]);
        doc.fonts[i] = fonts_[i];
    }
    if (changed) doc.modified = 1;
    context_.programOptions().cursorFont = fonts_[CursorEntry];
    emit optionsChanged(false);
    accept();
}

} // namespace qorv

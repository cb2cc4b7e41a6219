#include "dialogs/tvtexto.h"

#include "model/uitext.h"
#include "view/qtexts.h"

#include <QColorDialog>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace qorv {

QFont qfontOf(const FontRecord& f) {
    QFont font(QString::fromStdString(f.name), std::clamp(f.size, 1, 200));
    font.setBold(f.bold == 1);
    font.setItalic(f.italic == 1);
    font.setUnderline(f.underline == 1);
    font.setStrikeOut(f.strikeout == 1);
    return font;
}

QTextCharFormat charFormatOf(const FontRecord& f) {
    QTextCharFormat c;
    c.setFontFamilies({QString::fromStdString(f.name)});
    c.setFontPointSize(std::clamp(f.size, 1, 200));
    c.setFontWeight(f.bold == 1 ? QFont::Bold : QFont::Normal);
    c.setFontItalic(f.italic == 1);
    c.setFontUnderline(f.underline == 1);
    c.setFontStrikeOut(f.strikeout == 1);
    c.setForeground(QColor(colorRed(f.color), colorGreen(f.color), colorBlue(f.color)));
    return c;
}

FontRecord fontRecordOf(const QTextCharFormat& format, const FontRecord& fallback) {
    FontRecord f = fallback;
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.front().isEmpty()) f.name = families.front().toStdString();
    if (format.fontPointSize() > 0) f.size = int32_t(std::lround(format.fontPointSize()));
    f.bold = format.fontWeight() >= QFont::Bold ? 1 : 0;
    f.italic = format.fontItalic() ? 1 : 0;
    f.underline = format.fontUnderline() ? 1 : 0;
    f.strikeout = format.fontStrikeOut() ? 1 : 0;
    if (format.foreground().style() != Qt::NoBrush) {
        const QColor c = format.foreground().color();
        f.color = rgb(c.red(), c.green(), c.blue());
    }
    return f;
}

TVTexto::TVTexto(const FontRecord& textFont, Color background,
                 std::function<bool(FontRecord&)> chooseFont, QWidget* parent)
    : QDialog(parent), font_(textFont) {
    setObjectName(QStringLiteral("TVTexto"));
    setWindowTitle(qtext(uiText().kindName(Kind::Text)));
    auto* layout = new QVBoxLayout(this);
    auto* tools = new QHBoxLayout;
    layout->addLayout(tools);

    Memo1 = new QTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAcceptRichText(false); // pasted text takes the format at the cursor
    QPalette p = Memo1->palette();
    p.setColor(QPalette::Base,
               QColor(colorRed(background), colorGreen(background), colorBlue(background)));
    Memo1->setPalette(p);
    showDefaultFont();
    Memo1->setMinimumSize(360, 160);
    layout->addWidget(Memo1);

    auto button = [&](const char* name, int slot, auto action) {
        auto* b = new QPushButton(text(slot), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        tools->addWidget(b);
        return b;
    };
    button("B_font", Msg::ColTextFont, [this, chooseFont] {
        FontRecord f = fontRecordOf(Memo1->currentCharFormat(), font_);
        if (!chooseFont || !chooseFont(f)) return;
        const QTextCharFormat chosen = charFormatOf(f);
        // Without a selection the chosen font becomes the text's own font.
        if (!Memo1->textCursor().hasSelection()) {
            font_ = f;
            showDefaultFont();
            QTextCursor all(Memo1->document());
            all.select(QTextCursor::Document);
            all.mergeCharFormat(chosen);
        }
        changeFormat([&](QTextCharFormat& c) { c.merge(chosen); });
    });
    QFont bold = font();
    bold.setBold(true);
    button("B_bold", Msg::ColTextBold, [this] {
        const bool on = Memo1->currentCharFormat().fontWeight() < QFont::Bold;
        changeFormat(
            [on](QTextCharFormat& c) { c.setFontWeight(on ? QFont::Bold : QFont::Normal); });
    })->setFont(bold);
    QFont italic = font();
    italic.setItalic(true);
    button("B_italic", Msg::ColTextItalic, [this] {
        const bool on = !Memo1->currentCharFormat().fontItalic();
        changeFormat([on](QTextCharFormat& c) { c.setFontItalic(on); });
    })->setFont(italic);
    QFont under = font();
    under.setUnderline(true);
    button("B_under", Msg::ColTextUnderline, [this] {
        const bool on = !Memo1->currentCharFormat().fontUnderline();
        changeFormat([on](QTextCharFormat& c) { c.setFontUnderline(on); });
    })->setFont(under);
    button("B_color", Msg::ColTextColour, [this] {
        const QColor c =
            QColorDialog::getColor(Memo1->currentCharFormat().foreground().color(), this);
        if (c.isValid()) changeFormat([c](QTextCharFormat& f) { f.setForeground(c); });
    });
    // Greek letters are the Latin ones written in the "Symbol" font.
    button("B_Lgriega", Msg::ColTextGreek, [this] {
        changeFormat([](QTextCharFormat& c) { c.setFontFamilies({QStringLiteral("Symbol")}); });
    });
    tools->addStretch();

    Memo1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Memo1, &QTextEdit::customContextMenuRequested, this, [this](QPoint at) {
        QMenu menu(this);
        menu.addAction(text(Msg::Cut), Memo1, &QTextEdit::cut);
        menu.addAction(text(Msg::Copy), Memo1, &QTextEdit::copy);
        menu.addAction(text(Msg::Paste), Memo1, &QTextEdit::paste);
        menu.addAction(text(Msg::DeleteButton), this,
                       [this] { Memo1->textCursor().removeSelectedText(); });
        menu.addAction(text(Msg::SelectAll), Memo1, &QTextEdit::selectAll);
        menu.exec(Memo1->mapToGlobal(at));
    });

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    auto* ok = new QPushButton(text(Msg::ElemAccept), this);
    ok->setObjectName(QStringLiteral("B_OK"));
    ok->setAutoDefault(false); // Enter starts a new line
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(text(Msg::ElemCancel), this);
    cancel->setObjectName(QStringLiteral("B_Cancel"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);
    Memo1->setFocus();
}

void TVTexto::showDefaultFont() {
    // Characters without a format of their own (a new empty line) show in the text's font.
    Memo1->document()->setDefaultFont(qfontOf(font_));
    QPalette p = Memo1->palette();
    p.setColor(QPalette::Text,
               QColor(colorRed(font_.color), colorGreen(font_.color), colorBlue(font_.color)));
    Memo1->setPalette(p);
    Memo1->setCurrentCharFormat(charFormatOf(font_));
}

void TVTexto::changeFormat(const std::function<void(QTextCharFormat&)>& change) {
    QTextCursor cursor = Memo1->textCursor();
    QTextCharFormat f = cursor.hasSelection() ? QTextCharFormat() : Memo1->currentCharFormat();
    if (cursor.hasSelection()) {
        change(f);
        cursor.mergeCharFormat(f);
        Memo1->mergeCurrentCharFormat(f);
    } else {
        change(f);
        Memo1->setCurrentCharFormat(f);
    }
    Memo1->setFocus();
}

void TVTexto::showText(const TextTail& t) {
    font_ = t.font;
    showDefaultFont();
    Memo1->clear();
    // The runs cover the characters in order, a line break counting as two; characters past
    // the last run take the text's font.
    size_t run = 0;
    int32_t left = t.runs.empty() ? 0 : t.runs.front().length;
    auto fontHere = [&]() -> const FontRecord& {
        while (run < t.runs.size() && left <= 0)
            if (++run < t.runs.size()) left = t.runs[run].length;
        return run < t.runs.size() ? t.runs[run].font : font_;
    };
    QTextCursor c(Memo1->document());
    for (size_t i = 0; i < t.lines.size(); ++i) {
        const QString line = QString::fromStdString(t.lines[i]);
        if (i > 0) {
            c.insertBlock();
            left -= 2; // the break before this line
        }
        // A blank line is kept as one space: it shows empty again.
        if (line == QLatin1String(" ")) {
            c.setBlockCharFormat(charFormatOf(fontHere()));
            c.setCharFormat(charFormatOf(fontHere()));
            --left;
            continue;
        }
        qsizetype at = 0;
        while (at < line.size()) {
            const FontRecord& f = fontHere();
            const qsizetype n = run < t.runs.size() ? std::min<qsizetype>(left, line.size() - at)
                                                    : line.size() - at;
            c.insertText(line.mid(at, n), charFormatOf(f));
            at += n;
            left -= int32_t(n);
        }
    }
    Memo1->moveCursor(QTextCursor::End);
}

void TVTexto::fillText(TextTail& out) const {
    out.lines.clear();
    out.runs.clear();
    out.font = font_;
    if (Memo1->toPlainText().trimmed().isEmpty()) return; // nothing typed: no text
    // One font per character, line breaks as two characters of the font before them.
    std::vector<FontRecord> fonts;
    for (QTextBlock block = Memo1->document()->begin(); block.isValid(); block = block.next()) {
        QString line;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment piece = it.fragment();
            if (!piece.isValid()) continue;
            const FontRecord f = fontRecordOf(piece.charFormat(), font_);
            line += piece.text();
            fonts.insert(fonts.end(), size_t(piece.text().size()), f);
        }
        if (line.isEmpty()) {
            line = QStringLiteral(" ");
            fonts.push_back(fontRecordOf(block.charFormat(), font_));
        }
        out.lines.push_back(line.toStdString());
        if (block.next().isValid()) fonts.insert(fonts.end(), 2, fonts.back());
    }
    for (size_t i = 0; i < fonts.size(); ++i) {
        if (i == 0 || !(fonts[i] == fonts[i - 1])) out.runs.push_back(FontRun{fonts[i], 0});
        ++out.runs.back().length;
    }
}

} // namespace qorv

// The text editor of the text tool: several lines with their fonts, bold, italic, underline,
// colours and Greek letters; what is typed becomes a text element's lines and font runs.
#pragma once

#include "model/element.h"

#include <QDialog>

#include <functional>

class QFont;
class QTextCharFormat;
class QTextEdit;

namespace qorv {

class TVTexto : public QDialog {
    Q_OBJECT
  public:
    // `textFont` is the default font of the new text; `background` the document's background, on
    // which the text will be seen; `chooseFont` the font dialog (false when cancelled).
    TVTexto(const FontRecord& textFont, Color background,
            std::function<bool(FontRecord&)> chooseFont, QWidget* parent = nullptr);

    QTextEdit* memo() const { return Memo1; }
    // Shows an existing text: its lines with their font runs, its own font as the default.
    void showText(const TextTail& text);
    // The text typed: its lines (an empty one kept as a single space), the default font and the
    // font runs, a new run starting wherever a character's format differs from the previous
    // character's (a line break counts as two characters of the run it lies in).
    void fillText(TextTail& text) const;
    // Applies `change` to the selected characters, or to what is typed next when nothing is
    // selected (the buttons).
    void changeFormat(const std::function<void(QTextCharFormat&)>& change);

  private:
    // The text's own font as the editor's default.
    void showDefaultFont();

    QTextEdit* Memo1 = nullptr;
    FontRecord font_;
};

// A font record as Qt's font (without its colour); as a character format (with it), and back.
QFont qfontOf(const FontRecord& f);
QTextCharFormat charFormatOf(const FontRecord& f);
FontRecord fontRecordOf(const QTextCharFormat& format, const FontRecord& fallback);

} // namespace qorv

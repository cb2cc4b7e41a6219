// The construction list: one line per element with what it is and what it was built from,
// navigation buttons, and "Copiar" for the whole list as text.
#pragma once

#include "dialogs/dialogcontext.h"

#include <QDialog>

#include <string>
#include <vector>

class QPushButton;
class QTreeWidget;

namespace qorv {

// The two columns of the line of `e`.
std::string listFirstColumn(const Document& doc, const Element& e);
std::string listSecondColumn(const Document& doc, const Element& e);
// The elements listed, in list order (hidden ones too with `showHidden`).
std::vector<Element*> listedElements(Document& doc, bool showHidden);
// The list as "Copiar" puts it on the clipboard: "n. first: second" per line.
std::string constructionListText(Document& doc, bool showHidden);

class TV_lista : public QDialog {
    Q_OBJECT
  public:
    // The list of the context's current document.
    explicit TV_lista(DialogContext& context, QWidget* parent = nullptr);

    // Fills the list again from the document; the caption names it.
    void rebuild();
    // The document was switched or lost elements: the lines are made again (forgotten while
    // the list is hidden; opening it fills it).
    void documentChanged();
    QTreeWidget* list() const { return list_; }
    // "Copiar": the whole list on the system clipboard.
    void copyToClipboard();

  signals:
    // A double click on the line of `e`: its properties dialog is asked for (the list is made
    // again when it returns).
    void editAsked(Element* e);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void moveTo(int row);
    // The first column as wide as its widest text and a clear gap before the second.
    void fitFirstColumn();

    DialogContext& context_;
    std::vector<Element*> elements_;
    QTreeWidget* list_ = nullptr;
    QPushButton* B_vertodo = nullptr;
};

} // namespace qorv

// "Lista documentos": the names of the open documents, with buttons that move through the list,
// close or save the chosen document, and OK to make it current.
#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace qorv {

class DialogContext;

class TV_listadoc : public QDialog {
    Q_OBJECT
  public:
    explicit TV_listadoc(DialogContext& context, QWidget* parent = nullptr);

    QListWidget* list() const { return ListBox1; }
    // The row chosen in the list, -1 when it is empty.
    int chosen() const;

    // OK makes the chosen document current.
    void accept() override;

  signals:
    // Document `index` is to become current, to be closed as "Cerrar" does (asking to save its
    // changes), or saved as "&Guardar" does. The list shows the documents afterwards.
    void switchAsked(int index);
    void closeAsked(int index);
    void saveAsked(int index);

  private:
    // Fills the list from the context and chooses `row` (kept within the list).
    void fill(int row);
    void choose(int row);
    void step(int delta);
    void closeChosen();
    void saveChosen();

    DialogContext& context_;
    QListWidget* ListBox1 = nullptr;
    QPushButton* B_primero = nullptr;
    QPushButton* B_anterior = nullptr;
    QPushButton* B_siguiente = nullptr;
    QPushButton* B_ultimo = nullptr;
    QPushButton* B_cerrar = nullptr;
    QPushButton* B_guardar = nullptr;
    QPushButton* B_ok = nullptr;
    QPushButton* B_cancel = nullptr;
};

} // namespace qorv

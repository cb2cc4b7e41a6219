// "Lista documentos": the names of the open documents, with buttons that move through the list,
// close or save the chosen document, and OK to make it current.
#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace qorv {

// What the dialog needs from the main window.
class DocumentListHost {
  public:
    virtual ~DocumentListHost() = default;
    virtual QStringList documentNames() const = 0;
    // -1 when no document is open.
    virtual int currentDocumentIndex() const = 0;
    virtual void switchTo(int index) = 0;
    // Closes document `index` as "Cerrar" does (asking to save its changes); false when it stays.
    virtual bool closeDocumentAt(int index) = 0;
    // Saves document `index` as "&Guardar" does; false when it was not saved.
    virtual bool saveDocumentAt(int index) = 0;
};

class TV_listadoc : public QDialog {
    Q_OBJECT
  public:
    explicit TV_listadoc(DocumentListHost& host, QWidget* parent = nullptr);

    QListWidget* list() const { return ListBox1; }
    // The row chosen in the list, -1 when it is empty.
    int chosen() const;

    // OK makes the chosen document current.
    void accept() override;

  private:
    // Fills the list from the host and chooses `row` (kept within the list).
    void fill(int row);
    void choose(int row);
    void step(int delta);
    void closeChosen();
    void saveChosen();

    DocumentListHost& host_;
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

// "Iteración": the lists of the iteration tool (the initial elements, then each destination
// list), the buttons that choose a list to fill in the drawing, add or remove a destination
// list, choose the number of iterations and create the iteration. It stays open beside the
// drawing while the tool is active, so that clicks in the drawing fill the current list.
// "TV_iterac_ni" asks for the number of iterations.
#pragma once

#include <QDialog>

#include <cstdint>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace qorv {

class DialogContext;
struct IterationWorkspace;

class TV_iterac : public QDialog {
    Q_OBJECT
  public:
    // The lists are the iteration tool's, `context` gives the document they are of.
    TV_iterac(DialogContext& context, IterationWorkspace& lists, QWidget* parent = nullptr);

    // The list and the buttons again from the workspace.
    void refresh();
    QListWidget* list() const { return LB_listas; }

    // Escape and the close box cancel like the Cancel button.
    void reject() override;

  signals:
    // The selection of the drawing changed (it shows the current list).
    void selectionShown();
    // "Nueva iteración": the iteration from the lists is asked for.
    void createAsked();
    // Cancel: the move tool again.
    void leaveAsked();

  private:
    void chooseLine();
    void addDestination();
    void removeList();
    void countMode();

    DialogContext& context_;
    IterationWorkspace& lists_;
    QListWidget* LB_listas = nullptr;
    QPushButton* B_elegir = nullptr;
    QPushButton* B_destino = nullptr;
    QPushButton* B_eliminar = nullptr;
    QPushButton* B_numit = nullptr;
    QPushButton* B_nueva = nullptr;
    QPushButton* B_cancelar = nullptr;
};

// The number of iterations: the edit shows `n`; an entry that is not an integer leaves it as it
// was, 0 or a negative number gives 1.
class TV_iterac_ni : public QDialog {
    Q_OBJECT
  public:
    explicit TV_iterac_ni(int32_t n, QWidget* parent = nullptr);
    // The number after OK.
    int32_t number() const;
    QLineEdit* edit() const { return Ed_ni; }

  private:
    int32_t initial_;
    QLineEdit* Ed_ni = nullptr;
};

} // namespace qorv

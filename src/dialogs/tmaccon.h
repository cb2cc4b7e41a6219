// "Macros": the macros of the current document (list, description), the buttons that choose the
// initial and final elements of a new macro in the drawing and complete it, apply, save, load,
// rename, delete and reorder macros, and copy macros from the other open documents.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace qorv {

class DialogContext;
class Document;
class MacroSession;

class TMacCon : public QDialog {
    Q_OBJECT
  public:
    // The dialog's results: stay in the tool mode chosen in the dialog, or go back to the
    // move/edit tool.
    enum : int { StayInTool = 1, BackToMove = 2 };

    // The macros of the context's document; `session` holds the lists chosen in the drawing,
    // `tool` is the tool mode the program is in, `folder` the folder of macro files last used.
    TMacCon(DialogContext& context, MacroSession& session, int tool, const QString& folder,
            QWidget* parent = nullptr);

    // The tool mode a button chose (select initial, select final, apply), -1 for none.
    int chosenTool() const { return chosenTool_; }
    QListWidget* list() const { return ListBox1; }
    QPlainTextEdit* memo() const { return Memo1; }
    // The row chosen in the list, -1 for none.
    int chosen() const;
    // The popup of B_carmac, made anew from the documents: loading a file, then the macros of
    // the other open documents.
    QMenu* loadMenu();

    // Escape and the window's close box close it like B_no.
    void reject() override;

  signals:
    // The help on macros (B_ayuda, F1), to be usable while the dialog is open.
    void helpAsked();
    // The initial and final lists were released: the drawing loses their marks.
    void listsReleased();
    // A macro file was written or read in `folder` (proposed next time).
    void folderUsed(const QString& folder);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The list again from the document, choosing `row`.
    void fill(int row);
    void updateButtons();
    void showDescription();
    void storeDescription();
    void chooseMode(int tool);
    void completeMacro();
    void applyChosen();
    void renameChosen();
    void deleteChosen();
    void moveChosen(int delta);
    void saveChosen();
    void loadFile();
    void copyFrom(Document& source, int slot);

    DialogContext& context_;
    MacroSession& session_;
    int tool_;
    QString folder_;
    int chosenTool_ = -1;
    bool memoChanged_ = false;
    int memoRow_ = -1; // the macro whose description the memo shows
    QMenu* loadMenu_ = nullptr;

    QListWidget* ListBox1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* B_eini = nullptr;
    QPushButton* B_efin = nullptr;
    QPushButton* B_comp = nullptr;
    QPushButton* B_activar = nullptr;
    QPushButton* B_no = nullptr;
    QPushButton* B_ayuda = nullptr;
    QPushButton* B_guarmac = nullptr;
    QPushButton* B_carmac = nullptr;
    QPushButton* B_nombre = nullptr;
    QPushButton* B_eliminar = nullptr;
    QPushButton* B_MacUp = nullptr;
    QPushButton* B_MacDw = nullptr;
};

} // namespace qorv

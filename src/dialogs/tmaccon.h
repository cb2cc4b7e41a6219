// "Macros": the macros of the current document (list, description), the buttons that choose the
// initial and final elements of a new macro in the drawing and complete it, apply, save, load,
// rename, delete and reorder macros, and copy macros from the other open documents.
#pragma once

#include <QDialog>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace qorv {

class Document;
class MacroSession;

// What the dialog needs from the main window.
class MacroDialogHost {
  public:
    virtual ~MacroDialogHost() = default;
    virtual Document& macroDocument() = 0;
    virtual MacroSession& macroSession() = 0;
    // The tool mode the main window is in.
    virtual int macroTool() const = 0;
    // The other open documents with their names, in table order.
    virtual std::vector<std::pair<QString, Document*>> otherDocuments() = 0;
    // An input box with the program's title as caption; nothing when it is cancelled.
    virtual std::optional<QString> askText(const QString& prompt, const QString& initial) = 0;
    virtual void warnUser(const QString& message) = 0;
    // The file to write a macro to, proposing `proposed`; empty when cancelled.
    virtual QString macroFileToSave(const QString& proposed) = 0;
    // A macro file to read; empty when cancelled.
    virtual QString macroFileToOpen() = 0;
    // The folder of macro files last used (the one proposed next time).
    virtual QString macroFolder() const = 0;
    virtual void setMacroFolder(const QString& folder) = 0;
    // The initial and final lists were released: the drawing loses their marks.
    virtual void macroListsReleased() = 0;
    // The help on macros (B_ayuda, F1), usable while `dialog` is open.
    virtual void showMacroHelp(QWidget* dialog) { (void)dialog; }
};

class TMacCon : public QDialog {
    Q_OBJECT
  public:
    // The dialog's results: stay in the tool mode chosen in the dialog, or go back to the
    // move/edit tool.
    enum : int { StayInTool = 1, BackToMove = 2 };

    explicit TMacCon(MacroDialogHost& host, QWidget* parent = nullptr);

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

    MacroDialogHost& host_;
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

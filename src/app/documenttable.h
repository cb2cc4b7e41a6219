// The open documents of the main window: up to 99 in opening order, the current one, and the
// numbering of new documents ("Documento 1", "Documento 2" ...). When none is open an empty
// stand-in document is current, so that the drawing canvas always has one to show.
#pragma once

#include "model/document.h"

#include <QString>

#include <memory>
#include <vector>

namespace qorv {

class DocumentTable {
  public:
    static constexpr int MaxDocuments = 99;

    DocumentTable();

    int count() const { return int(entries_.size()); }
    bool full() const { return count() >= MaxDocuments; }
    // -1 when no document is open.
    int currentIndex() const { return current_; }
    Document& current() { return current_ >= 0 ? *entries_[size_t(current_)].doc : *standIn_; }
    Document& at(int i) { return *entries_[size_t(i)].doc; }
    const Document& at(int i) const { return *entries_[size_t(i)].doc; }
    int indexOf(const Document* doc) const;
    std::vector<Document*> all() const;

    // The name shown in the tabs, the combo box and the menu: the file's name without folder and
    // extension, or "Documento" and the document's number while it has no file.
    QString name(int i) const;
    // The index of the document saved at `path` (compared as the file system compares names), or
    // -1.
    int indexOfPath(const QString& path) const;

    // The number of the next new document: counting starts again at 1 when none is open.
    int takeNewNumber();
    // Appends a document and makes it current; `number` names it while it has no file. Returns
    // its index.
    int add(std::unique_ptr<Document> doc, int number);
    void setCurrent(int i) { current_ = i; }
    // Puts `doc` in the place of document i (keeping its number) and returns the old one.
    std::unique_ptr<Document> replace(int i, std::unique_ptr<Document> doc);
    // Takes document i out of the table (the later ones move up) and hands it back. The current
    // index follows the current document; when that is the one taken, it is -1 until the caller
    // chooses another.
    std::unique_ptr<Document> take(int i);
    // Forgets the numbers given so far: the next new document is "Documento 1" again.
    void restartNumbering() { counter_ = 0; }

    // A fresh stand-in document for the no-document state (current() while none is open); the
    // old one is handed back, to be freed once nothing shows it.
    std::unique_ptr<Document> renewStandIn();

  private:
    struct Entry {
        std::unique_ptr<Document> doc;
        int number = 0;
    };
    std::vector<Entry> entries_;
    int current_ = -1;
    int counter_ = 0;
    std::unique_ptr<Document> standIn_;
};

} // namespace qorv

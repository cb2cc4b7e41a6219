#include "app/documenttable.h"

#include "model/uitext.h"
#include "settings/paths.h"

#include <QFile>
#include <QFileInfo>

namespace qorv {

DocumentTable::DocumentTable() : standIn_(std::make_unique<Document>()) {}

int DocumentTable::indexOf(const Document* doc) const {
    for (int i = 0; i < count(); ++i)
        if (entries_[size_t(i)].doc.get() == doc) return i;
    return -1;
}

std::vector<Document*> DocumentTable::all() const {
    std::vector<Document*> docs;
    docs.reserve(entries_.size());
    for (const Entry& e : entries_)
        docs.push_back(e.doc.get());
    return docs;
}

QString DocumentTable::name(int i) const {
    const Entry& e = entries_[size_t(i)];
    if (!e.doc->fileName.empty())
        return QFileInfo(QFile::decodeName(e.doc->fileName.c_str())).completeBaseName();
    return QString::fromStdString(uiText().message(Msg::DocumentName)) + QLatin1Char(' ') +
           QString::number(e.number);
}

int DocumentTable::indexOfPath(const QString& path) const {
    for (int i = 0; i < count(); ++i) {
        const std::string& file = entries_[size_t(i)].doc->fileName;
        if (!file.empty() && samePath(QFile::decodeName(file.c_str()), path)) return i;
    }
    return -1;
}

int DocumentTable::takeNewNumber() {
    if (entries_.empty()) counter_ = 0;
    return ++counter_;
}

int DocumentTable::add(std::unique_ptr<Document> doc, int number) {
    entries_.push_back(Entry{std::move(doc), number});
    current_ = count() - 1;
    return current_;
}

std::unique_ptr<Document> DocumentTable::replace(int i, std::unique_ptr<Document> doc) {
    return std::exchange(entries_[size_t(i)].doc, std::move(doc));
}

std::unique_ptr<Document> DocumentTable::take(int i) {
    std::unique_ptr<Document> doc = std::move(entries_[size_t(i)].doc);
    entries_.erase(entries_.begin() + i);
    if (current_ == i)
        current_ = -1;
    else if (current_ > i)
        --current_;
    return doc;
}

std::unique_ptr<Document> DocumentTable::renewStandIn() {
    return std::exchange(standIn_, std::make_unique<Document>());
}

} // namespace qorv

// The recent-files list of "Abrir recientes" and the last folders of the file dialogs, as kept in
// the per-user store (registry.h).
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

namespace qorv {

// Ten slots, the most recent first. Paths are compared as the file system compares names, so
// that one file never takes two slots and two files never share one.
class RecentFiles {
  public:
    static constexpr int Slots = 10;

    const QStringList& paths() const { return paths_; }
    int count() const { return int(paths_.size()); }
    int indexOf(const QString& path) const;

    // Puts `path` into slot 0; its old slot, if any, is emptied, and the oldest falls out when
    // all ten were filled.
    void add(const QString& path);
    void clear() { paths_.clear(); }

    // The menu caption of a slot: its number counted from 1, " " and the path (whose own "&" are
    // doubled, so that the menu shows them); the number's last digit is the entry's accelerator
    // ("&1" .. "&9", "1&0").
    static QString caption(int slot, const QString& path);

    // Reads the values "File9" down to "File0" of the "Recent Files" key and adds each one
    // present, so that slot 0 ends on top.
    void load(QSettings& store);
    // Writes each filled slot i as "File" followed by i, and nothing else under the key.
    void save(QSettings& store) const;
    // Deletes the "Recent Files" key.
    static void removeFromStore(QSettings& store);

  private:
    QStringList paths_;
};

// The folders the open and save dialogs start in: the last folder of documents ("Last Dir") and
// of macro files ("Last DirMac"), each the default value of its key. Empty when not stored.
struct LastFolders {
    QString documents;
    QString macros;

    void load(QSettings& store);
    // Writes the folders that are known.
    void save(QSettings& store) const;
};

} // namespace qorv

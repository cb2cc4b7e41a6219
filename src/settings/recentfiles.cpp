#include "settings/recentfiles.h"

#include "settings/paths.h"
#include "settings/registry.h"

namespace qorv {

namespace {

QString slotKey(int slot) {
    return QStringLiteral("File") + QString::number(slot);
}

QString defaultValueOf(const char* key) {
    return QString::fromLatin1(key) + QLatin1Char('/') +
           QString::fromLatin1(registry::DefaultValue);
}

} // namespace

int RecentFiles::indexOf(const QString& path) const {
    for (int i = 0; i < count(); ++i)
        if (samePath(paths_[i], path)) return i;
    return -1;
}

void RecentFiles::add(const QString& path) {
    if (path.isEmpty()) return;
    if (const int i = indexOf(path); i >= 0) paths_.removeAt(i);
    while (count() >= Slots)
        paths_.removeLast();
    paths_.prepend(path);
}

QString RecentFiles::caption(int slot, const QString& path) {
    // Only the number's last digit is an accelerator: an "&" of the path is doubled to be shown.
    QString number = QString::number(slot + 1);
    number.insert(number.size() - 1, QLatin1Char('&'));
    QString shown = path;
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return number + QLatin1Char(' ') + shown;
}

void RecentFiles::load(QSettings& store) {
    store.beginGroup(QString::fromLatin1(registry::RecentFilesKey));
    for (int slot = Slots - 1; slot >= 0; --slot) {
        const QString path = store.value(slotKey(slot)).toString();
        if (!path.isEmpty()) add(path);
    }
    store.endGroup();
}

void RecentFiles::save(QSettings& store) const {
    removeFromStore(store);
    store.beginGroup(QString::fromLatin1(registry::RecentFilesKey));
    for (int slot = 0; slot < count(); ++slot)
        store.setValue(slotKey(slot), paths_[slot]);
    store.endGroup();
}

void RecentFiles::removeFromStore(QSettings& store) {
    store.remove(QString::fromLatin1(registry::RecentFilesKey));
}

void LastFolders::load(QSettings& store) {
    documents = store.value(defaultValueOf(registry::LastDirKey)).toString();
    macros = store.value(defaultValueOf(registry::LastDirMacKey)).toString();
}

void LastFolders::save(QSettings& store) const {
    if (!documents.isEmpty()) store.setValue(defaultValueOf(registry::LastDirKey), documents);
    if (!macros.isEmpty()) store.setValue(defaultValueOf(registry::LastDirMacKey), macros);
}

} // namespace qorv

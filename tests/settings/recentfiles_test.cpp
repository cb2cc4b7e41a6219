#include "settings/paths.h"
#include "settings/recentfiles.h"
#include "settings/registry.h"

#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace qorv;

namespace {

QString path(int i) {
    return QStringLiteral("/docs/f%1.qrv").arg(i);
}

// The per-user store of the tests, empty before and after each test.
class Store : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QStandardPaths::isTestModeEnabled());
        store = registry::open();
        store->clear();
    }
    void TearDown() override { store->clear(); }
    std::unique_ptr<QSettings> store;
};

} // namespace

TEST(RecentFiles, KeepsTheTenMostRecentAndMovesAReopenedOneToTheTop) {
    RecentFiles r;
    for (int i = 0; i <= 10; ++i)
        r.add(path(i));
    QStringList expected;
    for (int i = 10; i >= 1; --i)
        expected << path(i);
    EXPECT_EQ(r.paths(), expected);
    // The fourth entry again: one slot, on top.
    r.add(path(7));
    EXPECT_EQ(r.count(), 10);
    EXPECT_EQ(r.paths()[0], path(7));
    EXPECT_EQ(r.paths().mid(1, 3), (QStringList{path(10), path(9), path(8)}));
    EXPECT_EQ(r.paths()[4], path(6));
    EXPECT_EQ(r.indexOf(path(9)), 2);
    EXPECT_EQ(r.indexOf(path(0)), -1);
    // The same letters in other case: the same file only where the file system says so.
    const bool oneFile = fileNameCaseSensitivity() == Qt::CaseInsensitive;
    EXPECT_EQ(r.indexOf(path(9).toUpper()), oneFile ? 2 : -1);
    r.add(path(8).toUpper());
    EXPECT_EQ(r.count(), 10);
    EXPECT_EQ(r.indexOf(path(8)), oneFile ? 0 : 4);
    r.add(QString());
    EXPECT_EQ(r.count(), 10);
    // Numbered from 1, the last digit the accelerator.
    EXPECT_EQ(RecentFiles::caption(0, QStringLiteral("/a/b.qrv")), QStringLiteral("&1 /a/b.qrv"));
    EXPECT_EQ(RecentFiles::caption(3, QStringLiteral("/a/b.qrv")), QStringLiteral("&4 /a/b.qrv"));
    EXPECT_EQ(RecentFiles::caption(9, QStringLiteral("/a/b.qrv")), QStringLiteral("1&0 /a/b.qrv"));
    // An "&" of the path is shown, not taken as the entry's accelerator.
    EXPECT_EQ(RecentFiles::caption(2, QStringLiteral("/R&D/b.qrv")),
              QStringLiteral("&3 /R&&D/b.qrv"));
}

TEST_F(Store, RecentFilesAreValuesFile0ToFile9OfTheirKey) {
    RecentFiles r;
    for (int i = 0; i < 3; ++i)
        r.add(path(i));
    // Slots that an older list had filled do not survive a shorter one.
    store->setValue(QStringLiteral("Recent Files/File7"), QStringLiteral("/old.qrv"));
    r.save(*store);
    store->beginGroup(QStringLiteral("Recent Files"));
    EXPECT_EQ(store->childKeys(), (QStringList{"File0", "File1", "File2"}));
    EXPECT_EQ(store->value(QStringLiteral("File0")).toString(), path(2));
    EXPECT_EQ(store->value(QStringLiteral("File2")).toString(), path(0));
    store->endGroup();

    // Gaps are skipped and slot 0 ends on top.
    store->remove(QStringLiteral("Recent Files"));
    store->setValue(QStringLiteral("Recent Files/File0"), path(5));
    store->setValue(QStringLiteral("Recent Files/File4"), path(6));
    store->setValue(QStringLiteral("Recent Files/File9"), path(7));
    RecentFiles loaded;
    loaded.load(*store);
    EXPECT_EQ(loaded.paths(), (QStringList{path(5), path(6), path(7)}));

    RecentFiles::removeFromStore(*store);
    EXPECT_FALSE(store->childGroups().contains(QStringLiteral("Recent Files")));
    RecentFiles none;
    none.load(*store);
    EXPECT_EQ(none.count(), 0);
}

TEST_F(Store, LastFoldersAreTheDefaultValuesOfTheirKeys) {
    LastFolders f;
    f.load(*store);
    EXPECT_TRUE(f.documents.isEmpty());
    EXPECT_TRUE(f.macros.isEmpty());
    f.documents = QStringLiteral("/home/u/docs");
    f.save(*store);
    EXPECT_EQ(store->value(QStringLiteral("Last Dir/Default")).toString(), f.documents);
    EXPECT_FALSE(store->contains(QStringLiteral("Last DirMac/Default")));
    f.macros = QStringLiteral("/home/u/macros");
    f.save(*store);
    LastFolders g;
    g.load(*store);
    EXPECT_EQ(g.documents, f.documents);
    EXPECT_EQ(g.macros, f.macros);
}

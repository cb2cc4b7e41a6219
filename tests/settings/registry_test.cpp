// The settings store: the window placement relative to the work area, values that are missing,
// and a store that cannot be written, reported once.
#include "settings/registry.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qorv;

TEST(Registry, PlacementIsKeptRelativeToTheWorkArea) {
    QTemporaryDir dir;
    QSettings s(dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat);
    registry::writeWindowPlacement(s, QRect(100, 50, 800, 600), 2, true, QPoint(0, 30));
    s.beginGroup(QLatin1String(registry::SettingsKey));
    EXPECT_EQ(s.value(QStringLiteral("mwLeft")).toInt(), 100);
    EXPECT_EQ(s.value(QStringLiteral("mwTop")).toInt(), 20);
    EXPECT_EQ(s.value(QStringLiteral("mwRight")).toInt(), 900);
    EXPECT_EQ(s.value(QStringLiteral("mwBottom")).toInt(), 620);
    EXPECT_EQ(s.value(QStringLiteral("mwState")).toInt(), 2);
    EXPECT_EQ(s.value(QStringLiteral("mwStFS")).toInt(), 1);
    s.endGroup();
    // Read on a screen whose work area starts elsewhere: the window keeps its place in it.
    const registry::WindowPlacement p = registry::readWindowPlacement(s, QPoint(40, 0));
    ASSERT_TRUE(p.hasRect);
    EXPECT_EQ(p.rect, QRect(140, 20, 800, 600));
    EXPECT_TRUE(p.hasState);
    EXPECT_EQ(p.state, 2);
    EXPECT_TRUE(p.hasFullScreen && p.fullScreen);
}

TEST(Registry, MissingValuesLeaveTheDefaults) {
    QTemporaryDir dir;
    QSettings s(dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat);
    registry::WindowPlacement p = registry::readWindowPlacement(s, QPoint());
    EXPECT_FALSE(p.hasRect || p.hasState || p.hasFullScreen);
    for (const char* missing : {"mwLeft", "mwTop", "mwRight", "mwBottom"}) {
        registry::writeWindowPlacement(s, QRect(1, 2, 300, 200), 0, false, QPoint());
        s.remove(QLatin1String(registry::SettingsKey) + QLatin1Char('/') + QLatin1String(missing));
        p = registry::readWindowPlacement(s, QPoint());
        EXPECT_FALSE(p.hasRect) << missing;
        EXPECT_TRUE(p.hasState);
    }
    s.setValue(QStringLiteral("Settings/mwState"), QStringLiteral("maximised"));
    EXPECT_FALSE(registry::readWindowPlacement(s, QPoint()).hasState);
}

TEST(Registry, AStoreThatCannotBeWrittenIsReportedOnce) {
    QTemporaryDir dir;
    const QString blocked = dir.filePath(QStringLiteral("blocked.ini"));
    ASSERT_TRUE(QDir().mkpath(blocked)); // a folder where the file should be
    registry::forgetReportedFailure();
    QStringList reports;
    const auto report = [&](const QString& store) { reports << store; };
    QSettings s(blocked, QSettings::IniFormat);
    for (int i = 0; i < 3; ++i) {
        s.setValue(QStringLiteral("Settings/mwLeft"), i);
        EXPECT_FALSE(registry::sync(s, report));
    }
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports[0], blocked);
    // A store that works says nothing.
    QSettings good(dir.filePath(QStringLiteral("good.ini")), QSettings::IniFormat);
    good.setValue(QStringLiteral("Settings/mwLeft"), 1);
    EXPECT_TRUE(registry::sync(good, report));
    EXPECT_EQ(reports.size(), 1);
    registry::forgetReportedFailure();
}

TEST(Registry, APlacementOffTheWorkAreaIsBroughtBackWithItsTopEdge) {
    const QRect area(0, 30, 1920, 1050);
    const struct {
        QRect window, expected;
    } cases[] = {
        {{100, 80, 800, 600}, {100, 80, 800, 600}},     // already there
        {{-8, -17, 1936, 1100}, {0, 30, 1920, 1050}},   // full screen's rectangle: too large
        {{200, -17, 800, 600}, {200, 30, 800, 600}},    // menu bar above the screen
        {{200, 1070, 800, 600}, {200, 480, 800, 600}},  // below it
        {{-790, 100, 800, 600}, {0, 100, 800, 600}},    // only a sliver at the left
        {{1900, 100, 800, 600}, {1120, 100, 800, 600}}, // ... at the right
        {{-50, 100, 800, 600}, {-50, 100, 800, 600}},   // mostly there: left alone
    };
    for (const auto& c : cases)
        EXPECT_EQ(registry::keepOnWorkArea(c.window, area), c.expected) << c.window.top();
}

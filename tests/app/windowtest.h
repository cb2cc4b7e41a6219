// A main window shown for a widget test, its questions and file dialogs answered from a script,
// its warnings collected, and the settings store emptied before and after.
#pragma once

#include "app/scripteddialogs.h"
#include "app/tform1.h"
#include "settings/registry.h"
#include "view/viewtransform.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace qorv::testing {

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        registry::open()->clear();
        ASSERT_TRUE(dir.isValid());
        w = std::make_unique<TForm1>();
        w->resize(900, 680);
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get())); // for the shortcuts
        w->setUserDialogs(&dialogs);
        w->setMessageSink([this](const QString& m) { messages << m; });
        w->canvas().setAmbiguityChooser([](const std::vector<Element*>&) { return 0; });
    }
    void TearDown() override {
        w.reset();
        registry::open()->clear();
    }

    QString file(const QString& name) const { return dir.filePath(name); }
    QAction* action(const char* name) const {
        return w->findChild<QAction*>(QString::fromLatin1(name));
    }
    QWidget* area() const { return w->canvas().drawingArea(); }
    QPoint pixel(double x, double y) const {
        const ScreenPoint p = documentView(w->document()).toScreen(x, y);
        return {p.x, p.y};
    }
    void click(double x, double y) { QTest::mouseClick(area(), Qt::LeftButton, {}, pixel(x, y)); }

    QTemporaryDir dir;
    std::unique_ptr<TForm1> w;
    ScriptedDialogs dialogs;
    QStringList messages;
};

} // namespace qorv::testing

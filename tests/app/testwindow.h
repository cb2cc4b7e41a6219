// The one way the widget tests open the main window: a TForm1 shown at a known size, with the
// settings store emptied before and after, the first of several elements chosen where a click is
// ambiguous, and everything the window asks answered by one ScriptedDialogs: questions and file
// dialogs from its script, Yes/No questions from the same answers, modal dialogs run by its
// `onModal` script instead of exec(), and every message collected. `WindowTest` is the same
// window as a GoogleTest fixture.
#pragma once

#include "app/scripteddialogs.h"
#include "app/tform1.h"
#include "construction/builder.h"
#include "settings/registry.h"
#include "view/viewtransform.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace qorv::testing {

struct TestWindow {
    struct Options {
        QSize size{900, 680};
        // An empty document whose world origin is in the middle of the drawing area, in place of
        // the one the window starts with.
        bool centredDocument = false;
        // Shown and active (for the shortcuts); false leaves the window as made.
        bool shown = true;
        // The settings store emptied before and after; false for a window that reads what an
        // earlier one of the same test stored.
        bool freshSettings = true;
    };

    TestWindow() : TestWindow(Options{}) {}
    explicit TestWindow(const Options& o) : fresh_(o.freshSettings) {
        if (fresh_) registry::open()->clear();
        EXPECT_TRUE(dir.isValid());
        w = std::make_unique<TForm1>();
        answerWith(*w, dialogs);
        w->canvas().setAmbiguityChooser([](const std::vector<Element*>&) { return 0; });
        if (!o.shown) return;
        w->resize(o.size);
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        if (o.centredDocument) {
            auto doc = std::make_unique<Document>();
            doc->left = -w->canvas().drawingArea()->width() / 2;
            doc->top = w->canvas().drawingArea()->height() / 2;
            w->documents().installDocument(std::move(doc));
        }
    }
    ~TestWindow() {
        w.reset();
        if (fresh_) registry::open()->clear();
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    // Every way `window` asks goes to `answers` (another window of the same test, too).
    static void answerWith(TForm1& window, ScriptedDialogs& answers) {
        Prompts& p = window.prompts();
        p.setUserDialogs(&answers);
        p.setMessageSink([&answers](const QString& m) { answers.messages << m; });
        p.setQuestionHook([&answers](const QString& q) { return answers.yesNo(q); });
        p.setDialogHook([&answers](QDialog& d) { answers.modal(d); });
    }

    QString file(const QString& name) const { return dir.filePath(name); }
    QAction* action(const char* name) const {
        return w->findChild<QAction*>(QString::fromLatin1(name));
    }
    Document& doc() { return w->document(); }
    QWidget* area() const { return w->canvas().drawingArea(); }
    QPoint pixel(double x, double y) const {
        const ScreenPoint p = documentView(w->document()).toScreen(x, y);
        return {p.x, p.y};
    }
    void click(double x, double y) { QTest::mouseClick(area(), Qt::LeftButton, {}, pixel(x, y)); }
    void drag(QPoint from, QPoint to, int steps, Qt::MouseButton b = Qt::LeftButton,
              Qt::KeyboardModifiers mods = {}) {
        QTest::mousePress(area(), b, mods, from);
        for (int i = 1; i <= steps; ++i)
            QTest::mouseMove(area(), from + (to - from) * i / steps);
        QTest::mouseRelease(area(), b, mods, to);
    }
    // A builder with the window's creation options, as its tools have.
    ConstructionBuilder build() {
        ConstructionBuilder b(doc());
        b.opts = w->creationOptions();
        return b;
    }
    void done() { w->canvas().recalculateAndRedraw(); }
    // What the user sees now.
    QImage shot() { return area()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    QStringList& messages = dialogs.messages;
    std::unique_ptr<TForm1> w;

  private:
    bool fresh_ = true;
};

class WindowTest : public ::testing::Test, public TestWindow {};

} // namespace qorv::testing

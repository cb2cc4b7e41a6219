#include "dialogs/fakecontext.h"
#include "dialogs/tmaccon.h"

#include "construction/builder.h"
#include "macros/macro.h"
#include "macros/macrosession.h"
#include "model/docfile.h"
#include "view/tooltable.h"

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <deque>

using namespace qorv;

namespace {

struct FakeHost : test::FakeContext, ConstructionBuilder {
    MacroSession session;
    int tool = Tool::Move;
    std::vector<std::pair<QString, Document*>> others;
    std::deque<std::optional<QString>> answers; // for askText
    QStringList warnings, prompts;
    QString saveAs, openFile, folder, proposed;
    Element *a, *b, *c, *ab;

    FakeHost() : ConstructionBuilder(doc) {
        a = point(0, 0);
        b = point(50, 0);
        c = point(0, 50);
        ab = make(Method::Midpoint, a, b);
    }
    // Macros named `names`, each the midpoint of a and b.
    void macros(const QStringList& names) {
        for (const QString& n : names)
            completeMacro(doc, n.toStdString(), {a, b}, {ab});
    }

    // This document first, then the others.
    QStringList documentNames() override {
        QStringList names{QStringLiteral("this")};
        for (const auto& o : others)
            names << o.first;
        return names;
    }
    int currentDocumentIndex() override { return 0; }
    Document& documentAt(int i) override { return i == 0 ? doc : *others[size_t(i - 1)].second; }
    std::optional<QString> askText(const QString& prompt, const QString& initial) override {
        prompts << prompt + QStringLiteral("|") + initial;
        if (answers.empty()) return std::nullopt;
        const std::optional<QString> a = answers.front();
        answers.pop_front();
        return a;
    }
    void warn(const QString& m, const QString&) override { warnings << m; }
    QString saveFileName(const QString&, const QString& p, const QStringList&,
                         const QString&) override {
        proposed = p;
        return saveAs;
    }
    QString openFileName(const QString&, const QString&, const QStringList&) override {
        return openFile;
    }
    // What the dialog says to the program around it.
    void listen(TMacCon& d) {
        QObject::connect(&d, &TMacCon::folderUsed, [this](const QString& f) { folder = f; });
        QObject::connect(&d, &TMacCon::listsReleased, [this] { ++released; });
    }
    int released = 0;
};

QPushButton* button(TMacCon& d, const char* name) {
    return d.findChild<QPushButton*>(QString::fromLatin1(name));
}

QStringList shown(const TMacCon& d) {
    QStringList l;
    for (int i = 0; i < d.list()->count(); ++i)
        l << d.list()->item(i)->text();
    return l;
}

// The enabled state of the buttons, in a fixed order.
QString enabled(TMacCon& d) {
    QString s;
    for (const char* n : {"B_eini", "B_efin", "B_comp", "B_activar", "B_guarmac", "B_nombre",
                          "B_eliminar", "B_MacUp", "B_MacDw"})
        s += button(d, n)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

} // namespace

TEST(TMacCon, TheButtonsFollowTheModeTheListsAndTheChosenMacro) {
    {
        FakeHost host;
        TMacCon d(host, host.session, host.tool, host.folder);
        host.listen(d);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Macros"));
        EXPECT_EQ(d.chosen(), -1);
        // Move tool, more than one element, no macro: only B_eini.
        EXPECT_EQ(enabled(d), QStringLiteral("100000000"));
        EXPECT_FALSE(d.memo()->isEnabled());
        const struct {
            const char* button;
            int tool;
        } modes[] = {{"B_eini", Tool::MacroInitial}, {"B_efin", Tool::MacroFinal}};
        for (const auto& m : modes) {
            TMacCon e(host, host.session, host.tool, host.folder);
            host.listen(e);
            button(e, m.button)->setEnabled(true);
            button(e, m.button)->click();
            EXPECT_EQ(e.chosenTool(), m.tool);
            EXPECT_EQ(e.result(), TMacCon::StayInTool);
        }
    }
    {
        FakeHost host;
        host.macros({"uno", "dos", "tres"});
        host.tool = Tool::MacroInitial;
        host.session.toggle(host.a);
        host.session.toggle(host.b);
        host.session.storeInitial(host.doc);
        TMacCon d(host, host.session, host.tool, host.folder);
        host.listen(d);
        EXPECT_EQ(shown(d), (QStringList{"uno", "dos", "tres"}));
        EXPECT_EQ(d.chosen(), 0);
        EXPECT_EQ(enabled(d), QStringLiteral("110111101")); // B_efin with initial elements
        d.list()->setCurrentRow(1);
        EXPECT_EQ(enabled(d), QStringLiteral("110111111"));
        d.list()->setCurrentRow(2);
        EXPECT_EQ(enabled(d), QStringLiteral("110111110")); // the last cannot move down
        host.tool = Tool::MacroFinal;
        host.session.clearSelection();
        host.session.toggle(host.ab);
        host.session.storeFinal();
        TMacCon e(host, host.session, host.tool, host.folder);
        host.listen(e);
        EXPECT_EQ(enabled(e), QStringLiteral("111111101")); // both lists: B_comp
    }
    {
        // A document of one element: B_eini is off outside the selection modes.
        FakeHost host;
        host.doc.deleteAll();
        host.point(1, 1);
        TMacCon d(host, host.session, host.tool, host.folder);
        host.listen(d);
        EXPECT_FALSE(button(d, "B_eini")->isEnabled());
    }
}

TEST(TMacCon, CompletingAsksForANameAndRefusesAnEmptyOne) {
    FakeHost host;
    host.tool = Tool::MacroFinal;
    host.session.toggle(host.a);
    host.session.toggle(host.b);
    host.session.storeInitial(host.doc);
    host.session.clearSelection();
    host.session.toggle(host.ab);
    host.session.storeFinal();
    host.answers = {std::nullopt, QStringLiteral("   "), QStringLiteral("  medio  ")};
    TMacCon d(host, host.session, host.tool, host.folder);
    host.listen(d);
    button(d, "B_comp")->click(); // cancelled
    button(d, "B_comp")->click(); // blank
    EXPECT_EQ(host.warnings, QStringList{QStringLiteral("Debe tener un nombre")});
    EXPECT_EQ(host.doc.macroCount(), 0);
    button(d, "B_comp")->click();
    EXPECT_EQ(host.prompts.value(0), QStringLiteral("Nombre para la macro|"));
    ASSERT_EQ(host.doc.macroCount(), 1);
    EXPECT_EQ(host.doc.macros[0].name, "medio");
    EXPECT_EQ(shown(d), QStringList{"medio"});
    EXPECT_EQ(d.chosen(), 0);
    EXPECT_FALSE(button(d, "B_comp")->isEnabled()); // the lists are released
    EXPECT_EQ(host.released, 1);

    // Applying chooses the apply mode with the macro.
    button(d, "B_activar")->click();
    EXPECT_EQ(d.chosenTool(), Tool::ApplyMacro);
    EXPECT_EQ(host.session.applying, 0);
    EXPECT_EQ(d.result(), TMacCon::StayInTool);
    TMacCon e(host, host.session, host.tool, host.folder);
    host.listen(e);
    button(e, "B_no")->click();
    EXPECT_EQ(e.result(), TMacCon::BackToMove);
    EXPECT_EQ(e.chosenTool(), -1);
}

TEST(TMacCon, RenameDeleteMoveAndDescribe) {
    FakeHost host;
    host.macros({"uno", "dos", "tres"});
    TMacCon d(host, host.session, host.tool, host.folder);
    host.listen(d);
    d.list()->setCurrentRow(1);
    host.answers = {QStringLiteral(" "), QStringLiteral(" segundo ")};
    button(d, "B_nombre")->click(); // a blank name changes nothing
    button(d, "B_nombre")->click();
    EXPECT_EQ(host.prompts.value(1), QStringLiteral("Nombre para la macro|dos"));
    EXPECT_EQ(shown(d), (QStringList{"uno", "segundo", "tres"}));

    // The description is stored when the memo is left.
    d.memo()->setPlainText(QStringLiteral("línea 1\nlínea 2"));
    d.list()->setCurrentRow(0);
    EXPECT_EQ(host.doc.macros[1].texts, (std::vector<std::string>{"línea 1", "línea 2"}));
    EXPECT_EQ(d.memo()->toPlainText(), QString());
    d.list()->setCurrentRow(1);
    EXPECT_EQ(d.memo()->toPlainText(), QStringLiteral("línea 1\nlínea 2"));

    button(d, "B_MacUp")->click();
    EXPECT_EQ(shown(d), (QStringList{"segundo", "uno", "tres"}));
    EXPECT_EQ(d.chosen(), 0);
    EXPECT_FALSE(button(d, "B_MacUp")->isEnabled()); // the first cannot move up
    button(d, "B_MacDw")->click();
    button(d, "B_MacDw")->click();
    EXPECT_EQ(shown(d), (QStringList{"uno", "tres", "segundo"}));
    EXPECT_EQ(d.chosen(), 2);

    // Deleting the last chooses the one before; deleting the only one chooses none.
    button(d, "B_eliminar")->click();
    EXPECT_EQ(shown(d), (QStringList{"uno", "tres"}));
    EXPECT_EQ(d.chosen(), 1);
    d.list()->setCurrentRow(0);
    button(d, "B_eliminar")->click();
    EXPECT_EQ(shown(d), QStringList{"tres"});
    EXPECT_EQ(d.chosen(), 0);
    button(d, "B_eliminar")->click();
    EXPECT_EQ(d.chosen(), -1);
    EXPECT_EQ(host.doc.macroCount(), 0);
    EXPECT_FALSE(button(d, "B_eliminar")->isEnabled());
}

TEST(TMacCon, SavingLoadingAndCopyingFromOtherDocuments) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FakeHost host;
    host.macros({"medio"});
    host.folder = dir.path();
    host.saveAs = dir.filePath(QStringLiteral("guardada")); // the extension is added
    TMacCon d(host, host.session, host.tool, host.folder);
    host.listen(d);
    button(d, "B_guarmac")->click();
    EXPECT_EQ(host.proposed, dir.filePath(QStringLiteral("medio.mac")));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("guardada.mac"))));

    FakeHost other;
    other.macros({"a", "b"});
    Document third; // no macros: no submenu
    host.others = {{QStringLiteral("Otro"), &other.doc}, {QStringLiteral("Tercero"), &third}};
    QMenu* menu = d.loadMenu();
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Cargar un archivo de macro..."));
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_FALSE(items[2]->isEnabled());
    ASSERT_NE(items[3]->menu(), nullptr);
    EXPECT_EQ(items[3]->text(), QStringLiteral("Otro"));
    const QList<QAction*> sub = items[3]->menu()->actions();
    ASSERT_EQ(sub.size(), 2);
    sub[1]->trigger();
    EXPECT_EQ(shown(d), (QStringList{"medio", "b"}));
    EXPECT_EQ(d.chosen(), 1);

    // Loading the file written: a third macro; a document is refused with the message.
    host.openFile = dir.filePath(QStringLiteral("guardada.mac"));
    items[0]->trigger();
    EXPECT_EQ(shown(d), (QStringList{"medio", "b", "medio"}));
    EXPECT_EQ(encodeMacroFile(host.doc.macros[2]), encodeMacroFile(host.doc.macros[0]));
    const QString document = dir.filePath(QStringLiteral("doc.qrv"));
    ASSERT_TRUE(saveDocument(other.doc, QFile::encodeName(document).toStdString()));
    host.openFile = document;
    d.loadMenu()->actions()[0]->trigger();
    EXPECT_EQ(host.warnings, QStringList{QStringLiteral("no es un archivo válido")});
    EXPECT_EQ(host.doc.macroCount(), 3);

    // A full table takes no copy.
    while (host.doc.macroCount() < Document::MacroSlots)
        copyMacro(host.doc.macros[0], host.doc);
    d.loadMenu()->actions()[3]->menu()->actions()[0]->trigger();
    EXPECT_EQ(host.warnings.value(1), QStringLiteral("No caben más macros en el documento"));
}

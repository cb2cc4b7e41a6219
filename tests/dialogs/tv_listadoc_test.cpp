#include "dialogs/fakecontext.h"
#include "dialogs/tv_listadoc.h"

#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace qorv;

namespace {

struct FakeHost : test::FakeContext {
    QStringList names{"a", "b", "c", "d"};
    int current = 1;
    QList<int> closed, saved, switched;
    bool closeAnswer = true;
    QStringList documentNames() override { return names; }
    int currentDocumentIndex() override { return current; }
    // What the dialog asks of the documents.
    void listen(TV_listadoc& d) {
        QObject::connect(&d, &TV_listadoc::switchAsked, [this](int i) { switched << i; });
        QObject::connect(&d, &TV_listadoc::closeAsked, [this](int i) {
            closed << i;
            if (closeAnswer) names.removeAt(i);
        });
        QObject::connect(&d, &TV_listadoc::saveAsked, [this](int i) {
            saved << i;
            names[i] = QStringLiteral("saved");
        });
    }
};

QPushButton* button(TV_listadoc& d, const char* name) {
    return d.findChild<QPushButton*>(QString::fromLatin1(name));
}

QStringList shown(const TV_listadoc& d) {
    QStringList l;
    for (int i = 0; i < d.list()->count(); ++i)
        l << d.list()->item(i)->text();
    return l;
}

} // namespace

TEST(TV_listadoc, ButtonsMoveThroughTheListWrappingAtTheEnds) {
    FakeHost host;
    TV_listadoc d(host);
    host.listen(d);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Lista documentos"));
    EXPECT_EQ(shown(d), host.names);
    EXPECT_EQ(d.chosen(), 1); // the current document
    const struct {
        const char* button;
        int chosen;
    } steps[] = {{"B_anterior", 0},  {"B_anterior", 3},  {"B_siguiente", 0}, {"B_ultimo", 3},
                 {"B_siguiente", 0}, {"B_siguiente", 1}, {"B_primero", 0}};
    for (const auto& s : steps) {
        button(d, s.button)->click();
        EXPECT_EQ(d.chosen(), s.chosen) << s.button;
    }
    QStringList captions;
    for (const char* n : {"B_primero", "B_anterior", "B_siguiente", "B_ultimo", "B_cerrar",
                          "B_guardar", "B_ok", "B_cancel"})
        captions << button(d, n)->text();
    EXPECT_EQ(captions, (QStringList{"Primero", "Anterior", "Siguiente", "Último", "Cerrar",
                                     "Guardar", "Aceptar", "Cancelar"}));
    EXPECT_TRUE(host.switched.isEmpty()); // moving through the list switches nothing
}

TEST(TV_listadoc, CloseAndSaveActOnTheChosenDocumentAndOkSwitchesToIt) {
    FakeHost host;
    TV_listadoc d(host);
    host.listen(d);
    d.list()->setCurrentRow(2);
    button(d, "B_guardar")->click();
    EXPECT_EQ(host.saved, QList<int>{2});
    EXPECT_EQ(shown(d)[2], QStringLiteral("saved"));
    EXPECT_EQ(d.chosen(), 2);

    host.closeAnswer = false; // cancelled: the list stays
    button(d, "B_cerrar")->click();
    EXPECT_EQ(shown(d).size(), 4);
    host.closeAnswer = true;
    button(d, "B_cerrar")->click();
    EXPECT_EQ(host.closed, (QList<int>{2, 2}));
    EXPECT_EQ(shown(d), (QStringList{"a", "b", "d"}));
    EXPECT_EQ(d.chosen(), 2); // the one after it took its place

    button(d, "B_cancel")->click();
    EXPECT_TRUE(host.switched.isEmpty());
    d.list()->setCurrentRow(0);
    button(d, "B_ok")->click();
    EXPECT_EQ(host.switched, QList<int>{0});
    EXPECT_EQ(d.result(), QDialog::Accepted);

    // Closing the last one leaves nothing to act on.
    FakeHost one;
    one.names = {"x"};
    one.current = 0;
    TV_listadoc e(one);
    one.listen(e);
    button(e, "B_cerrar")->click();
    EXPECT_EQ(e.list()->count(), 0);
    EXPECT_FALSE(button(e, "B_cerrar")->isEnabled());
    button(e, "B_ok")->click();
    EXPECT_TRUE(one.switched.isEmpty());
}

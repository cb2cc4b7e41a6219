// The window with the element properties dialog run by a script instead of the user.
#pragma once

#include "app/testwindow.h"

#include "dialogs/tedit_elem.h"

#include <QLineEdit>
#include <QPushButton>

namespace qorv::testing {

class ElementDialogWindow : public WindowTest {
  protected:
    // Runs the properties dialog of `e` through `script`.
    void edit(Element& e, const std::function<void(TEdit_elem&)>& script) {
        bool ran = false;
        dialogs.whenModal([&](QDialog& d) {
            script(dynamic_cast<TEdit_elem&>(d));
            ran = true;
        });
        w->elementDialogs().editElement(e);
        EXPECT_TRUE(ran);
    }
    static void press(TEdit_elem& d, const char* name) {
        auto* b = d.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        b->click();
    }
    static void type(TEdit_elem& d, const char* field, const QString& text) {
        auto* f = d.findChild<QLineEdit*>(QString::fromLatin1(field));
        ASSERT_NE(f, nullptr) << field;
        f->setText(text);
    }
    Element* firstOf(ConstructionMethod m) {
        for (Element* e = w->document().head; e; e = e->next)
            if (e->method == m) return e;
        return nullptr;
    }
};

} // namespace qorv::testing

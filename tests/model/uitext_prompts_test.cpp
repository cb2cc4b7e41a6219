#include "model/uitext.h"

#include <gtest/gtest.h>

using namespace qorv;

TEST(UiText, ToolPromptsHaveOneSlotPerToolAndAreCut) {
    UiTextTable t;
    EXPECT_EQ(t.toolPrompt(0), "Mover los elementos libres o editar");
    EXPECT_EQ(t.toolPrompt(18), "Punto(s) de Intersección de dos elementos");
    EXPECT_EQ(t.toolPrompt(49), "Rotar selección");
    for (int i = 0; i < UiTextTable::ToolPromptSlots; ++i)
        EXPECT_FALSE(t.toolPrompt(i).empty()) << i;
    EXPECT_EQ(t.toolPrompt(-1), "");
    EXPECT_EQ(t.toolPrompt(UiTextTable::ToolPromptSlots), "");
    // The cut counts characters (a slot holds 255 of them) and never splits one.
    std::string longText(254, 'x');
    longText += "ñandú";
    t.setToolPrompt(3, longText);
    EXPECT_EQ(t.toolPrompt(3), std::string(254, 'x') + "ñ");
    t.setToolPrompt(UiTextTable::ToolPromptSlots, "ignored"); // outside: nothing happens
    t.fillBuiltInTexts();
    EXPECT_EQ(t.toolPrompt(3), "Semirecta dado 1 punto o dados 2 puntos");
    EXPECT_EQ(t.message(Msg::SeveralElements), "varios elementos");
}

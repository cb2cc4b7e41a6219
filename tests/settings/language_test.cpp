#include "app/tform1.h"
#include "cli/cli.h"
#include "dialogs/tv_selidioma.h"
#include "model/langfile.h"
#include "model/uitext.h"
#include "settings/language.h"

#include <QAction>
#include <QCoreApplication>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace qorv;

namespace {

const QString kShipped = QStringLiteral(QORV_SOURCE_DIR "/languages");

// Every test leaves the built-in texts and Qt's own texts as it found them.
struct BuiltInTextsAfter {
    ~BuiltInTextsAfter() {
        uiText().fillBuiltInTexts();
        translateSystemDialogs(QString());
    }
};

QString qt(const char* context, const char* source) {
    return QCoreApplication::translate(context, source);
}

// "Idioma..." against answers given in advance.
struct ScriptedHost : LanguageHost {
    std::optional<std::string> answer;
    std::string remembered = "Español";
    bool optionsFileRead() const override { return true; }
    std::string rememberedLanguage() const override { return remembered; }
    void setDefaultOptions() override {}
    void rememberLanguage(const std::string& name) override { remembered = name; }
    std::optional<std::string> chooseLanguage() override { return answer; }
    bool loadLanguage(const std::string& name) override {
        return qorv::loadLanguage(QString::fromStdString(name), kShipped);
    }
    void reportNoLanguageFiles() override {}
};

} // namespace

TEST(Language, TheChooserListsTheNamesAndReturnsTheOneSelected) {
    TV_selidioma d({QStringLiteral("English"), QStringLiteral("Español")});
    EXPECT_EQ(d.windowTitle(), QStringLiteral("QORV - Language"));
    ASSERT_EQ(d.ListBox1->count(), 2);
    d.ListBox1->setCurrentRow(1);
    EXPECT_EQ(d.selectedName(), QStringLiteral("Español"));
    d.ListBox1->clearSelection();
    EXPECT_EQ(d.selectedName(), QString());
}

TEST(Language, ChoosingListsTheFolderOrSaysThatItHasNoLanguage) {
    QStringList offered;
    QString told;
    LanguageDialogs dialogs;
    dialogs.choose = [&](const QStringList& names) -> std::optional<QString> {
        offered = names;
        return names.value(0);
    };
    dialogs.inform = [&](const QString& text) { told = text; };
    EXPECT_EQ(chooseLanguage(dialogs, kShipped), QStringLiteral("English"));
    EXPECT_EQ(offered, (QStringList{QStringLiteral("English"), QStringLiteral("Español")}));
    EXPECT_TRUE(told.isEmpty());

    const auto empty = std::filesystem::temp_directory_path() / "qorv_no_languages";
    std::filesystem::create_directories(empty);
    offered.clear();
    EXPECT_EQ(chooseLanguage(dialogs, QString::fromStdString(empty.string())), std::nullopt);
    EXPECT_TRUE(offered.isEmpty());
    EXPECT_EQ(told, QStringLiteral("No se encuentran ficheros de lenguaje"));
}

TEST(Language, QtsOwnDialogsSpeakTheLanguageLoaded) {
    BuiltInTextsAfter restore;
    ASSERT_TRUE(loadLanguage(QStringLiteral("Español"), kShipped));
    // The file dialog's labels and the standard buttons, from Qt's shipped translations.
    EXPECT_EQ(qt("QFileDialog", "Look in:"), QStringLiteral("Ver en:"));
    EXPECT_EQ(QLocale().language(), QLocale::Spanish);
    EXPECT_EQ(qt("QPlatformTheme", "Cancel"), QStringLiteral("Cancelar"));
    ASSERT_TRUE(loadLanguage(QStringLiteral("English"), kShipped));
    EXPECT_EQ(uiText().kindName(Kind::Point), "point");
    EXPECT_EQ(qt("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
    EXPECT_EQ(qt("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    EXPECT_EQ(QLocale().language(), QLocale::English);
    // A language that cannot be read changes nothing.
    EXPECT_FALSE(loadLanguage(QStringLiteral("Klingon"), kShipped));
    EXPECT_EQ(uiText().kindName(Kind::Point), "point");
}

TEST(Language, MenusShowShortcutsWithTheShortKeyNamesInBothLanguages) {
    BuiltInTextsAfter restore;
    TForm1 w;
    const QAction* fresh = w.findChild<QAction*>(QStringLiteral("M_nuevo"));
    ASSERT_NE(fresh, nullptr);
    for (const char* name : {"Español", "English"}) {
        ASSERT_TRUE(loadLanguage(QString::fromUtf8(name), kShipped));
        // What a menu shows beside the item.
        EXPECT_EQ(fresh->shortcut().toString(QKeySequence::NativeText), QStringLiteral("Ctrl+N"))
            << name;
    }
    EXPECT_EQ(fresh->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
}

TEST(Language, TheMainWindowShowsTheLanguageChosenFromItsMenu) {
    BuiltInTextsAfter restore;
    TForm1 w;
    auto* file = w.menuBar()->findChild<QMenu*>(QStringLiteral("M_archivo"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->title(), QStringLiteral("&Archivo"));
    EXPECT_EQ(w.languageAction()->text(), QStringLiteral("Idioma..."));
    EXPECT_EQ(w.findChild<QAction*>(QStringLiteral("M_undo"))->text(), QStringLiteral("Deshacer"));

    ScriptedHost host;
    w.setLanguageHost(&host);
    w.chooseTool(Tool::Segment);
    host.answer = "English";
    w.languageAction()->trigger();
    EXPECT_EQ(host.remembered, "English");
    EXPECT_EQ(file->title(), QStringLiteral("&File"));
    EXPECT_EQ(w.findChild<QAction*>(QStringLiteral("M_abrir"))->text(), QStringLiteral("&Open..."));
    EXPECT_EQ(w.findChild<QAction*>(QStringLiteral("M_undo"))->text(), QStringLiteral("Undo"));
    EXPECT_EQ(w.findChild<QAction*>(QStringLiteral("M_botprin"))->text(),
              QStringLiteral("Main toolbar"));
    EXPECT_EQ(w.toolBars().toolButton(Tool::Circle)->toolTip(),
              QStringLiteral("Circle given the centre, or the centre and a point"));
    EXPECT_EQ(w.currentTool(), Tool::Move);
    EXPECT_EQ(w.statusText(), QStringLiteral("Move free objects or edit"));

    // Cancelling keeps the remembered language and loads it again.
    host.answer.reset();
    w.languageAction()->trigger();
    EXPECT_EQ(host.remembered, "English");
    EXPECT_EQ(file->title(), QStringLiteral("&File"));
    host.answer = "Español";
    w.languageAction()->trigger();
    EXPECT_EQ(file->title(), QStringLiteral("&Archivo"));
    EXPECT_EQ(w.toolBars().toolButton(Tool::Circle)->toolTip(),
              QString::fromStdString(uiText().toolPrompt(Tool::Circle)));
}

TEST(Language, EveryComponentNameOfTheMainWindowIsInTheTable) {
    TForm1 w;
    // The names the window gives its menus and actions are the ones language files reach.
    for (const char* name :
         {"M_archivo", "M_abrir", "M_salir", "M_opciones", "M_idioma", "M_edicion", "M_undo",
          "M_redo", "M_cortar", "M_copiar", "M_pegar", "M_pegar_imagen", "M_ver", "TodosElem1",
          "MuePan1", "PantallaCom", "M_AA", "M_botprin", "M_botedi"}) {
        EXPECT_NE(w.findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
        EXPECT_FALSE(componentText(QString::fromLatin1(name)).isEmpty()) << name;
    }
}

TEST(Language, CliSpeaksTheLanguageOfTheOptions) {
    BuiltInTextsAfter restore;
    std::string out, err;
    EXPECT_EQ(cli::run({}, out, err), 2);
    EXPECT_EQ(err.rfind("uso: qorv-cli info ARCHIVO\n     qorv-cli dump ARCHIVO [--move", 0), 0u)
        << err;
    ASSERT_TRUE(cli::useLanguage(kShipped.toStdString(), "English"));
    err.clear();
    EXPECT_EQ(cli::run({"eval", "2+"}, out, err), 1);
    EXPECT_EQ(err, "the expression is not valid\n");
    err.clear();
    EXPECT_EQ(cli::run({"convert", "x"}, out, err), 2);
    EXPECT_EQ(err.rfind("usage: qorv-cli info FILE\n"
                        "       qorv-cli dump FILE [--move ID X Y [X Y ...]]\n"
                        "       qorv-cli convert IN OUT\n",
                        0),
              0u)
        << err;
    err.clear();
    EXPECT_EQ(cli::run({"example", "nothing", "x.qrv"}, out, err), 2);
    EXPECT_EQ(err.rfind("there is no example \"nothing\"; the examples are: ", 0), 0u) << err;
    EXPECT_FALSE(cli::useLanguage(kShipped.toStdString(), "Klingon"));
}

#include "app/tform1.h"
#include "app/windowcontext.h"
#include "cli/cli.h"
#include "dialogs/tv_listadoc.h"
#include "dialogs/tv_selidioma.h"
#include "model/langfile.h"
#include "model/uitext.h"
#include "settings/language.h"
#include "settings/optionsfile.h"
#include "view/qtexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
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
    // A prompt says what to do, above the list.
    auto* prompt = d.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->text(), text(Msg::LanguagePrompt));
    EXPECT_FALSE(prompt->text().trimmed().isEmpty());
    EXPECT_EQ(prompt->buddy(), d.ListBox1);
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
    w.language().setHost(&host);
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
    // The names of new documents are texts of the language as well, in all three places.
    EXPECT_EQ(w.documentTabs()->tabText(0), QStringLiteral("Document 1"));
    EXPECT_EQ(w.documentCombo()->itemText(0), QStringLiteral("Document 1"));
    EXPECT_EQ(w.documentMenu()->actions().last()->text(), QStringLiteral("Document 1"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("QORV - Document 1[*]"));

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

TEST(Language, TheDocumentMenuHasCloseItemsOfItsOwn) {
    BuiltInTextsAfter restore;
    QTemporaryDir dir;
    {
        std::ofstream f(
            QFile::encodeName(dir.filePath(QStringLiteral("Prueba.lng"))).toStdString());
        f << "640=Cerrar este documento\n645=Cerrar todos los documentos\n";
    }
    TForm1 w;
    ASSERT_TRUE(loadLanguage(QStringLiteral("Prueba"), dir.path()));
    w.applyLanguageTexts();
    QStringList items;
    for (QAction* a : w.documentMenu()->actions())
        if (!a->isSeparator()) items << a->text();
    EXPECT_TRUE(items.contains(QStringLiteral("Cerrar este documento")));
    EXPECT_TRUE(items.contains(QStringLiteral("Cerrar todos los documentos")));
    // The "&Archivo" items keep their own texts.
    EXPECT_EQ(w.menuAction(QStringLiteral("M_cerrar"))->text(), QStringLiteral("Cerrar"));
    EXPECT_EQ(w.menuAction(QStringLiteral("M_cerrar_todo"))->text(), QStringLiteral("Cerrar todo"));
    // And they do what those do.
    w.documents().newDocument();
    ASSERT_EQ(w.session().documents().count(), 2);
    QAction* close = w.menuAction(QStringLiteral("M_doc_cerrar"));
    QAction* closeAll = w.menuAction(QStringLiteral("M_doc_cerrartodo"));
    ASSERT_TRUE(close && closeAll);
    close->trigger();
    EXPECT_EQ(w.session().documents().count(), 1);
    closeAll->trigger();
    EXPECT_EQ(w.session().documents().count(), 0);
}

TEST(Language, ANameTheOptionsFileCannotHoldStillFindsItsFile) {
    BuiltInTextsAfter restore;
    QTemporaryDir dir;
    const std::string czech = "Čeština"; // Č: not in 1252
    const std::string longName = "Lengua con un nombre de más de cuarenta letras"; // 46
    for (const std::string& name : {czech, longName, std::string("Español")}) {
        SCOPED_TRACE(name);
        {
            std::ofstream f(QFile::encodeName(dir.filePath(QString::fromStdString(name) + ".lng"))
                                .toStdString());
            f << "1=bod " << name.size() << "\n";
        }
        // As the options file gives the name back after it was remembered.
        ProgramOptions o;
        o.language = name;
        const std::vector<uint8_t> bytes = encodeOptions(o);
        ProgramOptions read;
        ASSERT_TRUE(decodeOptions(bytes.data(), bytes.size(), read));
        EXPECT_EQ(read.language, storedLanguageName(name));
        ASSERT_TRUE(loadLanguage(QString::fromStdString(read.language), dir.path()));
        EXPECT_EQ(uiText().kindName(0), "bod " + std::to_string(name.size()));
    }
    EXPECT_EQ(storedLanguageName(czech), "?eština");
    EXPECT_EQ(storedLanguageName(longName), longName.substr(0, 41)); // "á" is one byte there
    EXPECT_EQ(storedLanguageName("Español"), "Español");
    // A name that matches nothing loads nothing.
    EXPECT_FALSE(loadLanguage(QStringLiteral("?ngles"), dir.path()));
}

TEST(Language, TheSpanishDialogsShowOnlyTextsOfTheTableAndNoEnglish) {
    BuiltInTextsAfter restore;
    ASSERT_TRUE(loadLanguage(QStringLiteral("Español"), kShipped));
    QSet<QString> table;
    for (int id : UiTextTable::ids())
        table << QString::fromStdString(*uiText().textById(id)).remove(QLatin1Char('&'));
    QStringList shown;
    const auto collect = [&](QWidget& d) {
        const QString where = d.objectName() + QStringLiteral(": ");
        for (const QAbstractButton* b : d.findChildren<QAbstractButton*>())
            if (!b->text().isEmpty()) shown << where + b->text();
        for (const QLabel* l : d.findChildren<QLabel*>())
            // Rich text and the font sample are made of several texts.
            if (!l->text().isEmpty() && !l->text().startsWith(QLatin1Char('<')) &&
                l->objectName() != QStringLiteral("preview"))
                shown << where + l->text();
        for (const QGroupBox* g : d.findChildren<QGroupBox*>())
            if (!g->title().isEmpty()) shown << where + g->title();
        for (const QTabWidget* t : d.findChildren<QTabWidget*>())
            for (int i = 0; i < t->count(); ++i)
                shown << where + t->tabText(i);
    };
    TForm1 w;
    w.prompts().setDialogHook([&](QDialog& d) { collect(d); });
    w.options().openGeneral();
    w.options().openAppearance();
    w.options().openFonts();
    w.help().showAbout();
    TV_listadoc list(w.dialogContext(), &w);
    collect(list);
    ASSERT_GT(shown.size(), 40);
    for (const QString& entry : std::as_const(shown)) {
        const QString text = entry.section(QStringLiteral(": "), 1).remove(QLatin1Char('&'));
        if (!text.contains(QRegularExpression(QStringLiteral("[A-Za-z]")))) continue; // "100%"
        EXPECT_TRUE(table.contains(text)) << entry.toStdString();
        EXPECT_FALSE(text == QStringLiteral("OK") || text == QStringLiteral("Cancel") ||
                     text.contains(QStringLiteral("click")))
            << entry.toStdString();
    }
    EXPECT_EQ(text(Msg::SaveChangesQuestion),
              QStringLiteral("¿Guardar los cambios realizados al documento?"));
    EXPECT_EQ(text(Msg::InvalidExpression), QStringLiteral("la expresión no es válida"));
}

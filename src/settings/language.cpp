#include "settings/language.h"

#include "model/langfile.h"
#include "model/uitext.h"
#include "settings/datafolders.h"
#include "settings/optionsfile.h"
#include "view/qtexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QScreen>
#include <QTranslator>

#include <memory>

namespace qorv {

namespace {

std::string toPath(const QString& s) {
    return QFile::encodeName(s).toStdString();
}

} // namespace

QString languagesFolder() {
    const QString found = programDataFolder(QStringLiteral("languages"));
    return found.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/languages")
                           : found;
}

std::optional<QString> chooseLanguage(const LanguageDialogs& dialogs, const QString& folder) {
    QStringList names;
    for (const std::string& name : listLanguages(toPath(folder)))
        names << QFile::decodeName(QByteArray::fromStdString(name));
    if (names.isEmpty()) {
        dialogs.inform(text(Msg::NoLanguageFiles));
        return std::nullopt;
    }
    return dialogs.choose(names);
}

bool loadLanguage(const QString& name, const QString& folder) {
    // The name may be what the options file kept of a longer or unusual one.
    const std::string file = findLanguage(toPath(folder), toPath(name));
    if (file.empty() || !loadLanguageFile(uiText(), toPath(folder), file)) return false;
    translateSystemDialogs(text(Msg::QtLanguageCode).trimmed());
    return true;
}

namespace {

// Menus name the keys of shortcuts the short way ("Ctrl+N") in every language, as Windows does;
// Qt's translations would spell them out ("Control+N"). Installed after them, it is asked first.
class ShortKeyNames : public QTranslator {
  public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        if (qstrcmp(context, "QShortcut") == 0) return QString::fromUtf8(sourceText);
        return QString();
    }
};

} // namespace

bool translateSystemDialogs(const QString& code) {
    // Dates, and the type names a file dialog takes from the system's file types, follow the
    // default locale.
    QLocale::setDefault(code.isEmpty() ? QLocale::system() : QLocale(code));
    static std::unique_ptr<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    auto translator = std::make_unique<QTranslator>();
    if (code.isEmpty() || !translator->load(QStringLiteral("qtbase_") + code,
                                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    static ShortKeyNames keyNames;
    QCoreApplication::removeTranslator(&keyNames);
    QCoreApplication::installTranslator(&keyNames);
    return true;
}

QString componentText(const QString& objectName) {
    const std::string* t = uiText().componentText(objectName.toStdString());
    return t ? QString::fromStdString(*t) : QString();
}

void applyComponentTexts(QObject& root) {
    for (const ComponentRow& row : UiTextTable::components()) {
        const QString text = QString::fromStdString(*uiText().textById(row.id));
        for (const QString& name : QString::fromLatin1(row.names).split(QLatin1Char(' '))) {
            for (QObject* o : root.findChildren<QObject*>(name)) {
                if (auto* menu = qobject_cast<QMenu*>(o)) {
                    menu->setTitle(text);
                } else if (auto* action = qobject_cast<QAction*>(o)) {
                    action->setText(text);
                } else if (auto* button = qobject_cast<QAbstractButton*>(o)) {
                    // A hint shows no accelerator marks.
                    QString hint = text;
                    button->setToolTip(hint.remove(QLatin1Char('&')));
                }
            }
        }
    }
}

namespace {

QSize primaryScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

} // namespace

ProgramLanguageHost::ProgramLanguageHost(LanguageDialogs dialogs)
    : dialogs(std::move(dialogs)), optionsPath_(optionsFilePath()) {
    optionsRead_ = readOptionsFile(QFile::encodeName(optionsPath_).toStdString(), options_) ==
                   OptionsFileStatus::Read;
    if (optionsRead_) file_ = {true, options_};
}

void ProgramLanguageHost::setDefaultOptions() {
    const QSize screen = primaryScreenSize();
    options_ = builtInOptions(screen.width(), screen.height());
}

void ProgramLanguageHost::rememberLanguage(const std::string& name) {
    options_.language = name;
    // Only the language changes in the file: the other options there may have been saved since
    // start-up. A file that cannot be written is reported by the main window, which reads it.
    const std::string path = QFile::encodeName(optionsPath_).toStdString();
    ProgramOptions stored;
    if (readOptionsFile(path, stored) == OptionsFileStatus::Read) {
        file_ = {true, stored};
        stored.language = name;
        if (writeOptionsFile(path, stored)) file_.options = stored;
    } else {
        file_ = {};
        if (writeOptionsFile(path, options_)) file_ = {true, options_};
    }
}

std::optional<std::string> ProgramLanguageHost::chooseLanguage() {
    const std::optional<QString> name = qorv::chooseLanguage(dialogs);
    if (!name) return std::nullopt;
    return name->toStdString();
}

bool ProgramLanguageHost::loadLanguage(const std::string& name) {
    return qorv::loadLanguage(QString::fromStdString(name));
}

void ProgramLanguageHost::reportNoLanguageFiles() {
    dialogs.inform(text(Msg::NoLanguageFiles));
}

} // namespace qorv

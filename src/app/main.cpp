#include "app/demodocument.h"
#include "app/editorsession.h"
#include "app/helpwindow.h"
#include "app/tform1.h"
#include "app/tv_inicio.h"
#include "dialogs/tv_selidioma.h"
#include "model/document.h"
#include "model/languagestartup.h"
#include "settings/datafolders.h"
#include "settings/language.h"
#include "settings/registry.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QStringList>
#include <QTextStream>

#ifndef QORV_VERSION
#define QORV_VERSION "0"
#endif

namespace {

// An exception that reaches the message loop is dropped without a message.
class Application : public QApplication {
  public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            return false;
        }
    }
};

// "--check-data": where the program finds its languages and help, and whether they can be read
// (for checking an installation). Exit status 0 when both are there.
int checkData() {
    QTextStream out(stdout);
    const QString languages = qorv::languagesFolder();
    const QString help = qorv::programDataFolder(QStringLiteral("help"));
    const QStringList files = QDir(languages).entryList({QStringLiteral("*.lng")}, QDir::Files);
    bool ok = !files.isEmpty();
    for (const QString& f : files)
        ok = ok && qorv::loadLanguage(QFileInfo(f).completeBaseName(), languages);
    for (const QString& code : {QStringLiteral("es"), QStringLiteral("en")})
        for (const QString& page : qorv::helpPages())
            ok = ok && QFileInfo::exists(help + QLatin1Char('/') + code + QLatin1Char('/') + page);
    out << "languages " << languages << " (" << files.join(QStringLiteral(", ")) << ")\n"
        << "help " << help << "\n"
        << (ok ? "ok" : "missing") << "\n";
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    Application app(argc, argv);
    qorv::registry::nameProgram();
    QApplication::setApplicationVersion(QStringLiteral(QORV_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/program/qorv.svg")));
    // The whole command line is one document name (it may hold spaces).
    QStringList args = QApplication::arguments();
    args.removeFirst();
    const QString commandLine = args.join(QLatin1Char(' '));
    if (commandLine == QLatin1String("--check-data")) return checkData();

    // The language is settled before the main window shows a text; without one the program ends.
    qorv::ProgramLanguageHost language(qorv::defaultLanguageDialogs(nullptr));
    if (!qorv::startLanguage(language)) return 0;
    qorv::TV_inicio splash;
    splash.show();
    QApplication::processEvents();
    // The session outlives the window that shows it.
    qorv::EditorSession session;
    qorv::TForm1 window(nullptr, &language.optionsFile(), &session);
    splash.startTimer(&window, 1500);
    window.language().setHost(&language);
    if (commandLine == QLatin1String("--demo")) {
        // A construction built in code, for looking at the drawing without a file reader.
        auto doc = std::make_unique<qorv::Document>();
        qorv::buildDemoDocument(*doc);
        window.documents().installDocument(std::move(doc));
    } else {
        window.openCommandLine(commandLine);
    }
    // Where the window was last time (maximised on the screen's free area the first time).
    window.showPlaced();
    splash.raise();
    return QApplication::exec();
}

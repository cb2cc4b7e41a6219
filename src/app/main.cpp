#include "app/demodocument.h"
#include "app/tform1.h"
#include "model/document.h"
#include "model/languagestartup.h"
#include "settings/language.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("QORV"));
    QApplication::setApplicationName(QStringLiteral("QORV9"));
    // The language is settled before the main window shows a text; without one the program ends.
    qorv::ProgramLanguageHost language;
    if (!qorv::startLanguage(language)) return 0;
    qorv::TForm1 window;
    window.setLanguageHost(&language);
    // The whole command line is one document name (it may hold spaces).
    QStringList args = QApplication::arguments();
    args.removeFirst();
    const QString commandLine = args.join(QLatin1Char(' '));
    if (commandLine == QLatin1String("--demo")) {
        // A construction built in code, for looking at the drawing without a file reader.
        auto doc = std::make_unique<qorv::Document>();
        qorv::buildDemoDocument(*doc);
        window.installDocument(std::move(doc));
    } else {
        window.openCommandLine(commandLine);
    }
    // Where the window was last time (maximised on the screen's free area the first time).
    window.showPlaced();
    return QApplication::exec();
}

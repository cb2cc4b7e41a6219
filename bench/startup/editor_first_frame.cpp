// The editor's own start-up, ended at its first drawn frame: this program is the editor (its
// main() under another name) plus a hook that Qt runs when the application object is made. The
// hook watches for the first paint of the drawing canvas and ends the process as soon as that
// paint is done, so a run timed from outside is "process start to the first frame".
#include "settings/optionsfile.h"
#include "settings/registry.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <string>

int qorvEditorMain(int argc, char** argv);

namespace {

class FirstFrameWatch : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->inherits("qorv::DrawingCanvas")) {
            // Queued: runs once this paint has been drawn and flushed.
            QTimer::singleShot(0, [] { std::_Exit(0); });
        }
        return false;
    }
};

void watchFirstFrame() {
    QCoreApplication::instance()->installEventFilter(
        new FirstFrameWatch(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchFirstFrame)

namespace {

// The first start of a fresh account stops at the language window before any frame; what is
// timed is a later start. The run keeps its options in Qt's test folders (the user's own stay
// untouched), with a language already chosen there.
bool rememberLanguage() {
    QStandardPaths::setTestModeEnabled(true);
    qorv::registry::nameProgram();
    const std::string path = QFile::encodeName(qorv::optionsFilePath()).toStdString();
    qorv::ProgramOptions options;
    if (qorv::readOptionsFile(path, options) == qorv::OptionsFileStatus::Read &&
        !options.language.empty())
        return true;
    options.language = "English";
    return qorv::writeOptionsFile(path, options);
}

} // namespace

int main(int argc, char** argv) {
    if (!rememberLanguage()) {
        std::fputs("qorv_first_frame: the options file could not be written\n", stderr);
        return 1;
    }
    return qorvEditorMain(argc, argv);
}

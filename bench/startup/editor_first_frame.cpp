// The editor's own start-up, ended at its first drawn frame: this program is the editor (its
// main() under another name) plus a hook that Qt runs when the application object is made. The
// hook watches for the first paint of the drawing canvas and ends the process as soon as that
// paint is done, so a run timed from outside is "process start to the first frame".
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdlib>

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

int main(int argc, char** argv) {
    return qorvEditorMain(argc, argv);
}

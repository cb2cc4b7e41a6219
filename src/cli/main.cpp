#include "cli/cli.h"
#include "settings/datafolders.h"
#include "settings/optionsfile.h"

#ifndef QORV_CLI_NO_DRAWING
#include <QGuiApplication>
#endif

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

#ifndef QORV_CLI_NO_DRAWING
// Qt's platform start looks for the session's runtime folder and warns on stderr when there is
// none (no login session: a service, a container, a build job). Such a run gets a folder of its
// own, made private as Qt requires, for as long as it lasts.
class PrivateRuntimeFolder {
  public:
    PrivateRuntimeFolder() {
#ifndef _WIN32
        if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
        std::error_code ec;
        const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
        if (ec) return;
        std::string pattern = (temp / "qorv-cli-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) return; // mode 0700
        path_ = pattern;
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(path_));
#endif
    }
    ~PrivateRuntimeFolder() {
        if (path_.empty()) return;
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    PrivateRuntimeFolder(const PrivateRuntimeFolder&) = delete;
    PrivateRuntimeFolder& operator=(const PrivateRuntimeFolder&) = delete;

  private:
    std::string path_;
};
#endif

// The folder of this program.
std::filesystem::path programFolder(const char* argv0) {
    std::error_code ec;
    std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", ec);
    if (ec) self = std::filesystem::absolute(argv0, ec);
    return self.parent_path();
}

// The "languages" folder beside the program, or in the installed data folder.
std::string languagesFolder(const char* argv0) {
    const std::filesystem::path folder = programFolder(argv0);
    const std::string found = qorv::programDataFolder(folder.string(), "languages");
    return found.empty() ? (folder / "languages").string() : found;
}

// Qt's own warnings (a missing runtime folder, a polygon too complex to fill, a picture that
// decodes with complaints) are no concern of the tool's user: a successful run writes nothing on
// stderr and a refusal one line, the tool's own. Only a fatal message is shown, as it ends the run.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) return;
    std::fprintf(stderr, "qorv-cli: %s\n", message.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(quietQtMessages);
    const std::vector<std::string> args(argv + 1, argv + argc);
#ifdef QORV_CLI_NO_DRAWING
    // Loading Qt's GUI libraries costs most of a small command's run, so this program goes
    // without them and hands the drawing commands, arguments unchanged, to the program beside
    // it that has them.
    if (qorv::cli::drawsWithQt(args)) {
        const std::string drawing = (programFolder(argv[0]) / QORV_CLI_DRAWING_PROGRAM).string();
        ::execv(drawing.c_str(), argv);
        std::fprintf(stderr, "qorv-cli: %s: %s\n", drawing.c_str(), std::strerror(errno));
        return 1;
    }
#endif
    // The language the options chose, as the editor has it.
    qorv::cli::useLanguage(languagesFolder(argv[0]), qorv::rememberedLanguage());
    std::string out, err;
    int status = 0;
#ifndef QORV_CLI_NO_DRAWING
    if (qorv::cli::drawsWithQt(args)) {
        // Drawing needs fonts but never a window.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        const PrivateRuntimeFolder runtime;
        QGuiApplication app(argc, argv);
        status = qorv::cli::run(args, out, err);
    } else {
        status = qorv::cli::run(args, out, err);
    }
#else
    status = qorv::cli::run(args, out, err);
#endif
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fwrite(err.data(), 1, err.size(), stderr);
    return status;
}

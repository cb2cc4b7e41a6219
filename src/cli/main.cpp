#include "cli/cli.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Drawing needs fonts but never a window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::string out, err;
    const int status = qorv::cli::run(std::vector<std::string>(argv + 1, argv + argc), out, err);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fwrite(err.data(), 1, err.size(), stderr);
    return status;
}

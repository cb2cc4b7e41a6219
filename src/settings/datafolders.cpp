#include "settings/datafolders.h"

#include <QCoreApplication>
#include <QFile>

#include <filesystem>
#include <system_error>

#ifndef QORV_DATA_FROM_BIN
#define QORV_DATA_FROM_BIN "../share/qorv"
#endif

namespace qorv {

std::string programDataFolder(const std::string& programFolder, const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path bin(programFolder);
    for (const fs::path& candidate : {bin / name, bin / QORV_DATA_FROM_BIN / name}) {
        std::error_code ec;
        if (fs::is_directory(candidate, ec)) return fs::weakly_canonical(candidate, ec).string();
    }
    return {};
}

QString programDataFolder(const QString& name) {
    return QFile::decodeName(
        programDataFolder(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString(),
                          QFile::encodeName(name).toStdString())
            .c_str());
}

} // namespace qorv

#include "settings/paths.h"

#include <QDir>
#include <QFileInfo>

namespace qorv {

Qt::CaseSensitivity fileNameCaseSensitivity() {
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

bool samePath(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty()) return false;
    const QString x = QDir::cleanPath(QFileInfo(a).absoluteFilePath());
    const QString y = QDir::cleanPath(QFileInfo(b).absoluteFilePath());
    return x.compare(y, fileNameCaseSensitivity()) == 0;
}

} // namespace qorv

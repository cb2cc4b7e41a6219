#include "settings/registry.h"

namespace qorv::registry {

std::unique_ptr<QSettings> open() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("QORV"), QStringLiteral("QORV9"));
}

} // namespace qorv::registry

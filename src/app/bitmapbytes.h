// Pictures as documents keep them.
#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

namespace qorv {

// A picture as the bytes of a Windows bitmap file; empty when it cannot be written.
std::vector<uint8_t> bitmapFileBytes(const QImage& image);

} // namespace qorv

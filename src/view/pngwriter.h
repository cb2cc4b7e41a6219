// A quick PNG writer for drawings: 8-bit RGB rows without a filter, deflated at zlib's fastest
// level. Qt's writer tries every row filter on every row and compresses harder: at its strongest
// level the file of a large drawing is about a quarter smaller, at over thirty times the time.
#pragma once

class QImage;
class QIODevice;

namespace qorv {

// Writes `image` (any format; alpha is dropped) as a PNG with its resolution. False when the
// device refuses the bytes or memory runs out.
bool writeQuickPng(const QImage& image, QIODevice& out);

} // namespace qorv

// Comparing file paths the way the file system compares names: letter case counts on Linux and
// not on Windows or macOS. Every place that asks whether two paths name one file asks here.
#pragma once

#include <QString>

namespace qorv {

// How the file system of this platform compares names.
Qt::CaseSensitivity fileNameCaseSensitivity();

// Whether the two paths name the same file: both made absolute and clean ("a/./b" is "a/b"),
// then compared as the file system compares names. Empty paths name no file.
bool samePath(const QString& a, const QString& b);

} // namespace qorv

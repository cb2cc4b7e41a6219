// Files written under another name and put in place of the old one only once complete.
#pragma once

#include <cstddef>
#ifdef _WIN32
#include <fstream>
#endif
#include <string>

namespace qorv {

// A file written piece by piece, for files too large to hold whole: the pieces go to a new file
// in the same folder, which commit() flushes to the disk and renames over the old one. A file
// that is dropped before (or whose writing fails) is removed, the old one untouched.
class AtomicFileWriter {
  public:
    explicit AtomicFileWriter(const std::string& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // False when the file could not be created or a write failed; later writes do nothing.
    bool ok() const { return ok_; }
    bool write(const void* data, size_t size);
    // Flushes the file to the disk and puts it in place of the old one.
    bool commit();

  private:
    void discard();
    std::string target_, temp_;
    bool existed_ = false;
    bool ok_ = false;
    bool committed_ = false;
#ifdef _WIN32
    std::ofstream file_;
#else
    int fd_ = -1;
#endif
};

} // namespace qorv

#include "model/atomicfile.h"

#include <atomic>
#include <filesystem>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qorv {

namespace fs = std::filesystem;

namespace {

std::atomic<unsigned> tempCounter{0};

} // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& path) : target_(path) {
    std::error_code ec;
    const fs::path target(path);
    if (target.filename().empty() || fs::is_directory(target, ec)) return;
    existed_ = fs::exists(target, ec);
#ifdef _WIN32
    const int pid = _getpid();
#else
    const int pid = int(getpid());
#endif
    fs::path temp;
#ifdef _WIN32
    // A read-only file cannot be replaced; its attributes go back to normal first.
    if (existed_) fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, ec);
    for (int attempt = 0; attempt < 100 && !file_.is_open(); ++attempt) {
        temp = target;
        temp += ".tmp" + std::to_string(pid) + "-" + std::to_string(tempCounter++);
        if (fs::exists(temp, ec)) continue;
        file_.open(temp, std::ios::binary | std::ios::trunc);
    }
    if (!file_.is_open()) return;
#else
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temp = target;
        temp += ".tmp" + std::to_string(pid) + "-" + std::to_string(tempCounter++);
        fd_ = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) return;
    }
    if (fd_ < 0) return;
#endif
    temp_ = temp.string();
    ok_ = true;
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!committed_) discard();
}

void AtomicFileWriter::discard() {
    ok_ = false;
#ifdef _WIN32
    if (file_.is_open()) file_.close();
#else
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
#endif
    std::error_code ec;
    if (!temp_.empty()) fs::remove(temp_, ec);
    temp_.clear();
}

bool AtomicFileWriter::write(const void* data, size_t size) {
    if (!ok_) return false;
    const char* bytes = static_cast<const char*>(data);
#ifdef _WIN32
    file_.write(bytes, std::streamsize(size));
    ok_ = bool(file_);
#else
    for (size_t done = 0; ok_ && done < size;) {
        const ssize_t n = ::write(fd_, bytes + done, size - done);
        if (n > 0)
            done += size_t(n);
        else if (n < 0 && errno == EINTR)
            continue;
        else
            ok_ = false;
    }
#endif
    return ok_;
}

bool AtomicFileWriter::commit() {
    if (!ok_ || committed_) return false;
    const fs::path target(target_), temp(temp_);
    bool ok = true;
#ifdef _WIN32
    file_.flush();
    ok = bool(file_);
    file_.close();
    ok = ok && !file_.fail();
    if (ok) {
        // Commit the data before the rename makes it the document.
        const int fd = _open(temp.string().c_str(), _O_RDWR | _O_BINARY);
        ok = fd >= 0 && _commit(fd) == 0;
        if (fd >= 0) _close(fd);
    }
#else
    // The new file keeps the permissions of the one it replaces, and stays writable.
    struct stat st;
    if (existed_ && ::stat(target.c_str(), &st) == 0)
        ::fchmod(fd_, (st.st_mode & 07777) | S_IRUSR | S_IWUSR);
    ok = ::fsync(fd_) == 0;
    ok = (::close(fd_) == 0) && ok;
    fd_ = -1;
#endif
    std::error_code ec;
    if (ok) {
        fs::rename(temp, target, ec);
        ok = !ec;
    }
    if (!ok) {
        discard();
        return false;
    }
    committed_ = true;
    ok_ = false;
#ifndef _WIN32
    // Make the rename itself durable.
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
#endif
    return true;
}

} // namespace qorv

// Little-endian reading and writing of the program's binary files. The reader is a bounded
// cursor over bytes already in memory: it never reads past the end, and once a read fails every
// later read fails too, so a parser can check once at the end of a record.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace qorv {

class ByteReader {
  public:
    ByteReader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}

    size_t remaining() const { return failed_ ? 0 : size_t(end_ - p_); }
    bool atEnd() const { return !failed_ && p_ == end_; }
    bool failed() const { return failed_; }
    // Marks the input as bad (a value out of range); later reads fail.
    bool fail() {
        failed_ = true;
        return false;
    }

    bool i32(int32_t& v) { return raw(&v, 4); }
    bool i16(int16_t& v) { return raw(&v, 2); }
    bool f64(double& v) { return raw(&v, 8); }
    // A view of the next n bytes, which are consumed.
    bool bytes(size_t n, const uint8_t*& out) {
        if (failed_ || size_t(end_ - p_) < n) return fail();
        out = p_;
        p_ += n;
        return true;
    }
    // A count of items that each take at least `minBytes` of the remaining input, and at most
    // `max`: anything else is a damaged or hostile file.
    bool count(int32_t& n, size_t minBytes, int64_t max) {
        if (!i32(n)) return false;
        if (n < 0 || n > max || (minBytes > 0 && size_t(n) > remaining() / minBytes)) return fail();
        return true;
    }

  private:
    bool raw(void* v, size_t n) {
        if (failed_ || size_t(end_ - p_) < n) return fail();
        std::memcpy(v, p_, n);
        p_ += n;
        return true;
    }

    const uint8_t* p_;
    const uint8_t* end_;
    bool failed_ = false;
};

class ByteWriter {
  public:
    void i32(int32_t v) { raw(&v, 4); }
    void i16(int16_t v) { raw(&v, 2); }
    void f64(double v) { raw(&v, 8); }
    void bytes(const void* p, size_t n) { raw(p, n); }

    // Bytes written so far.
    size_t size() const { return size_ <= data_.size() ? size_ : data_.size(); }
    // Starts again from nothing, keeping the memory.
    void clear() { size_ = 0; }
    // The bytes written; the buffer is cut to them.
    std::vector<uint8_t>& data() {
        trim();
        return data_;
    }
    const std::vector<uint8_t>& data() const {
        trim();
        return data_;
    }

  private:
    // The buffer grows ahead of the bytes written, so that each small write is a single copy.
    void raw(const void* p, size_t n) {
        if (n == 0) return;
        if (data_.size() < size_) size_ = data_.size(); // emptied or moved from through data()
        if (data_.size() - size_ < n) data_.resize(std::max(data_.size() * 2, size_ + n + 256));
        std::memcpy(data_.data() + size_, p, n);
        size_ += n;
    }
    void trim() const {
        if (data_.size() < size_) size_ = data_.size();
        data_.resize(size_);
    }
    mutable std::vector<uint8_t> data_;
    mutable size_t size_ = 0;
};

static_assert(std::endian::native == std::endian::little && sizeof(double) == 8);

} // namespace qorv

#include "view/pngwriter.h"

#include <QIODevice>
#include <QImage>

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace qorv {

namespace {

void putBig32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}

// One chunk: length, type, data and the CRC of type and data.
bool writeChunk(QIODevice& out, const char type[4], const uint8_t* data, size_t n) {
    std::vector<uint8_t> head;
    putBig32(head, uint32_t(n));
    head.insert(head.end(), type, type + 4);
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    if (n > 0) crc = crc32(crc, data, uInt(n)); // (a null `data` would restart the CRC)
    std::vector<uint8_t> tail;
    putBig32(tail, uint32_t(crc));
    return out.write(reinterpret_cast<const char*>(head.data()), qint64(head.size())) ==
               qint64(head.size()) &&
           (n == 0 || out.write(reinterpret_cast<const char*>(data), qint64(n)) == qint64(n)) &&
           out.write(reinterpret_cast<const char*>(tail.data()), 4) == 4;
}

struct Deflater {
    z_stream z{};
    bool ready = false;
    ~Deflater() {
        if (ready) deflateEnd(&z);
    }
};

using Sink = std::function<bool(const uint8_t*, size_t)>;

// The image data in IDAT chunks of at most a megabyte, so that memory stays small.
class IdatWriter {
  public:
    explicit IdatWriter(QIODevice& out) : out_(out) { buffer_.reserve(Capacity); }
    bool put(const uint8_t* data, size_t n) {
        while (n > 0) {
            const size_t take = std::min(n, Capacity - buffer_.size());
            buffer_.insert(buffer_.end(), data, data + take);
            data += take;
            n -= take;
            if (buffer_.size() == Capacity && !flush()) return false;
        }
        return true;
    }
    bool flush() {
        if (buffer_.empty()) return true;
        const bool ok = writeChunk(out_, "IDAT", buffer_.data(), buffer_.size());
        buffer_.clear();
        return ok;
    }

  private:
    static constexpr size_t Capacity = size_t(1) << 20;
    QIODevice& out_;
    std::vector<uint8_t> buffer_;
};

// Rows [from, to) as raw deflate data (no zlib header or checksum) given to `sink`: a filter
// byte of 0 and the red, green and blue bytes of each pixel. The last part ends the stream; an
// earlier one ends on a byte boundary, so that the next part's blocks can follow it. `adler` is
// the rows' checksum.
bool deflateRows(const QImage& image, int from, int to, bool last, uLong& adler, const Sink& sink) {
    Deflater d;
    if (deflateInit2(&d.z, Z_BEST_SPEED, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    d.ready = true;
    const int width = image.width();
    std::vector<uint8_t> row(size_t(width) * 3 + 1);
    std::vector<uint8_t> packed(size_t(1) << 18);
    adler = adler32(0, nullptr, 0);
    // Deflates what is in, until the output has room left over (so that all of it came out).
    const auto drain = [&](int flush) {
        int status = Z_OK;
        do {
            d.z.next_out = packed.data();
            d.z.avail_out = uInt(packed.size());
            status = deflate(&d.z, flush);
            if (status == Z_STREAM_ERROR) return false;
            const size_t n = packed.size() - d.z.avail_out;
            if (n > 0 && !sink(packed.data(), n)) return false;
        } while (d.z.avail_out == 0);
        return flush != Z_FINISH || status == Z_STREAM_END;
    };
    for (int y = from; y < to; ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uint8_t* p = row.data();
        *p++ = 0;
        for (int x = 0; x < width; ++x) {
            const QRgb c = pixels[x];
            *p++ = uint8_t(qRed(c));
            *p++ = uint8_t(qGreen(c));
            *p++ = uint8_t(qBlue(c));
        }
        adler = adler32(adler, row.data(), uInt(row.size()));
        d.z.next_in = row.data();
        d.z.avail_in = uInt(row.size());
        if (!drain(Z_NO_FLUSH)) return false;
    }
    return drain(last ? Z_FINISH : Z_FULL_FLUSH);
}

} // namespace

bool writeQuickPng(const QImage& source, QIODevice& out) {
    const QImage image =
        source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
            ? source
            : source.convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) return false;
    const uint32_t width = uint32_t(image.width()), height = uint32_t(image.height());

    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (out.write(reinterpret_cast<const char*>(signature), 8) != 8) return false;
    std::vector<uint8_t> header;
    putBig32(header, width);
    putBig32(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, no filter, no interlace
    if (!writeChunk(out, "IHDR", header.data(), header.size())) return false;
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        std::vector<uint8_t> phys;
        putBig32(phys, uint32_t(image.dotsPerMeterX()));
        putBig32(phys, uint32_t(image.dotsPerMeterY()));
        phys.push_back(1); // per metre
        if (!writeChunk(out, "pHYs", phys.data(), phys.size())) return false;
    }

    // Deflating is most of the work: on two cores the lower half of the rows is deflated apart,
    // into memory, while the upper half streams out; the halves join into one zlib stream whose
    // checksum combines theirs. Very large images keep to one stream, so that memory stays small.
    const int rows = int(height);
    const double rawBytes = double(width) * 3.0 * rows;
    const bool split =
        rows >= 64 && rawBytes <= 256.0 * 1024 * 1024 && std::thread::hardware_concurrency() >= 2;
    const int middle = split ? rows / 2 : rows;
    std::vector<std::vector<uint8_t>> lower; // as deflated, piece by piece (no regrowing)
    uLong lowerAdler = 0;
    bool lowerDone = false;
    std::jthread worker; // joined however this returns
    if (split) {
        worker = std::jthread([&] {
            try {
                lowerDone = deflateRows(image, middle, rows, true, lowerAdler,
                                        [&](const uint8_t* data, size_t n) {
                                            lower.emplace_back(data, data + n);
                                            return true;
                                        });
            } catch (...) { // out of memory: the write fails
                lowerDone = false;
            }
        });
    }
    IdatWriter idat(out);
    static const uint8_t zlibHeader[2] = {0x78, 0x01}; // deflate, 32 KB window, fastest
    uLong upperAdler = 0;
    const bool upperDone =
        idat.put(zlibHeader, 2) &&
        deflateRows(image, 0, middle, !split, upperAdler,
                    [&](const uint8_t* data, size_t n) { return idat.put(data, n); });
    if (worker.joinable()) worker.join();
    if (!upperDone || (split && !lowerDone)) return false;
    for (const std::vector<uint8_t>& piece : lower)
        if (!idat.put(piece.data(), piece.size())) return false;
    // (Under the size limit above, the lower half's length fits any zlib's offset type.)
    const auto lowerLength = z_off_t((size_t(width) * 3 + 1) * size_t(rows - middle));
    const uLong adler = split ? adler32_combine(upperAdler, lowerAdler, lowerLength) : upperAdler;
    std::vector<uint8_t> trailer;
    putBig32(trailer, uint32_t(adler));
    return idat.put(trailer.data(), trailer.size()) && idat.flush() &&
           writeChunk(out, "IEND", nullptr, 0);
}

} // namespace qorv

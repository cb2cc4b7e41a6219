#include "view/pngwriter.h"

#include <QIODevice>
#include <QImage>

#include <zlib.h>

#include <cstdint>
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

    // Row by row: a filter byte of 0 and the red, green and blue bytes of each pixel. The deflated
    // stream goes out in IDAT chunks of at most a megabyte, so that memory stays small.
    Deflater d;
    if (deflateInit(&d.z, Z_BEST_SPEED) != Z_OK) return false;
    d.ready = true;
    std::vector<uint8_t> row(size_t(width) * 3 + 1);
    std::vector<uint8_t> packed(size_t(1) << 20);
    d.z.next_out = packed.data();
    d.z.avail_out = uInt(packed.size());
    const auto flushFull = [&] {
        if (d.z.avail_out != 0) return true;
        d.z.next_out = packed.data();
        d.z.avail_out = uInt(packed.size());
        return writeChunk(out, "IDAT", packed.data(), packed.size());
    };
    for (uint32_t y = 0; y < height; ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(int(y)));
        uint8_t* p = row.data();
        *p++ = 0;
        for (uint32_t x = 0; x < width; ++x) {
            const QRgb c = pixels[x];
            *p++ = uint8_t(qRed(c));
            *p++ = uint8_t(qGreen(c));
            *p++ = uint8_t(qBlue(c));
        }
        d.z.next_in = row.data();
        d.z.avail_in = uInt(row.size());
        while (d.z.avail_in != 0) {
            if (deflate(&d.z, Z_NO_FLUSH) == Z_STREAM_ERROR || !flushFull()) return false;
        }
    }
    for (;;) {
        const int status = deflate(&d.z, Z_FINISH);
        if (status == Z_STREAM_ERROR) return false;
        if (status == Z_STREAM_END) break;
        if (d.z.avail_out != 0 || !flushFull()) return false; // no progress without more room
    }
    const size_t n = packed.size() - d.z.avail_out;
    return (n == 0 || writeChunk(out, "IDAT", packed.data(), n)) &&
           writeChunk(out, "IEND", nullptr, 0);
}

} // namespace qorv

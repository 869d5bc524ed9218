// Self-contained PNG encoder (stored deflate blocks, CRC-32, Adler-32).
#include "png_encode.h"

#include <array>
#include <cstddef>

namespace {

constexpr size_t kMaxStored = 65535;  // payload limit of one stored deflate block

std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    static const std::array<uint32_t, 256> table = MakeCrcTable();
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
    uint32_t a = 1, b = 0;
    for (uint8_t v : data) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

void PutBe32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& payload) {
    PutBe32(out, static_cast<uint32_t>(payload.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), payload.begin(), payload.end());
    PutBe32(out, Crc32(out.data() + start, out.size() - start));
}

// PNG scanlines top row first, each led by filter type 0, in R,G,B order.
std::vector<uint8_t> Scanlines(const uint8_t* bits, int width, int height, int rowBytes) {
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(height) * (1 + static_cast<size_t>(width) * 3));
    for (int row = height - 1; row >= 0; --row) {
        const uint8_t* p = bits + static_cast<size_t>(row) * static_cast<size_t>(rowBytes);
        raw.push_back(0);
        for (int x = 0; x < width; ++x, p += 3) raw.insert(raw.end(), {p[2], p[1], p[0]});
    }
    return raw;
}

std::vector<uint8_t> ZlibStored(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> z{0x78, 0x01};
    size_t pos = 0;
    do {
        const size_t n = raw.size() - pos < kMaxStored ? raw.size() - pos : kMaxStored;
        const bool final = pos + n == raw.size();
        z.push_back(final ? 1 : 0);
        z.insert(z.end(), {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(~n),
                           static_cast<uint8_t>(~n >> 8)});
        z.insert(z.end(), raw.begin() + static_cast<ptrdiff_t>(pos),
                 raw.begin() + static_cast<ptrdiff_t>(pos + n));
        pos += n;
    } while (pos < raw.size());
    PutBe32(z, Adler32(raw));
    return z;
}

}  // namespace

std::vector<uint8_t> EncodePngStored(const uint8_t* bits, int width, int height, int rowBytes) {
    if (!bits || width <= 0 || height <= 0 ||
        static_cast<int64_t>(rowBytes) < static_cast<int64_t>(width) * 3) {
        return {};
    }
    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBe32(header, static_cast<uint32_t>(width));
    PutBe32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", ZlibStored(Scanlines(bits, width, height, rowBytes)));
    PutChunk(png, "IEND", {});
    return png;
}

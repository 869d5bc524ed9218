// PNG export of the canvas: libpng where the build has it (Linux), else
// (Windows) the few chunks written here around zlib's deflate, which the DLL
// links statically.
#include <cstdio>

#include "dib.h"

#ifdef QORCOLOR_HAVE_PNG
#include <png.h>

#include <cstring>

bool CDIB::SavePng(const char* path) const {
    if (!path || m_bits.empty()) return false;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(m_width);
    image.height = static_cast<png_uint_32>(m_height);
    image.format = PNG_FORMAT_BGR;
    // A negative stride tells libpng the rows are stored bottom-up; with one
    // byte per component the stride counts bytes, padding included.
    const int ok = png_image_write_to_file(&image, path, 0, m_bits.data(), -m_rowBytes, nullptr);
    png_image_free(&image);
    return ok != 0;
}

#else
#include <zlib.h>

namespace {

void PutBe32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& payload) {
    PutBe32(out, static_cast<uint32_t>(payload.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), payload.begin(), payload.end());
    PutBe32(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

}  // namespace

bool CDIB::SavePng(const char* path) const {
    if (!path || m_bits.empty()) return false;
    // Scanlines top row first, each led by filter type 0, in R,G,B order.
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(m_height) * (1 + static_cast<size_t>(m_width) * 3));
    for (int row = m_height - 1; row >= 0; --row) {
        const uint8_t* p = m_bits.data() + static_cast<size_t>(row) * static_cast<size_t>(m_rowBytes);
        raw.push_back(0);
        for (int x = 0; x < m_width; ++x, p += 3) raw.insert(raw.end(), {p[2], p[1], p[0]});
    }
    uLongf packed = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> idat(packed);
    if (compress2(idat.data(), &packed, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) !=
        Z_OK)
        return false;
    idat.resize(packed);
    std::vector<uint8_t> header, png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutBe32(header, static_cast<uint32_t>(m_width));
    PutBe32(header, static_cast<uint32_t>(m_height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", idat);
    PutChunk(png, "IEND", {});
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    const bool written = std::fwrite(png.data(), 1, png.size(), f) == png.size();
    return std::fclose(f) == 0 && written;
}

#endif

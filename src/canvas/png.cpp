// PNG export of the canvas: libpng where the build has it, the built-in
// encoder elsewhere.
#include <cstdio>

#include "dib.h"

#ifdef QORCOLOR_HAVE_PNG
#include <png.h>

#include <cstring>
#else
#include "png_encode.h"
#endif

#ifdef QORCOLOR_HAVE_PNG

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

bool CDIB::SavePng(const char* path) const {
    if (!path || m_bits.empty()) return false;
    const std::vector<uint8_t> png = EncodePngStored(m_bits.data(), m_width, m_height, m_rowBytes);
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    const bool written = std::fwrite(png.data(), 1, png.size(), f) == png.size();
    return std::fclose(f) == 0 && written;
}

#endif

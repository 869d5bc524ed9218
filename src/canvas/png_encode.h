// A dependency-free PNG writer: 8-bit RGB, no filtering, zlib stored blocks.
// Files are larger than compressed ones but every decoder reads them.
#pragma once

#include <cstdint>
#include <vector>

// Encodes a canvas held as in CDIB (rows bottom-up, B,G,R, `rowBytes` per
// row). Returns an empty vector for a non-positive size, a null buffer or a
// row stride shorter than a row.
std::vector<uint8_t> EncodePngStored(const uint8_t* bits, int width, int height, int rowBytes);

#include "nifti.h"

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace view {

namespace {

constexpr size_t kHeaderSize = 348;
constexpr size_t kFirstVoxel = 352;                   // header plus the 4-byte extension flag
constexpr uint64_t kMaxElements = uint64_t(1) << 56;  // times 8 bytes still fits every size type
constexpr size_t kChunk = size_t(1) << 20;  // output grows as data arrives, never by the header's word

std::string Format(const char* format, auto... args) {
    char text[200];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

// The file's bytes in order, inflated when they are a gzip stream. A stream
// of several gzip members reads as their concatenation.
class Stream {
public:
    Stream(const uint8_t* bytes, size_t size) : in_(bytes), left_(size) {
        gzip_ = size >= 2 && bytes[0] == 0x1f && bytes[1] == 0x8b;
        if (!gzip_) return;
        z_.next_in = const_cast<Bytef*>(bytes);
        z_.avail_in = uInt(std::min<size_t>(size, UINT32_MAX));
        left_ = size - z_.avail_in;
        ready_ = inflateInit2(&z_, 15 + 16) == Z_OK;
    }
    ~Stream() {
        if (gzip_ && ready_) inflateEnd(&z_);
    }
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // Appends exactly n bytes to `out` (n = 0 is fine).
    bool Take(size_t n, std::vector<uint8_t>& out, std::string& error) {
        while (n > 0) {
            const size_t step = std::min(n, kChunk);
            const size_t at = out.size();
            out.resize(at + step);
            const size_t got =
                gzip_ ? Inflate(out.data() + at, step, error) : Copy(out.data() + at, step, error);
            if (got < step) return false;
            n -= step;
        }
        return true;
    }

    bool Skip(size_t n, std::string& error) {
        std::vector<uint8_t> scratch;
        while (n > 0) {
            const size_t step = std::min(n, kChunk);
            scratch.clear();
            if (!Take(step, scratch, error)) return false;
            n -= step;
        }
        return true;
    }

    // Reads a gzip stream to its end, so that a damaged or missing checksum
    // after the last voxel is noticed too.
    bool Finish(std::string& error) {
        if (!gzip_) return true;
        uint8_t scratch[4096];
        for (;;) {
            z_.next_out = scratch;
            z_.avail_out = sizeof scratch;
            Refill();
            const int rc = inflate(&z_, Z_NO_FLUSH);
            if (rc == Z_OK) continue;
            if (rc == Z_STREAM_END && z_.avail_in == 0 && left_ == 0) return true;
            if (rc == Z_STREAM_END && inflateReset(&z_) == Z_OK) continue;
            error = rc == Z_BUF_ERROR
                        ? "the gzip stream ends early: its checksum is missing"
                        : Format("the gzip stream is corrupt (%s)", z_.msg ? z_.msg : "zlib error");
            return false;
        }
    }

private:
    void Refill() {
        if (z_.avail_in > 0 || left_ == 0) return;
        z_.avail_in = uInt(std::min<size_t>(left_, UINT32_MAX));
        left_ -= z_.avail_in;
    }

    size_t Copy(uint8_t* out, size_t n, std::string& error) {
        if (n > left_) {
            error = "the file is truncated: it ends before the voxels the header describes";
            return 0;
        }
        std::memcpy(out, in_, n);
        in_ += n, left_ -= n;
        return n;
    }

    size_t Inflate(uint8_t* out, size_t n, std::string& error) {
        if (!ready_) {
            error = "zlib could not be started";
            return 0;
        }
        z_.next_out = out;
        z_.avail_out = uInt(n);
        while (z_.avail_out > 0) {
            Refill();
            const int rc = inflate(&z_, Z_NO_FLUSH);
            if (rc == Z_OK || (rc == Z_STREAM_END && z_.avail_out == 0)) continue;
            if (rc == Z_STREAM_END && z_.avail_in > 0 && inflateReset(&z_) == Z_OK) continue;  // next member
            if (rc == Z_STREAM_END || rc == Z_BUF_ERROR) {
                error = "the gzip stream ends early: the file is truncated or shorter than its header says";
                break;
            }
            error = Format("the gzip stream is corrupt (%s)", z_.msg ? z_.msg : "zlib error");
            break;
        }
        return n - z_.avail_out;
    }

    const uint8_t* in_;
    size_t left_;
    bool gzip_ = false, ready_ = false;
    z_stream z_{};
};

// Header fields in the file's byte order.
struct Header {
    const uint8_t* h;
    bool big;
    uint32_t U32(size_t at) const {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= uint32_t(h[at + size_t(i)]) << (big ? 24 - 8 * i : 8 * i);
        return v;
    }
    int I16(size_t at) const { return int16_t(big ? h[at] << 8 | h[at + 1] : h[at + 1] << 8 | h[at]); }
    float F32(size_t at) const { return std::bit_cast<float>(U32(at)); }
};

bool ByteOrder(const uint8_t* h, bool& big, std::string& error) {
    const uint32_t little = Header{h, false}.U32(0), bigValue = Header{h, true}.U32(0);
    big = bigValue == kHeaderSize;
    if (little == kHeaderSize || big) return true;
    if (little == 540 || bigValue == 540)
        error = "this is a NIfTI-2 file (540-byte header); only NIfTI-1 files are read";
    else
        error = Format("not a NIfTI-1 file: the header size field is %u, not 348", unsigned(little));
    return false;
}

bool CheckMagic(const uint8_t* h, std::string& error) {
    if (std::memcmp(h + 344, "n+1", 4) == 0) return true;
    if (std::memcmp(h + 344, "ni1", 4) == 0)
        error = "this header belongs to a .hdr/.img pair; only single-file .nii images are read";
    else
        error = "not a NIfTI-1 file: the magic is not \"n+1\"";
    return false;
}

// Dims 1 to 3 become the volume, 4 to 7 count its repeats; all elements of
// the file, in bytes, go to `fileBytes`.
bool ReadDims(const Header& f, Volume& v, uint64_t& fileBytes, std::string& error) {
    const int rank = f.I16(40);
    if (rank < 1 || rank > 7) {
        error = Format("dim[0] is %d; it must be 1 to 7", rank);
        return false;
    }
    uint64_t elements = 1, volumes = 1;
    for (int i = 1; i <= rank; ++i) {
        const int n = f.I16(40 + 2 * size_t(i));
        if (n < 1) {
            error = Format("dimension %d has %d voxels", i, n);
            return false;
        }
        if (elements > kMaxElements / uint64_t(n)) {
            error = "the dimensions describe more voxels than can be addressed";
            return false;
        }
        elements *= uint64_t(n);
        if (i <= 3) v.dim[i - 1] = n;
        if (i > 3) volumes *= uint64_t(n);
    }
    for (int i = rank; i < 3; ++i) v.dim[i] = 1;
    v.volumes = volumes > INT32_MAX ? INT32_MAX : int(volumes);
    fileBytes = elements * uint64_t(VoxelSize(v.datatype));
    return true;
}

void ReadDescription(const Header& f, Volume& v) {
    for (size_t i = 148; i < 228 && f.h[i]; ++i)
        v.description += f.h[i] >= 32 && f.h[i] < 127 ? char(f.h[i]) : '?';
}

bool ParseHeader(const uint8_t* h, Volume& v, uint64_t& dataOffset, uint64_t& fileBytes, std::string& error) {
    bool big = false;
    if (!ByteOrder(h, big, error) || !CheckMagic(h, error)) return false;
    const Header f{h, big};
    v.bigEndian = big;
    v.datatype = f.I16(70);
    if (VoxelSize(v.datatype) == 0) {
        error = Format(
            "datatype %d is not one of the types the window takes "
            "(2, 4, 8, 16, 64, 256, 512, 768)",
            v.datatype);
        return false;
    }
    if (!ReadDims(f, v, fileBytes, error)) return false;
    const float offset = f.F32(108);
    if (offset == 0) {
        dataOffset = kFirstVoxel;  // some writers leave it unset
    } else if (!(offset >= float(kFirstVoxel) && offset < 0x1p40f)) {
        error = Format("the voxel offset %g lies inside the header or beyond any file", double(offset));
        return false;
    } else {
        dataOffset = uint64_t(offset);
    }
    for (int i = 0; i < 3; ++i) {
        const float p = std::fabs(f.F32(80 + 4 * size_t(i)));
        v.pixdim[i] = std::isfinite(p) && p > 0 ? p : 1.0f;
    }
    v.slope = f.F32(112);
    v.intercept = f.F32(116);
    ReadDescription(f, v);
    return true;
}

void ToNativeOrder(Volume& v) {
    const size_t size = size_t(VoxelSize(v.datatype));
    if (size == 1 || v.bigEndian == (std::endian::native == std::endian::big)) return;
    for (size_t i = 0; i + size <= v.voxels.size(); i += size)
        std::reverse(&v.voxels[i], &v.voxels[i] + size);
}

}  // namespace

int VoxelSize(int datatype) {
    switch (datatype) {
        case 2:
        case 256:
            return 1;
        case 4:
        case 512:
            return 2;
        case 8:
        case 16:
        case 768:
            return 4;
        case 64:
            return 8;
        default:
            return 0;
    }
}

const char* TypeName(int datatype) {
    switch (datatype) {
        case 2:
            return "uint8";
        case 256:
            return "int8";
        case 4:
            return "int16";
        case 512:
            return "uint16";
        case 8:
            return "int32";
        case 768:
            return "uint32";
        case 16:
            return "float32";
        case 64:
            return "float64";
        default:
            return "unsupported";
    }
}

bool ReadNiftiBytes(const uint8_t* bytes, size_t size, Volume& volume, std::string& error) {
    volume = Volume{};
    Stream stream(bytes, size);
    std::vector<uint8_t> header;
    if (!stream.Take(kHeaderSize, header, error)) {
        if (error.find("gzip") == std::string::npos)
            error = "the file is truncated: it ends inside the header";
        return false;
    }
    uint64_t offset = 0, fileBytes = 0;
    if (!ParseHeader(header.data(), volume, offset, fileBytes, error)) return false;
    const uint64_t first = uint64_t(volume.Count()) * uint64_t(VoxelSize(volume.datatype));
    // The whole file must hold every volume it declares, though only the first is kept.
    if (!stream.Skip(size_t(offset - kHeaderSize), error) ||
        !stream.Take(size_t(first), volume.voxels, error) || !stream.Skip(size_t(fileBytes - first), error) ||
        !stream.Finish(error)) {
        volume.voxels.clear();
        return false;
    }
    ToNativeOrder(volume);
    return true;
}

bool ReadNiftiFile(const std::string& path, Volume& volume, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = Format("cannot open it (%s)", std::strerror(errno));
        return false;
    }
    std::vector<uint8_t> bytes;
    size_t got = 0;
    do {
        bytes.resize(bytes.size() + kChunk);
        got = std::fread(bytes.data() + bytes.size() - kChunk, 1, kChunk, file);
        bytes.resize(bytes.size() - kChunk + got);
    } while (got == kChunk);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        error = "reading it failed";
        return false;
    }
    return ReadNiftiBytes(bytes.data(), bytes.size(), volume, error);
}

}  // namespace view

#include "nifti.h"

#include <qorcolor/datatypes.h>
#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

#if defined(_WIN32)
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace nifti {

namespace {

constexpr uint64_t kMaxElements = uint64_t(1) << 56;  // times 8 bytes still fits every size type
constexpr size_t kChunk = size_t(1) << 20;
constexpr uint64_t kMaxInflation = 1032;  // deflate never expands data more than this

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

    // Whether the stream can yield `n` more bytes at all: a gzip stream
    // inflates to at most kMaxInflation times its size. Refuses what the
    // header declares before anything is allocated for it.
    bool CanHold(uint64_t n, std::string& error) const {
        const uint64_t left = uint64_t(z_.avail_in) + left_;
        if (!gzip_ && n > left) {
            error = "the file is truncated: it ends before the voxels the header describes";
            return false;
        }
        if (gzip_ && n / kMaxInflation > left + 64) {  // a little already taken in may be pending
            error = "the gzip stream ends early: the file is truncated or shorter than its header says";
            return false;
        }
        return true;
    }

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
            if (rc == Z_STREAM_END && OnlyZerosLeft()) return true;
            if (rc == Z_STREAM_END && inflateReset(&z_) == Z_OK) continue;
            error = rc == Z_BUF_ERROR
                        ? "the gzip stream ends early: its checksum is missing"
                        : Format("the gzip stream is corrupt (%s)", z_.msg ? z_.msg : "zlib error");
            return false;
        }
    }

private:
    // After the last gzip member, as `gzip -d` does, zero bytes (padding to a
    // block size) end the stream; anything else would be another member.
    bool OnlyZerosLeft() const {
        const uint8_t* rest = z_.next_in;
        return std::all_of(rest, rest + z_.avail_in + left_, [](uint8_t b) { return b == 0; });
    }

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
            if (rc == Z_STREAM_END && !OnlyZerosLeft() && inflateReset(&z_) == Z_OK) continue;  // next member
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
    uint64_t Bits(size_t at, int bytes) const {
        uint64_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= uint64_t(h[at + size_t(i)]) << (big ? 8 * (bytes - 1 - i) : 8 * i);
        return v;
    }
    // Signed, sign-extended from `bytes`.
    int64_t Int(size_t at, int bytes) const {
        const int shift = 64 - 8 * bytes;
        return int64_t(Bits(at, bytes) << shift) >> shift;
    }
    double Real(size_t at, int bytes) const {
        return bytes == 4 ? double(std::bit_cast<float>(uint32_t(Bits(at, 4))))
                          : std::bit_cast<double>(Bits(at, 8));
    }
};

// Where the two versions of the header keep the fields the viewer reads.
struct Layout {
    size_t size, firstVoxel, magic;
    const char *single, *pair;
    size_t datatype, bitpix, dim, pixdim, voxOffset, slope, intercept, description, intent;
    int dimBytes, realBytes, intentBytes;
};
constexpr Layout kNifti1{348, 352, 344, "n+1", "ni1", 70, 72, 40, 76, 108, 112, 116, 148, 68, 2, 4, 2};
constexpr Layout kNifti2{540, 544, 4, "n+2", "ni2", 12, 14, 16, 104, 168, 176, 184, 240, 504, 8, 8, 4};

bool Version(const uint8_t* h, const Layout*& layout, bool& big, std::string& error) {
    for (const Layout* l : {&kNifti1, &kNifti2})
        for (bool order : {false, true})
            if (Header{h, order}.Bits(0, 4) == l->size) {
                layout = l, big = order;
                return true;
            }
    error = Format("not a NIfTI file: the header size field is %u, neither 348 (NIfTI-1) nor 540 (NIfTI-2)",
                   unsigned(Header{h, false}.Bits(0, 4)));
    return false;
}

bool CheckMagic(const uint8_t* h, const Layout& l, std::string& error) {
    if (std::memcmp(h + l.magic, l.single, 4) == 0) return true;
    if (std::memcmp(h + l.magic, l.pair, 4) == 0)
        error = "this header belongs to a .hdr/.img pair; only single-file .nii images are read";
    else
        error = Format("not a NIfTI file: the magic is not \"%s\"", l.single);
    return false;
}

// Three dims from `first` on become the volume, the others count its
// repeats; all elements of the file, in bytes, go to `fileBytes`.
bool ReadDims(const Header& f, const Layout& l, int first, Volume& v, uint64_t& fileBytes,
              std::string& error) {
    const int64_t rank = f.Int(l.dim, l.dimBytes);
    if (rank < 1 || rank > 7) {
        error = Format("dim[0] is %lld; it must be 1 to 7", (long long)rank);
        return false;
    }
    uint64_t elements = 1, volumes = 1;
    v.dim[0] = v.dim[1] = v.dim[2] = 1;
    for (int i = 1; i <= rank; ++i) {
        const int64_t n = f.Int(l.dim + size_t(l.dimBytes * i), l.dimBytes);
        if (n < 1 || n > INT32_MAX) {
            error = Format("dimension %d has %lld voxels", i, (long long)n);
            return false;
        }
        if (elements > kMaxElements / uint64_t(n)) {
            error = "the dimensions describe more voxels than can be addressed";
            return false;
        }
        elements *= uint64_t(n);
        if (i >= first && i < first + 3)
            v.dim[i - first] = int(n);
        else
            volumes *= uint64_t(n);
    }
    v.volumes = volumes > INT32_MAX ? INT32_MAX : int(volumes);
    fileBytes = elements * uint64_t(VoxelSize(v.datatype));
    return true;
}

bool ReadOffset(const Header& f, const Layout& l, uint64_t& dataOffset, std::string& error) {
    const double offset = l.realBytes == 4 ? f.Real(l.voxOffset, 4) : double(f.Int(l.voxOffset, 8));
    if (offset == 0) {
        dataOffset = l.firstVoxel;  // some writers leave it unset
        return true;
    }
    if (!(offset >= double(l.firstVoxel) && offset < 0x1p40)) {
        error = Format("the voxel offset %g lies inside the header or beyond any file", offset);
        return false;
    }
    dataOffset = uint64_t(offset);
    return true;
}

// "2, 4, 8, ..." in ascending order, for the refusal of any other code.
std::string KnownCodes() {
    std::vector<int> codes;
    for (const qorcolor::DataType& type : qorcolor::kDataTypes) codes.push_back(type.code);
    std::ranges::sort(codes);
    std::string text;
    for (int code : codes) text += (text.empty() ? "" : ", ") + std::to_string(code);
    return text;
}

// CIFTI files keep their matrix in dims 5 to 7, after four dims of 1.
bool ParseHeader(const uint8_t* h, const Layout& l, bool big, Volume& v, uint64_t& dataOffset,
                 uint64_t& fileBytes, std::string& error) {
    if (!CheckMagic(h, l, error)) return false;
    const Header f{h, big};
    v.bigEndian = big;
    v.datatype = int(f.Int(l.datatype, 2));
    if (VoxelSize(v.datatype) == 0) {
        error = Format("datatype %d is not one of the types the window takes (%s)", v.datatype,
                       KnownCodes().c_str());
        return false;
    }
    const int64_t bitpix = f.Int(l.bitpix, 2);
    if (bitpix != 8 * VoxelSize(v.datatype)) {
        error = Format("bitpix is %lld, but datatype %d (%s) has %d bits", (long long)bitpix, v.datatype,
                       TypeName(v.datatype), 8 * VoxelSize(v.datatype));
        return false;
    }
    const int64_t intent = f.Int(l.intent, l.intentBytes);
    const int first = intent >= 3000 && intent < 3100 ? 5 : 1;
    if (!ReadDims(f, l, first, v, fileBytes, error) || !ReadOffset(f, l, dataOffset, error)) return false;
    for (int i = 0; i < 3; ++i) {
        const double p = std::fabs(f.Real(l.pixdim + size_t(l.realBytes * (first + i)), l.realBytes));
        v.pixdim[i] = std::isfinite(p) && p > 0 && p < 1e30 ? float(p) : 1.0f;
    }
    v.slope = f.Real(l.slope, l.realBytes);
    v.intercept = f.Real(l.intercept, l.realBytes);
    for (size_t i = l.description; i < l.description + 80 && h[i]; ++i)
        v.description += h[i] >= 32 && h[i] < 127 ? char(h[i]) : '?';
    return true;
}

// Room for the voxels in one allocation, so that a volume too large for
// memory is refused with its size rather than failing halfway.
bool Reserve(std::vector<uint8_t>& voxels, uint64_t bytes, std::string& error) {
    try {
        voxels.reserve(size_t(bytes));
        return true;
    } catch (const std::bad_alloc&) {
        error = Format("out of memory: the voxels take %llu bytes", (unsigned long long)bytes);
        return false;
    }
}

#if defined(_WIN32)
using FileStatus = struct _stat64;
int StatusOf(const std::string& path, FileStatus& status) { return _stat64(path.c_str(), &status); }
int StatusOf(std::FILE* file, FileStatus& status) { return _fstat64(_fileno(file), &status); }
std::FILE* OpenForReading(const std::string& path) { return std::fopen(path.c_str(), "rb"); }
#else
using FileStatus = struct stat;
int StatusOf(const std::string& path, FileStatus& status) { return stat(path.c_str(), &status); }
int StatusOf(std::FILE* file, FileStatus& status) { return fstat(fileno(file), &status); }
// Without a writer a FIFO would block the open; a regular file ignores the flag.
std::FILE* OpenForReading(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    std::FILE* file = fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0 ? fdopen(fd, "rb") : nullptr;
    if (!file) close(fd);
    return file;
}
#endif

bool IsRegular(const FileStatus& status) { return (status.st_mode & S_IFMT) == S_IFREG; }

// The whole of a regular file, in one allocation of its size. Anything else
// (a FIFO, a device, a folder) could block or never end, and is refused
// before it is read; checked again once open, in case the path changed.
bool ReadRegularFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
    FileStatus status{};
    if (StatusOf(path, status) != 0) {
        error = Format("cannot open it (%s)", std::strerror(errno));
        return false;
    }
    std::FILE* file = IsRegular(status) ? OpenForReading(path) : nullptr;
    if (file && (StatusOf(file, status) != 0 || !IsRegular(status)))
        std::fclose(std::exchange(file, nullptr));
    if (!file) {
        error = IsRegular(status) ? Format("cannot open it (%s)", std::strerror(errno))
                                  : std::string("it is not a regular file");
        return false;
    }
    uint8_t chunk[65536];
    bool ok = true;
    try {
        bytes.reserve(size_t(status.st_size));
        for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
            bytes.insert(bytes.end(), chunk, chunk + got);
    } catch (const std::bad_alloc&) {
        error = Format("out of memory: the file takes %llu bytes", (unsigned long long)status.st_size);
        ok = false;
    }
    if (ok && std::ferror(file)) error = "reading it failed", ok = false;
    std::fclose(file);
    return ok;
}

void ToNativeOrder(Volume& v) {
    const size_t size = size_t(VoxelSize(v.datatype));
    if (size == 1 || v.bigEndian == (std::endian::native == std::endian::big)) return;
    for (size_t i = 0; i + size <= v.voxels.size(); i += size)
        std::reverse(&v.voxels[i], &v.voxels[i] + size);
}

}  // namespace

int VoxelSize(int datatype) {
    const qorcolor::DataType* type = qorcolor::FindDataType(datatype);
    return type ? type->bytes : 0;
}

const char* TypeName(int datatype) {
    const qorcolor::DataType* type = qorcolor::FindDataType(datatype);
    return type ? type->name : "unsupported";
}

bool ReadNiftiBytes(const uint8_t* bytes, size_t size, Volume& volume, std::string& error) {
    volume = Volume{};
    Stream stream(bytes, size);
    std::vector<uint8_t> header;
    const Layout* layout = &kNifti1;
    bool big = false;
    if (!stream.Take(kNifti1.size, header, error) || !Version(header.data(), layout, big, error) ||
        !stream.Take(layout->size - header.size(), header, error)) {
        if (error.starts_with("the file is truncated"))
            error = "the file is truncated: it ends inside the header";
        return false;
    }
    uint64_t offset = 0, fileBytes = 0;
    if (!ParseHeader(header.data(), *layout, big, volume, offset, fileBytes, error)) return false;
    const uint64_t first = uint64_t(volume.Count()) * uint64_t(VoxelSize(volume.datatype));
    // The whole file must hold every volume it declares, though only the first is kept.
    if (!stream.CanHold(offset - layout->size + fileBytes, error) || !Reserve(volume.voxels, first, error) ||
        !stream.Skip(size_t(offset - layout->size), error) ||
        !stream.Take(size_t(first), volume.voxels, error) || !stream.Skip(size_t(fileBytes - first), error) ||
        !stream.Finish(error)) {
        volume.voxels.clear();
        return false;
    }
    ToNativeOrder(volume);
    return true;
}

bool ReadNiftiFile(const std::string& path, Volume& volume, std::string& error) {
    volume = Volume{};
    std::vector<uint8_t> bytes;
    return ReadRegularFile(path, bytes, error) && ReadNiftiBytes(bytes.data(), bytes.size(), volume, error);
}

}  // namespace nifti

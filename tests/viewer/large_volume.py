"""Writes a NIfTI-1 .nii.gz of 1024^3 zero bytes (1 GiB) in about 1 MB: the
header, then one small gzip member of 1 MiB of zeros repeated 1024 times."""
import gzip
import struct
import sys

header = bytearray(352)
struct.pack_into("<i", header, 0, 348)
struct.pack_into("<8h", header, 40, 3, 1024, 1024, 1024, 1, 1, 1, 1)
struct.pack_into("<hh", header, 70, 2, 8)  # uint8, 8 bits
struct.pack_into("<8f", header, 76, *[1.0] * 8)
header[344:348] = b"n+1\0"
member = gzip.compress(bytes(1 << 20), 9, mtime=0)
with open(sys.argv[1], "wb") as out:
    out.write(gzip.compress(bytes(header), 9, mtime=0))
    out.write(member * 1024)

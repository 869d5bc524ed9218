#!/usr/bin/python3
"""Writes what nibabel reads from each .nii / .nii.gz file of its test data.

  nibabel_expect.py DATA_FOLDER OUT_FOLDER

expect.txt has one line per file: its name, then either "nifti1" with the
three dimensions, the datatype code, the number of 3-D volumes and 1 for a
big-endian file, or "refused" for files that are not single-file NIfTI-1.
The first 3-D volume's stored values (no scaling) go to <name>.raw, x
fastest, in this machine's byte order. Without nibabel the list is empty.
"""
import glob
import os
import sys

data, out = sys.argv[1], sys.argv[2]
lines = []
try:
    import nibabel
    import numpy
except ImportError:
    nibabel = None
if nibabel and os.path.isdir(data):
    for path in sorted(glob.glob(os.path.join(data, "*.nii")) + glob.glob(os.path.join(data, "*.nii.gz"))):
        name = os.path.basename(path)
        image = nibabel.load(path)
        header = image.header
        if type(header) is not nibabel.Nifti1Header:
            lines.append(f"{name} refused")
            continue
        shape = tuple(header.get_data_shape()) + (1, 1, 1)
        values = numpy.asanyarray(image.dataobj.get_unscaled())
        first = values.reshape(shape[:3] + (-1,), order="F")[:, :, :, 0]
        volumes = int(numpy.prod(shape[3:len(header.get_data_shape())])) if len(header.get_data_shape()) > 3 else 1
        big = 1 if header.endianness == ">" else 0
        lines.append(f"{name} nifti1 {shape[0]} {shape[1]} {shape[2]} {int(header['datatype'])} {volumes} {big}")
        with open(os.path.join(out, name + ".raw"), "wb") as raw:
            raw.write(first.astype(first.dtype.newbyteorder("=")).tobytes(order="F"))
with open(os.path.join(out, "expect.txt"), "w") as f:
    f.write("".join(line + "\n" for line in lines))

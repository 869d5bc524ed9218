#!/usr/bin/python3
"""Writes what nibabel reads from each .nii / .nii.gz file of its test data.

  nibabel_expect.py DATA_FOLDER OUT_FOLDER

expect.txt has one line per file: its name, then either "nifti" with the
three dimensions of a volume, the datatype code, the number of 3-D volumes
and 1 for a big-endian file, or "refused" for files that nibabel reads as
something else. The first 3-D volume's stored values (no scaling) go to
<name>.raw, x fastest, in this machine's byte order. Without nibabel the
list is empty.
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
        header = getattr(image, "nifti_header", image.header)  # CIFTI-2 images keep a NIfTI-2 header
        if not isinstance(header, nibabel.Nifti1Header):  # NIfTI-2 headers derive from it
            lines.append(f"{name} refused")
            continue
        values = numpy.asanyarray(image.dataobj.get_unscaled() if hasattr(image.dataobj, "get_unscaled") else image.dataobj)
        shape = values.shape + (1,) * max(0, 3 - values.ndim)
        first = values.reshape(shape[:3] + (-1,), order="F")[:, :, :, 0]
        volumes = int(numpy.prod(shape[3:]))
        big = 1 if header.endianness == ">" else 0
        lines.append(f"{name} nifti {shape[0]} {shape[1]} {shape[2]} {int(header['datatype'])} {volumes} {big}")
        with open(os.path.join(out, name + ".raw"), "wb") as raw:
            raw.write(first.astype(first.dtype.newbyteorder("=")).tobytes(order="F"))
with open(os.path.join(out, "expect.txt"), "w") as f:
    f.write("".join(line + "\n" for line in lines))

#!/usr/bin/python3
"""Writes numpy's "lower" quantiles of volumes, for the auto contrast tests.

  percentile_expect.py NIBABEL_DATA OUT_FOLDER

expect.txt has one line per volume: its raw file's name, the datatype code,
the three dimensions, then pairs of a fraction and numpy's value for it
(NaN left out), all with enough digits to read back exactly. The volumes are
the first 3-D volume of each of nibabel's NIfTI test files whose datatype
the window takes, and a float32 volume with NaN and infinities made here.
Without numpy or nibabel the list is empty.
"""
import glob
import os
import sys

data, out = sys.argv[1], sys.argv[2]
FRACTIONS = [0.0, 0.005, 0.1, 0.25, 0.5, 0.75, 0.9, 0.995, 1.0, 1.0 / 3.0]
CODES = {"uint8": 2, "int16": 4, "int32": 8, "float32": 16, "float64": 64, "int8": 256, "uint16": 512, "uint32": 768}
lines = []


def add(name, values, numpy):
    code = CODES.get(values.dtype.name)
    finite = values[~numpy.isnan(values)] if values.dtype.kind == "f" else values.ravel()
    if code is None or values.ndim != 3 or finite.size == 0:
        return
    with open(os.path.join(out, name + ".raw"), "wb") as raw:
        raw.write(values.astype(values.dtype.newbyteorder("=")).tobytes(order="F"))
    pairs = " ".join(f"{p!r} {float(numpy.quantile(finite, p, method='lower'))!r}" for p in FRACTIONS)
    lines.append(f"{name}.raw {code} {values.shape[0]} {values.shape[1]} {values.shape[2]} {pairs}")


try:
    import nibabel
    import numpy
except ImportError:
    nibabel = None
if nibabel:
    for path in sorted(glob.glob(os.path.join(data, "*.nii")) + glob.glob(os.path.join(data, "*.nii.gz"))):
        try:
            image = nibabel.load(path)
        except Exception:
            continue
        if not isinstance(getattr(image, "nifti_header", image.header), nibabel.Nifti1Header):
            continue
        values = numpy.asanyarray(image.dataobj.get_unscaled() if hasattr(image.dataobj, "get_unscaled") else image.dataobj)
        shape = values.shape + (1,) * max(0, 3 - values.ndim)
        add(os.path.basename(path), values.reshape(shape[:3] + (-1,), order="F")[:, :, :, 0], numpy)
    rng = numpy.random.default_rng(7)
    mixed = rng.normal(100.0, 30.0, size=(23, 19, 11)).astype(numpy.float32)
    flat = mixed.reshape(-1)
    flat[rng.choice(flat.size, 400, replace=False)] = numpy.nan
    flat[:37] = numpy.inf
    flat[37:60] = -numpy.inf
    add("mixed-float32", mixed, numpy)
with open(os.path.join(out, "expect.txt"), "w") as f:
    f.write("".join(line + "\n" for line in lines))

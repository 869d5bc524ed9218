#!/usr/bin/env python3
"""Plants one violation of each layer rule in a copy of the sources and
expects tools/check-layers to fail naming it; a call across layers is planted
in two compiled objects."""
import pathlib
import shutil
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]
CHECK = ROOT / "tools" / "check-layers"

# (file that gets the include, the include, what the message must name)
PLANTED = [
    ("src/view/layout.cpp", '"../histogram/histogram.h"', "the view layer includes"),
    ("src/histogram/compute_histogram.cpp", '"../colortable/colortable.h"', "the histogram layer includes"),
    ("src/colortable/alpha_curve.cpp", '"../view/view.h"', "the colortable layer includes"),
    ("src/dialog/threshold_edits.cpp", '"../view/view.h"', "the dialog layer includes"),
    ("src/histogram/kernels/small_types.cpp", '"../../dialog/color_dlg.h"', "the histogram/kernels layer"),
    ("src/colortable/kernels/make_stretch.cpp", '"../../framework/afx.h"', "the colortable/kernels layer"),
    ("src/common/cpu_features.cpp", '"../framework/afx.h"', "the common layer includes"),
    ("src/framework/wnd.cpp", '"../canvas/dib.h"', "the framework layer includes"),
    ("src/canvas/dib.cpp", '"../dialog/color_dlg.h"', "the canvas layer includes"),
    ("examples/demo_host.cpp", '"../src/res/resource.h"', "the program layer includes"),
    ("apps/qorcolor-view/main.cpp", '"../../src/canvas/dib.h"', "the program layer includes"),
]


def run_check(root):
    return subprocess.run([sys.executable, str(CHECK), str(root)], capture_output=True, text=True)


def copy_tree(to):
    for folder in ("src", "include", "apps", "examples"):
        if (ROOT / folder).is_dir():
            shutil.copytree(ROOT / folder, to / folder)


def main():
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        tmp = pathlib.Path(tmp)
        copy_tree(tmp)
        clean = run_check(tmp)
        if clean.returncode != 0:
            failures.append("the unchanged sources fail:\n" + clean.stderr)
        for file, include, message in PLANTED:
            path = tmp / file
            original = path.read_text()
            path.write_text(f"#include {include}\n" + original)
            result = run_check(tmp)
            path.write_text(original)
            if result.returncode == 0 or message not in result.stderr:
                failures.append(f"an include of {include} in {file} passed")

        # A call from the view into the histogram engine, seen in the objects.
        (tmp / "obj/src/view").mkdir(parents=True)
        (tmp / "obj/src/histogram").mkdir(parents=True)
        callee = tmp / "obj/src/histogram/count.cpp"
        caller = tmp / "obj/src/view/draw.cpp"
        callee.write_text("int CountBins(int n) { return n * 2; }\n")
        caller.write_text("int CountBins(int n);\nint Draw() { return CountBins(3); }\n")
        objects = []
        for source in (callee, caller):
            subprocess.run(["c++", "-c", str(source), "-o", str(source) + ".o"], check=True)
            objects.append(str(source) + ".o")
        calls = subprocess.run([sys.executable, str(CHECK), "--objects", *objects], capture_output=True, text=True)
        if calls.returncode == 0 or "the view layer calls CountBins" not in calls.stderr:
            failures.append("a call from the view into the histogram passed:\n" + calls.stderr)
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

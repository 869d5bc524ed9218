// qorcolor-view: a small volume viewer that paints a NIfTI-1 image through
// the colour table window, live.
//
//   qorcolor-view [--out folder] [--seconds s] [file.nii | file.nii.gz]
//
// On Windows and on a Linux desktop it shows an image window beside the
// colour table window; with --out, or without a display, Linux writes
// pictures instead. With no file it shows a generated head phantom. A file
// that cannot be read ends the program with a message and exit code 1.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "front_end.h"
#include "phantom.h"

namespace {

// Reads the file (or makes the phantom) and runs the viewer on it.
int View(qview::Viewer& viewer, const std::string& path, const qview::Options& options) {
    if (path.empty()) {
        viewer.volume = qview::MakePhantom();
        viewer.name = "phantom";
    } else {
        std::string error;
        if (!nifti::ReadNiftiFile(path, viewer.volume, error)) {
            std::fprintf(stderr, "qorcolor-view: %s: %s\n", path.c_str(), error.c_str());
            return 1;
        }
        viewer.name = qview::NameOf(path);
    }
    return qview::RunFrontEnd(viewer, options);
}

}  // namespace

int main(int argc, char** argv) {
    qview::Options options;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
            options.outFolder = argv[++i];
            options.pictures = true;
        } else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            options.seconds = std::atof(argv[++i]);
        } else if (argv[i][0] == '-' && argv[i][1] == '-') {
            std::fprintf(stderr,
                         "usage: qorcolor-view [--out folder] [--seconds s] [file.nii | file.nii.gz]\n");
            return 2;
        } else {
            path = argv[i];
        }
    }
    qview::Viewer viewer;
    try {
        return View(viewer, path, options);
    } catch (const std::bad_alloc&) {
        // The reader refuses what it cannot hold; this is the window's and the painter's share.
        std::fprintf(stderr, "qorcolor-view: %s: out of memory showing a volume of %zu bytes\n",
                     path.empty() ? "phantom" : path.c_str(), viewer.volume.voxels.size());
        return 1;
    }
}

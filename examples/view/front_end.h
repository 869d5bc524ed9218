// The image side of the viewer on this platform.
//
// Structs: Options
// Functions: RunFrontEnd
//
// Windows shows the slice in a window of its own beside the colour table
// window. Without a desktop window (Linux for now) the viewer runs headless:
// it makes a scripted threshold change and writes a picture of both windows.
// A desktop front end for Linux implements RunFrontEnd in a file of its own.
#pragma once

#include <string>

#include "viewer.h"

namespace view {

struct Options {
    std::string outFolder = ".";  // where headless runs write viewer-<name>.png
    double seconds = 0;           // close the window after this long; 0 waits for the user
};

// Opens the viewer in the colour table window and runs until it is done;
// returns the exit code.
int RunFrontEnd(Viewer& viewer, const Options& options);

}  // namespace view

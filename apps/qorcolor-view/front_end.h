// The image side of the viewer on this platform.
//
// Structs: Options
// Functions: RunFrontEnd, RunHeadless
//
// Windows, and Linux on a desktop with GTK, show the slice in a window of
// its own beside the colour table window. Otherwise the viewer runs
// headless: it makes a scripted threshold change and writes a picture of
// both windows.
#pragma once

#include <string>

#include "viewer.h"

namespace qview {

struct Options {
    std::string outFolder = ".";  // where headless runs write viewer-<name>.png
    bool pictures = false;        // --out given: write the pictures, even on a desktop
    double seconds = 0;           // close the window after this long; 0 waits for the user
};

// Opens the viewer in the colour table window and runs until it is done;
// returns the exit code.
int RunFrontEnd(Viewer& viewer, const Options& options);
// The headless run (Linux): opens the viewer, drives the window, writes the picture.
int RunHeadless(Viewer& viewer, const Options& options);

}  // namespace qview

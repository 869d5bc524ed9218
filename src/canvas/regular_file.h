// Opens colour table files without ever waiting: a FIFO, a device or a
// directory chosen in a file dialog is refused before a byte is read or
// written, so the window's thread cannot block on it.
#pragma once

#include <cstdio>

// A stream on the regular file at `path`, read ("rb") or written from the
// start ("w"); null for anything else or when it cannot be opened.
std::FILE* OpenRegularFile(const char* path, bool write);

// Reads the bytes of a colour table file, deciding its form by content alone.
//
// Text: whitespace, comma, semicolon or tab separated numbers, CRLF or LF,
// an optional UTF-8 byte-order mark, `#` comments and one optional first
// line that is not numeric (a column title line). Columns: 3 = r g b; 4 =
// index r g b when the first column counts 0, 1, 2 ..., otherwise r g b a,
// unless the title line's first word names the column (index, idx, r, red);
// rows i i i c fit both readings and are refused without such a line;
// 5 = index r g b a. Values are 0..255, integers or decimals; when every
// colour value is at most 1 and one is written with a point or an exponent,
// the table is on 0..1 and is scaled to 0..255. In a line with semicolons a
// comma is a decimal mark.
// C header: the array of 0xAARRGGBB words that the header writer produces.
// Binary: 768 bytes of 256 reds, 256 greens, 256 blues (always planar: an
// interleaved table of that size cannot be told apart from it), or a 32-byte
// header starting "ICOL" with a big-endian count at bytes 6..7, then the
// planar tables of that count.
//
// Text is tried first: a file is binary only when it is no text table, and a
// 768-byte file of text characters that is no table is refused rather than
// read as bytes. A UTF-8 or UTF-16 byte-order mark means text.
// The colour map forms of other tools (color_map_reader.h) are read too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Fills `table` with 256 entries of B, G, R, A (1024 bytes) and returns true;
// a table of another length (2 to CDIB::kMaxFileEntries entries) is
// resampled to the nearest entries and entries without alpha get 255.
// Returns false and leaves `table` untouched for anything else.
bool ReadColorTable(std::string_view bytes, unsigned char* table);
// As above; on refusal `reason` (when not null) says why, in words for the user.
bool ReadColorTable(std::string_view bytes, unsigned char* table, std::string* reason);
// The file at `path` read as above; a file that cannot be read is refused too.
bool ReadColorTableFile(const char* path, unsigned char* table, std::string& reason);

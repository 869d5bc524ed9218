// The colour map forms of other tools, for the colour table reader: each
// parser takes the whole file and gives 256 entries, or refuses it with a
// reason. A parser that does not recognise its form leaves `reason` empty;
// one that recognises it but finds it malformed says why.
//
// JSON preset: an array of objects (the first is read) or one object;
//   "RGBPoints" x,r,g,b... on 0..1, "Points" x,o,mid,sharpness... optional.
// XML colour map: <ColorMap><Point x= o= r= g= b=/>...</ColorMap>, 0..1.
// .clut: [INT] numnodes, [BYT] nodeintensityI, [RGBA255] nodergbaI=R|G|B|A.
// .cmap: lines of "r g b" on 0..1.
// Tagged text: a "* s=byte..." line, then "S index r g b" lines (0..255).
// Labels: "index name r g b a" lines (0..255); missing indices are black.
// Point lists are resampled linearly over their x range to 256 entries.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace color_map {

using Entry = std::array<unsigned char, 4>;  // B, G, R, A as in a table
using Entries = std::vector<Entry>;

bool ParseJsonPreset(std::string_view text, Entries& entries, std::string& reason);
bool ParseXmlColorMap(std::string_view text, Entries& entries, std::string& reason);
bool ParseClut(std::string_view text, Entries& entries, std::string& reason);
bool ParseCmap(std::string_view text, Entries& entries, std::string& reason);
bool ParseTaggedText(std::string_view text, Entries& entries, std::string& reason);
bool ParseLabelTable(std::string_view text, Entries& entries, std::string& reason);

}  // namespace color_map

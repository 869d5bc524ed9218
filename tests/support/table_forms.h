// Colour table files in every form the reader takes, and files it must
// refuse, for the canvas tests and the right-click tests alike, with the
// file helpers both use.
#pragma once

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace table_forms {

inline std::string Temp(const std::string& name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

// A file's text with carriage returns dropped, so that both systems' line ends compare alike.
inline std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

inline void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

using Entry = std::array<unsigned char, 4>;  // B, G, R, A as in a table

// Entry i of n in the reference table: red falls, green rises, blue and
// alpha hop, so that no colour column counts 0, 1, 2 ... and a swap shows.
inline Entry Reference(int n, int i) {
    const int up = i * 255 / (n - 1);
    return {static_cast<unsigned char>(i * 37 % 256), static_cast<unsigned char>(up),
            static_cast<unsigned char>(255 - up), static_cast<unsigned char>((i * 11 + 3) % 256)};
}

// The 256 entries a table of n reference entries reads as: each the nearest
// source entry; alpha 255 when the file has none.
inline std::vector<unsigned char> Expected(int n, bool alpha) {
    std::vector<unsigned char> table;
    for (int i = 0; i < 256; ++i) {
        Entry e = Reference(n, (i * (n - 1) + 127) / 255);
        if (!alpha) e[3] = 255;
        table.insert(table.end(), e.begin(), e.end());
    }
    return table;
}

struct File {
    const char* name;
    std::string bytes;
    int entries = 0;  // 0 for a file that must be refused
    bool alpha = false;
};

enum class Columns { kRgb, kIndexRgb, kRgba, kIndexRgba };

struct TextForm {
    const char* name;
    const char* head;  // before the first row
    Columns columns;
    const char* separator;
    const char* eol;
    const char* number;  // printf format of one colour value
    bool unit = false;   // values on 0..1
    int entries = 256;
    bool decimalComma = false;
    size_t padTo = 0;  // a trailing comment fills the file to this size
};

inline std::string Text(const TextForm& f) {
    const bool index = f.columns == Columns::kIndexRgb || f.columns == Columns::kIndexRgba;
    const bool alpha = f.columns == Columns::kRgba || f.columns == Columns::kIndexRgba;
    std::string text = f.head;
    for (int i = 0; i < f.entries; ++i) {
        const Entry e = Reference(f.entries, i);
        const int values[] = {e[2], e[1], e[0], e[3]};
        if (index) text += std::to_string(i) + f.separator;
        for (int c = 0; c < (alpha ? 4 : 3); ++c) {
            char number[40];
            std::snprintf(number, sizeof number, f.number, f.unit ? values[c] / 255.0 : values[c]);
            std::string value = number;
            if (f.decimalComma) std::replace(value.begin(), value.end(), '.', ',');
            text += value + (c + 1 < (alpha ? 4 : 3) ? f.separator : f.eol);
        }
    }
    if (f.padTo > text.size()) text.append(1, '#').append(f.padTo - text.size() - 1, '-');
    return text;
}

// Planar reds, greens, blues of n reference entries after `head`.
inline std::string Planar(int n, std::string head = "") {
    std::string bytes = head + std::string(3 * static_cast<size_t>(n), '\0');
    for (int i = 0; i < n; ++i)
        for (int c = 0; c < 3; ++c)
            bytes[head.size() + c * n + i] = static_cast<char>(Reference(n, i)[2 - c]);
    return bytes;
}

// The 32-byte "ICOL" header stating `count` entries (big-endian at 6..7).
inline std::string NihHeader(int count) {
    std::string head(32, '\0');
    head.replace(0, 4, "ICOL");
    head[5] = 1, head[6] = static_cast<char>(count >> 8), head[7] = static_cast<char>(count & 0xFF);
    return head;
}

// ASCII text as UTF-16 after its byte-order mark.
inline std::string Utf16(const std::string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : text) bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return bytes;
}

inline std::vector<File> Readable() {
    using C = Columns;
    const TextForm forms[] = {
        {"r g b, spaces, tabs, commas, CRLF", "", C::kRgb, " ,\t", "\r\n", "%.0f"},
        {"index r g b", "", C::kIndexRgb, " ", "\n", "%.0f"},
        {"768-byte text with a header line", "Red Green Blue\n", C::kRgb, " ", "\n", "%.0f", false, 16, false,
         768},
        {"header Index Red Green Blue", "Index\tRed\tGreen\tBlue\n", C::kIndexRgb, "\t", "\n", "%.0f"},
        {"index r g b a", "", C::kIndexRgba, " ", "\n", "%.0f", false, 100},
        {"r g b a", "", C::kRgba, " ", "\n", "%.0f"},
        {"0-1 r g b", "", C::kRgb, " ", "\n", "%.6f", true},
        {"0-1 r g b a, exponents", "", C::kRgba, " ", "\n", "%.18e", true},
        {"byte-order mark, semicolons", "\xEF\xBB\xBF", C::kRgb, ";", "\r\n", "%.0f"},
        {"decimal commas between semicolons", "", C::kRgb, "; ", "\n", "%.5f", true, 256, true},
        {"comments, 2000 entries", "# by hand\n\n", C::kRgb, " ", " # entry\n", "%.0f", false, 2000},
    };
    std::vector<File> files;
    for (const TextForm& f : forms)
        files.push_back(
            {f.name, Text(f), f.entries, f.columns == Columns::kRgba || f.columns == Columns::kIndexRgba});
    files.push_back({"UTF-16 r g b", Utf16(files[0].bytes, false), 256});
    files.push_back({"768-byte binary", Planar(256), 256});
    files.push_back({"ICOL binary", Planar(256, NihHeader(256)), 256});
    files.push_back({"ICOL binary of 64", Planar(64, NihHeader(64)), 64});
    return files;
}

inline std::vector<File> Refused() {
    std::string tooMany, brokenText, grey;
    for (int i = 0; i <= 65536; ++i) tooMany += "1 2 3\n";
    while (brokenText.size() < 768) brokenText += "1 2 300\n";
    brokenText.resize(768);
    for (int i = 0; i < 256; ++i)
        grey += std::to_string(i) + " " + std::to_string(i) + " " + std::to_string(i) + " 255\n";
    return {
        {"i i i 255: index r g b or r g b a", grey},
        {"768-byte UTF-16 text that is no table", Utf16(brokenText.substr(0, 383), true)},
        {"empty", ""},
        {"comments only", "# nothing\n\n"},
        {"one entry", "1 2 3\n"},
        {"two columns", "1 2\n3 4\n"},
        {"six columns", "1 2 3 4 5 6\n1 2 3 4 5 6\n"},
        {"rows of 3 and 4", "1 2 3\n1 2 3 4\n"},
        {"above 255", "256 0 0\n0 0 0\n"},
        {"negative", "-1 0 0\n0 0 0\n"},
        {"a word after the header", "Red Green Blue\nred 0 0\n0 0 0\n"},
        {"nan", "nan 0 0\n0 0 0\n"},
        {"exponent overflow", "1e999 0 0\n0 0 0\n"},
        {"two points", "1.2.3 0 0\n0 0 0\n"},
        {"hex in text", "0x10 0 0\n0 0 0\n"},
        {"five columns not counting", "1 2 3 4 5\n1 2 3 4 5\n"},
        {"too many entries", tooMany},
        {"more than 4 MB", "0 0 0\n255 255 255\n" + std::string(4 << 20, '\n')},
        {"767-byte binary", Planar(256).substr(1)},
        {"769-byte binary", Planar(256) + '\1'},
        {"768 bytes of broken text", brokenText},
        {"ICOL of the wrong size", Planar(256, NihHeader(255))},
        {"ICOL of one entry", NihHeader(1) + "\1\2\3"},
        {"header of the wrong count", "static const unsigned int t[3] = {0x1, 0x2};\n"},
        {"header with a bad word", "static const unsigned int t[2] = {0x1, 0xg};\n"},
        {"header with a bare 0x", "static const unsigned int t[2] = {0x1, 0x};\n"},
        {"header without its end", "static const unsigned int t[2] = {0x1, 0x2}\n"},
    };
}

}  // namespace table_forms

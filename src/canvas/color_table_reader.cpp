// The colour table reader: each form has a parser that either takes the
// whole file or nothing, tried from the strictest reading of text to the
// binary forms that any bytes of the right size would fit.
//
// Index of this file:
// [SECTION] Text tables
// [SECTION] C header arrays
// [SECTION] Binary tables
// [SECTION] UTF-16 text
// [SECTION] Reading a table
#include "color_table_reader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "color_map_reader.h"
#include "dib.h"

namespace {

using Entry = std::array<unsigned char, 4>;  // B, G, R, A as in a table
using Entries = std::vector<Entry>;

constexpr size_t kEntries = CDIB::kBuiltInEntries;
constexpr size_t kMaxEntries = CDIB::kMaxFileEntries;
constexpr size_t npos = std::string_view::npos;
constexpr unsigned char kOpaque = 255;  // alpha of entries read without one
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

// An unsigned number that is all of `text`.
template <class T>
bool ParseWhole(std::string_view text, T& value, int base = 10) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size();
}

// [SECTION] Text tables

constexpr int kMaxColumns = 5;

// What a column title line says of the first column.
enum class FirstColumn { Unnamed, Index, Red };

struct TextTable {
    std::vector<std::array<double, kMaxColumns>> rows;
    int columns = 0;
    std::array<bool, kMaxColumns> decimal{};  // a value of the column written with a point or exponent
    FirstColumn first = FirstColumn::Unnamed;
};

// Takes the next line holding more than blanks, its `#` comment cut off,
// from the front of `text`; false when there is none.
bool NextLine(std::string_view& text, std::string_view& line) {
    while (!text.empty()) {
        const size_t end = text.find('\n');
        line = text.substr(0, end);
        text.remove_prefix(end == npos ? text.size() : end + 1);
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t\r") != npos) return true;
    }
    return false;
}

// A non-negative decimal number such as 12, 0.5, .25 or 1.0e-01; a comma
// stands for the point when `decimalComma` is set.
bool ParseNumber(std::string_view token, bool decimalComma, double& value, bool& decimal) {
    char text[64];
    if (token.size() >= sizeof text || !(std::isdigit(Byte(token[0])) || token[0] == '.')) return false;
    for (size_t i = 0; i < token.size(); ++i) {
        const char c = token[i] == ',' && decimalComma ? '.' : token[i];
        if (!std::isdigit(Byte(c)) && std::string_view(".eE+-").find(c) == npos) return false;
        text[i] = c;
    }
    const auto [end, error] = std::from_chars(text, text + token.size(), value);
    decimal = decimal || token.find_first_of(".,eE") != npos;
    return error == std::errc() && end == text + token.size();
}

// The numbers of one line into `row`; false for a token that is no number
// or more than kMaxColumns of them.
bool ParseRow(std::string_view line, std::array<double, kMaxColumns>& row, int& count,
              std::array<bool, kMaxColumns>& decimal) {
    const bool decimalComma = line.find(';') != npos;
    const char* separators = decimalComma ? " \t\r;" : " \t\r;,";
    count = 0;
    for (size_t at = line.find_first_not_of(separators); at != npos;
         at = line.find_first_not_of(separators, at)) {
        const size_t end = std::min(line.find_first_of(separators, at), line.size());
        if (count == kMaxColumns ||
            !ParseNumber(line.substr(at, end - at), decimalComma, row[count], decimal[count]))
            return false;
        ++count;
        at = end;
    }
    return true;
}

// A line of column titles: words rather than numbers, printable text.
bool IsColumnTitleLine(std::string_view line) {
    std::array<double, kMaxColumns> row;
    std::array<bool, kMaxColumns> decimal{};
    int count = 0;
    const auto letter = [](char c) { return std::isalpha(Byte(c)) || Byte(c) >= 0x80; };
    const auto control = [](char c) { return Byte(c) < 0x20 && c != '\t' && c != '\r'; };
    return std::any_of(line.begin(), line.end(), letter) && std::none_of(line.begin(), line.end(), control) &&
           !ParseRow(line, row, count, decimal);
}

// The title line's first word, when it names the index or the red column.
FirstColumn FirstColumnNamed(std::string_view titles) {
    const size_t at = titles.find_first_not_of(" \t");
    std::string word;
    for (size_t i = at; i < titles.size() && std::isalpha(Byte(titles[i])); ++i)
        word += static_cast<char>(std::tolower(Byte(titles[i])));
    if (word == "index" || word == "idx") return FirstColumn::Index;
    if (word == "r" || word == "red") return FirstColumn::Red;
    return FirstColumn::Unnamed;
}

bool ParseTextRows(std::string_view text, TextTable& table) {
    if (text.starts_with(kUtf8Mark)) text.remove_prefix(kUtf8Mark.size());
    std::string_view rest = text, line;
    if (NextLine(rest, line) && IsColumnTitleLine(line)) {
        table.first = FirstColumnNamed(line);
        text = rest;
    }
    while (NextLine(text, line)) {
        auto& row = table.rows.emplace_back();
        int count = 0;
        if (table.rows.size() > kMaxEntries || !ParseRow(line, row, count, table.decimal)) return false;
        if (table.columns == 0) table.columns = count;
        if (count != table.columns) return false;
    }
    return table.columns >= 3;
}

// Whether column 0 counts 0, 1, 2 ...
bool CountsFromZero(const TextTable& table) {
    for (size_t i = 0; i < table.rows.size(); ++i)
        if (table.rows[i][0] != static_cast<double>(i)) return false;
    return true;
}

// Rows i i i c: the first three values equal, the last constant.
bool GreyRows(const TextTable& table) {
    const auto& rows = table.rows;
    return std::all_of(rows.begin(), rows.end(), [&](const auto& row) {
        return row[1] == row[0] && row[2] == row[0] && row[3] == rows[0][3];
    });
}

// Four columns are index r g b when the first counts 0, 1, 2 ... and r g b a
// otherwise, unless a title line names the first column. Counting grey rows
// read as a ramp ending in blue c as well as a grey ramp of alpha c (which
// older writers produced): that reading is refused.
bool HasIndexColumn(const TextTable& table, bool& index) {
    const bool counts = CountsFromZero(table);
    switch (table.first) {
        case FirstColumn::Red:
            index = false;
            return table.columns < 5;
        case FirstColumn::Index:
            index = table.columns > 3;
            return index && counts;
        case FirstColumn::Unnamed:
            break;
    }
    index = table.columns == 5 || (table.columns == 4 && counts);
    if (table.columns == 5) return counts;
    return !(index && GreyRows(table));
}

bool ParseText(std::string_view text, Entries& entries) {
    TextTable table;
    bool index = false;
    if (!ParseTextRows(text, table) || table.rows.size() < 2 || !HasIndexColumn(table, index)) return false;
    const int first = index ? 1 : 0;
    double highest = 0;
    bool decimal = false;
    for (int c = first; c < table.columns; ++c) {
        decimal = decimal || table.decimal[c];
        for (const auto& row : table.rows) highest = std::max(highest, row[c]);
    }
    if (highest > 255) return false;
    const double scale = decimal && highest <= 1 ? 255 : 1;
    const auto byte = [scale](double v) { return static_cast<unsigned char>(std::lround(v * scale)); };
    const bool alpha = table.columns - first == 4;
    for (const auto& row : table.rows) {
        const double* v = row.data() + first;
        entries.push_back({byte(v[2]), byte(v[1]), byte(v[0]), alpha ? byte(v[3]) : kOpaque});
    }
    return true;
}

// [SECTION] C header arrays

// The header writer's array: "... name[N] = {" and N words 0xAARRGGBB, then
// "};". Its brace is the file's last opening brace, so the comment above it
// (which holds the table's name) is never read.
bool ParseCArrayHeader(std::string_view text, Entries& entries) {
    const size_t open = text.rfind('{');
    if (open == npos) return false;
    std::string_view head = text.substr(0, open);
    const auto trimmed = [](std::string_view s) { return s.substr(0, s.find_last_not_of(" \t\r\n") + 1); };
    head = trimmed(head);
    if (!head.ends_with('=')) return false;
    head = trimmed(head.substr(0, head.size() - 1));
    const size_t bracket = head.rfind('[');
    size_t count = 0;
    if (!head.ends_with(']') || bracket == npos ||
        !ParseWhole(head.substr(bracket + 1, head.size() - bracket - 2), count) || count < 2 ||
        count > kMaxEntries)
        return false;

    std::string_view body = text.substr(open + 1);
    const size_t close = body.find('}');
    if (close == npos || trimmed(body.substr(close + 1)) != ";") return false;
    body = body.substr(0, close);
    constexpr const char* separators = " \t\r\n,";
    for (size_t at = body.find_first_not_of(separators); at != npos;
         at = body.find_first_not_of(separators, at)) {
        const size_t end = std::min(body.find_first_of(separators, at), body.size());
        const std::string_view word = body.substr(at, end - at);
        uint32_t value = 0;
        if (!word.starts_with("0x") || word.size() > 10 || entries.size() == count ||
            !ParseWhole(word.substr(2), value, 16))
            return false;
        entries.push_back({static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                           static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)});
        at = end;
    }
    return entries.size() == count;
}

// [SECTION] Binary tables

void ParsePlanar(std::string_view bytes, size_t count, Entries& entries) {
    for (size_t i = 0; i < count; ++i)
        entries.push_back({Byte(bytes[2 * count + i]), Byte(bytes[count + i]), Byte(bytes[i]), kOpaque});
}

// A 32-byte header of "ICOL", a version, the count, first and last index and
// filler (all big-endian), then the planar tables of that count.
bool ParseNih(std::string_view bytes, Entries& entries) {
    constexpr size_t kHeader = 32;
    if (bytes.size() < kHeader || !bytes.starts_with("ICOL")) return false;
    const size_t count = size_t(Byte(bytes[6])) << 8 | Byte(bytes[7]);
    if (count < 2 || bytes.size() != kHeader + 3 * count) return false;
    ParsePlanar(bytes.substr(kHeader), count, entries);
    return true;
}

// Text that failed to parse as a table: printable characters in lines.
bool LooksLikeText(std::string_view bytes) {
    const auto text = [](char c) { return Byte(c) >= 0x20 || c == '\t' || c == '\r' || c == '\n'; };
    return bytes.find('\n') != npos && std::all_of(bytes.begin(), bytes.end(), text);
}

bool ParseRawPlanar(std::string_view bytes, Entries& entries) {
    if (bytes.size() != 3 * kEntries || LooksLikeText(bytes)) return false;
    ParsePlanar(bytes, kEntries, entries);
    return true;
}

// [SECTION] UTF-16 text

// UTF-16 text after its byte-order mark, as ASCII; any other character
// becomes a letter, which only a title line or a comment can hold. False when
// the units are no text: a binary table may start with the same two bytes.
bool NarrowUtf16(std::string_view bytes, std::string& text) {
    const bool big = bytes.starts_with("\xFE\xFF");
    if ((!big && !bytes.starts_with("\xFF\xFE")) || bytes.size() % 2 != 0) return false;
    for (size_t i = 2; i < bytes.size(); i += 2) {
        const unsigned high = Byte(bytes[i + (big ? 0 : 1)]), low = Byte(bytes[i + (big ? 1 : 0)]);
        const unsigned unit = high << 8 | low;
        const bool ascii = (unit >= 0x20 && unit < 0x7F) || unit == '\t' || unit == '\r' || unit == '\n';
        if (!ascii && unit < 0xA0) return false;
        text += ascii ? static_cast<char>(unit) : 'x';
    }
    return true;
}

}  // namespace

// [SECTION] Reading a table

bool ReadColorTable(std::string_view bytes, unsigned char* table, std::string* reason) {
    std::string narrowed;
    const bool utf16 = NarrowUtf16(bytes, narrowed);
    if (utf16) bytes = narrowed;
    // Text that says it is text is never read as a binary table.
    const bool marked = utf16 || bytes.starts_with(kUtf8Mark);
    using Parser = bool (*)(std::string_view, Entries&, std::string&);
    // Lines of fractions go first, to be resampled linearly when not 256.
    constexpr Parser parsers[] = {
        color_map::ParseCmap,
        [](std::string_view b, Entries& e, std::string&) { return ParseText(b, e); },
        [](std::string_view b, Entries& e, std::string&) { return ParseCArrayHeader(b, e); },
        color_map::ParseClut,
        color_map::ParseJsonPreset,
        color_map::ParseXmlColorMap,
        color_map::ParseTaggedText,
        color_map::ParseLabelTable,
        [](std::string_view b, Entries& e, std::string&) { return ParseNih(b, e); },
        [](std::string_view b, Entries& e, std::string&) { return ParseRawPlanar(b, e); },
    };
    constexpr size_t kTextParsers = 8;
    Entries entries;
    std::string why, first;
    bool read = false;
    for (size_t i = 0; i < (marked ? kTextParsers : std::size(parsers)) && !read; ++i) {
        entries.clear();
        why.clear();
        read = parsers[i](bytes, entries, why);
        if (first.empty()) first = why;
    }
    if (!read && reason)
        *reason = first.empty() ? "not a colour table: no form the window reads fits the file" : first;
    if (!read || !table) return false;
    // Entry i of the 256 takes the source entry nearest to the same place.
    const size_t last = entries.size() - 1;
    for (size_t i = 0; i < kEntries; ++i)
        std::memcpy(table + 4 * i, entries[(i * last + (kEntries - 1) / 2) / (kEntries - 1)].data(), 4);
    return true;
}

bool ReadColorTable(std::string_view bytes, unsigned char* table) {
    return ReadColorTable(bytes, table, nullptr);
}

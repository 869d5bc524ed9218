// The colour map forms of other tools. Each parser first decides whether the
// text is its form at all (so that its refusal reason is only given for its
// own files), then takes all of it or nothing.
//
// Index of this file:
// [SECTION] Resampling point lists
// [SECTION] Text helpers
// [SECTION] JSON
// [SECTION] JSON presets
// [SECTION] XML colour maps
// [SECTION] INI-style .clut
// [SECTION] Line forms (.cmap, tagged text, labels)
#include "color_map_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>

namespace color_map {

namespace {

constexpr size_t kEntries = 256;
constexpr size_t npos = std::string_view::npos;
constexpr int kMaxDepth = 32;        // JSON nesting; presets need three
constexpr size_t kMaxNodes = 65536;  // far above any real colour map

// [SECTION] Resampling point lists

struct Knot {
    double x, v;
};
using Channel = std::array<double, kEntries>;

// Entry i sits at x0 + (x1 - x0) * i / 255 and takes the straight line
// between the knots around it; beyond the ends, the end knot's value.
Channel Sample(std::vector<Knot> knots, double x0, double x1) {
    std::stable_sort(knots.begin(), knots.end(), [](const Knot& a, const Knot& b) { return a.x < b.x; });
    Channel out{};
    for (size_t i = 0; i < kEntries; ++i) {
        const double t = static_cast<double>(i) / (kEntries - 1);
        const double x = x0 * (1 - t) + x1 * t;  // no overflow for ranges near the largest doubles
        const auto above = std::lower_bound(knots.begin(), knots.end(), x,
                                            [](const Knot& k, double at) { return k.x < at; });
        if (above == knots.end()) {
            out[i] = knots.back().v;
        } else if (above == knots.begin() || above->x == x) {
            out[i] = above->v;
        } else {
            const Knot& below = *(above - 1);
            out[i] = below.v + (above->v - below.v) * (x - below.x) / (above->x - below.x);
        }
    }
    return out;
}

// Extreme points can make a value infinite or NaN: those become 0.
unsigned char ToByte(double v) {
    return std::isfinite(v) ? static_cast<unsigned char>(std::lround(std::clamp(v, 0.0, 255.0))) : 0;
}

Entries FromChannels(const Channel& r, const Channel& g, const Channel& b, const Channel& a) {
    Entries entries(kEntries);
    for (size_t i = 0; i < kEntries; ++i)
        entries[i] = {ToByte(b[i]), ToByte(g[i]), ToByte(r[i]), ToByte(a[i])};
    return entries;
}

// Points of x and four channels on 0..255, over their own x range.
Entries FromPoints(const std::vector<std::array<double, 5>>& points) {
    std::array<std::vector<Knot>, 4> knots;
    double x0 = points[0][0], x1 = x0;
    for (const auto& p : points) {
        x0 = std::min(x0, p[0]);
        x1 = std::max(x1, p[0]);
        for (size_t c = 0; c < 4; ++c) knots[c].push_back({p[0], p[c + 1]});
    }
    return FromChannels(Sample(knots[0], x0, x1), Sample(knots[1], x0, x1), Sample(knots[2], x0, x1),
                        Sample(knots[3], x0, x1));
}

// [SECTION] Text helpers

bool Number(std::string_view text, double& value) {
    if (text.starts_with('+')) text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

bool Byte255(std::string_view text, double& value) {
    int v = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    value = v;
    return error == std::errc() && end == text.data() + text.size() && v >= 0 && v <= 255;
}

std::string_view Trim(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t\r\n");
    if (first == npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

std::string_view WithoutMark(std::string_view text) {
    return text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text;
}

// The lines of `text` holding more than blanks, `#` comments cut off.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end).substr(0, text.substr(0, end).find('#')));
        text.remove_prefix(end == npos ? text.size() : end + 1);
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    for (size_t at = line.find_first_not_of(" \t"); at != npos; at = line.find_first_not_of(" \t", at)) {
        const size_t end = std::min(line.find_first_of(" \t", at), line.size());
        tokens.push_back(line.substr(at, end - at));
        at = end;
    }
    return tokens;
}

bool Refuse(std::string& reason, const std::string& why) {
    reason = "not a colour table: " + why;
    return false;
}

// [SECTION] JSON

struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    double number = 0;
    std::string text;
    std::vector<Json> items;        // array items, or object values
    std::vector<std::string> keys;  // object keys, one per item

    const Json* Member(std::string_view key) const {
        if (kind != Kind::Object) return nullptr;
        for (size_t i = 0; i < keys.size(); ++i)
            if (keys[i] == key) return &items[i];
        return nullptr;
    }
};

struct Cursor {
    std::string_view s;
    size_t at = 0;

    void SkipSpace() {
        while (at < s.size() && std::string_view(" \t\r\n").find(s[at]) != npos) ++at;
    }
    bool Take(char c) {
        if (at >= s.size() || s[at] != c) return false;
        ++at;
        return true;
    }
    bool IsDigit() const { return at < s.size() && s[at] >= '0' && s[at] <= '9'; }
    bool Digits() {
        const size_t from = at;
        while (IsDigit()) ++at;
        return at > from;
    }
};

bool ParseValue(Cursor& c, Json& out, int depth);

// -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
bool ParseJsonNumber(Cursor& c, Json& out) {
    const size_t from = c.at;
    c.Take('-');
    if (!c.Take('0') && !c.Digits()) return false;
    if (c.Take('.') && !c.Digits()) return false;
    if (c.Take('e') || c.Take('E')) {
        if (!c.Take('+')) c.Take('-');
        if (!c.Digits()) return false;
    }
    out.kind = Json::Kind::Number;
    return Number(c.s.substr(from, c.at - from), out.number);
}

bool ParseJsonString(Cursor& c, std::string& out) {
    if (!c.Take('"')) return false;
    while (c.at < c.s.size()) {
        const char ch = c.s[c.at++];
        if (ch == '"') return true;
        if (static_cast<unsigned char>(ch) < 0x20) return false;
        if (ch != '\\') {
            out += ch;
            continue;
        }
        if (c.at >= c.s.size()) return false;
        const char escape = c.s[c.at++];
        if (escape == 'u') {
            if (c.at + 4 > c.s.size()) return false;
            unsigned unit = 0;
            const auto [end, error] = std::from_chars(c.s.data() + c.at, c.s.data() + c.at + 4, unit, 16);
            if (error != std::errc() || end != c.s.data() + c.at + 4) return false;
            c.at += 4;
            out += unit < 0x80 ? static_cast<char>(unit) : '?';
        } else {
            const size_t k = std::string_view("\"\\/bfnrt").find(escape);
            if (k == npos) return false;
            out += "\"\\/\b\f\n\r\t"[k];
        }
    }
    return false;
}

// Items separated by commas up to `close`; `member` reads one item.
template <class Item>
bool ParseSequence(Cursor& c, char close, Item member) {
    c.SkipSpace();
    if (c.Take(close)) return true;
    do {
        if (!member()) return false;
        c.SkipSpace();
    } while (c.Take(','));
    return c.Take(close);
}

bool ParseValue(Cursor& c, Json& out, int depth) {
    c.SkipSpace();
    if (depth > kMaxDepth || c.at >= c.s.size()) return false;
    const std::string_view rest = c.s.substr(c.at);
    for (const auto& [word, kind] :
         {std::pair{"true", Json::Kind::Bool}, std::pair{"false", Json::Kind::Bool},
          std::pair{"null", Json::Kind::Null}})
        if (rest.starts_with(word)) {
            c.at += std::string_view(word).size();
            out.kind = kind;
            return true;
        }
    if (c.Take('[')) {
        out.kind = Json::Kind::Array;
        return ParseSequence(c, ']', [&] { return ParseValue(c, out.items.emplace_back(), depth + 1); });
    }
    if (c.Take('{')) {
        out.kind = Json::Kind::Object;
        return ParseSequence(c, '}', [&] {
            c.SkipSpace();
            if (!ParseJsonString(c, out.keys.emplace_back())) return false;
            c.SkipSpace();
            return c.Take(':') && ParseValue(c, out.items.emplace_back(), depth + 1);
        });
    }
    if (rest[0] == '"') {
        out.kind = Json::Kind::String;
        return ParseJsonString(c, out.text);
    }
    return ParseJsonNumber(c, out);
}

// [SECTION] JSON presets

// A list of numbers in groups of four, or false.
bool Quads(const Json* list, std::vector<double>& values) {
    if (!list || list->kind != Json::Kind::Array || list->items.empty() || list->items.size() % 4 != 0)
        return false;
    for (const Json& item : list->items) {
        if (item.kind != Json::Kind::Number) return false;
        values.push_back(item.number);
    }
    return true;
}

}  // namespace

bool ParseJsonPreset(std::string_view text, Entries& entries, std::string& reason) {
    text = Trim(WithoutMark(text));
    if (!text.starts_with('{') && !text.starts_with('[')) return false;
    Cursor cursor{text};
    Json root;
    if (!ParseValue(cursor, root, 0) || (cursor.SkipSpace(), cursor.at != text.size()))
        return Refuse(reason, "malformed JSON near byte " + std::to_string(cursor.at));
    const Json* preset = root.kind == Json::Kind::Array && !root.items.empty() ? &root.items[0] : &root;
    std::vector<double> rgb, opacity;
    if (!Quads(preset->Member("RGBPoints"), rgb))
        return Refuse(reason, "JSON without a preset of RGBPoints in groups of x, r, g, b");
    const Json* points = preset->Member("Points");
    if (points && !Quads(points, opacity))
        return Refuse(reason, "JSON preset whose Points are not groups of x, opacity, midpoint, sharpness");
    std::array<std::vector<Knot>, 4> knots;
    double x0 = rgb[0], x1 = rgb[0];
    for (size_t i = 0; i < rgb.size(); i += 4) {
        x0 = std::min(x0, rgb[i]);
        x1 = std::max(x1, rgb[i]);
        for (size_t c = 0; c < 3; ++c) knots[c].push_back({rgb[i], 255 * rgb[i + 1 + c]});
    }
    for (size_t i = 0; i < opacity.size(); i += 4) knots[3].push_back({opacity[i], 255 * opacity[i + 1]});
    if (knots[3].empty()) knots[3].push_back({x0, 255});
    entries = FromChannels(Sample(knots[0], x0, x1), Sample(knots[1], x0, x1), Sample(knots[2], x0, x1),
                           Sample(knots[3], x0, x1));
    return true;
}

// [SECTION] XML colour maps

namespace {

// The attributes of one element, from after its name to its "/>" or ">".
bool ParseAttributes(std::string_view& rest,
                     std::vector<std::pair<std::string_view, std::string_view>>& out) {
    for (;;) {
        rest = rest.substr(std::min(rest.find_first_not_of(" \t\r\n"), rest.size()));
        if (rest.starts_with("/>") || rest.starts_with('>')) {
            rest.remove_prefix(rest[0] == '/' ? 2 : 1);
            return true;
        }
        const size_t eq = rest.find('=');
        if (eq == npos || eq == 0) return false;
        const std::string_view name = Trim(rest.substr(0, eq));
        rest = rest.substr(std::min(rest.find_first_not_of(" \t\r\n", eq + 1), rest.size()));
        if (rest.empty() || (rest[0] != '"' && rest[0] != '\'')) return false;
        const size_t close = rest.find(rest[0], 1);
        if (close == npos || name.find_first_of(" \t\r\n<>/") != npos) return false;
        out.emplace_back(name, rest.substr(1, close - 1));
        rest.remove_prefix(close + 1);
    }
}

// One <Point .../>: x, r, g, b and an optional o, all 0..1.
bool ParsePoint(std::string_view& rest, std::array<double, 5>& point) {
    std::vector<std::pair<std::string_view, std::string_view>> attributes;
    if (!ParseAttributes(rest, attributes)) return false;
    point = {NAN, NAN, NAN, NAN, 1.0};
    constexpr std::string_view kNames[] = {"x", "r", "g", "b", "o"};
    for (const auto& [name, value] : attributes)
        for (size_t k = 0; k < std::size(kNames); ++k)
            if (name == kNames[k] && !Number(value, point[k])) return false;
    if (std::any_of(point.begin(), point.end(), [](double v) { return std::isnan(v); })) return false;
    for (size_t k = 1; k < 5; ++k) point[k] *= 255;
    return true;
}

}  // namespace

bool ParseXmlColorMap(std::string_view text, Entries& entries, std::string& reason) {
    const size_t open = text.find("<ColorMap");
    if (open == npos) return false;
    std::string_view rest = text.substr(open + 9);
    std::vector<std::pair<std::string_view, std::string_view>> ignored;
    if (!ParseAttributes(rest, ignored))
        return Refuse(reason, "XML colour map with a malformed <ColorMap> tag");
    std::vector<std::array<double, 5>> points;
    for (;;) {
        rest = rest.substr(std::min(rest.find_first_not_of(" \t\r\n"), rest.size()));
        if (rest.starts_with("</ColorMap>")) break;
        if (!rest.starts_with("<Point") || points.size() == kMaxNodes)
            return Refuse(reason, "XML colour map with something other than <Point .../> inside");
        rest.remove_prefix(6);
        if (!ParsePoint(rest, points.emplace_back()))
            return Refuse(reason, "XML colour map with a <Point> lacking numbers x, r, g, b");
    }
    if (points.empty()) return Refuse(reason, "XML colour map without points");
    entries = FromPoints(points);
    return true;
}

// [SECTION] INI-style .clut

namespace {

using Keys = std::vector<std::pair<std::string, std::string_view>>;  // "SECTION/key", value

bool ParseIni(std::string_view text, Keys& keys) {
    std::string section;
    for (std::string_view line : Lines(WithoutMark(text))) {
        if (line.starts_with(';')) continue;
        if (line.starts_with('[') && line.ends_with(']')) {
            section = std::string(line.substr(1, line.size() - 2));
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == npos || section.empty() || keys.size() == 4 * kMaxNodes) return false;
        keys.emplace_back(section + "/" + std::string(Trim(line.substr(0, eq))), Trim(line.substr(eq + 1)));
    }
    return true;
}

const std::string_view* Find(const Keys& keys, const std::string& key) {
    for (const auto& [k, v] : keys)
        if (k == key) return &v;
    return nullptr;
}

// "R|G|B|A" of 0..255 each.
bool ParseRgba(std::string_view text, std::array<double, 5>& node) {
    for (size_t c = 1; c <= 4; ++c) {
        const size_t bar = c < 4 ? text.find('|') : text.size();
        if (bar == npos || !Byte255(Trim(text.substr(0, bar)), node[c])) return false;
        text.remove_prefix(std::min(bar + 1, text.size()));
    }
    return true;
}

}  // namespace

bool ParseClut(std::string_view text, Entries& entries, std::string& reason) {
    if (text.find("[INT]") == npos) return false;
    Keys keys;
    double count = 0;
    const std::string_view* numnodes = nullptr;
    if (!ParseIni(text, keys) || !(numnodes = Find(keys, "INT/numnodes")) || !Number(*numnodes, count) ||
        count < 1 || count > kMaxNodes || count != std::floor(count))
        return Refuse(reason, ".clut without a count of nodes in [INT] numnodes");
    std::vector<std::array<double, 5>> nodes(static_cast<size_t>(count));
    for (size_t i = 0; i < nodes.size(); ++i) {
        const std::string n = std::to_string(i);
        const std::string_view* at = Find(keys, "BYT/nodeintensity" + n);
        const std::string_view* rgba = Find(keys, "RGBA255/nodergba" + n);
        if (!at || !rgba || !Byte255(*at, nodes[i][0]) || !ParseRgba(*rgba, nodes[i]))
            return Refuse(reason, ".clut node " + n + " without an intensity and R|G|B|A of 0..255");
    }
    std::array<std::vector<Knot>, 4> knots;
    for (const auto& node : nodes)
        for (size_t c = 0; c < 4; ++c) knots[c].push_back({node[0], node[c + 1]});
    entries = FromChannels(Sample(knots[0], 0, 255), Sample(knots[1], 0, 255), Sample(knots[2], 0, 255),
                           Sample(knots[3], 0, 255));
    return true;
}

// [SECTION] Line forms (.cmap, tagged text, labels)

// Only lines of three numbers from 0 to 1, one written with a point: any
// other text is left to the other readers without a reason.
bool ParseCmap(std::string_view text, Entries& entries, std::string& /*reason*/) {
    const auto lines = Lines(WithoutMark(text));
    if (lines.size() < 2 || lines.size() > kMaxNodes) return false;
    std::vector<std::array<double, 5>> points;
    bool decimal = false;
    for (const std::string_view line : lines) {
        const auto tokens = Tokens(line);
        auto& p = points.emplace_back();
        p = {static_cast<double>(points.size() - 1), 0, 0, 0, 255};
        if (tokens.size() != 3) return false;
        for (size_t c = 0; c < 3; ++c) {
            if (!Number(tokens[c], p[c + 1]) || p[c + 1] < 0 || p[c + 1] > 1) return false;
            decimal = decimal || tokens[c].find('.') != npos;
            p[c + 1] *= 255;
        }
    }
    if (!decimal) return false;
    entries = FromPoints(points);
    return true;
}

namespace {

// Rows of an index (at token `index`) and r g b (a) bytes from token 2;
// indices missing are black and opaque, those of 256 and above are dropped.
bool PlaceIndexed(const std::vector<std::vector<std::string_view>>& rows, size_t index, bool alpha,
                  Entries& entries) {
    entries.assign(kEntries, {0, 0, 0, 255});
    for (const auto& row : rows) {
        std::array<double, 4> v{0, 0, 0, 255};
        size_t at = 0;
        const std::string_view number = row[index];
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), at);
        if (error != std::errc() || end != number.data() + number.size()) return false;
        for (size_t c = 0; c < (alpha ? 4u : 3u); ++c)
            if (!Byte255(row[2 + c], v[c])) return false;
        if (at < kEntries) entries[at] = {ToByte(v[2]), ToByte(v[1]), ToByte(v[0]), ToByte(v[3])};
    }
    return true;
}

}  // namespace

bool ParseTaggedText(std::string_view text, Entries& entries, std::string& reason) {
    const auto lines = Lines(WithoutMark(text));
    if (lines.empty() || !lines[0].starts_with("* s=byte")) return false;
    std::vector<std::vector<std::string_view>> rows;
    for (size_t i = 1; i < lines.size(); ++i) {
        rows.push_back(Tokens(lines[i]));
        if (rows.back().size() != 5 || rows.back()[0] != "S" || rows.size() > kMaxNodes)
            return Refuse(reason, "tagged colour text with a line other than S index r g b");
    }
    if (rows.empty() || !PlaceIndexed(rows, 1, false, entries))
        return Refuse(reason, "tagged colour text without S lines of an index and r g b of 0..255");
    return true;
}

bool ParseLabelTable(std::string_view text, Entries& entries, std::string& reason) {
    const auto lines = Lines(WithoutMark(text));
    double ignored = 0;
    if (lines.empty()) return false;
    const auto head = Tokens(lines[0]);
    if (head.size() != 6 || Number(head[1], ignored)) return false;
    std::vector<std::vector<std::string_view>> rows;
    for (const std::string_view line : lines) {
        rows.push_back(Tokens(line));
        if (rows.back().size() != 6 || rows.size() > kMaxNodes)
            return Refuse(reason, "label colour table with a line other than index name r g b a");
    }
    if (!PlaceIndexed(rows, 0, true, entries))
        return Refuse(reason, "label colour table without an index and r g b a of 0..255 on each line");
    return true;
}

}  // namespace color_map

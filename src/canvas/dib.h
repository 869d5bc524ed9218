// The canvas library.
//
// Classes: CDIB (24-bit offscreen canvas, drawing, built-in colour schemes,
// generated colour ramps, colour table files)
//
// Canvas rows count upward: row 0 is the bottom row, the one shown lowest
// when the canvas is copied to a device context. Colours are passed as red,
// green, blue bytes. Colour tables are arrays of 32-bit entries holding blue
// in the lowest byte, then green, red and alpha.
#pragma once

#include <cstdint>
#include <vector>

class CDC;

class CDIB {
public:
    static constexpr int kBuiltInCount = 28;
    static constexpr int kBuiltInEntries = 256;
    static constexpr int kMaxSide = 16384;

    CDIB();
    explicit CDIB(int kind);  // the view canvas is built with 1; the kind is not interpreted
    virtual ~CDIB();
    CDIB(const CDIB&) = delete;
    CDIB& operator=(const CDIB&) = delete;

    // Replaces the canvas by one of width x height black pixels; only 24 bits
    // per pixel are supported. Returns false (and leaves an empty canvas) for
    // a non-positive size, a side above kMaxSide, another depth or when the
    // memory cannot be had. `reserved` and `clear` are accepted and ignored.
    bool NewCreate(int width, int height, int bitsPerPixel, int reserved, int clear);
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

    void SetValueAll(unsigned char r, unsigned char g, unsigned char b);
    // Both end points are drawn; pixels outside the canvas are skipped.
    void Line(int x1, int y1, int x2, int y2, unsigned char r, unsigned char g, unsigned char b);
    // Outline of the rectangle between two corners, clipped to the canvas.
    void DrawRect(int x1, int y1, int x2, int y2, unsigned char r, unsigned char g, unsigned char b);
    // Raised square handle between two corners: light top and left edges, dark
    // bottom and right edges. Highlighted (state non-zero) it looks pressed: a
    // lighter face with the bevel inverted.
    void DrawButton(int x1, int y1, int x2, int y2, unsigned char r, unsigned char g, unsigned char b,
                    int state);
    // Triangular handle with its tip at (x, y): direction 1 points up (a
    // threshold handle under the histogram), 0 points down (an index handle
    // over the colour bar). Its body lies below the tip when pointing up, above
    // it otherwise (any direction but 1 points down); `size` rows deep, one
    // pixel wide at the tip and about `size` wide at the base. Highlighted
    // (state non-zero) it has a lighter face.
    void DrawTriButton(int x, int y, int size, unsigned char r, unsigned char g, unsigned char b,
                       int direction, int state);
    // Copies the canvas 1:1 to the device context with its top-left corner at
    // (x, y); width and height are limited to the canvas size.
    void Draw(CDC* dc, int x, int y, int width, int height) const;

    // Pixel access in canvas coordinates (row 0 at the bottom); 0 outside the
    // canvas. The result is 0x00RRGGBB.
    uint32_t GetPixel(int x, int y) const;
    const uint8_t* GetBits() const { return m_bits.data(); }  // rows bottom-up, B,G,R, 4-byte aligned
    int GetRowBytes() const { return m_rowBytes; }
    // Writes the canvas as an 8-bit RGB PNG file, top row first; returns false
    // for an empty canvas, a null path or a write failure.
    bool SavePng(const char* path) const;

    // Built-in schemes: 28 names and 28 tables of 256 entries each, alpha 255,
    // in static storage; index 10, "Gray", is the plain grey ramp. A null
    // `names` is ignored.
    static void GetBuildInColorName(char** names, int reserved);
    static unsigned char* GetBuildInColorTable();
    // Smooth rainbow-like ramp of `count` entries (alpha 255) shaped by the
    // saturation-like `s` and the hue span `span` (fraction of the colour circle).
    // The hue runs from `span` (blue for 2/3) at entry 0 down to 0 (red) at the
    // last entry, at saturation `s` (clamped to 0..1) and full value. Nothing is
    // written for a null table or a count below 1.
    static void GenColorTable(unsigned int* table, int count, float s, float span);
    // Reverses the order of the entries, so the first becomes the last; the
    // colours themselves are kept.
    static void InvertColorTable(unsigned int* table, int count);

    // Colour table files. Text files hold one entry per line in decimal:
    // "index R G B" (mode 4, the .lut variant) or "R G B" (any other mode); a
    // header file holds the table as a C array of 0xAARRGGBB words named after
    // the table. The writers return 1 when the whole file was written, 0
    // otherwise (null path or table, fewer than one entry, a write error).
    static int SaveColorTableToLutTxtFile(char* path, unsigned char* table, int entries, int mode);
    static int SaveColorTableToHeaderFile(char* path, char* name, unsigned char* table, int entries);
    // Reads a 256-entry table into `table` (1024 bytes, allocated with new[]
    // when null) and returns it; returns null and leaves the buffer as it was
    // when nothing could be read. The forms read are those of
    // color_table_reader.h, every file the writers produce among them; files
    // above 4 MB are refused.
    static unsigned char* OpenColorTableFromFile(char* path, unsigned char*& table);
    static constexpr int kMaxFileEntries = 65536;

private:
    // Both clip to the canvas; FillRect takes inclusive corners in any order.
    void PutPixel(int64_t x, int64_t y, uint8_t r, uint8_t g, uint8_t b);
    void FillRect(int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint8_t r, uint8_t g, uint8_t b);

    std::vector<uint8_t> m_bits;
    int m_width = 0;
    int m_height = 0;
    int m_rowBytes = 0;
};

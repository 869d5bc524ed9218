// Rectangle outlines.
#include "dib.h"

void CDIB::DrawRect(int x1, int y1, int x2, int y2, unsigned char r, unsigned char g, unsigned char b) {
    Line(x1, y1, x2, y1, r, g, b);
    Line(x2, y1, x2, y2, r, g, b);
    Line(x2, y2, x1, y2, r, g, b);
    Line(x1, y2, x1, y1, r, g, b);
}

// The dialog template of the colour table window, as data.
//
// Structs: DialogControl, DialogTemplate
// Data: g_colorTableTemplate (template 5008)
//
// Both backends build the dialog from this one declaration: the portable
// window system creates its controls from it, and the Windows build
// generates its resource script from it.
#pragma once

#include <cstdint>

// Window class of a control, as the dialog manager names it.
enum class ControlClass { Static, Edit, Button, ComboBox };

struct DialogControl {
    int id;  // control id, -1 for none
    ControlClass kind;
    uint32_t style;    // full window style, WS_CHILD | WS_VISIBLE included
    int x, y, cx, cy;  // dialog units
    const char* text;
    uint32_t exStyle = 0;  // extended window style
};

struct DialogTemplate {
    int id;
    uint32_t style;
    int cx, cy;  // dialog units
    const char* caption;
    const char* fontName;
    int fontPoints;
    const DialogControl* controls;
    int controlCount;
};

extern const DialogTemplate g_colorTableTemplate;

// The window class name a dialog template gives a control of this kind.
const char* ControlClassName(ControlClass kind);

// Finds a template by id; null when there is none.
const DialogTemplate* FindDialogTemplate(int id);

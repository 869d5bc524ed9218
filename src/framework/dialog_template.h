// Dialog templates as data, and the registry the framework finds them in.
//
// Structs: DialogControl, DialogTemplate
// Functions: ControlClassName, AfxRegisterDialogTemplate, FindDialogTemplate
//
// Both backends build a dialog from one such declaration: the portable window
// system creates its controls from it, and a Windows build generates its
// resource script from it. The product registers its templates before it
// creates a dialog; the framework itself knows none.
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

// The window class name a dialog template gives a control of this kind.
const char* ControlClassName(ControlClass kind);

// Makes `tmpl` findable by its id; the data must outlive every dialog made
// from it. Registering an id again replaces the earlier template.
void AfxRegisterDialogTemplate(const DialogTemplate& tmpl);

// Finds a registered template by id; null when there is none.
const DialogTemplate* FindDialogTemplate(int id);

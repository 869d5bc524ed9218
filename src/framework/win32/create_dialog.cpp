// Creating the modeless dialog: from the RT_DIALOG resource of the first
// module in the resource chain that holds the template, otherwise from an
// extended in-memory template built from the same data (executables that
// link the framework statically carry no resources).
#include <string>
#include <vector>

#include "../afx.h"
#include "../backend.h"

namespace {

// Class atoms of the predefined control classes in a dialog template.
WORD ClassAtom(ControlClass kind) {
    switch (kind) {
        case ControlClass::Button:
            return 0x0080;
        case ControlClass::Edit:
            return 0x0081;
        case ControlClass::ComboBox:
            return 0x0085;
        case ControlClass::Static:
            break;
    }
    return 0x0082;
}

// A dialog template is a stream of WORDs with DWORD-aligned records.
class TemplateWriter {
public:
    void Word(WORD w) { m_words.push_back(w); }
    void Dword(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Align() {
        if (m_words.size() % 2) Word(0);
    }
    void Text(const char* text) {
        const std::string s = text ? text : "";
        const int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
        std::wstring wide(static_cast<size_t>(n > 0 ? n : 1), L'\0');
        if (n > 0) MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, wide.data(), n);
        for (wchar_t c : wide) Word(static_cast<WORD>(c));  // includes the terminating NUL
    }
    const WORD* Data() const { return m_words.data(); }

private:
    std::vector<WORD> m_words;
};

void WriteHeader(TemplateWriter& w, const DialogTemplate& t) {
    w.Word(1);       // dlgVer
    w.Word(0xFFFF);  // signature of the extended form
    w.Dword(0);      // helpID
    w.Dword(0);      // exStyle
    w.Dword(t.style | DS_SETFONT);
    w.Word(static_cast<WORD>(t.controlCount));
    for (int v : {0, 0, t.cx, t.cy}) w.Word(static_cast<WORD>(v));
    w.Word(0);  // no menu
    w.Word(0);  // the dialog class
    w.Text(t.caption);
    w.Word(static_cast<WORD>(t.fontPoints));
    w.Word(FW_NORMAL);
    w.Word(0x0100);  // italic 0, charset DEFAULT_CHARSET
    w.Text(t.fontName);
}

void WriteControl(TemplateWriter& w, const DialogControl& c) {
    w.Align();
    w.Dword(0);  // helpID
    w.Dword(c.exStyle);
    w.Dword(c.style);
    for (int v : {c.x, c.y, c.cx, c.cy}) w.Word(static_cast<WORD>(v));
    w.Dword(static_cast<DWORD>(c.id));
    w.Word(0xFFFF);
    w.Word(ClassAtom(c.kind));
    w.Text(c.text);
    w.Word(0);  // no creation data
}

HWND CreateFromData(HINSTANCE instance, const DialogTemplate& tmpl, HWND parent, DLGPROC proc, LPARAM param) {
    TemplateWriter w;
    WriteHeader(w, tmpl);
    for (int i = 0; i < tmpl.controlCount; ++i) WriteControl(w, tmpl.controls[i]);
    return CreateDialogIndirectParamA(instance, reinterpret_cast<LPCDLGTEMPLATEA>(w.Data()), parent, proc,
                                      param);
}

// The dialog resource of a module, or null when the module has none.
LPCDLGTEMPLATEA FindTemplateResource(HINSTANCE module, int id) {
    if (!module) return nullptr;
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), RT_DIALOG);
    HGLOBAL data = info ? LoadResource(module, info) : nullptr;
    return data ? static_cast<LPCDLGTEMPLATEA>(LockResource(data)) : nullptr;
}

}  // namespace

namespace {

HWND CreateModeless(HINSTANCE resources, const DialogTemplate& tmpl, HWND parent, DLGPROC proc,
                    LPARAM param) {
    if (LPCDLGTEMPLATEA found = FindTemplateResource(resources, tmpl.id))
        return CreateDialogIndirectParamA(resources, found, parent, proc, param);
    const int count = AfxResourceChainCount();
    for (int i = 0; i < count; ++i) {
        HINSTANCE module = AfxResourceChainAt(i);
        if (LPCDLGTEMPLATEA found = FindTemplateResource(module, tmpl.id))
            return CreateDialogIndirectParamA(module, found, parent, proc, param);
    }
    return CreateFromData(resources ? resources : GetModuleHandleA(nullptr), tmpl, parent, proc, param);
}

}  // namespace

HWND BackendCreateDialog(HINSTANCE resources, const DialogTemplate& tmpl, HWND parent, DLGPROC proc,
                         LPARAM param) {
    HWND dialog = CreateModeless(resources, tmpl, parent, proc, param);
    BackendDialogCreated(dialog);
    return dialog;
}

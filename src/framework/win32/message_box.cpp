// The default message box: the real one.
#include "../backend.h"

int BackendMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    return MessageBoxA(owner, text ? text : "", caption ? caption : "", type);
}

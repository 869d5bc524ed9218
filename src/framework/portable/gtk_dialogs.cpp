// The desktop's message box and file dialog: GTK's own, modal to the
// desktop window of their owner, and ended as offscreen (OK, cancelled) when
// the display goes away meanwhile.
#include "window_system.h"

#if defined(QORCOLOR_HAVE_GTK)

#include <algorithm>

#include "gtk_desktop.h"

namespace portable {

bool DesktopMessageBox(HWND owner, const char* text, const char* caption, UINT type, int& answer) {
    if (!DesktopActive()) return false;
    const bool okCancel = (type & MB_TYPEMASK) == MB_OKCANCEL;
    const GtkMessageType kind =
        (type & MB_ICONMASK) == MB_ICONEXCLAMATION ? GTK_MESSAGE_WARNING : GTK_MESSAGE_INFO;
    GtkWidget* box = gtk_message_dialog_new(GtkWindowOf(owner), GTK_DIALOG_MODAL, kind,
                                            okCancel ? GTK_BUTTONS_OK_CANCEL : GTK_BUTTONS_OK, "%s", text);
    gtk_window_set_title(GTK_WINDOW(box), caption);
    const gint response = Ask(GTK_DIALOG(box));
    gtk_widget_destroy(box);
    if (DisplayLost()) return false;  // answered as offscreen
    // Closing a box that has no Cancel button answers OK, as Win32 does.
    answer = response == GTK_RESPONSE_OK || !okCancel ? IDOK : IDCANCEL;
    return true;
}

namespace {

// "Tables (*.lut)|*.lut|All files (*.*)|*.*||": a name, then patterns separated by ';'.
void AddFilters(GtkFileChooser* chooser, const char* filter) {
    std::vector<std::string> parts;
    std::string part;
    for (const char* c = filter ? filter : ""; *c; ++c) {
        if (*c != '|') {
            part += *c;
        } else {
            parts.push_back(part);
            part.clear();
        }
    }
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty()) break;
        GtkFileFilter* f = gtk_file_filter_new();
        gtk_file_filter_set_name(f, parts[i].c_str());
        size_t start = 0;
        const std::string& patterns = parts[i + 1];
        while (start <= patterns.size()) {
            const size_t end = std::min(patterns.find(';', start), patterns.size());
            if (end > start) gtk_file_filter_add_pattern(f, patterns.substr(start, end - start).c_str());
            start = end + 1;
        }
        gtk_file_chooser_add_filter(chooser, f);
    }
}

}  // namespace

bool DesktopFileDialog(bool open, const char* filter, DWORD flags, std::string& path, bool& chosen) {
    if (!DesktopActive()) return false;
    GtkWindow* owner = GtkWindowOf(GetFocus());
    GtkWidget* dialog = gtk_file_chooser_dialog_new(
        open ? "Open" : "Save As", owner, open ? GTK_FILE_CHOOSER_ACTION_OPEN : GTK_FILE_CHOOSER_ACTION_SAVE,
        "_Cancel", GTK_RESPONSE_CANCEL, open ? "_Open" : "_Save", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    AddFilters(chooser, filter);
    gtk_file_chooser_set_do_overwrite_confirmation(chooser, (flags & OFN_OVERWRITEPROMPT) != 0);
    if (!path.empty() && !open) gtk_file_chooser_set_current_name(chooser, path.c_str());
    chosen = Ask(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT && !DisplayLost();
    if (chosen) {
        gchar* name = gtk_file_chooser_get_filename(chooser);
        chosen = name != nullptr;
        if (name) path = name;
        g_free(name);
    }
    gtk_widget_destroy(dialog);
    return !DisplayLost();
}

}  // namespace portable

#else

namespace portable {

// Built without GTK: nothing to ask on.
bool DesktopMessageBox(HWND, const char*, const char*, UINT, int&) { return false; }
bool DesktopFileDialog(bool, const char*, DWORD, std::string&, bool&) { return false; }

}  // namespace portable

#endif

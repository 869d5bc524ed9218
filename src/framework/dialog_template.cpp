// The registry of dialog templates and the control class names.
#include "dialog_template.h"

#include <vector>

namespace {

std::vector<const DialogTemplate*>& Registry() {
    static std::vector<const DialogTemplate*> templates;
    return templates;
}

}  // namespace

const char* ControlClassName(ControlClass kind) {
    switch (kind) {
        case ControlClass::Edit:
            return "Edit";
        case ControlClass::Button:
            return "Button";
        case ControlClass::ComboBox:
            return "ComboBox";
        case ControlClass::Static:
            break;
    }
    return "Static";
}

void AfxRegisterDialogTemplate(const DialogTemplate& tmpl) {
    for (const DialogTemplate*& known : Registry()) {
        if (known->id == tmpl.id) {
            known = &tmpl;
            return;
        }
    }
    Registry().push_back(&tmpl);
}

const DialogTemplate* FindDialogTemplate(int id) {
    for (const DialogTemplate* known : Registry())
        if (known->id == id) return known;
    return nullptr;
}

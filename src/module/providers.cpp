// The exported providers of the modal questions: the framework's answerers
// under the library's C names, so that any compiler's host can install them.
#include <qorcolor/headless.h>

#include <type_traits>

#include "../framework/afx.h"

static_assert(std::is_same_v<QorMessageBoxProvider, AfxMessageBoxAnswerer>);
static_assert(std::is_same_v<QorFileDialogProvider, AfxFileDialogAnswerer>);

extern "C" QORCOLOR_API void QorSetMessageBoxProvider(QorMessageBoxProvider provider, void* context) {
    AfxSetMessageBoxAnswerer(provider, context);
}

extern "C" QORCOLOR_API void QorSetFileDialogProvider(QorFileDialogProvider provider, void* context) {
    AfxSetFileDialogAnswerer(provider, context);
}

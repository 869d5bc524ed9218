// CString: assignment, concatenation and printf-style formatting.
#include <cstdarg>
#include <cstdio>

#include "afx.h"

CString& CString::operator=(const char* text) {
    m_str = text ? text : "";
    return *this;
}

CString& CString::operator+=(const char* text) {
    if (text) m_str += text;
    return *this;
}

void CString::Format(const char* format, ...) {
    if (!format) {
        m_str.clear();
        return;
    }
    va_list args;
    va_start(args, format);
    va_list probe;
    va_copy(probe, args);
    const int length = std::vsnprintf(nullptr, 0, format, probe);
    va_end(probe);
    if (length < 0) {
        m_str.clear();
    } else {
        std::string text(static_cast<size_t>(length) + 1, '\0');
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<size_t>(length));
        m_str = std::move(text);
    }
    va_end(args);
}

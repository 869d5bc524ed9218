// CRuntimeClass: class hierarchy queries of the framework's classes.
#include "afx.h"

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* cls = this; cls; cls = cls->m_pBaseClass) {
        if (cls == base) return true;
    }
    return false;
}

// What an MSVC-built host expects beyond the names: its constructor call
// wants the object's address back in RAX, which a GCC constructor does not
// return. Exported under the MSVC constructor's name (exports.list).
#include <qorcolor/qorcolor.h>

#include <new>

#if defined(_WIN32)
extern "C" CQorColorDlg* QorMsvcConstruct(CQorColorDlg* self) { return new (self) CQorColorDlg(); }
#endif

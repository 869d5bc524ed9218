// The windowing framework layer: thin classes over the Win32 API in the shape
// the dialog needs, the same on both backends (see win_api.h for the seam).
//
// Classes: CString, CPoint, CRect, CRuntimeClass, CDC, CPaintDC, CClientDC,
// CWnd, CMenu, CDialog, CComboBox, CDataExchange, CFileDialog, CWinApp,
// AFX_MODULE_STATE, AFX_MAINTAIN_STATE2
// Routines: DDX_Text, DDX_Check, DDX_Control, DDV_MinMaxInt, AfxMessageBox
// Macros: message maps (BEGIN_MESSAGE_MAP ...), DECLARE_DYNAMIC, AFX_MANAGE_STATE
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "win_api.h"

class CWnd;
class CDataExchange;
class CWinApp;

// ---------------------------------------------------------------- CString
class CString {
public:
    CString() = default;
    CString(const char* text) : m_str(text ? text : "") {}  // NOLINT: implicit as in the framework
    CString(const std::string& text) : m_str(text) {}       // NOLINT

    CString& operator=(const char* text);
    CString& operator+=(const char* text);
    operator const char*() const { return m_str.c_str(); }  // NOLINT
    const char* GetString() const { return m_str.c_str(); }
    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const char* b) { return a.m_str == (b ? b : ""); }

private:
    std::string m_str;
};

// ---------------------------------------------------------------- CPoint, CRect
class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int px, int py) : POINT{px, py} {}
    bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const CPoint& o) const { return !(*this == o); }
};

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    BOOL PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    operator LPRECT() { return this; }             // NOLINT
    operator const RECT*() const { return this; }  // NOLINT
};

// ---------------------------------------------------------------- run-time class
struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    const CRuntimeClass* m_pBaseClass;
    bool IsDerivedFrom(const CRuntimeClass* base) const;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)
#define DECLARE_DYNAMIC(class_name)               \
public:                                           \
    static const CRuntimeClass class##class_name; \
    const CRuntimeClass* GetRuntimeClass() const override;
#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                    \
    const CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class_name), \
                                                         RUNTIME_CLASS(base_class_name)}; \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

// ---------------------------------------------------------------- message maps
// Each entry carries a small thunk that unpacks the message for its handler.
typedef LRESULT (*AFX_MSG_THUNK)(CWnd* target, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_*; WM_COMMAND entries also match nCode and nID ... nLastID
    UINT nCode;
    UINT nID;
    UINT nLastID;
    AFX_MSG_THUNK pfn;  // null ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                     \
protected:                                        \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
        typedef theClass ThisClass;                                                   \
        typedef baseClass TheBaseClass;                                               \
        static_assert(sizeof(ThisClass) > 0);                                         \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                         \
    { 0, 0, 0, 0, nullptr }                                                                       \
    }                                                                                             \
    ;                                                                                             \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                           \
    }

#define AFX_THUNK(body)                                       \
    [](CWnd* pWnd, WPARAM wParam, LPARAM lParam) -> LRESULT { \
        ThisClass* pThis = static_cast<ThisClass*>(pWnd);     \
        (void)pThis;                                          \
        (void)wParam;                                         \
        (void)lParam;                                         \
        body;                                                 \
    }
#define AFX_MOUSE_ENTRY(msg, handler)                                                     \
    {                                                                                     \
        msg, 0, 0, 0,                                                                     \
            AFX_THUNK(pThis->handler(static_cast<UINT>(wParam),                           \
                                     CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))); \
                      return 0)                                                           \
    }                                                                                     \
    ,
#define AFX_COMMAND_ENTRY(code, id, handler)                                               \
    {                                                                                      \
        WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), \
            AFX_THUNK(pThis->handler(); return 0)                                          \
    }                                                                                      \
    ,

#define ON_WM_PAINT()                                            \
    { WM_PAINT, 0, 0, 0, AFX_THUNK(pThis->OnPaint(); return 0) } \
    ,
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MOUSEWHEEL()                                                                             \
    {WM_MOUSEWHEEL, 0, 0, 0,                                                                           \
     AFX_THUNK(return pThis->OnMouseWheel(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam), \
                                          CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))))},
#define ON_WM_DRAWITEM()                                                                                 \
    {                                                                                                    \
        WM_DRAWITEM, 0, 0, 0,                                                                            \
            AFX_THUNK(                                                                                   \
                pThis->OnDrawItem(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); \
                return TRUE)                                                                             \
    }                                                                                                    \
    ,
#define ON_WM_CONTEXTMENU()                                                                     \
    {                                                                                           \
        WM_CONTEXTMENU, 0, 0, 0,                                                                \
            AFX_THUNK(pThis->OnContextMenu(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)),    \
                                           CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))); \
                      return 0)                                                                 \
    }                                                                                           \
    ,
#define ON_WM_SYSCOMMAND()                                                                                  \
    { WM_SYSCOMMAND, 0, 0, 0, AFX_THUNK(pThis->OnSysCommand(static_cast<UINT>(wParam), lParam); return 0) } \
    ,
#define ON_WM_INITMENUPOPUP()                                                                            \
    {                                                                                                    \
        WM_INITMENUPOPUP, 0, 0, 0,                                                                       \
            AFX_THUNK(                                                                                   \
                pThis->OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam)); \
                return 0)                                                                                \
    }                                                                                                    \
    ,
#define ON_COMMAND(id, handler) AFX_COMMAND_ENTRY(0, id, handler)
#define ON_BN_CLICKED(id, handler) AFX_COMMAND_ENTRY(BN_CLICKED, id, handler)
#define ON_EN_CHANGE(id, handler) AFX_COMMAND_ENTRY(EN_CHANGE, id, handler)
#define ON_CBN_SELCHANGE(id, handler) AFX_COMMAND_ENTRY(CBN_SELCHANGE, id, handler)
#define ON_CBN_DBLCLK(id, handler) AFX_COMMAND_ENTRY(CBN_DBLCLK, id, handler)
#define ON_STN_CLICKED(id, handler) AFX_COMMAND_ENTRY(STN_CLICKED, id, handler)
#define ON_STN_DBLCLK(id, handler) AFX_COMMAND_ENTRY(STN_DBLCLK, id, handler)

// ---------------------------------------------------------------- device contexts
class CDC {
public:
    HDC m_hDC = nullptr;

    CDC() = default;
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    BOOL Attach(HDC hDC);
    HDC Detach();
    HDC GetSafeHdc() const { return m_hDC; }
    static CDC* FromHandle(HDC hDC);  // a temporary wrapper, valid until the next call

    BOOL TextOut(int x, int y, const char* text, int count);
    BOOL GetTextMetrics(LPTEXTMETRIC metrics) const;
    COLORREF GetTextColor() const;
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetBkColor() const;
    COLORREF SetBkColor(COLORREF color);
    int SetBkMode(int mode);
    void FillSolidRect(const RECT* rect, COLORREF color);
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

// ---------------------------------------------------------------- CWnd
class CWnd {
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    virtual const CRuntimeClass* GetRuntimeClass() const;
    static const CRuntimeClass classCWnd;

    BOOL Attach(HWND hWnd);
    HWND Detach();
    // The framework object of a window: a permanent one when the window was
    // attached, otherwise a temporary one that lives until AfxDeleteTempMap.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);

    // <windows.h> maps SendMessage, SetWindowText and GetWindowText to their A
    // forms, in the declarations and definitions of these members alike.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL BringWindowToTop();
    void SetWindowText(const char* text);
    void GetWindowText(CString& text) const;
    int GetDlgCtrlID() const;
    // Child control objects are created once per control and owned by this window.
    CWnd* GetDlgItem(int nID) const;
    void GetWindowRect(LPRECT rect) const;
    void GetClientRect(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    void Invalidate(BOOL bErase = TRUE);
    void UpdateWindow();
    virtual BOOL DestroyWindow();

    // Data exchange between the fields and the controls: TRUE reads the
    // controls into the fields (and validates), FALSE writes the fields into
    // the controls. Returns FALSE when a control failed or there is no window.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // Routes a message through the message maps; returns whether a handler
    // took it (a handler that calls Default() leaves it to default processing).
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    LRESULT Default();

    virtual void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    // Keyboard input for a dialog or its controls, before the dialog's
    // keyboard interface and the control see it; TRUE takes the message.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Both leave the message to default processing.
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnContextMenu(CWnd* pWnd, CPoint point);

    // Drops the child control objects that GetDlgItem made; their windows stay.
    void DeleteChildObjects();

    // Deletes this object, which must have been made with new: at once, or,
    // while one of its messages is being handled, when the outermost handler
    // has returned, so that no handler runs on a freed object.
    void DeleteWhenIdle();
    bool IsHandlingMessage() const { return m_nHandling > 0; }
    // Runs one message through OnWndMsg, counted as being handled; wnd may
    // be deleted when it returns.
    static bool RouteMessage(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    // Brackets the handling of one message; the end deletes an object whose
    // deletion was asked for meanwhile, once no handler is left.
    void BeginHandling() { ++m_nHandling; }
    void EndHandling();

private:
    friend void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
    friend void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
    mutable std::map<HWND, std::unique_ptr<CWnd>> m_childObjects;
    // The exchange's own record: the text it last wrote into each number
    // edit, and the exact value behind it, so that an unchanged text reads
    // back as that value. Any other change of the edit forgets it.
    struct WrittenNumber {
        std::string text;
        double value;
    };
    std::map<HWND, WrittenNumber> m_writtenNumbers;
    HWND m_hWndNumberBeingWritten = nullptr;  // its change notification is the exchange's own
    bool m_bDefaultRequested = false;
    int m_nHandling = 0;  // messages of this window being handled, nested ones included
    bool m_bDeletePending = false;
};

void AfxDeleteTempMap();

// ---------------------------------------------------------------- CMenu
class CMenu {
public:
    HMENU m_hMenu = nullptr;

    CMenu() = default;
    ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    BOOL CreatePopupMenu() { return (m_hMenu = ::CreatePopupMenu()) != nullptr; }
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const char* lpszNewItem = nullptr) {
        return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
    }
    UINT GetMenuItemCount() const { return static_cast<UINT>(::GetMenuItemCount(m_hMenu)); }
    // With TPM_RETURNCMD the chosen id, 0 on cancel; otherwise WM_COMMAND reaches pWnd.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, const RECT* lpRect = nullptr) {
        return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
    }
    BOOL DestroyMenu() {
        const BOOL done = m_hMenu ? ::DestroyMenu(m_hMenu) : FALSE;
        m_hMenu = nullptr;
        return done;
    }
    HMENU Detach() { return std::exchange(m_hMenu, nullptr); }
    HMENU GetSafeHmenu() const { return m_hMenu; }
};

// ---------------------------------------------------------------- CDialog
class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    const CRuntimeClass* GetRuntimeClass() const override;
    static const CRuntimeClass classCDialog;

    // Creates the modeless dialog window from the template; runs OnInitDialog.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual BOOL OnInitDialog();
    // OK reads the controls and hides the window when they are valid; Cancel hides it.
    virtual void OnOK();
    virtual void OnCancel();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    // Dialog procedure shared by every CDialog window.
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------- CComboBox
class CComboBox : public CWnd {
public:
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int nSelect) {
        return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelect)));
    }
    int InsertString(int nIndex, const char* item) {
        return static_cast<int>(
            SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(item)));
    }
    UINT_PTR GetItemData(int nIndex) const {
        return static_cast<UINT_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
    }
};

// ---------------------------------------------------------------- data exchange
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    bool m_bEditLastControl = false;
    // Set by Fail(): the exchange stops, later DDX_/DDV_ calls do nothing.
    bool m_bFailed = false;

    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Puts the focus on the last control (selecting an edit's text) and stops the exchange.
    void Fail();
};

// Doubles are shown with about 7 significant digits, fewer where the edit is
// narrower; a shown value reads back exactly while its text is unchanged, and
// typed text is read as typed. An edit is written only when its text
// differs, so a chain of change notifications always comes to rest.
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);

// ---------------------------------------------------------------- modal questions
int AfxMessageBox(const char* text, UINT nType = MB_OK);

// Replacements for the modal questions, so that a headless host or a test
// never waits for a person. A message box answerer returns the button chosen;
// a file dialog answerer (open: 1 for Open, 0 for Save) writes the chosen
// path, zero-terminated in pathSize bytes, and returns 1, or returns 0 for
// cancel. Null restores the backend's own question.
typedef int (*AfxMessageBoxAnswerer)(const char* text, const char* caption, unsigned int type, void* context);
typedef int (*AfxFileDialogAnswerer)(int open, const char* defaultExt, const char* filter, unsigned int flags,
                                     char* path, int pathSize, void* context);
void AfxSetMessageBoxAnswerer(AfxMessageBoxAnswerer answerer, void* context);
void AfxSetFileDialogAnswerer(AfxFileDialogAnswerer answerer, void* context);

class CFileDialog {
public:
    CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr, const char* lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* lpszFilter = nullptr,
                CWnd* pParentWnd = nullptr, DWORD dwSize = 0, BOOL bVistaStyle = TRUE);
    virtual ~CFileDialog() = default;

    virtual INT_PTR DoModal();  // IDOK or IDCANCEL
    CString GetPathName() const { return m_path; }
    CString GetFileName() const;  // text after the last path separator
    CString GetFileExt() const;   // text after the last dot of the file name, without the dot

    BOOL m_bOpenFileDialog;
    CString m_strDefExt;
    CString m_strFilter;
    DWORD m_dwFlags;

private:
    CString m_path;
};

// ---------------------------------------------------------------- application and module state
class CWinApp {
public:
    explicit CWinApp(const char* lpszAppName = nullptr);
    virtual ~CWinApp();
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    const char* m_pszAppName;
    HINSTANCE m_hInstance = nullptr;

private:
    CWinApp* m_pPrevApp;  // the module's application before this one registered
};

struct AFX_MODULE_STATE {
    CWinApp* m_pCurrentWinApp = nullptr;
    HINSTANCE m_hCurrentInstanceHandle = nullptr;
    HINSTANCE m_hCurrentResourceHandle = nullptr;
    const char* m_lpszCurrentAppName = nullptr;
};

// The library's own module state, and the one currently in force.
AFX_MODULE_STATE* AfxGetStaticModuleState();
AFX_MODULE_STATE* AfxGetModuleState();
CWinApp* AfxGetApp();
HINSTANCE AfxGetResourceHandle();

// Switches the current module state for the lifetime of the object.
class AFX_MAINTAIN_STATE2 {
public:
    explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* pNewState);
    ~AFX_MAINTAIN_STATE2();
    AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&) = delete;
    AFX_MAINTAIN_STATE2& operator=(const AFX_MAINTAIN_STATE2&) = delete;

private:
    AFX_MODULE_STATE* m_pPrevModuleState;
};
#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE2 _ctlState(p);

// Start-up and shutdown of the framework for this module.
BOOL AfxWinInit(HINSTANCE hInstance);
void AfxWinTerm();

struct AFX_EXTENSION_MODULE {
    BOOL bInitialized = FALSE;
    HMODULE hModule = nullptr;
    HMODULE hResource = nullptr;
};
BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// Puts a module's resources into the chain that dialog creation searches.
// Made with new; AfxTermExtensionModule deletes the module's libraries.
class CDynLinkLibrary {
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state);
    ~CDynLinkLibrary();
    HMODULE m_hModule;
    HMODULE m_hResource;
};
// Resource modules in search order (the current resource handle first).
int AfxResourceChainCount();
HINSTANCE AfxResourceChainAt(int index);

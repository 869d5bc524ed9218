// A host that loads qorcolor.dll by path, shows the window on 8- or 16-bit data,
// ends it and frees the library, again and again on one thread: each
// FreeLibrary must unload the DLL and leave no window or GDI object behind.
#include <gtest/gtest.h>
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace {

using ShowInit = void (*)(void***, int, int, int, int, void*, void*, unsigned int*);
using Member = void (*)(void* self);

// An export by its GCC name; void (*)() is the type any function pointer converts through.
template <class F>
F Export(HMODULE dll, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
}

std::string DllPath() {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path = exe;
    return path.substr(0, path.find_last_of("\\/") + 1) + "qorcolor.dll";
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int ThreadWindows() {
    int count = 0;
    const auto countOne = [](HWND, LPARAM n) -> BOOL {
        ++*reinterpret_cast<int*>(n);
        return TRUE;
    };
    EnumThreadWindows(GetCurrentThreadId(), countOne, reinterpret_cast<LPARAM>(&count));
    return count;
}

auto Resources() {
    return std::tuple(ThreadWindows(), GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                      GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
}

// One host session: load, show (histogram counters and all), end, unload.
// dataType is a negated NIfTI code: the voxels as one flat buffer.
void Cycle(const std::string& path, int dataType, std::vector<int16_t>& voxels,
           std::vector<unsigned int>& table) {
    HMODULE dll = LoadLibraryA(path.c_str());
    ASSERT_TRUE(dll);
    auto showInit = Export<ShowInit>(dll, "_ZN12CQorColorDlg8showInitEPPPviiiiS0_S0_Pj");
    auto construct = Export<Member>(dll, "_ZN12CQorColorDlgC1Ev");
    auto destroy = Export<Member>(dll, "_ZN12CQorColorDlgD1Ev");
    ASSERT_TRUE(showInit && construct && destroy);
    const int windows = ThreadWindows();
    showInit(reinterpret_cast<void***>(voxels.data()), dataType, 16, 16, 4, nullptr,
             const_cast<char*>("cycle"), table.data());
    PumpMessages();
    EXPECT_GT(ThreadWindows(), windows);
    alignas(16) unsigned char end[16];  // CQorColorDlg holds no data: room enough for `this`
    construct(end);
    destroy(end);
    PumpMessages();
    EXPECT_TRUE(FreeLibrary(dll));
    EXPECT_EQ(GetModuleHandleA("qorcolor.dll"), nullptr);
}

TEST(DllUnload, EveryFreeLibraryUnloadsAndLeavesNothingBehind) {
    const std::string path = DllPath();
    std::vector<int16_t> voxels(16 * 16 * 4);
    for (size_t i = 0; i < voxels.size(); ++i) voxels[i] = static_cast<int16_t>(i * 37 % 2000 - 500);
    std::vector<unsigned int> table(65535);
    Cycle(path, -4, voxels, table);
    const auto after = Resources();
    for (int i = 1; i < 200 && !HasFailure(); ++i) {
        Cycle(path, i % 2 ? -2 : -4, voxels, table);  // uint8, int16
        EXPECT_EQ(Resources(), after) << "cycle " << i;
    }
}

}  // namespace

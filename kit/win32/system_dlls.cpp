#include "kit/win32/system_dlls.h"

namespace kit::win32 {
namespace {

template <class F>
bool Bind(HMODULE dll, const char* name, F& entry) {
    entry = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
    return entry != nullptr;
}

#define TIVLO_DLL_BIND(fn) &&Bind(dll, #fn, api.fn)

// Loaded for the rest of the process: a feature once used is likely used again.
template <class Api, class Binder>
const Api* Load(const char* dllName, Binder bind) {
    static Api api;
    HMODULE dll = LoadLibraryA(dllName);
    return dll && bind(dll, api) ? &api : nullptr;
}

}  // namespace

const WinsockApi* Winsock() {
    static const WinsockApi* table = Load<WinsockApi>("ws2_32.dll", [](HMODULE dll, WinsockApi& api) {
        return true TIVLO_WINSOCK_ENTRIES(TIVLO_DLL_BIND);
    });
    return table;
}

const WinInetApi* WinInet() {
    static const WinInetApi* table = Load<WinInetApi>("wininet.dll", [](HMODULE dll, WinInetApi& api) {
        return true TIVLO_WININET_ENTRIES(TIVLO_DLL_BIND);
    });
    return table;
}

const MultimediaApi* Multimedia() {
    static const MultimediaApi* table =
        Load<MultimediaApi>("winmm.dll", [](HMODULE dll, MultimediaApi& api) {
            return true TIVLO_MULTIMEDIA_ENTRIES(TIVLO_DLL_BIND);
        });
    return table;
}

namespace {
struct CommonControlsDll {
    HMODULE dll = nullptr;
    CommonControlsApi api;
    int pins = 0;
};
CommonControlsDll& commonControls() {
    static CommonControlsDll state;
    return state;
}
}  // namespace

const CommonControlsApi* CommonControls() {
    CommonControlsDll& cc = commonControls();
    if (cc.dll) return &cc.api;
    HMODULE dll = LoadLibraryA("comctl32.dll");
    if (!dll) return nullptr;
    CommonControlsApi api;
    if (!(true TIVLO_COMMON_CONTROL_ENTRIES(TIVLO_DLL_BIND))) {
        FreeLibrary(dll);
        return nullptr;
    }
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_COOL_CLASSES;
    api.InitCommonControlsEx(&icc);
    cc.dll = dll;
    cc.api = api;
    return &cc.api;
}

void PinCommonControls() { ++commonControls().pins; }

void UnpinCommonControls() { --commonControls().pins; }

void ReleaseUnusedCommonControls() {
    CommonControlsDll& cc = commonControls();
    if (!cc.dll || cc.pins > 0) return;
    FreeLibrary(cc.dll);
    cc.dll = nullptr;
    cc.api = CommonControlsApi{};
}

const CommonDialogApi* CommonDialogs() {
    static const CommonDialogApi* table =
        Load<CommonDialogApi>("comdlg32.dll", [](HMODULE dll, CommonDialogApi& api) {
            return true TIVLO_COMMON_DIALOG_ENTRIES(TIVLO_DLL_BIND);
        });
    return table;
}

const OleApi* Ole() {
    static const OleApi* table = Load<OleApi>("ole32.dll", [](HMODULE dll, OleApi& api) {
        if (!(true TIVLO_OLE_ENTRIES(TIVLO_DLL_BIND))) return false;
        // The picture decoder and the folder dialog are COM objects of this thread.
        api.OleInitialize(nullptr);
        return true;
    });
    return table;
}

const OlePictureApi* OlePictures() {
    static const OlePictureApi* table =
        Load<OlePictureApi>("oleaut32.dll", [](HMODULE dll, OlePictureApi& api) {
            return true TIVLO_OLE_PICTURE_ENTRIES(TIVLO_DLL_BIND);
        });
    return table;
}

}  // namespace kit::win32

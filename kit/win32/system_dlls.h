// Entry points of the system DLLs that only some features use. A DLL is loaded when its
// feature first asks for its table, so an idle program maps none of them; a table is null when
// its DLL or one of its entries cannot be had, and the feature then fails as it does for any
// other error of that call. The tables are bound once and may be asked for from any thread,
// except the common controls' (below).
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <ole2.h>
#include <olectl.h>
#include <wininet.h>

// Declares one typed entry; the type comes from the Windows headers, so calls stay checked.
#define TIVLO_DLL_ENTRY(fn) decltype(&::fn) fn = nullptr;

namespace kit::win32 {

#define TIVLO_WINSOCK_ENTRIES(X)                                                                  \
    X(WSAStartup) X(WSAGetLastError) X(WSAAsyncGetHostByName) X(WSAAsyncSelect)                   \
    X(WSACancelAsyncRequest) X(socket) X(bind) X(connect) X(recv) X(closesocket) X(getsockname)   \
    X(inet_addr) X(htons) X(ntohs)
struct WinsockApi {
    TIVLO_WINSOCK_ENTRIES(TIVLO_DLL_ENTRY)
};
const WinsockApi* Winsock();

#define TIVLO_WININET_ENTRIES(X)                                                                  \
    X(InternetGetConnectedState) X(InternetOpenA) X(InternetOpenUrlA) X(InternetSetOptionA)       \
    X(HttpQueryInfoA) X(InternetQueryDataAvailable) X(InternetReadFile) X(InternetCloseHandle)
struct WinInetApi {
    TIVLO_WININET_ENTRIES(TIVLO_DLL_ENTRY)
};
const WinInetApi* WinInet();

#define TIVLO_MULTIMEDIA_ENTRIES(X)                                                               \
    X(mciSendStringA) X(mciGetErrorStringA) X(mixerOpen) X(mixerClose) X(mixerGetLineInfoA)       \
    X(mixerGetLineControlsA) X(mixerGetControlDetailsA) X(mixerSetControlDetails)
struct MultimediaApi {
    TIVLO_MULTIMEDIA_ENTRIES(TIVLO_DLL_ENTRY)
};
const MultimediaApi* Multimedia();

// Loading it also registers the common control classes the toolkit makes. Unlike the other
// DLLs it is given back once unused: under Wine it holds about 0.8 MB (its tooltips' icons)
// that the windows using it do not need once closed. The window thread only: each native
// control pins it while it lives, and ReleaseUnusedCommonControls unloads it when nothing pins
// it; the next CommonControls() loads it again.
#define TIVLO_COMMON_CONTROL_ENTRIES(X)                                                           \
    X(InitCommonControlsEx) X(SetWindowSubclass) X(RemoveWindowSubclass) X(DefSubclassProc)
struct CommonControlsApi {
    TIVLO_COMMON_CONTROL_ENTRIES(TIVLO_DLL_ENTRY)
};
const CommonControlsApi* CommonControls();
void PinCommonControls();
void UnpinCommonControls();
// Only where no code of the DLL can be on the stack: between two messages of the outermost
// message loop (a handler called from a control may close the control's window).
void ReleaseUnusedCommonControls();

#define TIVLO_COMMON_DIALOG_ENTRIES(X) X(GetOpenFileNameA)
struct CommonDialogApi {
    TIVLO_COMMON_DIALOG_ENTRIES(TIVLO_DLL_ENTRY)
};
const CommonDialogApi* CommonDialogs();

// Loading it also makes this thread's OLE apartment (the thread that first asks for it: the
// program's window thread).
#define TIVLO_OLE_ENTRIES(X) X(OleInitialize) X(CoCreateInstance) X(CoTaskMemFree) X(CreateStreamOnHGlobal)
struct OleApi {
    TIVLO_OLE_ENTRIES(TIVLO_DLL_ENTRY)
};
const OleApi* Ole();

#define TIVLO_OLE_PICTURE_ENTRIES(X) X(OleCreatePictureIndirect) X(OleLoadPicture)
struct OlePictureApi {
    TIVLO_OLE_PICTURE_ENTRIES(TIVLO_DLL_ENTRY)
};
const OlePictureApi* OlePictures();

}  // namespace kit::win32

// The features whose DLLs come at first use, run with those DLLs disabled (see the set-up file
// beside this one): each fails as it does for any other error of its call, and nothing crashes.
#include <windows.h>

#include "app/win32_app.h"
#include "kit/button.h"
#include "kit/commondialog.h"
#include "kit/form.h"
#include "kit/mmcontrol.h"
#include "kit/win32/system_dlls.h"
#include "tests/win32/check.h"

namespace {

platform::win32::Win32System g_system;
kit::win32::Win32Backend& Backend() {
    static kit::win32::Win32Backend& backend = app::BindWin32(g_system);
    return backend;
}

struct Recorder : platform::TcpEvents {
    std::string log;
    void onConnected() override { log += "connected;"; }
    void onData() override { log += "data;"; }
    void onClosed() override { log += "closed;"; }
    void onError(int code) override { log += "error " + std::to_string(code) + ";"; }
};

struct Sink : kit::AsyncReadSink {
    void onReadProgress(kit::ReadHandle, const std::string&, int, const std::string&,
                        std::uint32_t) override {}
    void onReadComplete(kit::ReadHandle, const std::string&, int, std::vector<std::uint8_t>&,
                        std::uint32_t, const std::string&) override {}
};

}  // namespace

CHECK_CASE(the_network_reports_offline_and_failed_connections_and_reads) {
    Backend();
    CHECK(kit::win32::Winsock() == nullptr);
    CHECK(kit::win32::WinInet() == nullptr);
    std::uint32_t flags = 7;
    CHECK(!platform::network().getConnectedState(flags));
    CHECK_EQ(flags, 0u);
    Recorder r;
    auto conn = platform::network().openTcp(&r);
    conn->connect("127.0.0.1", 13, 0);
    CHECK(check::WaitUntil(Backend(), [&] { return !r.log.empty(); }, 5000));
    CHECK_EQ(r.log, std::string("error 10091;"));  // WSASYSNOTREADY
    Sink sink;
    CHECK_EQ(kit::asyncReader().beginRead("http://127.0.0.1:1/x", "x", &sink), kit::ReadHandle(0));
}

CHECK_CASE(sound_mixer_file_dialog_and_pictures_fail_as_their_calls_do) {
    Backend();
    platform::MixerHandle mixer = 0;
    CHECK_EQ(platform::mixer().open(0, mixer), 6u);  // MMSYSERR_NODRIVER
    auto media = kit::NewMciPeer();
    CHECK(media->open("C:\\windows\\media\\none.wav") != 0);
    CHECK(!media->errorText(263).empty());
    kit::OpenFileRequest request;
    request.filter = "Sound|*.wav|";
    CHECK(!kit::ShowOpenFileDialog(request).has_value());
    int error = 0;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    CHECK_EQ(kit::gdi().loadPicture(path, error), kit::Handle(0));
    CHECK_EQ(kit::gdi().createPictureIndirect(kit::kPictureTypeIcon, 0, false), kit::Handle(0));
    CHECK_EQ(platform::shell().browseForFolder(0, "t", 0, "C:\\"), std::string());
}

CHECK_CASE(a_native_control_is_left_out_of_its_form) {
    kit::WindowSink sink;
    Backend();
    auto form = kit::NewFormPeer(&sink, kit::kBorderSizable);
    CHECK(form->handle() != 0);
    auto button = kit::NewButtonPeer(form->handle(), &sink);
    CHECK_EQ(button->handle(), kit::Handle(0));
}

// The invisible download control on the main form: starts page and picture downloads under
// their names, keeps the reads in progress, shows what happens in the grab window's status
// panel, cancels, and raises DownloadComplete once for every download that finishes, fails or
// is cancelled. Finished pages go to the parser, finished pictures to the picture check.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "grabber/html_parser.h"
#include "kit/async_read.h"
#include "kit/controls.h"

class ParseWeb : public kit::Component, public kit::AsyncReadSink, private grabber::LinkSink {
public:
    // A read in progress: its name, and the handle and address it was started with (a name
    // alone cannot tell two reads of one page apart, and loses an address holding "$").
    struct Pending {
        kit::ReadHandle handle = 0;
        std::string name;
        std::string address;
    };

    explicit ParseWeb(kit::Form* owner);
    ~ParseWeb() override;

    void SetSearchWord(const std::string& word) { mSearchWord = word; }
    void BeginDownload(const std::string& url, const std::string& name);
    bool CancelAllDownload();
    std::function<void()> DownloadComplete;

    // A finished page: relevance, then its pictures and links into the queues. finalAddress
    // is where the page was read from after redirects; its links resolve against it.
    bool ParseHtml(const std::string& html, const std::string& name,
                   const std::string& finalAddress);
    // A finished picture: checked and saved; True when saved.
    bool SaveImageData(const std::vector<std::uint8_t>& data, const std::string& name,
                       std::int32_t bytesMax, const std::string& address);
    // Creates the first free file of type ("gif", "jpg", "bmp", "png") for writing; its path,
    // or "" when none could be created. *file receives the open file.
    std::string OpenNewImageFile(const std::string& type, std::uintptr_t* file,
                                 const std::string& prefix, const std::string& folder);

    void UserControl_AsyncReadProgress(kit::ReadHandle read, const std::string& name, int status,
                                       const std::string& statusText, std::uint32_t bytesMax);
    void UserControl_AsyncReadComplete(kit::ReadHandle read, const std::string& name, int status,
                                       std::vector<std::uint8_t>& data, std::uint32_t bytesMax,
                                       const std::string& finalAddress);

    const std::vector<Pending>& pending() const { return mPendingDownloads; }
    std::string mSearchWord;

    // kit::AsyncReadSink
    void onReadProgress(kit::ReadHandle read, const std::string& name, int status,
                        const std::string& statusText, std::uint32_t bytesMax) override;
    void onReadComplete(kit::ReadHandle read, const std::string& name, int status,
                        std::vector<std::uint8_t>& data, std::uint32_t bytesMax,
                        const std::string& finalAddress) override;
    // The control ends with its form: every pending download is cancelled.
    void destroyPeer() override;

private:
    // grabber::LinkSink: the queue adders.
    void AddResourceURL(const std::string& url) override;
    void AddPageLink(const std::string& url, const std::string& text) override;
    void AddPriorityPage(const std::string& url, const std::string& text);

    // Takes the read out of the pending list; its entry, or an empty one when it was not there.
    Pending Remove(kit::ReadHandle read);
    void RaiseDownloadComplete();
    void CancelRead(kit::ReadHandle read, const std::string& name);

    std::vector<Pending> mPendingDownloads;
};

// The picture type a download's leading bytes show, with its switch; for tests and the check.
enum class PictureType { None, Gif, Bmp, Png, Jpeg };
PictureType MatchPictureType(const std::vector<std::uint8_t>& data);
// high × 256 + low as a signed 16-bit value; nothing when it does not fit (32768 and up).
std::optional<std::int16_t> MakeWord(std::uint8_t low, std::uint8_t high);
struct PictureSize {
    int width = 0, height = 0;
};
// The width and height a picture's header gives, or nothing when a field is out of the data or
// out of range. A JPEG without a frame header of SOF0 to SOF3 gives 0 x 0.
std::optional<PictureSize> ReadPictureSize(const std::vector<std::uint8_t>& data, PictureType type);

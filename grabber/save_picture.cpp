// The picture check and saving of the download control.
#include <cstdio>

#include "grabber/grab_state.h"
#include "grabber/parse_web.h"
#include "grabber/queues.h"
#include "kit/runtime.h"
#include "platform/services.h"
#include "shell/globals.h"
#include "viewer/view_rules.h"

namespace {

constexpr std::size_t kGifSignature = 4, kJpegStart = 3;
constexpr int kSof0 = 0xC0, kSof3 = 0xC3;

std::optional<int> Word(const std::vector<std::uint8_t>& d, std::size_t lowAt, std::size_t highAt) {
    if (lowAt >= d.size() || highAt >= d.size()) return std::nullopt;
    auto w = MakeWord(d[lowAt], d[highAt]);
    if (!w) return std::nullopt;
    return *w;
}

std::optional<PictureSize> JpegSize(const std::vector<std::uint8_t>& d) {
    const std::size_t n = d.size();
    std::size_t i = kJpegStart;
    for (;;) {
        if (i >= n) return PictureSize{};  // the walk ends without a frame header
        const std::uint8_t prev = d[i - 1], cur = d[i];
        ++i;
        if (prev != 0xFF || cur == 0xFF) {
            if (i <= n) continue;
            return PictureSize{};
        }
        if (cur >= kSof0 && cur <= kSof3) {
            auto h = Word(d, i + 4, i + 3), w = Word(d, i + 6, i + 5);
            if (!h || !w) return std::nullopt;
            return PictureSize{*w, *h};
        }
        auto length = Word(d, i + 1, i);
        if (!length) return std::nullopt;
        i = i + static_cast<std::size_t>(*length) + 1;
        if (i >= n) return PictureSize{};
    }
}

// A prefix that would leave the download folder (edited in the registry) is not used.
std::string SafePrefix(const std::string& prefix) {
    if (prefix.find_first_of("\\/:") != std::string::npos || prefix.find("..") != std::string::npos)
        return "Catch";
    return prefix;
}

std::int32_t& CounterOf(const std::string& type) {
    if (type == "gif") return gFileCounterGIF;
    if (type == "bmp") return gFileCounterBMP;
    if (type == "png") return gFileCounterPNG;
    return gFileCounterJPG;
}

}  // namespace

std::optional<std::int16_t> MakeWord(std::uint8_t low, std::uint8_t high) {
    const int value = high * 256 + low;
    if (value > 32767) return std::nullopt;
    return static_cast<std::int16_t>(value);
}

PictureType MatchPictureType(const std::vector<std::uint8_t>& d) {
    auto starts = [&](std::initializer_list<int> bytes) {
        if (d.size() < bytes.size()) return false;
        std::size_t i = 0;
        for (int b : bytes)
            if (d[i++] != b) return false;
        return true;
    };
    if (gDownloadGIF && starts({'G', 'I', 'F', '8'})) return PictureType::Gif;
    if (gDownloadBMP && starts({'B', 'M'})) return PictureType::Bmp;
    if (gDownloadPNG && starts({0x89, 'P', 'N', 'G'})) return PictureType::Png;
    if ((gDownloadJPG || gDownloadJPEG) && starts({0xFF, 0xD8, 0xFF})) return PictureType::Jpeg;
    return PictureType::None;
}

std::optional<PictureSize> ReadPictureSize(const std::vector<std::uint8_t>& d, PictureType type) {
    std::optional<int> w, h;
    switch (type) {
        case PictureType::Gif:
            w = Word(d, 6, 7);
            h = Word(d, 8, 9);
            break;
        case PictureType::Bmp:
            w = Word(d, 18, 19);
            h = Word(d, 22, 23);
            break;
        case PictureType::Png:
            w = Word(d, 19, 18);
            h = Word(d, 23, 22);
            break;
        case PictureType::Jpeg:
            return JpegSize(d);
        case PictureType::None:
            return std::nullopt;
    }
    if (!w || !h) return std::nullopt;
    return PictureSize{*w, *h};
}

bool ParseWeb::SaveImageData(const std::vector<std::uint8_t>& data, const std::string& name,
                             std::int32_t bytesMax, const std::string& address) {
    try {
        // Pictures that finish after the limit was reached are not saved either.
        if (gSavedPictureCount >= kMaxSavedPictures) return false;
        if (data.empty()) return false;
        const std::uint8_t first = data[0];
        if (first != 'G' && first != 'B' && first != 0x89 && first != 0xFF) {
            // A page where a picture was expected: its folder may list the pictures.
            const std::size_t slash = address.rfind('/');
            if (slash == std::string::npos) return false;
            AddPriorityPage(address.substr(0, slash), "");
            kit::DoEvents();
            return false;
        }
        // The minimum holds whatever size was announced.
        if (gLimitImageFileSize &&
            data.size() < static_cast<std::size_t>(std::max<int>(gImageFileSizeKB, 0)) * 1024u)
            return false;
        const PictureType type = MatchPictureType(data);
        if (type == PictureType::None) return false;
        if (gLimitImageSize) {
            const auto size = ReadPictureSize(data, type);
            if (!size || size->width < gImageWidth || size->height < gImageHeight) return false;
        }
        const char* typeName = type == PictureType::Gif   ? "gif"
                               : type == PictureType::Bmp ? "bmp"
                               : type == PictureType::Png ? "png"
                                                          : "jpg";
        std::uintptr_t file = 0;
        const std::string path =
            OpenNewImageFile(typeName, &file, SafePrefix(gDownloadFileName), gDownloadFolder);
        if (path.empty()) return false;
        // Created, written, closed and counted with no event in between; a failed write leaves
        // nothing. Saves that finished while a name was sought may have reached the limit.
        platform::Files& files = platform::files();
        const bool allowed = gSavedPictureCount < kMaxSavedPictures;
        const bool written = allowed && files.write(file, data.data(), data.size());
        const bool closed = files.close(file);
        if (!written || !closed) {
            files.remove(path);
            return false;
        }
        ++gSavedPictureCount;
        kit::DoEvents();
        return true;
    } catch (const kit::RuntimeError&) {
        return false;
    }
}

std::string ParseWeb::OpenNewImageFile(const std::string& type, std::uintptr_t* file,
                                       const std::string& prefix, const std::string& folder) {
    platform::Files& files = platform::files();
    std::int32_t& counter = CounterOf(type);
    for (;;) {
        kit::DoEvents();
        char number[16];
        std::snprintf(number, sizeof number, "%05ld", static_cast<long>(counter));
        const std::string path = eViewRules::JoinPath(folder, prefix + number + "." + type);
        ++counter;
        // A number is free only when nothing at all, hidden or a folder, has its name: the
        // creation itself tells (a separate look first costs a second search of the folder,
        // which under Wine reads the whole folder for a name that is not there).
        bool taken = false;
        *file = files.createNew(path, &taken);
        if (*file) return path;
        if (!taken) return {};  // no such folder, or no right to write there
    }
}

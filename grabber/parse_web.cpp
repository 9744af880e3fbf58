#include "grabber/parse_web.h"

#include <new>

#include "grabber/grab_state.h"
#include "grabber/grab_window.h"
#include "grabber/queues.h"
#include "grabber/text.h"
#include "kit/runtime.h"
#include "shell/globals.h"

using grabber::ShowGrabStatus;
using grabber::StartsWith;

ParseWeb::ParseWeb(kit::Form* owner) : kit::Component(owner) {}

ParseWeb::~ParseWeb() {
    // No event of ours may reach a control that is gone.
    for (const Pending& p : mPendingDownloads) kit::asyncReader().cancelRead(p.handle);
}

void ParseWeb::destroyPeer() {
    if (!mPendingDownloads.empty()) CancelAllDownload();
}

void ParseWeb::RaiseDownloadComplete() {
    if (DownloadComplete) DownloadComplete();
}

ParseWeb::Pending ParseWeb::Remove(kit::ReadHandle read) {
    for (auto it = mPendingDownloads.begin(); it != mPendingDownloads.end(); ++it) {
        if (it->handle != read) continue;
        Pending p = std::move(*it);
        mPendingDownloads.erase(it);
        return p;
    }
    return {};
}

void ParseWeb::BeginDownload(const std::string& url, const std::string& name) {
    try {
        kit::DoEvents();
        const kit::ReadHandle read = kit::asyncReader().beginRead(url, name, this);
        if (!read) {
            RaiseDownloadComplete();  // gives back the count the loop raised
            return;
        }
        mPendingDownloads.push_back(Pending{read, name, url});
        ShowGrabStatus("Connecting to : " + url);
    } catch (const kit::RuntimeError&) {
        RaiseDownloadComplete();
    }
}

void ParseWeb::CancelRead(kit::ReadHandle read, const std::string& name) {
    Remove(read);
    kit::asyncReader().cancelRead(read);
    RaiseDownloadComplete();
}

bool ParseWeb::CancelAllDownload() {
    try {
        const std::vector<Pending> pendingNow = mPendingDownloads;
        for (const Pending& p : pendingNow) {
            kit::asyncReader().cancelRead(p.handle);
            ShowGrabStatus("Cancel : " + p.address);
            RaiseDownloadComplete();
            kit::DoEvents();
        }
        mPendingDownloads.clear();
        return true;
    } catch (const kit::RuntimeError&) {
        return false;
    }
}

void ParseWeb::onReadProgress(kit::ReadHandle read, const std::string& name, int status,
                              const std::string& statusText, std::uint32_t bytesMax) {
    UserControl_AsyncReadProgress(read, name, status, statusText, bytesMax);
}

void ParseWeb::onReadComplete(kit::ReadHandle read, const std::string& name, int status,
                              std::vector<std::uint8_t>& data, std::uint32_t bytesMax,
                              const std::string& finalAddress) {
    UserControl_AsyncReadComplete(read, name, status, data, bytesMax, finalAddress);
}

void ParseWeb::UserControl_AsyncReadProgress(kit::ReadHandle read, const std::string& name,
                                             int status, const std::string& statusText,
                                             std::uint32_t bytesMax) {
    try {
        if (status == kit::kReadError) {
            CancelRead(read, name);
        } else if (status == kit::kReadRedirecting) {
            ShowGrabStatus("Redirecting to: " + statusText);
        } else if (status == kit::kReadCacheFileAvailable) {
            std::string address = grabber::NameAddress(name);
            for (const Pending& p : mPendingDownloads)
                if (p.handle == read) address = p.address;
            ShowGrabStatus("Downloading and parsing : " + address);
            // Pictures announced smaller than the minimum are not read on; the extension test
            // is exact, as the names came from the page.
            const std::size_t dot = name.rfind('.');
            const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
            const bool known = ext == ".gif" || ext == ".jpg" || ext == ".jpeg" || ext == ".bmp" ||
                               ext == ".png";
            if (StartsWith(name, "RES$") && known && gLimitImageFileSize && bytesMax != 0 &&
                bytesMax < static_cast<std::uint32_t>(gImageFileSizeKB) * 1024u)
                CancelRead(read, name);
        }
    } catch (const kit::RuntimeError&) {
    }
}

void ParseWeb::UserControl_AsyncReadComplete(kit::ReadHandle read, const std::string& name,
                                             int status, std::vector<std::uint8_t>& data,
                                             std::uint32_t bytesMax,
                                             const std::string& finalAddress) {
    try {
        if (status == kit::kReadError) {
            CancelRead(read, name);
            return;
        }
        if (status != kit::kReadDataEnd) return;
        Pending p = Remove(read);
        RaiseDownloadComplete();
        if (gStopGrabbing) return;
        const std::string address = p.handle ? p.address : grabber::NameAddress(name);
        if (StartsWith(name, "HTM$") || StartsWith(name, "HTL$")) {
            ShowGrabStatus("Download complete : " + address);
            kit::DoEvents();
            std::string text(data.begin(), data.end());
            std::vector<std::uint8_t>().swap(data);
            // A redirected page's links are relative to where it was found at last.
            ParseHtml(text, name, finalAddress.empty() ? address : finalAddress);
            text.clear();
            text.shrink_to_fit();  // before other pages' events run
            kit::DoEvents();
        } else {
            kit::DoEvents();
            if (SaveImageData(data, name, static_cast<std::int32_t>(bytesMax), address)) {
                kit::DoEvents();
                ShowGrabStatus("Download complete : " + address);
            }
        }
    } catch (const kit::RuntimeError&) {
    } catch (const std::bad_alloc&) {
        // No memory for the page's text: the page is dropped, the run goes on.
    }
}

bool ParseWeb::ParseHtml(const std::string& html, const std::string& name,
                         const std::string& finalAddress) {
    grabber::PageLinks links;
    bool whole = false;
    try {
        grabber::ParseInput in;
        in.html = html;
        const std::string linkText = grabber::NameLinkText(name);
        in.linkText = linkText;
        in.pageAddress = finalAddress;
        in.searchWord = mSearchWord;
        in.switches = {gDownloadGIF, gDownloadJPG, gDownloadJPEG, gDownloadBMP, gDownloadPNG};
        whole = grabber::ParseHtml(in, *this);
    } catch (const kit::RuntimeError&) {
    } catch (const std::bad_alloc&) {
        // The memory ran out while the page was parsed: the rest of it is dropped, what it
        // queued stays.
    }
    if (links.passedOver()) ShowGrabStatus("Too many links, some passed over : " + finalAddress);
    return whole;
}

void ParseWeb::AddResourceURL(const std::string& url) {
    try {
        grabber::AddResourceURL(url);
    } catch (const kit::RuntimeError&) {
    }
}

void ParseWeb::AddPageLink(const std::string& url, const std::string& text) {
    grabber::AddPageLink(url, text);
}

void ParseWeb::AddPriorityPage(const std::string& url, const std::string& text) {
    grabber::AddPriorityPage(url, text);
}

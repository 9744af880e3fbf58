// The three queue adders: link texts merged within their bound, duplicates, and the second
// address of a redirect link.
#include <gtest/gtest.h>

#include "grabber/grab_state.h"
#include "grabber/queues.h"
#include "platform/headless/bind.h"

namespace {

class QueueTest : public ::testing::Test {
protected:
    platform::headless::HeadlessWorld world;
    void SetUp() override {
        world.bind();
        ResetGrabState();
    }
    void TearDown() override { ResetGrabState(); }
};

TEST_F(QueueTest, LinkTextsMergeAsTheyAreFound) {
    using grabber::AddPageLink;
    AddPageLink("http://s/a.html", "");
    AddPageLink("http://s/a.html", "Cats");       // an empty stored text takes the new one
    AddPageLink("http://s/a.html", "Dogs");       // neither holds the other: appended
    AddPageLink("http://s/a.html", "tsDo");       // held in the stored text: it stays
    AddPageLink("http://s/a.html", "");           // an empty text changes nothing
    EXPECT_EQ(gPageQueueTexts, std::vector<std::string>{"CatsDogs"});
    AddPageLink("http://s/a.html", "All CatsDogs");  // holds the stored text: replaces it
    EXPECT_EQ(gPageQueueTexts, std::vector<std::string>{"All CatsDogs"});
    // The priority queue keeps its first entry as it is.
    grabber::AddPriorityPage("http://s/f", "");
    grabber::AddPriorityPage("http://s/f", "later");
    EXPECT_EQ(gPriorityPageTexts, std::vector<std::string>{""});
    EXPECT_EQ(gPageQueueCount, 1);
    EXPECT_EQ(gPriorityPageCount, 1);
}

TEST_F(QueueTest, AMergedLinkTextStaysWithinItsBound) {
    // One address linked with ever new texts.
    std::string all;
    for (int i = 0; i < 3000; ++i) {
        const std::string text = "text " + std::to_string(i) + ";";
        grabber::AddPageLink("http://s/same.html", text);
        all += text;
    }
    ASSERT_EQ(gPageQueueCount, 1);
    const std::string& merged = gPageQueueTexts[0];
    EXPECT_LE(merged.size(), grabber::kMaxLinkText);
    EXPECT_GT(merged.size(), grabber::kMaxLinkText - 16);
    EXPECT_EQ(merged, all.substr(0, merged.size()));  // later texts are not appended
    // A text past the bound neither replaces the stored text nor is stored whole.
    grabber::AddPageLink("http://s/same.html", std::string(5000, 'x') + merged);
    EXPECT_EQ(gPageQueueTexts[0], merged);
    grabber::AddPageLink("http://s/long.html", std::string(10000, 'y'));
    grabber::AddPriorityPage("http://s/long", std::string(10000, 'z'));
    EXPECT_EQ(gPageQueueTexts[1].size(), grabber::kMaxLinkText);
    EXPECT_EQ(gPriorityPageTexts[0].size(), grabber::kMaxLinkText);
}

TEST_F(QueueTest, HttpsAddressesAreKeyedAsHttpAddressesAre) {
    for (const char* url : {"https://s/a.html", "HTTPS://S:443/a.html#top", "https://s//a.html", "http://s/a.html",
                            "https://s:8443/a.html"})
        grabber::AddPageLink(url, "");
    EXPECT_EQ(gPageQueueURLs, (std::vector<std::string>{"https://s/a.html", "http://s/a.html", "https://s:8443/a.html"}));
}

TEST_F(QueueTest, OnlyASecondAddressIsCutOutOfAPictureAddress) {
    const struct {
        const char* found;
        const char* queued;
    } rows[] = {
        // Names that merely hold "http" or "ftp" are kept whole.
        {"http://s/pics/httpd-logo.png", "http://s/pics/httpd-logo.png"},
        {"http://s/ftplogo.gif", "http://s/ftplogo.gif"},
        {"http://s/img/http.gif", "http://s/img/http.gif"},
        // A redirect link is queued as the address behind its prefix.
        {"http://s/go?u=http://t/a.jpg", "http://t/a.jpg"},
        {"http://s/go?u=https://t/b.jpg", "https://t/b.jpg"},
        {"http://s/go?u=ftp://t/c.gif", "ftp://t/c.gif"},
        {"http://s/r?http://t/x?http://u/d.png", "http://u/d.png"},
    };
    for (const auto& r : rows) EXPECT_EQ(grabber::CutRedirectLink(r.found), r.queued) << r.found;
    grabber::AddResourceURL("http://s/pics/httpd-logo.png");
    grabber::AddResourceURL("http://s/go?u=http://t/a.jpg");
    grabber::AddResourceURL("http://t/a.jpg#again");
    EXPECT_EQ(gPictureQueue, (std::vector<std::string>{"http://s/pics/httpd-logo.png", "http://t/a.jpg"}));
}

}  // namespace

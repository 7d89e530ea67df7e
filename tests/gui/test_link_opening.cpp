// Which link texts reach the default browser: absolute http and https addresses with a host, and
// nothing else a web page might put into a link cell.
#include <gtest/gtest.h>

#include <QStringList>

#include "ui/link_opening.h"

namespace {

struct LinkCase {
    const char* link;
    bool opened;
};

const LinkCase kLinks[] = {
    {"http://example.com/a?b=1&c=%20", true},
    {"https://example.com", true},
    {"HTTPS://Example.COM/Path", true},
    {"http://127.0.0.1:8080/", true},
    {"http://user@example.com/", true},
    {"http://例子.测试/路径?词=值", true},
    {"http://example.com/a b", true},
    {"file:///etc/passwd", false},
    {"file://localhost/etc/passwd", false},
    {"javascript:alert(1)", false},
    {"JavaScript:alert(document.cookie)", false},
    {"data:text/html,<script>alert(1)</script>", false},
    {"/usr/bin/xterm", false},
    {"../../etc/passwd", false},
    {"C:\\Windows\\system32\\calc.exe", false},
    {"www.example.com/page", false},
    {"//example.com/page", false},
    {"steam://run/10", false},
    {"mailto:someone@example.com", false},
    {"ftp://example.com/file", false},
    {"http:", false},
    {"http://", false},
    {"http:///etc/passwd", false},
    {"http:example.com", false},
    {"https://exa mple.com/", false},
    {"-dhttp://example.com", false},
};

TEST(LinkOpening, OnlyAbsoluteHttpAndHttpsAddressesWithAHostAreWebAddresses) {
    for (const LinkCase& link : kLinks) {
        SCOPED_TRACE(link.link);
        const std::optional<QUrl> address = WebAddress(QString::fromUtf8(link.link));
        EXPECT_EQ(address.has_value(), link.opened);
        if (address) {
            EXPECT_TRUE(address->scheme() == "http" || address->scheme() == "https");
            EXPECT_FALSE(address->host().isEmpty());
        }
    }
}

struct Recorder : DesktopServices {
    QStringList opened;
    void OpenAddress(const QUrl& address) override { opened.append(address.toString()); }
    bool PutOnClipboard(const QString&) override { return false; }
    bool AskYesNo(const QString&, const QString&) override { return false; }
};

TEST(LinkOpening, WebAddressesOpenInOrderEmptyLinksArePassedOverOthersCounted) {
    Recorder desktop;
    const QStringList links = {"http://a.example/1", "", "file:///bin/sh", "https://b.example/2", "", "x:y"};
    EXPECT_EQ(OpenWebLinks(links, desktop), 2);
    EXPECT_EQ(desktop.opened, (QStringList{"http://a.example/1", "https://b.example/2"}));
    EXPECT_EQ(OpenWebLinks({}, desktop), 0);
    EXPECT_EQ(OpenWebLinks({"", ""}, desktop), 0);
    EXPECT_EQ(desktop.opened.size(), 2);
}

TEST(LinkOpening, TheStatusTextCountsTheLinksNotOpened) {
    EXPECT_EQ(LinksNotOpenedText(3), QStringLiteral("有3条链接不是http或https网址，未打开"));
}

}  // namespace

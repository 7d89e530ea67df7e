// The scriptable request object as the link resolver uses it: no redirect followed, headers in the
// order set, response headers by name.
#include "platform/http_request_object.h"

#include <gtest/gtest.h>

#include "tests/support/loopback_server.h"

namespace {

using platform::http::RequestObject;
using testsupport::LoopbackServer;
using testsupport::RecordedRequest;
using testsupport::Reply;

Reply Redirect(std::string location) {
    Reply reply;
    reply.status = 302;
    reply.reason = "Found";
    reply.headers = {{"Location", std::move(location)}};
    reply.body = "moved";
    return reply;
}

TEST(HttpRequestObject, ReadsTheLocationWithoutFollowingIt) {
    LoopbackServer server([](const RecordedRequest&) { return Redirect("http://target.invalid/page?x=1"); });
    RequestObject object;
    ASSERT_TRUE(object.SetOption(RequestObject::kOptionEnableRedirects, 0));
    ASSERT_TRUE(object.SetOption(RequestObject::kOptionSslErrorIgnoreFlags, 0x3300));
    object.SetTimeouts(5000, 5000, 10000, 5000);
    ASSERT_TRUE(object.Open("GET", server.BaseUrl() + "/link?url=abc"));
    ASSERT_TRUE(
        object.SetRequestHeader("User-Agent", "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)"));
    ASSERT_TRUE(object.SetRequestHeader("Accept-Language", "zh-cn"));
    ASSERT_TRUE(object.SetRequestHeader("Connection", "Keep-Alive"));
    ASSERT_TRUE(object.SetRequestHeader("Accept", "*/*"));
    ASSERT_TRUE(object.Send());
    EXPECT_EQ(object.Status(), 302);
    EXPECT_EQ(object.GetResponseHeader("location"), "http://target.invalid/page?x=1");
    EXPECT_EQ(object.GetResponseHeader("X-Absent"), std::nullopt);
    EXPECT_EQ(object.ResponseBody(), "moved");

    ASSERT_EQ(server.Requests().size(), 1u);
    RecordedRequest request = server.Requests()[0];
    EXPECT_EQ(request.target, "/link?url=abc");
    EXPECT_EQ(std::vector<std::string>(request.headerLines.begin() + 1, request.headerLines.end()),
              (std::vector<std::string>{"User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)",
                                        "Accept-Language: zh-cn", "Connection: Keep-Alive", "Accept: */*"}));
}

TEST(HttpRequestObject, FollowsRedirectsUnlessSwitchedOff) {
    LoopbackServer server([](const RecordedRequest& request) {
        if (request.target == "/start") {
            return Redirect("/end");
        }
        Reply reply;
        reply.body = "end";
        return reply;
    });
    RequestObject object;
    ASSERT_TRUE(object.Open("GET", server.BaseUrl() + "/start"));
    ASSERT_TRUE(object.Send());
    EXPECT_EQ(object.Status(), 200);
    EXPECT_EQ(object.ResponseBody(), "end");
}

TEST(HttpRequestObject, FailsWithoutAnswersAndBeforeSend) {
    RequestObject object;
    EXPECT_FALSE(object.SetOption(99, 1));
    EXPECT_FALSE(object.Open("GET", "not a url"));
    EXPECT_FALSE(object.SetRequestHeader("A", "b"));
    EXPECT_FALSE(object.Send());
    EXPECT_EQ(object.GetResponseHeader("Location"), std::nullopt);
    EXPECT_EQ(object.Status(), 0);

    Reply silent;
    silent.mode = Reply::Mode::Silent;
    LoopbackServer server([&silent](const RecordedRequest&) { return silent; });
    object.SetTimeouts(1000, 1000, 1000, 1000);
    ASSERT_TRUE(object.Open("GET", server.BaseUrl() + "/"));
    EXPECT_FALSE(object.Send());
    EXPECT_EQ(object.GetResponseHeader("Location"), std::nullopt);
}

}  // namespace

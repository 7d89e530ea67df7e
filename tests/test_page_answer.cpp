// Telling a result page from a failed request and from the service's verification page.
#include "search/page_answer.h"

#include <gtest/gtest.h>

#include "tests/support/fake_window.h"

using testsupport::Gb;

TEST(PageAnswer, ClassifiesByStatusRedirectAndTitle) {
    struct Case {
        std::string text;
        std::string statusText;
        std::string redirectLocation;
        PageAnswer answer;
    } cases[] = {
        {"<html>results</html>", "200 OK", "", PageAnswer::Page},
        {"", "204 No Content", "", PageAnswer::Page},
        {"", "711 " + Gb("发送请求失败!"), "", PageAnswer::Failed},
        {"", "712 " + Gb("服务器未响应!"), "", PageAnswer::Failed},
        {"", Gb("忽略错误/证书错误  失败！"), "", PageAnswer::Failed},
        {"", "", "", PageAnswer::Failed},
        {"<html>oops</html>", "500 Internal Server Error", "", PageAnswer::Failed},
        {"", "404 Not Found", "", PageAnswer::Failed},
        {"", "302 Found", "http://www.baidu.com/elsewhere", PageAnswer::Failed},
        {"", "302 Found", "https://wappass.baidu.com/static/captcha/tuxing.html?ak=1",
         PageAnswer::Verification},
        {"", "711 " + Gb("发送请求失败!"), "https://WAPPASS.baidu.com/x", PageAnswer::Verification},
        {Gb("<html><head><TITLE> 百度安全验证 </TITLE></head></html>"), "200 OK", "",
         PageAnswer::Verification},
        {Gb("<title>百度安全验证以外</title>"), "200 OK", "", PageAnswer::Page},
        {Gb("<title>x</title><p>百度安全验证</p>"), "200 OK", "", PageAnswer::Page},
    };
    for (const auto& c : cases) {
        WebRequestOutputs outputs;
        outputs.StatusText = c.statusText;
        outputs.RedirectLocation = c.redirectLocation;
        EXPECT_EQ(ClassifyPageAnswer(c.text, outputs), c.answer) << c.statusText << " " << c.redirectLocation;
    }
}

// Status texts. The sources are UTF-8; the window takes program text.
#include "search/status_texts.h"

#include "platform/codepage.h"
#include "search/text_to_integer.h"

namespace {

std::string Text(std::string_view utf8) {
    return platform::codepage::Utf8ToText(utf8);
}

}  // namespace

std::string CustomSiteMissingText() {
    return Text("请输入自定义网址！！！！！！");
}

std::string PageTotalsText(std::int64_t resultCount, std::int64_t rowCount) {
    return Text("本次获取到") + NumberText(resultCount) + Text("个结果，以上共计") + NumberText(rowCount) +
           Text("个结果!");
}

std::string FailedPageText(std::int64_t page, std::string_view engineMessage, std::int64_t rowCount) {
    const std::string message = engineMessage.empty() ? Text("无应答") : std::string(engineMessage);
    return Text("第") + NumberText(page) + Text("页获取失败（") + message + Text("），以上共计") +
           NumberText(rowCount) + Text("个结果!");
}

std::string VerificationPageText(std::int64_t page, std::int64_t rowCount) {
    return Text("第") + NumberText(page) + Text("页被百度要求安全验证，已停止获取，请稍后再试，以上共计") +
           NumberText(rowCount) + Text("个结果!");
}

// The engine's failure messages, written here in UTF-8 exactly as the engine shows them; StatusText
// receives them as program text through MessageText.
#pragma once

#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace web {

inline constexpr std::string_view kMsgNoPlatform = "700 当前系统不支持WinHttp服务!";
inline constexpr std::string_view kMsgCrackUrl = "701 解析URL地址失败!";
inline constexpr std::string_view kMsgOpenSession = "702 创建WinHttp会话失败!";
inline constexpr std::string_view kMsgConnect = "703 创建WinHttp连接失败!";
inline constexpr std::string_view kMsgOpenRequest = "704 创建WinHttp请求失败!";
inline constexpr std::string_view kMsgTimeouts = "705 设置超时时间失败!";
inline constexpr std::string_view kMsgCredentials = "707 设置代理凭证失败!";
inline constexpr std::string_view kMsgCertificateFlags = "忽略错误/证书错误  失败！";
inline constexpr std::string_view kMsgCookieOption = "708 禁止自动设置Cookies失败!";
inline constexpr std::string_view kMsgRedirectOption = "709 重定向设置失败!";
inline constexpr std::string_view kMsgHeaders = "710 设置协议头失败!";
inline constexpr std::string_view kMsgSend = "711 发送请求失败!";
inline constexpr std::string_view kMsgReceive = "712 服务器未响应!";
inline constexpr std::string_view kMsgRead = "713 读取数据失败!";

inline std::string MessageText(std::string_view utf8Message) {
    return platform::codepage::Utf8ToText(utf8Message);
}

}  // namespace web

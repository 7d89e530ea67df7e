// Owners for libcurl's handles: the easy handle, a header list and a parsed URL. Each frees its
// handle when it goes out of scope.
#pragma once

#include <curl/curl.h>

#include <memory>
#include <string>
#include <vector>

namespace platform::http {

struct CurlEasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

struct CurlUrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using CurlUrl = std::unique_ptr<CURLU, CurlUrlDeleter>;

// A curl_slist built from lines; libcurl reads it for as long as the owner lives.
class CurlList {
public:
    CurlList() = default;
    explicit CurlList(const std::vector<std::string>& lines) {
        for (const std::string& line : lines) {
            Append(line);
        }
    }
    ~CurlList() { curl_slist_free_all(list_); }
    CurlList(const CurlList&) = delete;
    CurlList& operator=(const CurlList&) = delete;

    // False when libcurl cannot allocate the entry; the list keeps what it had.
    bool Append(const std::string& line) {
        curl_slist* grown = curl_slist_append(list_, line.c_str());
        if (grown == nullptr) {
            return false;
        }
        list_ = grown;
        return true;
    }
    curl_slist* Get() const { return list_; }

private:
    curl_slist* list_ = nullptr;
};

}  // namespace platform::http

// The loopback test server seen from a plain socket and from libcurl: what it records, how it answers
// in each mode, keep-alive, TLS, and a prompt stop with a connection still held.
#include "tests/support/loopback_server.h"

#include <arpa/inet.h>
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <thread>

namespace {

using testsupport::LoopbackServer;
using testsupport::RecordedRequest;
using testsupport::Reply;

// A plain TCP client socket to the server, closed on scope exit.
class Client {
public:
    explicit Client(int port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<uint16_t>(port));
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~Client() { ::close(fd_); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    bool Connected() const { return connected_; }
    void Send(std::string_view data) {
        ASSERT_EQ(::send(fd_, data.data(), data.size(), MSG_NOSIGNAL), (long)data.size());
    }

    // Everything until the server closes the connection.
    std::string ReadToEnd() {
        std::string all;
        char chunk[4096];
        long got;
        while ((got = ::recv(fd_, chunk, sizeof chunk, 0)) > 0) {
            all.append(chunk, static_cast<std::size_t>(got));
        }
        return all;
    }

    // Exactly `count` bytes, or fewer when the connection ends first.
    std::string ReadExactly(std::size_t count) {
        std::string all;
        char chunk[4096];
        while (all.size() < count) {
            long got = ::recv(fd_, chunk, std::min(sizeof chunk, count - all.size()), 0);
            if (got <= 0) {
                break;
            }
            all.append(chunk, static_cast<std::size_t>(got));
        }
        return all;
    }

private:
    int fd_;
    bool connected_ = false;
};

Reply Answer(std::string body) {
    Reply reply;
    reply.body = std::move(body);
    return reply;
}

TEST(LoopbackServer, RecordsRequestLineHeadersInOrderAndBody) {
    LoopbackServer server([](const RecordedRequest&) { return Answer("hello"); });
    Client client(server.Port());
    ASSERT_TRUE(client.Connected());
    client.Send(
        "POST /s?wd=x HTTP/1.1\r\nHost: a\r\nX-Second: 2\r\ncontent-length: 4\r\nConnection: "
        "close\r\n\r\nbody");
    EXPECT_EQ(client.ReadToEnd(), "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello");

    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].requestLine, "POST /s?wd=x HTTP/1.1");
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].target, "/s?wd=x");
    EXPECT_EQ(requests[0].headerLines,
              (std::vector<std::string>{"Host: a", "X-Second: 2", "content-length: 4", "Connection: close"}));
    EXPECT_EQ(requests[0].body, "body");
    EXPECT_EQ(requests[0].Header("CONTENT-LENGTH"), "4");
    EXPECT_EQ(requests[0].Header("Absent"), "");
}

TEST(LoopbackServer, AnswersSeveralRequestsOnOneKeptAliveConnection) {
    int count = 0;
    LoopbackServer server([&count](const RecordedRequest& request) {
        return Answer(request.target + std::to_string(++count));
    });
    Client client(server.Port());
    const std::string expected1 = "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n/a1";
    const std::string expected2 = "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n/b2";
    // Both requests in one write: the second must not be lost in the first one's buffer.
    client.Send("GET /a HTTP/1.1\r\nHost: x\r\n\r\nGET /b HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_EQ(client.ReadExactly(expected1.size()), expected1);
    EXPECT_EQ(client.ReadExactly(expected2.size()), expected2);
    client.Send("GET /c HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(client.ReadToEnd(), "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n/c3");
    EXPECT_EQ(server.Requests().size(), 3u);
}

TEST(LoopbackServer, RepliesInEachMode) {
    struct Case {
        const char* name;
        Reply reply;
        std::string expected;
    };
    Reply given;
    given.status = 404;
    given.reason = "Not Found";
    given.headers = {{"X-A", "1"}, {"content-length", "2"}};
    given.body = "ab";
    Reply chunked;
    chunked.headers = {{"Transfer-Encoding", "chunked"}};
    chunked.body = "1\r\nz\r\n0\r\n\r\n";
    Reply cut;
    cut.body = "0123456789";
    cut.mode = Reply::Mode::CutMidBody;
    cut.cutAfter = 4;
    Reply closeAtOnce;
    closeAtOnce.mode = Reply::Mode::CloseAtOnce;
    Reply raw;
    raw.rawHead = "garbage head\r\n\r\n";
    raw.body = "rest";
    const Case cases[] = {
        {"headers given", given, "HTTP/1.1 404 Not Found\r\nX-A: 1\r\ncontent-length: 2\r\n\r\nab"},
        {"transfer encoding given", chunked,
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\nz\r\n0\r\n\r\n"},
        {"cut mid body", cut, "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n0123"},
        {"close at once", closeAtOnce, ""},
        {"raw head", raw, "garbage head\r\n\r\nrest"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackServer server([&c](const RecordedRequest&) { return c.reply; });
        Client client(server.Port());
        client.Send("GET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
        EXPECT_EQ(client.ReadToEnd(), c.expected);
    }
}

TEST(LoopbackServer, HeadRequestGetsTheLengthButNoBody) {
    LoopbackServer server([](const RecordedRequest&) { return Answer("12345"); });
    Client client(server.Port());
    client.Send("HEAD / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(client.ReadToEnd(), "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n");
}

TEST(LoopbackServer, SilentConnectionIsReleasedWhenTheServerStops) {
    std::string received = "unset";
    {
        Reply silent;
        silent.mode = Reply::Mode::Silent;
        auto server = std::make_unique<LoopbackServer>([silent](const RecordedRequest&) { return silent; });
        Client client(server->Port());
        client.Send("GET /wait HTTP/1.1\r\nHost: x\r\n\r\n");
        // The request is recorded before the handler decides to stay silent.
        while (server->Requests().empty()) {
            std::this_thread::yield();
        }
        EXPECT_EQ(server->Requests()[0].target, "/wait");
        server.reset();
        received = client.ReadToEnd();
    }
    EXPECT_EQ(received, "");
}

TEST(LoopbackServer, StopsWithAnIdleConnectionOpen) {
    auto server = std::make_unique<LoopbackServer>([](const RecordedRequest&) { return Answer("x"); });
    Client client(server->Port());
    ASSERT_TRUE(client.Connected());
    server.reset();
    EXPECT_EQ(client.ReadToEnd(), "");
}

size_t AppendTo(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

TEST(LoopbackServer, SpeaksTlsWithASelfSignedCertificate) {
    LoopbackServer server([](const RecordedRequest& request) { return Answer("secure " + request.body); },
                          LoopbackServer::Tls::On);
    ASSERT_EQ(server.BaseUrl().rfind("https://127.0.0.1:", 0), 0u);
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    std::string body;
    std::string url = server.BaseUrl() + "/tls";
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_PROXY, "");
    curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDS, "data");
    curl_easy_setopt(curl.get(), CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(curl.get(), CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &AppendTo);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &body);
    ASSERT_EQ(curl_easy_perform(curl.get()), CURLE_OK);
    EXPECT_EQ(body, "secure data");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].target, "/tls");

    // Each server makes its own certificate; a second one starts as well.
    LoopbackServer second([](const RecordedRequest&) { return Answer(""); }, LoopbackServer::Tls::On);
    EXPECT_NE(second.Port(), server.Port());
}

TEST(LoopbackServer, AnswersOneHundredContinueBeforeTheBody) {
    LoopbackServer server(
        [](const RecordedRequest& request) { return Answer(std::to_string(request.body.size())); });
    Client client(server.Port());
    client.Send(
        "PUT / HTTP/1.1\r\nHost: x\r\nExpect: 100-continue\r\nContent-Length: 3\r\nConnection: "
        "close\r\n\r\n");
    EXPECT_EQ(client.ReadExactly(25), "HTTP/1.1 100 Continue\r\n\r\n");
    client.Send("abc");
    EXPECT_EQ(client.ReadToEnd(), "HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\n3");
}

}  // namespace

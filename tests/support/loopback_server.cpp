// The loopback test server: one thread accepts on 127.0.0.1, one thread serves each connection
// (several requests in turn while the client keeps it alive). Stopping shuts every socket down, so
// threads blocked in accept, read, write or a Silent wait all return at once.
#include "tests/support/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <list>
#include <mutex>
#include <set>
#include <thread>

namespace testsupport {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Trim(std::string_view text) {
    std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return {};
    }
    std::size_t end = text.find_last_not_of(" \t");
    return std::string(text.substr(begin, end - begin + 1));
}

// A write to a peer that has gone raises SIGPIPE in the writing thread; the server's threads keep it
// blocked so the test process lives on.
void BlockSigpipeInThisThread() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

struct SslCtxDeleter {
    void operator()(SSL_CTX* ctx) const { SSL_CTX_free(ctx); }
};
struct SslDeleter {
    void operator()(SSL* ssl) const { SSL_free(ssl); }
};
struct PkeyDeleter {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct X509Deleter {
    void operator()(X509* cert) const { X509_free(cert); }
};
using SslCtxPtr = std::unique_ptr<SSL_CTX, SslCtxDeleter>;
using SslPtr = std::unique_ptr<SSL, SslDeleter>;

// A server context with a fresh EC key and a self-signed certificate for 127.0.0.1, all in memory;
// null when OpenSSL refuses.
SslCtxPtr MakeSelfSignedContext() {
    std::unique_ptr<EVP_PKEY, PkeyDeleter> key(EVP_EC_gen("P-256"));
    std::unique_ptr<X509, X509Deleter> cert(X509_new());
    SslCtxPtr ctx(SSL_CTX_new(TLS_server_method()));
    if (!key || !cert || !ctx) {
        return nullptr;
    }
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 24 * 3600);
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"),
                               -1, -1, 0);
    X509_set_issuer_name(cert.get(), name);
    X509_set_pubkey(cert.get(), key.get());
    if (X509_sign(cert.get(), key.get(), EVP_sha256()) == 0 ||
        SSL_CTX_use_certificate(ctx.get(), cert.get()) != 1 ||
        SSL_CTX_use_PrivateKey(ctx.get(), key.get()) != 1) {
        return nullptr;
    }
    return ctx;
}

// One accepted socket, plain or TLS. Reads and writes whole buffers; false once the peer is gone or
// the server is stopping.
class Connection {
public:
    Connection(int fd, SSL_CTX* ctx) : fd_(fd) {
        if (ctx != nullptr) {
            ssl_.reset(SSL_new(ctx));
            SSL_set_fd(ssl_.get(), fd_);
        }
    }
    ~Connection() {
        if (ssl_ && handshakeDone_) {
            SSL_shutdown(ssl_.get());
        }
        ssl_.reset();
        ::close(fd_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool Handshake() {
        if (!ssl_) {
            return true;
        }
        handshakeDone_ = SSL_accept(ssl_.get()) == 1;
        ERR_clear_error();
        return handshakeDone_;
    }

    // Appends what arrives to `buffer`; false at end of stream or on an error.
    bool ReadSome(std::string& buffer) {
        char chunk[16384];
        long got = 0;
        if (ssl_) {
            got = SSL_read(ssl_.get(), chunk, sizeof chunk);
            ERR_clear_error();
        } else {
            got = ::recv(fd_, chunk, sizeof chunk, 0);
        }
        if (got <= 0) {
            return false;
        }
        buffer.append(chunk, static_cast<std::size_t>(got));
        return true;
    }

    bool WriteAll(std::string_view data) {
        while (!data.empty()) {
            int piece = static_cast<int>(std::min<std::size_t>(data.size(), 1 << 20));
            long sent = 0;
            if (ssl_) {
                sent = SSL_write(ssl_.get(), data.data(), piece);
                ERR_clear_error();
            } else {
                sent = ::send(fd_, data.data(), static_cast<std::size_t>(piece), MSG_NOSIGNAL);
            }
            if (sent <= 0) {
                return false;
            }
            data.remove_prefix(static_cast<std::size_t>(sent));
        }
        return true;
    }

private:
    int fd_;
    SslPtr ssl_;
    bool handshakeDone_ = false;
};

// Splits the head (request line and header lines, without the blank line) into `request`; the
// Content-Length value, or 0.
std::size_t ParseHead(std::string_view head, RecordedRequest& request) {
    std::size_t lineEnd = head.find("\r\n");
    request.requestLine = std::string(head.substr(0, lineEnd));
    std::size_t space1 = request.requestLine.find(' ');
    std::size_t space2 = request.requestLine.find(' ', space1 == std::string::npos ? space1 : space1 + 1);
    request.method = request.requestLine.substr(0, space1);
    if (space1 != std::string::npos) {
        request.target = request.requestLine.substr(
            space1 + 1, space2 == std::string::npos ? std::string::npos : space2 - space1 - 1);
    }
    while (lineEnd != std::string_view::npos) {
        std::size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        request.headerLines.emplace_back(
            head.substr(start, lineEnd == std::string_view::npos ? std::string_view::npos : lineEnd - start));
    }
    std::string length = request.Header("Content-Length");
    std::size_t value = 0;
    for (char c : length) {
        if (c < '0' || c > '9' || value > (std::size_t{1} << 40)) {
            return 0;
        }
        value = value * 10 + static_cast<std::size_t>(c - '0');
    }
    return value;
}

bool WantsClose(const RecordedRequest& request) {
    std::string connection = request.Header("Connection");
    if (request.requestLine.ends_with("HTTP/1.0")) {
        return !EqualsIgnoringCase(connection, "keep-alive");
    }
    return EqualsIgnoringCase(connection, "close");
}

bool HasHeader(const Reply& reply, std::string_view name) {
    return std::any_of(reply.headers.begin(), reply.headers.end(),
                       [&](const auto& header) { return EqualsIgnoringCase(header.first, name); });
}

std::string BuildHead(const Reply& reply) {
    if (!reply.rawHead.empty()) {
        return reply.rawHead;
    }
    std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + reply.reason + "\r\n";
    for (const auto& [name, value] : reply.headers) {
        head += name + ": " + value + "\r\n";
    }
    if (!HasHeader(reply, "Content-Length") && !HasHeader(reply, "Transfer-Encoding")) {
        head += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
    }
    return head + "\r\n";
}

}  // namespace

std::string RecordedRequest::Header(const std::string& name) const {
    for (const std::string& line : headerLines) {
        std::size_t colon = line.find(':');
        if (colon != std::string::npos && EqualsIgnoringCase(Trim(line.substr(0, colon)), name)) {
            return Trim(std::string_view(line).substr(colon + 1));
        }
    }
    return {};
}

struct LoopbackServer::State {
    Handler handler;
    SslCtxPtr sslContext;
    int listenFd = -1;
    int port = 0;
    std::thread acceptThread;

    mutable std::mutex mutex;
    std::condition_variable stopped;
    bool stopping = false;
    std::vector<RecordedRequest> requests;
    std::set<int> openSockets;
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::list<Worker> workers;

    void AcceptLoop();
    void Serve(int fd);
    // Waits until the server stops; a Silent reply holds its connection this way.
    void WaitForStop() {
        std::unique_lock lock(mutex);
        stopped.wait(lock, [this] { return stopping; });
    }
    bool Stopping() {
        std::lock_guard lock(mutex);
        return stopping;
    }
    void ReapFinishedWorkers();
};

void LoopbackServer::State::ReapFinishedWorkers() {
    std::list<Worker> finished;
    {
        std::lock_guard lock(mutex);
        for (auto it = workers.begin(); it != workers.end();) {
            auto next = std::next(it);
            if (it->done->load()) {
                finished.splice(finished.end(), workers, it);
            }
            it = next;
        }
    }
    for (Worker& worker : finished) {
        worker.thread.join();
    }
}

void LoopbackServer::State::AcceptLoop() {
    BlockSigpipeInThisThread();
    for (;;) {
        int fd = ::accept(listenFd, nullptr, nullptr);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) {
                continue;
            }
            return;
        }
        ReapFinishedWorkers();
        std::lock_guard lock(mutex);
        if (stopping) {
            ::close(fd);
            return;
        }
        openSockets.insert(fd);
        auto done = std::make_shared<std::atomic<bool>>(false);
        workers.push_back({std::thread([this, fd, done] {
                               Serve(fd);
                               done->store(true);
                           }),
                           done});
    }
}

void LoopbackServer::State::Serve(int fd) {
    BlockSigpipeInThisThread();
    {
        Connection connection(fd, sslContext.get());
        // Leaves the set of open sockets before the socket closes, so the number is never shut down
        // after another connection has been given it.
        struct Unregister {
            State* state;
            int fd;
            ~Unregister() {
                std::lock_guard lock(state->mutex);
                state->openSockets.erase(fd);
            }
        } unregister{this, fd};
        std::string buffer;
        bool open = connection.Handshake();
        while (open) {
            std::size_t headEnd;
            std::size_t searchedUpTo = 0;
            // Searching only the new bytes keeps a head of several megabytes linear.
            while ((headEnd = buffer.find("\r\n\r\n", searchedUpTo)) == std::string::npos) {
                searchedUpTo = buffer.size() < 3 ? 0 : buffer.size() - 3;
                if (!connection.ReadSome(buffer)) {
                    open = false;
                    break;
                }
            }
            if (!open) {
                break;
            }
            RecordedRequest request;
            std::size_t bodyLength = ParseHead(std::string_view(buffer).substr(0, headEnd), request);
            buffer.erase(0, headEnd + 4);
            if (EqualsIgnoringCase(request.Header("Expect"), "100-continue") && buffer.size() < bodyLength) {
                open = connection.WriteAll("HTTP/1.1 100 Continue\r\n\r\n");
            }
            while (open && buffer.size() < bodyLength) {
                open = connection.ReadSome(buffer);
            }
            if (!open) {
                break;
            }
            request.body = buffer.substr(0, bodyLength);
            buffer.erase(0, bodyLength);
            {
                std::lock_guard lock(mutex);
                requests.push_back(request);
            }

            Reply reply = handler ? handler(request) : Reply{};
            std::string body = request.method == "HEAD" ? std::string() : reply.body;
            switch (reply.mode) {
                case Reply::Mode::Complete:
                    open = connection.WriteAll(BuildHead(reply) + body) && !WantsClose(request);
                    break;
                case Reply::Mode::CutMidBody:
                    connection.WriteAll(BuildHead(reply) +
                                        body.substr(0, std::min(reply.cutAfter, body.size())));
                    open = false;
                    break;
                case Reply::Mode::Silent:
                    WaitForStop();
                    open = false;
                    break;
                case Reply::Mode::CloseAtOnce:
                    open = false;
                    break;
            }
        }
    }
}

LoopbackServer::LoopbackServer(Handler handler, Tls tls) : state_(std::make_unique<State>()) {
    state_->handler = std::move(handler);
    if (tls == Tls::On) {
        state_->sslContext = MakeSelfSignedContext();
        if (!state_->sslContext) {
            ADD_FAILURE() << "loopback server: cannot make a self-signed certificate";
            return;
        }
    }
    state_->listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (state_->listenFd < 0 ||
        ::bind(state_->listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(state_->listenFd, 128) != 0 ||
        ::getsockname(state_->listenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ADD_FAILURE() << "loopback server: cannot listen on 127.0.0.1";
        return;
    }
    state_->port = ntohs(address.sin_port);
    state_->acceptThread = std::thread([state = state_.get()] { state->AcceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
    std::list<State::Worker> workers;
    {
        std::lock_guard lock(state_->mutex);
        state_->stopping = true;
        // Shutting a socket down wakes every thread blocked on it.
        ::shutdown(state_->listenFd, SHUT_RDWR);
        for (int fd : state_->openSockets) {
            ::shutdown(fd, SHUT_RDWR);
        }
    }
    state_->stopped.notify_all();
    if (state_->acceptThread.joinable()) {
        state_->acceptThread.join();
    }
    {
        std::lock_guard lock(state_->mutex);
        workers.swap(state_->workers);
    }
    for (State::Worker& worker : workers) {
        worker.thread.join();
    }
    if (state_->listenFd >= 0) {
        ::close(state_->listenFd);
    }
}

int LoopbackServer::Port() const {
    return state_->port;
}

std::string LoopbackServer::BaseUrl() const {
    return std::string(state_->sslContext ? "https" : "http") +
           "://127.0.0.1:" + std::to_string(state_->port);
}

std::vector<RecordedRequest> LoopbackServer::Requests() const {
    std::lock_guard lock(state_->mutex);
    return state_->requests;
}

}  // namespace testsupport

// Temporary folders, free ports and foreground child processes for the real-peer fixtures.
#include "tests/support/peer_process.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace testsupport {

namespace {

using namespace std::chrono_literals;

bool CanConnect(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

}  // namespace

TempFolder::TempFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) != nullptr) {
        path_ = pattern;
    }
}

TempFolder::~TempFolder() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

bool TempFolder::Write(const std::string& name, const std::string& content) const {
    std::ofstream file(path_ / name, std::ios::binary | std::ios::trunc);
    file << content;
    return static_cast<bool>(file.flush());
}

std::string TempFolder::Read(const std::string& name) const {
    std::ifstream file(path_ / name, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

int FreeLoopbackPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return 0;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    ::close(fd);
    return port;
}

std::optional<std::string> FindProgram(const std::string& name) {
    std::string folders = "/usr/sbin:/usr/bin:/sbin:/bin";
    if (const char* path = std::getenv("PATH")) {
        folders = std::string(path) + ":" + folders;
    }
    std::istringstream list(folders);
    for (std::string folder; std::getline(list, folder, ':');) {
        std::filesystem::path candidate = std::filesystem::path(folder) / name;
        if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate.string();
        }
    }
    return std::nullopt;
}

bool PeerProcess::Start(const std::vector<std::string>& arguments, const std::filesystem::path& outputFile) {
    if (pid_ > 0 || arguments.empty()) {
        return false;
    }
    // Everything the child needs is prepared before the fork: after it, only system calls.
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    int output = ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (output < 0) {
        return false;
    }
    pid_t parent = ::getpid();
    pid_t pid = ::fork();
    if (pid == 0) {
        // The peer dies with the test program, however that ends.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) {
            ::_exit(127);
        }
        ::dup2(output, STDOUT_FILENO);
        ::dup2(output, STDERR_FILENO);
        int devNull = ::open("/dev/null", O_RDONLY);
        if (devNull >= 0) {
            ::dup2(devNull, STDIN_FILENO);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(output);
    if (pid < 0) {
        return false;
    }
    pid_ = pid;
    return true;
}

bool PeerProcess::Exited() {
    if (pid_ <= 0) {
        return true;
    }
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return true;
    }
    return false;
}

bool PeerProcess::WaitUntilListening(int port, int waitSeconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(waitSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (Exited()) {
            return false;
        }
        if (CanConnect(port)) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

void PeerProcess::Stop() {
    if (pid_ <= 0) {
        return;
    }
    ::kill(pid_, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() + 3s;
    while (!Exited() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(5ms);
    }
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

}  // namespace testsupport

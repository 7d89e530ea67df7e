// Pieces shared by the fixtures that run a real server from the system's packages on loopback: a
// temporary folder that goes away with its owner, a free loopback port, and a child process that
// runs in the foreground, is killed with its owner (or with the test program, should that die),
// and is reaped.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with everything in it on destruction.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Writes `content` to the file `name` inside the folder; false when that fails.
    bool Write(const std::string& name, const std::string& content) const;
    // The content of the file `name` inside the folder; empty when it cannot be read.
    std::string Read(const std::string& name) const;

private:
    std::filesystem::path path_;
};

// A port on 127.0.0.1 that nobody listened on a moment ago; 0 when none could be had.
int FreeLoopbackPort();

// The full path of a program found on PATH or in the usual system folders; nullopt when absent.
std::optional<std::string> FindProgram(const std::string& name);

// A child process with its standard output and error sent to a file.
class PeerProcess {
public:
    PeerProcess() = default;
    ~PeerProcess() { Stop(); }
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    // Starts `arguments[0]` (a full path) with the arguments; false when it could not be started.
    bool Start(const std::vector<std::string>& arguments, const std::filesystem::path& outputFile);
    // Waits until the process accepts connections on 127.0.0.1:`port`; false when it ended first or
    // did not listen within `waitSeconds`.
    bool WaitUntilListening(int port, int waitSeconds);
    // Terminates the process (killed outright when it lingers) and reaps it. Safe to call twice.
    void Stop();

private:
    bool Exited();
    pid_t pid_ = -1;
};

}  // namespace testsupport

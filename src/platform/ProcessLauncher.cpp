#include "platform/ProcessLauncher.h"

#include "platform/PathText.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace orvo {

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// Only async-signal-safe calls between fork and exec: the caller may have
// other threads holding locks.
enum Stage : int { kFork = 0, kChdir = 1, kExec = 2 };
struct ChildFailure {
    int stage;
    int error;
};

void WriteErrorAndExit(int fd, Stage stage, int error) {
    ChildFailure failure{stage, error};
    ssize_t ignored = ::write(fd, &failure, sizeof failure);
    (void)ignored;
    ::_exit(127);
}

} // namespace

std::string FindProgram(std::string_view name) {
    if (name.empty())
        return {};
    std::string n(name);
    if (n.find('/') != std::string::npos)
        return IsExecutableFile(n) ? n : std::string();
    const char* path = std::getenv("PATH");
    std::string_view dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t pos = 0;
    while (pos <= dirs.size()) {
        size_t end = dirs.find(':', pos);
        if (end == std::string_view::npos)
            end = dirs.size();
        std::string_view dir = dirs.substr(pos, end - pos);
        std::string candidate = JoinPath(dir.empty() ? "." : dir, n);
        if (IsExecutableFile(candidate))
            return candidate;
        pos = end + 1;
    }
    return {};
}

bool StartProgram(const std::vector<std::string>& argv, const std::string& workingDirectory,
                  std::string* error) {
    auto fail = [&](const std::string& message) {
        if (error)
            *error = message;
        return false;
    };
    if (argv.empty())
        return fail("No program to start.");
    std::string program = FindProgram(argv[0]);
    if (program.empty())
        return fail("Cannot find the program \"" + argv[0] + "\".");

    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return fail(std::string("Cannot start \"") + argv[0] + "\": " + std::strerror(errno));
    pid_t child = ::fork();
    if (child < 0) {
        int e = errno;
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return fail(std::string("Cannot start \"") + argv[0] + "\": " + std::strerror(e));
    }
    if (child == 0) {
        ::close(pipeFds[0]);
        ::setsid();
        pid_t grandchild = ::fork();
        if (grandchild < 0)
            WriteErrorAndExit(pipeFds[1], kFork, errno);
        if (grandchild > 0)
            ::_exit(0);
        if (!workingDirectory.empty() && ::chdir(workingDirectory.c_str()) != 0)
            WriteErrorAndExit(pipeFds[1], kChdir, errno);
        // A detached program must not compete for our terminal's input.
        int devNull = ::open("/dev/null", O_RDONLY);
        if (devNull >= 0 && devNull != STDIN_FILENO) {
            ::dup2(devNull, STDIN_FILENO);
            ::close(devNull);
        }
        // What we ignore or block is ours, not the started program's.
        ::signal(SIGPIPE, SIG_DFL);
        ::signal(SIGCHLD, SIG_DFL);
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::execve(program.c_str(), args.data(), environ);
        WriteErrorAndExit(pipeFds[1], kExec, errno);
    }
    ::close(pipeFds[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // The pipe closes on a successful exec; otherwise it says what failed.
    ChildFailure failure{};
    ssize_t n;
    do {
        n = ::read(pipeFds[0], &failure, sizeof failure);
    } while (n < 0 && errno == EINTR);
    ::close(pipeFds[0]);
    if (n == static_cast<ssize_t>(sizeof failure)) {
        if (failure.stage == kChdir)
            return fail("Cannot enter the directory \"" + workingDirectory +
                        "\": " + std::strerror(failure.error));
        return fail("Cannot start \"" + argv[0] + "\": " + std::strerror(failure.error));
    }
    return true;
}

} // namespace orvo

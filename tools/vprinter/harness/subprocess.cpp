#include "tools/vprinter/harness/subprocess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace integration {

namespace {

ProcessResult Run(const std::vector<std::string>& argv, int timeoutMs,
                  const std::atomic<bool>* interrupt, bool holdErr) {
    ProcessResult result;
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0)
        return result;
    if (pipe(errPipe) != 0) {
        close(outPipe[0]);
        close(outPipe[1]);
        return result;
    }
    // One page: whatever the system's default, a few kilobytes of messages
    // fill it.
    const int errCapacity = holdErr ? fcntl(errPipe[0], F_SETPIPE_SZ, 4096) : 0;
    if (holdErr && errCapacity <= 0) {
        for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]})
            close(fd);
        return result;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        const int devNull = open("/dev/null", O_RDONLY);
        dup2(devNull, 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        close(outPipe[0]);
        close(errPipe[0]);
        std::vector<char*> args;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    if (pid < 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        return result;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], holdErr ? short(0) : short(POLLIN), 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    // Reads what is there; false once both pipes are closed.
    auto drain = [&](int waitMs) {
        if (fds[0].fd < 0 && fds[1].fd < 0)
            return false;
        if (poll(fds, 2, waitMs) <= 0)
            return true;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, size_t(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
            }
        }
        return true;
    };
    int status = 0;
    bool ended = false;
    bool interrupted = false;
    while (!ended) {
        int pending = 0;
        if (holdErr && !interrupted && ioctl(errPipe[0], FIONREAD, &pending) == 0 &&
            pending >= errCapacity) {
            kill(-pid, SIGINT);
            interrupted = true;
        }
        if (interrupt && *interrupt && !interrupted) {
            kill(-pid, SIGINT);
            interrupted = true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
            kill(-pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        drain(50);
        ended = waitpid(pid, &status, WNOHANG) == pid;
    }
    fds[1].events = POLLIN;
    // A process the program started (Wine's server) may hold the pipes open
    // long after it ended: take what is already written and stop.
    for (int i = 0; i < 20 && drain(10);) {
        if (!(fds[0].revents | fds[1].revents))
            ++i;
    }
    for (auto& f : fds)
        if (f.fd >= 0)
            close(f.fd);
    if (!result.timedOut && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    return result;
}

} // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, int timeoutMs,
                         const std::atomic<bool>* interrupt) {
    return Run(argv, timeoutMs, interrupt, false);
}

ProcessResult RunProcessInterruptedWhenErrFull(const std::vector<std::string>& argv,
                                               int timeoutMs) {
    return Run(argv, timeoutMs, nullptr, true);
}

} // namespace integration

// Control FIFO reader: a poll loop on the FIFO and a wake-up pipe, so stop() never hangs.
#include "ControlChannel.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vmouse {

namespace {

constexpr std::size_t kMaxLine = 256; // longer lines are dropped whole

} // namespace

bool ControlChannel::start(const std::string &path, Handler handler)
{
    stop();
    struct stat st
    {
    };
    if (stat(path.c_str(), &st) != 0) {
        if (mkfifo(path.c_str(), 0600) != 0) {
            std::fprintf(stderr, "virtual mouse: cannot create control FIFO %s\n", path.c_str());
            return false;
        }
    } else if (!S_ISFIFO(st.st_mode)) {
        std::fprintf(stderr, "virtual mouse: control path %s is not a FIFO\n", path.c_str());
        return false;
    }
    // Opened for writing too, so the FIFO never reports end-of-file between two writers.
    fd_ = open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0 || pipe2(wake_, O_CLOEXEC) != 0) {
        std::fprintf(stderr, "virtual mouse: cannot open control FIFO %s\n", path.c_str());
        stop();
        return false;
    }
    handler_ = std::move(handler);
    thread_ = std::thread([this] { run(); });
    return true;
}

void ControlChannel::stop()
{
    if (thread_.joinable()) {
        const char c = 'q';
        if (write(wake_[1], &c, 1) < 0) {
            // the thread also ends when the pipe breaks; nothing else to do
        }
        thread_.join();
    }
    for (int *fd : {&fd_, &wake_[0], &wake_[1]}) {
        if (*fd >= 0)
            close(*fd);
        *fd = -1;
    }
}

void ControlChannel::run()
{
    std::string line;
    bool overlong = false;
    for (;;) {
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents != 0)
            return;
        char buf[512];
        const ssize_t n = read(fd_, buf, sizeof buf);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (n <= 0)
            return;
        for (ssize_t i = 0; i < n; ++i) {
            if (buf[i] == '\n') {
                if (!overlong)
                    handler_(line);
                line.clear();
                overlong = false;
            } else if (line.size() < kMaxLine) {
                line.push_back(buf[i]);
            } else {
                overlong = true;
            }
        }
    }
}

} // namespace vmouse

// Reads text commands line by line from a FIFO on a background thread ("dpi N", "unplug", "plug").
#pragma once

#include <functional>
#include <string>
#include <thread>

namespace vmouse {

class ControlChannel
{
public:
    using Handler = std::function<void(const std::string &line)>;

    ControlChannel() = default;
    ControlChannel(const ControlChannel &) = delete;
    ControlChannel &operator=(const ControlChannel &) = delete;
    ~ControlChannel() { stop(); }

    // Creates the FIFO when the path does not exist. False when it cannot be used.
    bool start(const std::string &path, Handler handler);
    void stop();
    bool running() const { return thread_.joinable(); }

private:
    void run();

    std::thread thread_;
    Handler handler_;
    int fd_ = -1;
    int wake_[2] = {-1, -1};
};

} // namespace vmouse

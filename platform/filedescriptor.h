#pragma once

#include <unistd.h>

#include <utility>

namespace platform {

// Owns one open file descriptor and closes it on every path out of its scope. A negative
// number owns nothing, so the result of a failed open() can be held and tested alike.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) noexcept : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const noexcept { return fd_; }
    bool valid() const noexcept { return fd_ >= 0; }

    // Closes now. False, with errno set, when the file's last writes did not reach the disk:
    // callers that wrote must not take the data as kept then.
    bool close() noexcept {
        if (fd_ < 0)
            return true;
        return ::close(std::exchange(fd_, -1)) == 0;
    }

private:
    int fd_;
};

} // namespace platform

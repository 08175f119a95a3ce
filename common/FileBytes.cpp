#include "FileBytes.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace veltrana {

int ReadFileBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    char buffer[1 << 16];
    int err = 0;
    while (true) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, static_cast<size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            err = errno;
            break;
        }
    }
    close(fd);
    if (err != 0)
        bytes.clear();
    return err;
}

} // namespace veltrana

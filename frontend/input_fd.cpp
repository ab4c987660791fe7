// frontend/input_fd.cpp: the program's input from file descriptor 0.
#include "frontend/input_source.h"
#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace {
constexpr int INPUT_FD = 0;
}

bool source_ready() {
    pollfd p{INPUT_FD, POLLIN, 0};
    return poll(&p, 1, 0) > 0;
}

std::size_t source_read(char* out, std::size_t size) {
    ssize_t n;
    do n = read(INPUT_FD, out, size);
    while (n < 0 && errno == EINTR);
    return n > 0 ? std::size_t(n) : 0;
}

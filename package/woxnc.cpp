// woxnc HOST PORT: the package's network client.
//
// Connects to HOST at PORT, sends its standard input and copies what the
// server answers to standard output until the server closes the connection.
// Unlike a bare nc it never waits for ever: it gives up when the connection
// cannot be made within a few seconds, when the server stays silent for a few
// seconds, and after a limit on the whole exchange, so a server that accepts
// and never answers cannot hang the program that runs it.
//
// Exit status: 0 when the server closed the connection after answering,
// 1 when no connection could be made or the server did not answer in time,
// 2 for a wrong command line.
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kConnectMillis = 3000;  // per address
constexpr int kSilenceMillis = 3000;  // no byte from the server for this long
constexpr int kTotalMillis = 10000;   // the whole exchange

int millisLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// A connected socket, or -1. Each address gets kConnectMillis.
int connectTo(const char* host, const char* port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host, port, &hints, &found) != 0) return -1;
  int connected = -1;
  for (addrinfo* a = found; a != nullptr && connected < 0; a = a->ai_next) {
    const int fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) continue;
    bool ok = connect(fd, a->ai_addr, a->ai_addrlen) == 0;
    if (!ok && errno == EINPROGRESS) {
      pollfd p{fd, POLLOUT, 0};
      int error = 0;
      socklen_t length = sizeof error;
      ok = poll(&p, 1, kConnectMillis) == 1 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 &&
           error == 0;
    }
    if (ok)
      connected = fd;
    else
      close(fd);
  }
  freeaddrinfo(found);
  return connected;
}

bool writeAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
      pollfd p{fd, POLLOUT, 0};
      poll(&p, 1, kSilenceMillis);
      continue;
    }
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Sends standard input while copying the answer; returns the exit status.
int exchange(int sock, const char* host, const char* port) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(kTotalMillis);
  bool inputOpen = true;
  bool answered = false;
  char buffer[4096];
  for (;;) {
    pollfd fds[2] = {{sock, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    const int wait = std::min(kSilenceMillis, millisLeft(deadline));
    const int ready = wait > 0 ? poll(fds, inputOpen ? 2 : 1, wait) : 0;
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) {
      std::fprintf(stderr, "woxnc: no answer from %s port %s in time; giving up.\n", host, port);
      return 1;
    }
    if (inputOpen && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
      const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
      if (n > 0) {
        if (!writeAll(sock, buffer, static_cast<size_t>(n))) inputOpen = false;
      } else if (n == 0 || errno != EINTR) {
        // The server decides when the exchange ends; the connection stays
        // open for its answer.
        inputOpen = false;
      }
    }
    if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
      const ssize_t n = read(sock, buffer, sizeof buffer);
      if (n == 0) return 0;
      if (n < 0) {
        if (errno == EINTR || errno == EAGAIN) continue;
        // A reset after the answer is an abrupt close, not a failure.
        return errno == ECONNRESET && answered ? 0 : 1;
      }
      answered = true;
      if (!writeAll(STDOUT_FILENO, buffer, static_cast<size_t>(n))) return 1;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("Usage: woxnc HOST PORT\n", stderr);
    return 2;
  }
  std::signal(SIGPIPE, SIG_IGN);
  const int sock = connectTo(argv[1], argv[2]);
  if (sock < 0) return 1;
  const int status = exchange(sock, argv[1], argv[2]);
  close(sock);
  return status;
}

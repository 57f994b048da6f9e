#include "bench/DelayingProxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <stdexcept>

namespace xel::bench {

namespace {

// How often a waiting thread looks whether the proxy is stopping.
constexpr int kPollMilliseconds = 20;

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error("proxy: " + what + ": " + std::strerror(errno));
}

sockaddr_in Address(const std::string& host, int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
    throw std::runtime_error("proxy: not an IPv4 address: " + host);
  }
  return address;
}

int NewSocket() {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    Fail("socket");
  }
  int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  return fd;
}

bool SendAll(int fd, const std::string& bytes) {
  for (size_t sent = 0; sent < bytes.size();) {
    ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) {
      return false;
    }
    sent += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

DelayingProxy::DelayingProxy(const std::string& targetHost, int targetPort,
                             std::chrono::microseconds hold, std::chrono::seconds lifetime)
    : targetHost_(targetHost),
      targetPort_(targetPort),
      hold_(hold),
      deadline_(Clock::now() + lifetime) {
  listener_ = NewSocket();
  sockaddr_in address = Address("127.0.0.1", 0);
  socklen_t length = sizeof address;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener_, kMaxConnections) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(listener_);
    Fail("listen on 127.0.0.1");
  }
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { Accept(); });
}

DelayingProxy::~DelayingProxy() {
  stop_ = true;
  acceptor_.join();
  for (std::thread& forwarder : forwarders_) {
    forwarder.join();
  }
  for (int fd : sockets_) {
    close(fd);
  }
  close(listener_);
}

void DelayingProxy::Accept() {
  int accepted = 0;
  while (!Stopping() && accepted < kMaxConnections) {
    pollfd waiting{listener_, POLLIN, 0};
    if (poll(&waiting, 1, kPollMilliseconds) <= 0) {
      continue;
    }
    int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) {
      continue;
    }
    ++accepted;
    int server = NewSocket();
    sockaddr_in target = Address(targetHost_, targetPort_);
    std::lock_guard lock(mutex_);
    sockets_.push_back(client);
    sockets_.push_back(server);
    if (connect(server, reinterpret_cast<sockaddr*>(&target), sizeof target) != 0) {
      shutdown(client, SHUT_RDWR);  // the client sees the connection refused
      continue;
    }
    forwarders_.emplace_back([this, client, server] { Forward(client, server); });
    forwarders_.emplace_back([this, client, server] { Forward(server, client); });
  }
}

void DelayingProxy::Forward(int from, int to) {
  struct Chunk {
    Clock::time_point due;
    std::string bytes;
  };
  std::deque<Chunk> held;
  bool open = true;
  char buffer[64 * 1024];
  while (!Stopping() && (open || !held.empty())) {
    int wait = kPollMilliseconds;
    if (!held.empty()) {
      auto left = std::chrono::ceil<std::chrono::milliseconds>(held.front().due - Clock::now());
      wait = std::max(0, std::min(wait, static_cast<int>(left.count())));
    }
    pollfd waiting{from, static_cast<short>(open ? POLLIN : 0), 0};
    if (poll(&waiting, 1, wait) > 0) {
      ssize_t n = recv(from, buffer, sizeof buffer, 0);
      if (n > 0) {
        held.push_back({Clock::now() + hold_, std::string(buffer, static_cast<size_t>(n))});
      } else {
        open = false;
      }
    }
    while (!held.empty() && held.front().due <= Clock::now()) {
      if (!SendAll(to, held.front().bytes)) {
        return;
      }
      held.pop_front();
    }
  }
  if (Stopping()) {  // cut short: both ends see the link gone rather than wait for it
    shutdown(from, SHUT_RDWR);
    shutdown(to, SHUT_RDWR);
  } else {
    shutdown(to, SHUT_WR);
  }
}

}  // namespace xel::bench

#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace xel::bench {

// A forwarding proxy on 127.0.0.1 that holds every chunk of bytes a while before passing it on, in
// each direction, as a link far away would: latency without the kernel's traffic shaper. Chunks in
// flight overlap, so a large result is delayed once, not once per chunk. It serves a few
// connections for a bounded time and then stops by itself; the destructor stops it earlier.
class DelayingProxy {
 public:
  using Clock = std::chrono::steady_clock;

  DelayingProxy(const std::string& targetHost, int targetPort, std::chrono::microseconds hold,
                std::chrono::seconds lifetime = std::chrono::minutes(10));
  ~DelayingProxy();
  DelayingProxy(const DelayingProxy&) = delete;
  DelayingProxy& operator=(const DelayingProxy&) = delete;

  // The port it listens on, on 127.0.0.1.
  int Port() const { return port_; }

 private:
  static constexpr int kMaxConnections = 8;

  bool Stopping() const { return stop_ || Clock::now() >= deadline_; }
  void Accept();
  // Passes what arrives on `from` to `to`, each chunk `hold_` after it arrived, until either end
  // closes or the proxy stops.
  void Forward(int from, int to);

  std::string targetHost_;
  int targetPort_;
  std::chrono::microseconds hold_;
  Clock::time_point deadline_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;  // guards sockets_ and forwarders_
  std::vector<int> sockets_;
  std::vector<std::thread> forwarders_;
  std::thread acceptor_;
};

}  // namespace xel::bench

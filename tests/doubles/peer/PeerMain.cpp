// The protocol test peer: a small server on 127.0.0.1 that answers every connection with one
// chosen scenario, one listening port per scenario, and checks each request it receives.
//
//   ky_test_peer [--ports-file F] [--port P] [--pid-file F] [--pause-ms N] [--lifetime-s N]
//                [--scenario] SCENARIO...
//
// Scenarios: good | tree:R:F | sized:T | class19 | zero | silent | close | half | split |
// first4 | hold | backlog. Each listens on a free port, or with --port on P, P+1, ... in
// order. Once every listener is ready the ports file gets one line per scenario,
// "<scenario> <port> <bytes of the message it sends>". SIGTERM ends the peer; its exit
// status is 1 when any request was malformed (each is reported on stderr), else 0.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "PeerMessages.h"

namespace {

std::atomic<int> g_malformed{0};
int g_pauseMs = 300;

struct Scenario {
  std::string definition;
  std::string kind;
  Peer::Bytes message;  // what the scenario sends (or cuts, or splits)
  int listener = -1;
  int port = 0;
  std::vector<int> fillers;  // backlog: connections that fill the accept queue
};

void Fail(const std::string& text) {
  std::fprintf(stderr, "ky_test_peer: %s\n", text.c_str());
  std::exit(2);
}

bool SendAll(int fd, const uint8_t* data, size_t n) {
  while (n > 0) {
    const ssize_t sent = send(fd, data, n, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    data += sent;
    n -= static_cast<size_t>(sent);
  }
  return true;
}

bool RecvAll(int fd, uint8_t* data, size_t n) {
  while (n > 0) {
    const ssize_t got = recv(fd, data, n, 0);
    if (got <= 0) return false;
    data += got;
    n -= static_cast<size_t>(got);
  }
  return true;
}

// Reads one request and checks it; false (reported) when it is malformed or cut.
bool ReadRequest(int fd, const std::string& definition) {
  const auto report = [&](const std::string& fault) {
    ++g_malformed;
    std::fprintf(stderr, "ky_test_peer: malformed request on '%s': %s\n", definition.c_str(), fault.c_str());
    return false;
  };
  Peer::Bytes message(8);
  if (!RecvAll(fd, message.data(), 8)) return report("connection closed before the 8 header bytes");
  const int64_t total = Peer::DeclaredTotal(message.data());
  // A request is a few hundred bytes; anything far larger is no request of this client.
  if (total < 16 || total > 65536) return report("declared total " + std::to_string(total));
  message.resize(static_cast<size_t>(total));
  if (!RecvAll(fd, message.data() + 8, message.size() - 8)) return report("connection closed inside the request");
  const std::string fault = Peer::CheckRequest(message);
  if (!fault.empty()) return report(fault);
  return true;
}

// Waits until the client closes its side, then returns (the caller closes the socket).
void DrainUntilClosed(int fd) {
  uint8_t block[4096];
  while (recv(fd, block, sizeof(block), 0) > 0) {
  }
}

void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(g_pauseMs)); }

void Serve(int fd, const Scenario& scenario) {
  const int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof(one));
  const std::string& kind = scenario.kind;
  const Peer::Bytes& m = scenario.message;
  if (kind == "hold") {
    // Never reads: the client's sends fill the windows. The socket stays open until exit.
    return;
  }
  if (!ReadRequest(fd, scenario.definition)) {
    close(fd);
    return;
  }
  if (kind == "close") {
    close(fd);
    return;
  }
  if (kind == "half") {
    SendAll(fd, m.data(), m.size() / 2);
    close(fd);
    return;
  }
  if (kind == "split" || kind == "first4") {
    const size_t first = kind == "split" ? 8 : 4;
    SendAll(fd, m.data(), first);
    Pause();
    SendAll(fd, m.data() + first, m.size() - first);
  } else if (kind != "silent") {
    SendAll(fd, m.data(), m.size());
  }
  DrainUntilClosed(fd);
  close(fd);
}

void AcceptLoop(const Scenario* scenario) {
  for (;;) {
    const int fd = accept(scenario->listener, nullptr, nullptr);
    if (fd < 0) continue;
    std::thread(Serve, fd, std::cref(*scenario)).detach();
  }
}

// Listens on port, or on a free port when it is 0; port then names the one chosen.
int Listen(int backlog, int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) Fail("socket failed");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  const int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof(one));
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
    Fail("cannot listen on 127.0.0.1:" + std::to_string(port));
  }
  if (listen(fd, backlog) != 0) Fail("listen failed");
  socklen_t length = sizeof(address);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return fd;
}

// Connects to the never-accepting listener until a connection no longer completes: the
// accept queue is then full and further connection attempts stay pending.
void FillBacklog(Scenario& scenario) {
  for (int i = 0; i < 64; ++i) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    fcntl(fd, F_SETFL, O_NONBLOCK);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(scenario.port));
    connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    pollfd waiting{fd, POLLOUT, 0};
    if (poll(&waiting, 1, 1000) == 1) {
      int error = 0;
      socklen_t length = sizeof(error);
      getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
      if (error == 0) {
        scenario.fillers.push_back(fd);
        continue;
      }
    }
    close(fd);
    if (!scenario.fillers.empty()) return;
    Fail("cannot fill the accept queue of the backlog scenario");
  }
  Fail("the accept queue of the backlog scenario never fills");
}

Scenario MakeScenario(const std::string& definition) {
  Scenario scenario;
  scenario.definition = definition;
  scenario.kind = definition.substr(0, definition.find(':'));
  const std::string& kind = scenario.kind;
  if (kind == "good") {
    scenario.message = Peer::MakeTreeResponse(0, 0);
  } else if (kind == "tree") {
    int roots = 0;
    int folders = 0;
    if (std::sscanf(definition.c_str(), "tree:%d:%d", &roots, &folders) != 2) Fail("tree:ROOTS:FOLDERS expected: " + definition);
    scenario.message = Peer::MakeTreeResponse(roots, folders);
  } else if (kind == "sized") {
    unsigned long total = 0;
    if (std::sscanf(definition.c_str(), "sized:%lu", &total) != 1) Fail("sized:TOTAL expected: " + definition);
    scenario.message = Peer::MakeSizedResponse(static_cast<uint32_t>(total));
    if (scenario.message.size() != total) Fail("cannot make a response of " + definition);
  } else if (kind == "class19") {
    scenario.message = Peer::MakeRequestMessage("{PEER}{}{peer}");
  } else if (kind == "zero") {
    scenario.message = {4, 0, 0, 0, 0, 0, 0, 0};
  } else if (kind == "half") {
    scenario.message = Peer::MakeTreeResponse(0, 0);
  } else if (kind == "split" || kind == "first4") {
    scenario.message = Peer::MakeTreeResponse(2, 3);
  } else if (kind != "silent" && kind != "close" && kind != "hold" && kind != "backlog") {
    Fail("unknown scenario " + definition);
  }
  return scenario;
}

}  // namespace

int main(int argc, char** argv) {
  std::string portsFile;
  std::string pidFile;
  int lifetimeS = 3600;
  int firstPort = 0;
  std::vector<std::unique_ptr<Scenario>> scenarios;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--ports-file" && hasValue) {
      portsFile = argv[++i];
    } else if (arg == "--pid-file" && hasValue) {
      pidFile = argv[++i];
    } else if (arg == "--pause-ms" && hasValue) {
      g_pauseMs = std::atoi(argv[++i]);
    } else if (arg == "--lifetime-s" && hasValue) {
      lifetimeS = std::atoi(argv[++i]);
    } else if (arg == "--port" && hasValue) {
      firstPort = std::atoi(argv[++i]);
    } else if (arg == "--scenario" && hasValue) {
      scenarios.push_back(std::make_unique<Scenario>(MakeScenario(argv[++i])));
    } else {
      scenarios.push_back(std::make_unique<Scenario>(MakeScenario(arg)));
    }
  }
  if (scenarios.empty()) Fail("usage: ky_test_peer [--ports-file F] [--port P] [--pid-file F] SCENARIO...");

  // Every thread inherits the blocked signals; the main thread takes them with sigwait.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGALRM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  signal(SIGPIPE, SIG_IGN);
  Peer::RegisterRequestClass();

  for (auto& scenario : scenarios) {
    scenario->port = firstPort != 0 ? firstPort++ : 0;
    scenario->listener = Listen(scenario->kind == "backlog" ? 0 : 64, scenario->port);
    if (scenario->kind == "backlog") {
      FillBacklog(*scenario);
    } else {
      std::thread(AcceptLoop, scenario.get()).detach();
    }
  }

  if (!pidFile.empty()) {
    FILE* file = std::fopen(pidFile.c_str(), "w");
    if (file == nullptr) Fail("cannot write " + pidFile);
    std::fprintf(file, "%d\n", static_cast<int>(getpid()));
    std::fclose(file);
  }
  if (!portsFile.empty()) {
    // Written under a temporary name and renamed, so a reader never sees half of it.
    const std::string partial = portsFile + ".partial";
    FILE* file = std::fopen(partial.c_str(), "w");
    if (file == nullptr) Fail("cannot write " + partial);
    for (const auto& scenario : scenarios) {
      std::fprintf(file, "%s %d %zu\n", scenario->definition.c_str(), scenario->port, scenario->message.size());
    }
    std::fclose(file);
    if (std::rename(partial.c_str(), portsFile.c_str()) != 0) Fail("cannot rename " + partial);
  }

  // A peer whose cleanup never came ends by itself.
  alarm(static_cast<unsigned>(lifetimeS));
  int received = 0;
  sigwait(&signals, &received);
  const int malformed = g_malformed.load();
  if (received == SIGALRM) std::fprintf(stderr, "ky_test_peer: lifetime of %d s over\n", lifetimeS);
  if (malformed > 0) std::fprintf(stderr, "ky_test_peer: %d malformed request(s)\n", malformed);
  std::fflush(stderr);
  _exit(malformed > 0 ? 1 : 0);
}

#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "common/Result.h"
#include "platform/linux/UniqueFd.h"
#include "platform/sim/SimEnvironment.h"
#include "platform/sim/SimProtocol.h"

namespace vexlo {

// Serves a simulated environment on a local socket, so that a running program (through
// SimClient) and the vexlo-sim command line reach the same machine. One thread, owned by the
// server, runs every connection: it reads requests, answers them from the environment and sends
// the environment's notifications. Endpoints a connection opened are closed when it goes.
class SimServer {
 public:
  SimServer(std::shared_ptr<SimEnvironment> environment, std::string socketPath);
  ~SimServer();
  SimServer(const SimServer&) = delete;
  SimServer& operator=(const SimServer&) = delete;

  // Listens at the socket path and starts serving. `stopSignal`, when valid, ends the server when
  // it becomes readable (a signalfd). Ok; AlreadyExists when another server answers there; or the
  // platform's error.
  [[nodiscard]] Result Start(UniqueFd stopSignal = UniqueFd());

  // Asks the server to end; it ends on its own when a client sends Stop. Never blocks; any thread.
  void RequestStop();

  // Blocks until the server has ended and removed its socket. One thread at a time.
  void WaitUntilStopped();

 private:
  class Connection;
  class EndpointListener;

  void Run();
  void Wake();
  void ServeConnection(Connection& connection);
  void HandleRequest(Connection& connection, const SimFrame& request);
  void DropConnection(Connection& connection);

  std::shared_ptr<SimEnvironment> environment_;
  std::string socketPath_;
  UniqueFd listener_;
  UniqueFd wake_;
  UniqueFd stopSignal_;
  std::atomic<bool> stopRequested_{false};
  std::jthread thread_;  // last: started after everything it uses
};

}  // namespace vexlo

// Shared pieces of the socket tests: the protocol test peer's ports, loopback helpers and the
// temporary files of the socket reader.
#pragma once

#include <winsock2.h>

#include <cstdint>
#include <set>
#include <string>

#include "kybase/KyException.h"

namespace NetTest {

// What a call raised: nothing, or a KyException's text (KyExceptionCommon: its own text and
// its error code).
struct Outcome {
  bool raised = false;
  bool common = false;
  int code = 0;
  std::string text;
};

template <class F>
Outcome Catch(F call) {
  Outcome outcome;
  try {
    call();
  } catch (const Error::KyExceptionCommon& e) {
    outcome = {true, true, e.GetErrorCode(), e.GetOwnText()};
  } catch (const Error::KyException& e) {
    outcome = {true, false, 0, e.GetText()};
  }
  return outcome;
}

// A Unix path of the test environment as Wine's Z: drive sees it.
std::string ToWinePath(const std::string& unixPath);

// The scenario ports of the peer that the ctest fixture started (KY_PEER_DIR/ports).
class CPeer {
 public:
  // The port of a scenario such as "good" or "sized:5242881"; 0 when the peer has none.
  static int Port(const std::string& scenario);
  // The bytes of the message that the scenario sends.
  static uint32_t MessageBytes(const std::string& scenario);
};

// Connects to the scenario's port with the production connector.
SOCKET ConnectToPeer(const std::string& scenario);
// Sends the connection test's request (flags 2, store "__KyOrvella__") with the writer.
void SendRequest(SOCKET socket);

// A port on 127.0.0.1 on which nothing listens.
int FreePort();

// The reader's temporary files ("ky*.tmp" in the temporary folder) that exist now.
std::set<std::string> TempKyFiles();

}  // namespace NetTest

// What the protocol test peer sends and how it checks what it receives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Peer {

using Bytes = std::vector<uint8_t>;

// A good folder-tree response: `roots` roots, each a tree whose root folder holds `folders`
// child folders with two rights entries each. With no roots it is the 32-byte answer.
Bytes MakeTreeResponse(int roots, int folders);
// A good folder-tree response of exactly `total` bytes (one root whose store text pads it);
// empty when total is too small to hold one.
Bytes MakeSizedResponse(uint32_t total);
// A framed folder-tree request (class 19), which the client can only send.
Bytes MakeRequestMessage(const std::string& clientId);

// Teaches the factory class 19, which CheckRequest re-creates; call once before it.
void RegisterRequestClass();

// Checks a whole request message against the format the client must send: class 19,
// flags 2, a client identifier "{...}{...}{...}", store descriptor version 1 with an empty
// text and the store "__KyOrvella__", nothing after it. Empty when it is well formed,
// otherwise the first fault found.
std::string CheckRequest(const Bytes& message);

// The declared total in the first 8 bytes of a message, or -1 when they are malformed.
int64_t DeclaredTotal(const uint8_t* header);

}  // namespace Peer

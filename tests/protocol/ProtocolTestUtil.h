// Test helpers for the protocol core: archive conversions and tree comparison.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "protocol/CFsFolderDesc.h"
#include "protocol/KyMemoryArchive.h"
#include "ProtocolWire.h"

namespace ProtoTest {

inline Bytes ToBytes(const KyMemoryBuffer& buffer) {
  return Bytes(buffer.GetData(), buffer.GetData() + buffer.GetSize());
}

inline void Load(KyMemoryArchive& archive, const Bytes& bytes, size_t count = SIZE_MAX) {
  archive.Free();
  const size_t n = count < bytes.size() ? count : bytes.size();
  if (n > 0) archive.Write(bytes.data(), static_cast<uint32_t>(n));
  archive.Rewind();
}

inline std::string Hex(const Bytes& bytes) {
  std::string text;
  char part[4];
  for (uint8_t b : bytes) {
    std::snprintf(part, sizeof part, "%02x ", b);
    text += part;
  }
  return text;
}

// Empty when equal, else the first difference with its path.
inline std::string DiffTrees(const CFsFolderTreeDesc& a, const CFsFolderTreeDesc& b, const std::string& path = "/") {
  const std::string here = path + a.GetKey();
  if (a.GetKey() != b.GetKey()) return here + ": key " + b.GetKey();
  if (a.GetTextA() != b.GetTextA()) return here + ": text A";
  if (a.GetTextC() != b.GetTextC()) return here + ": text C";
  if (a.GetTextD() != b.GetTextD()) return here + ": text D";
  if (a.GetFlag() != b.GetFlag()) return here + ": flag";
  if (a.GetRights()->IsDifferent(*b.GetRights())) return here + ": rights";
  const auto& ca = a.GetChildren();
  const auto& cb = b.GetChildren();
  if (ca.size() != cb.size()) return here + ": child count";
  for (auto x = ca.begin(), y = cb.begin(); x != ca.end(); ++x, ++y) {
    if (x->first != y->first) return here + ": child key " + x->first + " vs " + y->first;
    std::string diff = DiffTrees(*x->second, *y->second, here + "/");
    if (!diff.empty()) return diff;
  }
  return std::string();
}

}  // namespace ProtoTest

// Wire images built byte by byte without the archive, and a deterministic folder-tree
// generator: shared by the protocol tests, the fuzzers' seed corpus and the benchmark.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "protocol/CFsFolderDesc.h"

namespace ProtoTest {

using Bytes = std::vector<uint8_t>;

// Builds wire images byte by byte, without the archive, so golden tests check the archive
// against a second encoder.
class Wire {
 public:
  Wire& Raw(std::initializer_list<uint8_t> bytes) {
    m_bytes.insert(m_bytes.end(), bytes);
    return *this;
  }
  Wire& U32(uint32_t value) {
    for (int i = 0; i < 4; ++i) m_bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return *this;
  }
  Wire& Int(int32_t value) { return U32(4).U32(static_cast<uint32_t>(value)); }
  Wire& Bool(bool value) { return U32(1).Raw({static_cast<uint8_t>(value ? 1 : 0)}); }
  Wire& Str(const std::string& text) {
    m_bytes.push_back(1);
    U32(static_cast<uint32_t>(text.size()));
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
    return *this;
  }
  Wire& Append(const Bytes& bytes) {
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    return *this;
  }
  // A rights table of the given version with (name, word) entries.
  Wire& Table(int32_t version, int32_t defaultRights, const std::vector<std::pair<std::string, int32_t>>& entries) {
    Int(version).Int(defaultRights).Int(static_cast<int32_t>(entries.size()));
    for (const auto& entry : entries) Str(entry.first).Int(entry.second);
    return *this;
  }
  // A version-2 folder part with an empty rights table of version 3.
  Wire& Folder(const std::string& key, const std::string& textA = "A", bool flag = true,
               const std::string& textD = "D") {
    return Int(2).Str(textA).Str(key).Str("C").Table(3, 1023, {}).Bool(flag).Str(textD);
  }
  // Tree version and child count, after a folder part.
  Wire& Children(int32_t count) { return Int(1).Int(count); }

  const Bytes& Get() const { return m_bytes; }
  size_t Size() const { return m_bytes.size(); }

  // Frames the body as a message of the class: [4][total][4][class][body].
  Bytes Message(int32_t classId) const {
    Wire message;
    message.Int(static_cast<int32_t>(m_bytes.size() + 16)).Int(classId).Append(m_bytes);
    return message.Get();
  }

 private:
  Bytes m_bytes;
};

// A tree of about `folders` folders with up to `fanOut` children each; every folder has
// `entries` named rights entries. Deterministic for a seed.
inline CRefCountPtr<CFsFolderTreeDesc> MakeTree(int folders, int fanOut, int entries, unsigned seed = 7) {
  std::mt19937 random(seed);
  int made = 0;
  auto makeFolder = [&](const std::string& key) {
    CRefCountPtr<CFsFolderRightsTable> rights(new CFsFolderRightsTable());
    rights->SetDefaultRights(CFsFolderRights(random() % 1024));
    for (int i = 0; i < entries; ++i) {
      rights->SetEntry("user" + std::to_string(random() % 100000) + "@example", CFsFolderRights(random() % 1024));
    }
    ++made;
    return CRefCountPtr<CFsFolderTreeDesc>(new CFsFolderTreeDesc(
        key, "Folder " + key, "c" + std::to_string(made), (random() & 1) != 0, made % 3 ? "d" : "", rights));
  };
  CRefCountPtr<CFsFolderTreeDesc> root = makeFolder("root");
  std::vector<CRefCountPtr<CFsFolderTreeDesc>> level{root};
  while (made < folders && !level.empty()) {
    std::vector<CRefCountPtr<CFsFolderTreeDesc>> next;
    for (auto& parent : level) {
      const int children = 1 + static_cast<int>(random() % static_cast<unsigned>(fanOut));
      for (int i = 0; i < children && made < folders; ++i) {
        auto child = makeFolder("k" + std::to_string(made) + (i % 2 ? "a" : "B"));
        parent->AddChild(child);
        next.push_back(child);
      }
    }
    level.swap(next);
  }
  return root;
}

}  // namespace ProtoTest

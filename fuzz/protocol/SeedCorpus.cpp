// Writes the seed corpus of a protocol fuzzer: the golden vectors and small real messages.
// Usage: fuzz_protocol_seeds <fuzz_recreate_notif|fuzz_folder_tree> <folder>
#include <cstdio>
#include <string>
#include <vector>

#include "ProtocolWire.h"
#include "protocol/CNotifGetFoldersTree.h"
#include "protocol/NotifFactory.h"

using ProtoTest::Bytes;
using ProtoTest::Wire;

namespace {

bool Save(const std::string& folder, const std::string& name, const Bytes& bytes) {
  const std::string path = folder + "/" + name;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

Bytes Frame(Net::INotif& notif) {
  KyMemoryArchive archive;
  Notifs::FrameNotif(archive, notif);
  return Bytes(archive.GetData(), archive.GetData() + archive.GetSize());
}

Bytes TreeBytes(const CFsFolderTreeDesc& tree) {
  KyMemoryArchive archive;
  tree.Write(archive);
  return Bytes(archive.GetData(), archive.GetData() + archive.GetSize());
}

// Tree images: version-1 and version-2 folders, old rights tables, case rules of names and keys.
std::vector<std::pair<std::string, Bytes>> TreeSeeds() {
  return {
      {"tree-v2-leaf", Wire().Folder("k").Children(0).Get()},
      {"tree-v1-folder", Wire().Int(1).Str("A").Str("k").Str("C").Table(3, 5, {}).Children(1).Folder("x").Children(0).Get()},
      {"tree-rights-v2-2047", Wire().Int(2).Str("A").Str("k").Str("C").Table(2, 2047, {{"a", 4095}}).Bool(true).Str("D").Children(0).Get()},
      {"tree-anna-ANNA", Wire().Int(2).Str("A").Str("k").Str("C").Table(3, 0, {{"Anna", 1}, {"ANNA", 2}}).Bool(false).Str("").Children(0).Get()},
      {"tree-children-b-a-A", Wire().Folder("r").Children(3).Folder("b").Children(0).Folder("a").Children(0).Folder("A").Children(0).Get()},
      {"tree-negative-children", Wire().Folder("r").Children(-1).Get()},
      {"tree-generated", TreeBytes(*ProtoTest::MakeTree(12, 3, 2))},
  };
}

std::vector<std::pair<std::string, Bytes>> NotifSeeds() {
  const Bytes empty{0x04, 0, 0, 0, 0x20, 0, 0, 0, 0x04, 0, 0, 0, 0x14, 0, 0, 0,
                    0x04, 0, 0, 0, 0x01, 0, 0, 0, 0x04, 0, 0, 0, 0, 0, 0, 0};
  std::vector<std::pair<std::string, Bytes>> seeds{
      {"response-empty-32", empty},
      {"response-ends-after-class", Wire().Int(16).Int(20).Get()},
      {"total-zero", Wire().Int(0).Int(20).Get()},
      {"class-19-without-body", Wire().Int(16).Int(19).Get()},
      {"values", Wire().Int(7).Bool(true).Str("abc").Str("").Get()},
  };
  Notifs::CNotifGetFoldersTree request(CFsMsgStoreDesc(CFsMsgStoreName("__KyOrvella__")));
  request.SetFlag(true);
  request.SetClientId("{PC1}{0305419896}{anna}");
  seeds.emplace_back("request", Frame(request));

  Notifs::CNotifGetFoldersTreeResponse response;
  response.AddRoot(CFsMsgStoreDesc(CFsMsgStoreName("__KyOrvella__")), ProtoTest::MakeTree(8, 3, 2, 1));
  response.AddRoot(CFsMsgStoreDesc(CFsMsgStoreName("DOM\\anna_{0}@{PC-1}")), ProtoTest::MakeTree(3, 2, 1, 2));
  seeds.emplace_back("response-two-roots", Frame(response));
  for (const auto& tree : TreeSeeds()) {
    Wire body;
    body.Int(1).Int(1).Int(1).Int(1).Str("").Str("store").Append(tree.second);
    seeds.emplace_back("response-" + tree.first, body.Message(Notifs::kClassGetFoldersTreeResponse));
  }
  return seeds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <fuzzer name> <folder>\n", argv[0]);
    return 2;
  }
  const std::string which = argv[1];
  const auto seeds = which == "fuzz_folder_tree" ? TreeSeeds() : NotifSeeds();
  for (const auto& seed : seeds) {
    if (!Save(argv[2], seed.first, seed.second)) {
      std::fprintf(stderr, "cannot write seed '%s' into '%s'\n", seed.first.c_str(), argv[2]);
      return 1;
    }
  }
  return 0;
}

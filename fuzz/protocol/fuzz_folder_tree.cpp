// Fuzzes reading a folder tree from arbitrary bytes; what was read must write and read back
// unchanged.
#include <cstddef>
#include <cstdint>

#include "kybase/KyException.h"
#include "protocol/CFsFolderDesc.h"

namespace {

bool SameTree(const CFsFolderTreeDesc& a, const CFsFolderTreeDesc& b) {
  if (a.GetKey() != b.GetKey() || a.GetTextA() != b.GetTextA() || a.GetTextC() != b.GetTextC() ||
      a.GetTextD() != b.GetTextD() || a.GetFlag() != b.GetFlag() || a.GetRights()->IsDifferent(*b.GetRights()) ||
      a.GetChildren().size() != b.GetChildren().size()) {
    return false;
  }
  for (auto x = a.GetChildren().begin(), y = b.GetChildren().begin(); x != a.GetChildren().end(); ++x, ++y) {
    if (x->first != y->first || !SameTree(*x->second, *y->second)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0xFFFFFFFFu) return 0;
  KyMemoryArchive archive;
  if (size > 0) archive.Write(data, static_cast<uint32_t>(size));
  archive.Rewind();
  CRefCountPtr<CFsFolderTreeDesc> tree(new CFsFolderTreeDesc());
  try {
    tree->Read(archive);
  } catch (const Error::KyException&) {
    return 0;  // nested too deeply
  }
  if (archive.GetPosition() > archive.GetSize()) __builtin_trap();

  KyMemoryArchive written;
  tree->Write(written);
  written.Rewind();
  CRefCountPtr<CFsFolderTreeDesc> again(new CFsFolderTreeDesc());
  again->Read(written);
  if (written.GetRemaining() != 0 || !SameTree(*tree, *again)) __builtin_trap();
  return 0;
}

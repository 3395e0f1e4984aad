// Writes and reads a folder-tree response of 100,000 folders (five rights entries each) and
// prints bytes, MB/s and folders/s beside a plain memcpy of the same bytes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ProtocolWire.h"
#include "protocol/CNotifGetFoldersTree.h"
#include "protocol/NotifFactory.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Best of several runs: the figure least disturbed by other work on the machine.
template <class F>
double Best(int runs, F run) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const Clock::time_point start = Clock::now();
    run();
    best = std::min(best, Seconds(start));
  }
  return best;
}

size_t CountFolders(const CFsFolderTreeDesc& tree) {
  size_t count = 1;
  for (const auto& child : tree.GetChildren()) count += CountFolders(*child.second);
  return count;
}

struct Figures {
  size_t folders;
  uint32_t bytes;
  double write;
  double read;
  double copy;
};

Figures Measure(int folders, int runs) {
  Notifs::CNotifGetFoldersTreeResponse response;
  response.AddRoot(CFsMsgStoreDesc(CFsMsgStoreName("__KyOrvella__")), ProtoTest::MakeTree(folders, 8, 5));
  Figures f{};
  f.folders = CountFolders(*response.GetRoots()[0].GetTree());

  KyMemoryArchive message;
  f.write = Best(runs, [&] {
    message.Free();
    f.bytes = Notifs::FrameNotif(message, response);
  });

  size_t readFolders = 0;
  f.read = Best(runs, [&] {
    CRefCountPtr<Notifs::CNotif> notif = Notifs::RecreateNotif(message);
    auto* read = static_cast<Notifs::CNotifGetFoldersTreeResponse*>(notif.Get());
    readFolders = CountFolders(*read->GetRoots()[0].GetTree());
  });
  if (readFolders != f.folders) {
    std::fprintf(stderr, "read %zu folders of %zu\n", readFolders, f.folders);
    std::exit(1);
  }

  std::vector<uint8_t> target(f.bytes);
  f.copy = Best(runs * 4, [&] {
    std::memcpy(target.data(), message.GetData(), f.bytes);
    // Keep the copy observable.
    if (target[f.bytes / 2] != message.GetData()[f.bytes / 2]) std::exit(1);
  });
  return f;
}

}  // namespace

int main() {
  const Figures f = Measure(100000, 3);
  const double mb = f.bytes / 1e6;
  std::printf("folder-tree response: %zu folders, 5 rights entries each, %u bytes\n", f.folders, f.bytes);
  std::printf("%-8s %10s %10s %14s %14s\n", "", "ms", "MB/s", "folders/s", "x memcpy");
  std::printf("%-8s %10.2f %10.1f %14.0f %14.1f\n", "write", f.write * 1e3, mb / f.write, f.folders / f.write,
              f.write / f.copy);
  std::printf("%-8s %10.2f %10.1f %14.0f %14.1f\n", "read", f.read * 1e3, mb / f.read, f.folders / f.read,
              f.read / f.copy);
  std::printf("%-8s %10.3f %10.1f\n", "memcpy", f.copy * 1e3, mb / f.copy);

  // Reading must grow linearly with the message: time per folder at a quarter, half and
  // the full size.
  std::printf("read scaling (us per folder):");
  for (int folders : {25000, 50000, 100000}) {
    const Figures s = folders == 100000 ? f : Measure(folders, 3);
    std::printf("  %d: %.3f", folders, s.read * 1e6 / s.folders);
  }
  std::printf("\n");
  return 0;
}

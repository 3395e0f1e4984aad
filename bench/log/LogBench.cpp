// Lines per second of the client log's LogInfo into one file, with and without the
// inter-process mutex in existence. Prints figures; asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "kybase/CAutoMutex.h"
#include "kybase/KyFile.h"
#include "kybase/KyHandle.h"
#include "kybase/KyLogFile.h"

namespace {

// A fresh folder under the temporary folder, emptied and removed afterwards.
class BenchFolder {
 public:
  explicit BenchFolder(const char* name) {
    char base[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, base);
    m_path = KyFsPath(base).Join((std::string("kybench_") + name + "_" + std::to_string(GetCurrentProcessId())).c_str());
    CreateDirectoryA(m_path.c_str(), nullptr);
  }
  ~BenchFolder() {
    KyFileFind find(m_path.Join("*").c_str());
    while (find.Next()) {
      if (!find.IsDirectory()) DeleteFileA(find.GetFilePath().c_str());
    }
    RemoveDirectoryA(m_path.c_str());
  }
  const KyFsPath& Path() const { return m_path; }

 private:
  KyFsPath m_path;
};

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Best of rounds: lines per second of LogInfo into one fresh file.
double Measure(const char* name, int lines, int rounds, const std::string& text) {
  double best = 0;
  for (int round = 0; round < rounds; ++round) {
    BenchFolder folder(name);
    CLogFile log(folder.Path());
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int n = 0; n < lines; ++n) log.LogInfo(text.c_str());
    QueryPerformanceCounter(&end);
    best = std::max(best, lines / Seconds(start, end));
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const int lines = argc > 1 ? std::atoi(argv[1]) : 20000;
  const int rounds = 3;
  const std::string text = "Connection test: server 'srv1' port 5002, folder tree request sent.";

  SYSTEM_INFO system = {};
  GetNativeSystemInfo(&system);
  std::printf("log bench: %d lines of %u bytes (time stamp, prefix, text, CR LF), one file, best of %d rounds\n",
              lines, static_cast<unsigned>(20 + 6 + text.size() + 2), rounds);
  std::printf("processors seen by the program: %lu\n", static_cast<unsigned long>(system.dwNumberOfProcessors));

  {
    KyKernelHandle probe(OpenMutexA(SYNCHRONIZE, FALSE, CAutoMutex::kName));
    if (probe.IsValid()) std::printf("note: another program holds the mutex; the first figure includes it\n");
  }
  const double without = Measure("nomutex", lines, rounds, text);
  std::printf("without the mutex: %.0f lines/s (%.2f us per line)\n", without, 1e6 / without);

  KyKernelHandle mutex(CreateMutexA(nullptr, FALSE, CAutoMutex::kName));
  if (!mutex.IsValid()) {
    std::printf("cannot create the mutex (%lu)\n", GetLastError());
    return 1;
  }
  const double with = Measure("mutex", lines, rounds, text);
  std::printf("with the mutex:    %.0f lines/s (%.2f us per line)\n", with, 1e6 / with);
  return 0;
}

// Start-up benchmark: the median time from starting ClientConfig.exe to its settings sheet
// being visible, beside the same for a minimal program with an empty three-page property sheet,
// both under Wine in one run (alternating), and their ratio.
//   bench_startup.exe CLIENTCONFIG_EXE EMPTY_SHEET_EXE [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/driver/UiDriver.h"

using namespace UiDriver;

namespace {

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool IsSheet(const Window& window) {
  if (window.GetWindowClass() != "#32770") return false;
  for (const Window& child : window.GetChildren())
    if (child.GetWindowClass() == "SysTabControl32" && child.IsVisible()) return true;
  return false;
}

// One start: from CreateProcess to the sheet being visible; then Cancel and wait for the end.
double TimeStart(const std::string& program) {
  LaunchOptions options;
  options.program = program;
  LARGE_INTEGER start, shown;
  ::QueryPerformanceCounter(&start);
  ChildProcess process(options);
  Window sheet;
  WaitUntil(
      [&] {
        for (const Window& window : GetTopLevelWindows(process.GetId()))
          if (IsSheet(window)) {
            sheet = window;
            return true;
          }
        return false;
      },
      60000, 2);
  ::QueryPerformanceCounter(&shown);
  if (!sheet) throw DriverError("no sheet of " + program + " within 60 s");
  sheet.Control(IDCANCEL).Click();
  if (!process.WaitForExit(30000)) process.Terminate();
  return Seconds(start, shown);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_startup CLIENTCONFIG_EXE EMPTY_SHEET_EXE [RUNS]\n");
    return 2;
  }
  const std::string programs[2] = {WinePathFromUnix(argv[1]), WinePathFromUnix(argv[2])};
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 9;
  try {
    // One unmeasured start of each warms the prefix, the server and the file cache.
    for (const std::string& program : programs) TimeStart(program);
    std::vector<double> times[2];
    for (int i = 0; i < runs; ++i)
      for (int p = 0; p < 2; ++p) times[p].push_back(TimeStart(programs[p]));
    const double client = Median(times[0]);
    const double empty = Median(times[1]);
    std::printf("runs: %d each, alternating, after one warm-up start each\n", runs);
    std::printf("ClientConfig: start to sheet visible, median %.3f s (min %.3f, max %.3f)\n", client,
                *std::min_element(times[0].begin(), times[0].end()), *std::max_element(times[0].begin(), times[0].end()));
    std::printf("empty three-page sheet: median %.3f s (min %.3f, max %.3f)\n", empty,
                *std::min_element(times[1].begin(), times[1].end()), *std::max_element(times[1].begin(), times[1].end()));
    std::printf("ratio ClientConfig / empty sheet: %.2f\n", client / empty);
  } catch (const DriverError& e) {
    std::fprintf(stderr, "bench_startup: %s\n", e.what());
    return 1;
  }
  return 0;
}

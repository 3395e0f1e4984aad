// Test helper: one of the product's programs writing the client log at the same time as others.
// Arguments: log folder, tag, number of lines. Exit code 0 when every line was handed to the log.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "kybase/KyLogFile.h"

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  const std::string tag = argv[2];
  const int count = std::atoi(argv[3]);
  // Long lines make a torn or overwritten line likely to show.
  const std::string padding(160, tag[0]);
  CLogFile log{KyFsPath(argv[1])};
  for (int n = 0; n < count; ++n) log.LogInfoFormat("%s %06d %s", tag.c_str(), n, padding.c_str());
  return 0;
}

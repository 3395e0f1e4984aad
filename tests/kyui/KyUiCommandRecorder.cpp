// Stands in for a browser: writes its command line to the file named by KY_RECORDER_OUTPUT.
#include <windows.h>

#include <cstdio>

int main() {
  char path[MAX_PATH] = {};
  if (GetEnvironmentVariableA("KY_RECORDER_OUTPUT", path, MAX_PATH) == 0) return 1;
  const char* line = GetCommandLineA();
  // Written under another name first, so that the reader never sees half a line.
  char partial[MAX_PATH + 8] = {};
  wsprintfA(partial, "%s.part", path);
  FILE* file = std::fopen(partial, "wb");
  if (file == nullptr) return 1;
  std::fputs(line, file);
  std::fclose(file);
  return MoveFileA(partial, path) ? 0 : 1;
}

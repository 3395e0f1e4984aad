// Loading a memory buffer from a file with the C library (the native build).
#include <cstdio>
#include <limits>

#include "protocol/KyMemoryArchive.h"

bool KyMemoryBuffer::LoadFromFile(const std::string& path) {
  Free();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  bool loaded = false;
  if (std::fseek(file, 0, SEEK_END) == 0) {
    const long size = std::ftell(file);
    if (size > 0 && static_cast<unsigned long>(size) <= std::numeric_limits<uint32_t>::max() &&
        std::fseek(file, 0, SEEK_SET) == 0 && AllocateExactly(static_cast<uint32_t>(size))) {
      loaded = std::fread(GetData(), 1, static_cast<size_t>(size), file) == static_cast<size_t>(size);
      if (!loaded) Free();
    }
  }
  std::fclose(file);
  return loaded;
}

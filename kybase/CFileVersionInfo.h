// Reader of a module's version resource (the log banner shows the file version).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class CFileVersionInfo {
 public:
  // Loads the version of module (null: the executable); the result of Load is not kept.
  explicit CFileVersionInfo(HMODULE module);
  virtual ~CFileVersionInfo() = default;

  virtual void Reset();
  bool Load(const char* filePath);

  // Appends the file version's first parts (1 to 4) joined by ".", e.g. "4.1.0.5".
  void GetFileVersionString(std::string& out, int parts) const;

  const VS_FIXEDFILEINFO& GetFixed() const { return m_fixed; }
  const uint16_t* GetProductVersion() const { return m_productVersion; }

 private:
  VS_FIXEDFILEINFO m_fixed;
  uint16_t m_productVersion[4];
};

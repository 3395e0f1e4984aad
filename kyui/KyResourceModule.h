// One separately loaded resource library that hands out single resources.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "kybase/CRefCounted.h"
#include "kybase/KyHandle.h"

class KyResourceModule : public CRefCountedT<SingleThreadedModel> {
 public:
  // Loads the first library of names, beside the executable first, then by the system's
  // search order; throws Error::KyExceptionText when none loads.
  explicit KyResourceModule(const std::vector<std::string>& names);
  explicit KyResourceModule(const std::string& name) : KyResourceModule(std::vector<std::string>{name}) {}
  ~KyResourceModule() override = default;

  HMODULE GetHandle() const { return m_module.Get(); }

  // Empty when the string is missing.
  std::string LoadString(UINT id) const;
  // Null when there is no module or no such resource; the caller owns the handle.
  HBITMAP LoadBitmap(UINT id) const;
  HICON LoadIcon(UINT id) const;

 private:
  void Load(const std::vector<std::string>& names);

  KyModuleHandle m_module;
};

// Switches the whole application's resources to the first loadable library of a list
// found beside the executable, and back again.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "kybase/KyFsPath.h"
#include "kybase/KyHandle.h"
#include "kybase/KyShell.h"
#include "kyui/KyWinApp.h"

// The application's handles: setting one sets both the template and the string handle,
// so dialogs, bitmaps and strings all come from the same library.
struct KyResourceLoaderTraitsApp {
  static HINSTANCE GetInstanceHandle() { return KyGetInstanceHandle(); }
  static HINSTANCE GetResourceHandle() { return KyGetResourceHandle(); }
  static void SetResourceHandle(HINSTANCE module) {
    KySetResourceHandle(module);
    KySetStringResourceHandle(module);
  }
};

template <class TTraits>
class KyResourceLoaderT {
 public:
  explicit KyResourceLoaderT(const char* name) : m_names{name != nullptr ? name : ""} {}
  KyResourceLoaderT(const KyResourceLoaderT&) = delete;
  KyResourceLoaderT& operator=(const KyResourceLoaderT&) = delete;
  virtual ~KyResourceLoaderT() { Unload(); }

  // Activates the first library of the list that exists in the executable's folder and
  // loads; when none does, the current resources stay in use (no message).
  void Load() {
    Unload();
    const KyFsPath folder = GetModulePath(TTraits::GetInstanceHandle()).GetParent();
    for (const std::string& name : m_names) {
      const KyFsPath path = folder.Join(name.c_str());
      if (!path.Exists()) continue;
      KyModuleHandle module(LoadLibraryA(path.c_str()));
      if (!module) continue;
      m_savedHandle = TTraits::GetResourceHandle();
      m_module = std::move(module);
      TTraits::SetResourceHandle(m_module.Get());
      m_loadedPath = path;
      return;
    }
  }

  void Unload() {
    if (m_savedHandle != nullptr) TTraits::SetResourceHandle(m_savedHandle);
    m_savedHandle = nullptr;
    m_module.Reset();
    m_loadedPath.clear();
  }

  HMODULE GetModule() const { return m_module.Get(); }
  const std::string& GetLoadedPath() const { return m_loadedPath; }

 private:
  std::vector<std::string> m_names;
  HINSTANCE m_savedHandle = nullptr;
  KyModuleHandle m_module;
  std::string m_loadedPath;
};

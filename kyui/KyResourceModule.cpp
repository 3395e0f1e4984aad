// The separately loaded resource library.
#include "kyui/KyResourceModule.h"

#include "kybase/KyException.h"
#include "kybase/KyShell.h"
#include "kybase/KyString.h"
#include "kyui/KyWinApp.h"

KyResourceModule::KyResourceModule(const std::vector<std::string>& names) { Load(names); }

void KyResourceModule::Load(const std::vector<std::string>& names) {
  const KyFsPath folder = GetModulePath(KyGetInstanceHandle()).GetParent();
  for (const std::string& name : names) {
    m_module.Reset(LoadLibraryA(folder.Join(name.c_str()).c_str()));
    if (m_module) return;
  }
  for (const std::string& name : names) {
    m_module.Reset(LoadLibraryA(name.c_str()));
    if (m_module) return;
  }
  std::string list;
  for (const std::string& name : names) {
    if (!list.empty()) list += ", ";
    list += name;
  }
  throw Error::KyExceptionText(Ky::Format("Failed to load resource from modules: '%s'", list.c_str()));
}

std::string KyResourceModule::LoadString(UINT id) const {
  if (!m_module) return std::string();
  return KyLoadString(m_module.Get(), id);
}

HBITMAP KyResourceModule::LoadBitmap(UINT id) const {
  if (!m_module) return nullptr;
  return ::LoadBitmapA(m_module.Get(), MAKEINTRESOURCEA(id));
}

HICON KyResourceModule::LoadIcon(UINT id) const {
  if (!m_module) return nullptr;
  return static_cast<HICON>(LoadImageA(m_module.Get(), MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
}

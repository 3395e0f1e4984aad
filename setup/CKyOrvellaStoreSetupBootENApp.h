// ClientSetup's application: the whole setup runs in InitInstance, which never starts a
// message loop.
#pragma once

#include <windows.h>

#include <string>

class CKyOrvellaStoreSetupBootENApp {
 public:
  CKyOrvellaStoreSetupBootENApp() = default;
  CKyOrvellaStoreSetupBootENApp(const CKyOrvellaStoreSetupBootENApp&) = delete;
  CKyOrvellaStoreSetupBootENApp& operator=(const CKyOrvellaStoreSetupBootENApp&) = delete;
  virtual ~CKyOrvellaStoreSetupBootENApp() = default;

  // Outlook check, other-edition check, installed check, package written to the
  // temporary folder, installer started. Returns FALSE on every path, so the program ends.
  virtual BOOL InitInstance();

  // The caption of every message box the program shows.
  const std::string& GetTitle() const { return m_title; }

 private:
  // Offers to close a running Outlook; false when the user declined.
  bool CloseOutlook();
  int ShowMessage(const char* text, UINT type) const;

  std::string m_title;
};

// Writes the resource (type, id) of this program to path, replacing any file there.
// True only when the file now holds every byte of the resource.
bool WriteResourceToFile(const std::string& path, WORD resourceId, const std::string& resourceType);

// The application object of ClientConfig: prepares the process, switches to the English
// resources when they lie beside the program, and runs the settings sheet.
#pragma once

#include "kyui/KyResourceLoader.h"
#include "kyui/KyWinApp.h"

class CConfigApp : public KyWinApp {
 public:
  static constexpr const char* kEnglishLibrary = "KyOrvellaStoreConfig_ResEN.dll";

  CConfigApp();

  // The whole run; always FALSE, so that the program ends with the sheet.
  BOOL InitInstance() override;
  int ExitInstance() override;

 private:
  KyResourceLoaderT<KyResourceLoaderTraitsApp> m_resourceLoader;
};

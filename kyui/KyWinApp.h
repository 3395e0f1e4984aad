// The application object base, the active resource handles and the application's
// message box: what every window of the dialog layer loads its resources from.
#pragma once

#include <windows.h>

#include <string>

class KyWinApp {
 public:
  // appName: the title of the application's message boxes; null or empty means the
  // executable's file title.
  explicit KyWinApp(const char* appName = nullptr);
  KyWinApp(const KyWinApp&) = delete;
  KyWinApp& operator=(const KyWinApp&) = delete;
  virtual ~KyWinApp();

  // TRUE runs the message loop; FALSE ends the program after ExitInstance.
  virtual BOOL InitInstance();
  // The process exit code.
  virtual int ExitInstance();
  virtual int Run();

  // Initialises OLE for this thread; ExitInstance uninitialises it again.
  bool OleInit();

  static KyWinApp* Get() { return s_app; }

 private:
  static KyWinApp* s_app;
  bool m_oleInitialized = false;
};

// The whole life of the single application object; WinMain returns its result.
int KyWinMain(HINSTANCE instance);

HINSTANCE KyGetInstanceHandle();

// Where dialog templates, bitmaps and icons come from (the executable until switched).
HINSTANCE KyGetResourceHandle();
void KySetResourceHandle(HINSTANCE module);

// Where string resources come from; switched together with the resource handle by the
// resource loader, but left alone by dialogs that bring their own template library.
HINSTANCE KyGetStringResourceHandle();
void KySetStringResourceHandle(HINSTANCE module);

const std::string& KyGetAppTitle();

// A string of the active string resources in the ANSI code page; empty when missing.
std::string KyLoadString(UINT id);
// The same from a given module.
std::string KyLoadString(HINSTANCE module, UINT id);

// The application's message box: caption = the application title; an exclamation icon
// is added when type names none for an OK or OK/Cancel box.
int KyMessageBox(HWND owner, const std::string& text, UINT type = MB_OK);

// The application object base and the process-wide resource handles.
#include "kyui/KyWinApp.h"

#include <ole2.h>

#include <vector>

#include "kybase/KyShell.h"

KyWinApp* KyWinApp::s_app = nullptr;

namespace {

struct AppState {
  HINSTANCE instance = nullptr;
  HINSTANCE resources = nullptr;
  HINSTANCE strings = nullptr;
  std::string title;
};

AppState& State() {
  static AppState state;
  return state;
}

HINSTANCE OrDefault(HINSTANCE module) { return module != nullptr ? module : GetModuleHandleA(nullptr); }

}  // namespace

KyWinApp::KyWinApp(const char* appName) {
  s_app = this;
  if (appName != nullptr && *appName != '\0') State().title = appName;
}

KyWinApp::~KyWinApp() {
  if (s_app == this) s_app = nullptr;
}

BOOL KyWinApp::InitInstance() { return TRUE; }

int KyWinApp::ExitInstance() {
  if (m_oleInitialized) {
    OleUninitialize();
    m_oleInitialized = false;
  }
  return 0;
}

int KyWinApp::Run() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return ExitInstance();
}

bool KyWinApp::OleInit() {
  if (!m_oleInitialized) m_oleInitialized = SUCCEEDED(OleInitialize(nullptr));
  return m_oleInitialized;
}

int KyWinMain(HINSTANCE instance) {
  State().instance = instance;
  KyWinApp* app = KyWinApp::Get();
  if (app == nullptr) return -1;
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}

HINSTANCE KyGetInstanceHandle() { return OrDefault(State().instance); }

HINSTANCE KyGetResourceHandle() { return State().resources != nullptr ? State().resources : KyGetInstanceHandle(); }

void KySetResourceHandle(HINSTANCE module) { State().resources = module; }

HINSTANCE KyGetStringResourceHandle() {
  return State().strings != nullptr ? State().strings : KyGetInstanceHandle();
}

void KySetStringResourceHandle(HINSTANCE module) { State().strings = module; }

const std::string& KyGetAppTitle() {
  AppState& state = State();
  if (state.title.empty()) state.title = GetModulePath(nullptr).GetTitle();
  return state.title;
}

std::string KyLoadString(HINSTANCE module, UINT id) {
  // The resource's own UTF-16 text, converted once: no fixed buffer limits its length.
  const wchar_t* text = nullptr;
  const int length = LoadStringW(module, id, reinterpret_cast<wchar_t*>(&text), 0);
  if (length <= 0 || text == nullptr) return std::string();
  const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_ACP, 0, text, length, &result[0], size, nullptr, nullptr);
  return result;
}

std::string KyLoadString(UINT id) { return KyLoadString(KyGetStringResourceHandle(), id); }

int KyMessageBox(HWND owner, const std::string& text, UINT type) {
  if ((type & MB_ICONMASK) == 0) {
    const UINT buttons = type & MB_TYPEMASK;
    if (buttons == MB_OK || buttons == MB_OKCANCEL) type |= MB_ICONEXCLAMATION;
    if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) type |= MB_ICONQUESTION;
  }
  return MessageBoxA(owner, text.c_str(), KyGetAppTitle().c_str(), type);
}

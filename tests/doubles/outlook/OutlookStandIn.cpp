// A stand-in for Outlook's process: one top-level window that closes on WM_CLOSE, or
// ignores it when asked to. Built as "outlook.exe".
#include <windows.h>

#include <cstring>

#include "doubles/outlook/OutlookStandIn.h"

namespace {

bool g_ignoreClose = false;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      if (g_ignoreClose) return 0;
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(static_cast<int>(kOutlookStandInClosedExitCode));
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const char* readyEvent = nullptr;
  for (int i = 1; i < __argc; ++i) {
    if (std::strcmp(__argv[i], KY_OUTLOOK_IGNORE_CLOSE) == 0) {
      g_ignoreClose = true;
    } else if (std::strcmp(__argv[i], KY_OUTLOOK_READY) == 0 && i + 1 < __argc) {
      readyEvent = __argv[++i];
    } else {
      return static_cast<int>(kOutlookStandInUsageExitCode);
    }
  }

  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "KyOutlookStandIn";
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&windowClass);
  const HWND window = CreateWindowA("KyOutlookStandIn", "Outlook stand-in", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                    320, 200, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;

  if (readyEvent != nullptr) {
    const HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, readyEvent);
    if (event != nullptr) {
      SetEvent(event);
      CloseHandle(event);
    }
  }

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

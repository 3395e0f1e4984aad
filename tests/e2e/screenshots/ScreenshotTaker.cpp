// Takes screenshots of ClientConfig: each page of the sheet, the TCP port dialog and a message
// box, as BMP files. Run by scripts/screenshots inside a virtual Wine desktop, which gives the
// windows their frames.
//   e2e_screenshots.exe OUTPUT_FOLDER PREFIX [english]
// KY_CLIENTCONFIG_EXE and KY_BINARY_DIR name the program and the build tree (Unix paths).
#include <windows.h>

#include <cstdio>
#include <string>

#include "e2e/config/ConfigE2E.h"

using namespace UiDriver;
using namespace ConfigE2E;

namespace {

// Painting of another process ends some time after our messages were handled; screenshots are
// no tests, so a pause is good enough here.
void LetItPaint(const Window& window) {
  Sync(window);
  ::Sleep(400);
}

// Copies the window's screen rectangle (frame included) into a 24-bit BMP file.
void Capture(const Window& window, const std::string& path) {
  RECT rect;
  ::GetWindowRect(window.GetHandle(), &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  ::SelectObject(memory, old);

  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
  const DWORD imageSize = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + imageSize;
  info.bmiHeader.biSizeImage = imageSize;
  HANDLE out = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) throw DriverError("cannot write " + path);
  DWORD written = 0;
  ::WriteFile(out, &file, sizeof(file), &written, nullptr);
  ::WriteFile(out, &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr);
  ::WriteFile(out, bits, imageSize, &written, nullptr);
  ::CloseHandle(out);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  std::printf("%s\n", path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: e2e_screenshots OUTPUT_FOLDER PREFIX [english]\n");
    return 2;
  }
  const std::string folder = WinePathFromUnix(argv[1]);
  const std::string prefix = folder + "\\" + argv[2];
  const bool english = argc > 3 && std::string(argv[3]) == "english";
  try {
    ResetClientState();
    // An own server, so that every control of the Server page is enabled and the port dialog opens.
    WriteOwnServer("192.168.1.10", 5002);
    ChildProcess process = StartClientConfig(english ? Library::English : Library::None);
    SheetWindow sheet = WaitForSheet(process);
    const char* const pages[] = {"server", "logfiles", "other"};
    for (int i = 2; i >= 0; --i) {  // the Server page last, so the later shots start from it
      sheet.SelectPage(i);
      LetItPaint(sheet);
      Capture(sheet, prefix + "-page" + std::to_string(i + 1) + "-" + pages[i] + ".bmp");
    }

    sheet.PageControl(0, kIdTcpPort).Click();
    Window dialog = WaitForTopLevel(
        process.GetId(), [&](const Window& window) { return window != sheet && window.FindControl(kIdPortField); },
        "TCP port dialog");
    LetItPaint(dialog);
    Capture(dialog, prefix + "-tcp-port.bmp");
    dialog.Control(IDCANCEL).Click();
    WaitForGone(dialog);

    sheet.PageControl(0, kIdAddress).SetText("1server");
    sheet.PressOk();
    MessageBoxInfo box = WaitForMessageBox(process.GetId());
    LetItPaint(box.window);
    Capture(box.window, prefix + "-message-box.bmp");
    AnswerMessageBox(box);
    sheet.PressCancel();
    if (!process.WaitForExit()) throw DriverError("ClientConfig did not end");
    ResetClientState();
  } catch (const DriverError& e) {
    std::fprintf(stderr, "e2e_screenshots: %s\n", e.what());
    return 1;
  }
  return 0;
}

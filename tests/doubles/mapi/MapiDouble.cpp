// A stand-in "MAPI32.DLL": MAPISendMail records what it was given to the file named by
// KY_MAPI_RECORD, copies each attachment into the folder KY_MAPI_COPY_DIR (under its shown
// file name) and returns KY_MAPI_RESULT (0 when unset). Built without MAPISendMail when
// KY_MAPI_NO_SEND is defined, for the missing-export case.
#include <windows.h>
#include <mapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#ifndef KY_MAPI_NO_SEND
namespace {

std::string Env(const char* name) {
  char value[2048] = {};
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
  return length > 0 && length < sizeof(value) ? std::string(value, length) : std::string();
}

const char* Text(const char* text) { return text != nullptr ? text : "(null)"; }

// Size of the file, or -1 when it cannot be opened.
long long FileSize(const char* path) {
  if (path == nullptr) return -1;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

extern "C" __declspec(dllexport) ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR uiParam,
                                                           lpMapiMessage message, FLAGS flags, ULONG reserved) {
  const std::string recordPath = Env("KY_MAPI_RECORD");
  FILE* record = recordPath.empty() ? nullptr : fopen(recordPath.c_str(), "ab");
  if (record != nullptr) {
    const HWND window = reinterpret_cast<HWND>(uiParam);
    fprintf(record, "call\n");
    fprintf(record, "session=%llu\n", static_cast<unsigned long long>(session));
    fprintf(record, "window=%s\n", window == nullptr ? "null" : (IsWindow(window) ? "window" : "invalid"));
    fprintf(record, "captured=%d\n", window != nullptr && GetCapture() == window ? 1 : 0);
    fprintf(record, "focus=%s\n", GetFocus() == nullptr ? "null" : "set");
    fprintf(record, "flags=%lu\n", static_cast<unsigned long>(flags));
    fprintf(record, "reserved=%lu\n", static_cast<unsigned long>(reserved));
    fprintf(record, "subject=%s\n", Text(message->lpszSubject));
    fprintf(record, "note=%s\n", Text(message->lpszNoteText));
    fprintf(record, "type=%s\n", Text(message->lpszMessageType));
    fprintf(record, "originator=%s\n", message->lpOriginator == nullptr ? "null" : "set");
    fprintf(record, "messageflags=%lu\n", static_cast<unsigned long>(message->flFlags));
    fprintf(record, "recipients=%lu %s\n", static_cast<unsigned long>(message->nRecipCount),
            message->lpRecips == nullptr ? "null" : "set");
    for (ULONG i = 0; i < message->nRecipCount && message->lpRecips != nullptr; ++i) {
      const MapiRecipDesc& recipient = message->lpRecips[i];
      fprintf(record, "recipient=%lu|%s|%s|%lu\n", static_cast<unsigned long>(recipient.ulRecipClass),
              Text(recipient.lpszName), Text(recipient.lpszAddress), static_cast<unsigned long>(recipient.ulEIDSize));
    }
    fprintf(record, "files=%lu %s\n", static_cast<unsigned long>(message->nFileCount),
            message->lpFiles == nullptr ? "null" : "set");
    const std::string copyFolder = Env("KY_MAPI_COPY_DIR");
    for (ULONG i = 0; i < message->nFileCount && message->lpFiles != nullptr; ++i) {
      const MapiFileDesc& file = message->lpFiles[i];
      fprintf(record, "file=%ld|%s|%s|%lu|%s|%lld\n", static_cast<long>(file.nPosition), Text(file.lpszPathName),
              Text(file.lpszFileName), static_cast<unsigned long>(file.flFlags),
              file.lpFileType == nullptr ? "null" : "set", FileSize(file.lpszPathName));
      if (!copyFolder.empty() && file.lpszPathName != nullptr && file.lpszFileName != nullptr) {
        const std::string target = copyFolder + "\\" + file.lpszFileName;
        fprintf(record, "copied=%d\n", CopyFileA(file.lpszPathName, target.c_str(), FALSE) ? 1 : 0);
      }
    }
    fclose(record);
  }
  return static_cast<ULONG>(strtoul(Env("KY_MAPI_RESULT").c_str(), nullptr, 10));
}
// Tells the double from Wine's own mapi32, which reports the same path when it stands in.
extern "C" __declspec(dllexport) int KyMapiDouble() { return 1; }
#else
extern "C" __declspec(dllexport) ULONG WINAPI MAPILogoff(LHANDLE, ULONG_PTR, FLAGS, ULONG) { return 0; }
#endif

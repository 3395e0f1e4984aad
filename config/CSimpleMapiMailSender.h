// Hands a message with attachments to the user's mail program through Simple MAPI.
#pragma once

#include <windows.h>
#include <mapi.h>

#include <string>
#include <vector>

// "MAPI32.DLL" loaded for the wrapper's lifetime; the export is looked up at each call.
class CSimpleMapiWrapper {
 public:
  // libraryName: the system's "MAPI32.DLL" unless a test names another library.
  explicit CSimpleMapiWrapper(const char* libraryName = "MAPI32.DLL");
  CSimpleMapiWrapper(const CSimpleMapiWrapper&) = delete;
  CSimpleMapiWrapper& operator=(const CSimpleMapiWrapper&) = delete;
  virtual ~CSimpleMapiWrapper();

  bool IsLoaded() const { return m_module != nullptr; }
  // 0 without calling anything when the library or its export is missing.
  ULONG MAPISendMail(LHANDLE session, ULONG_PTR uiParam, lpMapiMessage message, FLAGS flags, ULONG reserved);

 private:
  HMODULE m_module;
};

class CSimpleMapiMailSender {
 public:
  // Longest text a field holds (the field keeps a terminator after it).
  static constexpr size_t kMaxText = 1023;

  CSimpleMapiMailSender() = default;
  virtual ~CSimpleMapiMailSender() = default;

  void SetSubject(std::string subject) { m_subject = std::move(subject); }
  // address in Simple MAPI's form, e.g. "smtp:" and the mailbox. A text longer than
  // kMaxText throws Error::KyExceptionText rather than being cut.
  void AddRecipient(std::string displayName, std::string address);
  // fileName: the name shown in the message; path: the file's full path. Same limit.
  void AddAttachment(std::string fileName, std::string path);

  // Offers the message in the mail program's compose window, owned by window, which is
  // held (mouse capture, no focus) while the mail program has the call. Does nothing when
  // Simple MAPI is not available; the mail program's result is not reported.
  void Send(HWND window) const { Send(window, "MAPI32.DLL"); }
  void Send(HWND window, const char* libraryName) const;

 private:
  struct TextPair {
    char first[kMaxText + 1];
    char second[kMaxText + 1];
  };
  static TextPair MakePair(const std::string& first, const std::string& second);

  std::vector<TextPair> m_recipients;  // display name, address
  std::vector<TextPair> m_attachments;  // file name, full path
  std::string m_subject;
};

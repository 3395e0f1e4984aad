// The exception family every failure of the client travels in (thrown by value,
// caught by reference to Error::KyException).
#pragma once

#include <string>

namespace Error {

class KyException {
 public:
  virtual ~KyException() = default;

  // The message text; KyExceptionCommon composes it with the system's description.
  virtual std::string GetText() const = 0;

  std::string GetModule() const { return m_module; }
  int GetLine() const { return m_line; }

  // What ShowMessage shows: GetText trimmed, or the fallback naming module and line
  // when that is empty.
  std::string GetShownText() const;

  // Shows GetShownText in a message box captioned "Error" with no owner; returns
  // the box's result. Callers pass MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST.
  int ShowMessage(unsigned int type) const;

 protected:
  // sourceFile may be null; only its file-name part is kept.
  KyException(const char* sourceFile, int line);

 private:
  std::string m_module;
  int m_line;
};

class KyExceptionText : public KyException {
 public:
  KyExceptionText(const std::string& text, const char* sourceFile = nullptr, int line = 0)
      : KyException(sourceFile, line), m_text(text) {}

  std::string GetText() const override { return m_text; }

 private:
  std::string m_text;
};

// A failed system, socket or COM call: errorCode is GetLastError, WSAGetLastError or an HRESULT.
class KyExceptionCommon : public KyException {
 public:
  KyExceptionCommon(int errorCode, const std::string& text, const char* sourceFile = nullptr, int line = 0)
      : KyException(sourceFile, line), m_errorCode(errorCode), m_text(text) {}

  // "<system description> (<%#x of the code>)" and, when there is a text, " \n\n<text>".
  std::string GetText() const override;

  int GetErrorCode() const { return m_errorCode; }
  std::string GetOwnText() const { return m_text; }

 private:
  int m_errorCode;
  std::string m_text;
};

// The system's description of an error code, trimmed; empty when the system knows none.
std::string GetSystemErrorDescription(int errorCode);

}  // namespace Error

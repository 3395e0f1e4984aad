// The portable part of the exception family.
#include "kybase/KyException.h"

#include "kybase/KyFsPath.h"
#include "kybase/KyString.h"

namespace Error {

KyException::KyException(const char* sourceFile, int line)
    : m_module(KyFsPath(sourceFile).GetFileName()), m_line(line) {}

std::string KyException::GetShownText() const {
  const std::string text = Ky::Trim(GetText());
  if (!text.empty()) return text;
  return Ky::Format("Unknown error occured\nFile: %s, Line: %d", m_module.c_str(), m_line);
}

std::string KyExceptionCommon::GetText() const {
  std::string result = GetSystemErrorDescription(m_errorCode);
  result += Ky::Format(" (%#x)", static_cast<unsigned int>(m_errorCode));
  if (!m_text.empty()) {
    result += " \n\n";
    result += m_text;
  }
  return result;
}

}  // namespace Error

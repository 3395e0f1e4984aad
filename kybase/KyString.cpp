// Narrow-string helpers shared by every module.
#include "kybase/KyString.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#ifdef _WIN32
#include <mbstring.h>
#endif

namespace Ky {

std::string FormatV(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length <= 0) return std::string();
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  std::vsnprintf(buffer.data(), buffer.size(), format, args);
  return std::string(buffer.data(), static_cast<size_t>(length));
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string result = FormatV(format, args);
  va_end(args);
  return result;
}

static bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string TrimLeft(const std::string& text) {
  size_t first = 0;
  while (first < text.size() && IsBlank(text[first])) ++first;
  return text.substr(first);
}

std::string TrimRight(const std::string& text) {
  size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  return text.substr(0, end);
}

std::string Trim(const std::string& text) { return TrimLeft(TrimRight(text)); }

#ifdef _WIN32
int CompareNoCase(const std::string& a, const std::string& b) {
  return _mbsicmp(reinterpret_cast<const unsigned char*>(a.c_str()),
                  reinterpret_cast<const unsigned char*>(b.c_str()));
}

int Compare(const std::string& a, const std::string& b) {
  return _mbscmp(reinterpret_cast<const unsigned char*>(a.c_str()),
                 reinterpret_cast<const unsigned char*>(b.c_str()));
}
#else
static unsigned char FoldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

int CompareNoCase(const std::string& a, const std::string& b) {
  const auto* x = reinterpret_cast<const unsigned char*>(a.c_str());
  const auto* y = reinterpret_cast<const unsigned char*>(b.c_str());
  for (;; ++x, ++y) {
    const int d = FoldAscii(*x) - FoldAscii(*y);
    if (d != 0 || *x == 0) return d;
  }
}

int Compare(const std::string& a, const std::string& b) { return std::strcmp(a.c_str(), b.c_str()); }
#endif

}  // namespace Ky

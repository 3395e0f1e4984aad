// Test helper: UTF-8 source text as UTF-16, to compare with what resources store.
#pragma once

#include <windows.h>

#include <string>

inline std::wstring Utf16(const char* utf8) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring text(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &text[0], size);
  text.resize(static_cast<size_t>(size - 1));
  return text;
}

// Narrow-string helpers: printf-style formatting, trimming and the C run time's
// multibyte comparisons, with one Windows and one portable implementation.
#pragma once

#include <cstdarg>
#include <string>

namespace Ky {

// printf-style formatting into a new string.
std::string Format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
std::string FormatV(const char* format, va_list args);

// White space as the C run time's isspace sees it (blank, tab, CR, LF, VT, FF).
std::string TrimLeft(const std::string& text);
std::string TrimRight(const std::string& text);
std::string Trim(const std::string& text);

// _mbsicmp and _mbscmp of the ANSI code page: < 0, 0 or > 0. The portable build
// folds ASCII letters only and compares bytes as unsigned, as the run time does for
// a single-byte code page.
int CompareNoCase(const std::string& a, const std::string& b);
int Compare(const std::string& a, const std::string& b);

}  // namespace Ky

// The path type: a narrow string with path operations. "\" and "/" both separate
// when a path is taken apart; the operations that build paths insert "\".
#pragma once

#include <string>

namespace Traits {

struct KyFsPathStrTraitA {
  using Char = char;
  static constexpr char kSeparator = '\\';
  static constexpr char kAltSeparator = '/';
};

}  // namespace Traits

template <class TTraits>
class KyFsPathT : public std::string {
 public:
  KyFsPathT() = default;
  KyFsPathT(const char* text) : std::string(text != nullptr ? text : "") {}  // NOLINT: implicit like a string
  KyFsPathT(const std::string& text) : std::string(text) {}                  // NOLINT
  KyFsPathT(const KyFsPathT&) = default;
  KyFsPathT& operator=(const KyFsPathT&) = default;
  virtual ~KyFsPathT() = default;

  static bool IsSeparator(char c) { return c == TTraits::kSeparator || c == TTraits::kAltSeparator; }

  // Appends c unless the path is empty or already ends in a separator.
  KyFsPathT& AddSeparator(char c) {
    if (!empty() && !IsSeparator(back())) push_back(c);
    return *this;
  }

  KyFsPathT& Append(const char* name) {
    AddSeparator(TTraits::kSeparator);
    if (name != nullptr) append(name);
    return *this;
  }

  KyFsPathT Join(const char* name) const {
    KyFsPathT result(*this);
    result.Append(name);
    return result;
  }

  // Everything up to and including the last separator; the path unchanged when the
  // separator is missing or is the first character.
  KyFsPathT GetParent() const {
    if (empty()) return KyFsPathT();
    const size_type position = LastSeparator();
    if (position != npos && position > 0) return KyFsPathT(substr(0, position + 1));
    return *this;
  }

  KyFsPathT GetFileName() const {
    if (empty()) return KyFsPathT();
    const size_type position = LastSeparator();
    return position == npos ? *this : KyFsPathT(substr(position + 1));
  }

  // The file name without its last dot and what follows it.
  KyFsPathT GetTitle() const {
    KyFsPathT name = GetFileName();
    const size_type dot = name.rfind('.');
    if (dot != npos) name.erase(dot);
    return name;
  }

  KyFsPathT& RemoveTrailing(char c) {
    if (!empty() && back() == c) pop_back();
    return *this;
  }

  // File-system queries (Windows only).
  bool Exists() const;
  bool FolderExists() const;
  bool CreateFolders() const;

 private:
  // The last "\"; the last "/" only when there is no "\".
  size_type LastSeparator() const {
    const size_type backslash = rfind(TTraits::kSeparator);
    return backslash != npos ? backslash : rfind(TTraits::kAltSeparator);
  }
};

using KyFsPath = KyFsPathT<Traits::KyFsPathStrTraitA>;

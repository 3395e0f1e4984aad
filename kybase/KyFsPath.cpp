// The file-system queries of the path type.
#include <windows.h>

#include <vector>

#include "kybase/KyFsPath.h"
#include "kybase/KyHandle.h"

namespace {

bool FindsAnything(const std::string& pattern) {
  WIN32_FIND_DATAA data;
  KyFindHandle find(FindFirstFileA(pattern.c_str(), &data));
  return find.IsValid();
}

}  // namespace

template <class TTraits>
bool KyFsPathT<TTraits>::Exists() const {
  KyFsPathT copy(*this);
  copy.RemoveTrailing(TTraits::kSeparator);
  return FindsAnything(copy);
}

template <class TTraits>
bool KyFsPathT<TTraits>::FolderExists() const {
  return FindsAnything(Join("*.*"));
}

template <class TTraits>
bool KyFsPathT<TTraits>::CreateFolders() const {
  std::vector<std::string> components;
  std::string current;
  for (char c : *this) {
    if (IsSeparator(c)) {
      if (!current.empty()) components.push_back(current);
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) components.push_back(current);

  if (components.size() < 2) return FolderExists();

  const bool network = size() >= 2 && (*this)[0] == '\\' && (*this)[1] == '\\';
  KyFsPathT path(network ? "\\\\" : "");
  path.append(components[0]);
  for (size_t i = 1; i < components.size(); ++i) {
    path.Append(components[i].c_str());
    if (!path.FolderExists() && !CreateDirectoryA(path.c_str(), nullptr)) return false;
  }
  return true;
}

template class KyFsPathT<Traits::KyFsPathStrTraitA>;

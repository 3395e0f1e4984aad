// Packs a list of files into one zip archive (the log files mailed to support).
#pragma once

#include <string>
#include <vector>

class KyZipPacker {
 public:
  explicit KyZipPacker(std::string archivePath);
  virtual ~KyZipPacker() = default;

  // true (the default): entries are named with the path as added; false: with its file name.
  void SetStoreFullPath(bool storeFullPath) { m_storeFullPath = storeFullPath; }
  // Nothing is checked here; a path added twice is packed twice.
  void AddFile(std::string path) { m_files.push_back(std::move(path)); }

  // Creates the archive, or adds to it when a file already exists at its path, with one
  // deflated entry per file in the order added. Throws Error::KyExceptionText naming the
  // file on the first failure; files after it are not packed.
  void Pack();

 private:
  bool m_storeFullPath;
  std::string m_archivePath;
  std::vector<std::string> m_files;
};

// The log's output file: opened with a share mode that denies nothing, written in text mode
// ("\n" reaches the file as CR LF), each piece with one write at the file's current end.
#pragma once

#include <cstdint>
#include <string>

#include "kybase/KyHandle.h"

namespace Error {

class KyLogStream {
 public:
  KyLogStream() = default;
  KyLogStream(const KyLogStream&) = delete;
  KyLogStream& operator=(const KyLogStream&) = delete;
  virtual ~KyLogStream() = default;

  // Opens or creates path for writing (emptied when truncate); false on failure, which leaves
  // the stream in the failed state until the next successful open.
  bool Open(const char* path, bool truncate);
  // True while a file is open; the writers skip their lines otherwise.
  bool IsGood() const { return m_file.IsValid(); }
  void Close() { m_file.Reset(); }

  // Moves the write position to the end of the file; the new position, or -1.
  int64_t SeekToEnd();

  // Writes text at the end of the file as other processes left it, in one WriteFile, so that
  // a serialised writer's piece is never interleaved with another's. Nothing is buffered here,
  // so nothing is left to flush. A short write is cut back off the file: the piece lands whole
  // or not at all. False when it did not land.
  bool Append(const std::string& text);

 private:
  KyFileHandle m_file;
};

}  // namespace Error

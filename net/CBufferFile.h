// The temporary file in which the socket reader collects a very large message.
#pragma once

#include <string>

#include "kybase/KyFile.h"

namespace Net {
namespace Support {

class CBufferFile : public KyFileWrite {
 public:
  CBufferFile() = default;
  // Closes the file and deletes it, whether or not the transfer succeeded.
  ~CBufferFile() override;

  // Makes a new file "ky*.tmp" in the temporary folder and opens it for writing (sharing
  // read access). Returns IsOpen; on failure GetLastError tells why.
  bool CreateTemp();
  // The file's path; empty until CreateTemp has named one.
  const std::string& GetPath() const { return m_path; }

 private:
  void Delete();

  std::string m_path;
};

}  // namespace Support
}  // namespace Net

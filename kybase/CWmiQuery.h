// A connection to one WMI namespace and a query that collects one unsigned property.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct IWbemLocator;
struct IWbemServices;

class CWmiQuery {
 public:
  // Connects to the namespace (for example "ROOT\\CIMV2") through COM, which the calling
  // thread has initialised. Raises Error::KyExceptionCommon with the HRESULT on failure.
  explicit CWmiQuery(const std::string& nameSpace);
  CWmiQuery(const CWmiQuery&) = delete;
  CWmiQuery& operator=(const CWmiQuery&) = delete;
  virtual ~CWmiQuery();

  // Runs the WQL query and returns the named property of each result object, as an
  // unsigned 32-bit number, in the order of the enumeration. Objects whose property is
  // empty, null or not convertible are skipped.
  std::vector<uint32_t> QueryValues(const std::string& query, const std::string& property);

 private:
  void Release();

  IWbemLocator* m_locator = nullptr;
  IWbemServices* m_services = nullptr;
};

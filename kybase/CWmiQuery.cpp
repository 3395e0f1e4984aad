// WMI through COM: locator, ConnectServer, proxy blanket, ExecQuery.
#include "kybase/CWmiQuery.h"

#include <windows.h>
#include <wbemcli.h>

#include "kybase/KyException.h"
#include "kybase/KyString.h"

namespace {

// A BSTR made from narrow text, freed at the end of its scope.
class CBstr {
 public:
  explicit CBstr(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    m_bstr = SysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (m_bstr != nullptr && length > 0) {
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), m_bstr, length);
    }
  }
  CBstr(const CBstr&) = delete;
  CBstr& operator=(const CBstr&) = delete;
  ~CBstr() { SysFreeString(m_bstr); }
  BSTR Get() const { return m_bstr; }

 private:
  BSTR m_bstr = nullptr;
};

// Releases a COM interface pointer at the end of its scope.
template <class T>
class CComRelease {
 public:
  CComRelease() = default;
  CComRelease(const CComRelease&) = delete;
  CComRelease& operator=(const CComRelease&) = delete;
  ~CComRelease() {
    if (m_pointer != nullptr) m_pointer->Release();
  }
  T** Out() { return &m_pointer; }
  T* Get() const { return m_pointer; }

 private:
  T* m_pointer = nullptr;
};

}  // namespace

CWmiQuery::CWmiQuery(const std::string& nameSpace) {
  HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                reinterpret_cast<void**>(&m_locator));
  if (m_locator == nullptr) {
    throw Error::KyExceptionCommon(hr, "Failed to create WMI WebLocator object.", __FILE__, __LINE__);
  }
  const CBstr resource(nameSpace);
  hr = m_locator->ConnectServer(resource.Get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, &m_services);
  if (m_services == nullptr) {
    Release();
    throw Error::KyExceptionCommon(hr, Ky::Format("Failed to connect to server using namespace '%s'", nameSpace.c_str()),
                                   __FILE__, __LINE__);
  }
  // Without the blanket some providers refuse to impersonate; a failure here shows in the query.
  CoSetProxyBlanket(m_services, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                    RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

CWmiQuery::~CWmiQuery() { Release(); }

void CWmiQuery::Release() {
  if (m_services != nullptr) m_services->Release();
  m_services = nullptr;
  if (m_locator != nullptr) m_locator->Release();
  m_locator = nullptr;
}

std::vector<uint32_t> CWmiQuery::QueryValues(const std::string& query, const std::string& property) {
  const CBstr language("WQL");
  const CBstr queryText(query);
  CComRelease<IEnumWbemClassObject> enumerator;
  const HRESULT hr = m_services->ExecQuery(language.Get(), queryText.Get(),
                                           WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                           enumerator.Out());
  if (enumerator.Get() == nullptr) {
    throw Error::KyExceptionCommon(hr, Ky::Format("Failed to execute query '%s'", query.c_str()), __FILE__, __LINE__);
  }

  const int wideLength = MultiByteToWideChar(CP_ACP, 0, property.c_str(), -1, nullptr, 0);
  std::wstring name(static_cast<size_t>(wideLength > 0 ? wideLength : 1), L'\0');
  MultiByteToWideChar(CP_ACP, 0, property.c_str(), -1, &name[0], wideLength);

  std::vector<uint32_t> values;
  for (;;) {
    CComRelease<IWbemClassObject> object;
    ULONG returned = 0;
    if (FAILED(enumerator.Get()->Next(WBEM_INFINITE, 1, object.Out(), &returned)) || returned == 0 ||
        object.Get() == nullptr) {
      break;
    }
    VARIANT value;
    VariantInit(&value);
    if (SUCCEEDED(object.Get()->Get(name.c_str(), 0, &value, nullptr, nullptr)) && value.vt != VT_EMPTY &&
        value.vt != VT_NULL) {
      if (value.vt == VT_UI4 || SUCCEEDED(VariantChangeType(&value, &value, 0, VT_UI4))) values.push_back(value.ulVal);
    }
    VariantClear(&value);
  }
  return values;
}

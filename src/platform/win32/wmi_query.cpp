#include "platform/win32/wmi_query.h"

#include "base/win32/com_ptr.h"
#include "platform/win32/system_error_win32.h"
#include "base/win32/windows_api.h"

#include <wbemidl.h>

namespace px::win32 {

namespace {

// Sent as it stands, blanks included.
constexpr wchar_t kUsbAssociationQuery[] = L"Select   *   From   Win32_USBControllerDevice";

// WMI acts on the caller's behalf: its proxies must be allowed to impersonate.
HRESULT AllowImpersonation(IUnknown* proxy) {
  return CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                           RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

Expected<Text> ReadTextProperty(IWbemClassObject& object, const wchar_t* property) {
  UniqueVariant value;
  HRESULT hr = object.Get(property, 0, value.Put(), nullptr, nullptr);
  if (FAILED(hr)) return HresultError(std::wstring(L"WMI Get ") + property, hr);
  if (value.Get()->vt != VT_BSTR) {
    // What a script would make of it; a Null cannot be read as text and is an error.
    hr = VariantChangeType(value.Get(), value.Get(), 0, VT_BSTR);
    if (FAILED(hr)) return HresultError(std::wstring(L"WMI Get ") + property, hr);
  }
  const BSTR text = value.Get()->bstrVal;
  return FromWide(text, SysStringLen(text));
}

}  // namespace

Expected<std::vector<Text>> QueryWmiProperty(const wchar_t* query, const wchar_t* property) {
  ComPtr<IWbemLocator> locator;
  HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                locator.PutVoid());
  if (FAILED(hr)) return HresultError(L"WMI locator", hr);

  const UniqueBstr name_space(L"ROOT\\CIMV2");
  ComPtr<IWbemServices> services;
  hr = locator->ConnectServer(name_space.Get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                              services.Put());
  if (FAILED(hr)) return HresultError(L"WMI ConnectServer root\\cimv2", hr);
  hr = AllowImpersonation(services.Get());
  if (FAILED(hr)) return HresultError(L"CoSetProxyBlanket", hr);

  const UniqueBstr language(L"WQL");
  const UniqueBstr text(query);
  if (!language || !text) return HresultError(L"SysAllocString", E_OUTOFMEMORY);
  ComPtr<IEnumWbemClassObject> objects;
  hr = services->ExecQuery(language.Get(), text.Get(),
                           WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                           objects.Put());
  if (FAILED(hr)) return HresultError(L"WMI ExecQuery", hr);
  // An enumerator served in-process is no proxy and refuses a blanket; that is harmless.
  AllowImpersonation(objects.Get());

  std::vector<Text> values;
  for (;;) {
    ComPtr<IWbemClassObject> object;
    ULONG returned = 0;
    hr = objects->Next(static_cast<LONG>(-1) /* WBEM_INFINITE */, 1, object.Put(), &returned);
    if (FAILED(hr)) return HresultError(L"WMI enumeration", hr);
    if (returned == 0) break;
    Expected<Text> value = ReadTextProperty(*object.Get(), property);
    if (!value) return value.error();
    values.push_back(std::move(value.value()));
  }
  return values;
}

Expected<std::vector<Text>> WmiUsbAssociations::QueryDependents() {
  return QueryWmiProperty(kUsbAssociationQuery, L"Dependent");
}

}  // namespace px::win32

#include "platform/win32/wmi_query.h"

#include <wbemidl.h>

#include "base/win32/com_ptr.h"
#include "base/win32/windows_api.h"
#include "platform/win32/system_error_win32.h"

namespace px::win32 {

namespace {

// Sent as it stands, blanks included.
constexpr wchar_t kUsbAssociationQuery[] = L"Select   *   From   Win32_USBControllerDevice";

// WMI acts on the caller's behalf: its proxies must be allowed to impersonate.
HRESULT AllowImpersonation(IUnknown* proxy) {
  return CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                           RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

}  // namespace

// The services object stays with the enumeration that came from it for as long as it is read.
struct WmiObjects::Com {
  ComPtr<IWbemServices> services;
  ComPtr<IEnumWbemClassObject> objects;
  ComPtr<IWbemClassObject> current;
};

WmiObjects::WmiObjects(std::unique_ptr<Com> com) : com_(std::move(com)) {}
WmiObjects::WmiObjects(WmiObjects&&) noexcept = default;
WmiObjects& WmiObjects::operator=(WmiObjects&&) noexcept = default;
WmiObjects::~WmiObjects() = default;

Expected<WmiObjects> WmiObjects::Query(const wchar_t* query) {
  ComPtr<IWbemLocator> locator;
  HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                locator.PutVoid());
  if (FAILED(hr)) return HresultError(L"WMI locator", hr);

  auto com = std::make_unique<Com>();
  const UniqueBstr name_space(L"ROOT\\CIMV2");
  hr = locator->ConnectServer(name_space.Get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                              com->services.Put());
  if (FAILED(hr)) return HresultError(L"WMI ConnectServer root\\cimv2", hr);
  hr = AllowImpersonation(com->services.Get());
  if (FAILED(hr)) return HresultError(L"CoSetProxyBlanket", hr);

  const UniqueBstr language(L"WQL");
  const UniqueBstr text(query);
  if (!language || !text) return HresultError(L"SysAllocString", E_OUTOFMEMORY);
  hr = com->services->ExecQuery(language.Get(), text.Get(),
                                WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                com->objects.Put());
  if (FAILED(hr)) return HresultError(L"WMI ExecQuery", hr);
  // An enumerator served in-process is no proxy and refuses a blanket; that is harmless.
  AllowImpersonation(com->objects.Get());
  return WmiObjects(std::move(com));
}

Expected<bool> WmiObjects::Next() {
  ULONG returned = 0;
  // Waits for the next object only: WMI may still be listing the ones after it.
  const HRESULT hr = com_->objects->Next(static_cast<LONG>(-1) /* WBEM_INFINITE */, 1,
                                         com_->current.Put(), &returned);
  if (FAILED(hr)) return HresultError(L"WMI enumeration", hr);
  return returned == 1;
}

Expected<Text> WmiObjects::Read(const wchar_t* property) {
  if (!com_->current) return HresultError(std::wstring(L"WMI Get ") + property, E_UNEXPECTED);
  UniqueVariant value;
  HRESULT hr = com_->current->Get(property, 0, value.Put(), nullptr, nullptr);
  if (FAILED(hr)) return HresultError(std::wstring(L"WMI Get ") + property, hr);
  if (value.Get()->vt != VT_BSTR) {
    // What a script would make of it; a Null cannot be read as text and is an error.
    hr = VariantChangeType(value.Get(), value.Get(), 0, VT_BSTR);
    if (FAILED(hr)) return HresultError(std::wstring(L"WMI Get ") + property, hr);
  }
  const BSTR text = value.Get()->bstrVal;
  return FromWide(text, SysStringLen(text));
}

Expected<std::vector<Text>> QueryWmiProperty(const wchar_t* query, const wchar_t* property) {
  Expected<WmiObjects> objects = WmiObjects::Query(query);
  if (!objects) return objects.error();
  std::vector<Text> values;
  for (;;) {
    Expected<bool> more = objects.value().Next();
    if (!more) return more.error();
    if (!more.value()) return values;
    Expected<Text> value = objects.value().Read(property);
    if (!value) return value.error();
    values.push_back(std::move(value.value()));
  }
}

namespace {

class WmiUsbAssociationCursor : public UsbAssociationCursor {
 public:
  explicit WmiUsbAssociationCursor(WmiObjects objects) : objects_(std::move(objects)) {}
  Expected<bool> Next() override { return objects_.Next(); }
  Expected<Text> Dependent() override { return objects_.Read(L"Dependent"); }

 private:
  WmiObjects objects_;
};

}  // namespace

Expected<std::unique_ptr<UsbAssociationCursor>> WmiUsbAssociations::Query() {
  Expected<WmiObjects> objects = WmiObjects::Query(kUsbAssociationQuery);
  if (!objects) return objects.error();
  return std::unique_ptr<UsbAssociationCursor>(
      std::make_unique<WmiUsbAssociationCursor>(std::move(objects.value())));
}

}  // namespace px::win32

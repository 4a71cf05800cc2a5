#pragma once

#include "base/win32/windows_api.h"

#include <oleacc.h>

#include "controls/common/accessible.h"

namespace px::win32 {

class ChildWindow;

// The user's UI language, as the controls' descriptions take it: Chinese for any Chinese UI
// language, English otherwise.
UiLanguage UserUiLanguage();

// A control window's client object for screen readers (Microsoft Active Accessibility). It
// only translates: every answer comes from the control's description (AccessibleControl),
// computed afresh for each call, in the user's UI language; parts are simple elements with the
// child ids 1, 2, ... of the description. The window answers WM_GETOBJECT with it.
//
// A reader may hold the object longer than the window lives. The window cuts it off when it
// goes (Disconnect): from then on every call answers RPC_E_DISCONNECTED and touches nothing of
// the window or the control, and the object lives on until the last reference is released.
class AccessibleObject final : public IAccessible {
 public:
  // One reference, the caller's.
  explicit AccessibleObject(const ChildWindow& window);
  AccessibleObject(const AccessibleObject&) = delete;
  AccessibleObject& operator=(const AccessibleObject&) = delete;

  void Disconnect() { window_ = nullptr; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IDispatch: no type information; readers call IAccessible directly.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                      UINT*) override;
  // IAccessible
  STDMETHODIMP get_accParent(IDispatch** parent) override;
  STDMETHODIMP get_accChildCount(LONG* count) override;
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override;
  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
  STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
  STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  STDMETHODIMP get_accFocus(VARIANT* child) override;
  STDMETHODIMP get_accSelection(VARIANT* children) override;
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
  STDMETHODIMP accSelect(LONG flags, VARIANT child) override;
  STDMETHODIMP accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                           VARIANT child) override;
  STDMETHODIMP accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
  STDMETHODIMP accHitTest(LONG x, LONG y, VARIANT* child) override;
  STDMETHODIMP accDoDefaultAction(VARIANT child) override;
  STDMETHODIMP put_accName(VARIANT child, BSTR name) override;
  STDMETHODIMP put_accValue(VARIANT child, BSTR value) override;

 private:
  ~AccessibleObject() = default;
  // The description and the element a VARIANT names: S_OK, RPC_E_DISCONNECTED once the window
  // is gone, E_INVALIDARG for a child id that names nothing.
  HRESULT Read(const VARIANT& child, AccessibleDescription& description, LONG& id) const;
  // The element's text as a new BSTR; S_FALSE and no string when it is empty.
  HRESULT ReadText(const VARIANT& child, BSTR* out, px::Text AccessibleElement::*field) const;

  LONG references_ = 1;
  const ChildWindow* window_;
};

}  // namespace px::win32

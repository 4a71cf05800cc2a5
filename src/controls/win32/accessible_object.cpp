#include "controls/win32/accessible_object.h"

#include "controls/common/blit.h"
#include "controls/win32/child_window.h"

namespace px::win32 {

// The description speaks oleacc's numbers; nothing is mapped on the way.
static_assert(static_cast<LONG>(AccessibleRole::kTitleBar) == ROLE_SYSTEM_TITLEBAR);
static_assert(static_cast<LONG>(AccessibleRole::kPushButton) == ROLE_SYSTEM_PUSHBUTTON);
static_assert(static_cast<LONG>(AccessibleRole::kCheckButton) == ROLE_SYSTEM_CHECKBUTTON);
static_assert(kAccessibleUnavailable == STATE_SYSTEM_UNAVAILABLE);
static_assert(kAccessibleFocused == STATE_SYSTEM_FOCUSED);
static_assert(kAccessiblePressed == STATE_SYSTEM_PRESSED);
static_assert(kAccessibleChecked == STATE_SYSTEM_CHECKED);
static_assert(kAccessibleHotTracked == STATE_SYSTEM_HOTTRACKED);
static_assert(kAccessibleInvisible == STATE_SYSTEM_INVISIBLE);
static_assert(kAccessibleFocusable == STATE_SYSTEM_FOCUSABLE);
static_assert(static_cast<LONG>(AccessibleNavigation::kUp) == NAVDIR_UP);
static_assert(static_cast<LONG>(AccessibleNavigation::kLastChild) == NAVDIR_LASTCHILD);

UiLanguage UserUiLanguage() {
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE ? UiLanguage::kChinese
                                                                   : UiLanguage::kEnglish;
}

namespace {

void SetEmpty(VARIANT* v) {
  VariantInit(v);
  v->vt = VT_EMPTY;
}

void SetChild(VARIANT* v, LONG id) {
  VariantInit(v);
  v->vt = VT_I4;
  v->lVal = id;
}

}  // namespace

AccessibleObject::AccessibleObject(const ChildWindow& window) : window_(&window) {}

STDMETHODIMP AccessibleObject::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) AccessibleObject::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) AccessibleObject::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

STDMETHODIMP AccessibleObject::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP AccessibleObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP AccessibleObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

STDMETHODIMP AccessibleObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                      UINT*) {
  return E_NOTIMPL;
}

HRESULT AccessibleObject::Read(const VARIANT& child, AccessibleDescription& description,
                               LONG& id) const {
  if (window_ == nullptr || window_->control() == nullptr) return RPC_E_DISCONNECTED;
  if (child.vt != VT_I4) return E_INVALIDARG;
  description = window_->control()->Describe(UserUiLanguage());
  if (description.Element(child.lVal) == nullptr) return E_INVALIDARG;
  id = child.lVal;
  return S_OK;
}

HRESULT AccessibleObject::ReadText(const VARIANT& child, BSTR* out,
                                   px::Text AccessibleElement::*field) const {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  AccessibleDescription d;
  LONG id = 0;
  if (const HRESULT hr = Read(child, d, id); FAILED(hr)) return hr;
  const px::Text& text = d.Element(id)->*field;
  if (text.empty()) return S_FALSE;
  *out = SysAllocString(Wide(text));
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// The parent of a window's client object is the window object, as for every window.
STDMETHODIMP AccessibleObject::get_accParent(IDispatch** parent) {
  if (parent == nullptr) return E_POINTER;
  *parent = nullptr;
  if (window_ == nullptr || window_->control() == nullptr) return RPC_E_DISCONNECTED;
  return AccessibleObjectFromWindow(window_->hwnd(), static_cast<DWORD>(OBJID_WINDOW),
                                    __uuidof(IDispatch), reinterpret_cast<void**>(parent));
}

STDMETHODIMP AccessibleObject::get_accChildCount(LONG* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  VARIANT self;
  SetChild(&self, CHILDID_SELF);
  AccessibleDescription d;
  LONG id = 0;
  if (const HRESULT hr = Read(self, d, id); FAILED(hr)) return hr;
  *count = static_cast<LONG>(d.parts.size());
  return S_OK;
}

// The parts are simple elements, not objects of their own.
STDMETHODIMP AccessibleObject::get_accChild(VARIANT child, IDispatch** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  AccessibleDescription d;
  LONG id = 0;
  if (const HRESULT hr = Read(child, d, id); FAILED(hr)) return hr;
  return id == CHILDID_SELF ? E_INVALIDARG : S_FALSE;
}

STDMETHODIMP AccessibleObject::get_accName(VARIANT child, BSTR* name) {
  return ReadText(child, name, &AccessibleElement::name);
}

STDMETHODIMP AccessibleObject::get_accDefaultAction(VARIANT child, BSTR* action) {
  return ReadText(child, action, &AccessibleElement::default_action);
}

// What the controls do not have: a value, a description, help, a keyboard shortcut.
STDMETHODIMP AccessibleObject::get_accValue(VARIANT child, BSTR* value) {
  const HRESULT hr = ReadText(child, value, &AccessibleElement::name);
  if (FAILED(hr)) return hr;
  SysFreeString(*value);
  *value = nullptr;
  return DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP AccessibleObject::get_accDescription(VARIANT child, BSTR* description) {
  return get_accValue(child, description);
}

STDMETHODIMP AccessibleObject::get_accHelp(VARIANT child, BSTR* help) {
  return get_accValue(child, help);
}

STDMETHODIMP AccessibleObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  return get_accValue(child, shortcut);
}

STDMETHODIMP AccessibleObject::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) {
  if (topic != nullptr) *topic = 0;
  return get_accValue(child, file);
}

STDMETHODIMP AccessibleObject::get_accRole(VARIANT child, VARIANT* role) {
  if (role == nullptr) return E_POINTER;
  SetEmpty(role);
  AccessibleDescription d;
  LONG id = 0;
  if (const HRESULT hr = Read(child, d, id); FAILED(hr)) return hr;
  SetChild(role, static_cast<LONG>(d.Element(id)->role));
  return S_OK;
}

STDMETHODIMP AccessibleObject::get_accState(VARIANT child, VARIANT* state) {
  if (state == nullptr) return E_POINTER;
  SetEmpty(state);
  AccessibleDescription d;
  LONG id = 0;
  if (const HRESULT hr = Read(child, d, id); FAILED(hr)) return hr;
  SetChild(state, static_cast<LONG>(d.Element(id)->state));
  return S_OK;
}

STDMETHODIMP AccessibleObject::get_accFocus(VARIANT* child) {
  if (child == nullptr) return E_POINTER;
  SetEmpty(child);
  if (window_ == nullptr || window_->control() == nullptr) return RPC_E_DISCONNECTED;
  if (GetFocus() != window_->hwnd()) return S_FALSE;
  SetChild(child, CHILDID_SELF);
  return S_OK;
}

STDMETHODIMP AccessibleObject::get_accSelection(VARIANT* children) {
  if (children == nullptr) return E_POINTER;
  SetEmpty(children);
  if (window_ == nullptr || window_->control() == nullptr) return RPC_E_DISCONNECTED;
  return S_FALSE;
}

// Only the focus can be taken, and only by an element that is focusable now.
STDMETHODIMP AccessibleObject::accSelect(LONG flags, VARIANT child) {
  AccessibleDescription d;
  LONG id = 0;
  if (const HRESULT hr = Read(child, d, id); FAILED(hr)) return hr;
  if (flags != SELFLAG_TAKEFOCUS || (d.Element(id)->state & kAccessibleFocusable) == 0) {
    return DISP_E_MEMBERNOTFOUND;
  }
  SetFocus(window_->hwnd());
  return S_OK;
}

// The control: its window's rectangle on the screen; a part: its rectangle in the window's
// client area, on the screen.
STDMETHODIMP AccessibleObject::accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                           VARIANT child) {
  if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
  *left = *top = *width = *height = 0;
  AccessibleDescription d;
  LONG id = 0;
  if (const HRESULT hr = Read(child, d, id); FAILED(hr)) return hr;
  const HWND window = window_->hwnd();
  if (id == CHILDID_SELF) {
    RECT r{};
    if (!GetWindowRect(window, &r)) return E_FAIL;
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  const PixelRect p = ToPixels(d.Element(id)->bounds);
  POINT origin{p.x, p.y};
  if (!ClientToScreen(window, &origin)) return E_FAIL;
  *left = origin.x;
  *top = origin.y;
  *width = p.width;
  *height = p.height;
  return S_OK;
}

// Among the parts, and from the control to its first and last part; where the control's
// siblings are, the system's own client object of the window knows.
STDMETHODIMP AccessibleObject::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
  if (end == nullptr) return E_POINTER;
  SetEmpty(end);
  AccessibleDescription d;
  LONG id = 0;
  if (const HRESULT hr = Read(start, d, id); FAILED(hr)) return hr;
  if (direction < NAVDIR_UP || direction > NAVDIR_LASTCHILD) return E_INVALIDARG;
  const bool into_parts = direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD;
  if (id == CHILDID_SELF && !into_parts) {
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(window_->hwnd(), static_cast<LONG>(OBJID_CLIENT),
                                         __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard)))) {
      return S_FALSE;
    }
    const HRESULT hr = standard->accNavigate(direction, start, end);
    standard->Release();
    return hr;
  }
  const std::int32_t to = Navigate(d, id, static_cast<AccessibleNavigation>(direction));
  if (to < 0) return S_FALSE;
  SetChild(end, to);
  return S_OK;
}

STDMETHODIMP AccessibleObject::accHitTest(LONG x, LONG y, VARIANT* child) {
  if (child == nullptr) return E_POINTER;
  SetEmpty(child);
  VARIANT self;
  SetChild(&self, CHILDID_SELF);
  AccessibleDescription d;
  LONG id = 0;
  if (const HRESULT hr = Read(self, d, id); FAILED(hr)) return hr;
  POINT at{x, y};
  RECT client{};
  if (!ScreenToClient(window_->hwnd(), &at) || !GetClientRect(window_->hwnd(), &client)) {
    return E_FAIL;
  }
  if (!PtInRect(&client, at)) return S_FALSE;
  const std::int32_t hit = ElementAt(d, {PixelsToTwips(at.x), PixelsToTwips(at.y)});
  if (hit < 0) return S_FALSE;
  SetChild(child, hit);
  return S_OK;
}

STDMETHODIMP AccessibleObject::accDoDefaultAction(VARIANT child) {
  AccessibleDescription d;
  LONG id = 0;
  if (const HRESULT hr = Read(child, d, id); FAILED(hr)) return hr;
  // The control may go inside its own events (a handler that closes the window): nothing of it
  // is touched afterwards.
  return window_->control()->DoDefaultAction(id) ? S_OK : DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP AccessibleObject::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }

STDMETHODIMP AccessibleObject::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

}  // namespace px::win32

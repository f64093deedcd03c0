#include "ui/win32/described_accessible.h"

// clang-format off
#include <ole2.h>
#include <oleacc.h>
// clang-format on

#include <string>

#include "ui/win32/system_function.h"

namespace zeduzovir {

namespace {

struct AccessibilityLibrary {
  decltype(&CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
  decltype(&LresultFromObject) lresultFromObject = nullptr;
  decltype(&SysAllocStringLen) sysAllocStringLen = nullptr;
  bool loaded = false;
};

// Plain data rather than a function's static, which would need a thread-safe guard.
AccessibilityLibrary g_library;

const AccessibilityLibrary& Library() {
  if (!g_library.loaded) {
    g_library.loaded = true;
    // The object is marshalled to the screen reader through COM, which this thread must join.
    if (const auto coInitializeEx =
            SystemFunction<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx")) {
      coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    }
    g_library.createStdAccessibleObject = SystemFunction<decltype(&CreateStdAccessibleObject)>(
        L"oleacc.dll", "CreateStdAccessibleObject");
    g_library.lresultFromObject =
        SystemFunction<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
    g_library.sysAllocStringLen =
        SystemFunction<decltype(&SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen");
  }
  return g_library;
}

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// A COM object is deleted by its own Release, never through an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// The standard object, with a description of its own: one COM object, whichever interface a
// screen reader comes through, so that every way to it gives the description. The standard
// object serves behind it, never seen.
class DescribedAccessible final : public IAccessible, public IOleWindow {
 public:
  DescribedAccessible(IAccessible* standard, HWND control, std::wstring_view description)
      : m_standard(standard), m_control(control), m_description(description) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) {
      return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
      *object = static_cast<IAccessible*>(this);
    } else if (iid == IID_IOleWindow) {
      *object = static_cast<IOleWindow*>(this);
    } else {
      // A button has no children to enumerate, and no services to offer.
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --m_references;
    if (left == 0) {
      delete this;
    }
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (window == nullptr) {
      return E_POINTER;
    }
    *window = m_control;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    if (!IsSelf(child) || description == nullptr) {
      return m_standard->get_accDescription(child, description);
    }
    *description =
        Library().sysAllocStringLen(m_description.data(), static_cast<UINT>(m_description.size()));
    return *description != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return m_standard->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return m_standard->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return m_standard->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override {
    // The description asked for by dispatch, of the button itself (its child argument left
    // out, or CHILDID_SELF), is this object's own.
    if (id == DISPID_ACC_DESCRIPTION && (flags & DISPATCH_PROPERTYGET) != 0 && result != nullptr &&
        parameters != nullptr && parameters->cNamedArgs == 0 &&
        (parameters->cArgs == 0 || (parameters->cArgs == 1 && IsSelf(parameters->rgvarg[0])))) {
      VARIANT self{};
      self.vt = VT_I4;
      self.lVal = CHILDID_SELF;
      BSTR description = nullptr;
      const HRESULT got = get_accDescription(self, &description);
      if (SUCCEEDED(got)) {
        result->vt = VT_BSTR;
        result->bstrVal = description;
      }
      return got;
    }
    return m_standard->Invoke(id, iid, locale, flags, parameters, result, exception, argumentError);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return m_standard->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    return m_standard->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return m_standard->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return m_standard->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return m_standard->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return m_standard->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return m_standard->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return m_standard->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return m_standard->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return m_standard->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return m_standard->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return m_standard->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return m_standard->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return m_standard->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    return m_standard->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return m_standard->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    return m_standard->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return m_standard->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return m_standard->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return m_standard->put_accValue(child, value);
  }

 private:
  ~DescribedAccessible() { m_standard->Release(); }

  IAccessible* m_standard;
  HWND m_control;
  std::wstring m_description;
  ULONG m_references = 1;
};

#pragma GCC diagnostic pop

}  // namespace

LRESULT AnswerWithDescription(HWND control, WPARAM wParam, std::wstring_view description) {
  const AccessibilityLibrary& library = Library();
  if (library.createStdAccessibleObject == nullptr || library.lresultFromObject == nullptr ||
      library.sysAllocStringLen == nullptr) {
    return 0;
  }
  IAccessible* standard = nullptr;
  if (FAILED(library.createStdAccessibleObject(control, OBJID_CLIENT, IID_IAccessible,
                                               reinterpret_cast<void**>(&standard)))) {
    return 0;
  }
  auto* described = new DescribedAccessible(standard, control, description);
  const LRESULT answer =
      library.lresultFromObject(IID_IAccessible, wParam, static_cast<IAccessible*>(described));
  described->Release();
  // A failed answer is negative: the control then answers as usual.
  return answer > 0 ? answer : 0;
}

}  // namespace zeduzovir

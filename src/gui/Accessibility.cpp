#include "gui/Accessibility.h"

#include <string>
#include <utility>

#include "gui/ComLibrary.h"
#include "gui/SystemLibraries.h"

namespace {

// A client in another process gets our object marshalled through COM, which needs an
// apartment on this thread. Entered on the first request and left at exit; a thread that
// is in one already keeps it.
void EnterApartment() {
  struct TApartment {
    HRESULT Result = ComLibrary::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ~TApartment() {
      if (SUCCEEDED(Result)) ComLibrary::CoUninitialize();
    }
  };
  static TApartment apartment;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT ReturnText(const std::wstring& text, BSTR* out) {
  *out = ComLibrary::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

// The object a client holds. It answers the texts and the role of the client area itself
// and hands everything else to the standard object. Its life is counted by its clients; the
// window's side only cuts the link when the window goes.
class TAccessibleObject final : public IAccessible, public IOleWindow {
 public:
  TAccessibleObject(IAccessible* standard, HWND window, TAccessibleClient::TTextSource* source)
      : FStandard(standard), FWindow(window), FSource(source) {}

  void Disconnect() {
    FSource = nullptr;
    FWindow = nullptr;
    if (IAccessible* standard = std::exchange(FStandard, nullptr)) standard->Release();
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (!object) return E_POINTER;
    if (id == IID_IUnknown || id == IID_IDispatch || id == IID_IAccessible) {
      *object = static_cast<IAccessible*>(this);
    } else if (id == IID_IOleWindow) {
      *object = static_cast<IOleWindow*>(this);
    } else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&FReferences)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = ::InterlockedDecrement(&FReferences);
    if (left == 0) {
      Disconnect();
      delete this;
    }
    return static_cast<ULONG>(left);
  }

  // IDispatch: clients of this interface call through the table; late binding would go
  // past our texts, so it is not offered.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IOleWindow, which WindowFromAccessibleObject asks for.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = FWindow;
    return FWindow ? S_OK : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IAccessible: our own answers.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return OwnText(child, name, &TAccessibleTexts::Name, &IAccessible::get_accName);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return OwnText(child, value, &TAccessibleTexts::Value, &IAccessible::get_accValue);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return OwnText(child, description, &TAccessibleTexts::Description, &IAccessible::get_accDescription);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!FStandard) return CO_E_OBJNOTCONNECTED;
    if (!role) return E_POINTER;
    if (IsSelf(child)) {
      if (auto texts = Texts(); texts && texts->Role != 0) {
        *role = VARIANT{};
        role->vt = VT_I4;
        role->lVal = texts->Role;
        return S_OK;
      }
    }
    return FStandard->get_accRole(child, role);
  }

  // IAccessible: the standard object's answers.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return Forward(&IAccessible::get_accParent, parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return Forward(&IAccessible::get_accChildCount, count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return Forward(&IAccessible::get_accChild, child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return Forward(&IAccessible::get_accState, child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return Forward(&IAccessible::get_accHelp, child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return Forward(&IAccessible::get_accHelpTopic, file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return Forward(&IAccessible::get_accKeyboardShortcut, child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override { return Forward(&IAccessible::get_accFocus, focus); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return Forward(&IAccessible::get_accSelection, selection);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return OwnText(child, action, &TAccessibleTexts::DefaultAction, &IAccessible::get_accDefaultAction);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!FStandard) return CO_E_OBJNOTCONNECTED;
    if (IsSelf(child)) {
      if (auto texts = Texts(); texts && !texts->DefaultAction.empty())
        return ::PostMessageW(FWindow, TAccessibleClient::DefaultActionMessage(), 0, 0) ? S_OK : E_FAIL;
    }
    return FStandard->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return Forward(&IAccessible::accSelect, flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
    return Forward(&IAccessible::accLocation, left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return Forward(&IAccessible::accNavigate, direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return Forward(&IAccessible::accHitTest, x, y, child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return Forward(&IAccessible::put_accName, child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return Forward(&IAccessible::put_accValue, child, value);
  }

 private:
  ~TAccessibleObject() = default;

  std::optional<TAccessibleTexts> Texts() const { return FSource && *FSource ? (*FSource)() : std::nullopt; }

  template <typename... TArgs, typename... TPassed>
  HRESULT Forward(HRESULT (STDMETHODCALLTYPE IAccessible::*method)(TArgs...), TPassed&&... arguments) {
    if (!FStandard) return CO_E_OBJNOTCONNECTED;
    return (FStandard->*method)(std::forward<TPassed>(arguments)...);
  }

  // A text of our own for the client area itself; the standard object's where ours is empty
  // and for the child windows.
  HRESULT OwnText(VARIANT child, BSTR* out, std::wstring TAccessibleTexts::*text,
                  HRESULT (STDMETHODCALLTYPE IAccessible::*standard)(VARIANT, BSTR*)) {
    if (!FStandard) return CO_E_OBJNOTCONNECTED;
    if (!out) return E_POINTER;
    if (IsSelf(child)) {
      if (auto texts = Texts(); texts && !((*texts).*text).empty()) return ReturnText((*texts).*text, out);
    }
    return (FStandard->*standard)(child, out);
  }

  LONG FReferences = 1;
  IAccessible* FStandard;
  HWND FWindow;
  TAccessibleClient::TTextSource* FSource;
};

TAccessibleClient::TAccessibleClient(HWND window, TTextSource source) : FWindow(window), FSource(std::move(source)) {}

TAccessibleClient::~TAccessibleClient() { Disconnect(); }

UINT TAccessibleClient::DefaultActionMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"VindleAccessibleDefaultAction");
  return message;
}

bool TAccessibleClient::AnswerGetObject(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // The identifier is a DWORD; compared as one, it cannot be sign-extended on the way.
  if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT) || !FWindow) return false;
  // Bound once and kept for the life of the process like any imported DLL: clients may hold
  // our objects, which hold the standard ones, to the end.
  static const HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
  static const auto createStandardObject =
      BoundFunction<decltype(&::CreateStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject");
  static const auto resultFromObject = BoundFunction<decltype(&::LresultFromObject)>(oleacc, "LresultFromObject");
  if (!createStandardObject || !resultFromObject) return false;
  if (!FObject) {
    EnterApartment();
    IAccessible* standard = nullptr;
    if (FAILED(createStandardObject(FWindow, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&standard))) ||
        !standard)
      return false;
    FObject = new TAccessibleObject(standard, FWindow, &FSource);
  }
  // It takes its own reference for the client.
  result = resultFromObject(IID_IAccessible, wParam, static_cast<IAccessible*>(FObject));
  return true;
}

void TAccessibleClient::AnnounceChanges() {
  if (!FWindow) return;
  if (!::IsWinEventHookInstalled(EVENT_OBJECT_NAMECHANGE) && !::IsWinEventHookInstalled(EVENT_OBJECT_VALUECHANGE) &&
      !::IsWinEventHookInstalled(EVENT_OBJECT_DESCRIPTIONCHANGE))
    return;
  std::optional<TAccessibleTexts> texts = FSource ? FSource() : std::nullopt;
  if (!texts) return;
  const bool known = FAnnounced.has_value();
  // Before the first announcement nobody can tell what was said; a value change is the news
  // the caller has, a name is not worth repeating.
  const bool nameChanged = known && texts->Name != FAnnounced->Name;
  const bool valueChanged = !known || texts->Value != FAnnounced->Value;
  const bool descriptionChanged = known && texts->Description != FAnnounced->Description;
  FAnnounced = std::move(texts);
  if (nameChanged) ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, FWindow, OBJID_CLIENT, CHILDID_SELF);
  if (valueChanged) ::NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, FWindow, OBJID_CLIENT, CHILDID_SELF);
  if (descriptionChanged) ::NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, FWindow, OBJID_CLIENT, CHILDID_SELF);
}

void TAccessibleClient::Disconnect() {
  FWindow = nullptr;
  if (!FObject) return;
  TAccessibleObject* object = std::exchange(FObject, nullptr);
  object->Disconnect();
  // Clients in other processes reach the object through COM's stub; cut them off too, so
  // that they hear CO_E_OBJNOTCONNECTED from COM itself and the stub's references go.
  ComLibrary::CoDisconnectObject(static_cast<IAccessible*>(object), 0);
  object->Release();
}

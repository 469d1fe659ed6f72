#pragma once
// What a screen reader learns about one of our windows. The system asks a window with
// WM_GETOBJECT for an object that tells its name, role and value; the standard object the
// system offers for any client area knows the position, state, focus and child windows but
// has nothing to say about a ruler or a colour. Ours wraps that standard object and answers
// only the texts and the role itself, from the window.
//
// oleacc.dll is not imported: it is loaded from the system folder the first time anybody
// asks, so a session without a screen reader never maps it.

#include <windows.h>
#include <oleacc.h>  // the ROLE_SYSTEM_ values

#include <functional>
#include <optional>
#include <string>

struct TAccessibleTexts {
  std::wstring Name;
  std::wstring Value;
  std::wstring Description;    // empty: the standard object's
  std::wstring DefaultAction;  // what a click does, e.g. "Press"; empty: nothing of ours
  LONG Role = 0;               // a ROLE_SYSTEM_ value; 0: the standard object's
  friend bool operator==(const TAccessibleTexts&, const TAccessibleTexts&) = default;
};

class TAccessibleObject;

// The accessible side of one window. It outlives nothing: once the window goes, Disconnect
// (or the destructor) leaves every reference a client still holds answering
// CO_E_OBJNOTCONNECTED.
class TAccessibleClient {
 public:
  // The texts as they are now; nullopt while the window cannot tell (it is being torn down),
  // and the standard object then answers alone.
  using TTextSource = std::function<std::optional<TAccessibleTexts>()>;

  TAccessibleClient(HWND window, TTextSource source);

  // A client asked for the default action: it is posted to the window as this message, so
  // that the client's call returns before whatever the action opens runs.
  static UINT DefaultActionMessage();
  ~TAccessibleClient();
  TAccessibleClient(const TAccessibleClient&) = delete;
  TAccessibleClient& operator=(const TAccessibleClient&) = delete;

  // WM_GETOBJECT: true with the answer for the client area, false to leave the message to
  // the default procedure (other objects, or no oleacc.dll on this system).
  bool AnswerGetObject(WPARAM wParam, LPARAM lParam, LRESULT& result);

  // The window's state changed: tell listeners which texts changed since the last call.
  // Without a listener for these events it does not even build the texts.
  void AnnounceChanges();

  void Disconnect();

 private:
  HWND FWindow;
  TTextSource FSource;
  TAccessibleObject* FObject = nullptr;  // one reference, once someone asked
  std::optional<TAccessibleTexts> FAnnounced;
};

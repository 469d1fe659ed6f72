/* A DLL planted beside a program to see whether the program loads it: when loaded it writes
   "<its own file name>.loaded" beside itself. It exports do-nothing versions of what a program
   may import from the DLL it pretends to be, so that loading it never fails on a missing
   function (which would hide that it was loaded). */
/* The system headers declare some of these names as imports. */
#define AlphaBlend SystemAlphaBlend
#define TransparentBlt SystemTransparentBlt
#include <windows.h>
#undef AlphaBlend
#undef TransparentBlt

static void LeaveMark(HINSTANCE self) {
  wchar_t path[MAX_PATH + 16];
  DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  lstrcatW(path, L".loaded");
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) LeaveMark(self);
  return TRUE;
}

/* version.dll */
__declspec(dllexport) DWORD WINAPI GetFileVersionInfoSizeW(LPCWSTR name, LPDWORD handle) { (void)name; (void)handle; return 0; }
__declspec(dllexport) BOOL WINAPI GetFileVersionInfoW(LPCWSTR name, DWORD handle, DWORD size, LPVOID data) { (void)name; (void)handle; (void)size; (void)data; return FALSE; }
__declspec(dllexport) BOOL WINAPI VerQueryValueW(LPCVOID block, LPCWSTR sub, LPVOID* buffer, PUINT size) { (void)block; (void)sub; (void)buffer; (void)size; return FALSE; }
/* msimg32.dll */
__declspec(dllexport) BOOL WINAPI AlphaBlend(HDC a, int b, int c, int d, int e, HDC f, int g, int h, int i, int j, BLENDFUNCTION k) { (void)a; (void)b; (void)c; (void)d; (void)e; (void)f; (void)g; (void)h; (void)i; (void)j; (void)k; return FALSE; }
__declspec(dllexport) BOOL WINAPI TransparentBlt(HDC a, int b, int c, int d, int e, HDC f, int g, int h, int i, int j, UINT k) { (void)a; (void)b; (void)c; (void)d; (void)e; (void)f; (void)g; (void)h; (void)i; (void)j; (void)k; return FALSE; }
/* uxtheme.dll */
__declspec(dllexport) BOOL WINAPI IsThemeActive(void) { return FALSE; }
__declspec(dllexport) BOOL WINAPI IsAppThemed(void) { return FALSE; }
__declspec(dllexport) HANDLE WINAPI OpenThemeData(HWND window, LPCWSTR classes) { (void)window; (void)classes; return NULL; }
__declspec(dllexport) HRESULT WINAPI CloseThemeData(HANDLE theme) { (void)theme; return S_OK; }
__declspec(dllexport) HRESULT WINAPI SetWindowTheme(HWND window, LPCWSTR app, LPCWSTR list) { (void)window; (void)app; (void)list; return S_OK; }
/* dwmapi.dll */
__declspec(dllexport) HRESULT WINAPI DwmIsCompositionEnabled(BOOL* enabled) { if (enabled) *enabled = FALSE; return S_OK; }
__declspec(dllexport) HRESULT WINAPI DwmGetWindowAttribute(HWND window, DWORD attribute, PVOID value, DWORD size) { (void)window; (void)attribute; (void)value; (void)size; return E_NOTIMPL; }

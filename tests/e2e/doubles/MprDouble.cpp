// A stand-in for the platform's MPR.DLL password change. It records its
// arguments in the registry: Calls, Provider, Owner, Reserved1, Reserved2.
#include <windows.h>

#include <cstring>

namespace {
constexpr char kKey[] = "Software\\LifeTests\\MprDouble";

void WriteDword(HKEY key, const char* name, DWORD value) {
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}
}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI
    PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD reserved1, DWORD reserved2) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return 0;
  DWORD calls = 0;
  DWORD size = sizeof calls;
  RegQueryValueExA(key, "Calls", nullptr, nullptr, reinterpret_cast<BYTE*>(&calls), &size);
  WriteDword(key, "Calls", calls + 1);
  const char* name = provider != nullptr ? provider : "";
  RegSetValueExA(key, "Provider", 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                 static_cast<DWORD>(std::strlen(name) + 1));
  WriteDword(key, "Owner", static_cast<DWORD>(reinterpret_cast<uintptr_t>(owner)));
  WriteDword(key, "Reserved1", reserved1);
  WriteDword(key, "Reserved2", reserved2);
  RegCloseKey(key);
  return 0;
}

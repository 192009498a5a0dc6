// A stand-in for the platform's PASSWORD.CPL. Each question is counted in
// the registry and answered as the test scripted it there:
//   Answers  (text)  one character per question, '1' accept, '0' refuse;
//                    the last one repeats; none: refuse
//   PumpMs   (dword) how long the question dispatches messages, as the
//                    platform's password dialog would
// and it records Calls, Nested (questions that began while one was open),
// Window (the window asked for) and LastEnd (tick count at the end).
#include <windows.h>

#include <algorithm>
#include <string>

namespace {
constexpr char kKey[] = "Software\\LifeTests\\PasswordDouble";
int depth = 0;

HKEY OpenKey() {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return key;
}

DWORD ReadDword(HKEY key, const char* name) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) !=
      ERROR_SUCCESS)
    return 0;
  return value;
}

void WriteDword(HKEY key, const char* name, DWORD value) {
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

std::string ReadText(HKEY key, const char* name) {
  char text[256] = {};
  DWORD size = sizeof text - 1;
  if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) !=
      ERROR_SUCCESS)
    return "";
  return text;
}

void DispatchMessagesFor(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(5);
  }
}
}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
  HKEY key = OpenKey();
  const DWORD call = ReadDword(key, "Calls") + 1;
  WriteDword(key, "Calls", call);
  if (depth > 0) WriteDword(key, "Nested", ReadDword(key, "Nested") + 1);
  WriteDword(key, "Window", static_cast<DWORD>(reinterpret_cast<uintptr_t>(window)));
  const std::string answers = ReadText(key, "Answers");
  const DWORD pumpMs = ReadDword(key, "PumpMs");

  ++depth;
  DispatchMessagesFor(pumpMs);
  --depth;

  const char answer = answers.empty() ? '0' : answers[std::min<size_t>(call, answers.size()) - 1];
  WriteDword(key, "LastEnd", GetTickCount());
  RegCloseKey(key);
  return answer == '1' ? TRUE : FALSE;
}

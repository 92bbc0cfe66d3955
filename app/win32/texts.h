// Texts of the program's resources and of windows, in UTF-16.
#ifndef FENMARQ_APP_WIN32_TEXTS_H_
#define FENMARQ_APP_WIN32_TEXTS_H_

#include <windows.h>

#include <string>

namespace fenmarq {

// String resource `id`; empty when there is none.
inline std::wstring loadResourceString(UINT id) {
  const wchar_t* text = nullptr;
  // With a length of 0, LoadStringW points into the resource itself.
  const int length =
      LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
  return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

// The text of window `window`.
inline std::wstring windowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace fenmarq

#endif  // FENMARQ_APP_WIN32_TEXTS_H_

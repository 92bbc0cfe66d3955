// A dialog's message loop for programs that drive a modeless dialog.
#ifndef FENMARQ_TESTS_WIN32_MESSAGE_LOOP_H_
#define FENMARQ_TESTS_WIN32_MESSAGE_LOOP_H_

#include <windows.h>

#include <functional>

namespace fenmarq::testing {

// Handles this thread's messages as a dialog's message loop does until
// `done` holds, asked after each message; false after `limit` milliseconds.
inline bool pumpUntil(HWND dialog, const std::function<bool()>& done, ULONGLONG limit = 20000) {
  const ULONGLONG deadline = GetTickCount64() + limit;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageW(dialog, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
      if (done()) return true;
    }
    if (done()) return true;
    if (GetTickCount64() > deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

inline void pumpFor(HWND dialog, ULONGLONG milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  pumpUntil(dialog, [end] { return GetTickCount64() >= end; });
}

}  // namespace fenmarq::testing

#endif  // FENMARQ_TESTS_WIN32_MESSAGE_LOOP_H_

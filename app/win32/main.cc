// fenmarq.exe: the window for converting observation files one list at a
// time.
#include <windows.h>

#include "app/win32/orvatch_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return fenmarq::COrvatchApp().run(); }

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <utility>

#include "platform/file_system.h"
#include "platform/temporary_file.h"
#include "platform/utf16_win32.h"

namespace fenmarq {

// Windows has no nameless files: the temporary file has a short name of its
// own beside the target, which a run that fails removes.
TemporaryFile makeTemporaryFile(std::string_view folder) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 16; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, ".fenmarq-%012llx.partial",
                  static_cast<unsigned long long>(random() & 0xFFFF'FFFF'FFFFull));
    const std::string path = folder.empty() ? std::string(name) : std::string(folder) + "\\" + name;
    const OpenedFile opened = openRegularFile(path, OpenMode::kCreateNew);
    if (opened.stream != nullptr) return {.stream = opened.stream, .path = path};
  }
  return {};
}

bool placeTemporaryFile(TemporaryFile& file, std::string_view target) {
  // Closed first: Windows moves no file that its writer still holds.
  const bool placed =
      std::fclose(std::exchange(file.stream, nullptr)) == 0 && replaceFile(file.path, target);
  if (placed) file.path.clear();
  discardTemporaryFile(file);
  return placed;
}

void discardTemporaryFile(TemporaryFile& file) {
  if (file.stream != nullptr) std::fclose(std::exchange(file.stream, nullptr));
  if (file.path.empty()) return;
  std::error_code ignored;
  std::filesystem::remove(pathFromUtf8(file.path), ignored);
  file.path.clear();
}

FolderLock::~FolderLock() {
  if (handle_ == -1) return;
  const HANDLE mutex = reinterpret_cast<HANDLE>(handle_);
  ReleaseMutex(mutex);
  CloseHandle(mutex);
}

// A mutex named by the folder's full path, in lower case, as Windows
// compares names; backslashes are the one character a name may not hold.
bool FolderLock::lock(std::string_view folder) {
  std::error_code error;
  std::wstring name = std::filesystem::absolute(pathFromUtf8(folder.empty() ? "." : folder), error)
                          .lexically_normal()
                          .native();
  CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
  for (wchar_t& c : name) {
    if (c == L'\\') c = L'/';
  }
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, (L"Local\\fenmarq-folder:" + name).c_str());
  if (mutex == nullptr) return false;
  const DWORD waited = WaitForSingleObject(mutex, INFINITE);
  // An abandoned mutex (its holder ended without letting go) is taken all
  // the same.
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    CloseHandle(mutex);
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(mutex);
  return true;
}

}  // namespace fenmarq

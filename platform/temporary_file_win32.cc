#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/temporary_file.h"
#include "platform/utf16_win32.h"

namespace fenmarq {
namespace {

// The temporary files of the process, for the console's control handler to
// remove when Ctrl+C, Ctrl+Break or the closing of the console ends it. The
// handler runs on a thread of its own, so a mutex guards the list; the files
// are open with FILE_SHARE_DELETE, so they go once the process has ended.
std::mutex liveMutex;
std::vector<std::wstring> live;

BOOL WINAPI removeLiveAndEnd(DWORD) {
  const std::lock_guard<std::mutex> lock(liveMutex);
  for (const std::wstring& path : live) DeleteFileW(path.c_str());
  return FALSE;  // the default handler ends the process
}

void noteLive(const std::string& path) {
  static const bool installed = SetConsoleCtrlHandler(removeLiveAndEnd, TRUE) != 0;
  static_cast<void>(installed);
  const std::lock_guard<std::mutex> lock(liveMutex);
  live.push_back(utf16FromUtf8(path));
}

void forget(const std::string& path) {
  const std::wstring wide = utf16FromUtf8(path);
  const std::lock_guard<std::mutex> lock(liveMutex);
  std::erase(live, wide);
}

// Removes the temporary files with `prefix` in `folder` that no process
// holds and that were last written a minute ago or more: a live one is open
// in its writer, and an open that shares nothing fails on it, but for the
// moment between its close and its move into place (Windows moves no file
// that its writer still holds), which the age rules out.
void removeAbandoned(const std::filesystem::path& folder, const std::string& prefix) {
  const std::wstring pattern =
      (folder / pathFromUtf8(prefix + "*" + std::string(kTemporaryNameSuffix))).native();
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& time) {  // 100 ns each
    return ULARGE_INTEGER{{time.dwLowDateTime, time.dwHighDateTime}}.QuadPart;
  };
  constexpr ULONGLONG kMinute = 60ull * 10'000'000;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (ticks(now) - ticks(found.ftLastWriteTime) < kMinute) continue;
    const std::wstring path = (folder / found.cFileName).native();
    const HANDLE file =
        CreateFileW(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                    FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

}  // namespace

// Windows has no nameless files: the temporary file has a short name of its
// own beside the target, which a run that fails removes.
TemporaryFile makeTemporaryFile(std::string_view target) {
  const std::filesystem::path path = pathFromUtf8(target);
  const std::filesystem::path folder = path.parent_path();
  const std::string prefix = temporaryNamePrefix(utf8FromPath(path.filename()));
  removeAbandoned(folder, prefix);
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string temporary =
        utf8FromPath(folder / pathFromUtf8(temporaryFileName(utf8FromPath(path.filename()))));
    const OpenedFile opened = openRegularFile(temporary, OpenMode::kCreateNew);
    if (opened.stream == nullptr) continue;
    noteLive(temporary);
    return {.stream = opened.stream, .path = temporary};
  }
  return {};
}

bool placeTemporaryFile(TemporaryFile& file, std::string_view target) {
  // Closed first: Windows moves no file that its writer still holds.
  const bool placed =
      std::fclose(std::exchange(file.stream, nullptr)) == 0 && replaceFile(file.path, target);
  if (placed) {
    forget(file.path);
    file.path.clear();
  }
  discardTemporaryFile(file);
  return placed;
}

void discardTemporaryFile(TemporaryFile& file) {
  if (file.stream != nullptr) std::fclose(std::exchange(file.stream, nullptr));
  if (file.path.empty()) return;
  std::error_code ignored;
  std::filesystem::remove(pathFromUtf8(file.path), ignored);
  forget(file.path);
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

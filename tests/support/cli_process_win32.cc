// fenmarq-cli as a child process on Windows: it is found beside the test
// program, its command line is quoted for the C runtime's parser, and its
// standard output and error go to temporary files read once it has ended.
#include <gtest/gtest.h>
#include <windows.h>

#include <string_view>
#include <utility>

#include "platform/utf16_win32.h"
#include "tests/support/cli_run.h"

namespace fenmarq::testing {
namespace {

// One argument as the C runtime reads it back: quoted when it holds blanks
// or quotes, backslashes doubled only where a quote follows them.
std::wstring quotedArgument(std::wstring_view arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring_view::npos) {
    return std::wstring(arg);
  }
  std::wstring out = L"\"";
  for (std::size_t i = 0;; ++i) {
    std::size_t backslashes = 0;
    for (; i < arg.size() && arg[i] == L'\\'; ++i) ++backslashes;
    if (i == arg.size()) {
      out.append(2 * backslashes, L'\\');
      break;
    }
    if (arg[i] == L'"') {
      out.append(2 * backslashes + 1, L'\\');
    } else {
      out.append(backslashes, L'\\');
    }
    out += arg[i];
  }
  return out + L"\"";
}

// fenmarq-cli.exe in the folder of the running test program.
std::wstring cliPath() {
  std::wstring self(MAX_PATH, L'\0');
  DWORD length;
  while ((length = GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()))) ==
         self.size()) {
    self.resize(2 * self.size());
  }
  self.resize(self.find_last_of(L"\\/", length) + 1);
  const std::string_view built = FENMARQ_CLI_PATH;
  return self + utf16FromUtf8(built.substr(built.find_last_of("\\/") + 1));
}

// An inheritable handle on a new temporary file, removed when it is closed.
class CaptureFile {
 public:
  CaptureFile() {
    wchar_t folder[MAX_PATH + 1], name[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, folder);
    GetTempFileNameW(folder, L"fmq", 0, name);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    handle_ = CreateFileW(
        name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  }
  ~CaptureFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  CaptureFile(const CaptureFile&) = delete;
  CaptureFile& operator=(const CaptureFile&) = delete;

  HANDLE handle() const { return handle_; }

  std::string content() const {
    std::string text;
    SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
    char buffer[65536];
    DWORD got;
    while (ReadFile(handle_, buffer, sizeof buffer, &got, nullptr) && got > 0) {
      text.append(buffer, got);
    }
    return text;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace

bool onPosix() { return false; }

SmallFileSystem::SmallFileSystem(std::string folder, std::size_t, bool)
    : folder_(std::move(folder)) {}

SmallFileSystem::~SmallFileSystem() = default;

bool makeFifo(const std::string&) { return false; }

bool feedFifo(const std::string&, std::string_view, unsigned) { return false; }

std::shared_ptr<void> holdOpenForReadersOnly(const std::string& path) {
  const HANDLE handle = CreateFileW(utf16FromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::shared_ptr<void>(handle, CloseHandle);
}

bool writeFileInFolder(const std::string&, const std::string&, std::string_view) { return false; }

CliRun runCli(const std::vector<std::string>& args, const RunLimits& limits) {
  CliRun run;
  if (limits.stdoutPath != nullptr || limits.addressSpace != 0 || limits.openFiles != 0 ||
      limits.stack != 0 || limits.closeStdout || limits.closeStderr ||
      limits.killedPastFileSize != 0) {
    ADD_FAILURE() << "run limits are set on POSIX only";
    return run;
  }
  const std::wstring program = cliPath();
  std::wstring commandLine = quotedArgument(program);
  for (const std::string& arg : args) commandLine += L" " + quotedArgument(utf16FromUtf8(arg));

  const CaptureFile out, err;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   &inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = out.handle();
  startup.hStdError = err.handle();
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                      nullptr, nullptr, &startup, &process)) {
    ADD_FAILURE() << "cannot start " << utf8FromUtf16(program) << ": error " << GetLastError();
  } else {
    const DWORD waited = WaitForSingleObject(
        process.hProcess, limits.seconds != 0 ? 1000 * limits.seconds : INFINITE);
    if (waited == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 0xDEAD);
    DWORD status;
    if (GetExitCodeProcess(process.hProcess, &status)) run.status = static_cast<int>(status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
  run.out = out.content();
  run.err = err.content();
  return run;
}

}  // namespace fenmarq::testing

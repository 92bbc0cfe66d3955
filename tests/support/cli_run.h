// fenmarq-cli run as a process in the current folder, and what its output
// folders hold afterwards, for the end-to-end tests.
#ifndef FENMARQ_TESTS_SUPPORT_CLI_RUN_H_
#define FENMARQ_TESTS_SUPPORT_CLI_RUN_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/expected_log.h"

namespace fenmarq::testing {

struct CliRun {
  int status = -1;  // the exit status; -1 when the process did not exit
  int signal = 0;   // the signal that killed it, if one did
  std::string out;  // the log
  std::string err;  // the message texts
};

// Limits that only POSIX systems set for a child process.
struct RunLimits {
  const char* stdoutPath = nullptr;  // standard output goes there instead
  std::uint64_t addressSpace = 0;    // in bytes; 0: none
  std::uint64_t openFiles = 0;       // descriptors; 0: no limit set
  std::uint64_t stack = 0;  // the soft stack limit, which sizes new threads' stacks; 0 keeps it
  unsigned seconds = 0;     // killed (SIGALRM) when it runs longer; 0: no limit
  // Killed (SIGXFSZ, which it does not handle) when a file it writes grows
  // past this many bytes, as though killed outright in the middle of a
  // write; 0: no limit.
  std::uint64_t killedPastFileSize = 0;
  bool closeStdout = false;              // started with standard output closed
  bool closeStderr = false;              // started with standard error closed
  const char* messagesLocale = nullptr;  // its LC_ALL, in place of the test's
};

// Runs fenmarq-cli with `args`, standard input empty, and collects what it
// writes.
CliRun runCli(const std::vector<std::string>& args, const RunLimits& limits = {});

// Whether the system has what the POSIX-only cases build on: symbolic links,
// FIFOs, devices such as /dev/full, resource limits, any byte but "/" in a
// name, and paths of up to 4095 bytes. Elsewhere those cases are skipped.
bool onPosix();

// A small file system (tmpfs) mounted over `folder` for the life of the
// object, in a mount namespace of the test's own; a full one, of one page
// filled up, fails every write to a file in it. Needs root on POSIX (and a
// system that lets it make the namespace); mounted() says whether it is
// there.
class SmallFileSystem {
 public:
  SmallFileSystem(std::string folder, std::size_t bytes, bool full);
  ~SmallFileSystem();
  SmallFileSystem(const SmallFileSystem&) = delete;
  SmallFileSystem& operator=(const SmallFileSystem&) = delete;
  bool mounted() const { return mounted_; }

 private:
  std::string folder_;
  bool mounted_ = false;
};

// POSIX-only fixtures; false where the system has no such thing.
bool makeFifo(const std::string& path);
// Writes `bytes` into the FIFO `path` for the first reader that opens it
// within `seconds`, then closes it; false when no reader came or the reader
// left before the end.
bool feedFifo(const std::string& path, std::string_view bytes, unsigned seconds);
// A Windows-only fixture: `path` held open as Excel holds a workbook, other
// processes free to read it but not to write it, until the result goes;
// nullptr on POSIX, which has no such share modes.
std::shared_ptr<void> holdOpenForReadersOnly(const std::string& path);
// Writes a file through a handle on its folder, for paths too long to open.
bool writeFileInFolder(const std::string& folder, const std::string& name, std::string_view bytes);

// "convert [--jobs N] -- targets..."; no --jobs for `jobs` 0
std::vector<std::string> convertArgs(const std::vector<std::string>& targets, unsigned jobs = 0);

// What the three output folders hold: each entry's content, "-> target" for a
// symbolic link (never followed: it may lead to a device), "<folder>" for a
// folder and "<fifo>" for a FIFO (never opened: it would block).
using Outputs = std::map<std::string, std::string>;
Outputs outputFiles();

// The entries of `all` that belong to file `name`.
Outputs outputsOf(const Outputs& all, std::string_view name);

// Compares output folders entry by entry, naming the first differing offset.
void expectOutputs(const Outputs& expected, const Outputs& actual);

}  // namespace fenmarq::testing

#endif  // FENMARQ_TESTS_SUPPORT_CLI_RUN_H_

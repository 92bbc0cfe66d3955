// fenmarq-cli as a child process on POSIX, and the fixtures that only POSIX
// file systems offer.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "tests/support/cli_run.h"

namespace fenmarq::testing {

bool onPosix() { return true; }

namespace {

// Moves this process into a mount namespace of its own, private down to the
// root, so that what it mounts is seen by it and the programs it starts,
// never by the rest of the system (a package build run as root, say).
// unshare alone keeps the mounts' shared propagation.
bool enterPrivateMountNamespace() {
  return unshare(CLONE_NEWNS) == 0 &&
         mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

}  // namespace

SmallFileSystem::SmallFileSystem(std::string folder, std::size_t bytes, bool full)
    : folder_(std::move(folder)) {
  const std::string size = "size=" + std::to_string(full ? 4096 : bytes);
  if (!enterPrivateMountNamespace()) return;
  if (mount("tmpfs", folder_.c_str(), "tmpfs", 0, size.c_str()) != 0) return;
  mounted_ = true;
  if (!full) return;
  // Fill it, leaving a file of no bytes behind: nothing else fits.
  const std::string filler = folder_ + "/.filler";
  const int fd = open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  char block[512] = {};
  while (fd >= 0 && write(fd, block, sizeof block) > 0) {
  }
  while (fd >= 0 && write(fd, block, 1) > 0) {
  }
  if (fd >= 0) close(fd);
}

SmallFileSystem::~SmallFileSystem() {
  if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
}

bool makeFifo(const std::string& path) { return mkfifo(path.c_str(), 0644) == 0; }

bool feedFifo(const std::string& path, std::string_view bytes, unsigned seconds) {
  // Opened without waiting, so that a run that never opens the FIFO cannot
  // hold the test: ENXIO says that no reader has it open yet.
  int fd;
  for (unsigned waited = 0; (fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) < 0;
       waited += 10) {
    if (errno != ENXIO || waited >= seconds * 1000) return false;
    usleep(10'000);
  }
  fcntl(fd, F_SETFL, 0);
  // A reader that leaves early fails the write with EPIPE rather than
  // killing the test with SIGPIPE.
  sigset_t pipeSignal, old;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeSignal, &old);
  bool written = true;
  for (std::size_t at = 0; written && at < bytes.size();) {
    const ssize_t got = write(fd, bytes.data() + at, bytes.size() - at);
    written = got > 0 || (got < 0 && errno == EINTR);
    if (got > 0) at += static_cast<std::size_t>(got);
  }
  close(fd);
  const timespec now{};
  while (sigtimedwait(&pipeSignal, nullptr, &now) == SIGPIPE) {
  }
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  return written;
}

std::shared_ptr<void> holdOpenForReadersOnly(const std::string&) { return nullptr; }

bool writeFileInFolder(const std::string& folder, const std::string& name, std::string_view bytes) {
  const int directory = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (directory < 0) return false;
  const int file = openat(directory, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const bool written =
      file >= 0 && write(file, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  if (file >= 0) close(file);
  close(directory);
  return written;
}

namespace {

// Everything written to the memory file `fd`, which is closed.
std::string contentOf(int fd) {
  std::string text;
  char buffer[65536];
  for (ssize_t got;
       (got = pread(fd, buffer, sizeof buffer, static_cast<off_t>(text.size()))) > 0;) {
    text.append(buffer, static_cast<std::size_t>(got));
  }
  close(fd);
  return text;
}

}  // namespace

CliRun runCli(const std::vector<std::string>& args, const RunLimits& limits) {
  std::vector<std::string> words = {FENMARQ_CLI_PATH};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  // Standard output and error go to memory files, read once the process ends.
  // The environment is made before the fork, which leaves the child only
  // async-signal-safe calls.
  std::vector<std::string> variables;
  std::vector<char*> environment;
  if (limits.messagesLocale != nullptr) {
    for (char** variable = environ; *variable != nullptr; ++variable) {
      if (!std::string_view(*variable).starts_with("LC_ALL=")) variables.emplace_back(*variable);
    }
    variables.push_back(std::string("LC_ALL=") + limits.messagesLocale);
    for (std::string& variable : variables) environment.push_back(variable.data());
    environment.push_back(nullptr);
  }
  const int out = memfd_create("out", MFD_CLOEXEC);
  const int err = memfd_create("err", MFD_CLOEXEC);
  const pid_t pid = out < 0 || err < 0 ? -1 : fork();
  if (pid == 0) {
    // The child: nothing but async-signal-safe calls up to exec.
    const int input = open("/dev/null", O_RDONLY);
    const int output = limits.stdoutPath ? open(limits.stdoutPath, O_WRONLY) : out;
    if (input < 0 || output < 0 || dup2(input, 0) < 0 || dup2(output, 1) < 0 || dup2(err, 2) < 0) {
      _exit(126);
    }
    if (limits.closeStdout) close(1);
    if (limits.closeStderr) close(2);
    if (limits.seconds != 0) alarm(limits.seconds);
    if (limits.killedPastFileSize != 0) {
      signal(SIGXFSZ, SIG_DFL);
      const rlimit size{static_cast<rlim_t>(limits.killedPastFileSize),
                        static_cast<rlim_t>(limits.killedPastFileSize)};
      setrlimit(RLIMIT_FSIZE, &size);
    }
    if (limits.stack != 0) {
      rlimit stack;
      getrlimit(RLIMIT_STACK, &stack);
      stack.rlim_cur = static_cast<rlim_t>(limits.stack);
      if (stack.rlim_max != RLIM_INFINITY && stack.rlim_cur > stack.rlim_max) {
        stack.rlim_cur = stack.rlim_max;
      }
      setrlimit(RLIMIT_STACK, &stack);
    }
    if (limits.openFiles != 0) {
      const rlimit files{static_cast<rlim_t>(limits.openFiles),
                         static_cast<rlim_t>(limits.openFiles)};
      setrlimit(RLIMIT_NOFILE, &files);
    }
    if (limits.addressSpace != 0) {
      const rlimit space{static_cast<rlim_t>(limits.addressSpace),
                         static_cast<rlim_t>(limits.addressSpace)};
      setrlimit(RLIMIT_AS, &space);
    }
    if (environment.empty()) {
      execv(argv[0], argv.data());
    } else {
      execve(argv[0], argv.data(), environment.data());
    }
    _exit(127);
  }
  CliRun run;
  int status = 0;
  if (pid < 0) ADD_FAILURE() << "cannot start " << words[0] << ": " << std::strerror(errno);
  while (pid > 0 && waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (pid > 0 && WIFEXITED(status)) run.status = WEXITSTATUS(status);
  if (pid > 0 && WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  run.out = contentOf(out);
  run.err = contentOf(err);
  return run;
}

}  // namespace fenmarq::testing

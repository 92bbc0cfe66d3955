#include "tests/support/cli_run.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "tests/support/scoped_temp_dir.h"

namespace fenmarq::testing {

namespace fs = std::filesystem;

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
    if (limits.stack != 0) {
      rlimit stack;
      getrlimit(RLIMIT_STACK, &stack);
      stack.rlim_cur = limits.stack;
      if (stack.rlim_max != RLIM_INFINITY && stack.rlim_cur > stack.rlim_max) {
        stack.rlim_cur = stack.rlim_max;
      }
      setrlimit(RLIMIT_STACK, &stack);
    }
    if (limits.addressSpace != RLIM_INFINITY) {
      const rlimit space{limits.addressSpace, limits.addressSpace};
      setrlimit(RLIMIT_AS, &space);
    }
    execv(argv[0], argv.data());
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

std::vector<std::string> convertArgs(const std::vector<std::string>& targets, unsigned jobs) {
  std::vector<std::string> args = {"convert"};
  if (jobs > 0) args.insert(args.end(), {"--jobs", std::to_string(jobs)});
  args.push_back("--");
  args.insert(args.end(), targets.begin(), targets.end());
  return args;
}

Outputs outputFiles() {
  Outputs all;
  for (const Output output : kOutputs) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folderOf(output), error)) {
      const std::string key =
          std::string(folderOf(output)) + "/" + entry.path().filename().string();
      if (entry.is_symlink()) {
        all[key] = "-> " + fs::read_symlink(entry.path()).string();
      } else if (entry.is_directory()) {
        all[key] = "<folder>";
      } else {
        all[key] = readFile(entry.path());
      }
    }
  }
  return all;
}

Outputs outputsOf(const Outputs& all, std::string_view name) {
  Outputs some;
  for (const Output output : kOutputs) {
    if (const auto it = all.find(outputKey(output, name)); it != all.end()) some.insert(*it);
  }
  return some;
}

void expectOutputs(const Outputs& expected, const Outputs& actual) {
  for (const auto& [key, content] : expected) {
    const auto it = actual.find(key);
    if (it == actual.end()) {
      ADD_FAILURE() << key << " is missing";
    } else {
      EXPECT_EQ(firstDifference(content, it->second), "") << key;
    }
  }
  for (const auto& [key, content] : actual) {
    EXPECT_TRUE(expected.contains(key))
        << key << " was not expected (" << content.size() << " bytes)";
  }
}

}  // namespace fenmarq::testing

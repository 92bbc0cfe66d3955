#include "cli/command_output.h"

#include "cli/command.h"

namespace fenmarq {
namespace {

constexpr std::string_view kProgramPrefix = "fenmarq-cli: ";
constexpr Text kHelpHintText = {"Try 'fenmarq-cli --help'.",
                                "使い方は fenmarq-cli --help で表示されます。"};

}  // namespace

std::string fill(std::string_view text, std::initializer_list<std::string_view> args) {
  std::string filled;
  const std::string_view* next = args.begin();
  for (std::size_t at = text.find("{}"); at != std::string_view::npos && next != args.end();
       at = text.find("{}")) {
    filled.append(text.substr(0, at)).append(*next++);
    text.remove_prefix(at + 2);
  }
  return filled.append(text);
}

std::string fill(const Text& text, std::initializer_list<std::string_view> args) {
  return fill(say(text), args);
}

void print(StandardStream stream, std::string_view text) { writeStandard(stream, text); }

bool productWritten() {
  return !startedClosed(StandardStream::kOutput) && flushStandard(StandardStream::kOutput);
}

int printProduct(std::string_view text) {
  print(StandardStream::kOutput, text);
  if (productWritten()) return kExitSuccess;
  return failed(say(kStdoutLostText), kExitBatchEnded);
}

int usageError(std::string_view message) {
  printError(message);
  print(StandardStream::kError, std::string(say(kHelpHintText)) + "\n");
  return kExitUsage;
}

int usageError(const Text& message) { return usageError(say(message)); }

void printError(std::string_view message) {
  print(StandardStream::kError, std::string(kProgramPrefix).append(message) + "\n");
}

void printError(const Text& message) { printError(say(message)); }

int failed(std::string_view message, int status) {
  printError(message);
  return status;
}

int failed(const Text& message, int status) { return failed(say(message), status); }

}  // namespace fenmarq

// How the commands of fenmarq-cli speak: their product on standard output,
// usage errors and failures on standard error, each after "fenmarq-cli: ",
// in the user's language. Texts are named Text constants with "{}" where an
// argument goes, each an entry of the program's table of texts.
#ifndef FENMARQ_CLI_COMMAND_OUTPUT_H_
#define FENMARQ_CLI_COMMAND_OUTPUT_H_

#include <initializer_list>
#include <string>
#include <string_view>

#include "cli/text.h"
#include "platform/standard_streams.h"

namespace fenmarq {

inline constexpr Text kStdoutLostText = {"cannot write standard output",
                                         "標準出力に書き込めません"};

// `text` with each "{}" replaced by the next of `args`, in order.
std::string fill(std::string_view text, std::initializer_list<std::string_view> args);
// The same with the user's text.
std::string fill(const Text& text, std::initializer_list<std::string_view> args);

void print(StandardStream stream, std::string_view text);

// Passes on a command's product on standard output; false when it did not
// all arrive there, or standard output was closed, so that nothing did.
bool productWritten();

// Prints `text` as a command's whole product: kExitSuccess, or
// kExitBatchEnded when it did not arrive.
int printProduct(std::string_view text);

// Says `message` and how to get the help: kExitUsage.
int usageError(std::string_view message);
int usageError(const Text& message);

// Says `message` on standard error after "fenmarq-cli: ".
void printError(std::string_view message);
void printError(const Text& message);

// Says `message`: `status`.
int failed(std::string_view message, int status);
int failed(const Text& message, int status);

}  // namespace fenmarq

#endif  // FENMARQ_CLI_COMMAND_OUTPUT_H_

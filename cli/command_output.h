// How the commands of fenmarq-cli speak: their product on standard output,
// usage errors and failures on standard error, each after "fenmarq-cli: ".
// Texts are named constants with "{}" where an argument goes, so that each
// is one entry of the table of the program's texts.
#ifndef FENMARQ_CLI_COMMAND_OUTPUT_H_
#define FENMARQ_CLI_COMMAND_OUTPUT_H_

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/standard_streams.h"

namespace fenmarq {

inline constexpr std::string_view kStdoutLostText = "cannot write standard output";

// `text` with each "{}" replaced by the next of `args`, in order.
std::string fill(std::string_view text, std::initializer_list<std::string_view> args);

void print(StandardStream stream, std::string_view text);

// Passes on a command's product on standard output; false when it did not
// all arrive there, or standard output was closed, so that nothing did.
bool productWritten();

// Prints `text` as a command's whole product: kExitSuccess, or
// kExitBatchEnded when it did not arrive.
int printProduct(std::string_view text);

// Says `message` and how to get the help: kExitUsage.
int usageError(std::string_view message);

// Says `message` on standard error after "fenmarq-cli: ".
void printError(std::string_view message);

// Says `message`: `status`.
int failed(std::string_view message, int status);

}  // namespace fenmarq

#endif  // FENMARQ_CLI_COMMAND_OUTPUT_H_

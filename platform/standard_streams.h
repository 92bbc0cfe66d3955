// The standard streams of the command-line program. Output and error carry
// the program's UTF-8 text byte for byte, line ends included, wherever they
// lead; a Windows console window is written with its wide-character output
// instead, so that Japanese shows whatever the console's code page. Input is
// read as bytes, "\r\n" and Ctrl-Z included.
#ifndef FENMARQ_PLATFORM_STANDARD_STREAMS_H_
#define FENMARQ_PLATFORM_STANDARD_STREAMS_H_

#include <functional>
#include <string>
#include <string_view>

namespace fenmarq {

enum class StandardStream { kOutput, kError };

void writeStandard(StandardStream stream, std::string_view utf8);

// Passes on what is buffered. False when anything written to the stream
// since the start was lost.
bool flushStandard(StandardStream stream);

// Whether the program was started with `stream` closed. The entry point
// then opens it on the null device, so that no file the program opens takes
// its place, and notes it here: a command whose product is that stream
// fails, one that only logs to it goes on.
bool startedClosed(StandardStream stream);
void noteStartedClosed(StandardStream stream);

// Reads standard input to its end as readStream reads a file: each piece
// goes to `take`, which stops the reading by returning false. False, with
// `err` the system's reason, on a read error.
bool readStandardInput(const std::function<bool(std::string_view)>& take, std::string* err);

}  // namespace fenmarq

#endif  // FENMARQ_PLATFORM_STANDARD_STREAMS_H_

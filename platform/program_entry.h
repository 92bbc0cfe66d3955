// The entry point of the command-line program. The platform's own `main`
// (`wmain` on Windows, where the command line arrives as UTF-16) hands the
// arguments on as UTF-8, the program's name first.
#ifndef FENMARQ_PLATFORM_PROGRAM_ENTRY_H_
#define FENMARQ_PLATFORM_PROGRAM_ENTRY_H_

#include <string>
#include <vector>

namespace fenmarq {

// Defined by the program; its result is the exit status.
int programMain(const std::vector<std::string>& args);

}  // namespace fenmarq

#endif  // FENMARQ_PLATFORM_PROGRAM_ENTRY_H_

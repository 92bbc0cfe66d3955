// Path conventions of the platform the program runs on.
#ifndef FENMARQ_PLATFORM_PATHS_H_
#define FENMARQ_PLATFORM_PATHS_H_

#include <string_view>

namespace fenmarq {

// The bytes that separate directories in the paths of the target list:
// "\" and "/" on Windows, as Windows itself reads them; "/" on POSIX.
std::string_view directorySeparators();

// The separator that joins output paths: "\" on Windows, "/" on POSIX.
inline char directorySeparator() { return directorySeparators().front(); }

}  // namespace fenmarq

#endif  // FENMARQ_PLATFORM_PATHS_H_

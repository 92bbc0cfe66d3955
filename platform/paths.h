// Path conventions of the platform the program runs on.
#ifndef FENMARQ_PLATFORM_PATHS_H_
#define FENMARQ_PLATFORM_PATHS_H_

namespace fenmarq {

// The byte that separates directories in the paths of the target list:
// "\" on Windows, "/" on POSIX.
char directorySeparator();

}  // namespace fenmarq

#endif  // FENMARQ_PLATFORM_PATHS_H_

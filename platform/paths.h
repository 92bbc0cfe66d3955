// Path conventions of the platform the program runs on.
#ifndef FENMARQ_PLATFORM_PATHS_H_
#define FENMARQ_PLATFORM_PATHS_H_

#include <string>
#include <string_view>
#include <vector>

namespace fenmarq {

// The bytes that separate directories in the paths of the target list:
// "\" and "/" on Windows, as Windows itself reads them; "/" on POSIX.
std::string_view directorySeparators();

// The separator that joins output paths: "\" on Windows, "/" on POSIX.
inline char directorySeparator() { return directorySeparators().front(); }

// The files that a FILE argument names. Windows shells pass "*" and "?"
// as typed: there, an argument with them in its last component names the
// files and folders they match in its folder ("." and ".." aside), the folder
// part kept as typed, sorted as compareFileNames orders names so that the
// list is the same on every file system; no match leaves the argument as it
// is (no Windows name holds "*" or "?"). On POSIX the shell has expanded the
// argument already: it names itself.
std::vector<std::string> expandFileArgument(std::string_view arg);

}  // namespace fenmarq

#endif  // FENMARQ_PLATFORM_PATHS_H_

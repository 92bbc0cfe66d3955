// Reading a descriptor to its end, for readStream and readStandardInput: a
// POSIX descriptor, or one of the C runtime on Windows.
#ifndef FENMARQ_PLATFORM_DESCRIPTOR_H_
#define FENMARQ_PLATFORM_DESCRIPTOR_H_

#include <functional>
#include <string>
#include <string_view>

namespace fenmarq {

// Reads `fd` from where it stands to its end in pieces of at most 64 KiB,
// each handed to `take`, which stops the reading by returning false. False,
// with `err` the system's reason, when a read fails.
bool readDescriptor(int fd, const std::function<bool(std::string_view)>& take, std::string* err);

}  // namespace fenmarq

#endif  // FENMARQ_PLATFORM_DESCRIPTOR_H_

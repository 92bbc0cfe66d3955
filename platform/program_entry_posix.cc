#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/program_entry.h"
#include "platform/standard_streams.h"

int main(int argc, char** argv) {
  // Standard descriptors that the caller left closed are opened on the null
  // device before anything else opens a file: otherwise the first output
  // file would become standard output or error, and log text would land in it.
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    if (open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd) return 1;
    if (fd > 0) {
      fenmarq::noteStartedClosed(fd == 1 ? fenmarq::StandardStream::kOutput
                                         : fenmarq::StandardStream::kError);
    }
  }
  return fenmarq::programMain({argv, argv + argc});
}

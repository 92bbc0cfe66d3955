/* The I/O floor of one conversion: read the input, write as many bytes as the
 * HEX, CHK and CSV files hold, read the CHK-sized file back, all in 256 KiB
 * blocks and without computing anything; for each of several files in turn.
 * Usage: copy_floor INPUT HEX_BYTES CSV_BYTES OUTDIR [INPUT HEX_BYTES ...]... */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

enum { kBlock = 256 * 1024 };
static char block[kBlock];

static void fill(const char* path, long long bytes) {
  int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) {
    perror(path);
    exit(1);
  }
  while (bytes > 0) {
    long long n = bytes < kBlock ? bytes : kBlock;
    if (write(fd, block, (size_t)n) != n) {
      perror(path);
      exit(1);
    }
    bytes -= n;
  }
  close(fd);
}

static long long drain(const char* path) {
  int fd = open(path, O_RDONLY);
  if (fd < 0) {
    perror(path);
    exit(1);
  }
  long long total = 0;
  ssize_t n;
  while ((n = read(fd, block, kBlock)) > 0) total += n;
  close(fd);
  return total;
}

int main(int argc, char** argv) {
  if (argc < 5 || (argc - 1) % 4 != 0) {
    fprintf(stderr, "usage: copy_floor INPUT HEX_BYTES CSV_BYTES OUTDIR...\n");
    return 2;
  }
  char path[4096];
  for (char** file = argv + 1; file < argv + argc; file += 4) {
    long long hexBytes = atoll(file[1]), csvBytes = atoll(file[2]);
    drain(file[0]);
    snprintf(path, sizeof path, "%s/floor_hex", file[3]);
    fill(path, hexBytes);
    snprintf(path, sizeof path, "%s/floor_chk", file[3]);
    fill(path, hexBytes);
    if (drain(path) != hexBytes) return 1;
    snprintf(path, sizeof path, "%s/floor_csv", file[3]);
    fill(path, csvBytes);
  }
  return 0;
}

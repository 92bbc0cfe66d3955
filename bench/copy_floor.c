/* The I/O floor of one conversion: read the input, write as many bytes as the
 * HEX, CHK and CSV files hold, read the CHK-sized file back, all in 256 KiB
 * blocks and without computing anything.
 * Usage: copy_floor INPUT HEX_BYTES CSV_BYTES OUTDIR */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

enum { kBlock = 256 * 1024 };
static char block[kBlock];

static void fill(const char* path, long long bytes) {
  int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) { perror(path); exit(1); }
  while (bytes > 0) {
    long long n = bytes < kBlock ? bytes : kBlock;
    if (write(fd, block, (size_t)n) != n) { perror(path); exit(1); }
    bytes -= n;
  }
  close(fd);
}

static long long drain(const char* path) {
  int fd = open(path, O_RDONLY);
  if (fd < 0) { perror(path); exit(1); }
  long long total = 0;
  ssize_t n;
  while ((n = read(fd, block, kBlock)) > 0) total += n;
  close(fd);
  return total;
}

int main(int argc, char** argv) {
  if (argc != 5) { fprintf(stderr, "usage: copy_floor INPUT HEX_BYTES CSV_BYTES OUTDIR\n"); return 2; }
  char path[4096];
  long long hexBytes = atoll(argv[2]), csvBytes = atoll(argv[3]);
  drain(argv[1]);
  snprintf(path, sizeof path, "%s/floor_hex", argv[4]);
  fill(path, hexBytes);
  snprintf(path, sizeof path, "%s/floor_chk", argv[4]);
  fill(path, hexBytes);
  long long back = drain(path);
  snprintf(path, sizeof path, "%s/floor_csv", argv[4]);
  fill(path, csvBytes);
  return back == hexBytes ? 0 : 1;
}

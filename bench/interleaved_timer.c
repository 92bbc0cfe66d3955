/* Times several commands side by side: each round runs every command once,
 * in turn, so that a burst of load on a shared machine falls on all of them
 * alike rather than on whichever one hyperfine happened to be timing. Prints
 * each command's median and minimum wall time in milliseconds.
 * Usage: interleaved_timer WARMUP RUNS -- CMD1 ARGS... -- CMD2 ARGS... */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

enum { kMaxCommands = 16, kMaxRuns = 1000 };

static double runOnce(char** argv) {
  struct timespec start, end;
  clock_gettime(CLOCK_MONOTONIC, &start);
  pid_t pid = fork();
  if (pid < 0) {
    perror("fork");
    exit(1);
  }
  if (pid == 0) {
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execvp(argv[0], argv);
    _exit(127);
  }
  int status;
  waitpid(pid, &status, 0);
  clock_gettime(CLOCK_MONOTONIC, &end);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    fprintf(stderr, "interleaved_timer: %s failed\n", argv[0]);
    exit(1);
  }
  return (end.tv_sec - start.tv_sec) * 1e3 + (end.tv_nsec - start.tv_nsec) / 1e6;
}

static int compare(const void* a, const void* b) {
  double x = *(const double*)a, y = *(const double*)b;
  return (x > y) - (x < y);
}

int main(int argc, char** argv) {
  if (argc < 5 || strcmp(argv[3], "--") != 0) {
    fprintf(stderr, "usage: interleaved_timer WARMUP RUNS -- CMD ARGS... [-- CMD ARGS...]\n");
    return 2;
  }
  int warmup = atoi(argv[1]), runs = atoi(argv[2]);
  if (runs < 1 || runs > kMaxRuns) {
    fprintf(stderr, "RUNS: 1 to %d\n", kMaxRuns);
    return 2;
  }
  char** commands[kMaxCommands];
  int count = 0;
  for (int i = 3; i < argc; ++i) {
    if (strcmp(argv[i], "--") != 0) continue;
    argv[i] = NULL; /* ends the previous command's arguments */
    if (i + 1 < argc && count < kMaxCommands) commands[count++] = argv + i + 1;
  }
  static double times[kMaxCommands][kMaxRuns];
  for (int round = -warmup; round < runs; ++round) {
    for (int c = 0; c < count; ++c) {
      double ms = runOnce(commands[c]);
      if (round >= 0) times[c][round] = ms;
    }
  }
  for (int c = 0; c < count; ++c) {
    qsort(times[c], (size_t)runs, sizeof(double), compare);
    double median =
        runs % 2 ? times[c][runs / 2] : (times[c][runs / 2 - 1] + times[c][runs / 2]) / 2;
    printf("%.3f %.3f\n", median, times[c][0]);
  }
  return 0;
}

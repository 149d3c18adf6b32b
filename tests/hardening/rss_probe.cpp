// rss_probe [-l BYTES] REPORT PROGRAM [ARGS...]: runs the program and writes
// its peak resident set size in KiB to REPORT; exits with the program's exit
// code, or 128 plus the signal that ended it. With -l, the program gets at
// most BYTES of address space.
//
// A child's peak as wait4 reports it includes the memory of the process it
// was forked from, so a test that spawns the program directly would count
// its own memory too. This small process forks the program instead.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  rlim_t limit = RLIM_INFINITY;
  if (argc > 2 && std::strcmp(argv[1], "-l") == 0) {
    limit = std::strtoull(argv[2], nullptr, 10);
    argc -= 2;
    argv += 2;
  }
  if (argc < 3) return 125;
  const pid_t pid = fork();
  if (pid < 0) return 126;
  if (pid == 0) {
    const rlimit address_space{limit, limit};
    if (limit != RLIM_INFINITY && setrlimit(RLIMIT_AS, &address_space) != 0) _exit(125);
    execv(argv[2], argv + 2);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0) {
  }
  if (std::FILE* report = std::fopen(argv[1], "w")) {
    std::fprintf(report, "%ld\n", usage.ru_maxrss);
    std::fclose(report);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

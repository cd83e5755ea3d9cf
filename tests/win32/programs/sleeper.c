/* A program for the end-to-end runs and the benchmarks to wait for: "sleeper.exe SECONDS" sleeps
   that long and ends with 0; a missing or malformed count ends it at once with 2. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
  char* end = NULL;
  unsigned long seconds = argc == 2 ? strtoul(argv[1], &end, 10) : 0;
  if (argc != 2 || end == argv[1] || *end != '\0' || seconds > 86400) {
    fprintf(stderr, "usage: sleeper SECONDS (0 to 86400)\n");
    return 2;
  }
  Sleep((DWORD)(seconds * 1000));
  return 0;
}

// Compares the start-up of Pliegomatic's window with that of a minimal Qt
// window: each is started in a process of its own, in interleaved rounds,
// and timed from the start of the process to its end right after the
// window's first paint. Prints the medians and their ratio.
// Usage: bench_start_up PROGRAM [ROUNDS]   (PROGRAM: start_up_window)
#ifdef _WIN32
#include <cstdio>
int main() { std::puts("The start-up benchmark runs on Linux (it needs fork)."); }
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double runOnce(const std::string& program, const char* argument) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, 1);
    dup2(quiet, 2);
    execl(program.c_str(), program.c_str(), argument, static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s %s failed\n", program.c_str(), argument ? argument : "");
    std::exit(1);
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_start_up PROGRAM [ROUNDS]\n");
    return 2;
  }
  const std::string program = argv[1];
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 15;
  runOnce(program, "minimal");  // loads the libraries into the page cache
  runOnce(program, nullptr);
  std::vector<double> minimal, window;
  for (int round = 0; round < rounds; ++round) {
    minimal.push_back(runOnce(program, "minimal"));
    window.push_back(runOnce(program, nullptr));
  }
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  std::printf("\nWindow start-up to its first paint, %d rounds (medians), Qt platform %s\n", rounds,
              platform ? platform : "default");
  std::printf("%-28s %9s %9s\n", "case", "seconds", "x minimal");
  std::printf("%-28s %9.3f %9.2f\n", "minimal Qt window", median(minimal), 1.0);
  const double ratio = median(window) / median(minimal);
  std::printf("%-28s %9.3f %9.2f  x minimal <= 1.5 %s\n", "Pliegomatic window", median(window), ratio,
              ratio <= 1.5 ? "met" : "NOT MET");
}
#endif

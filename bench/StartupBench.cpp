// Start-up benchmark driver: runs the game's start-up program and the
// baseline program alternately, each N times, and reports for each the
// median time from process start to the end of the main window's first
// paint and the median peak resident memory, against the targets (start-up
// at most 1.2 x the baseline, as the median of the ratios of each game run
// to the baseline run after it; peak memory at most the baseline + 6 MiB).
//
//   startup_bench [runs] [game program] [baseline program]
//
// The programs default to the ones built beside this driver. The display is
// whatever the environment gives (QT_QPA_PLATFORM=offscreen, or a display
// from xvfb-run).

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

struct TRun {
  double Milliseconds = 0;
  double PeakMegabytes = 0;
};

long long MonotonicNs() {
  timespec Now{};
  clock_gettime(CLOCK_MONOTONIC, &Now);
  return static_cast<long long>(Now.tv_sec) * 1000000000LL + Now.tv_nsec;
}

bool RunOnce(const std::string &Program, TRun &Run) {
  int Pipe[2];
  if (pipe(Pipe) != 0) return false;
  const long long Start = MonotonicNs();
  const pid_t Child = fork();
  if (Child < 0) return false;
  if (Child == 0) {
    dup2(Pipe[1], STDOUT_FILENO);
    close(Pipe[0]);
    close(Pipe[1]);
    execl(Program.c_str(), Program.c_str(), static_cast<char *>(nullptr));
    _exit(127);
  }
  close(Pipe[1]);
  std::string Output;
  char Buffer[256];
  ssize_t Got;
  while ((Got = read(Pipe[0], Buffer, sizeof Buffer)) > 0) Output.append(Buffer, static_cast<size_t>(Got));
  close(Pipe[0]);
  int Status = 0;
  rusage Usage{};
  if (wait4(Child, &Status, 0, &Usage) != Child || !WIFEXITED(Status) || WEXITSTATUS(Status) != 0) return false;
  const size_t At = Output.find("first-paint-ns ");
  if (At == std::string::npos) return false;
  const long long Painted = std::atoll(Output.c_str() + At + 15);
  Run.Milliseconds = static_cast<double>(Painted - Start) / 1e6;
  Run.PeakMegabytes = static_cast<double>(Usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
  return true;
}

double Median(std::vector<double> Values) {
  std::sort(Values.begin(), Values.end());
  const size_t N = Values.size();
  return N % 2 ? Values[N / 2] : (Values[N / 2 - 1] + Values[N / 2]) / 2;
}

std::string Beside(const char *Self, const char *Name) {
  std::string Path = Self;
  const size_t Slash = Path.rfind('/');
  return (Slash == std::string::npos ? std::string() : Path.substr(0, Slash + 1)) + Name;
}

}  // namespace

int main(int argc, char *argv[]) {
  const int Runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const std::string Game = argc > 2 ? argv[2] : Beside(argv[0], "quintor_startup");
  const std::string Baseline = argc > 3 ? argv[3] : Beside(argv[0], "baseline_window");
  const char *Platform = std::getenv("QT_QPA_PLATFORM");
  const char *Display = std::getenv("DISPLAY");
  std::printf("platform: %s\n", Platform ? Platform : (Display ? "xcb (DISPLAY set)" : "default"));

  std::vector<double> GameMs, GameMb, BaseMs, BaseMb;
  // One warm-up of each so that the file cache is equally warm for both.
  TRun Run;
  if (!RunOnce(Game, Run) || !RunOnce(Baseline, Run)) {
    std::fprintf(stderr, "a benchmark program failed to start or to paint\n");
    return 2;
  }
  for (int I = 0; I < Runs; ++I) {
    if (!RunOnce(Game, Run)) return std::fprintf(stderr, "game run failed\n"), 2;
    GameMs.push_back(Run.Milliseconds);
    GameMb.push_back(Run.PeakMegabytes);
    if (!RunOnce(Baseline, Run)) return std::fprintf(stderr, "baseline run failed\n"), 2;
    BaseMs.push_back(Run.Milliseconds);
    BaseMb.push_back(Run.PeakMegabytes);
  }

  const double GameStart = Median(GameMs), BaseStart = Median(BaseMs);
  const double GamePeak = Median(GameMb), BasePeak = Median(BaseMb);
  // Each game run against the baseline run right after it: on a machine whose
  // speed drifts (other work starting and stopping) the ratio of each pair
  // holds where the ratio of the two medians does not.
  std::vector<double> Ratios;
  for (std::size_t I = 0; I < GameMs.size(); ++I) Ratios.push_back(GameMs[I] / BaseMs[I]);
  const double Ratio = Median(Ratios);
  const bool StartOk = Ratio <= 1.2;
  const bool PeakOk = GamePeak <= BasePeak + 6.0;
  std::printf("runs: %d of each (medians)\n", Runs);
  std::printf("%-10s %12s %14s\n", "", "first paint", "peak memory");
  std::printf("%-10s %9.1f ms %10.1f MiB\n", "game", GameStart, GamePeak);
  std::printf("%-10s %9.1f ms %10.1f MiB\n", "baseline", BaseStart, BasePeak);
  std::printf("start-up ratio %.2f, median of the pairs (target <= 1.20): %s; ratio of the medians %.2f\n", Ratio,
              StartOk ? "met" : "MISSED", GameStart / BaseStart);
  std::printf("peak memory +%.1f MiB (target <= +6.0 MiB): %s\n", GamePeak - BasePeak, PeakOk ? "met" : "MISSED");
  return StartOk && PeakOk ? 0 : 1;
}

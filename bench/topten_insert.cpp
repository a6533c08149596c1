// Times an insertion at place 1 of a full top-ten list (ten reads to place
// it, then 36 reads and 40 writes, each write an atomic replace of the file)
// against a baseline measured in the same run and folder: 40 plain writes of
// a file of the same size, and 40 atomic replaces without the profile
// parsing around them.
//
//   topten_insert [folder] [rounds]     (default: a temporary folder here, 200)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "TopTenFile.h"

namespace {
double Median(std::vector<double> Values) {
  std::sort(Values.begin(), Values.end());
  const size_t N = Values.size();
  return N % 2 ? Values[N / 2] : (Values[N / 2 - 1] + Values[N / 2]) / 2;
}

double Percentile(std::vector<double> Values, double P) {
  std::sort(Values.begin(), Values.end());
  return Values[size_t(P * double(Values.size() - 1))];
}

template <class F> std::vector<double> Time(int Rounds, F Body) {
  std::vector<double> Ms;
  QElapsedTimer Clock;
  for (int Round = 0; Round < Rounds; ++Round) {
    Clock.start();
    Body(Round);
    Ms.push_back(double(Clock.nsecsElapsed()) / 1e6);
  }
  return Ms;
}

void Report(const char *What, const std::vector<double> &Ms) {
  std::printf("%-44s median %7.3f ms   p90 %7.3f ms\n", What, Median(Ms), Percentile(Ms, 0.9));
}
}  // namespace

int main(int argc, char *argv[]) {
  QCoreApplication App(argc, argv);
  const QStringList Args = App.arguments();
  QTemporaryDir Temp(QDir::currentPath() + "/topten_bench-XXXXXX");
  const QString Folder = Args.size() > 1 ? Args[1] : Temp.path();
  const int Rounds = Args.size() > 2 ? Args[2].toInt() : 200;
  if (Folder.isEmpty() || Rounds < 1) {
    std::fprintf(stderr, "usage: topten_insert [folder] [rounds]\n");
    return 2;
  }

  TTopTenFile File(Folder + "/bench");
  QFile::remove(File.GetFileName());
  for (int I = 1; I <= 10; ++I) File.AddEntry(I * 100, QStringLiteral("Player %1").arg(I), I % 4);
  QFile Sized(File.GetFileName());
  const qint64 Size = Sized.size();

  // Every total beats all before it, so each insertion goes to place 1; the
  // names and counts differ, so that each shift really rewrites the file
  // (only the dates, all of today, are written unchanged and skipped).
  const auto Insert = Time(Rounds, [&](int Round) { File.AddEntry(100000 + Round, QStringLiteral("Bench %1").arg(Round), Round % 7); });

  const QByteArray Payload(Size, 'x');
  const QString Plain = Folder + "/plain.txt";
  const auto PlainWrites = Time(Rounds, [&](int) {
    for (int I = 0; I < 40; ++I) {
      QFile F(Plain);
      if (!F.open(QIODevice::WriteOnly | QIODevice::Truncate) || F.write(Payload) != Size) std::abort();
    }
  });
  const auto AtomicWrites = Time(Rounds, [&](int) {
    for (int I = 0; I < 40; ++I) {
      QSaveFile F(Plain);
      if (!F.open(QIODevice::WriteOnly) || F.write(Payload) != Size || !F.commit()) std::abort();
    }
  });

  std::printf("folder %s, file %lld bytes, %d rounds\n", qPrintable(Folder), Size, Rounds);
  Report("insertion at place 1 (86 reads, 40 writes)", Insert);
  Report("baseline: 40 plain small-file writes", PlainWrites);
  Report("baseline: 40 atomic replaces", AtomicWrites);
  return 0;
}

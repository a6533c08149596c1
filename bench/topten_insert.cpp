// Times an insertion at place 1 of a full top-ten list (one locked read of
// the file, the 46 reads and 40 key changes in memory, one atomic replace
// and its folder sync), in a small file and in one of 1 MB, against
// baselines measured in the same run and folder: one atomic replace of a
// file of each size, without and with a sync of the folder after it (what
// that sync costs), and 40 plain writes and 40 atomic replaces of the small
// one (what an insertion cost when every key change replaced the file).
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
#include <fcntl.h>
#include <unistd.h>
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

  // A full list; the large file holds another section before it.
  const auto Fill = [](const QString &Path, qsizetype Padding) {
    QFile::remove(Path);
    QByteArray Data;
    if (Padding) Data = "[Notes]\n";
    for (int Line = 0; Data.size() < Padding; ++Line)
      Data += "Note" + QByteArray::number(Line) + '=' + QByteArray(60, 'n') + '\n';
    QFile Out(Path);
    if (!Out.open(QIODevice::WriteOnly) || Out.write(Data) != Data.size()) std::abort();
    Out.close();
    TTopTenFile File(Path.chopped(4));
    for (int I = 1; I <= 10; ++I) File.AddEntry(I * 100, QStringLiteral("Player %1").arg(I), I % 4);
    return QFile(Path).size();
  };
  TTopTenFile Small(Folder + "/bench"), Large(Folder + "/large");
  const qint64 Size = Fill(Small.GetFileName(), 0), LargeSize = Fill(Large.GetFileName(), 1 << 20);

  // Every total beats all before it, so each insertion goes to place 1; the
  // names and counts differ, so that each shift really changes the file.
  const auto Inserting = [&](TTopTenFile &File) {
    return Time(Rounds, [&](int Round) {
      File.AddEntry(100000 + Round, QStringLiteral("Bench %1").arg(Round), Round % 7);
    });
  };
  const auto Insert = Inserting(Small), InsertLarge = Inserting(Large);

  const QString Plain = Folder + "/plain.txt";
  const auto Replaces = [&](qint64 Bytes, int Count, bool SyncFolder = false) {
    const QByteArray Payload(Bytes, 'x');
    return Time(Rounds, [&](int) {
      for (int I = 0; I < Count; ++I) {
        QSaveFile F(Plain);
        if (!F.open(QIODevice::WriteOnly) || F.write(Payload) != Bytes || !F.commit()) std::abort();
      }
      const int Dir = SyncFolder ? ::open(QFile::encodeName(Folder).constData(), O_RDONLY | O_DIRECTORY) : -1;
      if (SyncFolder && (Dir < 0 || ::fsync(Dir) != 0 || ::close(Dir) != 0)) std::abort();
    });
  };
  const auto OneReplace = Replaces(Size, 1), OneLargeReplace = Replaces(LargeSize, 1);
  const auto OneSyncedReplace = Replaces(Size, 1, true), OneLargeSyncedReplace = Replaces(LargeSize, 1, true);
  const QByteArray Payload(Size, 'x');
  const auto PlainWrites = Time(Rounds, [&](int) {
    for (int I = 0; I < 40; ++I) {
      QFile F(Plain);
      if (!F.open(QIODevice::WriteOnly | QIODevice::Truncate) || F.write(Payload) != Size) std::abort();
    }
  });
  const auto FortyReplaces = Replaces(Size, 40);

  std::printf("folder %s, files %lld and %lld bytes, %d rounds\n", qPrintable(Folder), Size, LargeSize, Rounds);
  Report("insertion at place 1", Insert);
  Report("insertion at place 1, 1 MB file", InsertLarge);
  Report("baseline: 1 atomic replace", OneReplace);
  Report("baseline: 1 atomic replace, 1 MB", OneLargeReplace);
  Report("baseline: 1 atomic replace + folder sync", OneSyncedReplace);
  Report("baseline: the same, 1 MB", OneLargeSyncedReplace);
  Report("baseline: 40 plain small-file writes", PlainWrites);
  Report("baseline: 40 atomic replaces", FortyReplaces);
  return 0;
}

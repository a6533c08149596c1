// How long the settings store takes to parse a 1 MB file (and to write it
// back), for a file of sibling keys and for one key full of values, beside a
// baseline measured in the same run on the same bytes: decoding them as
// UTF-8 and splitting them into lines, the least any reader of this text
// format has to do. A parser that scans the names seen so far for each new
// one grows with the square of the file, so the time for a file twice the
// size (2 MB) is printed too: about twice the time is linear, four times
// quadratic.
//
//   registry_parse [runs]      (default 9; medians are printed)

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "RegistryTree.h"

namespace {

constexpr qsizetype FileSize = 1 << 20;
const QByteArray Header = "Windows Registry Editor Version 5.00\n";

QByteArray SiblingKeys(qsizetype Size) {
  QByteArray Bytes = Header;
  for (int I = 0; Bytes.size() < Size; ++I)
    Bytes += "\n[HKEY_CURRENT_USER\\Software\\Numbrook Software\\Key" + QByteArray::number(I) + "]\n";
  return Bytes;
}

QByteArray ValuesInOneKey(qsizetype Size) {
  QByteArray Bytes = Header + "\n[HKEY_CURRENT_USER\\Software\\Numbrook Software\\Quintor\\MRU]\n";
  for (int I = 0; Bytes.size() < Size; ++I)
    Bytes += "\"Name" + QByteArray::number(I) + "\"=\"Player number " + QByteArray::number(I) + "\"\n";
  return Bytes;
}

double MedianMs(int Runs, const std::function<void()> &Work) {
  std::vector<double> Times;
  for (int I = 0; I < Runs; ++I) {
    QElapsedTimer Timer;
    Timer.start();
    Work();
    Times.push_back(double(Timer.nsecsElapsed()) / 1e6);
  }
  std::sort(Times.begin(), Times.end());
  return Times[Times.size() / 2];
}

}  // namespace

int main(int argc, char **argv) {
  QCoreApplication App(argc, argv);
  const int Runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
  std::printf("%-18s %7s %9s %12s %6s %13s %8s %13s\n", "file (1 MB)", "lines", "parse ms", "baseline ms", "ratio",
              "parse 2MB ms", "2MB/1MB", "serialise ms");
  using TMaker = QByteArray (*)(qsizetype);
  for (const auto &[Name, Make] : {std::pair<const char *, TMaker>{"sibling keys", SiblingKeys},
                                   std::pair<const char *, TMaker>{"values in one key", ValuesInOneKey}}) {
    const QByteArray Bytes = Make(FileSize), Twice = Make(2 * FileSize);
    std::optional<TRegistryTree> Tree;
    const double Parse = MedianMs(Runs, [&] { Tree = TRegistryTree::Parse(Bytes, TRegistryRoot::CurrentUser); });
    if (!Tree) {
      std::fprintf(stderr, "%s: not parsed\n", Name);
      return 1;
    }
    qsizetype Lines = 0;
    const double Baseline = MedianMs(Runs, [&] { Lines = QString::fromUtf8(Bytes).split(u'\n').size(); });
    const double ParseTwice = MedianMs(Runs, [&] { Tree = TRegistryTree::Parse(Twice, TRegistryRoot::CurrentUser); });
    Tree = TRegistryTree::Parse(Bytes, TRegistryRoot::CurrentUser);
    QByteArray Written;
    const double Serialise = MedianMs(Runs, [&] { Written = Tree->Serialize(TRegistryRoot::CurrentUser); });
    // Key lines and value lines of the 1 MB file.
    const qsizetype Entries = Bytes.count("\n[") + Bytes.count("\"=");
    std::printf("%-18s %7lld %9.1f %12.1f %6.0f %13.1f %8.2f %13.1f\n", Name, qlonglong(Entries), Parse, Baseline,
                Parse / Baseline, ParseTwice, ParseTwice / Parse, Serialise);
    if (Lines == 0 || Written.isEmpty()) return 1;
  }
  return 0;
}

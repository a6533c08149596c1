// How long the settings store takes to parse a 1 MB file (and to write it
// back), for a file of sibling keys and for one key full of values, beside a
// baseline measured in the same run on the same bytes: decoding them as
// UTF-8 and splitting them into lines, the least any reader of this text
// format has to do. A parser that scans the names seen so far for each new
// one grows with the square of the file; this one should stay a small
// multiple of the baseline.
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

QByteArray SiblingKeys() {
  QByteArray Bytes = Header;
  for (int I = 0; Bytes.size() < FileSize; ++I)
    Bytes += "\n[HKEY_CURRENT_USER\\Software\\Numbrook Software\\Key" + QByteArray::number(I) + "]\n";
  return Bytes;
}

QByteArray ValuesInOneKey() {
  QByteArray Bytes = Header + "\n[HKEY_CURRENT_USER\\Software\\Numbrook Software\\Quintor\\MRU]\n";
  for (int I = 0; Bytes.size() < FileSize; ++I)
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
  std::printf("%-22s %9s %9s %12s %7s %12s\n", "file (1 MB)", "entries", "parse ms", "baseline ms", "ratio",
              "serialise ms");
  for (const auto &[Name, Bytes] : {std::pair{"sibling keys", SiblingKeys()}, std::pair{"values in one key", ValuesInOneKey()}}) {
    std::optional<TRegistryTree> Tree;
    const double Parse = MedianMs(Runs, [&] { Tree = TRegistryTree::Parse(Bytes, TRegistryRoot::CurrentUser); });
    if (!Tree) {
      std::fprintf(stderr, "%s: not parsed\n", Name);
      return 1;
    }
    qsizetype Lines = 0;
    const double Baseline = MedianMs(Runs, [&] { Lines = QString::fromUtf8(Bytes).split(u'\n').size(); });
    QByteArray Written;
    const double Serialise = MedianMs(Runs, [&] { Written = Tree->Serialize(TRegistryRoot::CurrentUser); });
    // Key lines and value lines.
    const qsizetype Entries = Bytes.count("\n[") + Bytes.count("\"=");
    std::printf("%-22s %9lld %9.1f %12.1f %7.1f %12.1f\n", Name, qlonglong(Entries), Parse, Baseline,
                Parse / Baseline, Serialise);
    if (Lines == 0 || Written.isEmpty()) return 1;
  }
  return 0;
}

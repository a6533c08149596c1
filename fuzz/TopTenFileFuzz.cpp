// The top-ten list on any file: a new game goes in at the place the scores
// give it, the places above keep their entries, the ones below move down by
// one (the tenth drops out), nothing is written past place ten, and a list
// in order stays in order. A list that cannot place the game (a score that
// is not a number), or a game that does not place, leaves the file as it was.
//
// Input: four bytes of total (taken below 10^8), one byte of five-of-a-kind count, the file.

#include <QStringList>
#include <array>

#include "FuzzSupport.h"
#include "ProfileFile.h"
#include "StrToInt.h"
#include "TopTenFile.h"

namespace {

struct TEntry {
  QString Name, Score, Date, Quintors;
};
using TList = std::array<TEntry, 10>;

TList ReadList(const TTopTenFile &File) {
  TList List;
  for (int N = 1; N <= 10; ++N) File.ReadEntry(N, List[N - 1].Name, List[N - 1].Score, List[N - 1].Date, List[N - 1].Quintors);
  return List;
}

bool IsProfileSpace(QChar C) {
  return C == u' ' || C == u'\t' || C == u'\n' || C == u'\v' || C == u'\f' || C == u'\r' || C == u'\x1a';
}

// A text read, written back and read again: trimmed, one pair of quotes off.
QString Reread(QString Value) {
  while (!Value.isEmpty() && IsProfileSpace(Value.front())) Value.remove(0, 1);
  while (!Value.isEmpty() && IsProfileSpace(Value.back())) Value.chop(1);
  if (Value.size() >= 2 && (Value.front() == u'"' || Value.front() == u'\'') && Value.back() == Value.front())
    Value = Value.mid(1, Value.size() - 2);
  return Value;
}

bool Moved(const TEntry &Was, const TEntry &Is) {
  return Is.Score == Reread(Was.Score) && Is.Name == Reread(Was.Name) && Is.Date == Reread(Was.Date) &&
         Is.Quintors == Reread(Was.Quintors);
}

bool Same(const TEntry &A, const TEntry &B) {
  return A.Score == B.Score && A.Name == B.Name && A.Date == B.Date && A.Quintors == B.Quintors;
}

// The scores as numbers, highest first; false when one is not a number or
// they are out of order.
bool InOrder(const TList &List) {
  int Last = 0;
  for (std::size_t I = 0; I < List.size(); ++I) {
    int Score = 0;
    try {
      Score = StrToInt(List[I].Score);
    } catch (const EConvertError &) {
      return false;
    }
    if (I > 0 && Score > Last) return false;
    Last = Score;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size) {
  fuzz::TInput Input(Data, Size);
  const int Total = int(Input.Word() % 100000000);  // up to eight digits: a score reads back at most nine
  const int Quintors = Input.Byte();
  const QByteArray Original = Input.Rest();
  static const TTopTenFile File(fuzz::ScratchFolder() + QStringLiteral("/quintor"));
  fuzz::WriteFileBytes(File.GetFileName(), Original);

  const TList Before = ReadList(File);
  const QString Eleventh = GetPrivateProfileString(QStringLiteral("Top Ten Scores"), QStringLiteral("Score11"),
                                                   QStringLiteral("none"), 100, File.GetFileName());
  (void)File.GetTenthScore();
  int Place = 0;
  try {
    Place = const_cast<TTopTenFile &>(File).AddEntry(Total, QStringLiteral("Fuzz"), Quintors);
  } catch (const EConvertError &) {
    if (fuzz::ReadFileBytes(File.GetFileName()) != Original) fuzz::Fail("a failed placing changed the file");
    return 0;
  }
  if (Place < 1 || Place > 11) fuzz::Fail("a place outside 1 to 11", QString::number(Place));
  if (Place == 11) {
    if (fuzz::ReadFileBytes(File.GetFileName()) != Original) fuzz::Fail("a game that did not place changed the file");
    return 0;
  }

  const TList After = ReadList(File);
  for (int N = 1; N <= 10; ++N) {
    const TEntry &Is = After[N - 1];
    bool Ok = true;
    if (N < Place) Ok = Same(Before[N - 1], Is);
    else if (N == Place) Ok = Is.Score == QString::number(Total) && Is.Name == QStringLiteral("Fuzz") && Is.Quintors == QString::number(Quintors);
    else Ok = Moved(Before[N - 2], Is);
    if (!Ok)
      fuzz::Fail("an entry is not where it belongs",
                 QStringLiteral("place %1 of %2: %3|%4|%5|%6").arg(N).arg(Place).arg(Is.Score, Is.Name, Is.Date, Is.Quintors));
  }
  if (GetPrivateProfileString(QStringLiteral("Top Ten Scores"), QStringLiteral("Score11"), QStringLiteral("none"), 100,
                              File.GetFileName()) != Eleventh)
    fuzz::Fail("something was written past place ten");
  if (InOrder(Before) && !InOrder(After)) fuzz::Fail("a list in order is out of order after an entry");
  return 0;
}

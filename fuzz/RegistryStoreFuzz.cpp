// The settings store's parser on any bytes: it returns, and a tree it
// accepts, saved and parsed again, is the same tree (the same keys with the
// same values, of the same kinds); saving that tree gives the same bytes.

#include <QStringList>

#include "FuzzSupport.h"
#include "RegistryStore.h"

namespace {

QString Describe(const TRegistryValue &Value) {
  return QStringLiteral("%1=%2:%3:%4").arg(Value.Name).arg(int(Value.Kind)).arg(Value.Text).arg(Value.Dword);
}

// Keys and values in name order: the saved form may order them otherwise.
QString Differs(const TRegistryKey &A, const TRegistryKey &B, const QString &Path) {
  if (A.Name() != B.Name()) return Path + QStringLiteral(": key name ") + A.Name() + u'/' + B.Name();
  QStringList ValuesA, ValuesB;
  for (const TRegistryValue *Value : A.Values()) ValuesA << Describe(*Value);
  for (const TRegistryValue *Value : B.Values()) ValuesB << Describe(*Value);
  ValuesA.sort();
  ValuesB.sort();
  if (ValuesA != ValuesB) return Path + QStringLiteral(": values ") + ValuesA.join(u',') + u'/' + ValuesB.join(u',');
  const auto SubA = A.SubKeys(true), SubB = B.SubKeys(true);
  if (SubA.size() != SubB.size()) return Path + QStringLiteral(": number of sub-keys");
  for (std::size_t I = 0; I < SubA.size(); ++I)
    if (QString Found = Differs(*SubA[I], *SubB[I], Path + u'\\' + SubA[I]->Name()); !Found.isEmpty()) return Found;
  return QString();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size) {
  const QByteArray Bytes(reinterpret_cast<const char *>(Data), qsizetype(Size));
  const auto First = TRegistryTree::Parse(Bytes, TRegistryRoot::CurrentUser);
  if (!First) return 0;
  const QByteArray Saved = First->Serialize(TRegistryRoot::CurrentUser);
  QString Error;
  const auto Second = TRegistryTree::Parse(Saved, TRegistryRoot::CurrentUser, &Error);
  if (!Second) fuzz::Fail("a saved tree does not parse", Error + u'\n' + QString::fromUtf8(Saved));
  if (const QString Found = Differs(First->Root(), Second->Root(), QString()); !Found.isEmpty())
    fuzz::Fail("the tree changed on saving and parsing again", Found);
  if (!(*First == *Second)) fuzz::Fail("the trees compare unequal although nothing differs");
  if (Second->Serialize(TRegistryRoot::CurrentUser) != Saved) fuzz::Fail("saving the parsed tree again differs");
  return 0;
}

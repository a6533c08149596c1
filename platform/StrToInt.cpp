#include "StrToInt.h"

#include <cstdint>

namespace {
[[noreturn]] void Fail(const QString &S) {
  throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(S).toStdString());
}

int HexDigit(QChar C) {
  const char16_t U = C.unicode();
  if (U >= u'0' && U <= u'9') return U - u'0';
  if (U >= u'a' && U <= u'f') return U - u'a' + 10;
  if (U >= u'A' && U <= u'F') return U - u'A' + 10;
  return -1;
}
}  // namespace

int StrToInt(const QString &S) {
  qsizetype I = 0;
  const qsizetype N = S.size();
  while (I < N && S[I] == u' ') ++I;
  bool Negative = false;
  if (I < N && (S[I] == u'+' || S[I] == u'-')) {
    Negative = S[I] == u'-';
    ++I;
  }
  bool Hex = false;
  if (I < N && (S[I] == u'$' || S[I] == u'x' || S[I] == u'X')) {
    Hex = true;
    ++I;
  } else if (I + 1 < N && S[I] == u'0' && (S[I + 1] == u'x' || S[I + 1] == u'X')) {
    Hex = true;
    I += 2;
  }
  if (I == N) Fail(S);  // no digits at all

  // Accumulate in 64 bits and check the limit after every digit, so that a
  // long run of digits cannot wrap back into range.
  std::uint64_t Value = 0;
  const std::uint64_t Limit = Hex ? 0xFFFFFFFFull : (Negative ? 0x80000000ull : 0x7FFFFFFFull);
  for (; I < N; ++I) {
    const int D = Hex ? HexDigit(S[I]) : (S[I] >= u'0' && S[I] <= u'9' ? S[I].unicode() - u'0' : -1);
    if (D < 0) Fail(S);
    Value = Value * (Hex ? 16 : 10) + std::uint64_t(D);
    if (Value > Limit) Fail(S);
  }
  const auto Bits = std::uint32_t(Value);
  return int(Negative ? std::uint32_t(0u - Bits) : Bits);
}

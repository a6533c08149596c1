#pragma once

#include <QString>
#include <stdexcept>

// The conversion error of the strict integer conversion. Its text names the
// input exactly as it was given.
class EConvertError : public std::runtime_error {
 public:
  explicit EConvertError(const std::string &Message) : std::runtime_error(Message) {}
};

// The whole of S as a signed 32-bit integer: leading spaces (only U+0020),
// an optional sign, then decimal digits or hex digits after "$", "0x", "0X",
// "x" or "X". Decimal must fit the signed range; hex may use all 32 bits and
// is read as the signed value of that bit pattern. Anything else raises
// EConvertError "'<S>' is not a valid integer value".
int StrToInt(const QString &S);

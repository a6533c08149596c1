#include "NumberEdit.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

TNumberEdit::TNumberEdit(QWidget *Owner) : QLineEdit(Owner) {
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  connect(this, &QLineEdit::textChanged, this, &TNumberEdit::FitLimit);
}

// QLineEdit cuts any text to its limit, so the limit it enforces is never
// below the text's length: the user cannot lengthen a longer text, and the
// limit falls back as the text gets shorter.
void TNumberEdit::FitLimit() { QLineEdit::setMaxLength(std::max(FMaxLength, int(text().size()))); }

void TNumberEdit::setMaxLength(int Length) {
  FMaxLength = std::clamp(Length, 0, 32767);
  FitLimit();
}

bool TNumberEdit::Validate() const { return ParseNumber(text()).has_value(); }

float TNumberEdit::GetValue() const { return ToValue(text()); }

void TNumberEdit::SetValue(float Value) {
  const QString Text = FormatValue(Value);
  QLineEdit::setMaxLength(std::max(FMaxLength, int(Text.size())));
  setText(Text);
}

float TNumberEdit::Narrow(double Value) {
  // Half a unit in the last place above the largest float: from there on a
  // double rounds to infinity. Narrowing such a double is undefined, and one
  // between the two is rounded down here by hand.
  constexpr double Largest = std::numeric_limits<float>::max(), Infinite = std::numeric_limits<float>::infinity();
  constexpr double RoundsToInfinity = 0x1.ffffffp127;
  if (std::isnan(Value)) return float(Value);
  if (std::fabs(Value) >= RoundsToInfinity) return Value < 0 ? -Infinite : Infinite;
  return float(std::clamp(Value, -Largest, Largest));
}

float TNumberEdit::ToValue(const QString &Text) {
  const std::optional<double> Number = ParseNumber(Text);
  if (!Number) return 0.0f;
  const float Value = Narrow(*Number);
  return std::isinf(Value) ? 0.0f : Value;
}

QString TNumberEdit::FormatValue(float Value) {
  if (std::isnan(Value)) return QStringLiteral("NAN");
  if (std::isinf(Value)) return Value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
  if (Value == 0.0f) return QStringLiteral("0");

  // d.dddddde±x: the value correctly rounded to 7 significant digits.
  char Buffer[32];
  const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, std::fabs(double(Value)),
                                    std::chars_format::scientific, 6);
  const std::string Scientific(Buffer, Result.ptr);
  const std::size_t EPos = Scientific.find('e');
  std::string Digits = Scientific.substr(0, 1) + Scientific.substr(2, EPos - 2);
  const int Exponent = std::atoi(Scientific.c_str() + EPos + 1);
  while (Digits.size() > 1 && Digits.back() == '0') Digits.pop_back();

  const QString Point = QLocale().decimalPoint();
  QString Text = Value < 0 ? QStringLiteral("-") : QString();
  if (Exponent < -4 || Exponent >= 7) {
    Text += QLatin1Char(Digits[0]);
    if (Digits.size() > 1) Text += Point + QString::fromLatin1(Digits.substr(1));
    Text += (Exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+")) + QString::number(std::abs(Exponent));
  } else if (Exponent < 0) {
    Text += QLatin1Char('0') + Point + QString(-Exponent - 1, u'0') + QString::fromLatin1(Digits);
  } else {
    const std::size_t Whole = std::size_t(Exponent) + 1;
    if (Digits.size() <= Whole) {
      Text += QString::fromLatin1(Digits) + QString(qsizetype(Whole - Digits.size()), u'0');
    } else {
      Text += QString::fromLatin1(Digits.substr(0, Whole)) + Point + QString::fromLatin1(Digits.substr(Whole));
    }
  }
  return Text;
}

std::optional<double> TNumberEdit::ParseNumber(const QString &Text) {
  const QString Point = QLocale().decimalPoint();
  const QString Trimmed = Text.trimmed();
  // Rewritten with "." for the conversion, which knows no locale.
  std::string Plain;
  qsizetype I = 0;
  const auto IsDigit = [&](qsizetype At) { return At < Trimmed.size() && Trimmed[At] >= u'0' && Trimmed[At] <= u'9'; };

  if (I < Trimmed.size() && (Trimmed[I] == u'+' || Trimmed[I] == u'-')) {
    if (Trimmed[I] == u'-') Plain += '-';
    ++I;
  }
  int MantissaDigits = 0;
  bool HavePoint = false;
  while (I < Trimmed.size()) {
    if (IsDigit(I)) {
      Plain += char(Trimmed[I].unicode());
      ++MantissaDigits;
      ++I;
    } else if (!HavePoint && !Point.isEmpty() && Trimmed.mid(I, Point.size()) == Point) {
      Plain += '.';
      HavePoint = true;
      I += Point.size();
    } else {
      break;
    }
  }
  if (MantissaDigits == 0) return std::nullopt;
  if (I < Trimmed.size() && (Trimmed[I] == u'e' || Trimmed[I] == u'E')) {
    Plain += 'e';
    ++I;
    if (I < Trimmed.size() && (Trimmed[I] == u'+' || Trimmed[I] == u'-')) Plain += char(Trimmed[I++].unicode());
    if (!IsDigit(I)) return std::nullopt;
    while (IsDigit(I)) Plain += char(Trimmed[I++].unicode());
  }
  if (I != Trimmed.size()) return std::nullopt;

  double Number = 0;
  const auto [End, Error] = std::from_chars(Plain.data(), Plain.data() + Plain.size(), Number);
  if (Error != std::errc() || End != Plain.data() + Plain.size() || !std::isfinite(Number)) return std::nullopt;
  return Number;
}

#pragma once

// A one-line edit for a number: its content is the single-precision Value,
// shown right-aligned. Reading Value converts the text as it stands; text that
// is not a number reads as 0, and is left as typed (nothing is reported, the
// text is never corrected). Writing Value replaces the text with the number in
// the general format of 7 significant digits. Both use the user's decimal
// separator (QLocale()).
//
// From code:
//
//   auto *Width = new TNumberEdit(Window);
//   Width->SetValue(2.5f);                 // shows "2.5" (or "2,5")
//   if (Width->Validate()) Use(Width->GetValue());
//
// Design notes and a Qt Designer form: docs/components.md, section "NumberEdit".

#include <QLineEdit>
#include <optional>

#include "Component.h"

class TNumberEdit : public QLineEdit, public TJComponent {
  Q_OBJECT
  // Qt Designer edits and saves double properties, not float ones: a form
  // holds Value as a double, narrowed to single precision when it is set.
  Q_PROPERTY(double Value READ GetFormValue WRITE SetFormValue)
  Q_PROPERTY(TNumberType NumberType MEMBER NumberType)
  Q_PROPERTY(QString text READ text WRITE setText DESIGNABLE false STORED false)
  Q_PROPERTY(int maxLength READ maxLength WRITE setMaxLength)

 public:
  enum TNumberType : unsigned char { ntInteger, ntFloat };
  Q_ENUM(TNumberType)

  explicit TNumberEdit(QWidget *Owner = nullptr);

  TNumberType NumberType = ntInteger;
  void setNumberType(TNumberType Value) { NumberType = Value; }

  // Whether the text is a number. Changes nothing.
  bool Validate() const;
  // The text as a number narrowed to single precision; 0 when it is none.
  float GetValue() const;
  void SetValue(float Value);
  void setValue(float Value) { SetValue(Value); }

  // The two conversions, with the user's decimal separator.
  static QString FormatValue(float Value);
  static std::optional<double> ParseNumber(const QString &Text);
  // Text as a Value: 0 for text that is not a number or is out of range.
  static float ToValue(const QString &Text);
  // Value rounded to single precision: infinity only beyond what rounds to
  // the largest float (3.4028235e38 is that number, not infinity).
  static float Narrow(double Value);

  // The limit of what the user types. A Value written is shown whole: while
  // the text is longer than the limit, typing cannot lengthen it.
  int maxLength() const { return FMaxLength; }
  void setMaxLength(int Length);

 private:
  double GetFormValue() const { return GetValue(); }
  void SetFormValue(double Value) { SetValue(Narrow(Value)); }
  void FitLimit();

  int FMaxLength = 32767;
};

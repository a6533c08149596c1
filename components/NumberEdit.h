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
// In a Qt Designer form (the edit has no Loaded step, so LoadComponents is not
// needed for it):
//
//   <widget class="TNumberEdit" name="NumberEdit1">
//    <property name="Value">
//     <double>2.5</double>
//    </property>
//    <property name="NumberType">
//     <enum>TNumberEdit::ntFloat</enum>
//    </property>
//   </widget>
//   ...
//   <customwidgets>
//    <customwidget>
//     <class>TNumberEdit</class>
//     <extends>QLineEdit</extends>
//     <header>NumberEdit.h</header>
//    </customwidget>
//   </customwidgets>
//
// A form stores the number through Value; the edit's text is not offered to
// Designer. uic writes a property as a call of "set" and its name (setValue),
// so each property has such a writer beside the one the library names.
//
// The text Value is written as:
// - the shortest form with 7 significant digits, correctly rounded: no
//   trailing zeros, no decimal separator without digits after it, "-" before
//   a negative number, and 0 (also minus zero) as "0";
// - in the exponent form when its magnitude rounded to 7 digits is 10000000
//   or more, or less than 0.0001 (the rule of C's "%.7g"), spelled with a
//   capital E, the exponent's sign always and no leading zeros in the
//   exponent: 12345678 is "1.234568E+7", 0.00001 is "1E-5", 0.0001 "0.0001";
// - a value that is not a finite number as "NAN", "INF" or "-INF" (which then
//   reads back as not a number).
//
// A text is a number when, after any leading and trailing white space, it is
// an optional "+" or "-", the digits 0 to 9 with at most one decimal
// separator (at least one digit in all), and an optional exponent: "E" or
// "e", an optional sign, and digits. Group separators, infinity and NaN in
// any spelling, and numbers beyond the range of double are not numbers. A
// number beyond the range of single precision (a magnitude that does not
// round to at most 3.4028235E+38) cannot be a Value: GetValue gives 0 for it, as for any failure.
//
// NumberType (integer or floating point) is kept with the form; nothing in
// the edit depends on it.
//
// Qt mapping: a QLineEdit right-aligned (and vertically centred) from its
// construction; a later setAlignment is the caller's to make. The edit's
// change event is QLineEdit's textChanged.

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

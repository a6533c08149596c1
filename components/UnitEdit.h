#pragma once

// A number edit with the unit of measure to its right ("mm", "kg"): a
// TNumberEdit (the edit part) and a QLabel (the unit part), each with its own
// background colour. The unit part's colour is also the unit edit's own, so
// the strip around the unit matches it.
//
// The two parts are made once, from the width the unit edit has then, by
// whichever comes first: Loaded (LoadComponents after setupUi) or the first
// showing. For a width W the edit part lies at (0, 0) and is W - 30 by 20
// pixels; the unit part lies at (W - 28, 2) and is 30 by 18, so it reaches 2
// pixels beyond the right edge and leaves a gap of 2 after the edit part.
// Nothing moves the parts when the unit edit is resized later: give it its
// width before it is loaded or shown. A new unit edit is 100 by 20 pixels.
//
// From code:
//
//   auto *Length = new TUnitEdit(Window);
//   Length->setGeometry(10, 10, 120, 20);
//   Length->SetUnit("mm");
//   Length->SetValue(2.5f);
//   Length->show();                        // makes the parts
//   float Millimetres = Length->GetValue();
//
// Design notes and a Qt Designer form: docs/components.md, section "UnitEdit".

#include <QPointer>
#include <QWidget>
#include <optional>

#include "Component.h"

class QLabel;
class TNumberEdit;

class TUnitEdit : public QWidget, public TJComponent {
  Q_OBJECT
  Q_PROPERTY(QString Unit READ GetUnit WRITE SetUnit)
  // Qt Designer edits and saves double properties, not float ones: a form
  // holds Value as a double, narrowed to single precision when it is set.
  Q_PROPERTY(double Value READ GetFormValue WRITE SetFormValue)
  Q_PROPERTY(QColor EditColor READ GetEditColor WRITE SetEditColor RESET ResetEditColor)
  Q_PROPERTY(QColor UnitColor READ GetUnitColor WRITE SetUnitColor RESET ResetUnitColor)

 public:
  explicit TUnitEdit(QWidget *Owner = nullptr);

  // The parts; null until they are made.
  TNumberEdit *Edit() const;
  QLabel *UnitPart() const;

  QString GetUnit() const { return FUnit; }
  void SetUnit(const QString &Value);
  void setUnit(const QString &Value) { SetUnit(Value); }

  float GetValue() const;
  void SetValue(float Value);
  void setValue(float Value) { SetValue(Value); }

  QColor GetEditColor() const;
  void SetEditColor(const QColor &Value);
  void setEditColor(const QColor &Value) { SetEditColor(Value); }
  void ResetEditColor();

  QColor GetUnitColor() const;
  void SetUnitColor(const QColor &Value);
  void setUnitColor(const QColor &Value) { SetUnitColor(Value); }
  void ResetUnitColor();

  // Makes the parts unless they have been made.
  void Loaded() override;
  // Shows the unit edit, the edit part and then the unit part.
  void Show();

 protected:
  void showEvent(QShowEvent *Event) override;
  void paintEvent(QPaintEvent *Event) override;

 private:
  double GetFormValue() const { return GetValue(); }
  void SetFormValue(double Value);
  void CreateParts();
  void ApplyEditColor();
  void ApplyUnitColor();

  QPointer<TNumberEdit> FEdit;
  QPointer<QLabel> FUnitPart;
  bool FPartsMade = false;
  QString FUnit;
  std::optional<float> FHeldValue;
  std::optional<QColor> FEditColor;
  std::optional<QColor> FUnitColor;
};

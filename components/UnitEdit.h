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
// In a Qt Designer form (call LoadComponents(form) right after setupUi, which
// makes the parts at the width the form gave):
//
//   <widget class="TUnitEdit" name="UnitEdit1">
//    <property name="geometry">
//     <rect><x>10</x><y>10</y><width>100</width><height>20</height></rect>
//    </property>
//    <property name="Unit">
//     <string>mm</string>
//    </property>
//    <property name="Value">
//     <double>2.5</double>
//    </property>
//    <property name="UnitColor">
//     <color><red>255</red><green>255</green><blue>224</blue></color>
//    </property>
//   </widget>
//   ...
//   <customwidgets>
//    <customwidget>
//     <class>TUnitEdit</class>
//     <extends>QWidget</extends>
//     <header>UnitEdit.h</header>
//    </customwidget>
//   </customwidgets>
//
// uic writes a property as a call of "set" and its name (setUnit), so each
// property has such a writer beside the one the library names (SetUnit).
//
// Properties written before the parts exist (as a form's are) are held and
// applied when the parts are made: the unit text, the last Value written and
// both colours. Until then Value reads what the edit part will show for it.
//
// Qt mapping: the unit edit is a QWidget; "made when first shown" stands for
// the desktop's window creation. EditColor is the edit part's palette Base
// (the window colour), UnitColor the palette's Button (the button face).
// Until a colour is written each follows its palette role, so a palette
// change moves it; ResetEditColor and ResetUnitColor return to that. The
// unit edit hands the keyboard focus to its edit part.

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

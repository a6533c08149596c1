#include "UnitEdit.h"

#include <QLabel>
#include <QPainter>

#include "NumberEdit.h"

TUnitEdit::TUnitEdit(QWidget *Owner) : QWidget(Owner) { resize(100, 20); }

TNumberEdit *TUnitEdit::Edit() const { return FEdit; }

QLabel *TUnitEdit::UnitPart() const { return FUnitPart; }

void TUnitEdit::SetFormValue(double Value) { SetValue(TNumberEdit::Narrow(Value)); }

void TUnitEdit::CreateParts() {
  if (FPartsMade) return;
  FPartsMade = true;
  const int W = width();

  FEdit = new TNumberEdit(this);
  FEdit->setGeometry(0, 0, W - 30, 20);
  if (FHeldValue) FEdit->SetValue(*FHeldValue);
  FHeldValue.reset();
  setFocusProxy(FEdit);
  FEdit->setAccessibleDescription(FUnit);  // a screen reader says the unit after the number

  FUnitPart = new QLabel(this);
  FUnitPart->setGeometry(W - 28, 2, 30, 18);
  FUnitPart->setBackgroundRole(QPalette::Button);
  FUnitPart->setAutoFillBackground(true);
  FUnitPart->setText(FUnit);

  ApplyEditColor();
  ApplyUnitColor();
}

void TUnitEdit::Loaded() {
  TJComponent::Loaded();
  CreateParts();
}

void TUnitEdit::showEvent(QShowEvent *Event) {
  QWidget::showEvent(Event);
  if (FPartsMade) return;
  // Children made now come too late for the showing that is under way.
  CreateParts();
  FEdit->show();
  FUnitPart->show();
}

void TUnitEdit::Show() {
  show();
  if (FEdit) FEdit->show();
  if (FUnitPart) FUnitPart->show();
}

void TUnitEdit::paintEvent(QPaintEvent *) {
  QPainter Canvas(this);
  Canvas.fillRect(rect(), GetUnitColor());
}

void TUnitEdit::SetUnit(const QString &Value) {
  if (FUnitPart) FUnitPart->setText(Value);
  if (FEdit) FEdit->setAccessibleDescription(Value);
  FUnit = Value;
}

float TUnitEdit::GetValue() const {
  if (FEdit) return FEdit->GetValue();
  return FHeldValue ? TNumberEdit::ToValue(TNumberEdit::FormatValue(*FHeldValue)) : 0.0f;
}

void TUnitEdit::SetValue(float Value) {
  if (FEdit)
    FEdit->SetValue(Value);
  else if (!FPartsMade)
    FHeldValue = Value;
}

QColor TUnitEdit::GetEditColor() const {
  if (FEditColor) return *FEditColor;
  return (FEdit ? FEdit->palette() : palette()).color(QPalette::Base);
}

void TUnitEdit::SetEditColor(const QColor &Value) {
  FEditColor = Value;
  ApplyEditColor();
}

void TUnitEdit::ResetEditColor() {
  FEditColor.reset();
  ApplyEditColor();
}

void TUnitEdit::ApplyEditColor() {
  if (!FEdit) return;
  if (!FEditColor) {
    FEdit->setPalette(QPalette());  // the part's palette follows the unit edit's again
    return;
  }
  QPalette Colours = FEdit->palette();
  Colours.setColor(QPalette::Base, *FEditColor);
  FEdit->setPalette(Colours);
}

QColor TUnitEdit::GetUnitColor() const { return FUnitColor ? *FUnitColor : palette().color(QPalette::Button); }

void TUnitEdit::SetUnitColor(const QColor &Value) {
  FUnitColor = Value;
  ApplyUnitColor();
}

void TUnitEdit::ResetUnitColor() {
  FUnitColor.reset();
  ApplyUnitColor();
}

void TUnitEdit::ApplyUnitColor() {
  update();
  if (!FUnitPart) return;
  if (!FUnitColor) {
    FUnitPart->setPalette(QPalette());
    return;
  }
  QPalette Colours = FUnitPart->palette();
  Colours.setColor(QPalette::Button, *FUnitColor);
  FUnitPart->setPalette(Colours);
}

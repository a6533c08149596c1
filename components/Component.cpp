#include "Component.h"

#include <QObject>
#include <vector>

bool InStateSet(const TComponentState *Set, int Element) {
  if (Element < 0 || Element > 7) return false;
  return (*Set >> Element) & 1u;
}

void TJComponent::Include(int Element) {
  if (Element >= 0 && Element <= 7) ComponentState |= TComponentState(1u << Element);
}

void TJComponent::Exclude(int Element) {
  if (Element >= 0 && Element <= 7) ComponentState &= TComponentState(~(1u << Element));
}

void TJComponent::Loaded() { Exclude(csLoading); }

void LoadComponents(QObject *Form) {
  std::vector<TJComponent *> Components;
  if (auto *Own = dynamic_cast<TJComponent *>(Form)) Components.push_back(Own);
  for (QObject *Child : Form->findChildren<QObject *>())
    if (auto *Component = dynamic_cast<TJComponent *>(Child)) Components.push_back(Component);
  for (TJComponent *Component : Components) Component->Include(csLoading);
  for (TJComponent *Component : Components) Component->Loaded();
}

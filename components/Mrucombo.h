#pragma once

// An editable combo box that remembers the texts typed into it across runs,
// under the registry key of its Storage: "Count" (an integer, at most 10)
// and the texts "0", "1", ... in list order.
//
// In a Qt Designer form (the form's Loaded must then run through
// LoadComponents(form) right after setupUi):
//
//   <widget class="TMRUCombo" name="MRUCombo1">
//    <property name="StorageKey" stdset="0">
//     <string>Software\Numbrook Software\Quintor\MRU</string>
//    </property>
//    <property name="StorageRegistryRootKey" stdset="0">
//     <enum>JStore::atrkCurrentUser</enum>
//    </property>
//    <property name="ItemHeight" stdset="0">
//     <number>14</number>
//    </property>
//    <property name="ShowLatest" stdset="0">
//     <bool>false</bool>
//    </property>
//   </widget>
//   ...
//   <customwidgets>
//    <customwidget>
//     <class>TMRUCombo</class>
//     <extends>QComboBox</extends>
//     <header>Mrucombo.h</header>
//    </customwidget>
//   </customwidgets>
//
// StorageRegistryRootKey is a TJStorageRootKey, by name (as Qt Designer
// writes it) or by ordinal (<number>2</number>: the current user, which is
// also the default).

#include <QComboBox>
#include <memory>

#include "Component.h"
#include "JStore.h"

class TMRUCombo : public QComboBox, public TJComponent {
  Q_OBJECT
  Q_PROPERTY(QString StorageKey READ StorageKey WRITE SetStorageKey)
  Q_PROPERTY(JStore::TJStorageRootKey StorageRegistryRootKey READ StorageRegistryRootKey WRITE SetStorageRegistryRootKey)
  Q_PROPERTY(bool ShowLatest MEMBER ShowLatest)
  Q_PROPERTY(int ItemHeight READ GetItemHeight WRITE SetItemHeight)

 public:
  explicit TMRUCombo(QWidget *Owner = nullptr);
  ~TMRUCombo() override;

  TJStorage *Storage() const { return FStorage.get(); }

  // Reads the history: the first saved text goes into the text field, the
  // non-empty ones into the list. Never fails; an error keeps what was read.
  void Loaded() override;
  // Appends the current text unless the list already holds it (in any
  // letter case) and saves the first ten texts. Errors of Storage (a blank
  // Key) pass to the caller.
  void UpdateList();

  // The index of the first item equal to Text apart from letter case (the
  // whole text, no trimming); -1 when there is none. Empty text is never found.
  int FindStringExact(const QString &Text) const;

  // The height in pixels of each row of the drop-down list; 0 leaves it to
  // the style.
  int GetItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);

  // Kept with the form layout; nothing depends on it.
  bool ShowLatest = false;

  static constexpr int MaxSaved = 10;

 private:
  QString StorageKey() const;
  void SetStorageKey(const QString &Value);
  TJStorageRootKey StorageRegistryRootKey() const;
  void SetStorageRegistryRootKey(TJStorageRootKey Value);

  std::unique_ptr<TJStorage> FStorage;
  int FItemHeight = 0;
};

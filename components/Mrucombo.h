#pragma once

// An editable combo box that remembers the texts typed into it across runs,
// under the registry key of its Storage: "Count" (an integer, at most 10)
// and the texts "0", "1", ... in list order.
//
// From code:
//
//   auto *Name = new TMRUCombo(Dialog);
//   Name->Storage()->SetKey("Software\\My Company\\My Game\\Names");
//   LoadComponents(Name);              // Loaded: reads the stored names
//   ...
//   Name->UpdateList();                // once the user has typed a name: saved on top
//
// Design notes and a Qt Designer form: docs/components.md, section "Mrucombo".

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

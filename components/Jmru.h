#pragma once

// A most-recently-used list for menus: a short list of strings the user has
// used lately (as a rule the full paths of documents), shown as numbered
// items of a menu, a click on one of them reported through OnSelect, and the
// list kept across runs under the registry key of its Storage: "Count" (an
// integer) and the texts "0", "1", ... in list order, "0" first.
//
// From code:
//
//   auto *Recent = new TJMostRecentlyUsedList(MainWindow);   // freed with it
//   Recent->Storage()->SetKey("Software\\My Company\\My Editor\\Recent");
//   Recent->RootMenuItem = FileMenu->addMenu("&Reopen")->menuAction();
//   Recent->OnSelect = [](TJMostRecentlyUsedList *, const QString &Path, bool &AOpened) {
//     AOpened = OpenDocument(Path);   // false: the entry stays in the list
//     return 0;
//   };
//   Recent->Loaded();                 // reads the stored list, fills the menu
//   ...
//   Recent->Used(Path);               // whenever a document has been used
//
// Design notes and a Qt Designer form: docs/components.md, section "Jmru".

#include <QAction>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "Component.h"
#include "JStore.h"

class QWidget;

enum TJMRUSortKind : std::uint8_t {
  skName = 0,        // entries in name order
  skMostRecent = 1,  // most recently used first
};

enum TJMRUMenuKind : std::uint8_t {
  mkInsertBefore = 0,         // the entries stand directly above the root item
  mkInsertAfter = 1,          // ... directly below it
  mkInsertWithSeparator = 2,  // ... below a separator that follows it
  mkSubMenu = 3,              // the entries are the first items of the root's submenu
};

class TJMostRecentlyUsedList;

using TJNotifyEvent = std::function<void(TJMostRecentlyUsedList *Sender)>;
// AOpened is true on entry; the handler sets it false when it could not use
// the entry. The result is ignored.
using TJMRUSelectEvent = std::function<int(TJMostRecentlyUsedList *Sender, const QString &AItem, bool &AOpened)>;

Q_DECLARE_METATYPE(TJNotifyEvent)
Q_DECLARE_METATYPE(TJMRUSelectEvent)

class TJMostRecentlyUsedList : public QObject, public TJComponent {
  Q_OBJECT
  Q_PROPERTY(TJStorage *Storage READ Storage CONSTANT)
  Q_PROPERTY(bool AutoSave MEMBER AutoSave)
  Q_PROPERTY(bool HideInUse MEMBER HideInUse)
  Q_PROPERTY(bool NumberAccelerators MEMBER NumberAccelerators)
  Q_PROPERTY(uint NumberOffset MEMBER NumberOffset)
  Q_PROPERTY(int SortBy READ SortByOrdinal WRITE SetSortByOrdinal)
  Q_PROPERTY(uint MaxItems MEMBER MaxItems)
  Q_PROPERTY(int MenuKind READ MenuKindOrdinal WRITE SetMenuKindOrdinal)
  Q_PROPERTY(QAction *RootMenuItem READ GetRootMenuItem WRITE SetRootMenuItem)
  Q_PROPERTY(TJNotifyEvent OnChange READ GetOnChange WRITE SetOnChange)
  Q_PROPERTY(TJMRUSelectEvent OnSelect READ GetOnSelect WRITE SetOnSelect)

 public:
  explicit TJMostRecentlyUsedList(QObject *Owner = nullptr);
  // Saves (AutoSave, not designing; a failure of the store is dropped here,
  // as a destructor has nobody to report it to), then frees the entries'
  // actions and the separator.
  ~TJMostRecentlyUsedList() override;

  // The base Loaded, then Init outside design mode.
  void Loaded() override;

  // Adds s on top (skMostRecent) or at its place in name order (skName); an
  // entry equal to s (IndexOf) is brought to the top instead, keeping its
  // own letter case. The empty string changes nothing. Trims to MaxItems.
  void Add(const QString &s);
  // Removes the entry equal to s and frees its action; nothing without one.
  void Delete(const QString &s);
  // Frees every entry's action and empties the list.
  void Clear();
  // Moves the entry equal to s to the top; does nothing in skName order.
  // Raises "Cannot move <s> to top of MRU - it is not in the MRU" without one.
  void BringToTop(const QString &s);
  // Whether s was listed already; brings it to the top or adds it. The call
  // to make when the user has just used s.
  bool Used(const QString &s);
  // With HideInUse, takes s out of the list while it is open.
  void InUse(const QString &s);
  int IndexOf(const QString &s) const;
  // The entry at Index; raises "List index out of bounds (<Index>)" when
  // there is none.
  QString GetItem(int Index) const;
  int GetCount() const { return int(FItems.size()); }
  // The action of the entry equal to s, or nullptr.
  QAction *GetMenuItem(const QString &s) const;
  // Replaces Dest's contents with the entries in list order.
  void CopyItems(QStringList &Dest) const;

  // Reads the list from Storage (a blank Key: the list is just emptied): the
  // values "Count-1" down to "0" that exist, each added in turn, in time
  // bounded by what the key holds whatever its Count. Everything is read
  // before the list changes, so an OnChange handler may Save.
  void Load();
  // Writes the list to Storage, replacing what the key held (a blank Key:
  // nothing is written).
  void Save();

  // Sets the captions and places the entries' actions by MenuKind, giving an
  // action to every entry without one (added while no root was set, or its
  // action deleted elsewhere).
  void RefreshMenu();
  // Drops the entries past MaxItems, the front of the list staying.
  void TrimList();
  // Brings the menu in line with the entries and fires OnChange (not while
  // loading).
  virtual void DoChange();
  // Removes the separator and gives RootMenuItem back the application's root.
  void KillSeparator();
  // Under mkInsertWithSeparator, puts the separator directly below the root
  // and lets it stand in for the root.
  void ShowSeparator();
  // A new action owned by the list, with an empty caption and HandleMenuClick
  // on its triggered signal.
  QAction *MakeMenuItem(const QString &s);
  // Places src at Index among the children of dest (AsChild: of dest's
  // submenu) or of dest's parent. An action already there is moved, Index
  // clamped to the first and last positions; another one is inserted at
  // Index, or appended when Index is past the end.
  void AddAt(int Index, QAction *src, QAction *dest, bool AsChild);
  // Places src directly below dest in dest's parent.
  void AddAfter(QAction *src, QAction *dest);
  // The entry whose action is MenuItem, or the empty string.
  QString ItemByMenu(const QObject *MenuItem) const;
  // The handler of every entry's action; Sender is the clicked action.
  void HandleMenuClick(QObject *Sender);

  TJStorage *Storage() const { return FStorage.get(); }
  TJMRUSortKind SortBy() const { return FSortBy; }
  void SetSortBy(TJMRUSortKind Kind);
  TJMRUMenuKind MenuKind() const { return FMenuKind; }
  void SetMenuKind(TJMRUMenuKind Kind);

  // Plain stores: menus and captions follow at the next change of the list.
  bool AutoSave = true;
  bool HideInUse = true;
  bool NumberAccelerators = true;
  quint32 NumberOffset = 0;
  quint32 MaxItems = 10;
  // Not owned. While the separator is shown it holds the separator.
  QPointer<QAction> RootMenuItem;
  TJNotifyEvent OnChange;
  TJMRUSelectEvent OnSelect;

  static constexpr char AcceleratorTable[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

 private:
  struct TEntry {
    QString Text;
    QPointer<QAction> Item;
  };

  void Init();
  void Insert(int Index, TEntry Entry);
  void FreeItem(QAction *Item);
  void SortByName();
  int NamePlace(const QString &s) const;
  QString Caption(int Position, const QString &Entry) const;
  int PositionIn(QWidget *Parent, QAction *Action) const;
  void MoveTo(QWidget *Parent, QAction *Action, int Index);
  void InsertInto(QWidget *Parent, QAction *Action, int Index);
  bool Designing() const { return InState(csDesigning); }

  int SortByOrdinal() const { return FSortBy; }
  void SetSortByOrdinal(int Value);
  int MenuKindOrdinal() const { return FMenuKind; }
  void SetMenuKindOrdinal(int Value);
  QAction *GetRootMenuItem() const { return RootMenuItem; }
  void SetRootMenuItem(QAction *Value) { RootMenuItem = Value; }
  TJNotifyEvent GetOnChange() const { return OnChange; }
  void SetOnChange(const TJNotifyEvent &Value) { OnChange = Value; }
  TJMRUSelectEvent GetOnSelect() const { return OnSelect; }
  void SetOnSelect(const TJMRUSelectEvent &Value) { OnSelect = Value; }

  std::vector<TEntry> FItems;
  std::unique_ptr<TJStorage> FStorage;
  TJMRUSortKind FSortBy = skMostRecent;
  TJMRUMenuKind FMenuKind = mkSubMenu;
  QPointer<QAction> FSeparator;
  QPointer<QAction> FSavedRootMenuItem;
  bool FRootDisabled = false;
  bool FNameOrdered = false;  // the entries are kept in name order
  QAction *FClicked = nullptr;  // the action whose click is being handled
};

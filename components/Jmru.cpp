#include "Jmru.h"

#include <QAction>
#include <QCollator>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

#include "JError.h"

namespace {

// Closes the storage when the batch is left, unless it was open before.
struct TCloseGuard {
  TJStorage &Storage;
  bool WasOpen;
  ~TCloseGuard() {
    if (!WasOpen) Storage.Close();
  }
};

// The handler's nesting of clicks, undone however the handler is left.
struct TClickScope {
  QAction *&Slot;
  QAction *Saved;
  TClickScope(QAction *&Slot, QAction *Clicked) : Slot(Slot), Saved(Slot) { Slot = Clicked; }
  ~TClickScope() { Slot = Saved; }
};

char16_t FoldAscii(char16_t C) { return C >= u'a' && C <= u'z' ? char16_t(C - (u'a' - u'A')) : C; }

// Equal once the ASCII letters are folded; no other character, no locale.
bool SameFolded(const QString &A, const QString &B) {
  if (A.size() != B.size()) return false;
  for (qsizetype I = 0; I < A.size(); ++I)
    if (FoldAscii(A[I].unicode()) != FoldAscii(B[I].unicode())) return false;
  return true;
}

QCollator NameCollator() {
  QCollator Collator{QLocale()};
  Collator.setCaseSensitivity(Qt::CaseInsensitive);
  return Collator;
}

bool IsMenuWidget(QObject *Object) { return qobject_cast<QMenu *>(Object) || qobject_cast<QMenuBar *>(Object); }

// The menu an action stands in, or nullptr.
QWidget *ParentOf(QAction *Action) {
  for (QObject *Object : Action->associatedObjects())
    if (IsMenuWidget(Object)) return static_cast<QWidget *>(Object);
  return nullptr;
}

// Takes Action out of every menu that holds it.
void TakeOutOfMenus(QAction *Action, QWidget *Except = nullptr) {
  const QList<QObject *> Holders = Action->associatedObjects();
  for (QObject *Object : Holders)
    if (Object != Except && IsMenuWidget(Object)) static_cast<QWidget *>(Object)->removeAction(Action);
}

}  // namespace

TJMostRecentlyUsedList::TJMostRecentlyUsedList(QObject *Owner)
    : QObject(Owner), FStorage(std::make_unique<TJStorage>()) {
  FStorage->OwnerComponent = this;
}

TJMostRecentlyUsedList::~TJMostRecentlyUsedList() {
  Include(csDestroying);
  if (AutoSave && !Designing()) {
    try {
      Save();
    } catch (const std::exception &) {
    }
  }
  Clear();
  KillSeparator();
  FStorage.reset();
}

void TJMostRecentlyUsedList::Loaded() {
  TJComponent::Loaded();
  if (!Designing()) Init();
}

void TJMostRecentlyUsedList::Init() {
  if (AutoSave) Load();
  DoChange();
}

// --- the entries ---

int TJMostRecentlyUsedList::IndexOf(const QString &s) const {
  for (std::size_t I = 0; I < FItems.size(); ++I)
    if (SameFolded(FItems[I].Text, s)) return int(I);
  return -1;
}

int TJMostRecentlyUsedList::NamePlace(const QString &s) const {
  const QCollator Collator = NameCollator();
  std::size_t I = 0;
  while (I < FItems.size() && Collator.compare(FItems[I].Text, s) <= 0) ++I;
  return int(I);
}

void TJMostRecentlyUsedList::SortByName() {
  const QCollator Collator = NameCollator();
  std::stable_sort(FItems.begin(), FItems.end(),
                   [&](const TEntry &A, const TEntry &B) { return Collator.compare(A.Text, B.Text) < 0; });
}

void TJMostRecentlyUsedList::Insert(int Index, TEntry Entry) {
  FItems.insert(FItems.begin() + Index, std::move(Entry));
}

void TJMostRecentlyUsedList::FreeItem(QAction *Item) {
  if (!Item) return;
  if (Item == FClicked) {
    // Its triggered signal is still being delivered: out of the menus now,
    // deleted once control is back in the event loop.
    TakeOutOfMenus(Item);
    Item->deleteLater();
    return;
  }
  delete Item;
}

void TJMostRecentlyUsedList::Add(const QString &s) {
  if (s.isEmpty()) return;
  if (IndexOf(s) >= 0) {
    BringToTop(s);
    return;
  }
  TEntry Entry{s, RootMenuItem ? MakeMenuItem(s) : nullptr};
  Insert(FSortBy == skMostRecent ? 0 : NamePlace(s), std::move(Entry));
  if (quint32(FItems.size()) > MaxItems) TrimList();
  DoChange();
}

void TJMostRecentlyUsedList::Delete(const QString &s) {
  const int I = IndexOf(s);
  if (I < 0) return;
  QAction *Item = FItems[std::size_t(I)].Item;
  FItems.erase(FItems.begin() + I);
  FreeItem(Item);
  DoChange();
}

void TJMostRecentlyUsedList::Clear() {
  std::vector<TEntry> Gone;
  Gone.swap(FItems);
  for (TEntry &Entry : Gone) FreeItem(Entry.Item);
  DoChange();
}

void TJMostRecentlyUsedList::BringToTop(const QString &s) {
  if (FSortBy == skName) return;
  const int I = IndexOf(s);
  if (I == 0) return;
  if (I < 0) throw EJError(("Cannot move " + s + " to top of MRU - it is not in the MRU").toStdString());
  TEntry Entry = std::move(FItems[std::size_t(I)]);
  FItems.erase(FItems.begin() + I);
  Insert(0, std::move(Entry));
  DoChange();
}

bool TJMostRecentlyUsedList::Used(const QString &s) {
  const bool Found = IndexOf(s) >= 0;
  if (Found)
    BringToTop(s);
  else
    Add(s);
  return Found;
}

void TJMostRecentlyUsedList::InUse(const QString &s) {
  if (HideInUse) Delete(s);
}

QString TJMostRecentlyUsedList::GetItem(int Index) const {
  if (Index < 0 || std::size_t(Index) >= FItems.size())
    throw EJError("List index out of bounds (" + std::to_string(Index) + ")");
  return FItems[std::size_t(Index)].Text;
}

QAction *TJMostRecentlyUsedList::GetMenuItem(const QString &s) const {
  const int I = IndexOf(s);
  return I < 0 ? nullptr : FItems[std::size_t(I)].Item.data();
}

void TJMostRecentlyUsedList::CopyItems(QStringList &Dest) const {
  Dest.clear();
  for (const TEntry &Entry : FItems) Dest.append(Entry.Text);
}

QString TJMostRecentlyUsedList::ItemByMenu(const QObject *MenuItem) const {
  if (!MenuItem) return QString();
  for (const TEntry &Entry : FItems)
    if (Entry.Item == MenuItem) return Entry.Text;
  return QString();
}

void TJMostRecentlyUsedList::TrimList() {
  while (quint32(FItems.size()) > MaxItems) {
    QAction *Item = FItems.back().Item;
    FItems.pop_back();
    FreeItem(Item);
  }
}

// --- storage ---

void TJMostRecentlyUsedList::Load() {
  if (Designing()) return;
  const bool WasOpen = FStorage->IsOpen();
  if (FStorage->Key().isEmpty()) {
    Clear();
    return;
  }
  FStorage->Open();
  TCloseGuard Guard{*FStorage, WasOpen};
  // The values "Count-1" down to "0" that exist: found among the key's value
  // names, so that a huge or negative Count costs no more than the key holds.
  // All are read before the list changes, so that an OnChange handler that
  // saves cannot wipe what is still to be read.
  const int Count = FStorage->ReadInteger(QStringLiteral("Count"), 0);
  std::vector<int> Numbers;
  for (const QString &Name : FStorage->ValueNames()) {
    bool Ok = false;
    const int N = Name.toInt(&Ok);
    if (Ok && N >= 0 && N < Count && Name == QString::number(N)) Numbers.push_back(N);
  }
  std::sort(Numbers.begin(), Numbers.end(), std::greater<>());
  QStringList Texts;
  for (const int N : Numbers) Texts << FStorage->ReadString(QString::number(N), QString());
  Clear();
  for (const QString &Text : Texts)
    if (!Text.isEmpty()) Add(Text);
}

void TJMostRecentlyUsedList::Save() {
  if (Designing() || FStorage->Key().isEmpty()) return;
  const bool WasOpen = FStorage->IsOpen();
  FStorage->Open();
  TCloseGuard Guard{*FStorage, WasOpen};
  // A fresh key, so that the numbered values of an earlier, longer list go.
  FStorage->Clear();
  FStorage->WriteInteger(QStringLiteral("Count"), int(FItems.size()));
  for (std::size_t I = 0; I < FItems.size(); ++I) FStorage->WriteString(QString::number(I), FItems[I].Text);
}

// --- the menu ---

QAction *TJMostRecentlyUsedList::MakeMenuItem(const QString &) {
  auto *Item = new QAction(QString(), this);
  connect(Item, &QAction::triggered, this, [this, Item] { HandleMenuClick(Item); });
  return Item;
}

void TJMostRecentlyUsedList::DoChange() {
  if (Designing() || InState(csDestroying)) return;
  if (FMenuKind == mkSubMenu && RootMenuItem) {
    if (!FItems.empty()) {
      if (FRootDisabled) {
        FRootDisabled = false;
        RootMenuItem->setEnabled(true);
      }
    } else {
      FRootDisabled = true;
      RootMenuItem->setEnabled(false);
    }
  } else if (FItems.empty()) {
    KillSeparator();
  } else {
    ShowSeparator();
  }
  RefreshMenu();
  if (!InState(csLoading) && OnChange) OnChange(this);
}

void TJMostRecentlyUsedList::ShowSeparator() {
  if (FMenuKind == mkInsertWithSeparator && RootMenuItem && RootMenuItem != FSeparator) {
    FSavedRootMenuItem = RootMenuItem;
    if (!FSeparator) {
      FSeparator = new QAction(this);
      // Destroyed elsewhere: the application's root takes its place again.
      connect(FSeparator, &QObject::destroyed, this, [this] {
        if (!RootMenuItem) RootMenuItem = FSavedRootMenuItem;
        FSavedRootMenuItem = nullptr;
      });
    }
    RootMenuItem = FSeparator;
    FSeparator->setSeparator(true);
    AddAfter(FSeparator, FSavedRootMenuItem);
  }
}

void TJMostRecentlyUsedList::KillSeparator() {
  if (!FSeparator) return;
  RootMenuItem = FSavedRootMenuItem;
  QAction *Separator = FSeparator;
  FSeparator = nullptr;
  FSavedRootMenuItem = nullptr;
  delete Separator;
}

QString TJMostRecentlyUsedList::Caption(int Position, const QString &Entry) const {
  const quint32 Accelerator = quint32(Position) + NumberOffset;
  if (!NumberAccelerators || Accelerator >= sizeof AcceleratorTable - 1) return Entry;
  const qsizetype Cut = std::max({Entry.lastIndexOf(u'\\'), Entry.lastIndexOf(u':'), Entry.lastIndexOf(u'/')});
  return u'&' + QChar(AcceleratorTable[Accelerator]) + u' ' + Entry.mid(Cut + 1);
}

void TJMostRecentlyUsedList::RefreshMenu() {
  if (!RootMenuItem) return;
  const std::size_t N = FItems.size();
  for (std::size_t I = 0; I < N && I < FItems.size() && RootMenuItem; ++I) {
    // An entry added while no root was set, or whose action was deleted
    // elsewhere, gets its action now.
    if (!FItems[I].Item) FItems[I].Item = MakeMenuItem(FItems[I].Text);
    QAction *Item = FItems[I].Item;
    Item->setText(Caption(int(I), FItems[I].Text));
    switch (FMenuKind) {
      case mkSubMenu:
        AddAt(int(I), Item, RootMenuItem, true);
        break;
      case mkInsertBefore: {
        // Directly in front of the root: an entry standing above it already
        // moves to the place the root takes once the entry is lifted out.
        QWidget *Parent = ParentOf(RootMenuItem);
        const int RootAt = Parent ? PositionIn(Parent, RootMenuItem) : -1;
        const int ItemAt = Parent ? PositionIn(Parent, Item) : -1;
        AddAt(ItemAt >= 0 && ItemAt < RootAt ? RootAt - 1 : RootAt, Item, RootMenuItem, false);
        break;
      }
      case mkInsertAfter:
      case mkInsertWithSeparator:
        // Directly below the root, then each below the one before it, from
        // wherever in the menu the entry stands.
        AddAfter(Item, I == 0 ? RootMenuItem.data() : FItems[I - 1].Item.data());
        break;
    }
  }
}

int TJMostRecentlyUsedList::PositionIn(QWidget *Parent, QAction *Action) const {
  return int(Parent->actions().indexOf(Action));
}

void TJMostRecentlyUsedList::MoveTo(QWidget *Parent, QAction *Action, int Index) {
  const QList<QAction *> Children = Parent->actions();
  Index = std::clamp(Index, 0, int(Children.size()) - 1);
  if (Index == Children.indexOf(Action)) return;
  QList<QAction *> Others = Children;
  Others.removeOne(Action);
  Parent->insertAction(Index < Others.size() ? Others[Index] : nullptr, Action);
}

void TJMostRecentlyUsedList::InsertInto(QWidget *Parent, QAction *Action, int Index) {
  TakeOutOfMenus(Action, Parent);
  const QList<QAction *> Children = Parent->actions();
  Parent->insertAction(Index < Children.size() ? Children[std::max(Index, 0)] : nullptr, Action);
}

void TJMostRecentlyUsedList::AddAt(int Index, QAction *src, QAction *dest, bool AsChild) {
  if (!src || !dest) throw EJError("AddAt: src or dest is nil");
  QWidget *Parent = AsChild ? dest->menu() : ParentOf(dest);
  if (!Parent) return;
  if (PositionIn(Parent, src) >= 0)
    MoveTo(Parent, src, Index);
  else
    InsertInto(Parent, src, Index);
}

void TJMostRecentlyUsedList::AddAfter(QAction *src, QAction *dest) {
  if (!src || !dest) throw EJError("AddAfter: src or dest is nil");
  QWidget *Parent = ParentOf(dest);
  if (!Parent) return;
  const int DestAt = PositionIn(Parent, dest);
  const int SrcAt = PositionIn(Parent, src);
  if (SrcAt >= 0)
    MoveTo(Parent, src, SrcAt < DestAt ? DestAt : DestAt + 1);  // lifting src out moves dest up by one
  else
    InsertInto(Parent, src, DestAt + 1);
}

void TJMostRecentlyUsedList::HandleMenuClick(QObject *Sender) {
  if (!OnSelect) return;
  const QString Item = ItemByMenu(Sender);
  bool AOpened = true;
  TClickScope Scope(FClicked, qobject_cast<QAction *>(Sender));
  OnSelect(this, Item, AOpened);
  if (AOpened) InUse(Item);
}

// --- writers ---

void TJMostRecentlyUsedList::SetMenuKind(TJMRUMenuKind Kind) {
  const TJMRUMenuKind Old = FMenuKind;
  FMenuKind = Kind;
  if (Designing()) return;
  // A root the list disabled for an empty submenu is not left disabled
  // once it anchors entries beside it.
  if (Old == mkSubMenu && Kind != mkSubMenu && FRootDisabled) {
    FRootDisabled = false;
    if (RootMenuItem) RootMenuItem->setEnabled(true);
  }
  if (Kind != mkInsertWithSeparator && RootMenuItem && RootMenuItem == FSeparator) KillSeparator();
  if (!FItems.empty()) ShowSeparator();
  RefreshMenu();
}

void TJMostRecentlyUsedList::SetSortBy(TJMRUSortKind Kind) {
  if (Kind == FSortBy) return;
  FSortBy = Kind;
  if (Designing()) return;
  if (Kind == skName) {
    if (!FNameOrdered) SortByName();
    FNameOrdered = true;
  } else {
    FNameOrdered = false;
  }
  DoChange();
}

void TJMostRecentlyUsedList::SetSortByOrdinal(int Value) {
  if (Value == skName || Value == skMostRecent) SetSortBy(TJMRUSortKind(Value));
}

void TJMostRecentlyUsedList::SetMenuKindOrdinal(int Value) {
  if (Value >= mkInsertBefore && Value <= mkSubMenu) SetMenuKind(TJMRUMenuKind(Value));
}

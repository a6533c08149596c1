#include "Mrucombo.h"

#include <QAbstractItemModel>
#include <QStyledItemDelegate>
#include <algorithm>

#include "JError.h"

namespace {

// Closes the storage however the batch is left.
struct TCloseGuard {
  TJStorage &Storage;
  ~TCloseGuard() { Storage.Close(); }
};

// Rows of the drop-down list at one fixed height.
class TFixedHeightDelegate : public QStyledItemDelegate {
 public:
  TFixedHeightDelegate(int Height, QObject *Parent) : QStyledItemDelegate(Parent), FHeight(Height) {}
  QSize sizeHint(const QStyleOptionViewItem &Option, const QModelIndex &Index) const override {
    return {QStyledItemDelegate::sizeHint(Option, Index).width(), FHeight};
  }

 private:
  int FHeight;
};

}  // namespace

void TMRUCombo::SetItemHeight(int Value) {
  if (Value == FItemHeight) return;
  FItemHeight = Value;
  // The combo box does not own its delegate; this one goes with the combo box.
  if (Value > 0) setItemDelegate(new TFixedHeightDelegate(Value, this));
}

TMRUCombo::TMRUCombo(QWidget *Owner) : QComboBox(Owner), FStorage(std::make_unique<TJStorage>()) {
  FStorage->OwnerComponent = this;
  setEditable(true);
  // The list changes only through UpdateList, and what the player types is
  // taken as typed: no insertion on Return, no completion from the list.
  setInsertPolicy(QComboBox::NoInsert);
  setCompleter(nullptr);
}

TMRUCombo::~TMRUCombo() { FStorage.reset(); }

QString TMRUCombo::StorageKey() const { return FStorage->Key(); }
void TMRUCombo::SetStorageKey(const QString &Value) { FStorage->SetKey(Value); }
TJStorageRootKey TMRUCombo::StorageRegistryRootKey() const { return FStorage->RegistryRootKey(); }
void TMRUCombo::SetStorageRegistryRootKey(TJStorageRootKey Value) { FStorage->SetRegistryRootKey(Value); }

int TMRUCombo::FindStringExact(const QString &Text) const {
  if (Text.isEmpty() || count() == 0) return -1;
  // MatchFixedString without MatchCaseSensitive: whole text, any letter case.
  const QModelIndexList Found = model()->match(model()->index(0, modelColumn()), Qt::DisplayRole, Text, 1,
                                               Qt::MatchFixedString);
  return Found.isEmpty() ? -1 : Found.first().row();
}

void TMRUCombo::Loaded() {
  TJComponent::Loaded();
  if (InState(csDesigning)) return;

  bool HaveFirst = false;
  QString First;
  try {
    FStorage->Open();
    TCloseGuard Guard{*FStorage};
    // A saved history never holds more than ten names. A larger Count (a
    // hand-edited store) would have start-up read up to two thousand million
    // missing values, minutes of a frozen program, for names never saved.
    const int N = std::min(FStorage->ReadInteger(QStringLiteral("Count"), 0), MaxSaved);
    for (int I = 0; I < N; ++I) {
      const QString S = FStorage->ReadString(QString::number(I), QString());
      if (I == 0) {
        First = S;
        HaveFirst = true;
        setEditText(S);
      }
      if (!S.isEmpty()) addItem(S);
    }
  } catch (const std::exception &) {
    // Loading never fails: the list keeps what was read so far.
  }
  if (HaveFirst) {
    // Adding the first item selects it, which would overwrite the text field;
    // the field shows the first saved text and no item is selected.
    setCurrentIndex(-1);
    setEditText(First);
  }
}

void TMRUCombo::UpdateList() {
  const QString Text = currentText();
  if (!Text.isEmpty() && FindStringExact(Text) < 0) {
    const int Selected = currentIndex();
    addItem(Text);
    if (currentIndex() != Selected) {
      setCurrentIndex(Selected);
      setEditText(Text);
    }
  }
  if (InState(csDesigning)) return;

  int N = count();
  FStorage->Open();
  TCloseGuard Guard{*FStorage};
  if (N > MaxSaved) N = MaxSaved;
  for (int I = 0; I < N; ++I) FStorage->WriteString(QString::number(I), itemText(I));
  FStorage->WriteInteger(QStringLiteral("Count"), N);
}

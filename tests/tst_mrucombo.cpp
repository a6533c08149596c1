// The name history: what a combo box shows after loading a saved history,
// and what UpdateList adds to the list and writes back.

#include <QLineEdit>

#include "Mrucombo.h"
#include "StoreTestSupport.h"

namespace {

QByteArray StoreFile(const QByteArray &HistoryValues) {
  return StoreHeader + "\n[HKEY_CURRENT_USER\\Software]\n\n[HKEY_CURRENT_USER\\Software\\Numbrook Software]\n"
                       "\n[HKEY_CURRENT_USER\\Software\\Numbrook Software\\Quintor]\n"
                       "\n[HKEY_CURRENT_USER\\Software\\Numbrook Software\\Quintor\\MRU]\n" + HistoryValues + "\n";
}

// The values of a history as UpdateList writes them.
QByteArray Saved(const QStringList &Names) {
  QByteArray Values;
  for (int I = 0; I < Names.size(); ++I) Values += QStringLiteral("\"%1\"=\"%2\"\n").arg(I).arg(Names[I]).toUtf8();
  return Values + QStringLiteral("\"Count\"=dword:%1\n").arg(Names.size(), 8, 16, QChar(u'0')).toUtf8();
}

QStringList Players(int N) {
  QStringList Names;
  for (int I = 0; I < N; ++I) Names << QStringLiteral("Player %1").arg(I);
  return Names;
}

QStringList Items(const QComboBox &Combo) {
  QStringList List;
  for (int I = 0; I < Combo.count(); ++I) List << Combo.itemText(I);
  return List;
}

// A combo box as the form layout leaves it, loaded.
std::unique_ptr<TMRUCombo> LoadedCombo(const QString &Key = "Software\\Numbrook Software\\Quintor\\MRU") {
  auto Combo = std::make_unique<TMRUCombo>();
  Combo->Storage()->SetKey(Key);
  LoadComponents(Combo.get());
  return Combo;
}

}  // namespace

class TestMRUCombo : public QObject {
  Q_OBJECT
  std::optional<TTempStore> Store;

 private slots:
  void init() { Store.emplace(); }
  void cleanup() { Store.reset(); }

  // Each row loads a saved history, types a name (or leaves the loaded text)
  // and saves the list.
  void history_data() {
    QTest::addColumn<QByteArray>("Before");
    QTest::addColumn<QString>("Loaded");  // the text field after loading
    QTest::addColumn<QString>("Typed");   // null: nothing typed
    QTest::addColumn<QStringList>("Items");
    QTest::addColumn<QByteArray>("After");
    const QByteArray Three = "\"Count\"=dword:00000002\n\"0\"=\"Cy\"\n\"1\"=\"Ann\"\n\"2\"=\"Bob\"\n";
    QTest::newRow("saved order, above Count unread") << Three << "Cy" << QString() << QStringList{"Cy", "Ann"} << Three;
    QTest::newRow("empty 0 and 1 skipped, text field from 0")  // "2" is left behind, above the new Count
        << QByteArray("\"Count\"=dword:00000003\n\"0\"=\"\"\n\"1\"=\"\"\n\"2\"=\"Cy\"\n") << "" << QString() << QStringList{"Cy"}
        << QByteArray("\"Count\"=dword:00000001\n\"0\"=\"Cy\"\n\"1\"=\"\"\n\"2\"=\"Cy\"\n");
    QTest::newRow("a huge Count reads ten names") << Saved(Players(11)).replace("0000000b", "7fffffff") << "Player 0" << QString()
                                                  << Players(10) << Saved(Players(11)).replace("0000000b", "0000000a");
    const QStringList AnnBob{"Ann", "Bob"};
    QTest::newRow("listed name, other case") << Saved(AnnBob) << "Ann" << "aNN" << AnnBob << Saved(AnnBob);
    QTest::newRow("empty text") << Saved(AnnBob) << "Ann" << "" << AnnBob << Saved(AnnBob);
    for (const QString New : {"Ann ", "An"})  // a trailing space, a prefix: new names, saved after Count
      QTest::newRow(qPrintable("new: " + New)) << Saved(AnnBob) << "Ann" << New << AnnBob + QStringList{New}
                                                << Saved(AnnBob).replace("02\n", "03\n") + "\"2\"=\"" + New.toUtf8() + "\"\n";
    QTest::newRow("eleventh name shown, not saved") << Saved(Players(10)) << "Player 0" << "Eleven"
                                                    << Players(10) + QStringList{"Eleven"} << Saved(Players(10));
  }

  // Typed with real keys and Return: what the player types stays as typed,
  // with no completion from the list.
  void history() {
    QFETCH(QByteArray, Before);
    QFETCH(QString, Loaded);
    QFETCH(QString, Typed);
    QFETCH(QStringList, Items);
    QFETCH(QByteArray, After);
    TTempStore::Save(StoreFile(Before));
    auto Combo = LoadedCombo();
    QCOMPARE(Combo->currentText(), Loaded);
    if (!Typed.isNull()) {
      Combo->lineEdit()->clear();
      QTest::keyClicks(Combo->lineEdit(), Typed);
      QTest::keyClick(Combo->lineEdit(), Qt::Key_Return);
    }
    Combo->UpdateList();
    QCOMPARE(::Items(*Combo), Items);
    QCOMPARE(Combo->currentText(), Typed.isNull() ? Loaded : Typed);
    QCOMPARE(TTempStore::Bytes(), StoreFile(After));
    QCOMPARE(::Items(*LoadedCombo()), Items.mid(0, 10));
  }

  // While a form designer edits it, the combo box reads and writes no store.
  void designing() {
    TTempStore::Save(StoreFile(Saved({"Ann"})));
    TMRUCombo Combo;
    Combo.Include(csDesigning);
    Combo.Storage()->SetKey("Software\\Numbrook Software\\Quintor\\MRU");
    LoadComponents(&Combo);
    Combo.setEditText("Bob");
    Combo.UpdateList();
    QCOMPARE(Items(Combo), QStringList{"Bob"});
    QCOMPARE(TTempStore::Bytes(), StoreFile(Saved({"Ann"})));
  }

  void blankKey() {
    auto Combo = LoadedCombo(QString());  // loading swallows the error
    Combo->setEditText("Ann");
    QCOMPARE(ErrorOf([&] { Combo->UpdateList(); }), QStringLiteral("Cannot open registry because TJStorage.Key is blank"));
    QCOMPARE(Items(*Combo), QStringList{"Ann"});
  }
};

QTEST_MAIN(TestMRUCombo)
#include "tst_mrucombo.moc"

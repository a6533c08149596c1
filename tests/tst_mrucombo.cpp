// The name history: what a combo box shows after loading a saved history,
// and what UpdateList adds to the list and writes back.

#include <QAbstractItemView>
#include <QLineEdit>

#include "Mrucombo.h"
#include "TestSupport.h"

// The values of a history as UpdateList writes them.
static QByteArray Saved(const QStringList &Names) {
  QByteArray Values;
  for (int I = 0; I < Names.size(); ++I) Values += QStringLiteral("\"%1\"=\"%2\"\n").arg(I).arg(Names[I]).toUtf8();
  return Values + QStringLiteral("\"Count\"=dword:%1\n").arg(Names.size(), 8, 16, QChar(u'0')).toUtf8();
}

class TestMRUCombo : public QObject {
  Q_OBJECT
  std::optional<TTempFolder> Store;

 private slots:
  void init() { Store.emplace(); }
  void cleanup() { Store.reset(); }

  // Each row loads a saved history, types a name (or the loaded text again)
  // and saves the list.
  void history_data() {
    // Columns: Before, Loaded (the text field after loading), Typed, Listed, After.
    TTable<QByteArray, QString, QString, QStringList, QByteArray>::Add();
    QStringList Ten;
    for (int I = 0; I < 10; ++I) Ten << QStringLiteral("Player %1").arg(I);
    const QByteArray Three = "\"Count\"=dword:00000002\n\"0\"=\"Cy\"\n\"1\"=\"Ann\"\n\"2\"=\"Bob\"\n";
    QTest::newRow("saved order, above Count unread") << Three << "Cy" << "Cy" << QStringList{"Cy", "Ann"} << Three;
    QTest::newRow("empty 0 and 1 skipped, text field from 0")  // "2" is left behind, above the new Count
        << QByteArray("\"Count\"=dword:00000003\n\"0\"=\"\"\n\"1\"=\"\"\n\"2\"=\"Cy\"\n") << "" << "" << QStringList{"Cy"}
        << QByteArray("\"Count\"=dword:00000001\n\"0\"=\"Cy\"\n\"1\"=\"\"\n\"2\"=\"Cy\"\n");
    const QByteArray Eleven = Saved(Ten + QStringList{"Player 10"});
    QTest::newRow("a huge Count reads ten names") << QByteArray(Eleven).replace("0000000b", "7fffffff") << "Player 0"
                                                  << "Player 0" << Ten << QByteArray(Eleven).replace("0000000b", "0000000a");
    const QStringList AnnBob{"Ann", "Bob"};
    QTest::newRow("listed name, other case") << Saved(AnnBob) << "Ann" << "aNN" << AnnBob << Saved(AnnBob);
    QTest::newRow("a prefix is new, saved after Count") << Saved(AnnBob) << "Ann" << "An" << AnnBob + QStringList{"An"}
                                                         << Saved(AnnBob).replace("02\n", "03\n") + "\"2\"=\"An\"\n";
    QTest::newRow("eleventh name shown, not saved") << Saved(Ten) << "Player 0" << "Eleven"
                                                    << Ten + QStringList{"Eleven"} << Saved(Ten);
  }

  // Typed with real keys and Return: what the player types stays as typed,
  // with no completion from the list.
  void history() {
    const auto [Before, Loaded, Typed, Listed, After] = TTable<QByteArray, QString, QString, QStringList, QByteArray>::Row();
    QVERIFY(Spit(StorePath(), StoreWithKey("MRU", Before)));
    TMRUCombo Combo;
    Combo.Storage()->SetKey("Software\\MRU");
    LoadComponents(&Combo);
    QCOMPARE(Combo.currentText(), Loaded);
    Combo.lineEdit()->clear();
    QTest::keyClicks(Combo.lineEdit(), Typed);
    QTest::keyClick(Combo.lineEdit(), Qt::Key_Return);
    Combo.UpdateList();
    QCOMPARE(Items(Combo), Listed);
    QCOMPARE(Combo.currentText(), Typed);
    QCOMPARE(Slurp(StorePath()), StoreWithKey("MRU", After));
  }

  // Set as a form layout sets it: the rows of the drop-down take that height.
  void itemHeight() {
    TMRUCombo Combo;
    Combo.addItem("Ann");
    QVERIFY(Combo.setProperty("ItemHeight", 14));
    QCOMPARE(Combo.view()->sizeHintForRow(0), 14);
  }

  void blankKey() {
    TMRUCombo Combo;
    LoadComponents(&Combo);  // loading swallows the error
    Combo.setEditText("Ann");
    QCOMPARE(ErrorOf([&] { Combo.UpdateList(); }), QStringLiteral("Cannot open registry because TJStorage.Key is blank"));
    QCOMPARE(Items(Combo), QStringList{"Ann"});
  }
};

QTEST_MAIN(TestMRUCombo)
#include "tst_mrucombo.moc"

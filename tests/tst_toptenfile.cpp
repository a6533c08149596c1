// The top-ten file: placing a total (a tie ranks the newer game first),
// shifting the lower places down key by key, the read limits, Reset, and the
// strict reading of scores when placing. Every check reads the file through
// a fresh object or as bytes.
#include <QDate>
#include <QtTest>

#include "TopTenFile.h"
#include "TopTenTestSupport.h"

namespace {
// The date is written in the user's short format; this fixes it before
// anything reads the locale.
const bool GermanDates = qputenv("LC_ALL", "de_DE.UTF-8");

// A hand-made file: a comment and another section before the list, whose
// places 1 to 10 hold Places ("score|name|date|count"), CRLF line ends.
QByteArray Listing(const QStringList &Places) {
  QByteArray Data = "; by hand\r\n[Other]\r\nScore01=5\r\n\r\n[Top Ten Scores]\r\n";
  for (int N = 1; N <= 10; ++N)
    for (int K = 0; K < 4; ++K)
      Data += QString::asprintf("%s%02d=%s\r\n", std::array{"Score", "Name", "Date", "Quintors"}[K], N,
                                qUtf8Printable(Places[N - 1].section('|', K, K))).toUtf8();
  return Data;
}

// Places 1 to 10 score 100, 90, ... 10 and are held by P1 ... P10.
QStringList Full() {
  QStringList Places;
  for (int N = 1; N <= 10; ++N) Places << QString("%1|P%2|D%2|%2").arg(110 - 10 * N).arg(N);
  return Places;
}
}  // namespace

class TstTopTenFile : public QObject, TTopTenFolder {
  Q_OBJECT
  QString Today = QDate::currentDate().toString("dd.MM.yy");

 private slots:
  void init() { QFile::remove(Path); }

  // With no file every place scores 0; the first entry writes the whole
  // list, key by key from place 10 up, then the new place 1.
  void firstEntryWritesAllFortyKeys() {
    QCOMPARE(TTopTenFile("/d/x.y/game").GetFileName(), "/d/x.y/game.tps");
    TTopTenFile File(Program);
    QCOMPARE(File.GetTenthScore(), 0);
    QCOMPARE(File.AddEntry(1, QString(), 2), 1);
    QByteArray Expected = "[Top Ten Scores]\n";
    for (int N = 10; N >= 2; --N)
      Expected += QString::asprintf("Score%02d=0\nName%02d=\nDate%02d=\nQuintors%02d=0\n", N, N, N, N).toUtf8();
    QCOMPARE(Slurp(Path), Expected + "Score01=1\nName01=\nDate01=" + Today.toUtf8() + "\nQuintors01=2\n");
  }

  // The tie with the tenth is placed here; only the game end refuses it.
  void addEntry_data() {
    QTest::addColumn<int>("Total");
    QTest::addColumn<int>("Place");
    for (const auto &[Total, Place] : {std::pair{1000, 1}, {70, 4}, {11, 10}, {10, 10}, {9, 11}})
      QTest::addRow("%d goes to %d", Total, Place) << Total << Place;
  }
  void addEntry() {
    QFETCH(int, Total);
    QFETCH(int, Place);
    QVERIFY(Spit(Path, Listing(Full())));
    QCOMPARE(TTopTenFile(Program).AddEntry(Total, "New", 3), Place);
    QStringList Expected = Full();
    if (Place <= 10) Expected.insert(Place - 1, QString("%1|New|%2|3").arg(Total).arg(Today));
    QCOMPARE(Slurp(Path), Listing(Expected));
  }

  // A name typed into the file by hand is read cut to 99 characters, and a
  // shift writes the cut text one place down. A pasted line break becomes a
  // space rather than leaving the displaced player's name in place. Reset
  // then keeps every key, with empty names and dates.
  void cutOnReadAndShiftThenReset() {
    QStringList Places = Full();
    Places[2] = "80|" + QString(150, u'n') + "|D3|3";
    Places[4] = "0000000060|P5|D5|5";
    QVERIFY(Spit(Path, Listing(Places)));
    QCOMPARE(TTopTenFile(Program).AddEntry(1000, "A\r\nB", 0), 1);
    Places[2].remove(3, 51);
    Places[4] = "000000006|P5|D5|5";
    QCOMPARE(Slurp(Path), Listing(QStringList{"1000|A  B|" + Today + "|0"} + Places));
    TTopTenFile(Program).Reset();
    QCOMPARE(Slurp(Path), Listing(QStringList(10, "0|||0")));
  }

  // A hand-edited score that is not a whole number stops the placing before
  // anything is written; the threshold's lenient read never fails.
  void badScoreStopsTheEntry() {
    QStringList Places = Full();
    Places[6] = "40.5|P7|D7|7";
    QVERIFY(Spit(Path, Listing(Places)));
    TTopTenFile File(Program);
    QCOMPARE(ErrorOf([&] { File.AddEntry(1000, "X", 0); }), "'40.5' is not a valid integer value");
    QCOMPARE(Slurp(Path), Listing(Places));
    QCOMPARE(File.AddEntry(25, "Y", 0), 9);  // the scan from the bottom stops before the bad score
    Spit(Path, "[top ten scores]\nscore10=-12abc\n");
    QCOMPARE(File.GetTenthScore(), -12);
  }
};

QTEST_GUILESS_MAIN(TstTopTenFile)
#include "tst_toptenfile.moc"

// The top-ten file: placing a total (ties rank the newer game first),
// shifting the lower places down key by key, the read limits, Reset, and
// the strict reading of scores when placing.
#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "ProfileFile.h"
#include "ProgramPath.h"
#include "StrToInt.h"
#include "TopTenFile.h"

namespace {
QByteArray Slurp(const QString &Path) {
  QFile F(Path);
  return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray("<missing>");
}

void Spit(const QString &Path, const QByteArray &Data) {
  QFile F(Path);
  QVERIFY(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
  QCOMPARE(F.write(Data), Data.size());
}

// Places 1 to 10 with scores 100, 90, ... 10, names P1 ... P10, dates D1 ...
QByteArray FullList() {
  QByteArray Data = "; hand-made\r\n[Other]\r\nScore01=5\r\n\r\n[Top Ten Scores]\r\n";
  for (int N = 1; N <= 10; ++N)
    Data += QString::asprintf("Score%02d=%d\r\nName%02d=P%d\r\nDate%02d=D%d\r\nQuintors%02d=%d\r\n", N,
                              110 - 10 * N, N, N, N, N, N, N % 3)
                .toUtf8();
  return Data;
}

QStringList Names(const TTopTenFile &File) {
  QStringList Result;
  for (int N = 1; N <= 10; ++N) {
    QString Name, Score, Date, Quintors;
    File.ReadEntry(N, Name, Score, Date, Quintors);
    Result << Score + ' ' + Name;
  }
  return Result;
}

QString Today() { return QDate::currentDate().toString("dd.MM.yy"); }
}  // namespace

class TstTopTenFile : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;
  QString Program, Path;

 private slots:
  void init() {
    Program = Dir.filePath("quintor");
    Path = Program + ".tps";
    QFile::remove(Path);
  }

  void fileName_data() {
    QTest::addColumn<QString>("ProgramPath");
    QTest::addColumn<QString>("Expected");
    QTest::newRow("no extension, dot in folder") << "/d/x.y/game" << "/d/x.y/game.tps";
    QTest::newRow("extension replaced") << "/opt/games/dice.exe" << "/opt/games/dice.tps";
    QTest::newRow("last dot only") << "/a/b.c.d" << "/a/b.c.tps";
    QTest::newRow("colon is a plain character") << "/a/b:c" << "/a/b:c.tps";
    const QString Long = "/" + QString(300, u'f') + "/" + QString(300, u'g') + ".bin";
    QTest::newRow("longer than any old buffer") << Long << Long.chopped(4) + ".tps";
  }
  void fileName() {
    QFETCH(QString, ProgramPath);
    QFETCH(QString, Expected);
    QCOMPARE(TTopTenFile(ProgramPath).GetFileName(), Expected);
    SetProgramFilePathForTesting(ProgramPath);
    QCOMPARE(TTopTenFile().GetFileName(), Expected);
    SetProgramFilePathForTesting(QString());
  }

  // With no file every place scores 0; the first entry writes the whole
  // list, key by key from place 10 up, then the new place 1.
  void firstEntryWritesAllFortyKeys() {
    TTopTenFile File(Program);
    QCOMPARE(File.GetTenthScore(), 0);
    QCOMPARE(File.GetPosition(1), 1);
    QCOMPARE(File.AddEntry(1, QString(), 2), 1);
    QByteArray Expected = "[Top Ten Scores]\n";
    for (int N = 10; N >= 2; --N)
      Expected += QString::asprintf("Score%02d=0\nName%02d=\nDate%02d=\nQuintors%02d=0\n", N, N, N, N).toUtf8();
    Expected += "Score01=1\nName01=\nDate01=" + Today().toUtf8() + "\nQuintors01=2\n";
    QCOMPARE(Slurp(Path), Expected);
  }

  void position_data() {
    QTest::addColumn<int>("Total");
    QTest::addColumn<int>("Expected");
    QTest::newRow("above all") << 1000 << 1;
    QTest::newRow("tie with place 1") << 100 << 1;
    QTest::newRow("tie with place 4") << 70 << 4;
    QTest::newRow("between 4 and 5") << 65 << 5;
    QTest::newRow("one above the tenth") << 11 << 10;
    QTest::newRow("tie with the tenth") << 10 << 10;
    QTest::newRow("below the tenth") << 9 << 11;
    QTest::newRow("negative") << -5 << 11;
  }
  void position() {
    QFETCH(int, Total);
    QFETCH(int, Expected);
    Spit(Path, FullList());
    const TTopTenFile File(Program);
    QCOMPARE(File.GetTenthScore(), 10);
    QCOMPARE(File.GetPosition(Total), Expected);
  }

  void addEntry_data() {
    QTest::addColumn<int>("Total");
    QTest::addColumn<int>("Place");
    QTest::addColumn<QStringList>("After");
    const QStringList Before = {"100 P1", "90 P2", "80 P3", "70 P4", "60 P5",
                                "50 P6",  "40 P7", "30 P8", "20 P9", "10 P10"};
    QStringList At1 = Before, At4 = Before, At10 = Before;
    At1.insert(0, "101 New");
    At4.insert(3, "70 New");
    At10.insert(9, "11 New");
    QTest::newRow("place 1") << 101 << 1 << At1.mid(0, 10);
    QTest::newRow("tie with place 4") << 70 << 4 << At4.mid(0, 10);
    QTest::newRow("place 10 replaces the tenth") << 11 << 10 << At10.mid(0, 10);
    QTest::newRow("tie with the tenth still places") << 10 << 10 << At10.mid(0, 9) + QStringList{"10 New"};
    QTest::newRow("below the tenth: nothing") << 9 << 11 << Before;
  }
  void addEntry() {
    QFETCH(int, Total);
    QFETCH(int, Place);
    QFETCH(QStringList, After);
    Spit(Path, FullList());
    TTopTenFile Writer(Program);
    QCOMPARE(Writer.AddEntry(Total, "New", 3), Place);
    const TTopTenFile Reader(Program);  // a fresh object sees only the file
    QCOMPARE(Names(Reader), After);
    if (Place == 11) {
      QCOMPARE(Slurp(Path), FullList());
      return;
    }
    QString Name, Score, Date, Quintors;
    Reader.ReadEntry(Place, Name, Score, Date, Quintors);
    QCOMPARE(Date, Today());
    QCOMPARE(Quintors, "3");
    if (Place < 10) {  // dates and counts move with their names
      Reader.ReadEntry(Place + 1, Name, Score, Date, Quintors);
      QCOMPARE(Date, QString("D%1").arg(Place));
      QCOMPARE(Quintors, QString::number(Place % 3));
    }
    QVERIFY(Slurp(Path).startsWith("; hand-made\r\n[Other]\r\nScore01=5\r\n\r\n[Top Ten Scores]\r\n"));
  }

  // A name typed into the file by hand is read cut to 99 characters, and a
  // shift writes the cut text one place down.
  void overlongValuesAreCutOnReadAndShift() {
    QByteArray Data = FullList();
    Data.replace("Name03=P3", "Name03=" + QByteArray(150, 'n'));
    Data.replace("Score05=60", "Score05=0000000060");
    Spit(Path, Data);
    TTopTenFile File(Program);
    QString Name, Score, Date, Quintors;
    File.ReadEntry(3, Name, Score, Date, Quintors);
    QCOMPARE(Name, QString(99, u'n'));
    File.ReadEntry(5, Name, Score, Date, Quintors);
    QCOMPARE(Score, "000000006");  // nine characters: the cut changes the number
    QCOMPARE(File.AddEntry(1000, "Top", 0), 1);
    QCOMPARE(GetPrivateProfileString("Top Ten Scores", "Name04", "", 1000, Path), QString(99, u'n'));
    QCOMPARE(GetPrivateProfileString("Top Ten Scores", "Score06", "", 1000, Path), "000000006");
  }

  void resetKeepsEveryKey() {
    Spit(Path, FullList());
    TTopTenFile File(Program);
    File.Reset();
    for (int N = 1; N <= 10; ++N) {
      for (const char *Prefix : {"Score", "Name", "Date", "Quintors"}) {
        const QString Key = QString::asprintf("%s%02d", Prefix, N);
        const QString Expected = (QByteArray(Prefix) == "Score" || QByteArray(Prefix) == "Quintors") ? "0" : "";
        QCOMPARE(GetPrivateProfileString("Top Ten Scores", Key, "<absent>", 100, Path), Expected);
      }
    }
    QCOMPARE(GetPrivateProfileString("Other", "Score01", "", 100, Path), "5");
    QCOMPARE(File.GetTenthScore(), 0);
    QCOMPARE(File.GetPosition(1), 1);
  }

  // A hand-edited score that is not a whole number stops placing (and so
  // any entry) before anything is written; the threshold read is lenient.
  void badScoreStopsTheEntry_data() {
    QTest::addColumn<QByteArray>("Score07");
    QTest::addColumn<QString>("Message");
    QTest::newRow("letters") << QByteArray("abc") << "'abc' is not a valid integer value";
    QTest::newRow("decimal") << QByteArray("40.5") << "'40.5' is not a valid integer value";
    QTest::newRow("empty") << QByteArray("") << "'' is not a valid integer value";
  }
  void badScoreStopsTheEntry() {
    QFETCH(QByteArray, Score07);
    QFETCH(QString, Message);
    QByteArray Data = FullList();
    Data.replace("Score07=40", "Score07=" + Score07);
    Spit(Path, Data);
    TTopTenFile File(Program);
    QCOMPARE(File.GetTenthScore(), 10);
    try {
      File.AddEntry(1000, "X", 0);
      QFAIL("no error raised");
    } catch (const EConvertError &E) {
      QCOMPARE(QString::fromUtf8(E.what()), Message);
    }
    QCOMPARE(Slurp(Path), Data);
    QCOMPARE(File.AddEntry(25, "Y", 0), 9);  // the scan stops below the bad one
  }

  void tenthScore_data() {
    QTest::addColumn<QByteArray>("Score10");
    QTest::addColumn<int>("Expected");
    QTest::newRow("number with junk") << QByteArray("12abc") << 12;
    QTest::newRow("letters") << QByteArray("abc") << 0;
    QTest::newRow("negative stays signed") << QByteArray("-5") << -5;
    QTest::newRow("quoted") << QByteArray("\"77\"") << 77;
  }
  void tenthScore() {
    QFETCH(QByteArray, Score10);
    QFETCH(int, Expected);
    Spit(Path, "[top ten scores]\nscore10=" + Score10 + "\n");
    QCOMPARE(TTopTenFile(Program).GetTenthScore(), Expected);
  }
};

int main(int argc, char *argv[]) {
  // The date is written in the user's short format; fix the user's locale.
  qputenv("LC_ALL", "de_DE.UTF-8");
  QCoreApplication App(argc, argv);
  TstTopTenFile Test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&Test, argc, argv);
}

#include "tst_toptenfile.moc"

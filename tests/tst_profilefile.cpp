// The profile functions read and write one value at a time. The contract:
// names match without regard to case, values come back trimmed and
// unquoted, and a write touches one line and nothing else, atomically.
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

#include "ProfileFile.h"
#include "TopTenTestSupport.h"

namespace {
// The file after the crash test's writer has made its I-th pair of writes.
QByteArray CrashStep(int I, int Tail) {
  return "; keep\r\n[Main]\r\nCounter=" + QByteArray::number(I) + "\r\nTail=" + QByteArray(Tail % 500, 'z') + "\r\n";
}
}  // namespace

class TstProfileFile : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;
  QString Path = Dir.filePath("test.ini");

 private slots:
  void init() { QFile::remove(Path); }

  void readString_data() {
    QTest::addColumn<QByteArray>("Content");
    QTest::addColumn<QString>("Key");
    QTest::addColumn<QString>("Default");
    QTest::addColumn<int>("Size");
    QTest::addColumn<QString>("Expected");
    const QByteArray S = "[s]\na=val1\nb=\nc\nq=\"  x  \"\n";
    const auto Row = [](const char *Name, const QByteArray &Content, const QString &Key, const QString &Default,
                        int Size, const QString &Expected) {
      QTest::newRow(Name) << Content << Key << Default << Size << Expected;
    };
    Row("key case", S, " A ", "d", 100, "val1");
    Row("empty value is no default", S, "b", "d", 100, "");
    Row("no = is no key; default loses trailing spaces", S, "c", " dflt  ", 100, " dflt");
    Row("quotes stripped, inner spaces kept", S, "q", "d", 100, "  x  ");
    Row("cut to size - 1", S, "a", "d", 4, "val");
    Row("quotes stripped before the cut", "[s]\na=\"abcdef\"\n", "a", "", 4, "abc");
    Row("missing section", "[t]\na=1\n", "a", "d", 100, "d");
    Row("missing file", NoFile, "a", "'d'", 100, "d");
    Row("spaces around names and =", "  [  S  ]  junk\n  a  =  v = w  \n", "a", "", 100, "v = w");
    Row("section name runs to the last ]", "[s]x]\na=1\n[s]\na=2\n", "a", "", 100, "2");
    Row("comment", "[s]\n;a=1\n", ";a", "d", 100, "d");
    Row("first duplicate section wins", "[s]\na=1\n[S]\nb=2\n", "b", "d", 100, "d");
    Row("CRLF", "[s]\r\nz=1\r\na=2\r\n", "a", "", 100, "2");
    Row("tabs, ^Z and BOM", "\xEF\xBB\xBF[s]\n\ta\t=\t2\x1a\n", "a", "", 100, "2");
    Row("UTF-8", "[s]\na=Jos\xC3\xA9\n", "a", "", 100, u"Jos\u00e9"_qs);
    Row("not UTF-8: Windows-1252", "[s]\na=Jos\xE9 \x80\n", "a", "", 100, u"Jos\u00e9 \u20ac"_qs);
    Row("cut counts characters, keeps pairs whole", "[s]\na=\xC3\xA9\xF0\x9F\x8E\xB2z\n", "a", "", 3,
        u"\u00e9\U0001F3B2"_qs);
  }
  void readString() {
    QFETCH(QByteArray, Content);
    QFETCH(QString, Key);
    QFETCH(QString, Default);
    QFETCH(int, Size);
    QFETCH(QString, Expected);
    QVERIFY(Spit(Path, Content));
    QCOMPARE(GetPrivateProfileString("s", Key, Default, Size, Path), Expected);
  }

  void readInt_data() {
    QTest::addColumn<QByteArray>("Line");
    QTest::addColumn<quint32>("Expected");
    for (const auto &[Line, Expected] : std::initializer_list<std::pair<const char *, quint32>>{
             {"k=\"+1\"", 1}, {"k=-1", 4294967295u}, {"k=42A9", 42}, {"k=4294967297", 1}, {"k=0x1A", 26},
             {"k=0X1A", 0}, {"k=", 7}, {"other=1", 7}})
      QTest::newRow(Line) << QByteArray(Line) << Expected;
  }
  void readInt() {
    QFETCH(QByteArray, Line);
    QFETCH(quint32, Expected);
    QVERIFY(Spit(Path, "[s]\n" + Line + "\n"));
    QCOMPARE(GetPrivateProfileInt("s", "k", 7, Path), Expected);
  }

  void write_data() {
    QTest::addColumn<QByteArray>("Before");
    QTest::addColumn<QString>("Key");
    QTest::addColumn<QString>("Value");
    QTest::addColumn<QByteArray>("After");
    const auto Row = [](const char *Name, const QByteArray &Before, const QString &Key, const QString &Value,
                        const QByteArray &After) { QTest::newRow(Name) << Before << Key << Value << After; };
    Row("new file", NoFile, " k ", u" J\u00f6 "_qs, "[s]\nk= J\xC3\xB6 \n");
    Row("in place; CRLF, spelling, rest kept", ";c\r\n[S]\r\n  K = old  \r\nz=1\r\n", "k", "",
        ";c\r\n[S]\r\n  K =\r\nz=1\r\n");
    Row("after the section's last entry", "[s]\nx=1\n; c\n\n[t]\n", "k", "v", "[s]\nx=1\nk=v\n; c\n\n[t]\n");
    Row("last line without a break", "[s]\r\nx=1", "k", "v", "[s]\r\nx=1\r\nk=v\r\n");
    Row("new section at the end", "[t]\r\n\r\n", "k", "v", "[t]\r\n\r\n[s]\r\nk=v\r\n");
    Row("CR-only file", "[s]\rx=1\r", "k", "v", "[s]\rx=1\rk=v\r");
    Row("line break refused", "[s]\nk=1\n", "k", "1\n[t]", "[s]\nk=1\n");
    Row("key with = refused", "[s]\n", "a=b", "1", "[s]\n");
  }
  void write() {
    QFETCH(QByteArray, Before);
    QFETCH(QString, Key);
    QFETCH(QString, Value);
    QFETCH(QByteArray, After);
    QVERIFY(Spit(Path, Before));
    QCOMPARE(WritePrivateProfileString("s", Key, Value, Path), Before != After);
    QCOMPARE(Slurp(Path), After);
  }

  // A failed write changes nothing and leaves no temporary file behind.
  void replaceKeepsPermissionsAndFailsWhole() {
    QVERIFY(Spit(Path, "[s]\nx=1\n"));
    QVERIFY(QFile::setPermissions(Path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QVERIFY(WritePrivateProfileString("s", "x", "2", Path));
    QCOMPARE(QFile::permissions(Path) & (QFile::ReadGroup | QFile::ReadOther), QFile::ReadGroup);
    QVERIFY(QFile::setPermissions(Path, QFile::ReadOwner));
    QVERIFY(!WritePrivateProfileString("s", "x", "3", Path));  // read-only, even for root
    QCOMPARE(Slurp(Path), "[s]\nx=2\n");
    QVERIFY(!WritePrivateProfileString("s", "x", "1", Dir.filePath("nofolder/x.ini")));
    QVERIFY(!WritePrivateProfileString("s", "x", "1", Dir.path()));  // a folder in the way
    const QString Fifo = Dir.filePath("fifo");  // an open would wait for a writer
    QCOMPARE(::mkfifo(QFile::encodeName(Fifo).constData(), 0600), 0);
    QCOMPARE(GetPrivateProfileString("s", "x", "d", 9, Fifo), "d");
    QVERIFY(!WritePrivateProfileString("s", "x", "1", Fifo));
    QCOMPARE(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"test.ini"});
    QFile::remove(Fifo);
  }

  // Garbage or one endless line: no crash, no hang, and a
  // write goes at the end without harming what was there.
  void hostileFiles_data() {
    QTest::addColumn<QByteArray>("Content");
    QByteArray Garbage(4 << 20, '\0');
    for (char &C : Garbage) C = char(QRandomGenerator::global()->bounded(256));
    QTest::newRow("binary garbage") << Garbage;
    QTest::newRow("no line breaks") << QByteArray(8 << 20, '[');
  }
  void hostileFiles() {
    QFETCH(QByteArray, Content);
    QVERIFY(Spit(Path, Content));
    QVERIFY(WritePrivateProfileString("Top Ten Scores", "Score10", "5", Path));
    QCOMPARE(GetPrivateProfileString("top ten scores", "score10", "0", 10, Path), "5");
    QVERIFY(Slurp(Path).startsWith(Content));
  }

  // A writer killed at random moments never leaves a torn file: what is on
  // disk is always the whole content after one of its writes.
  void killedWriterLeavesAWholeFile() {
    for (int Round = 0; Round < 12; ++Round) {
      QVERIFY(Spit(Path, CrashStep(0, 0)));
      QProcess Writer;
      Writer.start(QCoreApplication::applicationFilePath(), {"--writer", Path});
      QVERIFY(Writer.waitForStarted());
      QTest::qSleep(20 + QRandomGenerator::global()->bounded(80));
      Writer.kill();
      QVERIFY(Writer.waitForFinished());
      const QByteArray Data = Slurp(Path);
      const int I = GetPrivateProfileString("Main", "Counter", "", 20, Path).toInt();
      QVERIFY2(Data == CrashStep(I, I) || Data == CrashStep(I, I - 1), Data.left(100).constData());
    }
  }
};

int main(int argc, char *argv[]) {
  if (argc == 3 && qstrcmp(argv[1], "--writer") == 0) {  // the crash test's victim
    const QString Path = QString::fromLocal8Bit(argv[2]);
    for (int I = 1;; ++I) {
      WritePrivateProfileString("Main", "Counter", QString::number(I), Path);
      WritePrivateProfileString("Main", "Tail", QString(I % 500, u'z'), Path);
    }
  }
  QCoreApplication App(argc, argv);
  TstProfileFile Test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&Test, argc, argv);
}

#include "tst_profilefile.moc"

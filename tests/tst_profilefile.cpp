// The profile functions read and write one value at a time. The contract:
// names match without regard to case, values come back trimmed and
// unquoted, and a write touches one line and nothing else, atomically.
#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "ProfileFile.h"

namespace {
// Marks a file that must not exist, as opposed to an existing empty file.
const QByteArray NoFile = QByteArray("\0no file\0", 9);

QByteArray Slurp(const QString &Path) {
  QFile F(Path);
  return F.open(QIODevice::ReadOnly) ? F.readAll() : NoFile;
}

void Spit(const QString &Path, const QByteArray &Data) {
  QFile::remove(Path);
  if (Data == NoFile) return;
  QFile F(Path);
  QVERIFY(F.open(QIODevice::WriteOnly));
  QCOMPARE(F.write(Data), Data.size());
}

// The content the crash test's writer leaves after its I-th write.
QByteArray CrashStep(int I) {
  return "; keep me\r\n[Other]\r\nx=1\r\n\r\n[Main]\r\nCounter=" + QByteArray::number(I) +
         "\r\nTail=" + QByteArray(I % 500, 'z') + "\r\n";
}

int RunWriter(const QString &Path) {
  for (int I = 1;; ++I) {
    WritePrivateProfileString("Main", "Counter", QString::number(I), Path);
    WritePrivateProfileString("Main", "Tail", QString(I % 500, u'z'), Path);
  }
}
}  // namespace

class TstProfileFile : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;
  QString Path;

 private slots:
  void init() {
    QVERIFY(Dir.isValid());
    Path = Dir.filePath("test.ini");
    QFile::remove(Path);
  }

  void readString_data() {
    QTest::addColumn<QByteArray>("Content");
    QTest::addColumn<QString>("Section");
    QTest::addColumn<QString>("Key");
    QTest::addColumn<QString>("Default");
    QTest::addColumn<int>("Size");
    QTest::addColumn<QString>("Expected");

    const QByteArray S = "[s]\na=val1\nb=\nc\nq=\"  x  \"\n";
    QTest::newRow("plain") << S << "s" << "a" << "d" << 100 << "val1";
    QTest::newRow("key case") << S << "s" << "A" << "d" << 100 << "val1";
    QTest::newRow("section case") << S << "S" << "a" << "d" << 100 << "val1";
    QTest::newRow("empty value is no default") << S << "s" << "b" << "d" << 100 << "";
    QTest::newRow("line without = is no key") << S << "s" << "c" << "dflt  " << 100 << "dflt";
    QTest::newRow("default keeps tabs, leading spaces") << S << "s" << "zz" << " d\t" << 100 << " d\t";
    QTest::newRow("null default") << S << "s" << "zz" << QString() << 100 << "";
    QTest::newRow("quotes keep inner spaces") << S << "s" << "q" << "d" << 100 << "  x  ";
    QTest::newRow("cut to size - 1") << S << "s" << "a" << "d" << 4 << "val";
    QTest::newRow("size 1") << S << "s" << "a" << "d" << 1 << "";
    QTest::newRow("size 0") << S << "s" << "a" << "d" << 0 << "";
    QTest::newRow("default cut too") << S << "s" << "zz" << "abcdef" << 4 << "abc";
    QTest::newRow("quotes stripped before the cut") << QByteArray("[s]\na=\"abcdef\"\n") << "s" << "a" << "" << 4 << "abc";
    QTest::newRow("quoted default") << S << "s" << "zz" << "'dq'" << 100 << "dq";
    QTest::newRow("missing section") << S << "t" << "a" << "d" << 100 << "d";
    QTest::newRow("missing file") << NoFile << "s" << "a" << "d" << 100 << "d";
    QTest::newRow("empty file") << QByteArray() << "s" << "a" << "d" << 100 << "d";

    QTest::newRow("spaces around names and =") << QByteArray("  [  Opts  ]  junk\n  Key  =  v w  \n") << " Opts " << " key " << "" << 100 << "v w";
    QTest::newRow("split at first =") << QByteArray("[s]\na = b = c\n") << "s" << "a" << "" << 100 << "b = c";
    QTest::newRow("section name to last ]") << QByteArray("[a]b]\nk=1\n") << "a]b" << "k" << "" << 100 << "1";
    QTest::newRow("[ without ] is a plain line") << QByteArray("[s]\n[k=2\n") << "s" << "[k" << "" << 100 << "2";
    QTest::newRow("comment line") << QByteArray("[s]\n;k=1\nk2=2\n") << "s" << ";k" << "d" << 100 << "d";
    QTest::newRow("# is no comment") << QByteArray("[s]\n#k=1\n") << "s" << "#k" << "d" << 100 << "1";
    QTest::newRow("no inline comment") << QByteArray("[s]\nk=v ; note\n") << "s" << "k" << "" << 100 << "v ; note";
    QTest::newRow("before first header unreachable") << QByteArray("k=1\n[s]\n") << "" << "k" << "d" << 100 << "d";
    QTest::newRow("[] is section empty") << QByteArray("k=1\n[]\nk=2\n") << "" << "k" << "d" << 100 << "2";
    QTest::newRow("first duplicate section wins") << QByteArray("[s]\nk=1\n[S]\nk=2\nj=3\n") << "s" << "j" << "d" << 100 << "d";
    QTest::newRow("first duplicate key wins") << QByteArray("[s]\nk=1\nK=2\n") << "s" << "k" << "" << 100 << "1";
    QTest::newRow("empty key name") << QByteArray("[s]\n=v\n") << "s" << "" << "d" << 100 << "v";
    QTest::newRow("key in the next section is not ours") << QByteArray("[s]\n[t]\nk=1\n") << "s" << "k" << "d" << 100 << "d";
    QTest::newRow("mismatched quotes kept") << QByteArray("[s]\nk=\"abc'\n") << "s" << "k" << "" << 100 << "\"abc'";
    QTest::newRow("one quote kept") << QByteArray("[s]\nk=\"\n") << "s" << "k" << "" << 100 << "\"";
    QTest::newRow("only one pair stripped") << QByteArray("[s]\nk=\"\"x\"\"\n") << "s" << "k" << "" << 100 << "\"x\"";
    QTest::newRow("CRLF") << QByteArray("[s]\r\na=1\r\nb=2\r\n") << "s" << "b" << "" << 100 << "2";
    QTest::newRow("CR only") << QByteArray("[s]\ra=1\rb=2\r") << "s" << "b" << "" << 100 << "2";
    QTest::newRow("no final line break") << QByteArray("[s]\nb=2") << "s" << "b" << "" << 100 << "2";
    QTest::newRow("tabs and ^Z trimmed") << QByteArray("[s]\n\tb\t=\t2\x1a\n") << "s" << "b" << "" << 100 << "2";
    QTest::newRow("UTF-8 BOM") << QByteArray("\xEF\xBB\xBF[s]\nb=2\n") << "s" << "b" << "" << 100 << "2";
    QTest::newRow("UTF-8 value") << QByteArray("[s]\nn=Jos\xC3\xA9\n") << "s" << "n" << "" << 100 << u"Jos\u00e9"_qs;
    QTest::newRow("Windows-1252 value") << QByteArray("[s]\nn=Jos\xE9 \x80\n") << "s" << "n" << "" << 100 << u"Jos\u00e9 \u20ac"_qs;
    QTest::newRow("cut counts characters") << QByteArray("[s]\nn=\xC3\xA9\xC3\xA9\xC3\xA9\n") << "s" << "n" << "" << 3 << u"\u00e9\u00e9"_qs;
    QTest::newRow("cut never splits a pair") << QByteArray("[s]\nn=a\xF0\x9F\x8E\xB2z\n") << "s" << "n" << "" << 3 << u"a\U0001F3B2"_qs;
  }
  void readString() {
    QFETCH(QByteArray, Content);
    QFETCH(QString, Section);
    QFETCH(QString, Key);
    QFETCH(QString, Default);
    QFETCH(int, Size);
    QFETCH(QString, Expected);
    Spit(Path, Content);
    QCOMPARE(GetPrivateProfileString(Section, Key, Default, Size, Path), Expected);
  }

  void readInt_data() {
    QTest::addColumn<QByteArray>("Value");  // empty: the key is missing
    QTest::addColumn<int>("Default");
    QTest::addColumn<quint32>("Expected");
    QTest::newRow("1") << QByteArray("1") << 7 << 1u;
    QTest::newRow("+1") << QByteArray("+1") << 7 << 1u;
    QTest::newRow("double quotes") << QByteArray("\"1\"") << 7 << 1u;
    QTest::newRow("single quotes") << QByteArray("'1'") << 7 << 1u;
    QTest::newRow("-1") << QByteArray("-1") << 7 << 4294967295u;
    QTest::newRow("leading number") << QByteArray("42A94967297") << 7 << 42u;
    QTest::newRow("letter first") << QByteArray("B4294967297") << 7 << 0u;
    QTest::newRow("abc") << QByteArray("abc") << 7 << 0u;
    QTest::newRow("sign only") << QByteArray("-") << 7 << 0u;
    QTest::newRow("wraps to 0") << QByteArray("4294967296") << 7 << 0u;
    QTest::newRow("wraps to 1") << QByteArray("4294967297") << 7 << 1u;
    QTest::newRow("negative wraps") << QByteArray("-4294967297") << 7 << 4294967295u;
    QTest::newRow("0x") << QByteArray("0x1A") << 7 << 26u;
    QTest::newRow("0X is no prefix") << QByteArray("0X1A") << 7 << 0u;
    QTest::newRow("0b") << QByteArray("0b101") << 7 << 5u;
    QTest::newRow("0o") << QByteArray("0o17") << 7 << 15u;
    QTest::newRow("010 is decimal") << QByteArray("010") << 7 << 10u;
    QTest::newRow("3.9") << QByteArray("3.9") << 7 << 3u;
    QTest::newRow("1e3") << QByteArray("1e3") << 7 << 1u;
    QTest::newRow("empty value") << QByteArray("=") << 7 << 7u;
    QTest::newRow("missing key") << QByteArray() << 7 << 7u;
    QTest::newRow("negative default") << QByteArray() << -1 << 4294967295u;
  }
  void readInt() {
    QFETCH(QByteArray, Value);
    QFETCH(int, Default);
    QFETCH(quint32, Expected);
    Spit(Path, "[s]\n" + (Value.isEmpty() ? QByteArray() : Value == "=" ? "k=\n" : "k=" + Value + "\n"));
    QCOMPARE(GetPrivateProfileInt("s", "k", Default, Path), Expected);
  }

  void write_data() {
    QTest::addColumn<QByteArray>("Before");
    QTest::addColumn<QString>("Section");
    QTest::addColumn<QString>("Key");
    QTest::addColumn<QString>("Value");
    QTest::addColumn<QByteArray>("After");

    QTest::newRow("new file") << NoFile << "App" << "k" << "v" << QByteArray("[App]\nk=v\n");
    QTest::newRow("empty value") << NoFile << "App" << "k" << "" << QByteArray("[App]\nk=\n");
    QTest::newRow("change in place, CRLF and spelling kept")
        << QByteArray(";c\r\n[APP]\r\n  KEY = old  \r\nz=1\r\n") << "app" << "key" << "new"
        << QByteArray(";c\r\n[APP]\r\n  KEY =new\r\nz=1\r\n");
    QTest::newRow("added after the section's last entry")
        << QByteArray("[A]\nx=1\n; note\n\n[B]\ny=2\n") << "a" << "k" << "v"
        << QByteArray("[A]\nx=1\nk=v\n; note\n\n[B]\ny=2\n");
    QTest::newRow("added to an empty section")
        << QByteArray("[A]\n\n[B]\n") << "A" << "k" << "v" << QByteArray("[A]\nk=v\n\n[B]\n");
    QTest::newRow("added to the last section, CRLF")
        << QByteArray("[A]\r\nx=1\r\n") << "A" << "k" << "v" << QByteArray("[A]\r\nx=1\r\nk=v\r\n");
    QTest::newRow("added where the last line has no break")
        << QByteArray("[A]\r\nx=1") << "A" << "k" << "v" << QByteArray("[A]\r\nx=1\r\nk=v\r\n");
    QTest::newRow("new section at the end, no blank line")
        << QByteArray("[A]\r\nx=1\r\n\r\n") << "B" << "k" << "v" << QByteArray("[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n");
    QTest::newRow("new section after an unbroken last line")
        << QByteArray("; only") << "B" << "k" << "v" << QByteArray("; only\n[B]\nk=v\n");
    QTest::newRow("CR-only file") << QByteArray("[A]\rx=1\r") << "A" << "y" << "2" << QByteArray("[A]\rx=1\ry=2\r");
    QTest::newRow("first of duplicate sections")
        << QByteArray("[A]\nx=1\n[a]\n") << "A" << "y" << "2" << QByteArray("[A]\nx=1\ny=2\n[a]\n");
    QTest::newRow("names trimmed") << NoFile << " App " << " k " << "v" << QByteArray("[App]\nk=v\n");
    QTest::newRow("value as given") << NoFile << "App" << "k" << "  x  " << QByteArray("[App]\nk=  x  \n");
    QTest::newRow("UTF-8") << NoFile << "App" << "k" << u"Jos\u00e9"_qs << QByteArray("[App]\nk=Jos\xC3\xA9\n");
    QTest::newRow("BOM kept") << QByteArray("\xEF\xBB\xBF[A]\nx=1\n") << "A" << "x" << "2" << QByteArray("\xEF\xBB\xBF[A]\nx=2\n");
    QTest::newRow("value with a line break refused") << QByteArray("[A]\nx=1\n") << "A" << "x" << "1\n[B]" << QByteArray("[A]\nx=1\n");
    QTest::newRow("key with = refused") << QByteArray("[A]\n") << "A" << "a=b" << "1" << QByteArray("[A]\n");
    QTest::newRow("key starting ; refused") << QByteArray("[A]\n") << "A" << ";a" << "1" << QByteArray("[A]\n");
  }
  void write() {
    QFETCH(QByteArray, Before);
    QFETCH(QString, Section);
    QFETCH(QString, Key);
    QFETCH(QString, Value);
    QFETCH(QByteArray, After);
    Spit(Path, Before);
    const bool Refused = Before != NoFile && Before == After;
    QCOMPARE(WritePrivateProfileString(Section, Key, Value, Path), !Refused);
    QCOMPARE(Slurp(Path), After);
  }

  // Whatever a write is given, reading it back gives it again, trimmed and
  // less one pair of quotes.
  void roundTrip_data() {
    QTest::addColumn<QString>("Value");
    QTest::addColumn<QString>("Read");
    QTest::newRow("plain") << "Ann" << "Ann";
    QTest::newRow("spaces") << "  x  " << "x";
    QTest::newRow("single quotes") << "'hi'" << "hi";
    QTest::newRow("quoted spaces") << "\"  x  \"" << "  x  ";
    QTest::newRow("accents") << u"Zo\u00eb M\u00fcller"_qs << u"Zo\u00eb M\u00fcller"_qs;
    QTest::newRow("= and ;") << "a=b ;c" << "a=b ;c";
  }
  void roundTrip() {
    QFETCH(QString, Value);
    QFETCH(QString, Read);
    QVERIFY(WritePrivateProfileString("S", "K", Value, Path));
    QCOMPARE(GetPrivateProfileString("s", "k", "", 1000, Path), Read);
  }

  void sameValueLeavesTheFileAlone() {
    Spit(Path, "[A]\nx=1\n");
    const QDateTime Old = QDateTime::currentDateTimeUtc().addDays(-3);
    {
      QFile F(Path);
      QVERIFY(F.open(QIODevice::ReadWrite));
      QVERIFY(F.setFileTime(Old, QFileDevice::FileModificationTime));
    }
    QVERIFY(WritePrivateProfileString("a", "X", "1", Path));
    QCOMPARE(QFileInfo(Path).lastModified().toUTC(), Old);
  }

  // The replacement is a new file: it must carry the old one's permissions
  // and, through a link, replace what the link points at.
  void replaceKeepsPermissionsAndLinks() {
    Spit(Path, "[A]\nx=1\n");
    const auto Mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(Path, Mode));
    const QString Link = Dir.filePath("link.ini");
    QFile::remove(Link);
    QVERIFY(QFile::link(Path, Link));
    QVERIFY(WritePrivateProfileString("A", "x", "2", Link));
    QVERIFY(QFileInfo(Link).isSymLink());
    QCOMPARE(Slurp(Path), QByteArray("[A]\nx=2\n"));
    QCOMPARE(QFile::permissions(Path) & ~(QFile::ReadUser | QFile::WriteUser), Mode & ~(QFile::ReadUser | QFile::WriteUser));
    QCOMPARE(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);  // no temporary left
  }

  void failedWritesAreReported_data() {
    QTest::addColumn<QString>("Target");
    QTest::newRow("missing folder") << "nofolder/test.ini";
    QTest::newRow("folder in the way") << ".";
    QTest::newRow("empty name") << "";
  }
  void failedWritesAreReported() {
    QFETCH(QString, Target);
    const QString Full = Target.isEmpty() ? QString() : Dir.filePath(Target);
    QVERIFY(!WritePrivateProfileString("A", "x", "1", Full));
    QCOMPARE(GetPrivateProfileString("A", "x", "d", 10, Full), "d");
  }

  void readOnlyFolderKeepsTheFile() {
    Spit(Path, "[A]\nx=1\n");
    QFile::setPermissions(Dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool Written = WritePrivateProfileString("A", "x", "2", Path);
    QFile::setPermissions(Dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (Written) QSKIP("running with rights that ignore folder permissions");
    QCOMPARE(Slurp(Path), QByteArray("[A]\nx=1\n"));
  }

  // Garbage, one endless line or a big file: no crash, no hang, and a write
  // still goes at the end without harming what was there.
  void hostileFiles_data() {
    QTest::addColumn<QByteArray>("Content");
    QByteArray Garbage(4 << 20, '\0');
    QRandomGenerator Random(42);
    for (char &C : Garbage) C = char(Random.bounded(256));
    QTest::newRow("binary garbage") << Garbage;
    QTest::newRow("no line breaks") << QByteArray(8 << 20, '[');
    QTest::newRow("many lines") << QByteArray("[s]\nk=v\n").repeated(1 << 20);
  }
  void hostileFiles() {
    QFETCH(QByteArray, Content);
    Spit(Path, Content);
    QElapsedTimer Timer;
    Timer.start();
    GetPrivateProfileString("Top Ten Scores", "Score10", "0", 10, Path);
    QVERIFY(WritePrivateProfileString("Top Ten Scores", "Score10", "5", Path));
    QCOMPARE(GetPrivateProfileString("top ten scores", "score10", "0", 10, Path), "5");
    QVERIFY(Slurp(Path).startsWith(Content));
    QVERIFY2(Timer.elapsed() < 20000, "a few megabytes must take well under a second or two");
  }

  void oversizedFileIsNeitherReadNorReplaced() {
    {
      QFile F(Path);
      QVERIFY(F.open(QIODevice::WriteOnly));
      QVERIFY(F.write("[s]\nk=1\n") > 0);
      QVERIFY(F.resize(MaxProfileFileSize + 1));  // sparse: costs no disk
    }
    QCOMPARE(GetPrivateProfileString("s", "k", "d", 10, Path), "d");
    QVERIFY(!WritePrivateProfileString("s", "k", "2", Path));
    QCOMPARE(QFileInfo(Path).size(), MaxProfileFileSize + 1);
  }

  // A writer killed at random moments never leaves a torn file: what is on
  // disk is always the complete content after one of its writes.
  void killedWriterLeavesAWholeFile() {
    QRandomGenerator Random(7);
    for (int Round = 0; Round < 12; ++Round) {
      Spit(Path, CrashStep(0));
      QProcess Writer;
      Writer.start(QCoreApplication::applicationFilePath(), {"--writer", Path});
      QVERIFY(Writer.waitForStarted());
      QTest::qSleep(20 + Random.bounded(80));
      Writer.kill();
      QVERIFY(Writer.waitForFinished());
      const QByteArray Data = Slurp(Path);
      const QByteArray Counter = GetPrivateProfileString("Main", "Counter", "", 20, Path).toLatin1();
      const int I = Counter.toInt();
      // The two keys are separate writes, so the tail may lag one step.
      const bool Whole = Data == CrashStep(I) ||
                         Data == CrashStep(I).replace("Tail=" + QByteArray(I % 500, 'z'),
                                                      "Tail=" + QByteArray((I + 499) % 500, 'z'));
      QVERIFY2(Whole, Data.left(200).constData());
    }
    // Leftover temporary files are harmless but should not pile up into
    // the reader's view: the file name itself is always whole.
    QVERIFY(QFileInfo::exists(Path));
  }
};

int main(int argc, char *argv[]) {
  if (argc == 3 && qstrcmp(argv[1], "--writer") == 0) return RunWriter(QString::fromLocal8Bit(argv[2]));
  QCoreApplication App(argc, argv);
  TstProfileFile Test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&Test, argc, argv);
}

#include "tst_profilefile.moc"

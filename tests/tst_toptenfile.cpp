// The top ten: its file format, its file and its two dialogs.
//
// The format is read and written one value at a time by the profile
// functions. Their contract: names match without regard to case, values
// come back trimmed and unquoted, and a write touches one line and nothing
// else, leaving nothing behind (the lock is tested with the file layer).
// Also the strict integer conversion the scores are read with.
//
// The file: placing a total (a tie ranks the newer game first), shifting the
// lower places down, the read limits, Reset, and the strict reading of
// scores when placing. An entry and a reset are one step that leaves the
// bytes the key-by-key writes always left; a kill in the middle leaves the
// old list or the new one, two copies of the game entering at once keep the
// true ten best (the lock itself is tested with the file layer).
// Every check reads the file through a fresh object or as bytes.
//
// The list: ten rows read from the file on every showing and gone on hide;
// the reset question and what each answer does. The name dialog, through the
// interface the main window uses: the place announced, the name typed
// (Escape and the close button do nothing, Enter accepts), the name history
// saved before the entry is written. The whole game end through the main
// window is tested with the other windows.
#include <QLabel>
#include <QTreeWidget>
#include <ranges>

#include "BigScoreDlg.h"
#include "ProfileFile.h"
#include "StrToInt.h"
#include "Top10Form.h"
#include "TestSupport.h"

namespace {
// The date is written in the user's short format; this fixes it before
// anything reads the locale.
const bool GermanDates = qputenv("LC_ALL", "de_DE.UTF-8");

// A call on the file Content, section "s": a read of Key with Default into
// a buffer of Size giving Expected (Size 0: an integer read, default 7), or
// (Size -1) a write of Value, given in Default, under Key that leaves
// Expected in the file and reports success when it changed the file.
// Content, Key, Default, Size, Expected:
using TCall = std::tuple<QByteArray, QString, QString, int, QString>;

template <size_t N> QByteArray Raw(const char (&Bytes)[N]) { return QByteArray(Bytes, N - 1); }  // NULs too

TCall Int(const QByteArray &Value, const QString &Expected) { return {"[s]\nk=" + Value + "\n", "k", "", 0, Expected}; }

const QString List = "Top Ten Scores";
const std::array<const char *, 4> Keys = {"Score", "Name", "Date", "Quintors"};
const QStringList Empty = {"0", "", "", "0"};

QString KeyOf(int K, int N) { return QString::asprintf("%s%02d", Keys[K], N); }

// A hand-made file: a comment and another section before the list, whose
// places 1 to 10 hold Places ("score|name|date|count"), CRLF line ends.
QByteArray Listing(const QStringList &Places) {
  QByteArray Data = "; by hand\r\n[Other]\r\nScore01=5\r\n\r\n[Top Ten Scores]\r\n";
  for (int N = 1; N <= 10; ++N)
    for (int K = 0; K < 4; ++K) Data += (KeyOf(K, N) + "=" + Places[N - 1].section('|', K, K) + "\r\n").toUtf8();
  return Data;
}

// Places 1 to 10 score 100, 90, ... 10 and are held by P1 ... P10.
QStringList Full() {
  QStringList Places;
  for (int N = 1; N <= 10; ++N) Places << QString("%1|P%2|D%2|%2").arg(110 - 10 * N).arg(N);
  return Places;
}

QString Today() { return QDate::currentDate().toString("dd.MM.yy"); }

// The place of a game that the entering children enter.
QString Game(int Total) { return QString("%1|G%1|%2|%3").arg(Total).arg(Today()).arg(Total % 7); }

// An entry of Total for "New" with 3 (a reset for 0) as it was made before
// it became one step: every value read and written by a call of its own.
// Gives the place (0 for a reset).
int KeyByKey(const QString &Path, int Total) {
  const auto Write = [&](int N, const QStringList &Values) {
    for (int K = 0; K < 4; ++K) WritePrivateProfileString(List, KeyOf(K, N), Values[K], Path);
  };
  int P = Total ? 11 : 0;
  for (int N = 1; !Total && N <= 10; ++N) Write(N, Empty);
  while (P > 1 && GetPrivateProfileString(List, KeyOf(0, P - 1), "0", 10, Path).toInt() <= Total) --P;
  for (int I = 10; P && I > P; --I) {
    QStringList Old;
    for (int K = 0; K < 4; ++K) Old << GetPrivateProfileString(List, KeyOf(K, I - 1), Empty[K], K % 3 ? 100 : 10, Path);
    Write(I, Old);
  }
  if (P && P <= 10) Write(P, {QString::number(Total), "New", Today(), "3"});
  return P;
}

// A child entering each total as Game(Total), one after the other.
pid_t StartEntering(const QString &Program, const auto &Totals) {
  return Spawn([=] {
    TTopTenFile File(Program);
    for (int Total : Totals) {
      File.AddEntry(Total, "G" + QString::number(Total), Total % 7);
      QThread::msleep(QRandomGenerator::global()->bounded(3));  // a player is slower than this
    }
    return 0;
  });
}

}  // namespace

class TstTopTenFile : public QObject, TTempFolder {
  Q_OBJECT

 private slots:
  void init() {
    for (const QString &File : FilesOf(Dir.path(), "quintor.tps")) QFile::remove(Dir.filePath(File));
  }

  void call_data() {
    QTest::addColumn<TCall>("Call");
    const QByteArray S = "[s]\na=val1\nb=\nc\nq=\"  x  \"\n";
    for (const auto &[Name, Call] : std::initializer_list<std::pair<const char *, TCall>>{
             {"key case", {S, " A ", "d", 100, "val1"}}, {"empty value is no default", {S, "b", "d", 100, ""}},
             {"no = is no key; default loses trailing spaces", {S, "c", " dflt  ", 100, " dflt"}},
             {"quotes stripped, inner spaces kept", {S, "q", "d", 100, "  x  "}},
             {"quotes stripped before the cut to size - 1", {"[s]\na=\"abcdef\"\n", "a", "", 4, "abc"}},
             {"missing section; quoted default", {"[t]\na=1\n", "a", "'d'", 100, "d"}},
             {"spaces around names and =", {"  [  S  ]  junk\n  a  =  v = w  \n", "a", "", 100, "v = w"}},
             {"comment", {"[s]\n;a=1\n", ";a", "d", 100, "d"}},
             {"first duplicate section wins", {"[s]\na=1\n[S]\nb=2\n", "b", "d", 100, "d"}},
             {"tabs, ^Z and BOM", {"\xEF\xBB\xBF[s]\n\ta\t=\t2\x1a\n", "a", "", 100, "2"}},
             {"not UTF-8: Windows-1252", {"[s]\na=Jos\xE9 \x80\n", "a", "", 100, u"Jos\u00e9 \u20ac"_qs}},
             {"UTF-8, cut by characters", {"[s]\na=\xC3\xA9\xF0\x9F\x8E\xB2z\n", "a", "", 3, u"\u00e9\U0001F3B2"_qs}},
             {"NUL ends the value", {Raw("[s]\na=ab\0cd\n"), "a", "d", 100, "ab"}},
             {"NUL ends it before the quotes go", {Raw("[s]\na='x'\0'\n"), "a", "", 100, "x"}},
             {"U+FEFF starting a value is kept", {"[s]\na=\xEF\xBB\xBFv\n", "a", "", 100, u"\uFEFFv"_qs}},
             {"U+FEFF starting a key is part of it", {"[s]\n\xEF\xBB\xBFk=1\nk=2\n", "k", "", 100, "2"}},
             {"int: quoted, +", Int("\"+1\"", "1")}, {"int: -1", Int("-1", "4294967295")},
             {"int: 0x; leading digits", Int("0x1A9Z", "425")}, {"int: 0X is no prefix", Int("0X1A", "0")},
             {"int: empty", Int("", "7")},
             {"write: new file", {NoFile, " k ", u" J\u00f6 "_qs, -1, "[s]\nk= J\xC3\xB6 \n"}},
             {"write: in place; CRLF, spelling, rest kept",
              {";c\r\n[S]\r\n  K = old  \r\nz=1\r\n", "k", "", -1, ";c\r\n[S]\r\n  K =\r\nz=1\r\n"}},
             {"write: after the section's last entry",
              {"[s]\nx=1\n; c\n\n[t]\n", "k", "v", -1, "[s]\nx=1\nk=v\n; c\n\n[t]\n"}},
             {"write: last line without a break", {"[s]\r\nx=1", "k", "v", -1, "[s]\r\nx=1\r\nk=v\r\n"}},
             {"write: new section at the end", {"[t]\r\n\r\n", "k", "v", -1, "[t]\r\n\r\n[s]\r\nk=v\r\n"}},
             {"write: CR-only file", {"[s]\rx=1\r", "k", "v", -1, "[s]\rx=1\rk=v\r"}},
             {"write: line break refused", {"[s]\nk=1\n", "k", "1\n[t]", -1, "[s]\nk=1\n"}},
             {"write: NUL ends the value", {"[s]\nk=1\n", "k", u"2\u0000\n[t]"_qs, -1, "[s]\nk=2\n"}},
             {"write: U+FEFF k, not k", {"[s]\nk=1\n", u"\uFEFFk"_qs, "v", -1, u"[s]\nk=1\n\uFEFFk=v\n"_qs}}})
      QTest::newRow(Name) << Call;
  }
  void call() {
    QFETCH(TCall, Call);
    const auto &[Content, Key, Default, Size, Expected] = Call;
    QVERIFY(Spit(Path, Content));
    if (Size < 0) QCOMPARE(WritePrivateProfileString("s", Key, Default, Path), Content != Expected.toUtf8());
    QCOMPARE(Size < 0 ? QString::fromUtf8(Slurp(Path))
             : Size   ? GetPrivateProfileString("s", Key, Default, Size, Path)
                      : QString::number(GetPrivateProfileInt("s", Key, 7, Path)), Expected);
  }

  // A replaced file keeps its permissions, and a temporary a killed write
  // left beside it goes (files that merely look alike stay); a failed write
  // changes nothing; garbage or one endless line neither crashes nor hangs,
  // and a write goes at the end without harming what was there.
  void failuresAndHostileFiles() {
    QVERIFY(Spit(Path, "[s]\nx=1\n"));
    for (const char *Suffix : {".tmp0badcafe", ".tmp0BADCAFE", ".tmp0badcafe0", ".tmp-1"}) QVERIFY(Spit(Path + Suffix, "x"));
    QVERIFY(QFile::setPermissions(Path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QVERIFY(WritePrivateProfileString("s", "x", "2", Path));
    QCOMPARE(QFile::permissions(Path) & (QFile::ReadGroup | QFile::ReadOther), QFile::ReadGroup);
    QCOMPARE(FilesOf(Dir.path(), "quintor.tps").join(' '), "quintor.tps quintor.tps.tmp-1 quintor.tps.tmp0BADCAFE quintor.tps.tmp0badcafe0");
    // Read-only, even for root:
    QVERIFY(QFile::setPermissions(Path, QFile::ReadOwner) && !WritePrivateProfileString("s", "x", "3", Path));
    QVERIFY(!WritePrivateProfileString("s", "x", "1", Dir.filePath("nofolder/x.ini")));
    QCOMPARE(Slurp(Path), "[s]\nx=2\n");

    // This very program is the garbage: NULs, stray brackets, no lines to speak of. The section
    // is named at run time, so that the program holds no copy of it.
    const QString Section = QStringLiteral("Section %1").arg(10);
    for (const QByteArray &Content : {Slurp(QCoreApplication::applicationFilePath()), QByteArray(8 << 20, '[')}) {
      QVERIFY(Spit(Path, Content) && WritePrivateProfileString(Section, "Score10", "5", Path));
      QCOMPARE(GetPrivateProfileString(Section.toLower(), "score10", "0", 10, Path), "5");
      QVERIFY(Slurp(Path).startsWith(Content));
    }
  }

  // The strict conversion accepts exactly one signed 32-bit integer and names
  // the rejected input, as given, in its message. The boundary pairs are
  // where hand-written parsers fail; the last row has digits, but not ASCII
  // ones.
  void strToInt_data() {
    TTable<QString, int>::Add();  // the input, the value (0 for the rows that must fail)
    for (const auto &[In, Out] : std::initializer_list<std::pair<QString, int>>{
             {"+007", 7}, {"  -12", -12}, {"$1f", 31}, {"0X1F", 31}, {"x1F", 31}, {"-$1F", -31}, {"$000000001F", 31},
             {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}, {"$80000000", -2147483647 - 1}, {"$FFFFFFFF", -1},
             {"12 ", 0}, {"\t12", 0}, {"- 1", 0}, {"+-1", 0}, {"", 0}, {"$", 0}, {"0x", 0}, {"-", 0}, {"$-1", 0}, {"1F", 0},
             {"1.0", 0}, {"2147483648", 0}, {"-2147483649", 0}, {"$100000000", 0}, {"18446744073709551617", 0},
             {"\u0661\u0662", 0}})
      QTest::addRow("%s%s", Out ? "" : "bad ", qPrintable(In)) << In << Out;
  }
  void strToInt() {
    const auto [Input, Expected] = TTable<QString, int>::Row();
    if (Expected) QCOMPARE(StrToInt(Input), Expected);
    else QCOMPARE(ErrorOf([&] { StrToInt(Input); }), "'" + Input + "' is not a valid integer value");
  }

  // An entry and a reset leave the bytes the same changes made key by key
  // leave, on hand-made and hand-edited files alike, and the entry goes to
  // the same place: a tie ranks the newer game first, also a tie with the
  // tenth (only the game end refuses that one).
  void oneStepEqualsKeyByKey_data() {
    TTable<QByteArray, int>::Add();  // the file, the total (0: a reset)
    const QList<std::pair<const char *, QByteArray>> Files = {
        {"hand-made, CRLF, a comment and another section first", Listing(Full())},
        {"hand-edited: spaces, case, quotes, comments, missing keys",
         "[Top Ten Scores]\n; mine\n  score01 = 100  \nNAME01=Ann\n\nScore02=\"90\"\nName02='Bob'\n#Quintors02=5\n"
         "Quintors02 = 3 ; note\nScore03=80\n  \n[later]\nk=v\n"},
        {"duplicate keys, a second list section",
         "[Top Ten Scores]\nScore01=100\nScore01=999\nName01=A\n[Misc]\na=1\n[top ten scores]\nScore02=90\n"},
        {"CR only, byte-order mark, Windows-1252, no last break",
         "\xEF\xBB\xBF[ Top Ten Scores ]\rScore01=\"70\"\rName01=Jos\xE9\rDate01=  spaced  \rQuintors01='2'"},
        {"no file", NoFile}};
    for (const auto &[Name, Content] : Files)
      for (const auto &[What, Total] : {std::pair{"first", 1000}, {"tie with the fourth", 70}, {"tie with the tenth", 10},
                                                  {"below the tenth", 9}, {"reset", 0}})
        QTest::addRow("%s: %s", What, Name) << Content << Total;
  }
  void oneStepEqualsKeyByKey() {
    const auto [Content, Total] = TTable<QByteArray, int>::Row();
    // In memory where there is a memory file system: the key-by-key writes
    // flush the disk forty times each.
    QTemporaryDir Fast((QDir("/dev/shm").exists() ? "/dev/shm" : QDir::tempPath()) + "/tst_toptenfile-XXXXXX");
    const QString Program = Fast.filePath("quintor"), File = Program + ".tps", Old = Fast.filePath("old.tps");
    QVERIFY(Spit(File, Content) && Spit(Old, Content));
    TTopTenFile One(Program);
    QCOMPARE(Total ? One.AddEntry(Total, "New", 3) : (One.Reset(), 0), KeyByKey(Old, Total));
    QCOMPARE(Slurp(File), Slurp(Old));
  }

  // A name typed into the file by hand is read cut to 99 characters, or at
  // a NUL, and a shift writes the cut text one place down; a name that
  // begins with U+FEFF keeps it. A pasted line break becomes a space rather
  // than leaving the displaced player's name in place. A hand-edited score
  // that is not a whole number stops the placing before anything is
  // written; the threshold's lenient read never fails.
  void handEditedPlaces() {
    QStringList Places = Full();
    Places[0] = u"100|\uFEFFP1|D1|1"_qs;
    Places[2] = "80|" + QString(150, u'n') + "|D3|3";
    Places[4] = "0000000060|P5|D5|5";
    QVERIFY(Spit(Path, Listing(Places).replace("Name04=P4\r", QByteArray("Name04=P4\0junk\r", 15))));
    QCOMPARE(TTopTenFile(Program).AddEntry(1000, "A\r\nB", 0), 1);
    Places[2].remove(3, 51);
    Places[4] = "000000006|P5|D5|5";
    QCOMPARE(Slurp(Path), Listing(QStringList{"1000|A  B|" + Today() + "|0"} + Places));

    Places[6] = "40.5|P7|D7|7";
    QVERIFY(Spit(Path, Listing(Places)));
    QCOMPARE(ErrorOf([&] { TTopTenFile(Program).AddEntry(1000, "X", 0); }), "'40.5' is not a valid integer value");
    QCOMPARE(Slurp(Path), Listing(Places));
    QVERIFY(Spit(Path, "[top ten scores]\nscore10=-12abc\n"));
    QCOMPARE(TTopTenFile(Program).GetTenthScore(), -12);
  }

  // A child entering better games one after the other, killed at random
  // moments, always leaves the list after one of its entries, whole; each
  // child's first entry takes over the lock the one before was killed
  // holding, and the next entry leaves neither lock nor temporary behind.
  void killedEntryLeavesOldOrNewList() {
    QVERIFY(Spit(Path, Listing(Full())));
    int Best = 1000;
    for (int Round = 0; Round < 12; ++Round) {
      const pid_t Child = StartEntering(Program, std::views::iota(Best + 1, Best + 501));
      // Its first entry:
      QTRY_VERIFY_WITH_TIMEOUT(GetPrivateProfileInt(List, "Score01", 0, Path) > uint(Best), 10000);
      QTest::qSleep(QRandomGenerator::global()->bounded(30));
      QVERIFY(Ended(Child, true));
      Best = int(GetPrivateProfileInt(List, "Score01", 0, Path));
      QStringList Places;
      for (int Total = Best; Total > 1000 && Places.size() < 10; --Total) Places << Game(Total);
      QCOMPARE(Slurp(Path), Listing(Places + Full()));
    }
    QCOMPARE(TTopTenFile(Program).AddEntry(5000, "Last", 0), 1);
    QCOMPARE(FilesOf(Dir.path(), "quintor.tps").join(" "), "quintor.tps");
  }

  // Two copies of the game entering games at the same time end with the ten
  // best of all the games, each place whole; the second reaches the list
  // through a symbolic link to its folder.
  void twoCopiesKeepTheTrueTopTen() {
    QVERIFY(Spit(Path, Listing(QStringList(10, "0|||0"))));
    const QString Link = Dir.filePath("link");
    QVERIFY(QFile::exists(Link) || QFile::link(Dir.path(), Link));
    QList<int> Totals;
    while (Totals.size() < 30)
      if (const int T = QRandomGenerator::global()->bounded(1, 1000); !Totals.contains(T)) Totals << T;
    const pid_t Copies[2] = {StartEntering(Program, Totals.mid(0, 15)), StartEntering(Link + "/quintor", Totals.mid(15))};
    for (const pid_t Copy : Copies) QVERIFY(Ended(Copy));
    std::sort(Totals.begin(), Totals.end(), std::greater<>());
    QStringList Places;
    for (int T : Totals.mid(0, 10)) Places << Game(T);
    QCOMPARE(Slurp(Path), Listing(Places));
  }

  // A program whose folder cannot be written keeps its list in the user's
  // data folder, made when first needed: the list beside the program is
  // read until the first entry, which starts from it and leaves it as it
  // was. A program whose folder can be written keeps its list beside it,
  // where a read-only list is still not kept, nor moved. The permission
  // bits decide, also when the tests run as the superuser.
  void listOfAProgramInAReadOnlyFolder_data() {
    TTable<bool, bool>::Add();  // whether the folder, whether the list beside the program can be written
    QTest::newRow("read-only folder: the user's copy") << false << true;
    QTest::newRow("writable folder: beside the program") << true << true;
    QTest::newRow("read-only list in a writable folder: not kept") << true << false;
  }
  void listOfAProgramInAReadOnlyFolder() {
    const auto [FolderWritable, FileWritable] = TTable<bool, bool>::Row();
    const QString Copy = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/quintor.tps";
    QVERIFY(QFileInfo(Copy).dir().removeRecursively() && Spit(Path, Listing(Full())));
    const auto Writable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    QVERIFY(QFile::setPermissions(Path, FileWritable ? QFile::ReadOwner | QFile::WriteOwner : QFile::ReadOwner));
    QVERIFY(QFile::setPermissions(Dir.path(), FolderWritable ? Writable : QFile::ReadOwner | QFile::ExeOwner));

    TTopTenFile File(Program);
    QCOMPARE(File.GetPosition(95), 2);  // the list beside the program
    File.AddEntry(1000, "New", 3);
    const QByteArray Entered = Listing(QStringList{"1000|New|" + Today() + "|3"} + Full().mid(0, 9));
    const bool Kept = FolderWritable && FileWritable;
    QCOMPARE(Slurp(Path), Kept ? Entered : Listing(Full()));
    QCOMPARE(Slurp(Copy), FolderWritable ? NoFile : Entered);
    QCOMPARE(TTopTenFile(Program).GetPosition(999), Kept || !FolderWritable ? 2 : 1);  // read where kept
    QVERIFY(QFile::setPermissions(Dir.path(), Writable));
  }

  // The list reads its ten rows at each opening (the texts of the first and
  // the tenth row, and how many rows there are), a long name whole, and
  // drops them on closing; Escape does not close it. At the reset question
  // No leaves file and rows alone, Yes empties the table at once and resets
  // the file. The question offers Yes and No: clicking a missing button
  // would abort the run.
  void listAndItsResetQuestion() {
    TTop10Form Form(Program);
    Form.TopTenFile.AddEntry(300, QString(99, u'L'), 2);  // after the form was made
    const QByteArray Before = Slurp(Path);
    QStringList Seen;
    auto *Table = Form.findChild<QTreeWidget *>("ListView1");
    WhenModal<TTop10Form>([&](TTop10Form *List) {
      for (int Row = 0; Row < Table->topLevelItemCount(); Row += 9)  // the first and the tenth
        for (int Column = 0; Column < 5; ++Column) Seen << Table->topLevelItem(Row)->text(Column);
      QTest::keyClick(List, Qt::Key_Escape);
      Seen << QString::number(List->isVisible());
      for (const auto Answer : {QMessageBox::No, QMessageBox::Yes}) {
        WhenModal<QMessageBox>([&](QMessageBox *Box) {
          Seen << Box->windowTitle() << Box->text() << QString::number(Box->icon() == QMessageBox::Warning);
          QTest::mouseClick(Box->button(Answer), Qt::LeftButton);
        });
        QTest::mouseClick(List->findChild<QPushButton *>("ResetScores"), Qt::LeftButton);  // returns once answered
        Seen << QString::number(Table->topLevelItemCount()) << QString::number(Slurp(Path) == Before);
      }
      QTest::mouseClick(List->findChild<QPushButton *>("OK"), Qt::LeftButton);
    });
    Form.exec();
    Seen << QString::number(Table->topLevelItemCount());  // none once closed
    QCOMPARE(Seen, QStringList({"1.", QString(99, u'L'), Today(), "300", "2", "10.", "", "", "0", "0", "1",
                                "Reset Scores", "Are you sure ?", "1", "10", "1",  // No
                                "Reset Scores", "Are you sure ?", "1", "0", "0", "0"}));
  }

  // A total equal to place 3 is announced as number 3. The name is typed
  // where the focus is; what the history and place 3 hold is taken the
  // moment the dialog closes.
  void nameAskedAndSavedBeforeTheEntry() {
    TTop10Form Top10(Program);  // the list first, then the name dialog, as at start-up
    TBigScoreDlg BigScore;
    for (int Total : {500, 400, 300, 200}) Top10.TopTenFile.AddEntry(Total, QString::number(Total), 0);
    QStringList Seen;
    connect(&BigScore, &QDialog::finished, this, [&] {
      Seen << QString::number(Slurp(Dir.filePath("HKEY_CURRENT_USER.reg")).contains("\"0\"=\"Ann\""))
           << GetPrivateProfileString("Top Ten Scores", "Name03", "", 100, Path);
    });
    WhenModal<TBigScoreDlg>([&](TBigScoreDlg *Dialog) {
      QTest::keyClick(Dialog->focusWidget(), Qt::Key_Escape);
      Seen << Dialog->findChild<QLabel *>("Message")->text()
           << QString::number(!Dialog->close() && QApplication::activeModalWidget() == Dialog);
      QTest::keyClicks(Dialog->focusWidget(), "Ann");
      QTest::keyClick(Dialog->focusWidget(), Qt::Key_Return);
    });
    Top10.TopTenFile.EnterNewScore(300, 1, [&](int Place) { return BigScore.AskName(Place); });
    QCOMPARE(Seen, QStringList({"You are number 3 on the Top Ten List. Please type your name:", "1", "1", "300"}));
    QCOMPARE(GetPrivateProfileString("Top Ten Scores", "Name03", "", 100, Path), "Ann");
  }
};

QTEST_MAIN(TstTopTenFile)
#include "tst_toptenfile.moc"

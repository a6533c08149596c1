// The profile functions read and write one value at a time. The contract:
// names match without regard to case, values come back trimmed and
// unquoted, and a write touches one line and nothing else, leaving nothing
// behind (the lock is tested with the file layer). That a killed write leaves the old file or the
// new one is tested with the top ten, whose entries are written the same
// way. Also the strict integer conversion the top ten reads its scores with.
#include "ProfileFile.h"
#include "StrToInt.h"
#include "TestSupport.h"

namespace {
// A call on the file Content, section "s": a read of Key with Default into
// a buffer of Size giving Expected (Size 0: an integer read, default 7), or
// (Size -1) a write of Value, given in Default, under Key that leaves
// Expected in the file and reports success when it changed the file.
// Content, Key, Default, Size, Expected:
using TCall = std::tuple<QByteArray, QString, QString, int, QString>;

template <size_t N> QByteArray Raw(const char (&Bytes)[N]) { return QByteArray(Bytes, N - 1); }  // NULs too

TCall Int(const QByteArray &Value, const QString &Expected) { return {"[s]\nk=" + Value + "\n", "k", "", 0, Expected}; }
}  // namespace

class TstProfileFile : public QObject, TTempFolder {
  Q_OBJECT

 private slots:
  void init() { QFile::remove(Path); }

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

    // This very program is the garbage: NULs, stray brackets, no lines to speak of.
    for (const QByteArray &Content : {Slurp(QCoreApplication::applicationFilePath()), QByteArray(8 << 20, '[')}) {
      QVERIFY(Spit(Path, Content) && WritePrivateProfileString("Top Ten Scores", "Score10", "5", Path));
      QCOMPARE(GetPrivateProfileString("top ten scores", "score10", "0", 10, Path), "5");
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
};

QTEST_GUILESS_MAIN(TstProfileFile)

#include "tst_profilefile.moc"

// The program's version: "Version " and the text found in the program file,
// read once it has been found and again while nothing has been found; a form's
// stored caption is replaced on loading. The program files are copies of this
// test program (which the build gives version 1.1.0.12) with the block swapped
// or the file damaged: the lookup must give up on them, never loop or read
// outside the data (the sanitizer build checks every damaged variant).

#include "ProgramPath.h"
#include "TestSupport.h"
#include "Version.h"
#include "VersionBlock.h"

static QByteArray OwnProgram() { return Slurp(QCoreApplication::applicationFilePath()); }

// This program with its version block replaced by one whose string table is
// named Table and holds Version.
static QByteArray OwnProgramWith(const QByteArray &Table, const QByteArray &Version) {
  const QByteArray Block = BuildVersionBlock(ProgramVersionInfo({1, 0, 0, 0}, {{"FileVersion", Version}})).replace("040904E4", Table);
  const auto Span = FindElfSection(QCoreApplication::applicationFilePath(), VersionSectionName);
  if (!Span || Block.size() > Span->Size) qFatal("no room for the replacement version block");
  return OwnProgram().replace(Span->Offset, Span->Size, Block.leftJustified(Span->Size, '\0'));
}

class TestVersion : public QObject {
  Q_OBJECT

  QTemporaryDir Dir;

  bool UseProgram(const QByteArray &Bytes) {
    SetProgramFilePathForTesting(Dir.filePath("program"));
    return Spit(Dir.filePath("program"), Bytes);
  }

 private slots:
  void caption_data() {
    // Columns: File, Caption.
    TTable<QByteArray, QString>::Add();
    const QByteArray Own = OwnProgram();
    QTest::newRow("version found") << Own << "Version 1.1.0.12";
    QTest::newRow("no block") << QByteArray(Own).replace(VersionSectionName, ".notaversion") << "Version ";
    QTest::newRow("other language only") << OwnProgramWith("040704E4", "1.1.0.12") << "Version ";
    QTest::newRow("other code page only") << OwnProgramWith("040904B0", "1.1.0.12") << "Version ";
    QTest::newRow("longer text cut to 19") << OwnProgramWith("040904E4", "1.0.0.1-beta.2026+b.42") << "Version 1.0.0.1-beta.2026+b";
    QTest::newRow("name table index out of range") << QByteArray(Own).replace(0x3E, 2, "\xFF\x7F") << "Version ";
    QTest::newRow("section table past the end") << QByteArray(Own).replace(0x2D, 1, "\x7F") << "Version ";
  }

  // Once found, the version is kept although the file changes; while none
  // has been found, the next request reads the file again.
  void caption() {
    const auto [File, Caption] = TTable<QByteArray, QString>::Row();
    QVERIFY(UseProgram(File));
    TVersionLabel Label;
    Label.setText("Version 9.9.9.9");  // as a form might have stored it
    LoadComponents(&Label);
    QCOMPARE(Label.text(), Caption);
    QVERIFY(UseProgram(OwnProgramWith("040904E4", "2.0.0.0")));
    QCOMPARE(Label.GetVersion(), Caption == "Version " ? QString("2.0.0.0") : Caption.mid(8));
  }

  // A cut block is refused, never read past its end (the fuzz target tries
  // damaged ones).
  void cutBlocks() {
    const QString Path = QStringLiteral("\\StringFileInfo\\040904E4\\FileVersion");
    const QByteArray Good = BuildVersionBlock(ProgramVersionInfo({1, 0, 0, 0}, {{"FileVersion", "1.1.0.12"}}));
    for (int Length = 0; Length < Good.size(); ++Length) QCOMPARE(QueryVersionValue(Good.left(Length), Path), std::nullopt);
  }
};

QTEST_MAIN(TestVersion)
#include "tst_version.moc"

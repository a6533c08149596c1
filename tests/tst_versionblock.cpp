// The version block: built at compile time into a program file, found again
// in any ELF file a path names, and queried by a path of keys. A file that is
// damaged or not a program gives no block and never a read outside the data.

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

#include "ElfFile.h"
#include "VersionBlock.h"

namespace {

const QString FileVersionPath = QStringLiteral("\\StringFileInfo\\040904E4\\FileVersion");

QByteArray Block(const QByteArray &Table = "040904E4", const QByteArray &Version = "1.1.0.12") {
  TVersionNode Root = ProgramVersionInfo({1, 1, 0, 12}, {{"FileVersion", Version}});
  Root.Children[0].Children[0].Key = Table;
  return BuildVersionBlock(Root);
}

QByteArray Patched(QByteArray Bytes, int At, const QByteArray &With) { return Bytes.replace(At, With.size(), With); }

}  // namespace

class TestVersionBlock : public QObject {
  Q_OBJECT

 private slots:
  // This test program carries a block made by the build from version 2.3.4.5.
  void ownProgramFile() {
    const QByteArray Own = ReadVersionBlock(QCoreApplication::applicationFilePath());
    QCOMPARE(QueryVersionValue(Own, FileVersionPath), QByteArray("2.3.4.5"));
    QCOMPARE(QueryVersionValue(Own, "\\VarFileInfo\\Translation"), QByteArray("\x09\x04\xE4\x04", 4));
    const QByteArray Fixed = QueryVersionValue(Own, "\\").value_or(QByteArray());
    QCOMPARE(Fixed.size(), 52);
    QCOMPARE(Fixed.mid(0, 4), QByteArray("\xBD\x04\xEF\xFE", 4));
    QCOMPARE(Fixed.mid(8, 8), QByteArray("\x03\x00\x02\x00\x05\x00\x04\x00", 8));  // 2.3 then 4.5
  }

  void programFiles_data() {
    QTest::addColumn<QByteArray>("File");
    QTest::addColumn<QByteArray>("Expected");  // "" for no version found
    const QByteArray Good = Block();
    const TElfSection Text{".text", QByteArray(100, '\x90')};
    const QByteArray Elf = MakeElf({Text, {VersionSectionName, Good}});
    QTest::newRow("64-bit, block after code") << Elf << QByteArray("1.1.0.12");
    QTest::newRow("32-bit big-endian") << MakeElf({{VersionSectionName, Good}, Text}, false, true) << QByteArray("1.1.0.12");
    QTest::newRow("section padded after the block") << MakeElf({{VersionSectionName, Good + QByteArray(64, '\0')}}) << QByteArray("1.1.0.12");
    QTest::newRow("no block") << MakeElf({Text}) << QByteArray();
    QTest::newRow("block section without file contents") << MakeElf({{VersionSectionName, Good, 8}}) << QByteArray();
    QTest::newRow("only another table") << MakeElf({{VersionSectionName, Block("040704B0")}}) << QByteArray();
    QTest::newRow("root is not a version block") << MakeElf({{VersionSectionName, Patched(Good, 6, "X")}}) << QByteArray();
    QTest::newRow("root longer than its section") << MakeElf({{VersionSectionName, Good.left(Good.size() - 4)}}) << QByteArray();
    QTest::newRow("cut before the section headers") << Elf.left(Elf.size() - 100) << QByteArray();
    QTest::newRow("name table index out of range") << Patched(Elf, 0x3E, "\x09") << QByteArray();
    QTest::newRow("section table past the end") << Patched(Elf, 0x2D, "\x7F") << QByteArray();
    QTest::newRow("not a program") << QByteArray("VS_VERSION_INFO 1.1.0.12\n") << QByteArray();
  }
  void programFiles() {
    QFETCH(QByteArray, File);
    QFETCH(QByteArray, Expected);
    QTemporaryDir Dir;
    const QString Path = Dir.filePath("program");
    QVERIFY(WriteBytes(Path, File));
    QCOMPARE(QueryVersionValue(ReadVersionBlock(Path), FileVersionPath).value_or(QByteArray()), Expected);
  }

  void unreadablePaths() {
    QTemporaryDir Dir;
    QVERIFY(ReadVersionBlock(Dir.filePath("missing")).isEmpty());
    QVERIFY(ReadVersionBlock(Dir.path()).isEmpty());
    QVERIFY(ReadVersionBlock(QString()).isEmpty());
  }

  // Malformed lengths must end the search, not loop or read past the block;
  // the sanitizer build checks every damaged variant for reads out of bounds.
  void damagedBlocks() {
    const QByteArray Good = Block();
    QCOMPARE(QueryVersionValue(Good, FileVersionPath), QByteArray("1.1.0.12"));
    for (int Length = 0; Length < Good.size(); ++Length)
      QCOMPARE(QueryVersionValue(Good.left(Length), FileVersionPath), std::nullopt);
    for (int At = 0; At < Good.size(); ++At)
      for (char Byte : {'\0', '\x03', '\xFF'}) QueryVersionValue(Patched(Good, At, QByteArray(1, Byte)), FileVersionPath);
  }

  void buildLimits() {
    QVERIFY_THROWS_EXCEPTION(std::length_error, BuildVersionBlock({"VS_VERSION_INFO", QByteArray(0x10000, 'x'), false, {}}));
    QCOMPARE(ParseVersionParts("65535.2"), TVersionParts({65535, 2, 0, 0}));
    for (const char *Bad : {"1.2.3.4.5", "1..2", "65536", "+1", " 1"})
      QVERIFY2(!ParseVersionParts(Bad), Bad);
  }
};

QTEST_GUILESS_MAIN(TestVersionBlock)
#include "tst_versionblock.moc"

// The version label: "Version " and the program file's version, read once it
// has been found and again while nothing has been found; whatever caption a
// form stored is replaced on loading.

#include <QTemporaryDir>
#include <QTest>

#include "ElfFile.h"
#include "ProgramPath.h"
#include "Version.h"
#include "VersionBlock.h"

namespace {

QByteArray ProgramWithTable(const QByteArray &Table, const QByteArray &Version) {
  TVersionNode Root = ProgramVersionInfo({1, 0, 0, 0}, {{"CompanyName", "Numbrook Software"}, {"FileVersion", Version}});
  Root.Children[0].Children[0].Key = Table;
  return MakeElf({{".text", QByteArray(64, '\x90')}, {VersionSectionName, BuildVersionBlock(Root)}});
}

}  // namespace

class TestVersion : public QObject {
  Q_OBJECT

  QTemporaryDir Dir;

  QString Program(const QString &Name, const QByteArray &Bytes) {
    const QString Path = Dir.filePath(Name);
    return WriteBytes(Path, Bytes) ? Path : QString();
  }

 private slots:
  void cleanup() { SetProgramFilePathForTesting(QString()); }

  void caption_data() {
    QTest::addColumn<QByteArray>("File");
    QTest::addColumn<QString>("Caption");
    QTest::newRow("version found") << ProgramWithTable("040904E4", "1.1.0.12") << "Version 1.1.0.12";
    QTest::newRow("no block") << MakeElf({{".text", QByteArray(64, '\x90')}}) << "Version ";
    QTest::newRow("other language only") << ProgramWithTable("040704E4", "1.1.0.12") << "Version ";
    QTest::newRow("other code page only") << ProgramWithTable("040904B0", "1.1.0.12") << "Version ";
    QTest::newRow("19 characters kept whole") << ProgramWithTable("040904E4", "1.0.0.1-beta.202612") << "Version 1.0.0.1-beta.202612";
    QTest::newRow("longer text cut to 19") << ProgramWithTable("040904E4", "1.0.0.1-beta.20261206+build.42")
                                           << "Version 1.0.0.1-beta.202612";
    QTest::newRow("not a program") << QByteArray("1.1.0.12") << "Version ";
  }
  void caption() {
    QFETCH(QByteArray, File);
    QFETCH(QString, Caption);
    SetProgramFilePathForTesting(Program("program", File));
    QWidget Form;
    auto *Label = new TVersionLabel(&Form);
    Label->setText("Version 9.9.9.9");  // as a form might have stored it
    LoadComponents(&Form);
    QCOMPARE(Label->text(), Caption);
    QVERIFY(!Label->InState(csLoading));
  }

  // Once found, the version is kept although the file changes; while none is
  // found, every call looks again.
  void readOnceFound() {
    const QString Path = Program("program", MakeElf({{".text", QByteArray(64, '\x90')}}));
    SetProgramFilePathForTesting(Path);
    TVersionLabel Label;
    QCOMPARE(Label.GetVersion(), QString());
    QCOMPARE(Label.GetVersion(), QString());
    QVERIFY(WriteBytes(Path, ProgramWithTable("040904E4", "1.1.0.12")));
    QCOMPARE(Label.GetVersion(), QString("1.1.0.12"));
    QVERIFY(WriteBytes(Path, ProgramWithTable("040904E4", "2.0.0.0")));
    QCOMPARE(Label.GetVersion(), QString("1.1.0.12"));
  }
};

QTEST_MAIN(TestVersion)
#include "tst_version.moc"

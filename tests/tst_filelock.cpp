// The file layer both stores share: whatever stands where a file's lock goes
// is taken over at once, or is a live holder's (the write waits a moment and
// is not kept), or fails the write at once; the log says which. A write kept
// syncs the folder after its rename. A write that hangs ends the test.
#include <sys/stat.h>

#include "FileLock.h"
#include "PosixFile.h"
#include "RegistryFile.h"
#include "TopTenFile.h"
#include "TestSupport.h"

static QStringList Calls;  // what the file layer reported doing

class TstFileLock : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;
  const QString Folder = posixfile::CanonicalName(Dir.path());

 private slots:
  void initTestCase() {
    QLoggingCategory::setFilterRules("quintor.files.warning=true");
    posixfile::FileCallHook = [](const char *Call, const QByteArray &Path) { Calls << Call + (' ' + Path); };
  }

  // Each store with each thing that can stand where its lock goes, and the
  // one line the log gets: how the lock was taken over, or (NOTKEPT) why the
  // write fails. LOCK, PID and HOST stand for this run's.
  void lock_data() {
    TTable<QString, QString, QString>::Add();  // the store, what stands there, what is logged
    for (const char *Store : {"top ten", "settings store"})
      for (const auto &[State, Logged] : std::initializer_list<std::pair<const char *, QString>>{
               {"FIFO", "a FIFO"},
               {"socket", "a socket or device"},
               {"symbolic link to a FIFO", "a symbolic link"},
               {"symbolic link to nowhere", "a symbolic link"},
               {"empty folder", "a folder"},
               {"empty file", "nobody holds it \\(an empty file\\)"},
               {"unreadable file", "(an unreadable file|nobody holds it.*)"},  // root reads it
               {"this pid from an earlier run", "nobody holds it \\(process PID \\(quintor\\) on HOST\\)"},
               {"a lock of another host", "nobody holds it \\(process 1 \\(quintor\\) on other.invalid\\)"},
               {"killed holder", "nobody holds it \\(process \\d+ \\(tst_filelock\\) on HOST\\)"},
               {"live holder", "NOTKEPT: its lock LOCK is held by process \\d+ \\(tst_filelock\\) on HOST"},
               {"live holder in this process", "NOTKEPT: its lock LOCK is held by process PID \\(tst_filelock\\) on HOST"},
               {"folder that is not empty",
                "NOTKEPT: a folder stands where its lock LOCK goes and cannot be removed: .*"}})
        QTest::addRow("%s: %s", Store, State) << Store << State << Logged;
  }
  void lock() {
    const auto [Store, State, Logged] = TTable<QString, QString, QString>::Row();
    QVERIFY(QDir(Folder).removeRecursively() && QDir().mkpath(Folder + "/lockfolder"));
    QTest::failOnWarning(QRegularExpression("."));  // any but the one line expected
    Calls.clear();
    const bool TopTen = Store == "top ten";
    const QString File = Folder + (TopTen ? "/quintor.tps" : "/HKEY_CURRENT_USER.reg"), Lock = File + ".lock";
    const QByteArray L = QFile::encodeName(Lock), Other = QFile::encodeName(Folder + "/lockfolder/x");
    pid_t Holder = -1;
    alarm(20);  // a hang ends the test instead of stalling it
    if (State == "FIFO") QCOMPARE(mkfifo(L, 0644), 0);
    if (State == "socket") QCOMPARE(mknod(L, S_IFSOCK | 0644, 0), 0);
    if (State == "symbolic link to a FIFO") QVERIFY(mkfifo(Other, 0644) == 0 && symlink(Other, L) == 0);
    if (State == "symbolic link to nowhere") QCOMPARE(symlink(Other + "/none", L), 0);
    if (State.contains("folder")) QCOMPARE(mkdir(L, 0755), 0);
    if (State == "folder that is not empty") QCOMPARE(mkdir(L + "/x", 0755), 0);
    if (State == "empty file") QVERIFY(Spit(Lock, ""));
    if (State == "unreadable file") QVERIFY(Spit(Lock, "1\n") && chmod(L, 0) == 0);
    if (State.contains("earlier run")) QVERIFY(Spit(Lock, QByteArray::number(getpid()) + "\nquintor\n" + QSysInfo::machineHostName().toUtf8()));
    if (State.contains("another host")) QVERIFY(Spit(Lock, "1\nquintor\nother.invalid\n"));
    std::optional<TFileLock> Here;  // an flock of this process's own keeps it out too
    QString Why;
    if (State.endsWith("this process")) QVERIFY(Here.emplace(File).Take(Why));
    // A copy of the program that takes the lock and keeps it until killed:
    if (State.endsWith("holder")) Holder = Spawn([&] { return TFileLock(File).Take(Why) ? pause() : 1; });
    while (Holder > 0 && !QFileInfo::exists(Lock)) QThread::msleep(1);  // a lock is there only when taken
    if (State == "killed holder") QVERIFY(Ended(Holder, true));

    const bool Kept = !Logged.startsWith("NOTKEPT");
    const QString NotKept = TopTen ? "the game of 1000 points was not kept in " + File : "changes to " + File + " were not saved";
    const auto E = [](const QString &Text) { return QRegularExpression::escape(Text); };
    const QString Line = QString(Kept ? "took over the lock LOCK: " + Logged : Logged)
        .replace("NOTKEPT", E(NotKept)).replace("LOCK", E(Lock)).replace("PID", QString::number(getpid()))
        .replace("HOST", E(QSysInfo::machineHostName()));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^" + Line + "$"));
    const TRegistryChange Change{TRegistryChange::ckSetValue, {"Software"}, {"A", TRegistryValue::vkDword, {}, 1}};
    const QDeadlineTimer Wait(FileLockWaitMs);
    const bool Written = TopTen ? (TTopTenFile(Folder + "/quintor").AddEntry(1000, "Ann", 1), Slurp(File).contains("Name01=Ann"))
                                : TRegistryFile(TRegistryRoot::CurrentUser, File).Apply({Change});
    const bool Waited = Wait.hasExpired();
    if (State == "live holder") QVERIFY(Ended(Holder, true));
    alarm(0);

    // Kept or not, waited or not, the lock gone or left as it was.
    QCOMPARE(QList<bool>({Written, Waited, !FilesOf(Folder, QFileInfo(Lock).fileName()).isEmpty()}),
             QList<bool>({Kept, State.startsWith("live holder"), !Kept}));
    QCOMPARE(Calls, Kept ? QStringList({"rename " + File, "fsync " + Folder + "/"}) : QStringList());
  }
};

QTEST_GUILESS_MAIN(TstFileLock)
#include "tst_filelock.moc"

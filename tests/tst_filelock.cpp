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

namespace {
QStringList Log, Calls;

void Record(QtMsgType, const QMessageLogContext &Context, const QString &Text) {
  if (qstrcmp(Context.category, "quintor.files") == 0) Log << Text;
}

// A copy of the program that takes File's lock and keeps it until killed.
pid_t StartHolder(const QString &File) {
  const pid_t Child = Spawn([&] {
    TFileLock Lock(File);
    QString Why;
    return Lock.Take(Why) ? pause() : 1;
  });
  while (!QFileInfo::exists(File + ".lock")) QThread::msleep(1);  // a lock is there only when taken
  return Child;
}
}  // namespace

class TstFileLock : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;
  const QString Folder = posixfile::CanonicalName(Dir.path());

 private slots:
  void initTestCase() {
    QCoreApplication::setApplicationName("tst_filelock");
    QLoggingCategory::setFilterRules("quintor.files.warning=true");
    qInstallMessageHandler(Record);
    posixfile::FileCallHook = [](const char *Call, const QByteArray &Path) { Calls << Call + (' ' + Path); };
  }
  void init() {
    QVERIFY(QDir(Folder).removeRecursively() && QDir().mkpath(Folder + "/lockfolder"));
    Log.clear();
    Calls.clear();
  }

  // Each store with each thing that can stand where its lock goes. Logged
  // is the one line the log gets; LOCK, PID and HOST stand for this run's.
  void lock_data() {
    QTest::addColumn<QString>("Store");
    QTest::addColumn<QString>("State");
    QTest::addColumn<QString>("Logged");  // NOTKEPT: the write fails
    const QString Taken = "took over the lock LOCK: ";
    for (const char *Store : {"top ten", "settings store"})
      for (const auto &[State, Logged] : std::initializer_list<std::pair<const char *, QString>>{
               {"FIFO", Taken + "a FIFO"},
               {"socket", Taken + "a socket or device"},
               {"symbolic link to a FIFO", Taken + "a symbolic link"},
               {"symbolic link to nowhere", Taken + "a symbolic link"},
               {"empty folder", Taken + "a folder"},
               {"empty file", Taken + "nobody holds it \\(an empty file\\)"},
               {"unreadable file", Taken + "(an unreadable file|nobody holds it.*)"},  // root reads it
               {"this process's id from an earlier run", Taken + "nobody holds it \\(process PID \\(quintor\\) on HOST\\)"},
               {"a lock of another host", Taken + "nobody holds it \\(process 1 \\(quintor\\) on other.invalid\\)"},
               {"killed holder", Taken + "nobody holds it \\(process \\d+ \\(tst_filelock\\) on HOST\\)"},
               {"live holder", "NOTKEPT: its lock LOCK is held by process \\d+ \\(tst_filelock\\) on HOST"},
               {"live holder in this process", "NOTKEPT: its lock LOCK is held by process PID \\(tst_filelock\\) on HOST"},
               {"folder that is not empty",
                "NOTKEPT: a folder stands where its lock LOCK goes and cannot be removed: .*"}})
        QTest::addRow("%s: %s", Store, State) << Store << State << Logged;
  }
  void lock() {
    QFETCH(QString, Store);
    QFETCH(QString, State);
    QFETCH(QString, Logged);
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
    else if (State.contains("holder")) QVERIFY((Holder = StartHolder(File)) > 0);
    if (State == "killed holder") QVERIFY(Ended(Holder, true));

    const TRegistryChange Change{TRegistryChange::ckSetValue, {"Software"}, {"A", TRegistryValue::vkDword, {}, 1}};
    QElapsedTimer Clock;
    Clock.start();
    const bool Written = TopTen ? (TTopTenFile(Folder + "/quintor").AddEntry(1000, "Ann", 1), Slurp(File).contains("Name01=Ann"))
                                : TRegistryFile(TRegistryRoot::CurrentUser, File).Apply({Change});
    const qint64 Ms = Clock.elapsed();
    if (State == "live holder") QVERIFY(Ended(Holder, true));
    alarm(0);

    // Kept or not, waited or not, the lock gone or left as it was.
    const bool Kept = !Logged.startsWith("NOTKEPT");
    struct stat Info;
    QCOMPARE(QList<bool>({Written, Ms >= FileLockWaitMs, lstat(L, &Info) == 0}),
             QList<bool>({Kept, State.startsWith("live holder"), !Kept}));
    QCOMPARE(Calls, Kept ? QStringList({"rename " + File, "fsync " + Folder + "/"}) : QStringList());
    const QString NotKept = TopTen ? "the game of 1000 points was not kept in " + File : "changes to " + File + " were not saved";
    const auto E = [](const QString &Text) { return QRegularExpression::escape(Text); };
    const QRegularExpression Pattern("^" + QString(Logged).replace("NOTKEPT", E(NotKept)).replace("LOCK", E(Lock))
                                     .replace("PID", QString::number(getpid())).replace("HOST", E(QSysInfo::machineHostName())) + "$");
    QVERIFY2(Log.size() == 1 && Pattern.match(Log[0]).hasMatch(), qPrintable(Log.join('\n')));
  }
};

QTEST_GUILESS_MAIN(TstFileLock)
#include "tst_filelock.moc"

#pragma once

// A fresh settings store for each test, in a temporary folder, so that no
// test sees the user's own store or another test's.

#include <QtTest>

#include "RegistryStore.h"

inline const QByteArray StoreHeader = "Windows Registry Editor Version 5.00\n";

struct TTempStore {
  QTemporaryDir Dir;
  TTempStore() {
    QStandardPaths::setTestModeEnabled(true);  // should the folder fail, still not the user's store
    SetRegistryFolder(Dir.path());
  }

  static QByteArray Bytes(const QString &Path = RegistryStoreFile(TRegistryRoot::CurrentUser)) {
    QFile In(Path);
    return In.open(QIODevice::ReadOnly) ? In.readAll() : QByteArray();
  }
  static void Save(const QByteArray &Bytes, const QString &Path = RegistryStoreFile(TRegistryRoot::CurrentUser)) {
    QFile Out(Path);
    QVERIFY(Out.open(QIODevice::WriteOnly) && Out.write(Bytes) == Bytes.size());
  }
};

#if __has_include("JError.h")
#include "JError.h"

// The message of the library error that Call raises, or "no error".
template <typename TCall>
QString ErrorOf(TCall &&Call) try {
  Call();
  return QStringLiteral("no error");
} catch (const EJError &Error) {
  return QString::fromUtf8(Error.what());
}
#endif

#pragma once

// The settings store's files: where each root's file lives, and one root's
// file read, changed and written back under its lock (FileLock.h) by an
// atomic replace (PosixFile.h), so that concurrent writers merge instead of
// overwriting each other; a batch that cannot get the lock is dropped.
//
// A file that cannot be parsed reads as an empty store and is renamed aside
// ("<file>.corrupt", then ".corrupt.1", ...) before anything is written
// over it. A store file that is not a regular file (a FIFO, a folder) reads
// as empty without ever blocking and is never written over; neither is one
// marked read-only, not even for root. The log says why a batch was dropped.

#include <QString>
#include <vector>

#include "RegistryTree.h"

// Where each root's file lives. By default the current user's store follows
// QStandardPaths (so its test mode isolates it) and the machine-wide roots
// are files in /etc/jstore. A non-empty folder puts every root there.
QString RegistryStoreFile(TRegistryRoot Root);
void SetRegistryFolder(const QString &Folder);

struct TRegistryChange {
  enum TKind { ckCreateKey, ckDeleteKey, ckSetValue };
  TKind Kind = ckCreateKey;
  QStringList Path;
  TRegistryValue Value;  // ckSetValue only
};

// One root's file.
class TRegistryFile {
 public:
  TRegistryFile(TRegistryRoot Root, const QString &FilePath);

  TRegistryRoot Root() const { return FRoot; }
  QString FilePath() const { return FFilePath; }

  // The current contents; a missing, unreadable or unparsable file is empty.
  TRegistryTree Read() const;
  // Whether writing can be attempted at all: the folder exists (or can be
  // made) and may be written to. A key is opened with full access only then.
  bool CanWrite() const;
  // One batch, under the lock: read the file, apply Changes, write it back
  // atomically when it changed. False when the batch was not written; the
  // file on disk is then as it was. Result gets the merged contents.
  bool Apply(const std::vector<TRegistryChange> &Changes, TRegistryTree *Result = nullptr);

 private:
  bool Write(const std::vector<TRegistryChange> &Changes, TRegistryTree *Result, QString &Why);

  TRegistryRoot FRoot;
  QString FFilePath;
};

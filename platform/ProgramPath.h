#pragma once

#include <QString>

// The full path of the running program file, as the platform reports it.
// A test may put another path in its place.
QString ProgramFilePath();
void SetProgramFilePathForTesting(const QString &Path);  // empty: the real one

#pragma once

// A label that shows "Version " and the file version of the running program,
// read from the program file's version block when the label is loaded from
// its form. A program gets its block from the build: with the library's CMake
// package, quintor_attach_version_block(myprogram VERSION 1.2.0.3).
//
// From code:
//
//   auto *Version = new TVersionLabel(AboutBox);
//   LoadComponents(AboutBox);          // Loaded: "Version 1.2.0.3"

#include <QLabel>

#include "Component.h"

class TVersionLabel : public QLabel, public TJComponent {
  Q_OBJECT

 public:
  explicit TVersionLabel(QWidget *Owner = nullptr);

  // The program's file version text, read from the program file the first
  // time and kept from then on; "" when the program file has no readable
  // version, in which case the next call reads again. A version text longer
  // than the 19 characters the label keeps is cut to its first 19.
  QString GetVersion();

  // Replaces whatever caption the form stored with "Version " and the version.
  void Loaded() override;

 private:
  char FVersion[20] = {};  // empty: not read yet
};

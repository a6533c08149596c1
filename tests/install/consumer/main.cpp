// Builds a form with library widgets and a version label, loads it, types a
// name and saves the history; then reads the history back with a storage
// made in code. The label shows the version the build gave the program.
#include <QApplication>
#include <cstdio>

#include "JStore.h"
#include "Version.h"
#include "ui_ConsumerForm.h"

int main(int argc, char *argv[]) {
  QApplication App(argc, argv);
  QWidget Form;
  Ui::ConsumerForm Ui;
  Ui.setupUi(&Form);
  auto *Label = new TVersionLabel(&Form);
  LoadComponents(&Form);
  Ui.MRUCombo1->setCurrentText(QStringLiteral("Ann"));
  Ui.MRUCombo1->UpdateList();

  TJStorage Storage;
  Storage.SetKey(QStringLiteral("Software\\Consumer\\MRU"));
  Storage.Open();
  const int Count = Storage.ReadInteger(QStringLiteral("Count"), -1);
  const QString First = Storage.ReadString(QStringLiteral("0"), QString());
  Storage.Close();
  if (Count < 1 || First != QStringLiteral("Ann") || Ui.URLStatic1->GetURL() != QStringLiteral("https://www.numbrook.com/") ||
      Label->text() != QStringLiteral("Version 2.3.4.5")) {
    std::fprintf(stderr, "consumer: Count %d, first \"%s\", \"%s\"\n", Count, qPrintable(First), qPrintable(Label->text()));
    return 1;
  }
  std::printf("consumer: the history holds \"%s\"; %s\n", qPrintable(First), qPrintable(Label->text()));
  return 0;
}

// A tiny line editor: File > Reopen offers the files opened lately (a
// TJMostRecentlyUsedList kept in the settings store), Edit > Undo takes the last
// change of the lines back (a TUndoSingleBuffer: a second Undo redoes it).
#include <QApplication>
#include <QFileDialog>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStandardPaths>

#include "Jmru.h"
#include "LineActions.h"


int main(int argc, char **argv) {
  QApplication App(argc, argv);
  const bool Grab = argc == 3 && QByteArray(argv[1]) == "--grab";
  QStandardPaths::setTestModeEnabled(Grab);  // a picture leaves the user's store alone
  QMainWindow Window;
  auto *Lines = new QListWidget;
  Window.setCentralWidget(Lines);
  QMenu *File = Window.menuBar()->addMenu("&File");
  QAction *Open = File->addAction("&Open...");
  QMenu *Reopen = File->addMenu("&Reopen");
  File->addAction("E&xit", &Window, &QWidget::close);
  QMenu *Edit = Window.menuBar()->addMenu("&Edit");
  QAction *UndoCommand = Edit->addAction("&Undo");
  QAction *AddLine = Edit->addAction("&Add line"), *DeleteLine = Edit->addAction("&Delete line");
  const auto [Insert, Remove] = MakeLineActions(&Window, Lines);
  std::unique_ptr<TUndoSingleBuffer> Buffer;
  auto Forget = [&] {  // a new document: nothing to undo
    (Buffer = std::make_unique<TUndoSingleBuffer>())->UndoAction = UndoCommand;
    UndoCommand->setEnabled(false);
  };
  Forget();
  QObject::connect(UndoCommand, &QAction::triggered, [&] { Buffer->Undo(); });
  QObject::connect(AddLine, &QAction::triggered, [&] {
    TLine Line(Insert, Lines->count(), QStringLiteral("Line %1").arg(Lines->count() + 1));
    Buffer->Do(&Line);  // Line stays ours; the reverse belongs to the buffer
  });
  QObject::connect(DeleteLine, &QAction::triggered, [&] {
    TLine Line(Remove, Lines->currentRow() >= 0 ? Lines->currentRow() : Lines->count() - 1);
    if (Line.Row >= 0) Buffer->Do(&Line);
  });
  auto *Recent = new TJMostRecentlyUsedList(&Window);
  Recent->Storage()->SetKey("Software\\Quintor Examples\\Line editor\\Recent files");
  Recent->RootMenuItem = Reopen->menuAction();
  Recent->HideInUse = false;  // the open file stays listed, on top
  Recent->AutoSave = !Grab;
  auto Load = [&](const QString &Path) {
    QFile In(Path);
    if (!In.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    Lines->clear();
    Lines->addItems(QString::fromUtf8(In.readAll()).split(u'\n', Qt::SkipEmptyParts));
    Forget();
    Recent->Used(Path);
    return true;
  };
  Recent->OnSelect = [&](TJMostRecentlyUsedList *, const QString &Path, bool &AOpened) {
    AOpened = Load(Path);  // a file that is gone stays listed
    return 0;
  };
  QObject::connect(Open, &QAction::triggered, [&] { Load(QFileDialog::getOpenFileName(&Window)); });
  LoadComponents(&Window);  // the list reads its stored entries into the menu
  Window.resize(460, 240);
  Window.show();
  if (!Grab) return App.exec();  // else a picture: three files used, lines added, one deleted and undone
  for (const char *Path : {"/home/ann/bank.txt", "C:\\Notes\\todo.txt", "/home/ann/recipes.txt"}) Recent->Used(Path);
  for (int I = 0; I < 8; ++I) AddLine->trigger();
  DeleteLine->trigger();
  UndoCommand->trigger();
  QPixmap Picture = Window.grab();
  QPainter Paint(&Picture);
  for (QMenu *Menu : {File, Reopen, Edit}) Menu->adjustSize();
  const QPoint At(0, Window.menuBar()->height());
  Paint.drawPixmap(At, File->grab());
  Paint.drawPixmap(At + QPoint(File->width() - 4, File->actionGeometry(Reopen->menuAction()).top()), Reopen->grab());
  Paint.drawPixmap(At + QPoint(Window.width() - Edit->width(), 0), Edit->grab());  // beside, not below its title
  return Picture.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}

// Every widget of the library at work in one window: animated labels running
// each effect, glyph buttons in a group, a number and a unit edit, a combo
// box that remembers names, a File > Reopen menu kept by a recently-used
// list, and Edit > Undo taking back any number of changes to a list of lines.
//
//   example_gallery              the window
//   example_gallery --grab PNG   a picture of it, with its menus opened,
//                                written to PNG (the settings store of
//                                Qt's test mode, so the user's is untouched)
#include <QApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStandardPaths>
#include <QStatusBar>

#include "AnimatedLabel.h"
#include "FancyButton.h"
#include "Jmru.h"
#include "Mrucombo.h"
#include "NumberEdit.h"
#include "URLStatic.h"
#include "../LineActions.h"
#include "UnitEdit.h"
#include "Version.h"

namespace {

// A glyph strip of five 24 x 24 images (pointer over, disabled, pressed or
// held down, at rest, unused), drawn here rather than loaded: four bars of a
// text alignment on a teal ground, the transparent colour, which the strip's
// bottom-left pixel gives. The disabled image is recoloured from its
// mid-grey.
QPixmap AlignmentStrip(Qt::Alignment Align) {
  QPixmap Strip(120, 24);
  Strip.fill(QColor(0, 128, 128));
  QPainter Paint(&Strip);
  const QColor Looks[5] = {QColor(20, 90, 220), QColor(128, 128, 128), QColor(200, 40, 40), QColor(30, 50, 110),
                           QColor(0, 0, 0)};
  for (int Image = 0; Image < 5; ++Image)
    for (int Line = 0; Line < 4; ++Line) {
      const int Width = Line % 2 ? 12 : 18;
      const int X = Align == Qt::AlignLeft ? 3 : Align == Qt::AlignRight ? 21 - Width : 12 - Width / 2;
      Paint.fillRect(Image * 24 + X, 4 + Line * 4, Width, 2, Looks[Image]);
    }
  return Strip;
}


QGroupBox *Box(const QString &Title, QLayout *Layout) {
  auto *Group = new QGroupBox(Title);
  Group->setLayout(Layout);
  return Group;
}

}  // namespace

int main(int argc, char **argv) {
  QApplication App(argc, argv);
  const bool Grab = argc == 3 && QByteArray(argv[1]) == "--grab";
  QStandardPaths::setTestModeEnabled(Grab);
  QMainWindow Window;
  Window.setWindowTitle("Quintor component gallery");
  auto *Central = new QWidget;
  auto *Grid = new QGridLayout(Central);
  Window.setCentralWidget(Central);

  // Animated labels, one per effect.
  auto *Labels = new QFormLayout;
  std::vector<TAnimatedLabel *> Animated;
  for (const auto &[Type, Name] : {std::pair{TAnimatedLabel::atNone, "atNone"}, {TAnimatedLabel::atFlash, "atFlash"},
                                   {TAnimatedLabel::atFly, "atFly"}, {TAnimatedLabel::atFade, "atFade"}}) {
    auto *Label = new TAnimatedLabel;
    Label->setText("Five of a kind!");
    Label->AnimationType = Type;
    Label->SetColor(QColor(255, 250, 220));
    Label->setMinimumSize(150, 20);
    Labels->addRow(Name, Label);
    Animated.push_back(Label);
  }
  Grid->addWidget(Box("TAnimatedLabel", Labels), 0, 0);

  // Glyph buttons: three in group 1 (one down at a time), one alone whose
  // caption gives it the accelerator Alt+P.
  auto *Buttons = new QHBoxLayout;
  auto *ButtonRow = new QWidget;
  auto *Row = new QHBoxLayout(ButtonRow);
  TFancyButton *Group[3];
  const Qt::Alignment Aligns[3] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
  for (int I = 0; I < 3; ++I) {
    Group[I] = new TFancyButton(ButtonRow);
    Group[I]->SetGlyph(AlignmentStrip(Aligns[I]));
    Group[I]->SetGroupIndex(1);
    Row->addWidget(Group[I]);
  }
  auto *Alone = new TFancyButton(ButtonRow);
  Alone->SetGlyph(AlignmentStrip(Qt::AlignLeft));
  Alone->SetCaption("&Play");
  Alone->setEnabled(false);
  Row->addWidget(Alone);
  Row->addStretch();
  Buttons->addWidget(ButtonRow);
  Grid->addWidget(Box("TFancyButton", Buttons), 1, 0);

  // Number and unit edits, and a combo box that remembers names.
  auto *Edits = new QFormLayout;
  auto *Number = new TNumberEdit;
  Number->SetValue(12345678.0f);
  Edits->addRow("TNumberEdit", Number);
  auto *Unit = new TUnitEdit;
  Unit->setFixedSize(120, 20);
  Unit->SetUnit("mm");
  Unit->SetValue(2.5f);
  Unit->SetUnitColor(QColor(255, 255, 200));
  Edits->addRow("TUnitEdit", Unit);
  auto *Names = new TMRUCombo;
  Names->Storage()->SetKey("Software\\Quintor Examples\\Gallery\\Names");
  Edits->addRow("TMRUCombo", Names);
  Grid->addWidget(Box("Edits", Edits), 0, 1);

  // The lines Edit changes, and the version and link labels.
  auto *Lines = new QListWidget;
  auto *LinesLayout = new QHBoxLayout;
  LinesLayout->addWidget(Lines);
  Grid->addWidget(Box("Edit > Undo (TUndoMultiBuffer)", LinesLayout), 1, 1);
  auto *Version = new TVersionLabel;
  auto *Link = new TURLStatic;
  Link->setText("<a href=\"https://www.numbrook.com/\">www.numbrook.com</a>");
  Link->SetURL("https://www.numbrook.com/");
  Window.statusBar()->addWidget(Version);
  Window.statusBar()->addPermanentWidget(Link);

  // File > Reopen by a recently-used list; Edit > Undo by a multi-level buffer.
  QMenu *File = Window.menuBar()->addMenu("&File");
  QAction *Open = File->addAction("&Open...");
  QMenu *Reopen = File->addMenu("&Reopen");
  File->addSeparator();
  File->addAction("E&xit", &Window, &QWidget::close);
  QMenu *Edit = Window.menuBar()->addMenu("&Edit");
  QAction *UndoCommand = Edit->addAction("&Undo");
  Edit->addSeparator();
  QAction *AddLine = Edit->addAction("&Add line"), *DeleteLine = Edit->addAction("&Delete line");
  const auto [Insert, Remove] = MakeLineActions(&Window, Lines);
  auto *Buffer = new TUndoMultiBuffer(&Window);
  Buffer->UndoAction = UndoCommand;
  UndoCommand->setEnabled(false);
  QObject::connect(UndoCommand, &QAction::triggered, Buffer, &TUndoMultiBuffer::Undo);
  QObject::connect(AddLine, &QAction::triggered, [=] {
    TLine Line(Insert, Lines->count(), QStringLiteral("Line %1").arg(Lines->count() + 1));
    Buffer->Do(&Line);
  });
  QObject::connect(DeleteLine, &QAction::triggered, [=] {
    TLine Line(Remove, Lines->currentRow() >= 0 ? Lines->currentRow() : Lines->count() - 1);
    if (Line.Row >= 0) Buffer->Do(&Line);
  });
  auto *Recent = new TJMostRecentlyUsedList(&Window);
  Recent->Storage()->SetKey("Software\\Quintor Examples\\Gallery\\Recent files");
  Recent->RootMenuItem = Reopen->menuAction();
  Recent->HideInUse = false;
  Recent->AutoSave = !Grab;
  Recent->OnSelect = [&Window](TJMostRecentlyUsedList *, const QString &Path, bool &) {
    Window.statusBar()->showMessage("Reopened " + Path, 2000);
    return 0;
  };
  QObject::connect(Open, &QAction::triggered, [=] { Recent->Used(QStringLiteral("/home/ann/scores.txt")); });

  LoadComponents(&Window);  // the version label, the name history and the recent list read what they need
  Group[1]->SetDown(true);  // after Loaded, which puts every button at rest
  Window.resize(640, 330);
  Window.show();
  if (!Grab) return App.exec();

  // The picture: names typed, files used, lines added, two deleted and both
  // deletions undone, the animations part-way through their cycles.
  for (const char *Name : {"Ann", "Bob", "Cleo"}) {
    Names->setCurrentText(Name);
    Names->UpdateList();
  }
  for (const char *Path : {"/home/ann/bank.txt", "C:\\Notes\\todo.txt", "/home/ann/recipes.txt"}) Recent->Used(Path);
  for (int I = 0; I < 5; ++I) AddLine->trigger();
  DeleteLine->trigger();
  DeleteLine->trigger();
  UndoCommand->trigger();
  for (int Tick = 0; Tick < 40; ++Tick)  // the flash shown, the fade half-way, the caption flown in
    for (TAnimatedLabel *Label : Animated)
      if (Tick < 15 || Label->AnimationType == TAnimatedLabel::atFly) Label->OnTimer(nullptr);
  // The window, and beside it its menus as they open: File with Reopen, and Edit.
  const QPixmap Shot = Window.grab();
  for (QMenu *Menu : {File, Reopen, Edit}) Menu->adjustSize();
  const int ReopenTop = File->actionGeometry(Reopen->menuAction()).top();
  const int Side = std::max(File->width() - 4 + Reopen->width(), Edit->width());
  QPixmap Picture(Shot.width() + 16 + Side, std::max(Shot.height(), File->height() + Edit->height() + 24));
  Picture.fill(Window.palette().color(QPalette::Window));
  QPainter Paint(&Picture);
  Paint.drawPixmap(0, 0, Shot);
  const QPoint At(Shot.width() + 8, 8);
  Paint.drawPixmap(At, File->grab());
  Paint.drawPixmap(At + QPoint(File->width() - 4, ReopenTop), Reopen->grab());
  Paint.drawPixmap(At + QPoint(0, std::max(File->height(), ReopenTop + Reopen->height()) + 8), Edit->grab());
  return Picture.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}

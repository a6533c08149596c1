#include "Top10Form.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QShowEvent>
#include <QStyle>

QPixmap ProgramIconPixmap(const QWidget *Form, int Size) {
  QIcon Icon = QApplication::windowIcon();
  if (Icon.isNull()) Icon = Form->style()->standardIcon(QStyle::SP_ComputerIcon);
  return Icon.pixmap(Size, Size);
}

TTop10Form::TTop10Form(QWidget *Parent) : QDialog(Parent) { SetUp(); }

TTop10Form::TTop10Form(const QString &ProgramPath, QWidget *Parent)
    : QDialog(Parent), TopTenFile(ProgramPath) {
  SetUp();
}

void TTop10Form::SetUp() {
  setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(478, 310);
  move(232, 143);
  QHeaderView *Header = ListView1->header();
  Header->setSectionsMovable(false);
  const int Widths[] = {50, 140, 80, 60, 80};
  for (int Column = 0; Column < 5; ++Column) Header->resizeSection(Column, Widths[Column]);
  connect(ResetScores, &QPushButton::clicked, this, &TTop10Form::ResetScoresClick);
}

void TTop10Form::showEvent(QShowEvent *Event) {
  QDialog::showEvent(Event);
  // A spontaneous show is the window system restoring the window: the list
  // is already there.
  if (!Event->spontaneous()) FormShow();
}

void TTop10Form::hideEvent(QHideEvent *Event) {
  QDialog::hideEvent(Event);
  if (!Event->spontaneous()) FormHide();
}

void TTop10Form::keyPressEvent(QKeyEvent *Event) {
  // OK is the only way out by key: no button of the dialog cancels it, so
  // Escape leaves it open.
  if (Event->matches(QKeySequence::Cancel)) {
    Event->accept();
    return;
  }
  QDialog::keyPressEvent(Event);
}

void TTop10Form::FormShow() {
  Image1->setPixmap(ProgramIconPixmap(this, 32));
  ListView1->clear();  // the rows of one showing only, however the last one ended
  for (int N = 1; N <= 10; ++N) {
    QString Name, Score, Date, Quintors;
    TopTenFile.ReadEntry(N, Name, Score, Date, Quintors);
    auto *Row = new QTreeWidgetItem(ListView1, {QString::asprintf("%d.", N), Name, Date, Score, Quintors});
    Row->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    Row->setTextAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
  }
  ListView1->setCurrentItem(nullptr);
  ListView1->clearSelection();
  OK->setFocus();
}

void TTop10Form::FormHide() { ListView1->clear(); }

void TTop10Form::ResetScoresClick() {
  QMessageBox Question(QMessageBox::Warning, QStringLiteral("Reset Scores"),
                       QStringLiteral("Are you sure ?"), QMessageBox::Yes | QMessageBox::No, this);
  if (Question.exec() != QMessageBox::Yes) return;
  TopTenFile.Reset();
  ListView1->clear();
}

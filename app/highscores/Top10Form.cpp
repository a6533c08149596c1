#include "Top10Form.h"

#include <QHeaderView>
#include <QMessageBox>
#include <QShowEvent>

#include "DialogHabits.h"
#include "ui_Top10Form.h"

TTop10Form::TTop10Form(QWidget *Parent) : QDialog(Parent) { SetUp(); }

TTop10Form::TTop10Form(const QString &ProgramPath, QWidget *Parent)
    : QDialog(Parent), TopTenFile(ProgramPath) {
  SetUp();
}

TTop10Form::~TTop10Form() = default;

void TTop10Form::SetUp() {
  Ui = std::make_unique<Ui::TTop10Form>();
  Ui->setupUi(this);
  // OK is the only way out by key: no button of the dialog cancels it.
  quintor::KeepOpenOnEscape(*this);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(478, 310);
  move(232, 143);
  QHeaderView *Header = Ui->ListView1->header();
  Header->setSectionsMovable(false);
  const int Widths[] = {50, 140, 80, 60, 80};
  for (int Column = 0; Column < 5; ++Column) Header->resizeSection(Column, Widths[Column]);
  connect(Ui->ResetScores, &QPushButton::clicked, this, &TTop10Form::ResetScoresClick);
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

void TTop10Form::FormShow() {
  Ui->Image1->setPixmap(quintor::ProgramIconPixmap(this, 32));
  Ui->ListView1->clear();  // the rows of one showing only, however the last one ended
  for (int N = 1; N <= 10; ++N) {
    QString Name, Score, Date, Quintors;
    TopTenFile.ReadEntry(N, Name, Score, Date, Quintors);
    auto *Row = new QTreeWidgetItem(Ui->ListView1, {QString::asprintf("%d.", N), Name, Date, Score, Quintors});
    Row->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    Row->setTextAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
  }
  Ui->ListView1->setCurrentItem(nullptr);
  Ui->ListView1->clearSelection();
  Ui->OK->setFocus();
}

void TTop10Form::FormHide() { Ui->ListView1->clear(); }

void TTop10Form::ResetScoresClick() {
  QMessageBox Question(QMessageBox::Warning, QStringLiteral("Reset Scores"),
                       QStringLiteral("Are you sure ?"), QMessageBox::Yes | QMessageBox::No, this);
  if (Question.exec() != QMessageBox::Yes) return;
  TopTenFile.Reset();
  Ui->ListView1->clear();
}

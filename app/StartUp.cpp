#include "StartUp.h"

#include "AboutForm.h"
#include "BigScoreDlg.h"
#include "Desktop.h"
#include "DiceImages.h"
#include "QuintorApplication.h"
#include "Top10Form.h"

#include <QApplication>
#include <QEvent>
#include <QIconEngine>
#include <QMessageBox>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTimer>

namespace quintor {
namespace {

// The picture of a standard icon, asked of the style only when it is first
// drawn.
class TDeferredStandardIcon : public QIconEngine {
 public:
  TDeferredStandardIcon(QStyle *Style, QStyle::StandardPixmap Which) : FStyle(Style), FWhich(Which) {}

  void paint(QPainter *Painter, const QRect &Rect, QIcon::Mode Mode, QIcon::State State) override {
    Icon().paint(Painter, Rect, Qt::AlignCenter, Mode, State);
  }
  QPixmap pixmap(const QSize &Size, QIcon::Mode Mode, QIcon::State State) override {
    return Icon().pixmap(Size, Mode, State);
  }
  QPixmap scaledPixmap(const QSize &Size, QIcon::Mode Mode, QIcon::State State, qreal Scale) override {
    return Icon().pixmap(Size, Scale, Mode, State);
  }
  QSize actualSize(const QSize &Size, QIcon::Mode Mode, QIcon::State State) override {
    return Icon().actualSize(Size, Mode, State);
  }
  QList<QSize> availableSizes(QIcon::Mode Mode, QIcon::State State) override {
    return Icon().availableSizes(Mode, State);
  }
  bool isNull() override { return false; }
  QString key() const override { return QStringLiteral("TDeferredStandardIcon"); }
  QIconEngine *clone() const override { return new TDeferredStandardIcon(FStyle, FWhich); }

 private:
  const QIcon &Icon() {
    if (!FLoaded) {
      // A style replaced in the meantime hands over to the current one.
      FIcon = (FStyle ? FStyle.data() : QApplication::style())->standardIcon(FWhich);
      FLoaded = true;
    }
    return FIcon;
  }
  QPointer<QStyle> FStyle;
  QStyle::StandardPixmap FWhich;
  QIcon FIcon;
  bool FLoaded = false;
};

// The application's style as it is, except that the menu bar's overflow
// button gets its picture only when it is drawn: reading the picture loads
// every image-format plug-in, which costs a good part of the start-up, for a
// button that shows only when the menu does not fit the window.
class TQuintorStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  QIcon standardIcon(StandardPixmap Which, const QStyleOption *Option, const QWidget *Widget) const override {
    if (Which == SP_ToolBarHorizontalExtensionButton || Which == SP_ToolBarVerticalExtensionButton)
      return QIcon(new TDeferredStandardIcon(baseStyle(), Which));
    return QProxyStyle::standardIcon(Which, Option, Widget);
  }
};

}  // namespace

void InitApplication(TQuintorApplication &App) {
  App.SetTitle(QStringLiteral("Quintor"));
  App.SetHelpFile(QStringLiteral("quintor.hlp"));
  App.setWindowIcon(QuintorEmblem());
  if (!qobject_cast<QProxyStyle *>(QApplication::style()))
    QApplication::setStyle(new TQuintorStyle(QStyleFactory::create(QApplication::style()->name())));
}

TQuintorForms::TQuintorForms() {
  MainForm.SetGameEnd(this);
  MainForm.SetAboutBox([this]() -> QDialog * { return AboutForm(); });
  // Watches for the main window's first paint; the dialogs follow it.
  qApp->installEventFilter(this);
  FPaintWatched = true;
}

TQuintorForms::~TQuintorForms() {
  if (FPaintWatched) qApp->removeEventFilter(this);
  // The dialogs are the main window's children and go with it.
  MainForm.SetGameEnd(nullptr);
  MainForm.SetAboutBox(std::function<QDialog *()>());
}

TTop10Form *TQuintorForms::Top10Form() {
  if (!FTop10Form) FTop10Form = new TTop10Form(&MainForm);
  return FTop10Form;
}

TBigScoreDlg *TQuintorForms::BigScoreDlg() {
  if (!FBigScoreDlg) {
    Top10Form();
    FBigScoreDlg = new TBigScoreDlg(&MainForm);
  }
  return FBigScoreDlg;
}

TAboutForm *TQuintorForms::AboutForm() {
  if (!FAboutForm) {
    BigScoreDlg();
    FAboutForm = new TAboutForm(QuintorEmblem(), &MainForm);
  }
  return FAboutForm;
}

int TQuintorForms::DialogsCreated() const {
  return (FTop10Form ? 1 : 0) + (FBigScoreDlg ? 1 : 0) + (FAboutForm ? 1 : 0);
}

int TQuintorForms::GetTenthScore() { return Top10Form()->TopTenFile.GetTenthScore(); }

void TQuintorForms::EnterNewScore(int Total, int Quintors) {
  TBigScoreDlg *NameDialog = BigScoreDlg();
  Top10Form()->TopTenFile.EnterNewScore(Total, Quintors, [NameDialog](int Place) { return NameDialog->AskName(Place); });
}

void TQuintorForms::ShowTopTen() { Top10Form()->exec(); }

void TQuintorForms::ShowGameOver() {
  // Made at the first game end rather than at start-up, where building a
  // message box costs more than the rest of the window.
  if (!FGameOverBox) {
    FGameOverBox = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Quintor"), QStringLiteral("Game Over"),
                                   QMessageBox::Ok, &MainForm);
    FGameOverBox->setObjectName(QStringLiteral("GameOverBox"));
    FitTitle(*FGameOverBox);
  }
  FGameOverBox->exec();
}

bool TQuintorForms::eventFilter(QObject *Watched, QEvent *Event) {
  if (Event->type() == QEvent::Paint && Watched->isWidgetType()) {
    auto *Widget = static_cast<QWidget *>(Watched);
    if (Widget == &MainForm || MainForm.isAncestorOf(Widget)) {
      qApp->removeEventFilter(this);
      FPaintWatched = false;
      // Queued behind the rest of this paint pass.
      QTimer::singleShot(0, this, &TQuintorForms::CreateNextDialog);
    }
  }
  return QObject::eventFilter(Watched, Event);
}

void TQuintorForms::CreateNextDialog() {
  switch (DialogsCreated()) {
    case 0: Top10Form(); break;
    case 1: BigScoreDlg(); break;
    case 2: AboutForm(); break;
    default: return;
  }
  QTimer::singleShot(0, this, &TQuintorForms::CreateNextDialog);
}

int RunQuintor(TQuintorApplication &App, const std::function<void(TMainForm &)> &BeforeShow) {
  InitApplication(App);
  TQuintorForms Forms;
  if (BeforeShow) BeforeShow(Forms.MainForm);
  Forms.MainForm.show();
  return App.exec();
}

}  // namespace quintor

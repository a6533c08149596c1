#pragma once

// Helpers every kind of test uses: answering the modal windows a step opens,
// the text of a raised error, a combo box's items.

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <stdexcept>

// Runs Answer on the first dialog of type T that is the active modal window,
// polling every 5 ms; a dialog that is not up within 10 s ends the run
// rather than leaving it hanging.
template <class T>
void WhenModal(std::function<void(T *)> Answer) {
  auto *Poll = new QTimer(qApp);
  auto Waited = std::make_shared<int>(0);
  QObject::connect(Poll, &QTimer::timeout, Poll, [Poll, Answer, Waited] {
    auto *Dialog = qobject_cast<T *>(QApplication::activeModalWidget());
    if (!Dialog || !Dialog->isVisible()) {
      if ((*Waited += 5) > 10000) qFatal("the expected modal dialog did not come up");
      return;
    }
    Poll->deleteLater();
    Poll->stop();
    Answer(Dialog);
  });
  Poll->start(5);
}

// While in scope, answers each modal message box with OK and keeps the
// caption, text and number of buttons of the last one ("Quintor|Game Over|1").
struct TModalAnswer : QTimer {
  QString Seen;
  TModalAnswer() {
    connect(this, &QTimer::timeout, this, [this] {
      if (auto *Box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
        Seen = QStringLiteral("%1|%2|%3").arg(Box->windowTitle(), Box->text()).arg(Box->buttons().size());
        Box->button(QMessageBox::Ok)->click();
      }
    });
    start(5);
  }
};

inline QStringList Items(const QComboBox &Combo) {
  QStringList List;
  for (int I = 0; I < Combo.count(); ++I) List << Combo.itemText(I);
  return List;
}

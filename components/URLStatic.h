#pragma once

// A label drawn as a link (blue, underlined "Arial", hand cursor, no
// background of its own). A press of the left button asks the desktop to
// open URL at once; so does Enter or Space once Tab has given it the focus.
// A screen reader reads it as a link described by its address.
//
// From code:
//
//   auto *Home = new TURLStatic(AboutBox);
//   Home->setText("www.numbrook.com");
//   Home->SetURL("https://www.numbrook.com/");

#include <QLabel>

#include "Component.h"

class TURLStatic : public QLabel, public TJComponent {
  Q_OBJECT
  Q_PROPERTY(QString URL READ GetURL WRITE SetURL)

 public:
  explicit TURLStatic(QWidget *Owner = nullptr);

  QString GetURL() const { return FURL; }
  void SetURL(const QString &Value) { FURL = Value; }

 protected:
  void keyPressEvent(QKeyEvent *Event) override;
  void paintEvent(QPaintEvent *Event) override;
  void mousePressEvent(QMouseEvent *Event) override;
  void mouseDoubleClickEvent(QMouseEvent *Event) override;

 private:
  QString FURL;
};

// The link label: a press of the left button asks the desktop to open its
// address at once; the press goes no further, so nothing else sees a click.

#include <QDesktopServices>
#include <QTest>
#include <QUrl>

#include "URLStatic.h"

class TestURLStatic : public QObject {
  Q_OBJECT

  QList<QUrl> Opened;
  int OwnerPresses = 0;

 public slots:
  void Open(const QUrl &Url) { Opened << Url; }

 protected:
  bool eventFilter(QObject *Watched, QEvent *Event) override {
    if (Event->type() == QEvent::MouseButtonPress || Event->type() == QEvent::MouseButtonDblClick) ++OwnerPresses;
    return QObject::eventFilter(Watched, Event);
  }

 private slots:
  void initTestCase() { QDesktopServices::setUrlHandler("https", this, "Open"); }
  void cleanupTestCase() { QDesktopServices::unsetUrlHandler("https"); }
  void init() { Opened.clear(), OwnerPresses = 0; }

  void pressOpensAtOnce() {
    QWidget Owner;
    Owner.installEventFilter(this);
    auto *Link = new TURLStatic(&Owner);
    Link->setText("Numbrook Software");
    Link->setGeometry(0, 0, 120, 16);
    Link->SetURL("https://www.numbrook.com/games");
    Owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&Owner));

    QTest::mousePress(Link, Qt::LeftButton, {}, {5, 5});
    QCOMPARE(Opened, QList<QUrl>{QUrl("https://www.numbrook.com/games")});
    QTest::mouseRelease(Link, Qt::LeftButton, {}, {5, 5});
    QCOMPARE(Opened.size(), 1);
    QTest::mouseClick(Link, Qt::RightButton, {}, {5, 5});
    QCOMPARE(Opened.size(), 1);
    QCOMPARE(OwnerPresses, 1);  // only the right button's press went on to the owner

    Link->SetURL(QString());  // nothing to open: no request, no message
    QTest::mouseClick(Link, Qt::LeftButton, {}, {5, 5});
    QCOMPARE(Opened.size(), 1);
  }
};

QTEST_MAIN(TestURLStatic)
#include "tst_urlstatic.moc"

// The link label: drawn as a link without a background of its own, and a
// press of the left button asks the desktop to open its address at once; the
// press goes no further, so nothing else sees a click.

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

  void looksLikeALink() {
    QWidget Owner;
    Owner.setFixedSize(200, 40);
    Owner.setStyleSheet("background: rgb(255, 0, 0)");
    Owner.setAutoFillBackground(true);
    auto *Link = new TURLStatic(&Owner);
    QCOMPARE(Link->GetURL(), QString());
    QCOMPARE(Link->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(Link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(Link->font().family(), QString("Arial"));
    QVERIFY(Link->font().underline() && !Link->font().bold() && !Link->font().italic() && !Link->font().strikeOut());
    Link->setText("Numbrook Software");
    Link->setGeometry(10, 10, 150, 20);
    const QImage Shot = Owner.grab().toImage();
    QCOMPARE(Shot.pixelColor(155, 25), QColor(255, 0, 0));  // the owner shows through beside the text
    bool Blue = false;
    for (int X = 10; X < 160 && !Blue; ++X)
      for (int Y = 10; Y < 30 && !Blue; ++Y) Blue = Shot.pixelColor(X, Y).blue() > 200 && Shot.pixelColor(X, Y).red() < 100;
    QVERIFY(Blue);
  }

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

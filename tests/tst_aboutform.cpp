// The about box's version, read from this program file when the box was
// made, and its link, which opens on the press of the left button and takes
// the press for itself. (The box's keys are tst_startup's, its colours
// tst_palette's.) Where the texts sit is left to the eye: fonts differ
// between machines.

#include <QtTest>
#include <QtWidgets>

#include "AboutForm.h"
#include "URLStatic.h"
#include "Version.h"

class TestAboutForm : public QObject {
  Q_OBJECT

  QList<QUrl> Opened;
  int BoxPresses = 0;

 public slots:
  void Open(const QUrl &Url) { Opened << Url; }

 protected:
  bool eventFilter(QObject *, QEvent *Event) override { return BoxPresses += Event->type() == QEvent::MouseButtonPress, false; }

 private slots:
  void initTestCase() { QDesktopServices::setUrlHandler("https", this, "Open"); }
  void cleanupTestCase() { QDesktopServices::unsetUrlHandler("https"); }

  void versionAndLink() {
    TAboutForm Box{QPixmap(32, 32)};
    auto *Link = Box.findChild<TURLStatic *>("URLStatic1");
    QCOMPARE(Box.findChild<TVersionLabel *>("VersionLabel1")->text(), QStringLiteral("Version " QUINTOR_VERSION));
    Box.installEventFilter(this);
    QTest::mousePress(Link, Qt::LeftButton, {}, {10, 7});
    QCOMPARE(Opened, QList<QUrl>{QUrl("https://www.numbrook.com/")});
    QTest::mouseRelease(Link, Qt::LeftButton, {}, {10, 7});
    QTest::mouseClick(Link, Qt::RightButton, {}, {10, 7});
    QMouseEvent Double(QEvent::MouseButtonDblClick, {10, 7}, {10, 7}, Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(Link, &Double);  // follows the second press, which opened already
    QCOMPARE(Opened.size(), 1);
    QCOMPARE(BoxPresses, 1);  // only the right button's press went on to the box
  }
};

QTEST_MAIN(TestAboutForm)
#include "tst_aboutform.moc"

// The about box: its texts, the version read from this program file
// when the box is made, Enter for OK while Escape leaves it open, and the
// link opened from inside the modal box.

#include <QDesktopServices>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "AboutForm.h"
#include "ProgramPath.h"
#include "URLStatic.h"
#include "Version.h"

namespace {

QPixmap Emblem() {
  QPixmap Picture(32, 32);
  Picture.fill(Qt::darkGreen);
  return Picture;
}

const QString ProjectVersion = QStringLiteral("Version " QUINTOR_VERSION);

}  // namespace

class TestAboutForm : public QObject {
  Q_OBJECT

  QList<QUrl> Opened;

  // Runs Step once the box's modal loop is running, then returns the box's result.
  static int ShowModal(TAboutForm &Box, const std::function<void()> &Step) {
    QTimer::singleShot(0, &Box, [&Box, Step] {
      QVERIFY(QTest::qWaitForWindowExposed(&Box));
      Step();
      if (Box.isVisible()) Box.done(-1);  // keep a failing step from hanging the test
    });
    return Box.exec();
  }

  static void Key(TAboutForm &Box, Qt::Key Which) {
    QWidget *Target = QApplication::focusWidget();
    QTest::keyClick(Target ? Target : &Box, Which);
  }

 public slots:
  void Open(const QUrl &Url) { Opened << Url; }

 private slots:
  void initTestCase() { QDesktopServices::setUrlHandler("https", this, "Open"); }
  void cleanupTestCase() { QDesktopServices::unsetUrlHandler("https"); }
  void cleanup() { SetProgramFilePathForTesting(QString()); }

  void loaded() {
    TAboutForm Box(Emblem());
    QCOMPARE(Box.VersionLabel1->text(), ProjectVersion);
    QCOMPARE(Box.Image1->pixmap().toImage(), Emblem().toImage());
    QVERIFY(QUrl(Box.URLStatic1->GetURL()).isValid());
    // Every text fits its fixed label at the box's own font, so none is clipped.
    for (QLabel *Label : Box.findChildren<QLabel *>()) {
      const QFontMetrics Metrics = Label->fontMetrics();
      QVERIFY2(Metrics.boundingRect(Label->text()).width() <= Label->width() && Metrics.height() <= Label->height() + 1,
               qPrintable(Label->objectName()));
    }
  }

  void enterClosesEscapeDoesNot() {
    TAboutForm Box(Emblem());
    bool OpenAfterEscape = false;
    const int Result = ShowModal(Box, [&] {
      Key(Box, Qt::Key_Escape);
      OpenAfterEscape = Box.isVisible();
      Key(Box, Qt::Key_Return);
    });
    QVERIFY(OpenAfterEscape);
    QCOMPARE(Result, int(QDialog::Accepted));
  }

  // The version is read when the box is made: later shows neither read the
  // program file again nor lose the text.
  void shownTwiceSameVersion() {
    TAboutForm Box(Emblem());
    QTemporaryDir Dir;
    SetProgramFilePathForTesting(Dir.filePath("no-such-program"));
    for (int Show = 0; Show < 2; ++Show) {
      QString Seen;
      const int Result = ShowModal(Box, [&] {
        Seen = Box.VersionLabel1->text();
        QTest::mouseClick(Box.Button1, Qt::LeftButton);
      });
      QCOMPARE(Result, int(QDialog::Accepted));
      QCOMPARE(Seen, ProjectVersion);
    }
  }

  void linkOpensAndBoxStays() {
    TAboutForm Box(Emblem());
    Opened.clear();
    bool StillOpen = false;
    ShowModal(Box, [&] {
      QTest::mouseClick(Box.URLStatic1, Qt::LeftButton, {}, {10, 7});
      StillOpen = Box.isVisible();
    });
    QCOMPARE(Opened, QList<QUrl>{QUrl(Box.URLStatic1->GetURL())});
    QVERIFY(StillOpen);
  }
};

QTEST_MAIN(TestAboutForm)
#include "tst_aboutform.moc"

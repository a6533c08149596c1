// The about box: its fixed layout, the version read from this program file
// when the box is made, Enter for OK while Escape leaves it open, and the
// link opened from inside the modal box.

#include <QDesktopServices>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
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
  Picture.fill(Qt::transparent);
  QPainter Painter(&Picture);
  Painter.fillRect(4, 4, 24, 24, Qt::darkGreen);
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

  void layout() {
    TAboutForm Box(Emblem());
    QCOMPARE(Box.windowTitle(), QString("About Quintor"));
    QCOMPARE(Box.minimumSize(), QSize(272, 130));
    QCOMPARE(Box.maximumSize(), QSize(272, 130));
    const Qt::WindowFlags Flags = Box.windowFlags();
    QVERIFY(Flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!(Flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint)));

    const QList<QWidget *> Order{Box.TitleLabel, Box.Image1, Box.Label1, Box.URLStatic1, Box.VersionLabel1, Box.Button1};
    QCOMPARE(Box.findChildren<QWidget *>(Qt::FindDirectChildrenOnly), Order);
    const QList<QRect> Places{{67, 8, 137, 16}, {16, 16, 32, 32}, {67, 48, 137, 16},
                              {77, 68, 117, 14}, {65, 28, 141, 14}, {98, 96, 75, 25}};
    for (int I = 0; I < Order.size(); ++I) QCOMPARE(Order[I]->geometry(), Places[I]);

    QCOMPARE(Box.VersionLabel1->text(), ProjectVersion);
    QCOMPARE(Box.Image1->pixmap().toImage(), Emblem().toImage());
    QVERIFY(Box.Label1->text().contains("Numbrook Software"));
    QCOMPARE(Box.Label1->property("Tag").toInt(), 101);
    QCOMPARE(Box.URLStatic1->text(), QString("Numbrook Software"));
    QVERIFY(QUrl(Box.URLStatic1->GetURL()).isValid() && Box.URLStatic1->GetURL().startsWith("https://"));
    QVERIFY(Box.Button1->isDefault());

    // Every text fits its label at the box's own font, so none is clipped.
    for (QLabel *Label : {Box.TitleLabel, Box.Label1, static_cast<QLabel *>(Box.URLStatic1),
                          static_cast<QLabel *>(Box.VersionLabel1)}) {
      const QRect Needed = Label->fontMetrics().boundingRect(Label->text());
      QVERIFY2(Needed.width() <= Label->width() && Label->fontMetrics().height() <= Label->height() + 1,
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

  void centredOnScreen() {
    TAboutForm Box(Emblem());
    QPoint Centre;
    ShowModal(Box, [&] { Centre = Box.geometry().center(); });
    const QPoint ScreenCentre = Box.screen()->availableGeometry().center();
    QVERIFY((Centre - ScreenCentre).manhattanLength() <= 2);
  }
};

QTEST_MAIN(TestAboutForm)
#include "tst_aboutform.moc"

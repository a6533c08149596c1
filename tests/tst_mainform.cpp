// The main window driven the way a player drives it: real presses and moves
// on the score grids, real clicks on the dice and the Roll button, real
// shortcuts, the real timer or ticks driven by hand, and the modal boxes
// answered from a timer. The rules themselves are tst_rules'; the four
// windows together are tst_startup's.
//
// And the game played from the keyboard alone: Roll! by Space where the
// focus stands at the start of a turn, the dice held by the keys 1 to 5
// (while they tumble too: the animation test), the score card reached by
// Tab (or by the third roll) and its cursor moved by the arrow keys onto the
// box that Enter or Space fills, and the grand total focused at the end.

#include "Accessibility.h"
#include "HelpWindow.h"
#include "JError.h"
#include "MainFormTestSupport.h"
#include "ProgramPath.h"

using namespace quintor;

class TestMainForm : public QObject, TMainFormDriver {
  Q_OBJECT

  QWidget *Focus() { return QApplication::focusWidget(); }
  void Key(int K, Qt::KeyboardModifiers Modifiers = {}) { QTest::keyClick(Focus(), Qt::Key(K), Modifiers); }
  QString Preview(int Col, int EntryRow) { return QString::number(Form->Game().PreviewScore(Col, EntryRow)); }
  QPoint Cursor() { return {Form->GetCursorCol(), Form->GetCursorRow()}; }

  // A column of both totals grids, top to bottom, then the grand total, joined by "|".
  QString Totals(int Col) {
    QStringList Cells;
    for (TScoreGrid *Grid : {Child<TScoreGrid>("TopTotal"), Child<TScoreGrid>("BottomTotal")})
      for (int Row = 0; Row < Grid->GetRowCount(); ++Row) Cells << Grid->Cell(Col, Row);
    return (Cells << Child<QLabel>("GrandTotal")->text()).join(QLatin1Char('|'));
  }

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void init() { QVERIFY(OpenForm()); }

  void freshWindow() {
    for (int I = 0; I < DiceCount; ++I) QVERIFY(!Die(I)->isEnabled() && Form->ShownDie(I) == NotThrown);
    Press(0, erChance);  // before the first roll: neither a preview nor an entry
    QCOMPARE(BoxText(0, erChance), QString());

    // Whatever face stands in for the window's font, no caption is clipped.
    for (QLabel *Label : Form->centralWidget()->findChildren<QLabel *>()) {
      const QSize Text = Label->fontMetrics().size(Qt::TextSingleLine, Label->text());
      QVERIFY2(Text.width() <= Label->contentsRect().width(), qPrintable(Label->text()));
      QVERIFY2(Label->fontMetrics().ascent() <= Label->contentsRect().height(), qPrintable(Label->text()));
    }
    for (QCheckBox *Box : Form->centralWidget()->findChildren<QCheckBox *>())
      QVERIFY2(Box->sizeHint().width() <= Box->width(), qPrintable(Box->text()));
  }

  void pressAtPixelBorders_data() {
    // Columns: Client (in the upper grid, or the lower one for a lower row), Col, EntryRow (-1: the press
    // enters nothing).
    TTable<QPoint, int, int>::Add();
    QTest::newRow("x 30, y 16: column 0, row 0") << QPoint(30, 16) << 0 << 0;
    QTest::newRow("x 31, y 17: column 1, row 1") << QPoint(31, 17) << 1 << 1;
    QTest::newRow("last lower cell") << QPoint(92, 118) << 2 << 12;
    QTest::newRow("on the border") << QPoint(-1, 5) << 0 << -1;
  }

  void pressAtPixelBorders() {
    const auto [Client, Col, EntryRow] = TTable<QPoint, int, int>::Row();
    RollDice();
    QTest::mouseClick(GridOf(EntryRow), Qt::LeftButton, {}, Client + GridOf(EntryRow)->ClientOrigin());
    QCOMPARE(Form->Game().Card().FilledCount, EntryRow < 0 ? 0 : 1);
    if (EntryRow >= 0) QVERIFY(Form->Game().Card().IsFilled(Col, EntryRow) && !BoxText(Col, EntryRow).isEmpty());
  }

  void previewRules() {
    RollDice();
    Press(0, erTwos);
    RollDice();
    MoveTo(0, erOnes);
    Press(0, erTwos);  // a filled box takes no entry and keeps the preview elsewhere on show
    QCOMPARE(std::pair(Form->Game().RollCount(), BoxText(0, erOnes)), std::pair(1, Preview(0, erOnes)));
    // The panel empties it, but never an entered score; the totals grids
    // count as panel.
    QTest::mouseMove(Child<QWidget>("TopTotal"), QPoint(10, 10));
    QCOMPARE(BoxText(0, erOnes), QString());
    QCOMPARE(BoxText(0, erTwos), QString::number(Form->Game().Card().TopScore[0][erTwos]));

    // A roll while the pointer rests on a box shows the new throw's score; an
    // entry made without the pointer passing over its box leaves no stale
    // preview in the box that had it.
    MoveTo(1, erChance);
    RollDice();
    QCOMPARE(BoxText(1, erChance), Preview(1, erChance));
    QTest::mouseClick(GridOf(erOnes), Qt::LeftButton, {}, BoxPoint(0, erOnes));
    QCOMPARE(BoxText(1, erChance), QString());
  }

  // The totals of an upper entry in the third column and their undo by
  // shortcut; the captions follow the completed roll, not the entry; a new
  // game clears the card and takes Undo away.
  void entryUndoAndNewGame() {
    const char *Names[EntryRows] = {"Label1",   "Label2",  "Label3",  "Label4",  "Label5",  "Label6", "LabelTOK",
                                    "LabelFOK", "LabelFH", "LabelSS", "LabelLS", "LabelQ",  "LabelC"};
    Form->Game().Seed(3);  // 1-5-6-4-6: the sixes make 12, no five of a kind
    RollDice();
    for (int Row = 0; Row < EntryRows; ++Row)
      QCOMPARE(Child<QLabel>(Names[Row])->isEnabled(), Form->Game().Flags()[Row]);
    Press(2, erSixes);
    QCOMPARE(Totals(2), QStringLiteral("12||12|||12|36|36"));
    QVERIFY(!Child<QLabel>("LabelQ")->isEnabled() && Child<QAction>("Undo1")->isEnabled());
    QTest::keyClick(Form.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(BoxText(2, erSixes) + u'/' + Totals(2), QStringLiteral("/0||0|||0|0|0"));

    // The same throw goes into another box, with any mouse button.
    QTest::mouseClick(GridOf(erOnes), Qt::RightButton, {}, BoxPoint(1, erOnes));
    QCOMPARE(Form->Game().Card().FilledCount, 1);

    QTest::keyClick(Form.get(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(BoxText(1, erOnes) + u'/' + Totals(1), QStringLiteral("/|||||||0"));
    QVERIFY(!Child<QAction>("Undo1")->isEnabled());
    for (const char *Name : Names) QVERIFY(Child<QLabel>(Name)->isEnabled());
  }

  // The first roll on the real timer. The digit keys press the dice as the
  // mouse does: nothing before the first roll, and during the tumbling a
  // hold that keeps its face from the next step on, also when Roll! is
  // pressed again and the count starts over.
  void animation() {
    Child<QCheckBox>("AnimationCheckbox")->setChecked(true);
    Form->setProperty("FlashInterval", 1);
    QTest::keyClick(Form.get(), Qt::Key_2);
    RollDice();
    QVERIFY(Form->Game().IsRolling() && !Form->IsDieHeld(1));
    QTRY_COMPARE(Form->Game().RollCount(), 1);

    Form->setProperty("FlashInterval", 3600 * 1000);  // from here on the test ticks
    RollDice();
    QVERIFY(QMetaObject::invokeMethod(Form.get(), "FlashTimerTimer"));
    QTest::keyClick(Form.get(), Qt::Key_2);
    const int Held = Form->ShownDie(1);
    RollDice();
    for (int Step = 1; Step <= TGame::AnimationSteps; ++Step) {
      QVERIFY(Form->Game().IsRolling() && QMetaObject::invokeMethod(Form.get(), "FlashTimerTimer"));
      QCOMPARE(Form->ShownDie(1), Held);
    }
    QVERIFY(Form->Game().RollCount() == 2 && Form->IsDieHeld(1) && !Child<QTimer>("FlashTimer")->isActive());
    QTest::keyClick(Form.get(), Qt::Key_2, Qt::KeypadModifier);
    QVERIFY(!Form->IsDieHeld(1));
  }

  void colourToggleRedrawsOnly() {
    Form->Game().Seed(3);  // 1-5-6-4-6
    RollDice();
    QTest::mouseClick(Die(3), Qt::LeftButton);
    const TThrow Before = Form->Game().Dice();
    auto Background = [this](int I) { return Die(I)->grab().toImage().pixelColor(5, 5); };
    for (int I = 0; I < DiceCount; ++I) QCOMPARE(Background(I), DieFaceColor(Before[I]));
    Child<QCheckBox>("CheckBox1")->click();
    for (int I = 0; I < DiceCount; ++I) {
      QVERIFY(Background(I) != DieFaceColor(Before[I]));  // the button face shows through
      QVERIFY(Form->ShownDie(I) == Before[I] && Form->IsDieHeld(I) == (I == 3));
    }
    // After an entry the dice show the question mark, while the game keeps
    // the throw for undo: the switch redraws what is shown. (The dice are
    // disabled then, so the picture is read from the icon, not the greyed button.)
    Press(0, erChance);
    Child<QCheckBox>("CheckBox1")->click();
    for (int I = 0; I < DiceCount; ++I) {
      QCOMPARE(Form->ShownDie(I), int(NotThrown));
      QCOMPARE(Die(I)->icon().pixmap(DieFaceSize).toImage().pixelColor(5, 5), DieFaceColor(NotThrown));
    }
  }

  // Each face's colour, one of its pips and a point only another face's pip
  // covers. The colour set drawn at twice the density, not scaled up from 32
  // pixels; the buttons show it at the usual density.
  void dieFacePixels() {
    const struct {
      QColor Background;  // of the colour set
      QPoint Pip, NoPip;  // no pip for the question mark, whose shape is the font's
    } Faces[DieFaceCount] = {{{248, 152, 152}, {15, 15}, {6, 6}},   {{248, 200, 248}, {24, 6}, {15, 15}},
                             {{152, 248, 200}, {16, 15}, {24, 24}}, {{248, 248, 200}, {6, 24}, {15, 15}},
                             {{200, 248, 248}, {15, 15}, {6, 15}},  {{152, 200, 152}, {24, 15}, {15, 15}},
                             {{248, 248, 200}, {}, {1, 1}}};
    for (int Value = 0; Value < DieFaceCount; ++Value) {
      const auto &[Background, Pip, NoPip] = Faces[Value];
      const QImage Color = DieFace(Value, TDiceSet::dsColor, 2.0).toImage();
      const QImage Plain = DieFace(Value, TDiceSet::dsPlain).toImage();
      QVERIFY(Color.size() == QSize(64, 64) && Plain.size() == QSize(32, 32));
      QVERIFY2(Color.pixelColor(NoPip * 2) == Background && Plain.pixelColor(NoPip).alpha() == 0, qPrintable(QString::number(Value)));
      if (!Pip.isNull())
        QVERIFY(Color.pixelColor(Pip * 2).lightness() < 40 && Plain.pixelColor(Pip).lightness() < 40 &&
                Plain.pixelColor(Pip).alpha() == 255);
    }
  }

  // The event loop goes on after the exception: it runs the poll that answers the box.
  void errorHandlerShowsTheMessageAndGoesOn() {
    TModalAnswer Answer;
    QTimer::singleShot(0, [] { throw EJError("JStorage not Open"); });
    QTRY_COMPARE(Answer.Seen, QStringLiteral("Quintor|JStorage not Open|1"));
  }

  // The application's style reads the menu bar's overflow picture only when
  // it is drawn; it must still be the picture of the style underneath.
  void menuOverflowPictureIsTheStyles() {
    auto *Style = qobject_cast<QProxyStyle *>(QApplication::style());
    QVERIFY(Style);
    const auto Which = QStyle::SP_ToolBarHorizontalExtensionButton;
    const QImage Own = Style->baseStyle()->standardIcon(Which).pixmap(16).toImage();
    QVERIFY(!Own.isNull() && Style->standardIcon(Which).pixmap(16).toImage() == Own);
  }

  // Turn T: one to three rolls, a die held after each roll but the last, and
  // a box of a fixed permutation (7 and 39 share no factor), reached from
  // Home over the open boxes.
  void wholeGameByKeys() {
    TModalAnswer Answer;
    for (int T = 0; T < BoxCount; ++T) {
      QCOMPARE(Focus(), Child<QWidget>("RollButton"));
      const int Rolls = 1 + T % 3;
      for (int Roll = 0; Roll < Rolls; ++Roll) {
        if (Roll > 0) {
          const int Die = (T + 2 * Roll) % DiceCount;
          Key(Qt::Key_1 + Die);
          QVERIFY(Form->IsDieHeld(Die));
        }
        Key(Qt::Key_Space);
      }
      // The third roll takes the focus to the card; after fewer, Tab does.
      if (Rolls < TGame::MaxRolls) Key(Qt::Key_Tab);
      QCOMPARE(Focus(), Child<QWidget>("TopGrid"));
      Key(Qt::Key_Home);
      const int Target = T * 7 % BoxCount;
      for (int Box = 0; Box < Target; ++Box)
        if (!Form->Game().Card().IsFilled(Box % ColumnCount, Box / ColumnCount)) Key(Qt::Key_Right);
      QCOMPARE(Cursor(), QPoint(Target % ColumnCount, Target / ColumnCount));
      Key(T % 2 ? Qt::Key_Return : Qt::Key_Space);
      QVERIFY(Form->Game().Card().IsFilled(Target % ColumnCount, Target / ColumnCount) &&
              Form->Game().Card().FilledCount == T + 1);
    }
    // At the end the grand total has the focus and says what to do next; with
    // no game end plugged in, the game just ends, and a move over the panel
    // leaves the last box's score on show.
    QVERIFY(Form->focusWidget() == Child<QWidget>("GrandTotal") && !Child<QPushButton>("RollButton")->isEnabled());
    QTest::mouseMove(Child<QWidget>("ScorePanel"), QPoint(5, 200));
    const int Last = Form->Game().Card().BottomScore[2][erLargeStraight - UpperRows];  // box 38 * 7 % 39
    QCOMPARE(BoxText(2, erLargeStraight), QString::number(Last));
    QVERIFY(Form->Reader().Said().last().endsWith("; the game is over"));
    QVERIFY(QAccessible::queryAccessibleInterface(Form->focusWidget())
                ->text(QAccessible::Name)
                .endsWith(". The game is over; Ctrl+N starts a new game."));
  }

  // After the third roll Space must enter a box, not switch "Use colors"; an
  // entry or a new turn gives Roll! the focus back, and so does the undo of
  // an entry made with rolls left, while the undo of a third roll's entry
  // sends the focus back to the card.
  void focusFollowsTheGame() {
    for (int Roll = 0; Roll < TGame::MaxRolls; ++Roll) Key(Qt::Key_Space);
    QCOMPARE(Focus(), Child<QWidget>("TopGrid"));
    Key(Qt::Key_Space);
    QVERIFY(Child<QCheckBox>("CheckBox1")->isChecked() && Form->Game().Card().FilledCount == 1);
    QCOMPARE(Focus(), Child<QWidget>("RollButton"));

    Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Focus(), Child<QWidget>("TopGrid"));
    Key(Qt::Key_Return);
    Key(Qt::Key_Space);
    Key(Qt::Key_Tab);
    Key(Qt::Key_Return);
    Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(std::pair(Focus(), Form->Game().RollCount()), std::pair(Child<QWidget>("RollButton"), 1));
  }

  // The moves themselves are the card cursor's (tst_rules); here each
  // key reaches its move, in both grids.
  void cursorSkipsFilledBoxes() {
    for (QPoint Box : {QPoint(1, erOnes), QPoint(0, erTwos), QPoint(1, erTwos), QPoint(2, erTwos),
                       QPoint(0, erThrees), QPoint(2, erChance)}) {
      Key(Qt::Key_Space);
      Press(Box.x(), Box.y());
    }
    Key(Qt::Key_Tab);
    const QPoint Expected(2, erThreeOfAKind);
    for (const auto &[K, Col, Row] : {std::tuple{Qt::Key_End, 1, erChance}, {Qt::Key_Home, 0, erOnes},
                                      {Qt::Key_Right, 2, erOnes}, {Qt::Key_Right, 1, erThrees},
                                      {Qt::Key_Left, 2, erOnes}, {Qt::Key_Down, 2, erThrees}, {Qt::Key_Up, 2, erOnes}}) {
      Key(K);
      QCOMPARE(Cursor(), QPoint(Col, Row));
    }
    for (int Row = erThrees; Row <= Expected.y(); ++Row) Key(Qt::Key_Down);
    QCOMPARE(Cursor(), Expected);
    TScoreGrid *Shows = GridOf(Expected.y()), *Other = GridOf(Expected.y() < UpperRows ? erChance : erOnes);
    QCOMPARE(QPoint(Shows->GetCursorCol(), Shows->GetCursorRow()), QPoint(Expected.x(), GridRow(Expected.y())));
    QCOMPARE(Other->GetCursorCol(), -1);
    // The cursor's box is the focus a screen reader follows.
    QAccessibleInterface *Table = QAccessible::queryAccessibleInterface(Shows);
    QCOMPARE(Table->focusChild(), Table->tableInterface()->cellAt(GridRow(Expected.y()), Expected.x()));
    Key(Qt::Key_Tab);  // leaving the card takes the cursor away
    QVERIFY(Shows->GetCursorCol() == -1 && !Table->focusChild());
  }

  // One preview for the pointer and the cursor: whichever moved last shows
  // its box; the panel empties it as ever. (A move to where the pointer
  // already is would be no move: the boxes here are ones no other test
  // points at.)
  void previewFollowsTheCursor() {
    Key(Qt::Key_Tab);  // before the first roll the cursor shows nothing
    QCOMPARE(BoxText(0, erOnes), QString());
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    Key(Qt::Key_Space);
    Key(Qt::Key_Tab);
    QCOMPARE(BoxText(0, erOnes), Preview(0, erOnes));
    Key(Qt::Key_Down);
    QCOMPARE(BoxText(0, erOnes) + u'|' + BoxText(0, erTwos), u'|' + Preview(0, erTwos));

    MoveTo(2, erFullHouse);
    QCOMPARE(BoxText(0, erTwos), QString());
    Key(Qt::Key_Right);
    QCOMPARE(BoxText(2, erFullHouse) + u'|' + BoxText(1, erTwos), u'|' + Preview(1, erTwos));
    QTest::mouseMove(Child<QWidget>("ScorePanel"), QPoint(5, 200));
    QCOMPARE(BoxText(1, erTwos), QString());

    // Enter fills the cursor's box, not the one the pointer last showed.
    MoveTo(2, erFullHouse);
    Key(Qt::Key_Enter);
    QVERIFY(Form->Game().Card().IsFilled(1, erTwos) && !Form->Game().Card().IsFilled(2, erFullHouse));
    QCOMPARE(BoxText(2, erFullHouse), QString());
  }

  // F1 shows the help document from the page's title, also when shown again
  // after a scroll; Escape puts it away. With the document missing it says
  // where it looked. Closing the main window ends the program while the help
  // window is open. Last: the program's event loop runs and ends here.
  void helpWindow() {
    const QString Document = QStringLiteral(QUINTOR_HELP_DOCUMENT);  // beside the program
    SetProgramFilePathForTesting(QFileInfo(Document).dir().filePath(QStringLiteral("quintor")));
    THelpWindow *Help = nullptr;
    for (int Time = 0; Time < 2; ++Time) {
      QTest::keyClick(Form.get(), Qt::Key_F1);
      Help = TQuintorApplication::Instance()->HelpWindow();
      QVERIFY(Help && Help->isVisible() && Help->GetDocumentPath() == Document);
      QScrollBar *Scroll = Help->Browser()->verticalScrollBar();
      QVERIFY(Scroll->value() == 0 && Scroll->maximum() > 100);
      Scroll->setValue(100);
      QTest::keyClick(Help->Browser(), Qt::Key_Escape);
      QVERIFY(!Help->isVisible());
    }
    QTemporaryDir Empty;
    SetProgramFilePathForTesting(Empty.filePath(QStringLiteral("quintor")));
    {
      TModalAnswer Answer;
      QTest::keyClick(Form.get(), Qt::Key_F1);
      QVERIFY2(Answer.Seen.contains(QStringLiteral("quintor.hlp")), qPrintable(Answer.Seen));
    }
    QVERIFY(!Help->isVisible() && Help->ShowContents(Document));
    QTimer Limit;  // a program kept alive is ended with status 1
    Limit.setSingleShot(true);
    connect(&Limit, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
    Limit.start(3000);
    QTimer::singleShot(0, Form.get(), [this] { Form->close(); });
    const int Status = QApplication::exec();
    Limit.stop();
    QVERIFY2(Status == 0, "the program went on with the help window open");
    Help->close();
  }
};

QUINTOR_MAINFORM_TEST_MAIN(TestMainForm)
#include "tst_mainform.moc"

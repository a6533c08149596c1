// The glyph button: which image each state shows, how the images share the
// cached lists, and the states, clicks, groups and modal results that real
// mouse and key input produces. Pictures are checked by sampling pixels of
// the button's parent, so masked pixels show the parent's colour.

#include <QDialog>
#include <optional>

#include "FancyButton.h"
#include "TestSupport.h"

using Samples = QList<QPair<QPoint, QColor>>;

static const QColor Ground(10, 20, 30);  // the parent's background
static const QColor Face(200, 200, 200), Light(250, 250, 250), Dark(100, 100, 100);
static const QColor Red(255, 0, 0), Blue(0, 0, 255), Green(0, 160, 0), Orange(255, 128, 0);
static const QColor White(255, 255, 255), Black(0, 0, 0), Cyan(0, 255, 255);

static QPixmap Strip(const char *Name) { return QPixmap(QStringLiteral(QUINTOR_TEST_DATA "/%1").arg(Name)); }

class TestFancyButton : public QObject {
  Q_OBJECT
  std::optional<QWidget> Top;

  TFancyButton *NewButton(const char *Name = "fancy5.png", QPoint At = {20, 20}) {
    auto *Button = new TFancyButton(&*Top);
    Button->SetGlyph(Strip(Name));
    Button->move(At);
    Button->show();
    return Button;
  }

  void CheckSamples(TFancyButton *Button, const Samples &Expected) {
    const QImage Shot = Top->grab(Button->geometry()).toImage();
    for (const auto &[At, Colour] : Expected)
      QCOMPARE(QColor(Shot.pixel(At)).toRgb(), Colour.toRgb());
  }

 private slots:
  void init() {
    QCursor::setPos(5000, 5000);
    Top.emplace();
    QPalette Colours = Top->palette();
    for (const auto &[Role, Colour] : {std::pair{QPalette::Window, Ground}, {QPalette::Button, Face},
                                       {QPalette::Light, Light}, {QPalette::Dark, Dark}})
      Colours.setColor(Role, Colour);
    Top->setPalette(Colours);
    Top->setAutoFillBackground(true);
    Top->resize(200, 100);
    Top->show();
    QVERIFY(QTest::qWaitForWindowExposed(&*Top));
  }
  void cleanup() {
    Top.reset();
    QVERIFY2(!TGlyphCache::Current(), "the cache outlived the last glyph");
  }

  // Rows: the strip's size, the count before it is set, the count after.
  void strip_shape_sets_count_and_size_data() {
    // Columns: StripSize, Before, Count, ButtonSize.
    TTable<QSize, int, int, QSize>::Add();
    QTest::newRow("80 x 16: five") << QSize(80, 16) << 1 << 5 << QSize(16, 16);
    QTest::newRow("96 x 16: six is too many") << QSize(96, 16) << 3 << 1 << QSize(96, 16);
    QTest::newRow("50 x 16 keeps the count") << QSize(50, 16) << 3 << 3 << QSize(16, 16);
    QTest::newRow("no picture: 0 x 0") << QSize() << 2 << 2 << QSize(0, 0);
  }
  // SetNumGlyphs clamps to 1 to 5 and sizes the button to one image.
  void strip_shape_sets_count_and_size() {
    const auto [StripSize, Before, Count, ButtonSize] = TTable<QSize, int, int, QSize>::Row();
    TFancyButton Button;
    Button.GetButtonGlyph().SetImageCount(Before);
    QPixmap Picture(StripSize);
    if (!Picture.isNull()) Picture.fill(Qt::red);
    Button.SetGlyph(Picture);
    QCOMPARE(std::pair(Button.GetNumGlyphs(), Button.size()), std::pair(Count, ButtonSize));
    if (Picture.isNull()) return;
    Button.SetNumGlyphs(9);
    QCOMPARE(Button.size(), QSize(StripSize.width() / 5, 16));
    Button.SetNumGlyphs(0);
    QCOMPARE(Button.size(), StripSize);
  }

  // The image each state shows, for five, two and one images.
  void image_for_state_data() {
    // Columns: Name, State, Expected.
    TTable<QString, int, Samples>::Add();
    const Samples Recoloured{{{8, 5}, Light}, {{8, 10}, Dark}, {{1, 1}, Ground}};
    QTest::newRow("5 up: 0") << "fancy5.png" << 0 << Samples{{{8, 8}, Red}, {{1, 14}, Ground}};
    QTest::newRow("5 disabled: 1 recoloured") << "fancy5.png" << 1 << Recoloured;
    QTest::newRow("5 down: 2") << "fancy5.png" << 2 << Samples{{{8, 8}, Blue}};
    QTest::newRow("5 mouse out: 3") << "fancy5.png" << 3 << Samples{{{8, 8}, Green}};
    QTest::newRow("5 exclusive: 2, never 4") << "fancy5.png" << 4 << Samples{{{8, 8}, Blue}};
    QTest::newRow("2 down: 0 in place") << "fancy2.png" << 2 << Samples{{{3, 3}, Orange}, {{2, 2}, Ground}};
    QTest::newRow("2 disabled: 1 recoloured, other colours kept")
        << "fancy2.png" << 1 << Recoloured + Samples{{{8, 8}, Cyan}};
    QTest::newRow("1 up: masked white") << "fancy1.png" << 0
                                        << Samples{{{4, 4}, Black}, {{12, 3}, Red}, {{0, 15}, Ground}};
    QTest::newRow("1 down: moved by 2, 2") << "fancy1.png" << 2
                                           << Samples{{{4, 4}, Ground}, {{6, 6}, Black}, {{11, 11}, Black},
                                                      {{12, 3}, Ground}, {{14, 5}, Red}};
    QTest::newRow("1 exclusive: in place") << "fancy1.png" << 4 << Samples{{{4, 4}, Black}, {{10, 10}, Ground}};
    QTest::newRow("1 disabled: embossed")
        << "fancy1.png" << 1
        << Samples{{{4, 4}, Dark}, {{9, 9}, Dark}, {{10, 10}, Light}, {{10, 5}, Light}, {{5, 10}, Light},
                   {{4, 10}, Ground}, {{12, 3}, Ground}};
  }
  void image_for_state() {
    const auto [Name, State, Expected] = TTable<QString, int, Samples>::Row();
    TFancyButton *Button = NewButton(Name.toLatin1());
    Button->SetState(TFancyButtonState(State));
    CheckSamples(Button, Expected);
  }

  void transparent_colour() {
    TFancyButton *Button = NewButton("fancy1.png");
    Button->SetTransparentColor(Black);
    Button->SetGlyph(Strip("fancy1.png"));  // a fixed colour holds for later strips
    CheckSamples(Button, {{{4, 4}, Ground}, {{0, 15}, White}, {{12, 3}, Red}});
    Button->SetTransparentColor(Red);
    CheckSamples(Button, {{{4, 4}, Black}, {{12, 3}, Ground}});
    Button->SetTransparentColor(QColor());
    CheckSamples(Button, {{{4, 4}, Black}, {{0, 15}, Ground}});
    // Unfixed, an image leaves out the colour of its own bottom-left pixel.
    TGlyphList List(2, 2);
    QImage Corner(2, 2, QImage::Format_RGB32);
    Corner.fill(Qt::red);
    Corner.setPixel(0, 1, qRgb(0, 0, 255));
    const QImage Stored = List.Image(List.AddImage(Corner, QColor()));
    QCOMPARE(QList<int>({qAlpha(Stored.pixel(0, 1)), qAlpha(Stored.pixel(0, 0))}), QList<int>({0, 255}));
  }

  // A palette change remakes the disabled image in its slot; the other
  // images stay as they were.
  void palette_change_rebuilds_disabled_image() {
    TFancyButton *Button = NewButton();
    Button->setEnabled(false);
    TButtonGlyph &Glyph = Button->GetButtonGlyph();
    const int Disabled = Glyph.ImageIndex(TFancyButton::fbsDisabled);
    const int Out = Glyph.MakeStateImage(TFancyButton::fbsMouseOut, false);
    QPalette Colours = Top->palette();
    Colours.setColor(QPalette::Light, Cyan);
    Top->setPalette(Colours);
    CheckSamples(Button, {{{8, 5}, Cyan}, {{8, 10}, Dark}});
    QCOMPARE(std::pair(Glyph.ImageIndex(TFancyButton::fbsDisabled), Glyph.ImageIndex(TFancyButton::fbsMouseOut)),
             std::pair(Disabled, Out));
  }

  // One list per image size; a list goes with its last live image, the
  // cache with its last list (checked after every test).
  void lists_shared_by_image_size() {
    auto *A = NewButton("fancy5.png");
    auto *B = NewButton("fancy1.png", {60, 20});
    auto *C = new TFancyButton(&*Top);
    QPixmap Square(20, 20);
    Square.fill(Qt::red);
    C->SetGlyph(Square);
    for (TFancyButton *Each : {A, B, C}) Each->GetButtonGlyph().MakeStateImage(TFancyButton::fbsUp, false);
    QCOMPARE(B->GetButtonGlyph().GetGlyphList(), A->GetButtonGlyph().GetGlyphList());
    QList<int> Lists{TGlyphCache::Current()->Count()};
    delete A;
    Lists << TGlyphCache::Current()->Count();
    delete B;
    QCOMPARE(Lists << TGlyphCache::Current()->Count(), (QList<int>{2, 2, 1}));
    QCOMPARE(TGlyphCache::Current()->ListForSize(20, 20), C->GetButtonGlyph().GetGlyphList());
  }

  void freed_slots_reused_lowest_first() {
    TButtonGlyph First, Second;
    First.AssignStrip(Strip("fancy5.png"));
    Second.AssignStrip(Strip("fancy5.png"));
    using B = TFancyButton;
    QCOMPARE((QList<int>{First.MakeStateImage(B::fbsUp, false), First.MakeStateImage(B::fbsDown, false),
                         First.MakeStateImage(B::fbsMouseOut, false), Second.MakeStateImage(B::fbsUp, false)}),
             (QList<int>{0, 1, 2, 3}));
    First.FreeImages();
    TGlyphList *List = Second.GetGlyphList();
    QCOMPARE((QList<int>{List->LiveCount(), Second.MakeStateImage(B::fbsDisabled, false),
                         First.MakeStateImage(B::fbsMouseOut, false), List->ImageCount()}),
             (QList<int>{1, 0, 1, 4}));
    QCOMPARE(QColor(List->Image(1).pixel(8, 8)), Green);  // the pressed image it held is gone
    // Fewer than three images have no pressed image, not even a slot of its own.
    TButtonGlyph Two;
    Two.AssignStrip(Strip("fancy2.png"));
    QCOMPARE(Two.MakeStateImage(B::fbsDown, false), Two.MakeStateImage(B::fbsUp, false));
  }

  // Pressed, dragged out and back, released outside: no click, at rest;
  // released inside: one click, and up, with the pointer over it. Hidden or
  // disabled while pressed, it gets no release: it rests, and the next hover
  // shows the hover image, not the pressed one.
  void press_move_out_and_back() {
    TFancyButton *Button = NewButton();
    QSignalSpy Clicks(Button, &TFancyButton::OnClick);
    const QPoint Out(40, 8);
    QTest::mousePress(Button, Qt::LeftButton, {}, {8, 8});
    CheckSamples(Button, {{{8, 8}, Blue}});
    QTest::mouseMove(Button, Out);
    QCOMPARE(Button->GetState(), TFancyButton::fbsUp);
    QTest::mouseMove(Button, {15, 15});
    QCOMPARE(Button->GetState(), TFancyButton::fbsDown);
    QTest::mouseMove(Button, Out);
    QTest::mouseRelease(Button, Qt::LeftButton, {}, Out);
    QCOMPARE(std::pair(Clicks.count(), Button->GetState()), std::pair(qsizetype(0), TFancyButton::fbsMouseOut));
    QTest::mouseClick(Button, Qt::LeftButton, {}, {8, 8});
    QCOMPARE(std::pair(Clicks.count(), Button->GetState()), std::pair(qsizetype(1), TFancyButton::fbsUp));
    QTest::mousePress(Button, Qt::LeftButton, {}, {8, 8});
    Button->hide();
    QCOMPARE(Button->GetState(), TFancyButton::fbsMouseOut);
    QTest::mouseRelease(&*Top, Qt::LeftButton, {}, {150, 80});  // Qt Test's button state
    Button->show();
    QTest::mousePress(Button, Qt::LeftButton, {}, {8, 8});
    Button->setEnabled(false);
    QTest::mouseRelease(Button, Qt::LeftButton, {}, {8, 8});
    Button->setEnabled(true);
    QTest::mouseMove(Button, {9, 9});
    QCOMPARE(Button->GetState(), TFancyButton::fbsUp);
    CheckSamples(Button, {{{8, 8}, Red}});
  }

  // Each handler deletes its button, from input through the window as the
  // desktop delivers it; the sanitizer build catches any touch of the freed
  // button.
  void deleted_by_its_own_handler() {
    using B = TFancyButton;
    for (int Signal = 0; Signal < 5; ++Signal) {
      QPointer<B> Button = NewButton();
      Button->SetGroupIndex(1);
      Button->SetDown(true);  // OnDblClick fires only when down
      const auto Delete = [&Button] { delete Button.data(); };
      if (Signal == 0) connect(Button, &B::OnMouseDown, this, Delete);
      if (Signal == 1) connect(Button, &B::OnMouseUp, this, Delete);
      if (Signal == 2) connect(Button, &B::OnDblClick, this, Delete);
      if (Signal == 3) connect(Button, &B::OnMouseMove, this, Delete);
      if (Signal == 4) connect(Button, &B::OnClick, this, Delete);
      const QPoint At = Button->geometry().center();
      QTest::mouseMove(Top->windowHandle(), At);
      QTest::mouseMove(Top->windowHandle(), At + QPoint(1, 1));
      if (Button) QTest::mouseDClick(Top->windowHandle(), Qt::LeftButton, {}, At);
      QVERIFY2(!Button, qPrintable(QString::number(Signal)));
      QTest::mouseMove(Top->windowHandle(), {190, 90});
    }
  }

  // A picture of device pixel ratio 2 (as "name@2x.png" loads): the button
  // takes its logical size, draws it one to one at ratio 2 and smoothed, not
  // thinned, at ratio 1. Red and blue columns alternate in the picture.
  void device_pixel_ratio() {
    QImage Picture(64, 32, QImage::Format_ARGB32);
    for (int X = 0; X < 64; ++X)
      for (int Y = 0; Y < 32; ++Y) Picture.setPixelColor(X, Y, X % 2 ? Blue : Red);
    Picture.setDevicePixelRatio(2);
    auto *Button = new TFancyButton(&*Top);
    Button->SetTransparentColor(White);
    Button->SetGlyph(QPixmap::fromImage(Picture));
    QCOMPARE(std::pair(Button->size(), Button->GetNumGlyphs()), std::pair(QSize(16, 16), 2));
    QImage Sharp(32, 32, QImage::Format_ARGB32);
    Sharp.setDevicePixelRatio(2);
    Sharp.fill(Qt::transparent);
    Button->render(&Sharp);
    QCOMPARE(std::pair(Sharp.pixelColor(30, 31), Sharp.pixelColor(31, 31)), std::pair(Red, Blue));
    const QColor Mixed = Button->grab().toImage().pixelColor(15, 15);
    QVERIFY2(Mixed.red() > 60 && Mixed.blue() > 60, qPrintable(Mixed.name()));
  }

  void hover() {
    TFancyButton *Button = NewButton();
    TFancyButton *Two = NewButton("fancy2.png", {60, 20});
    QTest::mouseMove(Button, {8, 8});
    CheckSamples(Button, {{{8, 8}, Red}});
    QTest::mouseMove(Two, {8, 8});
    CheckSamples(Button, {{{8, 8}, Green}});
    QCOMPARE(Two->GetState(), TFancyButton::fbsUp);
    // Left while pressed, through the window as the desktop delivers it: the
    // leave comes after the release, which has already settled the state.
    QWindow *Window = Top->windowHandle();
    QTest::mousePress(Window, Qt::LeftButton, {}, Two->geometry().center());
    QTest::mouseMove(Window, {150, 80});
    QCOMPARE(Two->GetState(), TFancyButton::fbsUp);
    QTest::mouseRelease(Window, Qt::LeftButton, {}, {150, 80});
    QCOMPARE(Two->GetState(), TFancyButton::fbsMouseOut);
    // A disabled button ignores the pointer; enabled again it rests.
    Button->setEnabled(false);
    QTest::mouseMove(Button, {8, 8});
    QTest::mouseMove(&*Top, {150, 80});
    Button->setEnabled(true);
    CheckSamples(Button, {{{8, 8}, Green}});
  }

  void group_data() {
    QTest::addColumn<bool>("AllowAllUp");
    QTest::newRow("one always down") << false;
    QTest::newRow("all may be up") << true;
  }
  void group() {
    QFETCH(bool, AllowAllUp);
    TFancyButton *Buttons[3];
    for (int I = 0; I < 3; ++I) {
      Buttons[I] = NewButton("fancy5.png", {10 + 30 * I, 20});
      Buttons[I]->SetGroupIndex(7);
    }
    Buttons[2]->SetAllowAllUp(AllowAllUp);  // announced: every member takes it
    auto Downs = [&] { return QList<bool>{Buttons[0]->GetDown(), Buttons[1]->GetDown(), Buttons[2]->GetDown()}; };

    Buttons[0]->SetDown(true);
    QTest::mouseClick(Buttons[1], Qt::LeftButton, {}, {8, 8});
    QCOMPARE(Downs(), (QList<bool>{false, true, false}));
    CheckSamples(Buttons[1], {{{8, 8}, Blue}});
    CheckSamples(Buttons[0], {{{8, 8}, Green}});
    // Pressing the down button moves nothing; its release decides.
    QTest::mousePress(Buttons[1], Qt::LeftButton, {}, {8, 8});
    QCOMPARE(Buttons[1]->GetState(), TFancyButton::fbsExclusive);
    QTest::mouseRelease(Buttons[1], Qt::LeftButton, {}, {8, 8});
    QCOMPARE(std::pair(Downs(), Buttons[1]->GetState()), std::pair(QList<bool>{false, !AllowAllUp, false},
                                                                  AllowAllUp ? TFancyButton::fbsUp : TFancyButton::fbsExclusive));
    // A press taken back outside the button changes nothing.
    QTest::mousePress(Buttons[2], Qt::LeftButton, {}, {8, 8});
    QTest::mouseMove(Buttons[2], {8, 40});
    QTest::mouseRelease(Buttons[2], Qt::LeftButton, {}, {8, 40});
    QCOMPARE(Downs(), (QList<bool>{false, !AllowAllUp, false}));
  }

  // The second press and release fire only OnDblClick, and only when down;
  // a button in no group is never down.
  void double_click_reported_only_when_down() {
    TFancyButton *Plain = NewButton();
    Plain->SetDown(true);
    TFancyButton *Grouped = NewButton("fancy5.png", {60, 20});
    Grouped->SetGroupIndex(1);
    Grouped->SetDown(true);
    for (TFancyButton *Button : {Plain, Grouped}) {
      QSignalSpy Clicks(Button, &TFancyButton::OnClick), Doubles(Button, &TFancyButton::OnDblClick);
      QSignalSpy Releases(Button, &TFancyButton::OnMouseUp);
      QTest::mouseDClick(Top->windowHandle(), Qt::LeftButton, {}, Button->geometry().center());
      QCOMPARE(QList<int>({int(Clicks.count()), int(Releases.count()), int(Doubles.count())}),
               QList<int>({1, 1, Button == Grouped ? 1 : 0}));
    }
    QCOMPARE(std::pair(Plain->GetDown(), Grouped->GetDown()), std::pair(false, true));
  }

  // Keys and releases on a dialog's button: which close it, with what (the
  // clicks, the dialog's result, whether it closed).
  void modal_result_data() {
    // Columns: ModalResult, Key (0: a click of the mouse, -1: a release outside), Outcome.
    TTable<int, int, QString>::Add();
    QTest::newRow("Enter, OK") << 1 << int(Qt::Key_Return) << "1 click, result 1, closed";
    QTest::newRow("Enter, no result") << 0 << int(Qt::Key_Enter) << "1 click, result 0, open";
    QTest::newRow("Escape, Cancel") << 2 << int(Qt::Key_Escape) << "1 click, result 2, closed";
    QTest::newRow("Escape, OK: the dialog's") << 1 << int(Qt::Key_Escape) << "0 click, result 0, closed";
    QTest::newRow("click, Yes") << 6 << 0 << "1 click, result 6, closed";
    QTest::newRow("released outside, OK") << 1 << -1 << "0 click, result 0, open";
  }
  void modal_result() {
    const auto [ModalResult, Key, Outcome] = TTable<int, int, QString>::Row();
    QDialog Dialog;
    auto *Button = new TFancyButton(&Dialog);
    Button->SetGlyph(Strip("fancy5.png"));
    Button->ModalResult = TFancyModalResult(ModalResult);
    QSignalSpy Clicks(Button, &TFancyButton::OnClick);
    Dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&Dialog));
    Button->setFocus();
    if (Key > 0) {
      QTest::keyClick(Button, Qt::Key(Key));
    } else {
      QTest::mousePress(Button, Qt::LeftButton, {}, {8, 8});
      const QPoint At = Key < 0 ? QPoint(8, 30) : QPoint(8, 8);
      QTest::mouseMove(Button, At);
      QTest::mouseRelease(Button, Qt::LeftButton, {}, At);
    }
    const QString Seen = QStringLiteral("%1 click, result %2, ").arg(Clicks.count()).arg(Dialog.result());
    QCOMPARE(Seen + (Dialog.isVisible() ? "open" : "closed"), Outcome);
  }

  void accelerator_of_caption() {
    TFancyButton *Button = NewButton();
    QSignalSpy Clicks(Button, &TFancyButton::OnClick);
    Button->setProperty("Caption", QStringLiteral("&Next"));  // as a form sets it
    Top->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&*Top));
    QTest::keyClick(&*Top, Qt::Key_N, Qt::AltModifier);
    Button->setEnabled(false);
    QTest::keyClick(&*Top, Qt::Key_N, Qt::AltModifier);
    QCOMPARE(Clicks.count(), 1);
  }
};

QTEST_MAIN(TestFancyButton)
#include "tst_fancybutton.moc"

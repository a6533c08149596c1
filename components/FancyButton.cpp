#include "FancyButton.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcut>

#include "ComponentAccessible.h"

namespace {

std::unique_ptr<TGlyphCache> TheCache;

constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb MidGrey = qRgb(128, 128, 128);
constexpr QRgb Black = qRgb(0, 0, 0);

}  // namespace

// ---------------------------------------------------------------- TGlyphList

TGlyphList::TGlyphList(int Width, int Height) : FWidth(Width), FHeight(Height) {}

int TGlyphList::TakeFreeSlot() {
  int Slot = 0;
  while (Slot < ImageCount() && FUsed[Slot]) ++Slot;
  if (Slot >= ImageCount()) {
    QImage Grown(FWidth * (ImageCount() + 1), FHeight, QImage::Format_ARGB32_Premultiplied);
    Grown.fill(Qt::transparent);
    if (!FImages.isNull()) {
      QPainter Painter(&Grown);
      Painter.setCompositionMode(QPainter::CompositionMode_Source);
      Painter.drawImage(0, 0, FImages);
    }
    FImages = Grown;
    Slot = ImageCount();
    FUsed.push_back(false);
  }
  FUsed[Slot] = true;
  return Slot;
}

int TGlyphList::AddImage(const QImage &Image, const QColor &MaskColour) {
  const int Slot = TakeFreeSlot();
  ReplaceImage(Slot, Image, MaskColour);
  ++FCount;
  return Slot;
}

void TGlyphList::ReplaceImage(int Slot, const QImage &Image, const QColor &MaskColour) {
  if (Slot < 0 || Slot >= ImageCount()) return;
  QImage Masked = Image.convertToFormat(QImage::Format_ARGB32).copy(0, 0, FWidth, FHeight);
  const QRgb Mask = MaskColour.isValid() ? MaskColour.rgba() : Masked.pixel(0, FHeight - 1);
  for (int Y = 0; Y < FHeight; ++Y) {
    auto *Line = reinterpret_cast<QRgb *>(Masked.scanLine(Y));
    for (int X = 0; X < FWidth; ++X)
      if (Line[X] == Mask) Line[X] = 0;
  }
  QPainter Painter(&FImages);
  Painter.setCompositionMode(QPainter::CompositionMode_Source);
  Painter.drawImage(Slot * FWidth, 0, Masked);
}

void TGlyphList::ReleaseSlot(int Slot) {
  if (Slot < 0 || Slot >= ImageCount() || !FUsed[Slot]) return;
  FUsed[Slot] = false;
  --FCount;
}

QImage TGlyphList::Image(int Slot) const {
  if (Slot < 0 || Slot >= ImageCount()) return {};
  return FImages.copy(Slot * FWidth, 0, FWidth, FHeight).convertToFormat(QImage::Format_ARGB32);
}

void TGlyphList::Draw(QPainter &Canvas, int X, int Y, int Slot, qreal Ratio) const {
  if (Slot < 0 || Slot >= ImageCount()) return;
  const QRect Source(Slot * FWidth, 0, FWidth, FHeight);
  if (Ratio == 1.0) {
    Canvas.drawImage(QPoint(X, Y), FImages, Source);
    return;
  }
  // Pixels made for Ratio: one to one on a device of that ratio, and on any
  // other one scaled smoothly rather than dropping every other pixel.
  Canvas.save();
  Canvas.setRenderHint(QPainter::SmoothPixmapTransform);
  Canvas.drawImage(QRectF(X, Y, FWidth / Ratio, FHeight / Ratio), FImages, Source);
  Canvas.restore();
}

// --------------------------------------------------------------- TGlyphCache

TGlyphCache *TGlyphCache::Current() { return TheCache.get(); }

TGlyphCache &TGlyphCache::Ensure() {
  if (!TheCache) TheCache = std::make_unique<TGlyphCache>();
  return *TheCache;
}

void TGlyphCache::DestroyIfEmpty() {
  if (TheCache && TheCache->IsEmpty()) TheCache.reset();
}

TGlyphList *TGlyphCache::ListForSize(int Width, int Height) {
  for (auto List = FLists.rbegin(); List != FLists.rend(); ++List)
    if ((*List)->Width() == Width && (*List)->Height() == Height) return List->get();
  FLists.push_back(std::make_unique<TGlyphList>(Width, Height));
  return FLists.back().get();
}

void TGlyphCache::ReleaseList(TGlyphList *List) {
  if (!List || List->LiveCount() != 0) return;
  std::erase_if(FLists, [List](const std::unique_ptr<TGlyphList> &Held) { return Held.get() == List; });
}

// -------------------------------------------------------------- TButtonGlyph

TButtonGlyph::TButtonGlyph() { TGlyphCache::Ensure(); }

TButtonGlyph::~TButtonGlyph() {
  FreeImages();
  TGlyphCache::DestroyIfEmpty();
}

void TButtonGlyph::FreeImages() {
  for (int &Index : FIndexes) {
    if (Index != -1 && FGlyphList) FGlyphList->ReleaseSlot(Index);
    Index = -1;
  }
  // A list exists only inside the cache, so the cache is there to take it back.
  if (FGlyphList && TGlyphCache::Current()) TGlyphCache::Current()->ReleaseList(FGlyphList);
  FGlyphList = nullptr;
}

void TButtonGlyph::AssignStrip(const QPixmap &Bitmap) {
  FreeImages();
  FStripPixmap = Bitmap;
  FStrip = Bitmap.isNull() ? QImage() : Bitmap.toImage().convertToFormat(QImage::Format_ARGB32);
  // The images are made in the strip's own pixels and drawn at its ratio.
  FRatio = Bitmap.isNull() ? 1.0 : Bitmap.devicePixelRatio();
  FStrip.setDevicePixelRatio(1.0);
  FMonochrome = !Bitmap.isNull() && Bitmap.depth() == 1;
  StripChanged();
  if (FStrip.isNull() || FStrip.height() < 1) return;
  if (FStrip.width() % FStrip.height() == 0) {
    int Count = FStrip.width() / FStrip.height();
    if (Count > 5 || Count < 1) Count = 1;
    SetImageCount(Count);
  }
}

void TButtonGlyph::SetImageCount(int Count) {
  if (Count == FNumGlyphs || Count < 1) return;
  FreeImages();
  FNumGlyphs = Count;
  StripChanged();
}

void TButtonGlyph::SetTransparentColor(const QColor &Colour) {
  const bool Fixed = Colour.isValid();
  if (Fixed == FFixedTransparent && (!Fixed || Colour.rgba() == FTransparentColor)) return;
  FFixedTransparent = Fixed;
  if (Fixed) FTransparentColor = Colour.rgba();
  StripChanged();
}

void TButtonGlyph::SetPalette(const QPalette &Colours) {
  FFace = Colours.color(QPalette::Active, QPalette::Button).rgba();
  FHighlight = Colours.color(QPalette::Active, QPalette::Light).rgba();
  FShadow = Colours.color(QPalette::Active, QPalette::Dark).rgba();
}

void TButtonGlyph::StripChanged() {
  if (!FFixedTransparent && !FStrip.isNull()) FTransparentColor = FStrip.pixel(0, FStrip.height() - 1);
  FreeImages();
  if (OnChange) OnChange(this);
}

QSize TButtonGlyph::ImageSize() const {
  if (FStrip.isNull()) return {0, 0};
  return {FStrip.width() / FNumGlyphs, FStrip.height()};
}

QSize TButtonGlyph::LogicalImageSize() const {
  const QSize Size = ImageSize();
  return {qRound(Size.width() / FRatio), qRound(Size.height() / FRatio)};
}

int TButtonGlyph::MakeStateImage(TFancyButtonState State, bool Force) {
  // Fewer than three images have no pressed image of their own.
  if (State == TFancyButton::fbsDown && FNumGlyphs < 3) State = TFancyButton::fbsUp;
  int &Index = FIndexes[State];
  if (Index != -1 && !Force) return Index;
  const QSize Size = ImageSize();
  if (Size.width() < 1 || Size.height() < 1) return Index;
  if (!FGlyphList) FGlyphList = TGlyphCache::Ensure().ListForSize(Size.width(), Size.height());

  QImage Work;
  QColor Mask;  // invalid: each image's own bottom-left pixel
  if (State == TFancyButton::fbsDisabled) {
    Work = DisabledImage(Size);
  } else {
    int Image = State;
    if (Image >= FNumGlyphs) Image = 0;
    if (Image == 4) Image = 2;
    Work = FStrip.copy(Image * Size.width(), 0, Size.width(), Size.height());
    if (FFixedTransparent) Mask = QColor::fromRgba(FTransparentColor);
  }
  if (Force && Index != -1)
    FGlyphList->ReplaceImage(Index, Work, Mask);
  else
    Index = FGlyphList->AddImage(Work, Mask);
  return Index;
}

QImage TButtonGlyph::DisabledImage(const QSize &Size) const {
  const int Width = Size.width();
  const int Height = Size.height();
  if (FNumGlyphs >= 2) {
    // Image 1 recoloured; each colour is looked up in the original image, so
    // one replacement never feeds the next.
    const QImage Source = FStrip.copy(Width, 0, Width, Height);
    QImage Work = Source;
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X) {
        const QRgb Pixel = Source.pixel(X, Y);
        if (Pixel == White) Work.setPixel(X, Y, FHighlight);
        if (Pixel == MidGrey) Work.setPixel(X, Y, FShadow);
        if (Pixel == FTransparentColor) Work.setPixel(X, Y, FFace);
      }
    return Work;
  }
  // The single image embossed: its marked pixels in highlight one pixel
  // right and down, then in shadow in place, on the button face.
  const QRgb Marked = FMonochrome ? White : Black;
  QImage Work(Size, QImage::Format_ARGB32);
  Work.fill(FFace);
  for (int Y = 0; Y + 1 < Height; ++Y)
    for (int X = 0; X + 1 < Width; ++X)
      if (FStrip.pixel(X, Y) == Marked) Work.setPixel(X + 1, Y + 1, FHighlight);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X)
      if (FStrip.pixel(X, Y) == Marked) Work.setPixel(X, Y, FShadow);
  return Work;
}

void TButtonGlyph::DrawState(QPainter &Canvas, TFancyButtonState State) {
  if (FStrip.isNull() || FStrip.width() == 0 || FStrip.height() == 0) return;
  const int Slot = MakeStateImage(State, false);
  if (Slot < 0 || !FGlyphList) return;
  // A single image shows a press by moving two pixels right and down.
  const int Shift = (FNumGlyphs == 1 && State == TFancyButton::fbsDown) ? 2 : 0;
  FGlyphList->Draw(Canvas, Shift, Shift, Slot, FRatio);
}

// -------------------------------------------------------------- TFancyButton

TFancyButton::TFancyButton(QWidget *Owner) : QWidget(Owner), FGlyph(std::make_unique<TButtonGlyph>()) {
  FGlyph->OnChange = [this](TButtonGlyph *) { GlyphChanged(); };
  FGlyph->SetPalette(palette());
  setGeometry(0, 0, 23, 22);
  // Moves without a button pressed feed OnMouseMove and the hover tracking.
  setMouseTracking(true);
  setFocusPolicy(Qt::TabFocus);
  InstallComponentAccessibility();
}

TFancyButton::~TFancyButton() = default;

void TFancyButton::Loaded() {
  TJComponent::Loaded();
  FState = isEnabled() ? fbsMouseOut : fbsDisabled;
  FGlyph->MakeStateImage(FState, false);
}

void TFancyButton::SetState(TFancyButtonState Value) {
  if (Value == FState) return;
  FState = Value;
  if (Value == fbsDisabled) setEnabled(false);
  FGlyph->MakeStateImage(Value, false);
  repaint();
}

QPixmap TFancyButton::GetGlyph() const { return FGlyph->GetStrip(); }

void TFancyButton::SetGlyph(const QPixmap &Value) {
  FGlyph->AssignStrip(Value);
  SizeToImage();
  update();
}

int TFancyButton::GetNumGlyphs() const { return FGlyph->GetNumGlyphs(); }

void TFancyButton::SetNumGlyphs(int Value) {
  Value = std::clamp(Value, 1, 5);
  if (Value == FGlyph->GetNumGlyphs()) return;
  FGlyph->SetImageCount(Value);
  SizeToImage();
  update();
}

void TFancyButton::SizeToImage() {
  resize(FGlyph->LogicalImageSize());
  updateGeometry();
}

QSize TFancyButton::sizeHint() const {
  if (FGlyph->GetStrip().isNull()) return {23, 22};
  return FGlyph->LogicalImageSize();
}

QColor TFancyButton::GetTransparentColor() const { return FGlyph->GetTransparentColor(); }

void TFancyButton::SetTransparentColor(const QColor &Value) { FGlyph->SetTransparentColor(Value); }

void TFancyButton::GlyphChanged() { update(); }

void TFancyButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = Value;
  NotifyDownChanged(this);
  if (Value) {
    FState = fbsExclusive;
    update();
    UpdateExclusive();
  } else {
    FState = RaisedState();
    repaint();
  }
}

void TFancyButton::SetGroupIndex(int Value) {
  if (Value == FGroupIndex) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TFancyButton::SetAllowAllUp(bool Value) {
  if (Value == FAllowAllUp) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TFancyButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !parentWidget()) return;
  const auto Siblings = parentWidget()->findChildren<TFancyButton *>(Qt::FindDirectChildrenOnly);
  for (TFancyButton *Sibling : Siblings) Sibling->ButtonPressed(FGroupIndex, this);
}

void TFancyButton::ButtonPressed(int Group, TFancyButton *Sender) {
  if (Group != FGroupIndex || Sender == this) return;
  if (Sender->FDown && FDown) {
    FDown = false;
    NotifyDownChanged(this);
    FState = RaisedState();
    update();
  }
  FAllowAllUp = Sender->FAllowAllUp;
}

void TFancyButton::SetCaption(const QString &Value) {
  FCaption = Value;
  delete FAccelerator;
  FAccelerator = nullptr;
  const QKeySequence Key = QKeySequence::mnemonic(Value);
  if (Key.isEmpty()) return;
  FAccelerator = new QShortcut(Key, this);
  connect(FAccelerator, &QShortcut::activated, this, &TFancyButton::Accelerator);
  // Two buttons with one accelerator: each press clicks the next of them.
  connect(FAccelerator, &QShortcut::activatedAmbiguously, this, &TFancyButton::Accelerator);
}

void TFancyButton::Accelerator() {
  if (isEnabled() && isVisible() && parentWidget() && parentWidget()->isVisible()) Click();
}

void TFancyButton::Click() { emit OnClick(this); }

void TFancyButton::CloseOwner() {
  if (ModalResult == fmrNone) return;
  if (auto *Owner = qobject_cast<QDialog *>(window())) Owner->done(ModalResult);
}

void TFancyButton::paintEvent(QPaintEvent *) {
  if (!isEnabled())
    FState = fbsDisabled;
  else if (FState == fbsDisabled)  // enabled again
    FState = (FDown && FGroupIndex != 0) ? fbsExclusive : fbsMouseOut;
  QPainter Canvas(this);
  FGlyph->DrawState(Canvas, FState);
}

bool TFancyButton::PointerOver(QPointF Pos) const {
  const QPoint Point = Pos.toPoint();
  if (!rect().contains(Point)) return false;
  // A sibling lying over the button takes the pointer.
  const QWidget *Top = window();
  return Top == this || Top->childAt(mapTo(Top, Point)) == this;
}

void TFancyButton::UpdateTracking(bool Inside) {
  if (!isEnabled()) return;
  if (Inside == FMouseInControl) return;
  if (FMouseInControl)
    MouseLeave();
  else
    MouseEnter();
}

void TFancyButton::UpdateTrackingAtCursor() {
  if (!isEnabled()) return;
  UpdateTracking(QApplication::widgetAt(QCursor::pos()) == this);
}

void TFancyButton::MouseEnter() {
  if (FMouseInControl || !isEnabled() || FDragging) return;
  if (QWidget *Grabber = QWidget::mouseGrabber(); Grabber && Grabber != this) return;
  FMouseInControl = true;
  if (FState == fbsMouseOut) FState = fbsUp;
  repaint();
}

void TFancyButton::MouseLeave() {
  if (!FMouseInControl || !isEnabled() || FDragging) return;
  FMouseInControl = false;
  if (FState == fbsUp) FState = fbsMouseOut;
  repaint();
}

void TFancyButton::enterEvent(QEnterEvent *Event) {
  MouseEnter();
  QWidget::enterEvent(Event);
}

void TFancyButton::leaveEvent(QEvent *Event) {
  MouseLeave();
  QWidget::leaveEvent(Event);
}

void TFancyButton::hideEvent(QHideEvent *Event) {
  // A hidden button gets no release and no leave: it goes back to rest.
  FDragging = false;
  FMouseInControl = false;
  if (FState == fbsUp || FState == fbsDown) FState = FDown ? fbsExclusive : fbsMouseOut;
  QWidget::hideEvent(Event);
}

void TFancyButton::mousePressEvent(QMouseEvent *Event) {
  const QPoint Pos = Event->position().toPoint();
  Event->accept();
  // Each handler may delete the button: nothing of it is touched afterwards.
  const QPointer<TFancyButton> Alive(this);
  emit OnMouseDown(this, Event->button(), Event->modifiers(), Pos.x(), Pos.y());
  if (!Alive) return;
  FSwallowRelease = false;
  if (Event->button() == Qt::LeftButton && isEnabled()) {
    if (!FDown) {
      FState = fbsDown;
      update();
    }
    FDragging = true;
  }
}

void TFancyButton::mouseMoveEvent(QMouseEvent *Event) {
  const QPoint Pos = Event->position().toPoint();
  Event->accept();
  const QPointer<TFancyButton> Alive(this);
  emit OnMouseMove(this, Event->modifiers(), Pos.x(), Pos.y());
  if (!Alive) return;
  if (FDragging) {
    const TFancyButtonState Wanted = FDown ? fbsExclusive : rect().contains(Pos) ? fbsDown : fbsUp;
    if (Wanted != FState) {
      FState = Wanted;
      update();
    }
  } else {
    UpdateTracking(PointerOver(Event->position()));
  }
}

void TFancyButton::mouseReleaseEvent(QMouseEvent *Event) {
  Event->accept();
  if (FSwallowRelease && Event->button() == Qt::LeftButton) {
    FSwallowRelease = false;
    return;
  }
  const QPoint Pos = Event->position().toPoint();
  const QPointer<TFancyButton> Alive(this);
  emit OnMouseUp(this, Event->button(), Event->modifiers(), Pos.x(), Pos.y());
  if (!Alive || !FDragging || Event->button() != Qt::LeftButton) return;
  FDragging = false;
  const bool Inside = rect().contains(Pos);
  if (FGroupIndex == 0) {
    FMouseInControl = false;
    FState = RaisedState();
    update();
  } else if (Inside) {
    SetDown(!FDown);
    if (FDown) repaint();
  } else {
    FState = FDown ? fbsExclusive : RaisedState();
    repaint();
  }
  // A release outside the button is a press taken back: it closes nothing.
  if (Inside) CloseOwner();
  UpdateTracking(PointerOver(Event->position()));
  if (Inside) Click();
}

void TFancyButton::mouseDoubleClickEvent(QMouseEvent *Event) {
  if (Event->button() != Qt::LeftButton) {
    mousePressEvent(Event);
    return;
  }
  // The second press of a double click is no press: no state change, and
  // its release clicks nothing.
  FSwallowRelease = true;
  Event->accept();
  if (FDown) emit OnDblClick(this);
}

void TFancyButton::keyPressEvent(QKeyEvent *Event) {
  const int Key = Event->key();
  if (Key == Qt::Key_Return || Key == Qt::Key_Enter || (Key == Qt::Key_Escape && ModalResult == fmrCancel)) {
    CloseOwner();
    Click();
    Event->accept();
    return;
  }
  QWidget::keyPressEvent(Event);
}

void TFancyButton::changeEvent(QEvent *Event) {
  if (Event->type() == QEvent::EnabledChange) {
    // A disabled button gets no release: a press or hover in progress ends
    // here, and the button comes back at rest.
    FDragging = false;
    FSwallowRelease = false;
    FMouseInControl = false;
    FState = isEnabled() ? (FDown && FGroupIndex != 0 ? fbsExclusive : fbsMouseOut) : fbsDisabled;
    FGlyph->MakeStateImage(isEnabled() ? fbsMouseOut : fbsDisabled, false);
    UpdateTrackingAtCursor();
    repaint();
  } else if (Event->type() == QEvent::PaletteChange) {
    FGlyph->SetPalette(palette());
    FGlyph->MakeStateImage(fbsDisabled, true);
    repaint();
  }
  QWidget::changeEvent(Event);
}

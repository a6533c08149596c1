#pragma once

// A push button whose whole look is a picture, and the machinery that makes
// and shares its pictures.
//
// TFancyButton draws no frame, face or caption: only one image, chosen by its
// state, from a strip of one to five equal images laid side by side (its
// Glyph): the resting look, the look under the pointer, pressed, held down
// in its group and disabled (made from the palette when the strip has no
// image of its own for it). Buttons with one GroupIndex form a group of
// toggles, one of them down at a time.
//
// From code:
//
//   auto *Ok = new TFancyButton(Dialog);
//   Ok->SetGlyph(QPixmap(":/pictures/ok.png"));  // 80 x 16: five 16 x 16 images
//   Ok->ModalResult = TFancyButton::fmrOk;        // a release inside closes Dialog with 1
//   connect(Ok, &TFancyButton::OnClick, Dialog, [](TFancyButton *Sender) { ... });
//
//   // a group of three toggles, one of which is down at a time
//   for (TFancyButton *B : {Left, Centre, Right}) B->SetGroupIndex(1);
//   Centre->SetDown(true);
//
// Design notes and a Qt Designer form: docs/components.md, section "FancyButton".

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "Component.h"

class QPainter;
class QShortcut;
class TButtonGlyph;

// An image list of fixed image size whose freed slots are reused before it
// grows. The images are kept side by side in one strip.
class TGlyphList {
 public:
  TGlyphList(int Width, int Height);

  // The lowest slot not holding a live image; when there is none a blank
  // image is appended and its slot taken. The slot is marked used.
  int TakeFreeSlot();
  // Puts Image (cut or padded to the list's size) into a free slot, its
  // pixels of MaskColour left out (an invalid colour: the colour of the
  // image's bottom-left pixel), and counts it live. Returns the slot.
  int AddImage(const QImage &Image, const QColor &MaskColour);
  // Puts Image into Slot, which stays as it is in the count.
  void ReplaceImage(int Slot, const QImage &Image, const QColor &MaskColour);
  // Frees a live slot for reuse; the image stays until the slot is taken again.
  void ReleaseSlot(int Slot);
  int LiveCount() const { return FCount; }

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Slots in the list, live or free.
  int ImageCount() const { return int(FUsed.size()); }
  // The image in Slot as stored (masked pixels fully transparent).
  QImage Image(int Slot) const;
  // Draws Slot's image at (X, Y); images made for a device pixel Ratio other
  // than 1 take 1/Ratio of their pixel size.
  void Draw(QPainter &Canvas, int X, int Y, int Slot, qreal Ratio = 1.0) const;

 private:
  int FWidth;
  int FHeight;
  QImage FImages;  // ARGB32_Premultiplied, ImageCount() images wide
  std::vector<bool> FUsed;
  int FCount = 0;
};

// The glyph lists of the process, at most one per image size in practice.
class TGlyphCache {
 public:
  // The cache of the process; nullptr while there is none.
  static TGlyphCache *Current();
  // Creates the cache of the process if there is none.
  static TGlyphCache &Ensure();
  // Destroys the cache of the process if it holds no lists.
  static void DestroyIfEmpty();

  // The list of that image size (the latest made first), made if missing.
  TGlyphList *ListForSize(int Width, int Height);
  // Destroys List if it holds no live image; a null List is ignored.
  void ReleaseList(TGlyphList *List);
  bool IsEmpty() const { return FLists.empty(); }
  int Count() const { return int(FLists.size()); }

 private:
  std::vector<std::unique_ptr<TGlyphList>> FLists;
};

class TFancyButton : public QWidget, public TJComponent {
  Q_OBJECT
  Q_PROPERTY(TFancyButtonState State READ GetState WRITE SetState)
  Q_PROPERTY(TFancyModalResult ModalResult MEMBER ModalResult)
  Q_PROPERTY(QPixmap Glyph READ GetGlyph WRITE SetGlyph)
  Q_PROPERTY(int NumGlyphs READ GetNumGlyphs WRITE SetNumGlyphs)
  Q_PROPERTY(bool Down READ GetDown WRITE SetDown)
  Q_PROPERTY(int GroupIndex READ GetGroupIndex WRITE SetGroupIndex)
  Q_PROPERTY(bool AllowAllUp READ GetAllowAllUp WRITE SetAllowAllUp)
  Q_PROPERTY(QString Caption READ GetCaption WRITE SetCaption)

 public:
  enum TFancyButtonState : std::uint8_t { fbsUp, fbsDisabled, fbsDown, fbsMouseOut, fbsExclusive };
  Q_ENUM(TFancyButtonState)
  // Modal results with the toolkit's numbering: 0 none, 1 OK, 2 Cancel, ...
  enum TFancyModalResult : std::uint8_t {
    fmrNone,
    fmrOk,
    fmrCancel,
    fmrAbort,
    fmrRetry,
    fmrIgnore,
    fmrYes,
    fmrNo,
    fmrAll
  };
  Q_ENUM(TFancyModalResult)

  explicit TFancyButton(QWidget *Owner = nullptr);
  ~TFancyButton() override;

  // Enabled: fbsMouseOut, disabled: fbsDisabled, with its image made.
  void Loaded() override;

  TFancyButtonState GetState() const { return FState; }
  // A new state is shown at once; fbsDisabled also disables the button.
  void SetState(TFancyButtonState Value);

  QPixmap GetGlyph() const;
  // Copies the strip, may set NumGlyphs from its shape, and sizes the
  // button to one image.
  void SetGlyph(const QPixmap &Value);
  int GetNumGlyphs() const;
  void SetNumGlyphs(int Value);

  bool GetDown() const { return FDown; }
  // Only a grouped button goes down; going down brings the group's other
  // down button up. A down button comes up only when AllowAllUp is set.
  void SetDown(bool Value);
  int GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool GetAllowAllUp() const { return FAllowAllUp; }
  // Announced to the group: every member takes the setting.
  void SetAllowAllUp(bool Value);

  TFancyModalResult ModalResult = fmrNone;

  // Not drawn; only its accelerator character is used.
  QString GetCaption() const { return FCaption; }
  void SetCaption(const QString &Value);

  QColor GetTransparentColor() const;
  // Fixes the strip's transparent colour; an invalid colour unfixes it.
  void SetTransparentColor(const QColor &Value);

  TButtonGlyph &GetButtonGlyph() const { return *FGlyph; }

  // Fires OnClick.
  void Click();

  QSize sizeHint() const override;

 signals:
  void OnClick(TFancyButton *Sender);
  void OnDblClick(TFancyButton *Sender);
  void OnMouseDown(TFancyButton *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
  void OnMouseMove(TFancyButton *Sender, Qt::KeyboardModifiers Shift, int X, int Y);
  void OnMouseUp(TFancyButton *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);

 protected:
  void paintEvent(QPaintEvent *Event) override;
  void mousePressEvent(QMouseEvent *Event) override;
  void mouseMoveEvent(QMouseEvent *Event) override;
  void mouseReleaseEvent(QMouseEvent *Event) override;
  void mouseDoubleClickEvent(QMouseEvent *Event) override;
  void keyPressEvent(QKeyEvent *Event) override;
  void enterEvent(QEnterEvent *Event) override;
  void leaveEvent(QEvent *Event) override;
  void hideEvent(QHideEvent *Event) override;
  void changeEvent(QEvent *Event) override;

 private:
  void GlyphChanged();
  void SizeToImage();
  void UpdateExclusive();
  void ButtonPressed(int Group, TFancyButton *Sender);
  void UpdateTracking(bool Inside);
  void UpdateTrackingAtCursor();
  bool PointerOver(QPointF Pos) const;
  void MouseEnter();
  void MouseLeave();
  TFancyButtonState RaisedState() const { return FMouseInControl ? fbsUp : fbsMouseOut; }
  void CloseOwner();
  void Accelerator();

  std::unique_ptr<TButtonGlyph> FGlyph;
  TFancyButtonState FState = fbsMouseOut;
  bool FDown = false;
  int FGroupIndex = 0;
  bool FAllowAllUp = false;
  bool FMouseInControl = false;
  bool FDragging = false;
  bool FSwallowRelease = false;  // the release that ends a double click
  QString FCaption;
  QShortcut *FAccelerator = nullptr;
};

using TFancyButtonState = TFancyButton::TFancyButtonState;
using TFancyModalResult = TFancyButton::TFancyModalResult;

// The strip of a glyph button and the images made from it for each state,
// kept in the image lists the cache shares by image size. Made lazily, one
// state at a time, and thrown away when the strip, the image count or the
// transparent colour changes.
class TButtonGlyph {
 public:
  TButtonGlyph();
  ~TButtonGlyph();
  TButtonGlyph(const TButtonGlyph &) = delete;
  TButtonGlyph &operator=(const TButtonGlyph &) = delete;

  const QPixmap &GetStrip() const { return FStripPixmap; }
  // Copies Bitmap (a null pixmap clears the strip). A strip of height 1 or
  // more gives its transparent colour and, when its width is a multiple of
  // its height, its image count (more than 5 counts as 1).
  void AssignStrip(const QPixmap &Bitmap);
  int GetNumGlyphs() const { return FNumGlyphs; }
  // Counts below 1 and the current count change nothing.
  void SetImageCount(int Count);

  QColor GetTransparentColor() const { return QColor::fromRgba(FTransparentColor); }
  bool IsTransparentColorFixed() const { return FFixedTransparent; }
  void SetTransparentColor(const QColor &Colour);

  // The colours of the disabled looks (Button, Light, Dark of the Active group).
  void SetPalette(const QPalette &Colours);

  // The slot of the state's image in GetGlyphList(), made if needed (Force:
  // made again in its slot); -1 without a picture.
  int MakeStateImage(TFancyButtonState State, bool Force);
  // Draws the state's image at (0, 0), or (2, 2) for a single image pressed.
  void DrawState(QPainter &Canvas, TFancyButtonState State);
  // Releases every made image and the glyph list.
  void FreeImages();

  TGlyphList *GetGlyphList() const { return FGlyphList; }
  int ImageIndex(TFancyButtonState State) const { return FIndexes[State]; }
  // One image's size in the strip's pixels, and in logical pixels (divided
  // by the strip's device pixel ratio: 16 x 16 for a 32 x 32 image at 2).
  QSize ImageSize() const;
  QSize LogicalImageSize() const;

  // Fired when the made images were thrown away because the strip changed.
  std::function<void(TButtonGlyph *Sender)> OnChange;

 private:
  void StripChanged();
  QImage DisabledImage(const QSize &Size) const;

  QPixmap FStripPixmap;
  QImage FStrip;  // ARGB32 copy of the pixels
  bool FMonochrome = false;
  TGlyphList *FGlyphList = nullptr;
  int FIndexes[5] = {-1, -1, -1, -1, -1};
  QRgb FTransparentColor = qRgb(0, 128, 128);
  bool FFixedTransparent = false;
  int FNumGlyphs = 1;
  qreal FRatio = 1.0;
  QRgb FFace = qRgb(240, 240, 240);
  QRgb FHighlight = qRgb(255, 255, 255);
  QRgb FShadow = qRgb(160, 160, 160);
};

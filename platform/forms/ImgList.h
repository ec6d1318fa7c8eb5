// Image lists of the class library: the components over the window layer's
// image lists (platform/win/ImageLists.h), change links for the controls
// that show them, and the drag image that follows the mouse during a drag.
#pragma once

#include <memory>
#include <vector>

#include "platform/forms/Graphics.h"
#include "platform/win/ImageLists.h"
#include "platform/win/UxTheme.h"

VXN_ENUM(TDrawingStyle, dsFocus, dsSelected, dsNormal, dsTransparent)
VXN_ENUM(TImageType, itImage, itMask)
// An overlay number of the class library: 0-14 (overlays 1-15 of the list).
using TOverlay = Integer;

class TCustomImageList;

// A listener of an image list: OnChange runs after the images changed.
class TChangeLink : public TObject {
  VXN_DECLARE_CLASS(TChangeLink)

 public:
  TChangeLink() = default;
  ~TChangeLink() override;
  TCustomImageList* Sender() const { return Sender_; }
  void SetSender(TCustomImageList* Value) { Sender_ = Value; }
  TNotifyEvent OnChange;
  void Change();

 private:
  TCustomImageList* Sender_ = nullptr;
};

class TCustomImageList : public TComponent {
  VXN_DECLARE_CLASS(TCustomImageList)

 public:
  explicit TCustomImageList(TComponent* AOwner);
  TCustomImageList(Integer AWidth, Integer AHeight);
  ~TCustomImageList() override;

  // Changing the size empties the list.
  Integer Width() const { return Width_; }
  void SetWidth(Integer Value);
  Integer Height() const { return Height_; }
  void SetHeight(Integer Value);
  bool Masked() const { return Masked_; }
  void SetMasked(bool Value);
  TColor BkColor() const { return BkColor_; }
  void SetBkColor(TColor Value);
  TColor BlendColor() const { return BlendColor_; }
  void SetBlendColor(TColor Value) { BlendColor_ = Value; }
  TDrawingStyle DrawingStyle() const { return DrawingStyle_; }
  void SetDrawingStyle(TDrawingStyle Value);
  TImageType ImageType() const { return ImageType_; }
  void SetImageType(TImageType Value);
  Integer AllocBy = 4;
  TNotifyEvent OnChange;

  Integer Count() const;
  win::HIMAGELIST Handle();
  bool HandleAllocated() const { return Handle_ != nullptr; }

  // The strip is cut into Width-wide images; gives the first new index.
  Integer Add(TBitmap* Image, TBitmap* Mask);
  Integer AddMasked(TBitmap* Image, TColor MaskColor);
  void Replace(Integer Index, TBitmap* Image, TBitmap* Mask);
  void Delete(Integer Index);
  void Clear();
  // Loads a bitmap strip; pixels of MaskColor become transparent.
  bool GetResource(TBitmap* Strip, Integer AWidth, TColor MaskColor);

  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled = true);
  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, TDrawingStyle ADrawingStyle,
            TImageType AImageType, bool Enabled = true);
  // The image with the overlay image of Overlay drawn over it.
  void DrawOverlay(TCanvas* Canvas, Integer X, Integer Y, Integer ImageIndex, TOverlay Overlay, bool Enabled = true);
  void DrawOverlay(TCanvas* Canvas, Integer X, Integer Y, Integer ImageIndex, TOverlay Overlay,
                   TDrawingStyle ADrawingStyle, TImageType AImageType, bool Enabled = true);
  // Makes ImageIndex the image of overlay Overlay; false for a bad index or overlay.
  bool Overlay(Integer ImageIndex, TOverlay Overlay);
  // The image as an icon; false for a bad index.
  bool GetIcon(Integer Index, TIcon* Image);
  // Adds an icon (scaled to the list's size); gives its index, -1 for an empty icon.
  Integer AddIcon(TIcon* Image);
  // Copies the image onto the bitmap (sized to the list; the masked part in
  // the background colour, or white without one). False for a bad index.
  bool GetBitmap(Integer Index, TBitmap* Image);

  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);
  void BeginUpdate() { ++Updating_; }
  void EndUpdate();

  void Assign(TPersistent* Source) override;

 protected:
  void DefineProperties(TFiler* Filer) override;
  virtual void Change();
  virtual void DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, win::UINT Style, bool Enabled);

 private:
  void ReadData(TStream& Stream);
  void WriteData(TStream& Stream);
  void CreateImageList();

  Integer Width_ = 16;
  Integer Height_ = 16;
  bool Masked_ = true;
  TColor BkColor_ = clNone;
  TColor BlendColor_ = clNone;
  TDrawingStyle DrawingStyle_ = dsNormal;
  TImageType ImageType_ = itImage;
  win::HIMAGELIST Handle_ = nullptr;
  std::vector<TChangeLink*> Clients_;
  Integer Updating_ = 0;
  bool Changed_ = false;
};

// An image list whose images can follow the mouse as the drag image of a
// drag. Coordinates are those of the window rectangle of the window the
// drag is locked to (the desktop: screen coordinates).
class TDragImageList : public TCustomImageList {
  VXN_DECLARE_CLASS(TDragImageList)

 public:
  using TCustomImageList::TCustomImageList;
  // A list that goes away takes its drag image with it.
  ~TDragImageList() override;

  // Starts a drag with the image and hot spot of SetDragImage, shown over
  // Window at (X, Y); false without images or with a bad drag index.
  bool BeginDrag(win::HWND Window, Integer X, Integer Y);
  bool DragMove(Integer X, Integer Y);
  bool EndDrag();
  // Shows the image over another window (after leaving the one before).
  bool DragLock(win::HWND Window, Integer XPos, Integer YPos);
  void DragUnlock();
  void ShowDragImage();
  void HideDragImage();
  // The image a drag shows and its hot spot; during a drag the image
  // changes at once, where it stands.
  bool SetDragImage(Integer Index, Integer HotSpotX, Integer HotSpotY);
  TPoint GetHotSpot() const { return DragHotspot_; }
  Integer DragIndex() const { return DragIndex_; }
  bool Dragging() const;
  // crDefault leaves the cursor to the drag object; any other cursor is
  // shown over the image while the drop would be taken.
  TCursor DragCursor() const { return DragCursor_; }
  void SetDragCursor(TCursor Value);
  win::HWND DragLockWindow() const { return DragLockWindow_; }
  bool DragImageShown() const { return Dragging() && Shown_; }

 private:
  TCursor DragCursor_ = crDefault;
  Integer DragIndex_ = 0;
  TPoint DragHotspot_;
  win::HWND DragLockWindow_ = nullptr;
  bool Shown_ = false;
};

class TImageList : public TDragImageList {
  VXN_DECLARE_CLASS(TImageList)

 public:
  using TDragImageList::TDragImageList;
};

// Points Field at Value for a component that follows an image list: the
// change link and the free notice of Notified move from the old list to the
// new one. Answers false when Field already was Value (nothing done).
bool RelinkImageList(TCustomImageList*& Field, TCustomImageList* Value, TChangeLink* Link, TComponent* Notified);

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterImgListClasses();

// Text and image drawing shared by the grid's cell painter and the pop-up
// lists: the cell text writer with its fast path and its bitmap path, the
// end-ellipsis shortening, vertical title text and images placed in cells.
// The bitmap path draws through one work bitmap shared by every grid; it is
// made with the first grid, only ever grows, and goes with the last grid.
#pragma once

#include "platform/db/DBTypes.h"
#include "platform/gui/Graphics.h"

#include <QRect>
#include <QString>

class TImageList;

// Where text stands along the height of its rectangle.
enum TTextLayoutEh { tlTopEh, tlCenterEh, tlBottomEh };

// Text cut at its end with "..." appended until it fits MaxWidth on the
// canvas; the first shortened form already drops two characters and nothing
// fitting leaves "..." alone. Characters are counted, and a surrogate pair is
// never split.
QString EllipsisTextEh(const QString& Text, const TCanvas* Canvas, int MaxWidth);

// Writes Text into R with the canvas's font and brush. Single-line text on a
// plain brush is drawn directly, opaque and clipped to R, at the top offset
// by DY; the left edge is R's left + DX (left alignment), R's right - width -
// 3 (right) or centred. Word-wrapped text, or text over a patterned brush, is
// laid out in the shared bitmap with the margins and offsets and copied.
void WriteCellText(TCanvas* Canvas, const QRect& R, bool RightToLeftReading, int RightMarg, int LeftMarg,
                   bool EndEllipsis, bool WordWrap, TTextLayoutEh Layout, TAlignment Alignment, const QString& Text,
                   int DY, int DX);

// Font turned to run upwards: orientation 900, the font's face ("Default"
// is the system face), size and style.
void CreateRotatedFont(const TFont& Font, TFont& Rotated);

// Text running upwards from the bottom of R. The alignment places it across
// the column (left, right or centred on its width), the layout along the
// height (top: at the top less DY; centre; bottom: at the bottom). Nothing is
// drawn when Skip is set.
void WriteRotatedText(TCanvas* Canvas, const QRect& R, TTextLayoutEh Layout, TAlignment Alignment,
                      const QString& Text, int DY, int DX, bool EndEllipsis, bool Skip = false);

// An image of Images (or Bitmap when Images is null) centred vertically in R
// and placed by the alignment (left: R's left + DX); clipped to R when larger.
void DrawImageInCell(TCanvas* Canvas, const QRect& R, TImageList* Images, int Index, const TBitmap* Bitmap,
                     TAlignment Alignment, int DX, bool Enabled);

// An image of Images centred in R, clipped when it does not fit; a selected
// item is blended with the highlight colour.
void DrawImageListCentered(TCanvas* Canvas, const QRect& R, TImageList* Images, int Index, bool Selected);

// The shared work bitmap's users: every grid holds one use for its lifetime.
void AcquireDrawBitmapEh();
void ReleaseDrawBitmapEh();
// The work bitmap's size now (it never shrinks while in use); (0, 0) when none.
QSize DrawBitmapSizeEh();

// The preview: prepared pages on screen, page by page. TfrPreviewForm is the
// window a report opens to show its prepared pages; it zooms, scrolls, pages,
// finds text, follows "@n" links to other pages, prints, saves and loads
// prepared report files, sets the page up and, when the report allows it,
// edits, adds and removes prepared pages. TfrPreview is a panel a window
// embeds instead; it borrows a hidden preview window's panels.
//
// While connected the window holds the report's prepared pages and the report
// an empty list; whatever lets the report work on its pages (printing,
// saving, editing, preparing again) gives them back first and takes them
// again afterwards. Page objects exist only for pages on screen.
#pragma once

#include "platform/gui/Forms.h"
#include "platform/gui/Printers.h"

#include <QMargins>
#include <QPointer>
#include <QRect>
#include <functional>
#include <memory>

class QLabel;
class TMenuItem;
class TOpenDialog;
class TPopupMenu;
class TSaveDialog;
class TScrollBar;
class TfrEMFPages;
class TfrPreviewForm;
class TfrReport;
class TfrSpeedButton;

enum TfrZoomMode : uint8_t { zmPercent = 0, zmPageWidth = 1, zmWholePage = 2, zmTwoPages = 3 };

// The page-setup dialog: paper and orientation in Mode, margins in hundredths
// of a millimetre; True when confirmed (both then hold the choice). Tests
// replace it; headless without a replacement it counts as cancelled.
using TfrPageSetupCall = std::function<bool(TDeviceMode& Mode, QMargins& Margins)>;
extern TfrPageSetupCall frPageSetupDialog;

// The drawing surface: grey, with the laid-out pages on it.
class TfrPBox : public TCustomControl
{
public:
    TfrPBox(TfrPreviewForm* AForm, QWidget* AParent);

    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    bool MouseWheel(TShiftState Shift, int WheelDelta, int X, int Y) override;
    // A new size lays the pages out again.
    void Resize() override;

    // The page (0-based) under a point of the box, or -1.
    int PageAt(int X, int Y) const;

    bool Dragging = false;
    bool SkipMouseDown = false;
    int DragX = 0;
    int DragY = 0;
    int ClickedPage = 0;            // 1-based; 0 none
    TfrPreviewForm* Form;

private:
    // A point of the box in the page's own pixels.
    QPoint PagePoint(int Index, int X, int Y) const;
};

class TfrPreviewForm : public TForm
{
public:
    explicit TfrPreviewForm(QWidget* AOwner = nullptr);
    ~TfrPreviewForm() override;

    // Takes the report's prepared pages and leaves it an empty list.
    void Connect(TfrReport* AReport);
    // Gives the pages back, dropping whatever the report holds now.
    void Disconnect();
    // Connects and shows the window: modal while the report's ModalPreview is set.
    void ShowReport(TfrReport* AReport);
    void SetupButtons();
    void InitView(bool Reset);
    // Lays the pages out for the box's size and the zoom mode.
    void FormResize();
    void ShowPageNum();
    // Scrolls CurPage to the top of the box.
    void SetToCurPage();
    bool EditingAllowed() const;
    int PageCount() const;

    // Commands, as the buttons, keys and menu reach them.
    void FormKeyDown(int& Key, TShiftState Shift);
    void ZoomBtnClick();
    void ZoomMenuClick(int Tag);
    void PgUpClick();
    void PgDownClick();
    void LoadBtnClick();
    void SaveBtnClick();
    void PrintBtnClick();
    void PageSetupBtnClick();
    void FindBtnClick();
    void FindNext();
    void HelpBtnClick();
    void ExitBtnClick();
    void EditPageClick();
    void AddPageClick();
    void DelPageClick();
    // A followed link: "@" and a page number jump to that page.
    void FollowLink(const QString& Url);
    // Wheel notches (positive up) and drags move the bars.
    void ScrollLines(int Notches);

    // Components.
    TCustomControl* ToolPanel;
    TfrSpeedButton* ZoomBtn;
    TCustomControl* Sep1;
    TfrSpeedButton* LoadBtn;
    TfrSpeedButton* SaveBtn;
    TfrSpeedButton* PrintBtn;
    TfrSpeedButton* PageSetupBtn;
    TCustomControl* Sep2;
    TfrSpeedButton* FindBtn;
    TfrSpeedButton* HelpBtn;
    TCustomControl* Sep3;
    TfrSpeedButton* ExitBtn;
    TCustomControl* PreviewPanel;
    TCustomControl* ScrollBox1;
    TCustomControl* RPanel;
    TScrollBar* VScrollBar;
    TfrSpeedButton* PgUp;
    TfrSpeedButton* PgDown;
    TCustomControl* BPanel;
    QLabel* Label1;
    QLabel* Label2;
    TScrollBar* HScrollBar;
    TPopupMenu* ProcMenu;
    TMenuItem* EditSeparator;
    TMenuItem* EditPageItem;
    TMenuItem* AddPageItem;
    TMenuItem* DelPageItem;
    TOpenDialog* OpenDialog;
    TSaveDialog* SaveDialog;

    // State.
    TfrPBox* PaintBox;
    int CurPage = 1;
    int OfsX = 0;
    int OfsY = 0;
    int LastHPos = 0;
    int LastVPos = 0;
    double Scale = 1.0;
    uint8_t ZoomMode = zmPercent;
    bool PaintAllowed = true;
    QString FindText;
    bool CaseSensitive = false;
    bool Found = false;
    QRect FoundRect;
    int FindPage = 0;
    int FindRecord = 0;
    QString SavedHelpFile;
    std::function<void(QObject* Sender, int PageNo)> OnPageChanged;
    int WheelStep = 1;
    QPointer<TfrReport> Report;
    std::unique_ptr<TfrEMFPages> EMFPages;
    // The panel the window lends its panels to, or none.
    QWidget* Host = nullptr;
    TPopupMenu* HostMenu = nullptr;

protected:
    bool event(QEvent* Event) override;

private:
    void CreateProcMenu();
    void Localize();
    void ArrangeTools();
    void PopupProcMenu(QPoint Global, bool WithEditing);
    void HScrollBarChange();
    void VScrollBarChange();
    void CheckZoomItem();
    // Draws one page into a recorder: the index of the matching run, or -1.
    int SearchPage(int Index, QRect& Hit);
    void ShowFound(const QRect& Hit);
    void EndHelpMode();
    // The content rectangle of a page's record at its place on the box.
    QRect ContentRect(int Index, const QRect& PageOnBox) const;
    friend class TfrPBox;

    std::vector<TMenuItem*> FZoomItems;
    QObject* FHelpFilter = nullptr;
    QMetaObject::Connection FReportGone;
};

// A panel that shows a report's prepared pages inside a window of the program.
class TfrPreview : public QWidget
{
public:
    explicit TfrPreview(QWidget* AParent = nullptr);
    ~TfrPreview() override;

    void Connect(TfrReport* Report);
    void Disconnect();

    // Bottom bar for ssHorizontal and ssBoth, right bar for ssVertical and ssBoth.
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool ShowToolbar() const { return FShowToolbar; }
    void SetShowToolbar(bool Value);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value) { FPopupMenu = Value; }
    int Page() const;
    TfrPreviewForm* Window() const { return FWindow; }

    std::function<void(QObject* Sender, int PageNo)> OnPageChanged;

protected:
    void resizeEvent(QResizeEvent* Event) override;

private:
    void Realign();

    TfrPreviewForm* FWindow;
    TScrollStyle FScrollBars = ssBoth;
    bool FShowToolbar = false;
    TPopupMenu* FPopupMenu = nullptr;
};

#include "report/designer/FR_Combo.h"

#include "platform/gui/Graphics.h"
#include "platform/rtl/IniFiles.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScreen>

namespace {

// Items are drawn by the combo's DrawItem on a canvas over the item's cell.
class TfrComboDelegate : public QAbstractItemDelegate
{
public:
    explicit TfrComboDelegate(TfrCustomComboBox* ACombo)
        : QAbstractItemDelegate(ACombo), FCombo(ACombo)
    {
    }
    void paint(QPainter* P, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override
    {
        QImage Cell(Option.rect.size(), QImage::Format_RGB32);
        {
            TCanvas C(&Cell);
            C.Font()->SetName(FCombo->font().family());
            C.Font()->SetHeight(-FCombo->fontMetrics().ascent());
            FCombo->DrawItem(&C, Index.row(), QRect(QPoint(0, 0), Option.rect.size()),
                             Option.state & QStyle::State_Selected);
        }
        P->drawImage(Option.rect.topLeft(), Cell);
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(FCombo->width(), FCombo->ItemHeight());
    }

private:
    TfrCustomComboBox* FCombo;
};

void ArrowLines(TCanvas* C, int CX, int CY)
{
    C->Pen()->SetColor(clBlack);
    for (int i = 0; i < 3; ++i) {
        C->MoveTo(CX - 2 + i, CY - 1 + i);
        C->LineTo(CX + 3 - i, CY - 1 + i);
    }
}

} // namespace

// ---------------------------------------------------------------- flat combo

TfrCustomComboBox::TfrCustomComboBox(QWidget* AParent)
    : QComboBox(AParent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setFrame(false);
    setItemDelegate(new TfrComboDelegate(this));
    lineEdit()->installEventFilter(this);
    // A text put in from outside shows its start, as a name longer than the
    // box must (setting a text moves the cursor to its end, even the same
    // text); typing keeps its cursor.
    QObject::connect(lineEdit(), &QLineEdit::cursorPositionChanged, this, [this](int, int At) {
        if (At != 0 && (FReadOnly || !lineEdit()->hasFocus()))
            lineEdit()->setCursorPosition(0);
    });
    resize(100, 21);
    PlaceEdit();
}

TfrCustomComboBox::~TfrCustomComboBox() = default;

void TfrCustomComboBox::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    lineEdit()->setReadOnly(Value);
}

int TfrCustomComboBox::ItemHeight() const
{
    return fontMetrics().height();
}

bool TfrCustomComboBox::Hot() const
{
    return FDroppedDown || lineEdit()->hasFocus() || FMouseInside;
}

void TfrCustomComboBox::SetImageIndent(int Value)
{
    FImageIndent = Value;
    PlaceEdit();
}

void TfrCustomComboBox::PlaceEdit()
{
    lineEdit()->setGeometry(FImageIndent + 3, 3, std::max(0, width() - ButtonWidth - 7 - FImageIndent),
                            std::max(0, height() - 6));
}

void TfrCustomComboBox::showPopup()
{
    QComboBox::showPopup();
    FDroppedDown = true;
    FDroppedUp = false;
    QWidget* Container = view()->parentWidget();
    const int Rows = std::min(count(), maxVisibleItems());
    const int H = Rows > 0 ? ItemHeight() * Rows + 4 : ItemHeight() + 4;
    QPoint At = mapToGlobal(QPoint(0, height()));
    const QScreen* S = screen();
    if (S && At.y() + H > S->geometry().bottom()) {
        At.setY(mapToGlobal(QPoint(0, 0)).y() - H - 2);
        FDroppedUp = true;
    }
    if (auto* Frame = qobject_cast<QFrame*>(Container))
        Frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Container->setGeometry(At.x(), At.y(), width() - 1, H);
    update();
}

void TfrCustomComboBox::hidePopup()
{
    QComboBox::hidePopup();
    FDroppedDown = false;
    update();
}

void TfrCustomComboBox::DrawItem(TCanvas* C, int Index, const QRect& R, bool Selected)
{
    C->Brush()->SetColor(Selected ? clHighlight : clWindow);
    C->FillRect(R);
    C->Font()->SetColor(Selected ? clHighlightText : clWindowText);
    C->Brush()->SetStyle(bsClear);
    QRect T = R.adjusted(2, 0, 0, 0);
    C->DrawText(itemText(Index), T, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    C->Brush()->SetStyle(bsSolid);
}

void TfrCustomComboBox::DrawIndent(TCanvas* C, const QRect& R)
{
    C->Brush()->SetColor(clWindow);
    C->FillRect(R);
}

void TfrCustomComboBox::DrawFrame(TCanvas* C) const
{
    const int W = width(), H = height();
    C->Brush()->SetColor(clBtnFace);
    C->FrameRect(Rect(1, 1, W - 1, H - 1));
    C->Brush()->SetColor(clWindow);
    C->FrameRect(Rect(2, 2, W - ButtonWidth - 2, H - 2));
    QRect Outer(0, 0, W, H);
    if (Hot()) {
        C->DrawEdge(Outer, BDR_SUNKENOUTER, BF_RECT);
    } else {
        C->Brush()->SetColor(clBtnFace);
        C->FrameRect(Outer);
    }
}

void TfrCustomComboBox::DrawButton(TCanvas* C) const
{
    const int W = width(), H = height();
    QRect R = Rect(W - ButtonWidth - 2, 2, W - 2, H - 2);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(R);
    int Shift = 0;
    if (FDroppedDown) {
        C->DrawEdge(R, BDR_SUNKENOUTER, BF_RECT);
        Shift = 1;
    } else if (Hot()) {
        C->DrawEdge(R, BDR_RAISEDINNER, BF_RECT);
        C->Pen()->SetColor(clBtnFace);
        C->MoveTo(W - ButtonWidth - 3, 2);
        C->LineTo(W - ButtonWidth - 3, H - 2);
    } else {
        C->Brush()->SetColor(clWindow);
        C->FrameRect(R);
        C->Pen()->SetColor(clWindow);
        C->MoveTo(W - ButtonWidth - 3, 2);
        C->LineTo(W - ButtonWidth - 3, H - 2);
    }
    ArrowLines(C, W - ButtonWidth / 2 - 3 + Shift, H / 2 + Shift);
}

void TfrCustomComboBox::paintEvent(QPaintEvent*)
{
    QImage Image(size(), QImage::Format_RGB32);
    {
        TCanvas C(&Image);
        C.Brush()->SetColor(clWindow);
        C.FillRect(rect());
        if (!isEnabled()) {
            C.Brush()->SetColor(clBtnFace);
            C.FillRect(rect());
            C.Brush()->SetColor(clWindow);
            C.FrameRect(rect().adjusted(2, 2, -2, -2));
            ArrowLines(&C, width() - ButtonWidth / 2 - 3, height() / 2);
        } else {
            DrawFrame(&C);
            DrawButton(&C);
            if (FImageIndent > 0)
                DrawIndent(&C, QRect(3, 3, FImageIndent, std::max(0, height() - 6)));
        }
    }
    QPainter(this).drawImage(0, 0, Image);
}

void TfrCustomComboBox::resizeEvent(QResizeEvent* Event)
{
    QComboBox::resizeEvent(Event);
    PlaceEdit();
}

void TfrCustomComboBox::enterEvent(QEnterEvent* Event)
{
    QComboBox::enterEvent(Event);
    FMouseInside = true;
    update();
}

void TfrCustomComboBox::leaveEvent(QEvent* Event)
{
    QComboBox::leaveEvent(Event);
    FMouseInside = false;
    update();
}

void TfrCustomComboBox::changeEvent(QEvent* Event)
{
    QComboBox::changeEvent(Event);
    if (Event->type() == QEvent::EnabledChange || Event->type() == QEvent::FontChange ||
        Event->type() == QEvent::StyleChange) {
        PlaceEdit();
        update();
    }
}

bool TfrCustomComboBox::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == lineEdit() && (Event->type() == QEvent::FocusIn || Event->type() == QEvent::FocusOut))
        update();
    return QComboBox::eventFilter(Watched, Event);
}

// ---------------------------------------------------------------- font preview

TfrFontPreview::TfrFontPreview(QWidget* AOwner)
    : QWidget(AOwner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("frFontPreview"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(200, 50);
    FPanel = new QLabel(this);
    FPanel->setObjectName(QStringLiteral("Panel1"));
    FPanel->setGeometry(0, 0, 200, 50);
    FPanel->setAlignment(Qt::AlignCenter);
    FPanel->setFrameStyle(QFrame::Box | QFrame::Plain);
    FPanel->setAutoFillBackground(true);
    QPalette Pal = FPanel->palette();
    Pal.setColor(QPalette::Window, ColorToQColor(clWindow));
    Pal.setColor(QPalette::WindowText, ColorToQColor(clWindowText));
    FPanel->setPalette(Pal);
    hide();
}

QString TfrFontPreview::Caption() const
{
    return FPanel->text();
}

void TfrFontPreview::SetFontName(const QString& Name)
{
    QFont F(Name);
    F.setPointSize(18);
    FPanel->setFont(F);
    FPanel->setText(Name);
}

// ---------------------------------------------------------------- font combo

namespace {

const QString DefaultMRUKey = QStringLiteral("\\Software\\Pagewright\\MRUFont");

// Our TrueType mark: two overlapping T letters, grey behind black.
std::unique_ptr<TBitmap> TrueTypeMark()
{
    QImage I(12, 11, QImage::Format_RGB32);
    I.fill(ColorToQColor(clWhite));
    QPainter P(&I);
    auto T = [&P](int X, int Y, QColor C) {
        P.fillRect(X, Y, 7, 2, C);
        P.fillRect(X + 2, Y, 3, 8, C);
    };
    T(0, 0, QColor(128, 128, 128));
    T(4, 3, Qt::black);
    P.end();
    auto B = std::make_unique<TBitmap>();
    B->LoadFromImage(I);
    B->SetTransparentColor(clWhite);
    B->SetTransparent(true);
    return B;
}

// The key's folder and its last part as the section.
void SplitKey(const QString& Key, QString& Path, QString& Section)
{
    const qsizetype Cut = Key.lastIndexOf(u'\\');
    Path = Key.left(Cut);
    Section = Key.mid(Cut + 1);
}

} // namespace

TfrFontComboBox::TfrFontComboBox(QWidget* AParent)
    : TfrCustomComboBox(AParent), FMRURegKey(DefaultMRUKey), FTrueTypeMark(TrueTypeMark())
{
    resize(150, height());
    setMaxVisibleItems(12);
    SetReadOnly(true);
    SetImageIndent(16);
    FPreview = new TfrFontPreview(this);
    QObject::connect(this, &QComboBox::activated, this, [this](int Index) { Choose(Index); });
    QObject::connect(this, &QComboBox::highlighted, this, [this](int Index) { Highlighted(Index); });
    QObject::connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, this, [this] { Refill(); });
    Refill();
}

TfrFontComboBox::~TfrFontComboBox() = default;

void TfrFontComboBox::SetMRURegKey(const QString& Value)
{
    FMRURegKey = Value.isEmpty() ? DefaultMRUKey : Value;
}

int TfrFontComboBox::FontType(int Index) const
{
    return itemData(Index).toInt();
}

QStringList frPlainFontFamilies(const QStringList& Families)
{
    QStringList Plain;
    Plain.reserve(Families.size());
    for (const QString& F : Families)
        Plain << PlainFontFamily(F);
    Plain.sort(Qt::CaseInsensitive);
    Plain.removeDuplicates();
    return Plain;
}

void TfrFontComboBox::Refill()
{
    const QString Current = currentText();
    PopulateList();
    const QSignalBlocker Block(this);
    const int At = findText(Current, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (At < 0 || Current.isEmpty())
        setCurrentIndex(count() > 0 ? 0 : -1);
    else
        setCurrentIndex(At);
}

void TfrFontComboBox::PopulateList()
{
    const QScopedValueRollback Filling(FFilling, true);
    const QSignalBlocker Block(this);
    const QStringList Families = frPlainFontFamilies(QFontDatabase::families());
    clear();
    for (const QString& F : Families)
        addItem(F, QFontDatabase::isSmoothlyScalable(F) ? 4 : 0);
    FLastMRU = -1;
    if (!FShowMRU)
        return;
    QString Path, Section;
    SplitKey(FMRURegKey, Path, Section);
    TRegIniFile Reg(Path);
    for (int n = 4; n >= 0; --n) {
        const QString Name = Reg.ReadString(Section, QStringLiteral("Font%1").arg(n), QString());
        if (!Name.isEmpty() && findText(Name, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0) {
            insertItem(0, Name, Reg.ReadInteger(Section, QStringLiteral("FontType%1").arg(n), 0));
            ++FLastMRU;
        } else {
            Reg.WriteString(Section, QStringLiteral("Font%1").arg(n), QString());
            Reg.WriteInteger(Section, QStringLiteral("FontType%1").arg(n), 0);
        }
    }
}

void TfrFontComboBox::WriteMRU()
{
    QString Path, Section;
    SplitKey(FMRURegKey, Path, Section);
    TRegIniFile Reg(Path);
    for (int n = 0; n < 5; ++n) {
        const bool In = n <= FLastMRU;
        Reg.WriteString(Section, QStringLiteral("Font%1").arg(n), In ? itemText(n) : QString());
        Reg.WriteInteger(Section, QStringLiteral("FontType%1").arg(n), In ? FontType(n) : 0);
    }
}

void TfrFontComboBox::Choose(int Index)
{
    FPreview->hide();
    if (FFilling || Index < 0)
        return;
    if (Index > 0 && FShowMRU) {
        const QScopedValueRollback Filling(FFilling, true);
        const QSignalBlocker Block(this);
        const QString Name = itemText(Index);
        const int Type = FontType(Index);
        const int First = findText(Name, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (First > FLastMRU) {
            insertItem(0, Name, Type);
            if (FLastMRU == 4)
                removeItem(5);
            else
                ++FLastMRU;
        } else {
            removeItem(First);
            insertItem(0, Name, Type);
        }
        setCurrentIndex(0);
        WriteMRU();
    }
    if (OnClick)
        OnClick(this);
}

void TfrFontComboBox::Highlighted(int Index)
{
    if (Index >= 0)
        FPreview->SetFontName(itemText(Index));
}

void TfrFontComboBox::showPopup()
{
    TfrCustomComboBox::showPopup();
    if (currentIndex() >= 0 && currentIndex() < 5)
        view()->setCurrentIndex(model()->index(0, 0));
    Highlighted(std::max(currentIndex(), 0));
    QPoint At = mapToGlobal(QPoint(width(), height()));
    const QScreen* S = screen();
    if (S && At.x() + FPreview->width() > S->geometry().right())
        At.setX(mapToGlobal(QPoint(0, 0)).x() - 1 - FPreview->width());
    if (DroppedUp())
        At.setY(mapToGlobal(QPoint(0, 0)).y() - FPreview->height());
    FPreview->move(At);
    FPreview->show();
}

void TfrFontComboBox::hidePopup()
{
    TfrCustomComboBox::hidePopup();
    FPreview->hide();
}

void TfrFontComboBox::DrawItem(TCanvas* C, int Index, const QRect& R, bool Selected)
{
    C->Brush()->SetColor(Selected ? clHighlight : clWindow);
    C->FillRect(R);
    int MarkWidth = 15;
    if (FontType(Index) & 4) {
        MarkWidth = FTrueTypeMark->Width();
        C->Draw(R.left() + 1, R.top() + (R.height() - FTrueTypeMark->Height()) / 2, FTrueTypeMark.get());
    }
    C->Font()->SetColor(Selected ? clHighlightText : clWindowText);
    C->Brush()->SetStyle(bsClear);
    QRect T = R.adjusted(MarkWidth + 2, 0, 0, 0);
    C->DrawText(itemText(Index), T, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    C->Brush()->SetStyle(bsSolid);
    // Lines between the most recently used fonts and the full list.
    C->Pen()->SetColor(clBtnShadow);
    if (FLastMRU >= 0 && Index == FLastMRU) {
        C->MoveTo(R.left(), R.bottom() - 1);
        C->LineTo(R.right() + 1, R.bottom() - 1);
    } else if (FLastMRU >= 0 && Index == FLastMRU + 1) {
        C->MoveTo(R.left(), R.top());
        C->LineTo(R.right() + 1, R.top());
    }
}

int TfrFontComboBox::ItemHeight() const
{
    return std::max(FTrueTypeMark->Height() + 1, fontMetrics().height());
}

void TfrFontComboBox::DrawIndent(TCanvas* C, const QRect& R)
{
    C->Brush()->SetColor(clWindow);
    C->FillRect(R);
    if (currentIndex() >= 0 && (FontType(currentIndex()) & 4))
        C->Draw(R.left() + 1, R.top() + (R.height() - FTrueTypeMark->Height()) / 2, FTrueTypeMark.get());
}

// ---------------------------------------------------------------- pop-up list

TfrPopupListBox::TfrPopupListBox(QWidget* AOwner)
    : TForm(AOwner)
{
    setObjectName(QStringLiteral("frPopupListBox"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    SetClientSize(115, 63);
    ListBox = new QListWidget(this);
    ListBox->setObjectName(QStringLiteral("ListBox1"));
    ListBox->setFrameShape(QFrame::Box);
    ListBox->setUniformItemSizes(true);
    ListBox->setTextElideMode(Qt::ElideNone);
    ListBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox->setGeometry(0, 0, 115, 63);
    hide();
}

int TfrPopupListBox::ItemHeight() const
{
    return std::max(11, ListBox->fontMetrics().height());
}

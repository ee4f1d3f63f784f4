#include "report/designer/FR_Insp.h"

#include "platform/gui/Application.h"
#include "platform/gui/ColorDialog.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/SystemMetrics.h"
#include "report/designer/FR_ColorSel.h"
#include "report/designer/FR_Combo.h"
#include "report/engine/FR_Ctrls.h"
#include "report/engine/FR_Globals.h"
#include "report/engine/FR_Locale.h"
#include "report/engine/FR_Page.h"
#include "report/engine/FR_Utils.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QStylePainter>

// ---------------------------------------------------------------- TProp

void frRaiseInvalidValue(const QString& Text)
{
    throw EConvertError(QStringLiteral("'%1' is not a valid value").arg(Text));
}

namespace {

bool EnumHolds(const QList<Variant>& Values, int64_t N, int& Position)
{
    for (int i = 0; i < Values.size(); ++i)
        if (Values[i].IsNumeric() && Values[i].AsInteger() == N) {
            Position = i;
            return true;
        }
    return false;
}

} // namespace

Variant TProp::Value() const
{
    if ((DataType & PropString) || ((DataType & PropEnum) && !EnumArray()))
        return Text;
    if (DataType & PropInteger)
        return StrToInt(Text);
    if (DataType & PropFloat) {
        QString S = Text;
        const QChar Sep = FormatSettings().DecimalSeparator;
        S.replace(u',', Sep).replace(u'.', Sep);
        return StrToFloat(S);
    }
    if (DataType & PropBoolean) {
        const QString U = Text.toUpper();
        if (U == u"TRUE")
            return true;
        if (U == u"FALSE")
            return false;
        return !Text.isEmpty() && Text != u"0";
    }
    if (DataType & PropColor) {
        if (frColorIndexOf(Text) >= 0)
            return static_cast<int64_t>(frColors[frColorIndexOf(Text)].Value);
        const int64_t N = StrToInt64(Text);
        if (N < 0 || N > 0xFFFFFFFFll)
            frRaiseInvalidValue(Text);
        return N;
    }
    if (DataType & PropEnum) {
        const int i = static_cast<int>(Enum.indexOf(Text));
        if (i >= 0 && i < EnumValues.size())
            return EnumValues[i];
        const int64_t N = StrToInt64(Text);
        int Position = 0;
        if (!EnumHolds(EnumValues, N, Position))
            frRaiseInvalidValue(Text);
        return N;
    }
    return Variant();
}

void TProp::SetValue(const Variant& AValue)
{
    const QString S = AValue.AsString();
    if (S.isEmpty()) {
        Text = S;
        return;
    }
    if (DataType & PropFloat) {
        Text = FloatToStrF(StrToFloat(S), TFloatFormat::ffFixed, 4, 2);
    } else if (DataType & PropBoolean) {
        const QString U = S.toUpper();
        const int64_t N = U == u"TRUE" ? 1 : U == u"FALSE" ? 0 : StrToInt64(S);
        Text = N != 0 ? QStringLiteral("True") : QStringLiteral("False");
    } else if (DataType & PropColor) {
        const int64_t N = StrToInt64(S);
        if (N < 0 || N > 0xFFFFFFFFll)
            frRaiseInvalidValue(S);
        Text = frColorText(static_cast<TColor>(N));
    } else if ((DataType & PropEnum) && EnumArray()) {
        int Position = -1;
        Text = EnumHolds(EnumValues, StrToInt64(S), Position) && Position < Enum.size() ? Enum[Position] : S;
    } else {
        Text = S;
    }
}

// ---------------------------------------------------------------- parts

// The row area: paints nothing itself, the paint box covers it.
class TInspPanel : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {}
};

// The object list: the plain name inside the list, name and class in the box;
// opening it asks the designer for the current page's objects first.
class TInspObjectCombo : public QComboBox
{
public:
    explicit TInspObjectCombo(TfrInspForm* AForm)
        : QComboBox(AForm), FForm(AForm)
    {
    }
    void showPopup() override
    {
        FForm->RefreshObjectList();
        QComboBox::showPopup();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter P(this);
        QStyleOptionComboBox Opt;
        initStyleOption(&Opt);
        QString ClassText;
        if (auto* V = dynamic_cast<TfrView*>(FForm->CurObject))
            ClassText = V->ClassName();
        else if (dynamic_cast<TfrPage*>(FForm->CurObject))
            ClassText = QStringLiteral("TfrPage");
        Opt.currentText = currentIndex() >= 0 ? currentText() + QStringLiteral(": ") + ClassText : QString();
        P.drawComplexControl(QStyle::CC_ComboBox, Opt);
        P.drawControl(QStyle::CE_ComboBoxLabel, Opt);
    }

private:
    TfrInspForm* FForm;
};

namespace {

// Qt's own signals and filters are no control events: failures are shown here.
template <class TAction>
void Guarded(TAction Action)
{
    try {
        Action();
    } catch (const std::exception& E) {
        Application()->HandleException(E);
    }
}

std::unique_ptr<TBitmap> ButtonGlyph(bool Dots)
{
    QImage I(8, 8, QImage::Format_RGB32);
    I.fill(ColorToQColor(clOlive));
    QPainter P(&I);
    P.setPen(Qt::black);
    if (Dots) {
        for (int x : {1, 4, 7})
            P.drawPoint(x - 1, 5);
    } else {
        for (int i = 0; i < 4; ++i)
            P.drawLine(i, 2 + i, 6 - i, 2 + i);
    }
    P.end();
    auto B = std::make_unique<TBitmap>();
    B->LoadFromImage(I);
    B->SetTransparentColor(clOlive);
    return B;
}

TfrSpeedButton* SmallButton(QWidget* Panel, const QString& Name, bool Dots)
{
    auto* B = new TfrSpeedButton(Panel);
    B->setObjectName(Name);
    B->SetGlyph(ButtonGlyph(Dots).get());
    B->SetMargin(1);
    B->SetGrayedInactive(false);
    B->setGeometry(0, 0, 14, 14);
    return B;
}

} // namespace

// ---------------------------------------------------------------- form

TfrInspForm::TfrInspForm(QWidget* AParentWindow)
    : TForm(AParentWindow)
{
    setObjectName(QStringLiteral("frInspForm"));
    setWindowFlags(Qt::Tool);
    SetCaption(LoadEngineString(53059));
    SetClientSize(184, 340);
    FCreatedHeight = height();

    FCB1 = new TInspObjectCombo(this);
    FCB1->setObjectName(QStringLiteral("CB1"));
    FCB1->setInsertPolicy(QComboBox::InsertAlphabetically);
    QObject::connect(FCB1, &QComboBox::activated, this, [this](int Index) {
        Guarded([&] {
            if (OnSelectionChanged)
                OnSelectionChanged(FCB1->itemText(Index));
        });
        Edit1->setFocus();
    });
    Box = new QScrollArea(this);
    Box->setObjectName(QStringLiteral("Box"));
    Box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Box->setFrameShape(QFrame::NoFrame);
    Box->setWidgetResizable(false);
    FPanel = new TInspPanel;
    Box->setWidget(FPanel);

    PaintBox1 = new TCustomControl(FPanel);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox1->OnPaint = [this](TCustomControl*) { PaintRows(); };
    PaintBox1->OnMouseDown = [this](QObject*, TMouseButton, TShiftState, int, int Y) { PaintBoxMouseDown(Y); };
    PaintBox1->OnMouseMove = [this](QObject*, TShiftState, int X, int) { PaintBoxMouseMove(X); };
    PaintBox1->OnMouseUp = [this](QObject*, TMouseButton, TShiftState, int, int) { FSplitDragging = false; };
    PaintBox1->setMouseTracking(true);
    Edit1 = new QLineEdit(FPanel);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFrame(false);
    Edit1->hide();
    Edit1->installEventFilter(this);
    EditPanel = new QWidget(FPanel);
    EditPanel->setObjectName(QStringLiteral("EditPanel"));
    EditBtn = SmallButton(EditPanel, QStringLiteral("EditBtn"), true);
    EditBtn->OnClick = [this](QObject*) { EditBtnClick(); };
    EditPanel->hide();
    ComboPanel = new QWidget(FPanel);
    ComboPanel->setObjectName(QStringLiteral("ComboPanel"));
    ComboBtn = SmallButton(ComboPanel, QStringLiteral("ComboBtn"), false);
    ComboBtn->OnClick = [this](QObject*) { ComboBtnClick(); };
    ComboPanel->hide();

    FPopup = new TfrPopupListBox(this);
    QObject::connect(FPopup->ListBox, &QListWidget::itemClicked, this,
                     [this](QListWidgetItem* Item) { Guarded([&] { PopupListClick(FPopup->ListBox->row(Item)); }); });

    FBitmap = std::make_unique<TBitmap>(1, 1);
    TCanvas* C = FBitmap->Canvas();
    C->Font()->SetName(QStringLiteral("MS Sans Serif"));
    C->Font()->SetSize(8);
    FRowHeight = C->TextHeight(QStringLiteral("Wg")) + 3;
    Box->verticalScrollBar()->setSingleStep(FRowHeight);

    // Localized property names: "Name=Localized" texts from 58001 on.
    for (int Id = 58001; Id <= 65535; ++Id) {
        const QString S = LoadEngineString(Id);
        if (S.isEmpty())
            break;
        const qsizetype Eq = S.indexOf(u'=');
        if (Eq > 0 && Eq < S.size() - 1)
            FLocalizedNames.insert(S.left(Eq), S.mid(Eq + 1));
    }
    OnResize = [this](QObject*) { FormResize(); };
    OnShow = [this](QObject*) {
        if (ClientHeight() < 20)
            FCB1->hide();
    };
    FormResize();
}

TfrInspForm::~TfrInspForm()
{
    ClearProperties();
}

QComboBox* TfrInspForm::CB1() const
{
    return FCB1;
}

void TfrInspForm::ClearProperties()
{
    FItems.clear();
}

void TfrInspForm::AddProperty(const QString& PropName, const Variant& PropValue, uint16_t PropType,
                              TfrPropEditor PropEditor, const QStringList& PropEnum,
                              const QList<Variant>& PropEnumValues)
{
    auto P = std::make_unique<TProp>();
    P->DataType = PropType;
    P->Editor = std::move(PropEditor);
    P->Enum = PropEnum;
    P->EnumValues = PropEnumValues;
    try {
        P->SetValue(PropValue);
    } catch (const EConvertError&) {
        // A stored value the kind cannot show is shown as it is.
        P->Text = PropValue.AsString();
    }
    FItems.emplace_back(PropName, std::move(P));
}

Variant TfrInspForm::GetItemValue(int Index) const
{
    if (Index < 0 || Index >= GetCount())
        return Variant();
    return FItems[Index].second->Value();
}

QString TfrInspForm::GetItemText(int Index) const
{
    if (Index < 0 || Index >= GetCount() || !FItems[Index].second)
        return QString();
    return FItems[Index].second->Text;
}

QString TfrInspForm::GetItemName(int Index) const
{
    return Index >= 0 && Index < GetCount() ? FItems[Index].first : QString();
}

TProp* TfrInspForm::CurItem() const
{
    if (FItemIndex < 0 || FItemIndex >= GetCount())
        return nullptr;
    return FItems[FItemIndex].second.get();
}

void TfrInspForm::SizeInnerPanel()
{
    // The viewport follows the scroll bar only later; work it out now.
    const int Bar = GetCount() * FRowHeight > Box->height() ? Box->verticalScrollBar()->sizeHint().width() : 0;
    const int W = std::max(0, Box->width() - Bar);
    FPanel->resize(W, GetCount() * FRowHeight);
    PaintBox1->setGeometry(0, 0, W, GetCount() * FRowHeight);
    FPaintWidth = PaintBox1->width();
    // A split beyond the paint box would leave no value column.
    FSplitPos = std::clamp(FSplitPos, 6, std::max(6, FPaintWidth - 20));
}

void TfrInspForm::ItemsChanged()
{
    FItemIndex = -1;
    {
        const QScopedValueRollback Busy(FBusy, true);
        SizeInnerPanel();
    }
    int Index = 0;
    for (int i = 0; i < GetCount(); ++i)
        if (FItems[i].first == LastProp)
            Index = i;
    SetItemIndex(Index);
    SyncObjectCombo();
}

void TfrInspForm::RefreshObjectList()
{
    const QString Selected = FCB1->currentText();
    QStringList Names;
    if (OnGetObjects)
        OnGetObjects(Names);
    Names.sort();
    const QSignalBlocker Block(FCB1);
    FCB1->clear();
    FCB1->addItems(Names);
    FCB1->setCurrentIndex(FCB1->findText(Selected));
}

void TfrInspForm::SyncObjectCombo()
{
    if (FHideProperties) {
        FCB1->setCurrentIndex(-1);
        return;
    }
    if (FCB1->currentIndex() >= 0 && FCB1->currentText() == ObjectName) {
        FCB1->update();
        return;
    }
    RefreshObjectList();
    const QSignalBlocker Block(FCB1);
    FCB1->setCurrentIndex(FCB1->findText(ObjectName));
    FCB1->update();
}

void TfrInspForm::SetItemIndex(int Value)
{
    if (FModifying)
        return;
    Value = std::min(Value, GetCount() - 1);
    const bool Rows = GetCount() > 0;
    Edit1->setVisible(Rows && !FHideProperties);
    if (!Rows) {
        FItemIndex = -1;
        EditPanel->hide();
        ComboPanel->hide();
        PaintBox1->Invalidate();
        return;
    }
    if (FItemIndex >= 0 && Edit1->isModified())
        CommitEdit(Edit1->text());
    FItemIndex = std::max(Value, 0);
    TProp* P = CurItem();
    const uint16_t Kind = P->DataType;
    EditPanel->setVisible(P->Editor && !FHideProperties);
    ComboPanel->setVisible((Kind & (PropBoolean | PropColor | PropEnum)) && !FHideProperties);
    FPopup->hide();
    Edit1->setReadOnly((Kind & PropHasEditor) && !(Kind & PropString));
    const int Top = FItemIndex * FRowHeight + 1;
    int EditWidth = FPaintWidth - FSplitPos - 2;
    int Right = FPaintWidth - 14;
    for (QWidget* Panel : {EditPanel, ComboPanel}) {
        if (Panel->isHidden())
            continue;
        Panel->setGeometry(Right, Top, 14, FRowHeight - 2);
        Panel->findChild<TfrSpeedButton*>()->setGeometry(0, 0, 14, FRowHeight - 2);
        Right -= 15;
        EditWidth -= 15;
    }
    Edit1->setGeometry(FSplitPos + 2, Top, std::max(EditWidth, 0), FRowHeight - 2);
    Edit1->setText(P->Text);
    Edit1->selectAll();
    Edit1->setModified(false);
    QScrollBar* Bar = Box->verticalScrollBar();
    const int ClientHeight = Box->viewport()->height();
    if (ClientHeight + Bar->value() < Top + FRowHeight)
        Bar->setValue(Top - ClientHeight + FRowHeight);
    if (Top < Bar->value())
        Bar->setValue(Top - 1);
    LastProp = FItems[FItemIndex].first;
    PaintBox1->Invalidate();
}

void TfrInspForm::CheckText(const QString& Name, const TProp* Prop, const QString& Text) const
{
    TProp Probe;
    Probe.Text = Text;
    Probe.DataType = Prop->DataType;
    Probe.Enum = Prop->Enum;
    Probe.EnumValues = Prop->EnumValues;
    const Variant V = Probe.Value();
    // Sizes of a view or page cannot be negative; the frame lines are a 16-bit field.
    static const QStringList Sizes = {QStringLiteral("Width"), QStringLiteral("Height"),
                                      QStringLiteral("FrameWidth")};
    if (Sizes.contains(Name, Qt::CaseInsensitive) && V.IsNumeric() && V.AsFloat() < 0)
        frRaiseInvalidValue(Text);
    if (Name.compare(QStringLiteral("FrameTyp"), Qt::CaseInsensitive) == 0 && V.IsNumeric() &&
        (V.AsInteger() < 0 || V.AsInteger() > 0xFFFF))
        frRaiseInvalidValue(Text);
}

void TfrInspForm::SetItemValue(const QString& Value)
{
    if (FHideProperties)
        return;
    TProp* P = CurItem();
    if (!P)
        return;
    const QString Name = FItems[FItemIndex].first;
    const QString Previous = P->Text;
    if (!(Name == u"Name" && Value.isEmpty())) {
        try {
            CheckText(Name, P, Value);
        } catch (const EConvertError& E) {
            frShowError(E.Message());
            Edit1->setText(P->Text);
            Edit1->selectAll();
            Edit1->setModified(false);
            return;
        }
        P->Text = Value;
    }
    int Index = FItemIndex;
    {
        const QScopedValueRollback Modifying(FModifying, true);
        try {
            if (OnModify)
                OnModify(Index);
        } catch (const EConvertError& E) {
            // Refused by the owner, which changed nothing: the row says so too.
            if (Index < GetCount() && FItems[Index].first == Name)
                FItems[Index].second->Text = Previous;
            frShowError(E.Message());
        }
        if (GetCount() <= Index)
            Index = 0;
    }
    FItemIndex = -1;
    SetItemIndex(Index);
}

void TfrInspForm::CommitEdit(const QString& Text)
{
    Edit1->setModified(false);
    SetItemValue(Text);
}

void TfrInspForm::SetSplitPos(int Value)
{
    FSplitPos = std::clamp(Value, 6, std::max(6, FPaintWidth - 20));
    SetItemIndex(FItemIndex);
    PaintBox1->Invalidate();
}

void TfrInspForm::SetHideProperties(bool Value)
{
    if (FHideProperties == Value)
        return;
    FHideProperties = Value;
    SetItemIndex(FItemIndex);
    PaintBox1->Invalidate();
}

void TfrInspForm::Grow()
{
    show();
    if (ClientHeight() >= 20)
        return;
    resize(width(), FCreatedHeight);
    FCB1->show();
    ItemsChanged();
    if (OnHeightChanged)
        OnHeightChanged(this);
}

void TfrInspForm::ToggleCollapsed()
{
    if (height() <= 30) {
        resize(width(), FCreatedHeight);
        FCB1->show();
        ItemsChanged();
        Edit1->setModified(false);
    } else {
        resize(width(), 0);
        FCB1->hide();
    }
    if (OnHeightChanged)
        OnHeightChanged(this);
}

void TfrInspForm::FormResize()
{
    FCB1->setGeometry(0, 0, ClientWidth(), FCB1->sizeHint().height());
    Box->setGeometry(0, FCB1->isHidden() ? 0 : FCB1->height(), ClientWidth(),
                     std::max(0, ClientHeight() - FCB1->height() - 7));
    SizeInnerPanel();
    SetItemIndex(FItemIndex);
}

// ---------------------------------------------------------------- painting

QString TfrInspForm::ShownName(const QString& Name) const
{
    if (LocaleInstance()->LocalizedPropNames)
        return FLocalizedNames.value(Name, Name);
    return Name;
}

void TfrInspForm::DrawRow(TCanvas* C, int Row, bool Current) const
{
    const int Y0 = Row * FRowHeight, W = FPaintWidth, S = FSplitPos, H = FRowHeight;
    auto Line = [C](TColor Color, int X1, int Y1, int X2, int Y2) {
        C->Pen()->SetColor(Color);
        C->MoveTo(X1, Y1);
        C->LineTo(X2, Y2);
    };
    if (Current) {
        Line(clBtnShadow, 0, Y0 - 2, W, Y0 - 2);
        Line(clBtnShadow, S - 1, Y0, S - 1, Y0 + H);
        Line(clBlack, 0, Y0 - 1, W, Y0 - 1);
        Line(clBlack, 0, Y0 - 1, 0, Y0 + H);
        Line(clBtnHighlight, 1, Y0 + H - 1, W, Y0 + H - 1);
        Line(clBtnHighlight, Edit1->x(), Y0, Edit1->x() + Edit1->width(), Y0);
        Line(clBtnHighlight, S, Y0, S, Y0 + H);
        Line(clBtnHighlight, S + 1, Y0, S + 1, Y0 + H);
    } else {
        Line(clBtnShadow, 0, Y0 + H - 1, W, Y0 + H - 1);
        Line(clBtnShadow, S - 1, Y0, S - 1, Y0 + H);
        Line(clBtnHighlight, S, Y0, S, Y0 + H);
    }
    C->Brush()->SetStyle(bsClear);
    C->Font()->SetColor(clBlack);
    C->TextRect(Rect(5, Y0 + 1, S - 2, Y0 + H - 1), 5, Y0 + 1, ShownName(FItems[Row].first));
    if (!Current) {
        C->Font()->SetColor(clNavy);
        C->TextOut(S + 2, Y0 + 1, FItems[Row].second->Text);
    }
    C->Brush()->SetStyle(bsSolid);
}

void TfrInspForm::PaintRows()
{
    if (FBusy)
        return;
    FBitmap->SetSize(std::max(1, PaintBox1->width()), std::max(1, PaintBox1->height()));
    TCanvas* C = FBitmap->Canvas();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(QRect(0, 0, PaintBox1->width(), PaintBox1->height()));
    if (!FHideProperties) {
        for (int i = 0; i < GetCount(); ++i)
            if (i != FItemIndex)
                DrawRow(C, i, false);
        if (FItemIndex >= 0)
            DrawRow(C, FItemIndex, true);
    }
    PaintBox1->Canvas()->Draw(0, 0, FBitmap.get());
}

// ---------------------------------------------------------------- mouse and keys

void TfrInspForm::PaintBoxMouseDown(int Y)
{
    if (FHideProperties)
        return;
    if (PaintBox1->Cursor() == crHSplit) {
        FSplitDragging = true;
        return;
    }
    if (GetCount() == 0)
        return;
    SetItemIndex(Y / FRowHeight);
    Edit1->setFocus();
    FLastRowClick = GetTickCount();
}

void TfrInspForm::PaintBoxMouseMove(int X)
{
    if (FHideProperties)
        return;
    if (FSplitDragging) {
        if (X > 5)
            SetSplitPos(X);
        return;
    }
    PaintBox1->SetCursor(std::abs(X - FSplitPos) <= 2 ? crHSplit : crDefault);
}

bool TfrInspForm::EditKey(int Key)
{
    TProp* P = CurItem();
    if (!P)
        return false;
    switch (Key) {
    case VK_RETURN:
        if (P->Editor)
            EditBtnClick();
        else if (Edit1->isModified())
            CommitEdit(Edit1->text());
        Edit1->selectAll();
        return true;
    case VK_ESCAPE:
        Edit1->undo();
        Edit1->setText(P->Text);
        Edit1->setModified(false);
        return true;
    case VK_UP:
        if (FItemIndex > 0)
            SetItemIndex(FItemIndex - 1);
        return true;
    case VK_DOWN:
        if (FItemIndex < GetCount() - 1)
            SetItemIndex(FItemIndex + 1);
        return true;
    default:
        return false;
    }
}

bool TfrInspForm::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == Edit1) {
        bool Handled = false;
        Guarded([&] {
            if (Event->type() == QEvent::KeyPress) {
                Handled = EditKey(VirtualKeyFromQt(static_cast<QKeyEvent*>(Event)));
            } else if (Event->type() == QEvent::MouseButtonDblClick) {
                Edit1DblClick();
                Handled = true;
            } else if (Event->type() == QEvent::MouseButtonPress && FLastRowClick != 0 &&
                       GetTickCount() - FLastRowClick <= static_cast<uint32_t>(DoubleClickTime())) {
                FLastRowClick = 0;
                Edit1DblClick();
                Handled = true;
            }
        });
        if (Handled)
            return true;
    }
    return TForm::eventFilter(Watched, Event);
}

void TfrInspForm::Edit1DblClick()
{
    TProp* P = CurItem();
    if (!P || FHideProperties)
        return;
    if (P->Editor) {
        EditBtnClick();
        return;
    }
    QString NewText;
    const uint16_t Kind = P->DataType;
    if (Kind & PropColor) {
        TColorDialog Dialog;
        TColor Start = clBlack;
        // An empty (mixed) colour starts from black.
        if (!P->Text.isEmpty())
            frTryTextToColor(P->Text, Start);
        Dialog.SetColor(Start);
        if (!Dialog.Execute())
            return;
        TProp Probe;
        Probe.DataType = Kind;
        Probe.SetValue(static_cast<int64_t>(Dialog.Color()));
        NewText = Probe.Text;
    } else if (Kind & PropBoolean) {
        NewText = P->Value().AsBoolean() ? QStringLiteral("False") : QStringLiteral("True");
    } else if ((Kind & PropEnum) && P->EnumArray()) {
        // The value after the current one; an empty or unknown value starts over.
        const int i = static_cast<int>(P->Enum.indexOf(P->Text));
        const int Next = i >= 0 && i + 1 < P->EnumValues.size() ? i + 1 : 0;
        NewText = Next < P->Enum.size() ? P->Enum[Next] : P->EnumValues[Next].AsString();
    } else if ((Kind & PropEnum) && !P->Enum.isEmpty()) {
        const int i = static_cast<int>(P->Enum.indexOf(P->Text));
        NewText = P->Enum[i >= 0 && i + 1 < P->Enum.size() ? i + 1 : 0];
    } else {
        return;
    }
    Edit1->setText(NewText);
    CommitEdit(NewText);
    Edit1->setModified(false);
    Edit1->selectAll();
}

void TfrInspForm::EditBtnClick()
{
    if (FHideProperties)
        return;
    TProp* P = CurItem();
    if (P && P->Editor) {
        // The editor goes through the designer, which refills the rows.
        const TfrPropEditor Editor = P->Editor;
        Editor();
    }
    Edit1->selectAll();
}

void TfrInspForm::ComboBtnClick()
{
    TProp* P = CurItem();
    if (!P)
        return;
    const QScopedValueRollback Busy(FBusy, true);
    if (FPopup->isVisible()) {
        FPopup->hide();
        Edit1->setFocus();
        return;
    }
    QListWidget* L = FPopup->ListBox;
    L->setSortingEnabled(false);
    L->clear();
    if (P->DataType & PropBoolean)
        L->addItems({QStringLiteral("False"), QStringLiteral("True")});
    else if (P->DataType & PropColor)
        for (const TfrColorName& C : frColors)
            L->addItem(QLatin1String(C.Name));
    else if (P->DataType & PropEnum)
        L->addItems(P->Enum);
    if (L->count() == 0)
        return;
    int Width = 0;
    for (int i = 0; i < L->count(); ++i) {
        if (L->item(i)->text() == P->Text)
            L->setCurrentRow(i);
        Width = std::max(Width, L->fontMetrics().horizontalAdvance(L->item(i)->text()));
    }
    Width += 8;
    const int Rows = std::min(L->count(), 8);
    if (L->count() > 8)
        Width += 16;
    const int Height = (FPopup->ItemHeight() + 1) * Rows + 2;
    int Left;
    if (FPaintWidth - FSplitPos > Width) {
        Left = FSplitPos + 1;
        Width = FPaintWidth - FSplitPos + 1;
    } else {
        Left = FPaintWidth - Width + 2;
    }
    const QPoint EditBottom = Edit1->mapToGlobal(QPoint(0, Edit1->height()));
    Left = std::max(0, Left + mapToGlobal(QPoint(0, 0)).x());
    FPopup->setGeometry(Left, EditBottom.y(), Width, Height);
    L->setGeometry(0, 0, Width, Height);
    FPopup->show();
}

void TfrInspForm::PopupListClick(int Row)
{
    QListWidget* L = FPopup->ListBox;
    if (Row < 0 || Row >= L->count())
        return;
    const QString Text = L->item(Row)->text();
    Edit1->setText(Text);
    FPopup->hide();
    Edit1->setFocus();
    CommitEdit(Text);
}

void TfrInspForm::Deactivated()
{
    if (FBusy)
        return;
    FPopup->hide();
    TProp* P = CurItem();
    if (P && !(P->DataType & (PropBoolean | PropColor | PropEnum | PropHasEditor)) && Edit1->isModified())
        CommitEdit(Edit1->text());
}

bool TfrInspForm::event(QEvent* Event)
{
    switch (Event->type()) {
    case QEvent::WindowActivate:
        if (Edit1->isVisible() && Edit1->isEnabled())
            Edit1->setFocus();
        break;
    case QEvent::WindowDeactivate:
        Guarded([this] { Deactivated(); });
        break;
    case QEvent::NonClientAreaMouseButtonDblClick:
        ToggleCollapsed();
        return true;
    default:
        break;
    }
    return TForm::event(Event);
}

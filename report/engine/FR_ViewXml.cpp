// Each view's element in the XML template: the element name and its
// attributes, recoded to what the newer template format expects (frame sides,
// alignment, restrictions, font style, band flags). The document around the
// elements is FR_XmlWriter.
#include "report/engine/FR_BandView.h"
#include "report/engine/FR_DBFields.h"
#include "report/engine/FR_LineView.h"
#include "report/engine/FR_MemoView.h"
#include "report/engine/FR_PictureView.h"
#include "report/engine/FR_SubReportView.h"
#include "report/engine/FR_XmlText.h"

#include "platform/db/DataSet.h"
#include "platform/rtl/SysUtils.h"

#include <array>

namespace {

const QString TrueText = QStringLiteral("True");
const QString FalseText = QStringLiteral("False");

// The template format counts frame sides left 1, right 2, top 4, bottom 8.
int XmlFrameTyp(uint16_t FrameTyp)
{
    return ((FrameTyp & frbLeft) ? 1 : 0) | ((FrameTyp & frbRight) ? 2 : 0) |
           ((FrameTyp & frbTop) ? 4 : 0) | ((FrameTyp & frbBottom) ? 8 : 0);
}

int XmlAlign(uint8_t BandAlign)
{
    if (BandAlign == baRest)
        return 4;
    if (BandAlign == baTop)
        return 0;
    return BandAlign;
}

// The four editing locks fold into one; size, move and delete keep their own.
int XmlRestrictions(uint16_t Restrictions)
{
    constexpr uint16_t EditLocks = frrfDontEditMemo | frrfDontEditScript | frrfDontEditContents | frrfDontModify;
    return ((Restrictions & EditLocks) ? 1 : 0) | ((Restrictions & frrfDontSize) ? 2 : 0) |
           ((Restrictions & frrfDontMove) ? 4 : 0) | ((Restrictions & frrfDontDelete) ? 8 : 0);
}

// Bold 1, italic 2, underline 4, strike-out 8: not the stored bits.
int XmlFontStyle(const TFont& Font)
{
    const TFontStyles Style = Font.Style();
    return (Style.Contains(fsBold) ? 1 : 0) | (Style.Contains(fsItalic) ? 2 : 0) |
           (Style.Contains(fsUnderline) ? 4 : 0) | (Style.Contains(fsStrikeOut) ? 8 : 0);
}

QString MemoText(const TStrings& Memo)
{
    QString Text;
    for (int i = 0; i < Memo.Count(); ++i)
        Text += Memo.Strings(i) + QStringLiteral("\r\n");
    return Text;
}

} // namespace

// ---------------------------------------------------------------- base

void TfrView::AddFR3Attributes(TfrXmlTag& Xml) const
{
    Xml.Add(QStringLiteral("Name"), Name())
        .Add(QStringLiteral("Left"), Left())
        .Add(QStringLiteral("Top"), Top())
        .Add(QStringLiteral("Width"), Width())
        .Add(QStringLiteral("Height"), Height())
        .AddColor(QStringLiteral("Color"), FillColor());
    if (!Visible())
        Xml.Add(QStringLiteral("Visible"), FalseText);
    Xml.Add(QStringLiteral("Frame.Typ"), XmlFrameTyp(FrameTyp()))
        .Add(QStringLiteral("Frame.Width"), FloatToStr(FrameWidth()))
        .AddColor(QStringLiteral("Frame.Color"), FrameColor())
        .Add(QStringLiteral("Frame.Style"), FrameStyle())
        .Add(QStringLiteral("GapX"), GapX())
        .Add(QStringLiteral("GapY"), GapY())
        .Add(QStringLiteral("TagStr"), Tag())
        .Add(QStringLiteral("Memo.text"), MemoText(*Memo()))
        .Add(QStringLiteral("Align"), XmlAlign(BandAlign()));
    if (Script()->Count() > 0)
        for (const char16_t* Event : {u"OnBeforePrint", u"OnClick", u"OnActivate"})
            Xml.Add(QString::fromUtf16(Event), frXmlEventName(Name()));
    Xml.Add(QStringLiteral("Restrictions"), XmlRestrictions(Restrictions()));
}

void TfrView::SaveToFR3(TStream& Stream)
{
    TfrXmlTag Xml(ClassName());
    AddFR3Attributes(Xml);
    Xml.WriteTo(Stream);
}

// ---------------------------------------------------------------- memo

void TfrMemoView::SaveToFR3(TStream& Stream)
{
    TfrXmlTag Xml(ClassName());
    AddFR3Attributes(Xml);
    struct TSwitch
    {
        uint16_t Flag;
        bool WhenSet;
        const char16_t* Name;
        const char16_t* Value;
    };
    static constexpr std::array<TSwitch, 8> Switches{{
        {flStretched, true, u"StretchMode", u"smMaxHeight"},
        {flWordWrap, false, u"WordWrap", u"False"},
        {flAutoWidth, true, u"AutoWidth", u"True"},
        {flTextOnly, true, u"AllowExpressions", u"False"},
        {flSuppressRepeated, true, u"SuppressRepeated", u"True"},
        {flHideZeroValues, true, u"HideZeros", u"True"},
        {flUnderlines, true, u"Underlines", u"True"},
        {flRTLReading, true, u"RTLReading", u"True"},
    }};
    for (const TSwitch& S : Switches)
        if (((Flags() & S.Flag) != 0) == S.WhenSet)
            Xml.Add(QString::fromUtf16(S.Name), QString::fromUtf16(S.Value));

    Xml.Add(QStringLiteral("Font.Name"), FFont->Name())
        .Add(QStringLiteral("Font.Height"), FFont->Height())
        .AddColor(QStringLiteral("Font.Color"), FFont->Color())
        .Add(QStringLiteral("Font.Style"), XmlFontStyle(*FFont))
        .Add(QStringLiteral("Highlight.Condition"), FHighlightCondition)
        .Add(QStringLiteral("Highlight.Font.Style"), FHighlight.FontStyle)
        .AddColor(QStringLiteral("Highlight.Font.Color"), FHighlight.FontColor)
        .AddColor(QStringLiteral("Highlight.Color"), FHighlight.FillColor)
        .Add(QStringLiteral("LineSpacing"), FLineSpacing)
        .Add(QStringLiteral("CharSpacing"), FCharSpacing)
        .Add(QStringLiteral("HAlign"), FAlignment & 3);
    const int VAlign = (FAlignment & frtaMiddle) ? 1 : (FAlignment & frtaDown) ? 2 : 0;
    Xml.Add(QStringLiteral("VAlign"), VAlign);
    if (FAlignment & frtaVertical)
        Xml.Add(QStringLiteral("Rotation"), QStringLiteral("90"));
    Xml.WriteTo(Stream);
}

// ---------------------------------------------------------------- picture

void TfrPictureView::SaveToFR3(TStream& Stream)
{
    TfrXmlTag Xml(ClassName());
    AddFR3Attributes(Xml);
    if (!FPicture.Empty())
        Xml.Add(QStringLiteral("Picture.Propdata"), frHexText(FPicture.Data()));
    if (Memo()->Count() > 0) {
        QString Field = Memo()->Strings(0).trimmed();
        if (Field.startsWith(u'[') && Field.endsWith(u']'))
            Field = Field.mid(1, Field.size() - 2);
        TDataSet* DataSet = nullptr;
        QString FieldName;
        GetDataSetAndField(Field, DataSet, FieldName);
        if (DataSet && !FieldName.isEmpty()) {
            const QObject* Owner = DataSet->parent();
            const QString Path = Owner && !Owner->objectName().isEmpty()
                                     ? Owner->objectName() + u'.' + DataSet->objectName()
                                     : DataSet->objectName();
            Xml.Add(QStringLiteral("DataSet"), Path).Add(QStringLiteral("DataField"), FieldName);
        }
    }
    if (!(Flags() & flStretched))
        Xml.Add(QStringLiteral("Stretched"), FalseText);
    if (Flags() & flPictCenter)
        Xml.Add(QStringLiteral("Center"), TrueText);
    if (!(Flags() & flPictRatio))
        Xml.Add(QStringLiteral("KeepAspectRatio"), FalseText);
    Xml.WriteTo(Stream);
}

// ---------------------------------------------------------------- subreport and line

void TfrSubReportView::SaveToFR3(TStream& Stream)
{
    TfrXmlTag Xml(ClassName());
    AddFR3Attributes(Xml);
    Xml.Add(QStringLiteral("Page"), QStringLiteral("Page") + QString::number(static_cast<int64_t>(FSubPage) + 1));
    Xml.WriteTo(Stream);
}

void TfrLineView::SaveToFR3(TStream& Stream)
{
    TfrXmlTag Xml(ClassName());
    AddFR3Attributes(Xml);
    if (!(Flags() & flStretched))
        Xml.Add(QStringLiteral("Stretched"), FalseText);
    Xml.WriteTo(Stream);
}

// ---------------------------------------------------------------- band

void TfrBandView::SaveToFR3(TStream& Stream)
{
    const QString Element = frBandXmlName(BandType());
    if (Element.isEmpty())
        return;
    TfrXmlTag Xml(Element);
    Xml.Add(QStringLiteral("Name"), Name())
        .Add(QStringLiteral("Left"), Left())
        .Add(QStringLiteral("Top"), Top())
        .Add(QStringLiteral("Width"), Width())
        .Add(QStringLiteral("Height"), Height())
        .Add(QStringLiteral("Columns"), FColumns)
        .Add(QStringLiteral("ColumnWidth"), FColumnWidth)
        .Add(QStringLiteral("ColumnGap"), FColumnGap);
    if (!Visible())
        Xml.Add(QStringLiteral("Visible"), FalseText);
    struct TFlag
    {
        uint16_t Bit;
        bool WhenSet;
        const char16_t* Name;
    };
    static constexpr std::array<TFlag, 8> FlagAttributes{{
        {flBandStretched, true, u"Stretched"},
        {flBandNewPageAfter, true, u"StartNewPage"},
        {flBandPrintIfSubsetEmpty, true, u"PrintIfDetailEmpty"},
        {flBandBreaked, true, u"AllowSplit"},
        {flBandOnFirstPage, false, u"PrintOnFirstPage"},
        {flBandOnLastPage, false, u"PrintOnLastPage"},
        {flBandRepeatHeader, true, u"ReprintOnNewPage"},
        {flBandPrintChildIfInvisible, true, u"PrintChildIfInvisible"},
    }};
    for (const TFlag& F : FlagAttributes)
        if (((Flags() & F.Bit) != 0) == F.WhenSet)
            Xml.Add(QString::fromUtf16(F.Name), F.WhenSet ? TrueText : FalseText);
    if (Script()->Count() > 0)
        Xml.Add(QStringLiteral("OnBeforePrint"), frXmlEventName(Name()));
    const int Type = BandType();
    if (Type == btMasterData || Type == btDetailData || Type == btSubDetailData)
        Xml.Add(QStringLiteral("DataSet"), FormatStr());
    else if (Type == btGroupHeader)
        Xml.Add(QStringLiteral("Condition"), FormatStr());
    Xml.WriteTo(Stream);
}

// The syntax memo's text: the Lines view, highlighting kept per line, undo
// snapshots, insertion and deletion with bookmark upkeep.
#include "report/designer/fr_synmemo.h"
#include "report/designer/fr_synmemo_p.h"

#include "platform/gui/Clipbrd.h"
#include "platform/gui/StdCtrls.h"

#include <QEvent>
#include <QSet>
#include <algorithm>

using namespace synmemo;

namespace {

const char* const PascalWords =
    "and,array,begin,case,const,div,do,downto,else,end,except,finally,for,function,if,in,is,mod,nil,not,of,or,"
    "procedure,program,repeat,shl,shr,string,then,to,try,until,uses,var,while,with,xor";
const char* const CppWords =
    "bool,break,case,char,continue,define,default,delete,do,double,else,except,finally,float,for,if,include,int,"
    "is,new,return,string,switch,try,variant,void,while";
const char* const SqlWords =
    "active,after,all,alter,and,any,as,asc,ascending,at,auto,base_name,before,begin,between,by,cache,cast,check,"
    "column,commit,committed,computed,conditional,constraint,containing,count,create,current,cursor,database,"
    "debug,declare,default,delete,desc,descending,distinct,do,domain,drop,else,end,entry_point,escape,exception,"
    "execute,exists,exit,external,extract,filter,for,foreign,from,full,function,generator,grant,group,having,if,"
    "in,inactive,index,inner,insert,into,is,isolation,join,key,left,level,like,merge,names,no,not,null,of,on,"
    "only,or,order,outer,parameter,password,plan,position,primary,privileges,procedure,protected,read,retain,"
    "returns,revoke,right,rollback,schema,select,set,shadow,shared,snapshot,some,suspend,table,then,to,"
    "transaction,trigger,uncommitted,union,unique,update,user,using,view,wait,when,where,while,with,work";

constexpr int MaxUndo = 32;
constexpr uint8_t StNormal = 0, StBrace = 1, StBlock = 2, StUnknown = 0xFF;

bool IsStarter(ushort C)
{
    if (C <= 32 || C >= 128)
        return false;
    return C == '"' || C == '\'' || C == '(' || C == '-' || C == '/' || C == '_' || C == '{' ||
           (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z');
}

bool IsIdentChar(ushort C)
{
    return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9') || C == '_';
}

} // namespace

// ---------------------------------------------------------------- the Lines view

// The memo's lines as a string list: changes made through it reach the memo.
class TSynMemoLines : public TStrings
{
public:
    explicit TSynMemoLines(TfrSyntaxMemo* AMemo) : Memo(AMemo) {}
    int Count() const override { return static_cast<int>(Memo->FText.size()); }
    QString Strings(int Index) const override
    {
        Check(Index, Count());
        return Memo->FText[Index];
    }
    void SetStrings(int Index, const QString& S) override
    {
        Check(Index, Count());
        Memo->FText[Index] = S;
        Changed();
    }
    void* Objects(int) const override { return nullptr; }
    void SetObjects(int, void*) override {}
    void Insert(int Index, const QString& S) override
    {
        Check(Index, Count() + 1);
        Memo->FText.insert(Index, S);
        Changed();
    }
    void Delete(int Index) override
    {
        Check(Index, Count());
        Memo->FText.removeAt(Index);
        Changed();
    }
    void Clear() override
    {
        Memo->FText.clear();
        Changed();
    }

protected:
    void Changed() override
    {
        TStrings::Changed();
        if (UpdateCount() == 0)
            Memo->LinesChanged();
    }

private:
    static void Check(int Index, int Limit)
    {
        if (Index < 0 || Index >= Limit)
            throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    }
    TfrSyntaxMemo* Memo;
};

// ---------------------------------------------------------------- construction

TfrSyntaxMemo::TfrSyntaxMemo(QWidget* AParent)
    : TCustomControl(AParent), FLines(std::make_unique<TSynMemoLines>(this))
{
    FBookmarks.fill(-1);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAcceptDrops(true);
    SetWantTabs(true);
    SetColor(clWindow);
    SetCursor(crIBeam);
    Font()->SetName(QStringLiteral("Courier New"));
    Font()->SetSize(10);
    for (auto& A : FAttr)
        A = std::make_unique<TFont>();
    KeywordAttr()->SetColor(clWindowText);
    KeywordAttr()->SetStyle(TFontStyles{fsBold});
    StringAttr()->SetColor(clNavy);
    CommentAttr()->SetColor(clNavy);
    CommentAttr()->SetStyle(TFontStyles{fsItalic});
    TextAttr()->SetColor(clWindowText);
    Font()->OnChange = [this](TFont*) {
        UpdateMetrics();
        Invalidate();
    };
    FBar = new TScrollBar(sbVertical, this);
    FBar->hide();
    FBar->SetSmallChange(1);
    FBar->OnChange = [this](QObject*) {
        const int Top = std::clamp(FBar->Position(), 0, std::max(0, LineCount() - 1));
        if (Top != FTopLine) {
            FTopLine = Top;
            Invalidate();
        }
    };
    FText << QString();
    FStyles.resize(1);
    SetSyntaxType(stPascal);
    UpdateMetrics();
    // The gutter and footer come with a parent, as in a window.
    if (AParent) {
        FShowGutter = true;
        FShowFooter = true;
    }
}

TfrSyntaxMemo::~TfrSyntaxMemo() = default;

bool TfrSyntaxMemo::event(QEvent* Event)
{
    if (Event->type() == QEvent::ParentChange && parentWidget() && !FShowGutter && !FShowFooter) {
        FShowGutter = true;
        FShowFooter = true;
        UpdateScrollBar();
    }
    return TCustomControl::event(Event);
}

// ---------------------------------------------------------------- properties

TStrings* TfrSyntaxMemo::Lines()
{
    bool Trimmed = false;
    for (QString& L : FText) {
        qsizetype n = L.size();
        while (n > 0 && L[n - 1] == u' ')
            --n;
        if (n != L.size()) {
            L.truncate(n);
            Trimmed = true;
        }
    }
    if (Trimmed)
        HighlightAll();
    FResetArmed = true;
    return FLines.get();
}

void TfrSyntaxMemo::SetLines(const TStrings& Value)
{
    Lines()->Assign(Value);
}

void TfrSyntaxMemo::LinesChanged()
{
    if (FText.isEmpty())
        FText << QString();
    FStyles.assign(FText.size(), TLineStyle());
    HighlightAll();
    if (FResetArmed) {
        ResetView();
        return;
    }
    ClampBookmarks();
    SetCaretPos(FCaret.Col, FCaret.Line);
}

void TfrSyntaxMemo::ResetView()
{
    FUndo.clear();
    ClampBookmarks();
    FSelActive = false;
    FAnchor = FCaret = TSynPos();
    FTopLine = 0;
    FLeftCol = 0;
    UpdateScrollBar();
    Invalidate();
}

void TfrSyntaxMemo::SetSyntaxType(TSyntaxType Value)
{
    FSyntaxType = Value;
    switch (Value) {
    case stPascal: FKeywords = QString::fromLatin1(PascalWords); break;
    case stCpp: FKeywords = QString::fromLatin1(CppWords); break;
    case stSQL: FKeywords = QString::fromLatin1(SqlWords); break;
    case stText: FKeywords.clear(); break;
    }
    const QStringList Words = FKeywords.split(u',', Qt::SkipEmptyParts);
    FKeywordSet = QSet<QString>(Words.begin(), Words.end());
    HighlightAll();
    Invalidate();
}

void TfrSyntaxMemo::SetAttr(int Index, const TFont& Value)
{
    FAttr[Index]->Assign(Value);
    UpdateMetrics();   // the attribute fonts keep the memo's face and size
    HighlightAll();
    Invalidate();
}

void TfrSyntaxMemo::SetShowGutter(bool Value)
{
    if (FShowGutter == Value)
        return;
    FShowGutter = Value;
    Invalidate();
}

void TfrSyntaxMemo::SetShowFooter(bool Value)
{
    if (FShowFooter == Value)
        return;
    FShowFooter = Value;
    UpdateScrollBar();
    Invalidate();
}

void TfrSyntaxMemo::SetBlockColor(TColor Value)
{
    if (FBlockColor == Value)
        return;
    FBlockColor = Value;
    Invalidate();
}

void TfrSyntaxMemo::SetBlockFontColor(TColor Value)
{
    if (FBlockFontColor == Value)
        return;
    FBlockFontColor = Value;
    Invalidate();
}

void TfrSyntaxMemo::SetStatusText(const QString& Text)
{
    if (FStatus == Text)
        return;
    FStatus = Text;
    Invalidate();
}

// ---------------------------------------------------------------- highlighting

void TfrSyntaxMemo::HighlightAll()
{
    if (FStyles.size() != static_cast<size_t>(FText.size()))
        FStyles.assign(FText.size(), TLineStyle());
    for (TLineStyle& S : FStyles)
        S.Start = StUnknown;
    Restyle(0, LineCount() - 1);
}

// Styles the changed lines First..Last and goes on until a line starts in the
// state it was styled with before: the lines after it keep their styles.
void TfrSyntaxMemo::Restyle(int First, int Last)
{
    uint8_t State = First <= 0 ? StNormal : StyleLine(First - 1, FStyles[First - 1].Start);
    for (int i = std::max(First, 0); i < LineCount(); ++i) {
        if (i > Last && FStyles[i].Start == State)
            break;
        FStyles[i].Start = State;
        State = StyleLine(i, State);
    }
}

// Styles one line from its start state and returns the state at its end.
uint8_t TfrSyntaxMemo::StyleLine(int Index, uint8_t Start)
{
    const QString& S = FText[Index];
    const int N = static_cast<int>(S.size());
    QByteArray& St = FStyles[Index].Styles;
    St.resize(N);
    const bool Pascal = FSyntaxType == stPascal, Text = FSyntaxType == stText;
    const QChar LineC = Pascal || FSyntaxType == stCpp ? u'/' : u'-';
    const QChar BlockOpen = Pascal ? u'(' : u'/', BlockClose = Pascal ? u')' : u'/';
    const QChar Quote = Pascal ? u'\'' : u'"';
    auto Mark = [&](int From, int To, uint8_t Style) {
        for (int k = From; k < To; ++k)
            St[k] = static_cast<char>(S[k].unicode() < 32 ? S[k].unicode() : Style);
    };
    auto BlockEnd = [&](int From) {   // index after the closing pair, -1 when none
        for (int k = From; k + 1 < N; ++k)
            if (S[k] == u'*' && S[k + 1] == BlockClose)
                return k + 2;
        return -1;
    };
    int i = 0;
    if (Start == StBrace) {
        const int j = static_cast<int>(S.indexOf(u'}'));
        if (j < 0) {
            Mark(0, N, synComment);
            return StBrace;
        }
        Mark(0, j + 1, synComment);
        i = j + 1;
    } else if (Start == StBlock) {
        const int j = BlockEnd(0);
        if (j < 0) {
            Mark(0, N, synComment);
            return StBlock;
        }
        Mark(0, j, synComment);
        i = j;
    }
    while (i < N) {
        const ushort C = S[i].unicode();
        if (Text || !IsStarter(C)) {
            St[i] = static_cast<char>(C < 32 ? C : ushort(synText));
            ++i;
            continue;
        }
        const ushort Next = i + 1 < N ? S[i + 1].unicode() : 0;
        if ((C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || C == '_') {
            int j = i;
            while (j < N && IsIdentChar(S[j].unicode()))
                ++j;
            Mark(i, j, FKeywordSet.contains(QStringView(S).mid(i, j - i).toString().toLower()) ? synKeyword : synText);
            i = j;
        } else if (C == LineC && Next == LineC) {
            Mark(i, N, synComment);
            i = N;
        } else if (Pascal && C == '{') {
            const int j = static_cast<int>(S.indexOf(u'}', i + 1));
            if (j < 0) {
                Mark(i, N, synComment);
                return StBrace;
            }
            Mark(i, j + 1, synComment);
            i = j + 1;
        } else if (C == BlockOpen && Next == '*') {
            const int j = BlockEnd(i + 1);   // the closing pair may share the opener's '*'
            if (j < 0) {
                Mark(i, N, synComment);
                return StBlock;
            }
            Mark(i, j, synComment);
            i = j;
        } else if (C == Quote) {
            const int j = static_cast<int>(S.indexOf(Quote, i + 1));
            const int End = j < 0 ? N : j + 1;
            Mark(i, End, synString);
            i = End;
        } else {
            St[i] = synText;
            ++i;
        }
    }
    return StNormal;
}

// ---------------------------------------------------------------- the one change path

// Replaces Count lines from index First with the given ones and re-highlights
// from there.
void TfrSyntaxMemo::Replace(int First, int Count, const QStringList& With)
{
    const int Common = std::min<int>(Count, static_cast<int>(With.size()));
    for (int k = 0; k < Common; ++k)
        FText[First + k] = With[k];
    if (Count > Common) {
        FText.remove(First + Common, Count - Common);
        FStyles.erase(FStyles.begin() + First + Common, FStyles.begin() + First + Count);
    } else if (static_cast<int>(With.size()) > Common) {
        for (int k = Common; k < With.size(); ++k)
            FText.insert(First + k, With[k]);
        FStyles.insert(FStyles.begin() + First + Common, With.size() - Common, TLineStyle());
    }
    if (FText.isEmpty()) {
        FText << QString();
        FStyles.resize(1);
    }
    Restyle(First, First + static_cast<int>(With.size()) - 1);
}

void TfrSyntaxMemo::Changed()
{
    UpdateScrollBar();
    Invalidate();
}

void TfrSyntaxMemo::PushUndo()
{
    PushUndo(FCaret);
}

void TfrSyntaxMemo::PushUndo(TSynPos Caret)
{
    if (FUndo.size() >= MaxUndo)
        FUndo.erase(FUndo.begin());
    FUndo.push_back({Caret, FText});
}

void TfrSyntaxMemo::Undo()
{
    if (FReadOnly || FUndo.empty())
        return;
    TSnapshot S = std::move(FUndo.back());
    FUndo.pop_back();
    // Only the lines that differ are replaced and re-highlighted.
    const int Old = LineCount(), New = static_cast<int>(S.Text.size());
    int Head = 0;
    while (Head < Old && Head < New && FText[Head] == S.Text[Head])
        ++Head;
    int Tail = 0;
    while (Tail < Old - Head && Tail < New - Head && FText[Old - 1 - Tail] == S.Text[New - 1 - Tail])
        ++Tail;
    Replace(Head, Old - Head - Tail, S.Text.mid(Head, New - Head - Tail));
    FText = S.Text;   // share the snapshot's lines again
    ClampBookmarks();
    FSelActive = false;
    SetCaretPos(S.Caret.Col, S.Caret.Line);
    Changed();
}

void TfrSyntaxMemo::ShiftBookmarks(int AfterLine, int Delta)
{
    // AfterLine is an index from 0; bookmarks on lines after it follow them,
    // bookmarks on removed lines go to the line of the edit.
    for (int& B : FBookmarks) {
        if (B <= AfterLine)
            continue;
        B = Delta < 0 && B <= AfterLine - Delta ? AfterLine : B + Delta;
    }
}

void TfrSyntaxMemo::ClampBookmarks()
{
    for (int& B : FBookmarks)
        if (B >= LineCount())
            B = -1;
}

// Pads the line of P with blanks up to P's column.
void TfrSyntaxMemo::PadTo(TSynPos P)
{
    const int Have = Cols(Line(P.Line));
    if (Have < P.Col - 1)
        Replace(P.Line - 1, 1, {Line(P.Line) + QString(P.Col - 1 - Have, u' ')});
}

// Removes [A, B); B's column is clamped to its line.
void TfrSyntaxMemo::DeleteRange(TSynPos A, TSynPos B)
{
    PadTo(A);
    const QString La = Line(A.Line), Lb = Line(B.Line);
    const QString Joined = La.left(IndexOfCol(La, A.Col)) + Lb.mid(IndexOfCol(Lb, B.Col));
    Replace(A.Line - 1, B.Line - A.Line + 1, {Joined});
    if (B.Line > A.Line)
        ShiftBookmarks(A.Line - 1, A.Line - B.Line);
}

void TfrSyntaxMemo::InsertAt(TSynPos At, const QString& Text)
{
    PadTo(At);
    const QString L = Line(At.Line);
    const int Split = IndexOfCol(L, At.Col);
    QString T = Text;
    T.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QStringList Parts = T.split(u'\n');
    const QString Last = Parts.last();
    Parts.first().prepend(L.left(Split));
    Parts.last().append(L.mid(Split));
    Replace(At.Line - 1, 1, Parts);
    const int Added = static_cast<int>(Parts.size()) - 1;
    if (Added > 0)
        ShiftBookmarks(At.Line - 1, Added);
    FCaret = Added == 0 ? TSynPos{At.Col + Cols(Last), At.Line} : TSynPos{Cols(Last) + 1, At.Line + Added};
}

void TfrSyntaxMemo::DeleteSelection()
{
    if (!HasSelection())
        return;
    const TSynPos A = SelStart(), B = SelEnd();
    DeleteRange(A, B);
    FSelActive = false;
    FCaret = A;
}

void TfrSyntaxMemo::InsertText(const QString& Text)
{
    if (FReadOnly)
        return;
    PushUndo();
    DeleteSelection();
    InsertAt(FCaret, Text);
    FSelActive = false;
    SetCaretPos(FCaret.Col, FCaret.Line);
    Changed();
}

// ---------------------------------------------------------------- selection and clipboard

TSynPos TfrSyntaxMemo::SelStart() const
{
    if (!FSelActive)
        return FCaret;
    return std::min(FAnchor, FCaret);
}

TSynPos TfrSyntaxMemo::SelEnd() const
{
    if (!FSelActive)
        return FCaret;
    return std::max(FAnchor, FCaret);
}

QString TfrSyntaxMemo::SelText() const
{
    if (!HasSelection())
        return QString();
    const TSynPos A = SelStart(), B = SelEnd();
    QStringList Out;
    for (int L = A.Line; L <= B.Line; ++L) {
        const QString& S = FText[L - 1];
        const int From = L == A.Line ? IndexOfCol(S, A.Col) : 0;
        const int To = L == B.Line ? IndexOfCol(S, B.Col) : static_cast<int>(S.size());
        Out << S.mid(From, std::max(0, To - From));
    }
    return Out.join(QStringLiteral("\r\n"));
}

void TfrSyntaxMemo::SelectAll()
{
    FAnchor = TSynPos();
    FSelActive = true;
    FCaret = TSynPos{Cols(FText.last()) + 1, LineCount()};
    ScrollToCaret();
    Invalidate();
}

void TfrSyntaxMemo::CopyToClipboard()
{
    if (HasSelection())
        Clipboard()->SetAsText(SelText());
}

void TfrSyntaxMemo::CutToClipboard()
{
    if (FReadOnly || !HasSelection())
        return;
    CopyToClipboard();
    PushUndo();
    DeleteSelection();
    SetCaretPos(FCaret.Col, FCaret.Line);
    Changed();
}

void TfrSyntaxMemo::PasteFromClipboard()
{
    const QString T = Clipboard()->AsText();
    if (!T.isEmpty())
        InsertText(T);
}

// ---------------------------------------------------------------- block indent

void TfrSyntaxMemo::BlockIndent(bool Indent)
{
    if (FReadOnly || !HasSelection())
        return;
    const TSynPos A = SelStart(), B = SelEnd();
    const int Last = B.Col == 1 && B.Line > A.Line ? B.Line - 1 : B.Line;
    QStringList Block = FText.mid(A.Line - 1, Last - A.Line + 1);
    if (Indent) {
        for (QString& L : Block)
            L.prepend(QStringLiteral("  "));
    } else {
        int Least = 2;
        for (const QString& L : Block) {
            if (L.trimmed().isEmpty())
                continue;
            int n = 0;
            while (n < L.size() && L[n] == u' ')
                ++n;
            Least = std::min(Least, n);
        }
        if (Least == 0)
            return;
        for (QString& L : Block)
            if (!L.trimmed().isEmpty())
                L.remove(0, Least);
    }
    PushUndo();
    Replace(A.Line - 1, static_cast<int>(Block.size()), Block);
    Changed();
}

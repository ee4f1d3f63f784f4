#include "report/engine/FR_Pars.h"

#include "platform/rtl/Classes.h"
#include "report/engine/FR_Utils.h"

#include <QVarLengthArray>

#include <array>
#include <cmath>

namespace {

// Evaluations nest through IF, COPY, GETARRAY and the callbacks; a runaway
// chain ends with an error instead of exhausting the machine stack.
constexpr int MaxDepth = 200;

bool IsAsciiDigit(QChar C)
{
    return C >= u'0' && C <= u'9';
}

bool IsIdentifierDelimiter(QChar C)
{
    switch (C.unicode()) {
    case '\r': case ' ': case '(': case ')': case '*': case '+':
    case '-': case '/': case '<': case '=': case '>': case '[':
        return true;
    default:
        return false;
    }
}

bool IsOperatorChar(QChar C)
{
    switch (C.unicode()) {
    case '*': case '+': case '-': case '/': case '<': case '=': case '>':
        return true;
    default:
        return false;
    }
}

bool IsBinaryOperator(ushort U)
{
    switch (U) {
    case '*': case '+': case '-': case '/': case '<': case '=': case '>':
    case ttGe: case ttLe: case ttNe: case ttOr: case ttAnd: case ttMod:
        return true;
    default:
        return false;
    }
}

bool IsUnaryOperator(ushort U)
{
    switch (U) {
    case ttInt: case ttFrac: case ttUnMinus: case ttUnPlus: case ttStr: case ttNot: case ttRound:
        return true;
    default:
        return false;
    }
}

// Words that are operators, and their codes.
ushort KeywordOperator(const QString& Upper)
{
    static const std::array<std::pair<const char16_t*, ushort>, 8> Words = {{
        {u"INT", ttInt}, {u"FRAC", ttFrac}, {u"ROUND", ttRound}, {u"OR", ttOr},
        {u"AND", ttAnd}, {u"NOT", ttNot}, {u"STR", ttStr}, {u"MOD", ttMod},
    }};
    for (const auto& W : Words)
        if (Upper == QStringView(W.first))
            return W.second;
    return 0;
}

QString Unbalanced(const QString& Text)
{
    return QStringLiteral("Unbalanced parentheses in \"%1\"").arg(Text);
}

// Strips the quotes of a quoted operand and turns every run of quotes inside
// into one quote.
QString UnquoteOperand(const QString& Q)
{
    qsizetype From = 0;
    qsizetype To = Q.size();
    if (To > 0 && Q[0] == u'\'')
        ++From;
    if (To - From > 0 && Q[To - 1] == u'\'')
        --To;
    QString R;
    R.reserve(To - From);
    for (qsizetype I = From; I < To; ++I) {
        if (Q[I] == u'\'' && I + 1 < To && Q[I + 1] == u'\'')
            continue;
        R += Q[I];
    }
    return R;
}

double ParseNumber(QString Text)
{
    const TFormatSettings& FS = FormatSettings();
    for (QChar& C : Text)
        if (C == u',' || C == u'.')
            C = FS.DecimalSeparator;
    return StrToFloat(Text, FS);
}

// Nearest integer when x is within 1e-10 of it, else x cut toward zero: what
// INT and FRAC see as the whole part.
double WholePart(double X)
{
    const double N = std::nearbyint(X); // halves to even, the default rounding
    if (std::abs(N - X) < 1e-10)
        return N;
    return std::trunc(X);
}

class TDepthGuard
{
public:
    explicit TDepthGuard(int& Depth) : FDepth(Depth)
    {
        if (++FDepth > MaxDepth) {
            --FDepth;
            throw EParserError(QStringLiteral("Expression is nested too deeply"));
        }
    }
    ~TDepthGuard() { --FDepth; }
    TDepthGuard(const TDepthGuard&) = delete;
    TDepthGuard& operator=(const TDepthGuard&) = delete;

private:
    int& FDepth;
};

} // namespace

// ---------------------------------------------------------------- scanning helpers

QString ReadIdentifier(const QString& S, int& Pos)
{
    const int N = int(S.size());
    while (Pos < N && S[Pos].unicode() <= ' ')
        ++Pos;
    const int Start = Pos;
    bool InQuotes = false;
    while (Pos < N) {
        const QChar C = S[Pos];
        if (C == u'"')
            InQuotes = !InQuotes;
        else if (!InQuotes && IsIdentifierDelimiter(C))
            break;
        ++Pos;
    }
    return S.mid(Start, Pos - Start);
}

QString ReadQuotedString(const QString& S, int& Pos)
{
    const int N = int(S.size());
    const int Start = Pos;
    ++Pos;
    while (Pos < N) {
        if (S[Pos] == u'\'') {
            if (Pos + 1 < N && S[Pos + 1] == u'\'') {
                Pos += 2;
                continue;
            }
            ++Pos;
            return S.mid(Start, Pos - Start);
        }
        ++Pos;
    }
    return S.mid(Start);
}

QString GetBracketedText(const QString& S, int Start, int& Open, int& Close)
{
    const int N = int(S.size());
    Open = Start;
    Close = Start;
    if (Start < 0 || Start >= N || S[Start] != u'[')
        return QString();
    int Count = 0;
    bool InSingle = false;
    bool InDouble = false;
    for (int I = Start; I < N; ++I) {
        const QChar C = S[I];
        if (C == u'"' && !InSingle) {
            InDouble = !InDouble;
        } else if (C == u'\'' && !InDouble) {
            InSingle = !InSingle;
        } else if (!InSingle && !InDouble) {
            if (C == u'[') {
                ++Count;
            } else if (C == u']' && --Count == 0) {
                Close = I;
                return S.mid(Start + 1, I - Start - 1);
            }
        }
    }
    Close = N;
    return S.mid(Start + 1);
}

TfrFunctionArguments ReadFunctionArguments(const QString& S, int& Pos)
{
    TfrFunctionArguments Args;
    const int N = int(S.size());
    int Depth = 0;
    int Pieces = 0;
    int PieceStart = Pos + 1;
    bool InQuotes = false;
    for (int I = Pos; I < N; ++I) {
        const QChar C = S[I];
        if (C == u'\'') {
            InQuotes = !InQuotes;
        } else if (InQuotes) {
            continue;
        } else if (C == u'(') {
            ++Depth;
        } else if (C == u',' && Depth == 1) {
            (++Pieces == 1 ? Args.P1 : Args.P2) = S.mid(PieceStart, I - PieceStart);
            PieceStart = I + 1;
        } else if (C == u')' && --Depth == 0) {
            const QString Last = S.mid(PieceStart, I - PieceStart);
            switch (++Pieces) {
            case 1: Args.P1 = Last; break;
            case 2: Args.P2 = Last; break;
            case 3: Args.P3 = Last; break;
            default: break;
            }
            Pos = I + 1;
            return Args;
        }
    }
    throw EParserError(Unbalanced(S));
}

// ---------------------------------------------------------------- conversion

int TfrParser::OperatorPriority(QChar Op)
{
    switch (Op.unicode()) {
    case '(':
        return 5;
    case ')':
        return 4;
    case '<': case '=': case '>': case ttGe: case ttLe: case ttNe:
        return 3;
    case '+': case '-': case ttUnMinus: case ttUnPlus:
        return 2;
    case '*': case '/': case ttMod: case ttAnd: case ttOr: case ttNot:
        return 1;
    default:
        return 0;
    }
}

namespace {

// The conversion's operator stack; the top is the last character.
class TOperatorStack
{
public:
    explicit TOperatorStack(QString& Out) : FOut(Out) {}

    void Push(QChar Op)
    {
        const int P = TfrParser::OperatorPriority(Op);
        while (!FOps.isEmpty() && P >= TfrParser::OperatorPriority(FOps.back()))
            FOut += Pop();
        FOps.append(Op);
    }
    void PushParen() { FOps.append(QChar(u'(')); }
    // Moves everything above the nearest "(" to the output and drops the "(".
    bool CloseParen()
    {
        while (!FOps.isEmpty() && FOps.back() != u'(')
            FOut += Pop();
        if (FOps.isEmpty())
            return false;
        Pop();
        return true;
    }
    bool Flush()
    {
        while (!FOps.isEmpty()) {
            if (FOps.back() == u'(')
                return false;
            FOut += Pop();
        }
        return true;
    }

private:
    QChar Pop()
    {
        const QChar C = FOps.back();
        FOps.removeLast();
        return C;
    }

    QString& FOut;
    QVarLengthArray<QChar, 32> FOps;
};

// Reads one operand at Pos: optional "%x" prefix, then a quoted string, a
// bracket group, or a word with an optional bracket group right after it.
QString ReadOperand(const QString& S, int& Pos)
{
    const int N = int(S.size());
    QString Operand;
    if (S[Pos] == u'%') {
        Operand = S.mid(Pos, 2);
        Pos = std::min(Pos + 2, N);
    }
    if (Pos < N && S[Pos] == u'\'') {
        Operand += ReadQuotedString(S, Pos);
    } else if (Pos < N && S[Pos] == u'[') {
        int Open = 0, Close = 0;
        Operand += u'[' + GetBracketedText(S, Pos, Open, Close) + u']';
        Pos = std::min(Close + 1, N);
    } else {
        Operand += ReadIdentifier(S, Pos);
        if (Pos < N && S[Pos] == u'[') {
            int Open = 0, Close = 0;
            Operand += u'[' + GetBracketedText(S, Pos, Open, Close) + u']';
            Pos = std::min(Close + 1, N);
        }
    }
    return Operand;
}

} // namespace

QString TfrParser::ConvertToPostfix(const QString& Text) const
{
    QString Out;
    Out.reserve(Text.size() + 8);
    TOperatorStack Ops(Out);
    bool AfterOperand = false;
    const int N = int(Text.size());
    int I = 0;
    while (I < N) {
        const QChar C = Text[I];
        if (C == u'\r' || C == u' ') {
            ++I;
        } else if (C == u';') {
            break;
        } else if (C == u'(') {
            Ops.PushParen();
            AfterOperand = false;
            ++I;
        } else if (C == u')') {
            if (!Ops.CloseParen())
                throw EParserError(Unbalanced(Text));
            ++I;
        } else if (IsOperatorChar(C)) {
            QChar Op = C;
            const QChar Next = I + 1 < N ? Text[I + 1] : QChar();
            if (C == u'<' && Next == u'>')
                Op = QChar(ttNe);
            else if (C == u'>' && Next == u'=')
                Op = QChar(ttGe);
            else if (C == u'<' && Next == u'=')
                Op = QChar(ttLe);
            if (Op != C)
                ++I;
            if (!AfterOperand && Op == u'-')
                Op = QChar(ttUnMinus);
            else if (!AfterOperand && Op == u'+')
                Op = QChar(ttUnPlus);
            AfterOperand = false;
            Ops.Push(Op);
            ++I;
        } else {
            AfterOperand = true;
            const QString Operand = ReadOperand(Text, I);
            const QChar First = Operand.isEmpty() ? QChar() : Operand[0];
            if (First == u',' || First == u'.' || IsAsciiDigit(First)) {
                Out += Operand + u' ';
            } else if (const ushort Code = KeywordOperator(Operand.toUpper())) {
                AfterOperand = false;
                Ops.Push(QChar(Code));
            } else if (I < N && Text[I] == u'(') {
                const int CallStart = I;
                ReadFunctionArguments(Text, I);
                Out += Operand;
                Out += QStringView(Text).mid(CallStart, I - CallStart);
            } else {
                Out += Operand + u' ';
            }
        }
    }
    if (!Ops.Flush())
        throw EParserError(Unbalanced(Text));
    return Out;
}

// ---------------------------------------------------------------- evaluation

// The evaluation's value stack. The result is slot 0, preset to integer 0. A
// binary operator short of operands counts the missing ones as 0.
class TfrParser::TValueStack
{
public:
    static constexpr int Capacity = 32;

    TValueStack() { FSlots[0] = Variant(0); }

    void Push(Variant V)
    {
        if (FCount == Capacity)
            throw EParserError(
                QStringLiteral("Expression too complex: more than %1 values pending").arg(Capacity));
        FSlots[FCount++] = std::move(V);
    }
    Variant& Top()
    {
        if (FCount == 0)
            FCount = 1;
        return FSlots[FCount - 1];
    }
    // The two upper slots as (lower, upper); the caller stores the result in
    // the lower one and calls Drop.
    std::pair<Variant*, Variant*> TopTwo()
    {
        while (FCount < 2) {
            for (int I = FCount; I > 0; --I)
                FSlots[I] = FSlots[I - 1];
            FSlots[0] = Variant(0);
            ++FCount;
        }
        return {&FSlots[FCount - 2], &FSlots[FCount - 1]};
    }
    void Drop() { --FCount; }
    const Variant& Result() const { return FSlots[0]; }

private:
    std::array<Variant, Capacity> FSlots;
    int FCount = 0;
};

namespace {

Variant Binary(ushort Op, const Variant& A, const Variant& B)
{
    switch (Op) {
    case '+': return A + B;
    case '-': return A - B;
    case '*': return A * B;
    case '/':
        // Division by zero gives 0 rather than an error: a report's empty
        // totals must still print.
        if (!B.IsNull() && VarEquals(B, Variant(0)))
            return Variant(0);
        return A / B;
    case ttMod:
        // A zero divisor gives 0 here too, as for "/".
        if (!B.IsNull() && B.AsInteger() == 0)
            return Variant(0);
        return VarMod(A, B);
    case ttAnd: return VarAnd(A, B);
    case ttOr: return VarOr(A, B);
    case '<': return Variant(VarLess(A, B) ? 1 : 0);
    case '=': return Variant(VarEquals(A, B) ? 1 : 0);
    case '>': return Variant(VarGreater(A, B) ? 1 : 0);
    case ttGe: return Variant(VarGreaterEq(A, B) ? 1 : 0);
    case ttLe: return Variant(VarLessEq(A, B) ? 1 : 0);
    case ttNe: return Variant(VarEquals(A, B) ? 0 : 1);
    default: return A;
    }
}

Variant Unary(ushort Op, const Variant& V)
{
    switch (Op) {
    case ttUnMinus: return -V;
    case ttNot: return Variant(VarEquals(V, Variant(0)) ? 1 : 0);
    case ttStr: return Variant(V.IsNull() ? QString() : VarToStr(V));
    case ttInt: return Variant(WholePart(V.AsFloat()));
    case ttFrac: {
        double X = V.AsFloat();
        const double N = std::nearbyint(X);
        if (std::abs(N - X) < 1e-10)
            X = N;
        return Variant(X - std::trunc(X));
    }
    case ttRound: return Variant(std::nearbyint(V.AsFloat()));
    default: return V;
    }
}

} // namespace

Variant TfrParser::EvaluatePostfix(const QString& Postfix)
{
    TDepthGuard Guard(FDepth);
    TValueStack Stack;
    const int N = int(Postfix.size());
    int I = 0;
    while (I < N) {
        const ushort U = Postfix[I].unicode();
        if (IsBinaryOperator(U)) {
            auto [A, B] = Stack.TopTwo();
            *A = Binary(U, *A, *B);
            Stack.Drop();
            ++I;
        } else if (IsUnaryOperator(U)) {
            Variant& Top = Stack.Top();
            Top = Unary(U, Top);
            ++I;
        } else if (U == ' ') {
            ++I;
        } else if (U == '\'') {
            Stack.Push(Variant(UnquoteOperand(ReadQuotedString(Postfix, I))));
        } else if (U == '[') {
            int Open = 0, Close = 0;
            const QString Name = GetBracketedText(Postfix, I, Open, Close);
            Variant V = Variant::Null();
            if (OnGetValue)
                OnGetValue(this, Name, V);
            Stack.Push(std::move(V));
            I = Close + 1;
        } else {
            EvaluateWord(Postfix, I, Stack);
        }
    }
    return Stack.Result();
}

void TfrParser::EvaluateWord(const QString& S, int& Pos, TValueStack& Stack)
{
    const int N = int(S.size());
    int K = Pos;
    const QString Word = ReadIdentifier(S, K);
    if (Word.isEmpty()) {
        // Nothing an operand can start with (a stray ")" in a damaged text).
        Pos = std::max(K, Pos + 1);
        return;
    }
    const QChar First = Word[0];
    if (First == u',' || First == u'.' || IsAsciiDigit(First)) {
        Stack.Push(Variant(ParseNumber(Word)));
        Pos = K;
    } else if (Word.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0) {
        Stack.Push(Variant(true));
        Pos = K;
    } else if (Word.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0) {
        Stack.Push(Variant(false));
        Pos = K;
    } else if (K < N && S[K] == u'[') {
        int Open = 0, Close = 0;
        const QString Index = GetBracketedText(S, K, Open, Close);
        Stack.Push(Calc(QStringLiteral("GETARRAY(") + Word + QStringLiteral(", ") + Index + u')'));
        Pos = Close + 1;
    } else if (K < N && S[K] == u'(') {
        const TfrFunctionArguments Args = ReadFunctionArguments(S, K);
        Stack.Push(CallFunction(UpperCase(Word), Args));
        Pos = K;
    } else {
        Variant V = Variant::Null();
        if (OnGetValue)
            OnGetValue(this, UpperCase(Word), V);
        Stack.Push(std::move(V));
        Pos = K;
    }
}

Variant TfrParser::CallFunction(const QString& Name, const TfrFunctionArguments& Args)
{
    if (Name == QLatin1String("COPY")) {
        const int From = StrToInt(VarToStr(Calc(Args.P2)));
        const int Count = StrToInt(VarToStr(Calc(Args.P3)));
        const QString Text = VarToStr(Calc(Args.P1));
        if (Count <= 0)
            return Variant(QString());
        return Variant(Text.mid(std::max(From, 1) - 1, Count));
    }
    if (Name == QLatin1String("IF")) {
        const Variant Condition = Calc(Args.P1);
        bool Holds = false;
        if (Condition.Kind() == Variant::TKind::Boolean)
            Holds = Condition.AsBoolean();
        else
            Holds = std::trunc(StrToFloat(VarToStr(Condition), FormatSettings())) != 0;
        return Calc(Holds ? Args.P2 : Args.P3);
    }
    if (Name == QLatin1String("STRTODATE"))
        return Variant::FromDateTime(StrToDate(VarToStr(Calc(Args.P1)), FormatSettings()));
    if (Name == QLatin1String("STRTOTIME"))
        return Variant::FromDateTime(StrToTime(VarToStr(Calc(Args.P1)), FormatSettings()));
    Variant V = Variant::Null();
    if (OnFunction)
        OnFunction(this, Name, Variant(Args.P1), Variant(Args.P2), Variant(Args.P3), V);
    return V;
}

Variant TfrParser::Calc(const QString& Text)
{
    return EvaluatePostfix(ConvertToPostfix(Text));
}

// ---------------------------------------------------------------- function splitter

TfrFunctionSplitter::TfrFunctionSplitter(const TStrings* MatchNames, TStrings* SplitTo,
                                         const TfrVariables* Variables)
    : FMatchFuncs(MatchNames), FSplitTo(SplitTo), FVariables(Variables)
{
}

void TfrFunctionSplitter::Split(const QString& Text)
{
    FExpanding.clear();
    SplitText(Text, 0);
}

bool TfrFunctionSplitter::IsMatchName(const QString& Name) const
{
    if (!FMatchFuncs)
        return false;
    for (int I = 0; I < FMatchFuncs->Count(); ++I)
        if (Name.compare(FMatchFuncs->Strings(I), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void TfrFunctionSplitter::SplitVariable(const QString& Name, int Depth)
{
    for (const QString& Open : FExpanding)
        if (Open.compare(Name, Qt::CaseInsensitive) == 0)
            throw EParserError(LoadEngineString(55439) + QStringLiteral(" \"%1\"").arg(Name));
    FExpanding.append(Name);
    SplitText(VarToStr(FVariables->GetVariable(Name)), Depth + 1);
    FExpanding.removeLast();
}

void TfrFunctionSplitter::SplitText(const QString& Text, int Depth)
{
    if (Depth > MaxDepth)
        throw EParserError(QStringLiteral("Expression is nested too deeply"));
    const QString S = Trim(Text);
    if (S.isEmpty() || S[0] == u'\'')
        return;
    const int N = int(S.size());
    int I = 0;
    while (I < N) {
        int K = I;
        // Blanks before a bracket group must not hide it ("[A] + [B]").
        while (K < N && S[K].unicode() <= ' ')
            ++K;
        if (K < N && S[K] == u'[') {
            int Open = 0, Close = 0;
            const QString Inner = GetBracketedText(S, K, Open, Close);
            if (FVariables && FVariables->IndexOf(Inner) >= 0)
                SplitVariable(Inner, Depth);
            else
                SplitText(Inner, Depth + 1);
            I = Close + 1;
            continue;
        }
        const QString Word = ReadIdentifier(S, K);
        if (K < N && S[K] == u'(') {
            const TfrFunctionArguments Args = ReadFunctionArguments(S, K);
            SplitText(Args.P1, Depth + 1);
            SplitText(Args.P2, Depth + 1);
            SplitText(Args.P3, Depth + 1);
            if (!Word.isEmpty() && IsMatchName(Word) && FSplitTo)
                FSplitTo->Add(S.mid(I, K - I));
        } else if (!Word.isEmpty() && FVariables && FVariables->IndexOf(Word) >= 0) {
            SplitVariable(Word, Depth);
        } else if (K < N && (S[K] == u'\r' || S[K] == u' ' || IsOperatorChar(S[K]))) {
            ++K;
        } else if (Word.isEmpty()) {
            break;
        }
        I = K;
    }
}

#include "report/engine/FR_Intrp.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/GbkText.h"
#include "report/engine/FR_Pars.h"

#include <QSet>

namespace {

// Limits of the stored form: line indexes are 16-bit, the label table holds
// 101 entries of at most 15 characters, and scripts stay below 32000 bytes.
constexpr int MaxScriptBytes = 32000;
constexpr int MaxLabels = 101;
constexpr int MaxLabelLength = 15;
constexpr int MaxLines = 65535;
constexpr int MaxNesting = 200;

const QString MsgNeedSemicolonOrEnd = QStringLiteral("Need \";\" or \"end\" here");
const QString MsgNeedThen = QStringLiteral("Need \"then\" here");
const QString MsgNeedSemicolonOrUntil = QStringLiteral("Need \";\" or \"until\" here");
const QString MsgNeedDo = QStringLiteral("Need \"do\" here");
const QString MsgNeedTo = QStringLiteral("Need \"to\" here");
const QString MsgGotoNumber = QStringLiteral("\"goto\" label must be a number");
const QString MsgNeedAssign = QStringLiteral("Need \":=\" here");
const QString MsgNeedParen = QStringLiteral("Need \")\" here");
const QString MsgNeedBracket = QStringLiteral("Need \"]\" here");
const QString MsgNeedCommaOrParen = QStringLiteral("Need \",\" or \")\" here");

bool IsDigit(QChar C)
{
    return C >= u'0' && C <= u'9';
}

bool IsNameStart(QChar C)
{
    return C.isLetter() || C == u'_';
}

bool IsNameChar(QChar C)
{
    return C.isLetterOrNumber() || C == u'.' || C == u'_';
}

QString BlankTarget()
{
    return QStringLiteral("  ");
}

// One compilation: the buffer with comments cut out, the position, the lines
// produced so far and the label table. Lives only inside CompileScript.
class TScriptCompiler
{
public:
    TScriptCompiler(const QStringList& Source, const TfrParser& Parser, QStringList& Errors)
        : FSource(Source), FParser(Parser), FErrors(Errors)
    {
    }

    QStringList Compile();

private:
    struct TCut
    {
        int Start;
        int Length;
    };
    struct TLabel
    {
        QString Text;
        int Line;
    };

    void BuildBuffer();
    bool CheckSize();

    QChar At(int P) const { return P < FBuf.size() ? FBuf[P] : QChar(0); }
    void SkipBlanks();
    QString GetToken();
    bool TakeOperator(std::initializer_list<QStringView> Ops);
    bool WordAt(int P, QStringView Word) const;
    bool VariableAhead() const;

    void Error(int Pos, const QString& Message);
    QString ErrorText(int Pos, const QString& Message) const;
    int AddLine(const QString& Line, int Pos);
    int AddJump(ushort Kind, const QString& Target, const QString& Text, int Pos);
    void Patch(int Line, int Target);

    void Statement(int Depth);
    bool LabelStatement(int Depth);
    void SimpleStatement(int Depth);
    void CallStatement(int Depth);
    void Compound(int Depth);
    int Condition(int Depth, QStringView Keyword, const QString& Missing);
    void IfStatement(int Depth);
    void RepeatStatement(int Depth);
    void WhileStatement(int Depth);
    void ForStatement(int Depth);
    void GotoStatement();
    bool ReadVariable(int Depth, QString& Name, QString& Index, bool& HasIndex);

    void Expression(int Depth);
    void SimpleExpression(int Depth);
    void Term(int Depth);
    void Factor(int Depth);
    void FunctionArguments(int Depth);

    void SecondPass();
    QString ConvertLine(const QString& Line) const;

    const QStringList& FSource;
    const TfrParser& FParser;
    QStringList& FErrors;
    QString FBuf;
    QList<TCut> FCuts;
    int FCur = 0;
    int FTokenStart = 0;
    bool FError = false;
    QStringList FLines;
    QList<int> FLinePos;
    QSet<int> FGotoLines;
    QList<TLabel> FLabels;
};

// ---------------------------------------------------------------- buffer

// Joins the lines, each ended by CR, tabs as blanks, and cuts out comments
// outside quoted text, remembering each cut to map positions back.
void TScriptCompiler::BuildBuffer()
{
    QString Raw;
    for (const QString& Line : FSource)
        Raw += Line + u'\r';
    for (QChar& C : Raw)
        if (C == u'\t' || C == QChar(0))
            C = u' ';
    FBuf.reserve(Raw.size());
    bool InQuotes = false;
    int I = 0;
    const int N = int(Raw.size());
    while (I < N) {
        const QChar C = Raw[I];
        if (C == u'\r') {
            InQuotes = false; // a quoted string never spans lines
        } else if (C == u'\'') {
            InQuotes = !InQuotes;
        } else if (!InQuotes && (C == u'{' || (C == u'/' && I + 1 < N && Raw[I + 1] == u'/'))) {
            int End = 0;
            if (C == u'{') {
                const int Close = int(Raw.indexOf(u'}', I));
                End = Close < 0 ? N : Close + 1;
            } else {
                const int Cr = int(Raw.indexOf(u'\r', I));
                End = Cr < 0 ? N : Cr;
            }
            FCuts.append(TCut{int(FBuf.size()), End - I});
            I = End;
            continue;
        }
        FBuf += C;
        ++I;
    }
}

bool TScriptCompiler::CheckSize()
{
    qsizetype Bytes = 0;
    for (int L = 0; L < FSource.size(); ++L) {
        Bytes += GbkLength(FSource[L]) + 1;
        if (Bytes >= MaxScriptBytes) {
            FErrors.append(QStringLiteral("Line %1/1: Script is too long").arg(L + 1));
            FError = true;
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------- tokens

void TScriptCompiler::SkipBlanks()
{
    while (FCur < FBuf.size() && FBuf[FCur].unicode() <= ' ')
        ++FCur;
}

// Tokens are runs of characters above blank, upper-cased; an empty token is
// one blank. FTokenStart keeps where it began, to unread it or report there.
QString TScriptCompiler::GetToken()
{
    SkipBlanks();
    FTokenStart = FCur;
    while (FCur < FBuf.size() && FBuf[FCur].unicode() > ' ')
        ++FCur;
    if (FCur == FTokenStart)
        return QStringLiteral(" ");
    return UpperCase(FBuf.mid(FTokenStart, FCur - FTokenStart));
}

// After a complete operand: takes the first of Ops that the next token begins
// with, else leaves the position right after the operand.
bool TScriptCompiler::TakeOperator(std::initializer_list<QStringView> Ops)
{
    const int Save = FCur;
    SkipBlanks();
    for (QStringView Op : Ops) {
        if (QStringView(FBuf).mid(FCur, Op.size()).compare(Op, Qt::CaseInsensitive) == 0) {
            FCur += int(Op.size());
            return true;
        }
    }
    FCur = Save;
    return false;
}

bool TScriptCompiler::WordAt(int P, QStringView Word) const
{
    return QStringView(FBuf).mid(P, Word.size()).compare(Word, Qt::CaseInsensitive) == 0
        && !IsNameChar(At(P + int(Word.size())));
}

// A name that is not directly followed by "(".
bool TScriptCompiler::VariableAhead() const
{
    int P = FCur;
    if (!IsNameStart(At(P)))
        return false;
    while (IsNameChar(At(P)))
        ++P;
    return At(P) != u'(';
}

// ---------------------------------------------------------------- output

QString TScriptCompiler::ErrorText(int Pos, const QString& Message) const
{
    while (Pos < FBuf.size() && FBuf[Pos].unicode() <= ' ')
        ++Pos;
    int P = Pos;
    for (const TCut& Cut : FCuts)
        if (Cut.Start <= Pos)
            P += Cut.Length;
    ++P;
    int Before = 0;
    int Line = 0;
    for (; Line < FSource.size(); ++Line) {
        const int Length = int(FSource[Line].size()) + 1;
        if (Before + Length >= P || Line == FSource.size() - 1)
            break;
        Before += Length;
    }
    // Past the last line (the end of the text) is the end of the last line.
    const int Column = Line < FSource.size() ? std::min(P - Before, int(FSource[Line].size()) + 1) : 1;
    return QStringLiteral("Line %1/%2: %3").arg(Line + 1).arg(Column).arg(Message);
}

// Only the first problem is reported: the enclosing compilers stop on it.
void TScriptCompiler::Error(int Pos, const QString& Message)
{
    if (FError)
        return;
    FError = true;
    FErrors.append(ErrorText(Pos, Message));
}

int TScriptCompiler::AddLine(const QString& Line, int Pos)
{
    if (FLines.size() >= MaxLines) {
        Error(Pos, QStringLiteral("Script is too long"));
        return int(FLines.size()) - 1;
    }
    FLines.append(Line);
    FLinePos.append(Pos);
    return int(FLines.size()) - 1;
}

int TScriptCompiler::AddJump(ushort Kind, const QString& Target, const QString& Text, int Pos)
{
    return AddLine(QChar(Kind) + Target + Text, Pos);
}

void TScriptCompiler::Patch(int Line, int Target)
{
    if (Line < 0 || Line >= FLines.size())
        return;
    const QString Index = TfrInterpretator::EncodeLineIndex(Target);
    FLines[Line][1] = Index[0];
    FLines[Line][2] = Index[1];
}

// ---------------------------------------------------------------- statements

void TScriptCompiler::Statement(int Depth)
{
    if (FError)
        return;
    if (Depth > MaxNesting) {
        Error(FCur, QStringLiteral("Statements are nested too deeply"));
        return;
    }
    const QString Token = GetToken();
    if (Token == u"BEGIN")
        Compound(Depth);
    else if (Token == u"IF")
        IfStatement(Depth);
    else if (Token == u"REPEAT")
        RepeatStatement(Depth);
    else if (Token == u"WHILE")
        WhileStatement(Depth);
    else if (Token == u"FOR")
        ForStatement(Depth);
    else if (Token == u"GOTO")
        GotoStatement();
    else {
        // END, END; and UNTIL end an empty statement; they belong to the caller.
        FCur = FTokenStart;
        if (Token == u"END" || Token == u"END;" || Token == u"UNTIL")
            return;
        if (LabelStatement(Depth))
            return;
        if (VariableAhead())
            SimpleStatement(Depth);
        else
            CallStatement(Depth);
    }
}

bool TScriptCompiler::LabelStatement(int Depth)
{
    int P = FCur;
    while (IsDigit(At(P)))
        ++P;
    if (P == FCur || At(P) != u':')
        return false;
    const QString Text = FBuf.mid(FCur, P + 1 - FCur).left(MaxLabelLength);
    bool Known = false;
    for (const TLabel& Label : FLabels)
        Known = Known || Label.Text == Text;
    if (!Known) {
        if (FLabels.size() >= MaxLabels) {
            Error(FCur, QStringLiteral("Too many labels"));
            return true;
        }
        FLabels.append(TLabel{Text, int(FLines.size())});
    }
    FCur = P + 1;
    Statement(Depth + 1);
    return true;
}

bool TScriptCompiler::ReadVariable(int Depth, QString& Name, QString& Index, bool& HasIndex)
{
    const int Start = FCur;
    while (IsNameChar(At(FCur)))
        ++FCur;
    Name = FBuf.mid(Start, FCur - Start);
    HasIndex = false;
    if (At(FCur) != u'[')
        return true;
    ++FCur;
    const int IndexStart = FCur;
    Expression(Depth + 1);
    if (FError)
        return false;
    SkipBlanks();
    if (At(FCur) != u']') {
        Error(FCur, MsgNeedBracket);
        return false;
    }
    Index = FBuf.mid(IndexStart, FCur - IndexStart);
    HasIndex = true;
    ++FCur;
    return true;
}

void TScriptCompiler::SimpleStatement(int Depth)
{
    const int Start = FCur;
    QString Name, Index;
    bool HasIndex = false;
    if (!ReadVariable(Depth, Name, Index, HasIndex))
        return;
    const QString VarText = FBuf.mid(Start, FCur - Start);
    const QString Token = GetToken();
    if (Token.startsWith(u';') || Token == u"END" || Token == u"END;" || Token == u"ELSE") {
        // A bare name is a procedure call with the argument 0 ("exit" ends a run).
        FCur = FTokenStart;
        AddLine(QChar(lkCall) + VarText.trimmed() + QStringLiteral("(0)"), Start);
        return;
    }
    if (!Token.startsWith(QStringLiteral(":="))) {
        Error(FTokenStart, MsgNeedAssign);
        return;
    }
    FCur = FTokenStart + 2;
    const int ValueStart = FCur;
    Expression(Depth + 1);
    if (FError)
        return;
    const QString Value = FBuf.mid(ValueStart, FCur - ValueStart);
    if (HasIndex)
        AddLine(QChar(lkCall) + QStringLiteral("SETARRAY(") + Name + QStringLiteral(", ") + Index.trimmed()
                    + QStringLiteral(", ") + Value.trimmed() + u')',
                Start);
    else
        AddLine(Name + u' ' + Value, Start);
}

void TScriptCompiler::CallStatement(int Depth)
{
    const int Start = FCur;
    Expression(Depth + 1);
    if (FError)
        return;
    // An empty statement, too, is a call line: its text is simply empty.
    AddLine(QChar(lkCall) + FBuf.mid(Start, FCur - Start).trimmed(), Start);
}

void TScriptCompiler::Compound(int Depth)
{
    QString Token;
    for (;;) {
        Statement(Depth + 1);
        if (FError)
            return;
        Token = GetToken();
        if (!Token.startsWith(u';'))
            break;
        FCur = FTokenStart + 1;
    }
    if (Token == u"END" || Token == u"END;")
        FCur = FTokenStart + 3; // a ";" after "end" is the enclosing list's
    else
        Error(FTokenStart, MsgNeedSemicolonOrEnd);
}

// A condition and the keyword after it: a conditional jump whose target is
// patched later; -1 after an error.
int TScriptCompiler::Condition(int Depth, QStringView Keyword, const QString& Missing)
{
    const int Start = FCur;
    Expression(Depth + 1);
    if (FError)
        return -1;
    const int CondLine = AddJump(lkCondJump, BlankTarget(), FBuf.mid(Start, FCur - Start), Start);
    if (GetToken() != Keyword) {
        Error(FTokenStart, Missing);
        return -1;
    }
    return CondLine;
}

void TScriptCompiler::IfStatement(int Depth)
{
    const int CondLine = Condition(Depth, u"THEN", MsgNeedThen);
    if (CondLine < 0)
        return;
    Statement(Depth + 1);
    if (FError)
        return;
    if (GetToken() == u"ELSE") {
        const int JumpLine = AddJump(lkJump, BlankTarget(), QString(), FTokenStart);
        Patch(CondLine, int(FLines.size()));
        Statement(Depth + 1);
        if (FError)
            return;
        Patch(JumpLine, int(FLines.size()));
    } else {
        Patch(CondLine, int(FLines.size()));
        FCur = FTokenStart;
    }
}

void TScriptCompiler::RepeatStatement(int Depth)
{
    const int First = int(FLines.size());
    for (;;) {
        Statement(Depth + 1);
        if (FError)
            return;
        const QString Token = GetToken();
        if (Token == u"UNTIL")
            break;
        if (!Token.startsWith(u';')) {
            Error(FTokenStart, MsgNeedSemicolonOrUntil);
            return;
        }
        FCur = FTokenStart + 1;
    }
    const int Start = FCur;
    Expression(Depth + 1);
    if (FError)
        return;
    AddJump(lkCondJump, TfrInterpretator::EncodeLineIndex(First), FBuf.mid(Start, FCur - Start), Start);
}

void TScriptCompiler::WhileStatement(int Depth)
{
    const int First = int(FLines.size());
    const int Start = FCur;
    const int CondLine = Condition(Depth, u"DO", MsgNeedDo);
    if (CondLine < 0)
        return;
    Statement(Depth + 1);
    if (FError)
        return;
    AddJump(lkJump, TfrInterpretator::EncodeLineIndex(First), QString(), Start);
    Patch(CondLine, int(FLines.size()));
}

void TScriptCompiler::ForStatement(int Depth)
{
    SkipBlanks();
    const int Start = FCur;
    QString Name, Index;
    bool HasIndex = false;
    if (!ReadVariable(Depth, Name, Index, HasIndex))
        return;
    if (!GetToken().startsWith(QStringLiteral(":="))) {
        Error(FTokenStart, MsgNeedAssign);
        return;
    }
    // The loop variable as written before ":=", trailing blanks included.
    const QString Var = FBuf.mid(Start, FTokenStart - Start);
    FCur = FTokenStart + 2;
    const int ValueStart = FCur;
    Expression(Depth + 1);
    if (FError)
        return;
    AddLine(Name + u' ' + FBuf.mid(ValueStart, FCur - ValueStart), Start);
    if (GetToken() != u"TO") {
        Error(FTokenStart, MsgNeedTo);
        return;
    }
    const int BoundStart = FCur;
    Expression(Depth + 1);
    if (FError)
        return;
    const QString Bound = FBuf.mid(BoundStart, FCur - BoundStart);
    const int CondLine = AddJump(lkCondJump, BlankTarget(), Var + QStringLiteral("<=") + Bound, BoundStart);
    if (GetToken() != u"DO") {
        Error(FTokenStart, MsgNeedDo);
        return;
    }
    Statement(Depth + 1);
    if (FError)
        return;
    AddLine(Var + u' ' + Var + QStringLiteral("+1"), Start);
    AddJump(lkJump, TfrInterpretator::EncodeLineIndex(CondLine), QString(), Start);
    Patch(CondLine, int(FLines.size()));
}

void TScriptCompiler::GotoStatement()
{
    SkipBlanks();
    const int Start = FCur;
    while (IsDigit(At(FCur)))
        ++FCur;
    const QString Digits = FBuf.mid(Start, FCur - Start);
    if (Digits.isEmpty())
        Error(Start, MsgGotoNumber);
    // The label's digits stand in for the target until the second pass.
    FGotoLines.insert(AddLine(QChar(lkJump) + Digits, Start));
}

// ---------------------------------------------------------------- expressions
// Checked here, translated to postfix in the second pass.

void TScriptCompiler::Expression(int Depth)
{
    SimpleExpression(Depth);
    if (FError)
        return;
    if (TakeOperator({u">=", u"<=", u"<>", u">", u"<", u"="}))
        SimpleExpression(Depth);
}

void TScriptCompiler::SimpleExpression(int Depth)
{
    Term(Depth);
    while (!FError && TakeOperator({u"+", u"-", u"OR"}))
        Term(Depth);
}

void TScriptCompiler::Term(int Depth)
{
    Factor(Depth);
    while (!FError && TakeOperator({u"*", u"/", u"AND", u"MOD"}))
        Factor(Depth);
}

void TScriptCompiler::Factor(int Depth)
{
    if (Depth > MaxNesting) {
        Error(FCur, QStringLiteral("Expression is nested too deeply"));
        return;
    }
    SkipBlanks();
    const QChar C = At(FCur);
    if (C == u'(') {
        ++FCur;
        Expression(Depth + 1);
        if (FError)
            return;
        SkipBlanks();
        if (At(FCur) != u')') {
            Error(FCur, MsgNeedParen);
            return;
        }
        ++FCur;
    } else if (C == u'[') {
        int Open = 0, Close = 0;
        GetBracketedText(FBuf, FCur, Open, Close);
        if (Close >= FBuf.size()) {
            Error(FCur, MsgNeedBracket);
            return;
        }
        FCur = Close + 1;
    } else if (C == u'+' || C == u'-') {
        ++FCur;
        Expression(Depth + 1);
    } else if (WordAt(FCur, u"NOT")) {
        FCur += 3;
        Expression(Depth + 1);
    } else if (IsNameStart(C)) {
        while (IsNameChar(At(FCur)))
            ++FCur;
        if (At(FCur) == u'(') {
            FunctionArguments(Depth + 1);
        } else if (At(FCur) == u'[') {
            ++FCur;
            Expression(Depth + 1);
            if (FError)
                return;
            SkipBlanks();
            if (At(FCur) != u']') {
                Error(FCur, MsgNeedBracket);
                return;
            }
            ++FCur;
        }
    } else if (IsDigit(C)) {
        while (IsDigit(At(FCur)))
            ++FCur;
        if (At(FCur) == u'.') {
            ++FCur;
            while (IsDigit(At(FCur)))
                ++FCur;
        }
    } else if (C == u'\'') {
        ReadQuotedString(FBuf, FCur);
    }
    // Anything else is no operand; the caller's next token tells what is wrong.
}

void TScriptCompiler::FunctionArguments(int Depth)
{
    ++FCur; // "("
    SkipBlanks();
    if (At(FCur) == u')') {
        ++FCur;
        return;
    }
    for (;;) {
        Expression(Depth);
        if (FError)
            return;
        SkipBlanks();
        if (At(FCur) == u',') {
            ++FCur;
        } else if (At(FCur) == u')') {
            ++FCur;
            return;
        } else {
            Error(FCur, MsgNeedCommaOrParen);
            return;
        }
    }
}

// ---------------------------------------------------------------- second pass

QString TScriptCompiler::ConvertLine(const QString& Line) const
{
    const ushort Kind = Line.isEmpty() ? 0 : Line[0].unicode();
    if (Kind == lkCondJump)
        return Line.left(3) + FParser.ConvertToPostfix(Line.mid(3));
    if (Kind == lkCall)
        return Line.left(1) + FParser.ConvertToPostfix(Line.mid(1));
    // Assignment: the target word and the blank after it stay as written.
    int P = 0;
    const int N = int(Line.size());
    while (P < N && Line[P].unicode() <= ' ')
        ++P;
    while (P < N && Line[P].unicode() > ' ')
        ++P;
    const int Keep = std::min(P + 1, N);
    return Line.left(Keep) + FParser.ConvertToPostfix(Line.mid(Keep));
}

void TScriptCompiler::SecondPass()
{
    const bool Reported = FError;
    for (int I = 0; I < FLines.size(); ++I) {
        QString& Line = FLines[I];
        if (Line.isEmpty())
            continue;
        if (Line[0].unicode() == lkJump) {
            if (!FGotoLines.contains(I))
                continue;
            // Labels are kept cut to their stored length; so is the goto's text.
            const QString Wanted = (Line.mid(1) + u':').left(MaxLabelLength);
            bool Found = false;
            for (const TLabel& Label : FLabels) {
                if (Label.Text == Wanted) {
                    Line = QChar(lkJump) + TfrInterpretator::EncodeLineIndex(Label.Line) + Line.mid(3);
                    Found = true;
                    break;
                }
            }
            // A jump to nowhere would run on into whatever its digits encode.
            if (!Found && Line.size() > 1 && !Reported) {
                FErrors.append(ErrorText(FLinePos[I],
                                         QStringLiteral("Label \"%1\" is not defined").arg(Line.mid(1))));
                FError = true;
            }
            continue;
        }
        try {
            Line = ConvertLine(Line);
        } catch (const Exception& E) {
            if (!FError) {
                FErrors.append(ErrorText(FLinePos[I], E.Message()));
                FError = true;
            }
        }
    }
}

QStringList TScriptCompiler::Compile()
{
    if (!CheckSize())
        return {};
    BuildBuffer();
    Statement(0);
    if (!FError) {
        // The top level is one statement; more text would be silently lost.
        SkipBlanks();
        while (At(FCur) == u';') {
            ++FCur;
            SkipBlanks();
        }
        if (FCur < FBuf.size())
            Error(FCur, QStringLiteral("Unexpected text here; several statements need \"begin\" and \"end\""));
    }
    FBuf.clear();
    SecondPass();
    return FLines;
}

} // namespace

// ---------------------------------------------------------------- TfrInterpretator

TfrInterpretator::TfrInterpretator() : FParser(std::make_unique<TfrParser>())
{
    FParser->OnGetValue = [this](TfrParser*, const QString& Name, Variant& Value) { GetValue(Name, Value); };
    FParser->OnFunction = [this](TfrParser*, const QString& Name, const Variant& P1, const Variant& P2,
                                 const Variant& P3, Variant& Value) { DoFunction(Name, P1, P2, P3, Value); };
}

TfrInterpretator::~TfrInterpretator() = default;

void TfrInterpretator::GetValue(const QString&, Variant&) {}

void TfrInterpretator::SetValue(const QString&, const Variant&) {}

void TfrInterpretator::DoFunction(const QString&, const Variant&, const Variant&, const Variant&, Variant&) {}

bool TfrInterpretator::Terminated()
{
    return false;
}

QString TfrInterpretator::EncodeLineIndex(int Index)
{
    const int I = std::clamp(Index, 0, 0xFFFF);
    return QString(QChar(ushort(I & 0xFF))) + QChar(ushort(I >> 8));
}

int TfrInterpretator::DecodeLineIndex(const QString& Line)
{
    if (Line.size() < 3)
        return -1;
    return (Line[1].unicode() & 0xFF) | ((Line[2].unicode() & 0xFF) << 8);
}

void TfrInterpretator::CompileScript(const TStrings& Source, TStrings& Compiled, TStrings& Errors)
{
    const QStringList Lines = Source.ToStringList();
    Compiled.Clear();
    Errors.Clear();
    QStringList ErrorLines;
    TScriptCompiler Compiler(Lines, *FParser, ErrorLines);
    const QStringList Result = Compiler.Compile();
    Compiled.BeginUpdate();
    for (const QString& Line : Result)
        Compiled.Add(Line);
    Compiled.EndUpdate();
    for (const QString& Line : ErrorLines)
        Errors.Add(Line);
}

void TfrInterpretator::RunScript(const TStrings& Compiled)
{
    const int Count = Compiled.Count();
    int I = 0;
    while (I < Count) {
        const QString Line = Compiled.Strings(I);
        if (Line.isEmpty()) {
            ++I;
            continue;
        }
        int Next = I + 1;
        switch (Line[0].unicode()) {
        case lkCondJump: {
            const Variant Condition = FParser->EvaluatePostfix(Line.mid(3));
            if (VarEquals(Condition, Variant(0)))
                Next = DecodeLineIndex(Line);
            break;
        }
        case lkJump:
            Next = DecodeLineIndex(Line);
            break;
        case lkCall: {
            const QString Call = Line.mid(1);
            if (UpperCase(Call) == QLatin1String("EXIT(0)"))
                return;
            FParser->EvaluatePostfix(Call);
            break;
        }
        default: {
            int P = 0;
            while (P < Line.size() && Line[P].unicode() > ' ')
                ++P;
            const Variant Value = FParser->EvaluatePostfix(Line.mid(P + 1));
            SetValue(Line.left(P), Value);
            break;
        }
        }
        // A damaged jump line without its target ends the run.
        if (Next < 0)
            return;
        if (Next <= I && Terminated())
            return;
        I = Next;
    }
}

void TfrInterpretator::SplitExpressions(const TStrings& Compiled, const TStrings& MatchNames, TStrings& SplitTo,
                                        const TfrVariables* Variables)
{
    TfrFunctionSplitter Splitter(&MatchNames, &SplitTo, Variables);
    for (int I = 0; I < Compiled.Count(); ++I) {
        const QString Line = Compiled.Strings(I);
        if (Line.isEmpty())
            continue;
        switch (Line[0].unicode()) {
        case lkCondJump:
            Splitter.Split(Line.mid(3));
            break;
        case lkJump:
            break; // nothing but a target
        case lkCall:
            Splitter.Split(Line.mid(1));
            break;
        default: {
            int P = 0;
            while (P < Line.size() && Line[P].unicode() <= ' ')
                ++P;
            while (P < Line.size() && Line[P].unicode() > ' ')
                ++P;
            Splitter.Split(Line.mid(P));
            break;
        }
        }
    }
}

// The report expression language: TfrParser turns infix text into the postfix
// text that templates and compiled scripts store, and evaluates postfix text on
// a value stack. It knows no names: every name, bracketed text and function
// other than COPY, IF, STRTODATE and STRTOTIME goes to the two callbacks.
// TfrFunctionSplitter finds calls of given functions inside an expression.
// The value rules themselves belong to Variant; nothing here redefines them.
#pragma once

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Variants.h"
#include "report/engine/FR_Variables.h"

#include <QString>
#include <QStringList>
#include <functional>

class TStrings;

// Raised for malformed expressions: unbalanced parentheses, too many pending
// values, nesting too deep, and names that expand into themselves.
class EParserError : public Exception
{
    using Exception::Exception;
};

// One-byte operator codes of the postfix text; "*", "+", "-", "/", "<", "=" and
// ">" stand for themselves. Code 8 is not used.
enum TfrOperatorCode : ushort {
    ttGe = 1,
    ttLe = 2,
    ttNe = 3,
    ttOr = 4,
    ttAnd = 5,
    ttInt = 6,
    ttFrac = 7,
    ttUnMinus = 9,
    ttUnPlus = 10,
    ttStr = 11,
    ttNot = 12,
    ttMod = 13,
    ttRound = 14,
};

// Argument texts of a call, unevaluated; missing ones are empty.
struct TfrFunctionArguments
{
    QString P1;
    QString P2;
    QString P3;
};

class TfrParser
{
public:
    // Must store the value of Name (a bracket group's inner text with its case
    // kept, or an upper-cased word). The value arrives preset to null.
    std::function<void(TfrParser* Sender, const QString& Name, Variant& Value)> OnGetValue;
    // Must store the result of a call. P1..P3 are the argument texts as string
    // values; the callee evaluates them as it needs, normally with Calc.
    std::function<void(TfrParser* Sender, const QString& Name, const Variant& P1,
                       const Variant& P2, const Variant& P3, Variant& Value)>
        OnFunction;

    QString ConvertToPostfix(const QString& Text) const;
    Variant EvaluatePostfix(const QString& Postfix);
    // ConvertToPostfix, then EvaluatePostfix.
    Variant Calc(const QString& Text);

    // Priority class of an operator code: a smaller class binds tighter.
    static int OperatorPriority(QChar Op);

private:
    class TValueStack;
    void EvaluateWord(const QString& S, int& Pos, TValueStack& Stack);
    Variant CallFunction(const QString& Name, const TfrFunctionArguments& Args);

    int FDepth = 0; // evaluations in progress; built-ins and callbacks re-enter
};

// Scanning helpers shared by the parser, the splitter, the script compiler and
// the memo view. Positions are 0-based indexes into the text.

// Skips characters up to blank, then reads up to a delimiter outside double
// quotes (CR, blank, ( ) * + - / < = > [). Pos stops on the delimiter.
QString ReadIdentifier(const QString& S, int& Pos);
// From the opening quote at Pos to the closing one, doubled quotes kept doubled;
// the result includes both quotes and Pos ends after the closing quote.
QString ReadQuotedString(const QString& S, int& Pos);
// Start must be at "["; Open and Close become the positions of that "[" and its
// matching "]", the result is the text between. Quotes hide brackets. When Start
// is not at "[" the result is empty and Close equals Start; when no "]" matches,
// the result runs to the end and Close is the text's length.
QString GetBracketedText(const QString& S, int Start, int& Open, int& Close);
// Pos at the "(" after a function name; splits at commas at depth 1 outside
// single quotes up to the matching ")" and leaves Pos after it. At most three
// pieces: with four or more, P2 holds the last-but-one and the last is dropped.
// Raises EParserError when the parentheses do not balance.
TfrFunctionArguments ReadFunctionArguments(const QString& S, int& Pos);

class TfrFunctionSplitter
{
public:
    // MatchNames, SplitTo and Variables are not owned; Variables may be null.
    TfrFunctionSplitter(const TStrings* MatchNames, TStrings* SplitTo, const TfrVariables* Variables);

    // Appends to SplitTo the text of every call of a match name inside Text,
    // expanding bracketed and plain names of variables on the way. A variable
    // that refers back to itself raises EParserError "Undefined symbol".
    void Split(const QString& Text);

private:
    void SplitText(const QString& Text, int Depth);
    void SplitVariable(const QString& Name, int Depth);
    bool IsMatchName(const QString& Name) const;

    const TStrings* FMatchFuncs;
    TStrings* FSplitTo;
    const TfrVariables* FVariables;
    QStringList FExpanding; // variable names being expanded, innermost last
};

// TfrInterpretator: the report script language. CompileScript turns a script
// into short instruction lines (conditional jump, jump, call, assignment) whose
// expressions are stored as postfix text; RunScript runs such lines. Names,
// assignments and calls reach the three virtual operations, which the report
// side overrides; the base knows no report and does nothing with them.
#pragma once

#include "platform/rtl/Variants.h"

#include <QString>
#include <memory>

class TStrings;
class TfrParser;
class TfrVariables;

// First character of a compiled line; any other character starts an assignment.
enum TfrScriptLineKind : ushort {
    lkCondJump = 1, // kind, 16-bit target (low, high), postfix condition
    lkJump = 2,     // kind, 16-bit target
    lkCall = 3,     // kind, postfix call expression
};

class TfrInterpretator
{
public:
    TfrInterpretator();
    virtual ~TfrInterpretator();
    TfrInterpretator(const TfrInterpretator&) = delete;
    TfrInterpretator& operator=(const TfrInterpretator&) = delete;

    virtual void GetValue(const QString& Name, Variant& Value);
    virtual void SetValue(const QString& Name, const Variant& Value);
    virtual void DoFunction(const QString& Name, const Variant& P1, const Variant& P2,
                            const Variant& P3, Variant& Value);
    // Source and Compiled may be the same list. Problems go to Errors only, as
    // "Line n/m: message"; whatever was compiled is left in Compiled.
    virtual void CompileScript(const TStrings& Source, TStrings& Compiled, TStrings& Errors);
    // Run-time errors of expressions and callbacks propagate to the caller.
    virtual void RunScript(const TStrings& Compiled);

    // Applies a TfrFunctionSplitter to the expression of every compiled line.
    void SplitExpressions(const TStrings& Compiled, const TStrings& MatchNames, TStrings& SplitTo,
                          const TfrVariables* Variables);

    TfrParser* Parser() const { return FParser.get(); }

    // Builds the target bytes of a jump line.
    static QString EncodeLineIndex(int Index);
    static int DecodeLineIndex(const QString& Line);

protected:
    // Asked on every backward jump; true ends the run, so that an endless script
    // loop can be stopped. The report side answers its stop flag here.
    virtual bool Terminated();

private:
    std::unique_ptr<TfrParser> FParser;
};

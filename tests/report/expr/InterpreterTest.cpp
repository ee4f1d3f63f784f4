// Script compilation into lines, compile errors with line and column, and runs.
#include "ExprTestText.h"
#include "platform/rtl/Classes.h"
#include "report/engine/FR_Intrp.h"
#include "report/engine/FR_Pars.h"

#include <gtest/gtest.h>

namespace {

// Keeps variables, logs assignments and calls, and can stop after a number of
// backward jumps.
class TTraceInterpretator : public TfrInterpretator
{
public:
    void GetValue(const QString& Name, Variant& Value) override
    {
        if (Vars.IndexOf(Name) >= 0)
            Value = Vars.GetVariable(Name);
    }
    void SetValue(const QString& Name, const Variant& Value) override
    {
        Trace << Name + u'=' + Value.AsString();
        Vars.SetVariable(Name, Value);
    }
    void DoFunction(const QString& Name, const Variant& P1, const Variant& P2, const Variant& P3,
                    Variant& Value) override
    {
        Trace << Name + u'(' + P1.AsString() + u'|' + P2.AsString() + u'|' + P3.AsString() + u')';
        Value = Variant(0);
    }
    bool Terminated() override { return ++BackJumps > StopAfter; }

    TfrVariables Vars;
    QStringList Trace;
    int BackJumps = 0;
    int StopAfter = 1000000;
};

struct TCompiled
{
    QString Lines;
    QString Errors;
};

TCompiled Compile(TfrInterpretator& I, const QStringList& Source)
{
    TStringList Src(Source), Out, Err;
    I.CompileScript(Src, Out, Err);
    QStringList Shown;
    for (int L = 0; L < Out.Count(); ++L)
        Shown << ShowLine(Out.Strings(L));
    return {Shown.join(QStringLiteral(" ; ")), Err.ToStringList().join(u'|')};
}

struct TCompileRow
{
    const char* Name;
    const char16_t* Source; // lines separated by \n
    const char16_t* Lines;  // compiled lines, " ; " between
};

const TCompileRow CompileRows[] = {
    {"Compound", u"begin a := 1; b := a + 1 end", u"set a 1  ; set b a 1 +"},
    {"SingleStatement", u"a := 1", u"set a 1 "},
    {"TrailingSemicolon", u"a := 1;", u"set a 1 "},
    {"CaseKeptInTarget", u"Memo1.Visible := False", u"set Memo1.Visible False "},
    {"IfElse", u"if [X] > 1 then a := 1 else a := 2",
     u"if0 ->3 [X] 1 > ; set a 1  ; goto 4 ; set a 2 "},
    {"IfWithoutElse", u"begin if a then b := 1; c := 2 end", u"if0 ->2 a  ; set b 1  ; set c 2 "},
    {"While", u"while i < 3 do i := i + 1", u"if0 ->3 i 3 < ; set i i 1 + ; goto 0"},
    {"For", u"for i := 1 to 3 do s := s + 1",
     u"set i 1  ; if0 ->5 i 3 {2} ; set s s 1 + ; set i i 1 + ; goto 1"},
    {"Repeat", u"repeat i := i + 1 until i >= 3", u"set i i 1 + ; if0 ->0 i 3 {1}"},
    {"RepeatList", u"repeat a := 1; b := 2; until b", u"set a 1  ; set b 2  ; if0 ->0 b "},
    {"GotoLabel", u"begin goto 10; a := 1; 10: exit end", u"goto 2 ; set a 1  ; call exit(0)"},
    {"LabelFirstDefinitionWins", u"begin 5: a := 1; 5: b := 2; goto 5 end", u"set a 1  ; set b 2  ; goto 0"},
    {"BareNameIsCall", u"begin newpage; exit end", u"call newpage(0) ; call exit(0)"},
    {"CallAsWritten", u"begin showband(Band1); exit(0) end", u"call showband(Band1) ; call exit(0)"},
    {"ArrayAssignment", u"Arr[2] := 5", u"call SETARRAY(Arr, 2, 5)"},
    {"NestedBlocks", u"begin begin a := 1 end; b := 2 end", u"set a 1  ; set b 2 "},
    {"EndWithSemicolon", u"begin if x then begin a := 1 end; b := 2 end;", u"if0 ->2 x  ; set a 1  ; set b 2 "},
    {"Comments", u"begin { note } a := 1; // x\nb := 2 end { tail }", u"set a 1  ; set b 2 "},
    {"CommentMarksInString", u"a := '{x} //y'", u"set a '{x} //y' "},
    {"FunctionsInsideExpressions", u"a := IF([X] > 1, 'a', COPY([S], 1, 2)) + 'z'",
     u"set a IF([X] > 1, 'a', COPY([S], 1, 2))'z' +"},
    {"TabsAreBlanks", u"begin\ta\t:=\t1\tend", u"set a 1 "},
    {"Empty", u"", u"call "},
    {"EmptyStatementIsACall", u"begin ; a := 1 end", u"call  ; set a 1 "},
    {"LongLabelCutToFifteen", u"begin goto 123456789012345678; a := 1; 123456789012345678: exit end",
     u"goto 2 ; set a 1  ; call exit(0)"},
    {"AndOrMod", u"a := b and c or d mod 2", u"set a b c {5}d {4}2 {13}"},
};

class InterpreterCompileTest : public ::testing::TestWithParam<TCompileRow>
{
};

TEST_P(InterpreterCompileTest, CompilesToLines)
{
    TfrInterpretator I;
    const TCompileRow& Row = GetParam();
    const TCompiled C = Compile(I, QString::fromUtf16(Row.Source).split(u'\n'));
    EXPECT_EQ(C.Errors, QString());
    EXPECT_EQ(C.Lines, QString::fromUtf16(Row.Lines));
}

INSTANTIATE_TEST_SUITE_P(Rows, InterpreterCompileTest, ::testing::ValuesIn(CompileRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(InterpreterCompile, LineBytes)
{
    TfrInterpretator I;
    TStringList Src(QStringList{QStringLiteral("if [X] > 1 then a := 1 else a := 2")}), Out, Err;
    I.CompileScript(Src, Out, Err);
    ASSERT_EQ(Out.Count(), 4);
    EXPECT_EQ(Out.Strings(0), QString(QChar(1)) + QChar(3) + QChar(0) + QStringLiteral("[X] 1 >"));
    EXPECT_EQ(Out.Strings(1), QStringLiteral("a 1 "));
    EXPECT_EQ(Out.Strings(2), QString(QChar(2)) + QChar(4) + QChar(0));
}

TEST(InterpreterCompile, SourceAndCompiledMayBeOneList)
{
    TfrInterpretator I;
    TStringList Script(QStringList{QStringLiteral("begin"), QStringLiteral("  a := 1;"), QStringLiteral("  b := 2"),
                                   QStringLiteral("end")});
    TStringList Err;
    I.CompileScript(Script, Script, Err);
    EXPECT_EQ(Script.ToStringList(), QStringList({QStringLiteral("a 1 "), QStringLiteral("b 2 ")}));
    EXPECT_EQ(Err.Count(), 0);
}

TEST(InterpreterCompile, LongLabelKeepsItsTrailingDigits)
{
    TfrInterpretator I;
    TStringList Src(QStringList{QStringLiteral("begin goto 1234; 1234: a := 1 end")}), Out, Err;
    I.CompileScript(Src, Out, Err);
    ASSERT_EQ(Out.Count(), 2);
    EXPECT_EQ(Out.Strings(0), QString(QChar(2)) + QChar(1) + QChar(0) + QStringLiteral("34"));
}

struct TErrorRow
{
    const char* Name;
    const char16_t* Source;
    const char16_t* Error;
};

const TErrorRow ErrorRows[] = {
    {"EqualsForAssign", u"a = 1", u"Line 1/3: Need \":=\" here"},
    {"BlankBeforeParenthesis", u"exit (0)", u"Line 1/6: Need \":=\" here"},
    {"BareNameAtEnd", u"newpage", u"Line 1/8: Need \":=\" here"},
    {"CompoundNeedsSemicolon", u"begin a := 1 b := 2 end", u"Line 1/14: Need \";\" or \"end\" here"},
    {"CompoundUnclosed", u"begin a := 1", u"Line 1/13: Need \";\" or \"end\" here"},
    {"IfNeedsThen", u"if a b := 1", u"Line 1/6: Need \"then\" here"},
    {"RepeatNeedsUntil", u"repeat a := 1 b", u"Line 1/15: Need \";\" or \"until\" here"},
    {"WhileNeedsDo", u"while a a := 1", u"Line 1/9: Need \"do\" here"},
    {"ForNeedsTo", u"for i := 1 do a := 1", u"Line 1/12: Need \"to\" here"},
    {"ForNeedsDo", u"for i := 1 to 3 a := 1", u"Line 1/17: Need \"do\" here"},
    {"GotoNeedsNumber", u"goto x", u"Line 1/6: \"goto\" label must be a number"},
    {"FactorNeedsParenthesis", u"a := (1 + 2;", u"Line 1/12: Need \")\" here"},
    {"BracketNeedsClose", u"a := [X", u"Line 1/6: Need \"]\" here"},
    {"IndexNeedsClose", u"Arr[1 := 2", u"Line 1/7: Need \"]\" here"},
    {"ArgumentsNeedCommaOrParen", u"a := f(1 2)", u"Line 1/10: Need \",\" or \")\" here"},
    {"SecondLine", u"begin\n  a := 1;\n  b = 2\nend", u"Line 3/5: Need \":=\" here"},
    {"AfterBraceComment", u"{ comment }\na = 1", u"Line 2/3: Need \":=\" here"},
    {"AfterLineComment", u"// note\na = 1", u"Line 2/3: Need \":=\" here"},
    {"AfterMultiLineComment", u"begin { one\ntwo } a := 1; b = 2 end", u"Line 2/17: Need \":=\" here"},
    {"UnknownLabel", u"begin goto 5; a := 1 end", u"Line 1/12: Label \"5\" is not defined"},
    {"StatementsWithoutBegin", u"a := 1; b := 2",
     u"Line 1/9: Unexpected text here; several statements need \"begin\" and \"end\""},
    {"TextAfterEnd", u"begin a := 1 end b", u"Line 1/18: Unexpected text here; several statements need \"begin\" and \"end\""},
};

class InterpreterErrorTest : public ::testing::TestWithParam<TErrorRow>
{
};

TEST_P(InterpreterErrorTest, ReportsLineAndColumn)
{
    TfrInterpretator I;
    const TErrorRow& Row = GetParam();
    EXPECT_EQ(Compile(I, QString::fromUtf16(Row.Source).split(u'\n')).Errors, QString::fromUtf16(Row.Error));
}

INSTANTIATE_TEST_SUITE_P(Rows, InterpreterErrorTest, ::testing::ValuesIn(ErrorRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(InterpreterCompile, OversizedScriptsAreRejected)
{
    TfrInterpretator I;
    QStringList Long;
    for (int L = 0; L < 2000; ++L)
        Long << QStringLiteral("a := 1234567890;");
    const TCompiled C = Compile(I, QStringList{QStringLiteral("begin")} + Long + QStringList{QStringLiteral("end")});
    EXPECT_TRUE(C.Errors.endsWith(QStringLiteral("Script is too long"))) << C.Errors.toStdString();

    QStringList Labels{QStringLiteral("begin")};
    for (int L = 0; L < 102; ++L)
        Labels << QStringLiteral("%1: a := 1;").arg(L);
    Labels << QStringLiteral("end");
    EXPECT_EQ(Compile(I, Labels).Errors, QStringLiteral("Line 103/1: Too many labels"));
}

TEST(InterpreterCompile, DeepNestingFailsCleanly)
{
    TfrInterpretator I;
    const QString Deep = QStringLiteral("a := ") + QString(3000, u'(') + u'1' + QString(3000, u')');
    EXPECT_TRUE(Compile(I, {Deep}).Errors.contains(QStringLiteral("nested too deeply")));
    const QString Blocks = QStringLiteral("begin ").repeated(3000) + QStringLiteral("end ").repeated(3000);
    EXPECT_TRUE(Compile(I, {Blocks}).Errors.contains(QStringLiteral("nested too deeply")));
}

TEST(InterpreterCompile, AnyShortTextCompilesOrReports)
{
    TfrInterpretator I;
    const QStringList Pieces = {QStringLiteral("begin"), QStringLiteral("end"), QStringLiteral(";"),
                                QStringLiteral(":="), QStringLiteral("a"), QStringLiteral("if"),
                                QStringLiteral("then"), QStringLiteral("else"), QStringLiteral("1:"),
                                QStringLiteral("goto 1"), QStringLiteral("("), QStringLiteral("'x"),
                                QStringLiteral("{"), QStringLiteral("repeat"), QStringLiteral("until")};
    for (const QString& A : Pieces)
        for (const QString& B : Pieces)
            for (const QString& C : Pieces) {
                TStringList Src(QStringList{A + u' ' + B + u' ' + C}), Out, Err;
                I.CompileScript(Src, Out, Err);
            }
    SUCCEED();
}

// ---------------------------------------------------------------- runs

struct TRunRow
{
    const char* Name;
    const char16_t* Source;
    const char16_t* Trace; // assignments and calls in order
};

const TRunRow RunRows[] = {
    {"Assignments", u"begin a := 1; b := a + 1 end", u"a=1|b=2"},
    {"IfThen", u"begin x := 5; if x > 1 then a := 1 else a := 2 end", u"x=5|a=1"},
    {"IfElse", u"begin x := 0; if x > 1 then a := 1 else a := 2 end", u"x=0|a=2"},
    {"IfBoolean", u"if TRUE then a := 1 else a := 2", u"a=1"},
    {"While", u"begin i := 0; while i < 3 do i := i + 1 end", u"i=0|i=1|i=2|i=3"},
    {"For", u"begin s := 0; for i := 1 to 3 do s := s + 1 end", u"s=0|i=1|s=1|i=2|s=2|i=3|s=3|i=4"},
    {"ForEmptyRange", u"for i := 3 to 1 do s := 1", u"i=3"},
    {"Repeat", u"begin i := 0; repeat i := i + 1 until i >= 3 end", u"i=0|i=1|i=2|i=3"},
    {"Goto", u"begin goto 10; a := 1; 10: b := 2 end", u"b=2"},
    {"GotoBackward", u"begin i := 0; 1: i := i + 1; if i < 2 then goto 1 end", u"i=0|i=1|i=2"},
    {"Exit", u"begin a := 1; exit; a := 2 end", u"a=1"},
    {"ExitCall", u"begin a := 1; EXIT(0); a := 2 end", u"a=1"},
    {"Procedures", u"begin newpage; showband(Band1) end", u"NEWPAGE(0||)|SHOWBAND(Band1||)"},
    {"ArraySet", u"Arr[1 + 1] := 'x'", u"SETARRAY(Arr| 1 + 1| 'x')"},
    {"ArrayGet", u"a := Arr[2]", u"GETARRAY(Arr| 2|)|a=0"},
};

class InterpreterRunTest : public ::testing::TestWithParam<TRunRow>
{
};

TEST_P(InterpreterRunTest, Runs)
{
    TTraceInterpretator I;
    const TRunRow& Row = GetParam();
    TStringList Src(QString::fromUtf16(Row.Source).split(u'\n')), Out, Err;
    I.CompileScript(Src, Out, Err);
    ASSERT_EQ(Err.Count(), 0) << Err.Strings(0).toStdString();
    I.RunScript(Out);
    EXPECT_EQ(I.Trace.join(u'|'), QString::fromUtf16(Row.Trace));
}

INSTANTIATE_TEST_SUITE_P(Rows, InterpreterRunTest, ::testing::ValuesIn(RunRows),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(InterpreterRun, EndlessLoopStopsOnTheStopFlag)
{
    TTraceInterpretator I;
    I.StopAfter = 5;
    TStringList Src(QStringList{QStringLiteral("begin a := 0; while 1 do a := a + 1 end")}), Out, Err;
    I.CompileScript(Src, Out, Err);
    I.RunScript(Out);
    EXPECT_EQ(ShowValue(I.Vars.GetVariable(QStringLiteral("a"))), QStringLiteral("D:6"));
    EXPECT_EQ(I.BackJumps, 6);
}

TEST(InterpreterRun, RunTimeErrorsPropagate)
{
    TTraceInterpretator I;
    TStringList Src(QStringList{QStringLiteral("begin a := 1; b := 'x' + 1; c := 3 end")}), Out, Err;
    I.CompileScript(Src, Out, Err);
    EXPECT_THROW(I.RunScript(Out), Exception);
    EXPECT_EQ(I.Trace.join(u'|'), QStringLiteral("a=1"));
}

TEST(InterpreterRun, DamagedLinesEndTheRun)
{
    TTraceInterpretator I;
    TStringList Lines(QStringList{QStringLiteral("a 1 "), QString(QChar(lkJump)), QStringLiteral("b 2 ")});
    I.RunScript(Lines);
    TStringList Far(QStringList{QString(QChar(lkJump)) + QChar(0xFF) + QChar(0xFF), QStringLiteral("c 3 ")});
    I.RunScript(Far);
    EXPECT_EQ(I.Trace.join(u'|'), QStringLiteral("a=1"));
}

TEST(InterpreterRun, SplitExpressionsOfCompiledLines)
{
    TfrInterpretator I;
    TStringList Src(QStringList{QStringLiteral("begin a := SUM([Q]) + 1; if MAX([Q]) > 1 then showband(B); "
                                               "while COUNT(Band1) < 2 do x := 1 end")}),
        Out, Err, Found;
    I.CompileScript(Src, Out, Err);
    ASSERT_EQ(Err.Count(), 0);
    TStringList Match;
    Match.SetCommaText(QStringLiteral("AVG,COUNT,MAX,MIN,SUM"));
    I.SplitExpressions(Out, Match, Found, nullptr);
    EXPECT_EQ(Found.ToStringList().join(u'|'), QStringLiteral("SUM([Q])|MAX([Q])|COUNT(Band1)"));
}

} // namespace

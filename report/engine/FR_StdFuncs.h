// The two function libraries the engine registers at start-up: the standard
// library (texts, dates, numbers, the input and message boxes and the five
// aggregates) and the database library (FIELDISNULL). The standard library
// also describes every function, operator and special name of the expression
// language for the designer's function picker.
#pragma once

#include "report/engine/FR_Funcs.h"

class TfrStdFunctionLibrary : public TfrFunctionLibrary
{
public:
    static constexpr const char* StaticClassName = "TfrStdFunctionLibrary";

    // Function numbers (positions in List).
    enum : int {
        fnAvg, fnCount, fnDayOf, fnFormatDateTime, fnFormatFloat, fnFormatText, fnInput,
        fnLength, fnLowerCase, fnMax, fnMaxNum, fnMessageBox, fnMin, fnMinNum, fnMonthOf,
        fnNameCase, fnPos, fnSum, fnTrim, fnUpperCase, fnYearOf
    };

    TfrStdFunctionLibrary();
    QString ClassName() const override { return QString::fromLatin1(StaticClassName); }
    // Arguments are evaluated with the engine's parser. The result starts as
    // the text "0" and stays so for a number out of range; conversion errors
    // propagate.
    void DoFunction(int FNo, const Variant& P1, const Variant& P2, const Variant& P3,
                    Variant& Value) override;
};

class TDatabaseFunctionLibrary : public TfrFunctionLibrary
{
public:
    static constexpr const char* StaticClassName = "TDatabaseFunctionLibrary";

    TDatabaseFunctionLibrary();
    QString ClassName() const override { return QString::fromLatin1(StaticClassName); }
    void DoFunction(int FNo, const Variant& P1, const Variant& P2, const Variant& P3,
                    Variant& Value) override;
};

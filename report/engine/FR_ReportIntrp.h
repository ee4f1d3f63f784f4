// TInterpretator: the script interpreter bound to the report. Scripts read
// names exactly as expressions do and call functions the same way (through
// the shared parser's callbacks, which the preparation installs); assignments
// go to variables, the dialog's modal result, the page position or object
// properties.
#pragma once

#include "report/engine/FR_Intrp.h"

#include <QString>

class TfrObject;

class TInterpretator : public TfrInterpretator
{
public:
    void GetValue(const QString& Name, Variant& Value) override;
    // First match wins: a global variable, a dictionary variable, MODALRESULT,
    // CURY, an object property, else a new global variable.
    void SetValue(const QString& Name, const Variant& Value) override;
    void DoFunction(const QString& Name, const Variant& P1, const Variant& P2, const Variant& P3,
                    Variant& Value) override;

protected:
    bool Terminated() override;
};

// The object and property a name stands for: "Memo1.Font.Size" names the view
// Memo1 and its property "Font.Size", "Page2.Columns" the second page; a name
// without a point (or with an unknown object whose first part is a property
// of the current view) is a property of the current view. Obj is nullptr when
// nothing fits; its property list is registered when it is still empty.
void GetObjectAndProperty(const QString& Name, TfrObject*& Obj, QString& Prop);

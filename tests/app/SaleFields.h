// What the callers of the document window set for a new sale, and what the
// user types into it, for the tests that store one.
#pragma once

#include "app/BuySellForm.h"

#include <QComboBox>
#include <QLineEdit>

inline void PrepareNewSale(int Customer = 0, bool Fixed = false)
{
    FormBuySell->Mode = QStringLiteral("新增");
    FormBuySell->Kind = QStringLiteral("销售开单");
    FormBuySell->BillIndex = 1;
    FormBuySell->CustomerIndex = Customer;
    FormBuySell->CustomerFixed = Fixed;
}

// A sale of 10 to 甲.
inline void FillSale()
{
    FormBuySell->ComboBox5->setEditText(QStringLiteral("甲"));
    FormBuySell->Edit2->setText(QStringLiteral("10"));
}

// TCustomDBGridEh: the clipboard actions of the keys and the standard edit
// actions (cut, copy, paste, delete, select all).
#include "grid/DBGridEh.h"
#include "grid/DBGridEhImpExp.h"

void TCustomDBGridEh::DoCopyAction()
{
    CopyGridSelection(this, false);
}

void TCustomDBGridEh::DoCutAction()
{
    CutGridSelection(this, false);
}

void TCustomDBGridEh::DoPasteAction()
{
    PasteIntoGrid(this, false);
}

void TCustomDBGridEh::DoDeleteAction()
{
    DeleteGridSelection(this, false);
}

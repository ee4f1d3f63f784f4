#include "grid/DBGridEhTitles.h"

#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "platform/rtl/SysUtils.h"

THeadTreeNode::THeadTreeNode(const QString& AText, int AHeight, int AWidth)
    : Text(AText), Height(AHeight), Width(AWidth)
{
}

THeadTreeNode::~THeadTreeNode()
{
    FreeChildren();
}

void THeadTreeNode::FreeChildren()
{
    THeadTreeNode* Child = FirstChild;
    FirstChild = nullptr;
    if (!Child)
        return;
    const THeadTreeNode* Stop = Child;
    do {
        THeadTreeNode* Next = Child->NextSibling;
        delete Child; // children belong to their parent alone
        Child = Next;
    } while (Child != Stop);
}

bool THeadTreeNode::Contains(const THeadTreeNode* Node) const
{
    for (const THeadTreeNode* N = Node; N; N = N->Parent)
        if (N == this)
            return true;
    return false;
}

int THeadTreeNode::ChildCount() const
{
    if (!FirstChild)
        return 0;
    int Count = 0;
    const THeadTreeNode* N = FirstChild;
    do {
        ++Count;
        N = N->NextSibling;
    } while (N != FirstChild);
    return Count;
}

void THeadTreeNode::ForEachDescendant(const std::function<void(THeadTreeNode* Node)>& Callback) const
{
    if (!FirstChild)
        return;
    THeadTreeNode* N = FirstChild;
    do {
        Callback(N);
        N->ForEachDescendant(Callback);
        N = N->NextSibling;
    } while (N != FirstChild);
}

THeadTreeNode* THeadTreeNode::AddSibling(THeadTreeNode* After, const QString& AText, int AHeight, int AWidth)
{
    if (!After || !After->Parent || !Contains(After))
        throw Exception(QStringLiteral("Node not in Tree"));
    auto* Node = new THeadTreeNode(AText, AHeight, AWidth); // owned by After's parent
    Node->Parent = After->Parent;
    Node->NextSibling = After->NextSibling;
    After->NextSibling = Node;
    return Node;
}

THeadTreeNode* THeadTreeNode::AddChild(THeadTreeNode* Node, const QString& AText, int AHeight, int AWidth)
{
    if (!Node || !Contains(Node))
        throw Exception(QStringLiteral("Node not in Tree"));
    if (Node->FirstChild) {
        THeadTreeNode* Last = Node->FirstChild;
        while (Last->NextSibling != Node->FirstChild)
            Last = Last->NextSibling;
        return AddSibling(Last, AText, AHeight, AWidth);
    }
    auto* Child = new THeadTreeNode(AText, AHeight, AWidth); // owned by Node
    Child->Parent = Node;
    Node->FirstChild = Child;
    return Child;
}

THeadTreeNode* THeadTreeNode::GroupSiblings(THeadTreeNode* From, THeadTreeNode* To, const QString& AText, int AHeight)
{
    if (!From || !From->Parent || !Contains(From))
        throw Exception(QStringLiteral("Node not in Tree"));
    THeadTreeNode* Owner = From->Parent;
    // To must come at or after From before the level wraps round to its first child.
    for (THeadTreeNode* N = From; N != To;) {
        N = N->NextSibling;
        if (N == Owner->FirstChild || !To)
            throw Exception(QStringLiteral("ATo not in level"));
    }
    THeadTreeNode* Prev = From;
    while (Prev->NextSibling != From)
        Prev = Prev->NextSibling;
    THeadTreeNode* After = To->NextSibling;

    auto* Group = new THeadTreeNode(AText, AHeight, 0); // owned by Owner
    Group->Parent = Owner;
    Group->LineWidth = To->LineWidth;
    if (After == From) {
        Group->NextSibling = Group; // the whole level goes under the group
    } else {
        Prev->NextSibling = Group;
        Group->NextSibling = After;
    }
    if (Owner->FirstChild == From)
        Owner->FirstChild = Group;
    To->NextSibling = From;
    Group->FirstChild = From;

    int Width = 0;
    THeadTreeNode* N = From;
    do {
        Width += N->Width + Group->LineWidth;
        N->Height -= AHeight;
        N->Parent = Group;
        N = N->NextSibling;
    } while (N != From);
    if (Group->LineWidth >= 1)
        Width -= Group->LineWidth;
    Group->Width = Width;
    return Group;
}

bool SplitTitleCaption(const QString& Text, QString& First, QString& Rest)
{
    const int Length = int(Text.size());
    int i = 0;
    while (i < Length && Text[i] == u'|')
        ++i;
    const int Start = i;
    while (i < Length && Text[i] != u'|')
        ++i;
    First = Text.mid(Start, i - Start);
    while (i < Length && Text[i] == u'|')
        ++i;
    if (First.isEmpty() || i >= Length)
        return false;
    Rest = Text.mid(i);
    return true;
}

void THeadTreeNode::BuildFromColumns(TCustomDBGridEh* Grid, std::vector<THeadTreeNode*>& Leaves)
{
    FreeChildren();
    Leaves.clear();
    TDBGridColumnsEh* Columns = Grid->Columns();
    const int LineWidth = Grid->Options().Contains(dgColLines) ? 1 : 0;
    const int LeafHeight = Grid->TitleRowHeight();
    for (int i = 0; i < Columns->Count(); ++i) {
        TColumnEh* Column = Columns->Items(i);
        const int W = Column->Visible() ? Column->Width() : -LineWidth;
        THeadTreeNode* Leaf = AddChild(this, Column->Title()->Caption(), LeafHeight, W);
        Leaf->Column = Column;
        Leaf->MarkerAllowance = Column->Title()->SortMarker() != smNoneEh ? 16 : 0;
        Leaf->LineWidth = LineWidth;
        Leaves.push_back(Leaf);
    }
    const int Count = int(Leaves.size());
    for (bool Grouped = true; Grouped;) {
        Grouped = false;
        for (int i = 0; i < Count && !Grouped; ++i) {
            QString Group, Rest;
            if (!SplitTitleCaption(Leaves[size_t(i)]->Text, Group, Rest))
                continue;
            // A run spans only leaves of one parent: "A|X|1" beside "B|X|2" are two X groups.
            int Last = i;
            QString NextGroup, NextRest;
            while (Last + 1 < Count && Leaves[size_t(Last + 1)]->Parent == Leaves[size_t(i)]->Parent
                   && SplitTitleCaption(Leaves[size_t(Last + 1)]->Text, NextGroup, NextRest)
                   && NextGroup == Group) {
                Leaves[size_t(Last)]->Text = Rest;
                ++Last;
                Rest = NextRest;
            }
            Leaves[size_t(Last)]->Text = Rest;
            GroupSiblings(Leaves[size_t(i)], Leaves[size_t(Last)], Group, 20);
            Grouped = true;
        }
    }
}

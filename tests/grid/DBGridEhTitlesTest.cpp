#include "GridFixture.h"
#include "grid/DBGridEhTitles.h"
#include "platform/rtl/SysUtils.h"

namespace {

// The tree as text: a node's text, then its children in brackets.
QString RenderTree(const THeadTreeNode* Node)
{
    QString Out = Node->Text;
    if (!Node->FirstChild)
        return Out;
    QStringList Children;
    const THeadTreeNode* C = Node->FirstChild;
    do {
        EXPECT_EQ(C->Parent, Node) << C->Text.toStdString();
        Children << RenderTree(C);
        C = C->NextSibling;
    } while (C != Node->FirstChild);
    return Out + u'(' + Children.join(u',') + u')';
}

class TTitlesTest : public TGridFixture
{
protected:
    QString Build(const QStringList& Captions)
    {
        Grid->Columns()->Clear();
        for (const QString& Caption : Captions)
            AddColumn("Id")->Title()->SetCaption(Caption);
        Grid->LayoutChanged();
        return RenderTree(Grid->HeadTree());
    }
};

TEST_F(TTitlesTest, CaptionsGroupIntoATree)
{
    struct TRow
    {
        QStringList Captions;
        const char* Expected;
    };
    const TRow Rows[] = {
        {{"Amount|In", "Amount|Out", "Note"}, "Root(Amount(In,Out),Note)"},
        {{"A|B"}, "Root(A(B))"},
        {{"Y|Q|1", "Y|Q|2", "Y|R"}, "Root(Y(Q(1,2),R))"},
        {{"G|a", "x", "G|b"}, "Root(G(a),x,G(b))"},
        {{"A|X|1", "B|X|2"}, "Root(A(X(1)),B(X(2)))"},
        {{"A|X|1", "X|2"}, "Root(A(X(1)),X(2))"},
        {{"A||B", "A|C|"}, "Root(A(B,C|))"},
        {{"|A", "plain"}, "Root(|A,plain)"},
        {{"收入|现金", "收入|银行", "备注"}, "Root(收入(现金,银行),备注)"},
    };
    for (const TRow& Row : Rows) {
        SCOPED_TRACE(Row.Expected);
        EXPECT_EQ(Build(Row.Captions), QString::fromUtf8(Row.Expected));
        EXPECT_EQ(int(Grid->LeafFieldArr().size()), Grid->Columns()->Count());
        for (int i = 0; i < Grid->Columns()->Count(); ++i)
            EXPECT_EQ(Grid->LeafFieldArr()[size_t(i)]->Column, Grid->Columns(i));
    }
}

TEST_F(TTitlesTest, GroupWidthsAndHeights)
{
    Build({"G|a", "G|b", "G|c"});
    const int Leaf = Grid->TitleRowHeight();
    auto Leaves = Grid->LeafFieldArr();
    Grid->Columns(0)->SetWidth(30);
    Grid->Columns(1)->SetWidth(40);
    Grid->Columns(2)->SetWidth(50);
    Grid->Columns(1)->SetVisible(false);
    Leaves = Grid->LeafFieldArr();
    const THeadTreeNode* Group = Leaves[0]->Parent;
    EXPECT_EQ(Group->Width, 30 + 1 + 50) << "an invisible column takes no room";
    EXPECT_EQ(Group->Height, 20);
    EXPECT_EQ(Leaves[0]->Height, Leaf - 20);
    Grid->SetOptions(Grid->Options() - dgColLines);
    Leaves = Grid->LeafFieldArr();
    EXPECT_EQ(Leaves[0]->Parent->Width, 80);

    Grid->resize(400, 200);
    Grid->SetAutoFitColWidths(true);
    Leaves = Grid->LeafFieldArr();
    EXPECT_EQ(Leaves[0]->Parent->Width, Grid->Columns(0)->Width() + Grid->Columns(2)->Width())
        << "a group spans the widths auto-fit gave";
}

TEST(THeadTreeNodeAlone, GroupingChecksItsArguments)
{
    THeadTreeNode Root(QStringLiteral("Root"), 10, 0);
    THeadTreeNode* A = Root.AddChild(&Root, QStringLiteral("A"), 30, 10);
    THeadTreeNode* B = Root.AddChild(&Root, QStringLiteral("B"), 30, 10);
    THeadTreeNode* C = Root.AddChild(&Root, QStringLiteral("C"), 30, 10);
    THeadTreeNode Stranger(QStringLiteral("S"), 0, 0);
    auto Message = [](const std::function<void()>& F) {
        try {
            F();
        } catch (const Exception& E) {
            return E.Message();
        }
        return QString();
    };
    EXPECT_EQ(Message([&] { Root.GroupSiblings(&Stranger, A, QStringLiteral("X"), 5); }), QStringLiteral("Node not in Tree"));
    EXPECT_EQ(Message([&] { Root.AddChild(&Stranger, QStringLiteral("X"), 5, 5); }), QStringLiteral("Node not in Tree"));
    EXPECT_EQ(Message([&] { Root.GroupSiblings(C, A, QStringLiteral("X"), 5); }), QStringLiteral("ATo not in level"));
    THeadTreeNode* G = Root.GroupSiblings(A, C, QStringLiteral("G"), 5);
    EXPECT_EQ(RenderTree(&Root), QStringLiteral("Root(G(A,B,C))"));
    EXPECT_EQ(G->NextSibling, G);
    EXPECT_EQ(B->Height, 25);
    int Count = 0;
    Root.ForEachDescendant([&](THeadTreeNode*) { ++Count; });
    EXPECT_EQ(Count, 4);
    EXPECT_TRUE(Root.Contains(B));
    EXPECT_FALSE(Root.Contains(&Stranger));
}

} // namespace

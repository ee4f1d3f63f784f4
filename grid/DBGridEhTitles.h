// The title tree of multi-line titles: a caption "Group|Sub" shows Sub in the
// column's own cell and Group in a cell spanning the neighbouring columns whose
// captions start with the same group. The root owns every node; children of a
// node form a ring through NextSibling (the last child points at the first).
// Heights and widths are pixels; measuring text is the layout's job, not this.
#pragma once

#include <QString>
#include <functional>
#include <vector>

class TColumnEh;
class TCustomDBGridEh;

class THeadTreeNode
{
public:
    THeadTreeNode() = default;
    THeadTreeNode(const QString& AText, int AHeight, int AWidth);
    // Frees every descendant.
    ~THeadTreeNode();
    THeadTreeNode(const THeadTreeNode&) = delete;
    THeadTreeNode& operator=(const THeadTreeNode&) = delete;

    THeadTreeNode* FirstChild = nullptr;
    THeadTreeNode* Parent = nullptr;
    THeadTreeNode* NextSibling = this;
    TColumnEh* Column = nullptr; // leaves only
    QString Text;
    int Height = 0;
    int Width = 0;
    int LineWidth = 0;           // one grid line between cells: 1 with column lines
    int MarkerAllowance = 0;     // room for the sort marker of a leaf

    // Raise Exception "Node not in Tree" when After or Node is not in this subtree.
    THeadTreeNode* AddSibling(THeadTreeNode* After, const QString& AText, int AHeight, int AWidth);
    THeadTreeNode* AddChild(THeadTreeNode* Node, const QString& AText, int AHeight, int AWidth);
    // Puts the siblings From..To under a new node of the given text and height;
    // raises "ATo not in level" when To does not follow From within their level.
    THeadTreeNode* GroupSiblings(THeadTreeNode* From, THeadTreeNode* To, const QString& AText, int AHeight);
    void FreeChildren();
    bool Contains(const THeadTreeNode* Node) const;
    // Every descendant, depth first, a node before its children.
    void ForEachDescendant(const std::function<void(THeadTreeNode* Node)>& Callback) const;
    int ChildCount() const;
    // Rebuilds the tree under this root from the grid's columns; Leaves gets one
    // leaf per column, in column order.
    void BuildFromColumns(TCustomDBGridEh* Grid, std::vector<THeadTreeNode*>& Leaves);
};

// Splits a caption at its first "|": false when there is no second part. Empty
// parts between separators count as none.
bool SplitTitleCaption(const QString& Text, QString& First, QString& Rest);

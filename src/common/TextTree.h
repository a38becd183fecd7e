#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A tree of captions: the installation tree as shown (translated captions)
// and as stored (vocabulary keys) have this shape. Level 0 is the root
// (the installation), level 1 the blocks, deeper levels component nodes.
struct TextTree {
    QString caption;
    QList<TextTree> children;

    TextTree() = default;
    explicit TextTree(const QString &text, const QList<TextTree> &kids = {})
        : caption(text), children(kids)
    {
    }

    bool operator==(const TextTree &other) const = default;

    // Number of nodes, this one included.
    int nodeCount() const;
    // Captions in depth-first order, each preceded by one tab per level
    // below this node (the layout of the tree files).
    QStringList indentedCaptions() const;
};

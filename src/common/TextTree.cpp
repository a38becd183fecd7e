#include "common/TextTree.h"

int TextTree::nodeCount() const
{
    int count = 1;
    for (const TextTree &child : children)
        count += child.nodeCount();
    return count;
}

namespace {
void collect(const TextTree &node, int level, QStringList &out)
{
    out << QString(level, QLatin1Char('\t')) + node.caption;
    for (const TextTree &child : node.children)
        collect(child, level + 1, out);
}
} // namespace

QStringList TextTree::indentedCaptions() const
{
    QStringList out;
    collect(*this, 0, out);
    return out;
}

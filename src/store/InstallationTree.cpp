#include "store/InstallationTree.h"

#include "store/AtomicFile.h"
#include "store/StoreError.h"
#include "frame/Lang.h"
#include "store/StoreTexts.h"

#include <QFile>
#include <QStringDecoder>

TreeNode *findChild(TreeNode &node, const QString &caption)
{
    for (TreeNode &c : node.children)
        if (c.caption == caption)
            return &c;
    return nullptr;
}

const TreeNode *findChild(const TreeNode &node, const QString &caption)
{
    for (const TreeNode &c : node.children)
        if (c.caption == caption)
            return &c;
    return nullptr;
}

Vocabulary InstallationTree::currentVocabulary() { return Lang::vocabulary(); }

// --- translation ------------------------------------------------------------

namespace {

void formatNode(const TreeNode &node, int depth, QByteArray &out)
{
    out += QByteArray(depth, '\t');
    out += node.caption.toUtf8();
    out += "\r\n";
    for (const TreeNode &c : node.children)
        formatNode(c, depth + 1, out);
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

QByteArray readFile(const QString &path, bool *ok)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *ok = false;
        return {};
    }
    *ok = true;
    return file.readAll();
}

} // namespace

TreeNode InstallationTree::translate(const TreeNode &vocabularyTree, const Vocabulary &vocabulary)
{
    return Lang::translateTree(vocabularyTree, vocabulary);
}

TreeNode InstallationTree::buildVocabulary(const TreeNode &displayed, const Vocabulary &vocabulary)
{
    return Lang::buildVocabularyTree(displayed, vocabulary);
}

TreeNode InstallationTree::displayed(const Vocabulary &vocabulary) const { return translate(m_root, vocabulary); }

QByteArray InstallationTree::format(const TreeNode &root)
{
    QByteArray out;
    formatNode(root, 0, out);
    return out;
}

TreeNode InstallationTree::parse(const QByteArray &bytes)
{
    const QString text = decode(bytes);
    TreeNode root;
    bool haveRoot = false;
    // Path of the last node placed at each depth.
    QList<TreeNode *> path;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        int depth = 0;
        while (depth < line.size() && line.at(depth) == QLatin1Char('\t'))
            ++depth;
        const QString caption = line.mid(depth);
        if (!haveRoot) {
            if (line.isEmpty())
                continue;
            root.caption = caption;
            haveRoot = true;
            path = {&root};
            continue;
        }
        if (line.isEmpty())
            continue;
        // A node deeper than one level below the previous one hangs from the
        // deepest node there is; a second root becomes a block.
        depth = std::clamp(depth, 1, int(path.size()));
        TreeNode *parent = path[depth - 1];
        parent->children.append(TreeNode(caption));
        path.resize(depth);
        path.append(&parent->children.last());
    }
    return root;
}

QString InstallationTree::treePath(const QString &folder, const QString &installation)
{
    return folder + installation + QStringLiteral("_TREE");
}

QString InstallationTree::vocabularyPath(const QString &folder, const QString &installation)
{
    return folder + installation + QStringLiteral("_TREE_VOC");
}

InstallationTree InstallationTree::read(const QString &folder, const QString &installation, const Vocabulary &vocabulary)
{
    bool ok = false;
    QByteArray bytes = readFile(vocabularyPath(folder, installation), &ok);
    if (ok)
        return InstallationTree(parse(bytes));
    bytes = readFile(treePath(folder, installation), &ok);
    if (ok)
        return InstallationTree(buildVocabulary(parse(bytes), vocabulary));
    throw StoreError(StoreTexts::text("STORE_TREE_UNREADABLE", QStringLiteral("Cannot read the installation tree"))
                     + QLatin1Char(' ') + vocabularyPath(folder, installation));
}

void InstallationTree::write(const QString &folder, const QString &installation, const Vocabulary &vocabulary) const
{
    TreeNode voc = m_root;
    voc.caption = installation;
    AtomicFile::write(vocabularyPath(folder, installation), format(voc));
    AtomicFile::write(treePath(folder, installation), format(translate(voc, vocabulary)));
}

// --- editing ----------------------------------------------------------------

TreeNode *InstallationTree::block(const QString &name) { return findChild(m_root, name); }
const TreeNode *InstallationTree::block(const QString &name) const { return findChild(m_root, name); }

TreeNode InstallationTree::componentNode(const QString &item)
{
    const Components::Component *c = Components::byItem(item);
    if (!c)
        return {};
    TreeNode node(QString::fromLatin1(c->word));
    const auto leaf = [](const char *key) { return TreeNode(QString::fromLatin1(key)); };
    if (node.caption == QLatin1String("LFT")) {
        node.children = {leaf("LIC"), leaf("LIF"), leaf("LTM")};
    } else if (node.caption == QLatin1String("ACT")) {
        TreeNode areas = leaf("ARE");
        areas.children = {leaf("ZON")};
        TreeNode profiles = leaf("PRO");
        profiles.children = {leaf("TIM"), areas};
        TreeNode holidays = leaf("HOL");
        holidays.children = {leaf("PER"), leaf("IVD")};
        node.children = {profiles, leaf("USR"), holidays, leaf("TRD")};
    }
    return node;
}

void InstallationTree::addBlock(const QString &name, const Components::Flags &flags)
{
    TreeNode node(name);
    for (const char *item : Components::kTreeOrder) {
        const Components::Component *c = Components::byItem(QLatin1String(item));
        if (flags[size_t(c->orden)])
            node.children.append(componentNode(QLatin1String(item)));
    }
    m_root.children.append(node);
}

bool InstallationTree::removeBlock(const QString &name)
{
    return m_root.children.removeIf([&](const TreeNode &n) { return n.caption == name; }) > 0;
}

bool InstallationTree::addComponent(const QString &blockName, const QString &item)
{
    TreeNode *b = block(blockName);
    const Components::Component *c = Components::byItem(item);
    if (!b || !c || findChild(*b, QLatin1String(c->word)))
        return false;
    b->children.append(componentNode(item));
    return true;
}

bool InstallationTree::removeComponent(const QString &blockName, const QString &item)
{
    TreeNode *b = block(blockName);
    const Components::Component *c = Components::byItem(item);
    if (!b || !c)
        return false;
    return b->children.removeIf([&](const TreeNode &n) { return n.caption == QLatin1String(c->word); }) > 0;
}

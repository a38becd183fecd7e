#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include "common/TextTree.h"
#include "store/Components.h"

#include <QHash>

// A node of the installation tree: a caption and its children.
using TreeNode = TextTree;
// The tree words, vocabulary key → word (Lang::vocabulary() for the current run).
using Vocabulary = QHash<QString, QString>;

// The child of `node` captioned `caption`, nullptr when none.
TreeNode *findChild(TreeNode &node, const QString &caption);
const TreeNode *findChild(const TreeNode &node, const QString &caption);

// The installation tree: the root (the installation name), the blocks at
// level 1, their components and sub-items below. It is held with vocabulary
// keys below level 1 (the form kept in N_TREE_VOC); the displayed form (N_TREE)
// carries the current language's words instead.
//
// File format of both tree files: one line per node in depth-first order,
// one tab per level before the caption, each line ended by CR LF.
class InstallationTree {
public:
    InstallationTree() = default;
    explicit InstallationTree(const QString &installation) { m_root.caption = installation; }
    explicit InstallationTree(TreeNode vocabularyRoot) : m_root(std::move(vocabularyRoot)) {}

    const TreeNode &root() const { return m_root; }
    TreeNode &root() { return m_root; }

    // Displayed captions in the given language.
    TreeNode displayed(const Vocabulary &vocabulary) const;

    // The displayed tree with the words turned into keys below level 1; a
    // caption that is none of the words stays as it is.
    static TreeNode buildVocabulary(const TreeNode &displayed, const Vocabulary &vocabulary);
    // The vocabulary tree with the keys turned into words below level 1.
    static TreeNode translate(const TreeNode &vocabularyTree, const Vocabulary &vocabulary);

    static QByteArray format(const TreeNode &root);
    static TreeNode parse(const QByteArray &text);

    // The current language's tree words.
    static Vocabulary currentVocabulary();

    static QString treePath(const QString &folder, const QString &installation);
    static QString vocabularyPath(const QString &folder, const QString &installation);

    // Reads N_TREE_VOC; when it is missing, N_TREE through the vocabulary.
    // Throws StoreError when neither can be read.
    static InstallationTree read(const QString &folder, const QString &installation,
                                 const Vocabulary &vocabulary = currentVocabulary());
    // Writes N_TREE (displayed) and N_TREE_VOC (keys), each atomically, with
    // the root caption `installation` (the tree's own root caption is kept).
    void write(const QString &folder, const QString &installation,
               const Vocabulary &vocabulary = currentVocabulary()) const;

    // Block nodes.
    TreeNode *block(const QString &name);
    const TreeNode *block(const QString &name) const;
    // Adds a block node with the nodes of the components set in `flags` (in
    // ORDEN order), placed in the new-block order.
    void addBlock(const QString &name, const Components::Flags &flags);
    bool removeBlock(const QString &name);
    // Adds the component's node (with its sub-items) at the end of the block.
    bool addComponent(const QString &blockName, const QString &item);
    bool removeComponent(const QString &blockName, const QString &item);

    // The node of a component with its sub-items (vocabulary keys).
    static TreeNode componentNode(const QString &item);

private:
    TreeNode m_root;
};

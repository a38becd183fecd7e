#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include "store/Components.h"

// One node of the installation tree: a caption and its children.
struct TreeNode {
    QString caption;
    QList<TreeNode> children;

    TreeNode *child(const QString &caption);
    const TreeNode *child(const QString &caption) const;
    bool operator==(const TreeNode &other) const = default;
};

// The tree words: the language-independent keys of the tree's node kinds and
// their words in the current language, in the order they are matched.
class Vocabulary {
public:
    static const QStringList &keys(); // ACC, APA, IND, GUA, SEN, SCH, LFT, LIC, LIF, LTM, ACT, PRO, TIM, ARE, ZON, USR, HOL, PER, IVD, TRD, REL
    // The current language's words.
    static Vocabulary current();
    // Words given directly (tests, other languages).
    explicit Vocabulary(const QList<QPair<QString, QString>> &keyWords);

    QString word(const QString &key) const;
    // The key whose word equals `word` exactly, empty when none.
    QString keyOf(const QString &word) const;

private:
    QList<QPair<QString, QString>> m_keyWords;
};

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

    static QString treePath(const QString &folder, const QString &installation);
    static QString vocabularyPath(const QString &folder, const QString &installation);

    // Reads N_TREE_VOC; when it is missing, N_TREE through the vocabulary.
    // Throws StoreError when neither can be read.
    static InstallationTree read(const QString &folder, const QString &installation,
                                 const Vocabulary &vocabulary = Vocabulary::current());
    // Writes N_TREE (displayed) and N_TREE_VOC (keys), each atomically, with
    // the root caption `installation` (the tree's own root caption is kept).
    void write(const QString &folder, const QString &installation,
               const Vocabulary &vocabulary = Vocabulary::current()) const;

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

#pragma once

#include "common/TextTree.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The rules of the installation window that are not drawing: what a tree
// node is, what the window shows and enables for the selected node, where a
// dragged component may go, and the captions of the level 2 block list.
namespace InstWinRules {

// A node of the installation tree as the window sees it.
struct Node {
    int level = 0;          // 0 installation, 1 block, 2.. components and sub-items
    QString caption;        // displayed caption
    QString key;            // vocabulary key below level 1 (empty when the caption is no word)
    QString block;          // the block at level 1 above it (or itself); empty for the root
};

// The panel shown on the right for a node.
enum class Page { Installation, Block, List, AccessControlInfo, HolidaysInfo, TradesInfo, LiftInfo, None };

// The state of the window's commands for a selected node.
struct Selection {
    QString captionLine;
    Page page = Page::None;
    int listKind = 0;
    bool newComponent = false;
    bool deleteComponent = false;
    bool deleteBlock = false;
    bool relays = false;
    bool updateCu = false;
    bool findUserVisible = false;     // "F.User"
    bool importExportVisible = false; // "Im./Ex." and "I/E"
    bool blockMenu = false;           // the tree's pop-up menu is the block menu (else the item menu)
    bool itemEntryEnabled = false;    // first entry of the item menu
    QString itemEntryText;
    bool upAxo = true;                // "Up. AXO"
};

// Whether a central unit session is open and on which block code.
struct Session {
    bool open = false;
    std::optional<int> cu;            // the connected CU; unknown when not given
};

// The captions "Installation : N", "Block : N \ B".
QString captionLine(const Node &node, const QString &installation);
// The vocabulary keys whose data can be sent to a central unit.
bool isSendable(const QString &key);
// The selection rules. `nodeBlockCode` is the CU code of the node's block.
Selection select(const Node &node, const QString &installation, const QHash<QString, QString> &words,
                 const Session &session, std::optional<int> nodeBlockCode);

// A component node of level 2 may be moved before another component node of
// the same block. Paths are child indexes from the root: {block, component}.
bool canMoveComponent(const QList<int> &from, const QList<int> &to);
// Moves it in the tree; false (nothing changed) when the rule refuses.
bool moveComponent(TextTree &root, const QList<int> &from, const QList<int> &to);

// The block list entry of a level 2 operator: code as two digits, a space, the name.
QString blockListCaption(int code, const QString &name);

} // namespace InstWinRules

#include "editors/InstWinRules.h"

#include "editors/ItemLists.h"
#include "frame/Lang.h"

namespace InstWinRules {

QString captionLine(const Node &node, const QString &installation)
{
    if (node.level == 0)
        return Lang::text(QStringLiteral("F_Princ_L_Cuerpo_INST")) + QLatin1Char(' ') + installation;
    if (node.level == 1)
        return Lang::text(QStringLiteral("F_Princ_L_Cuerpo_BLOCK")) + QLatin1Char(' ') + installation + QStringLiteral(" \\ ") + node.block;
    return node.caption;
}

bool isSendable(const QString &key)
{
    static const QStringList keys = {"ACC", "APA", "PRO", "ZON", "USR", "TIM", "HOL", "PER",
                                     "IVD", "ARE", "SCH", "LIC", "LIF", "LTM", "SEN"};
    return keys.contains(key);
}

Selection select(const Node &node, const QString &installation, const QHash<QString, QString> &words,
                 const Session &session, std::optional<int> nodeBlockCode)
{
    Selection s;
    s.captionLine = captionLine(node, installation);
    const bool isBlock = node.level == 1;
    s.newComponent = s.deleteComponent = s.deleteBlock = s.updateCu = isBlock;
    s.relays = node.level > 0;
    if (node.level == 0)
        s.page = Page::Installation;
    else if (isBlock)
        s.page = Page::Block;
    else {
        s.listKind = ItemLists::kindOfCaption(node.caption, words);
        if (s.listKind != ItemLists::NoList) {
            s.page = Page::List;
            s.findUserVisible = s.listKind == ItemLists::KindAPA || s.listKind == ItemLists::KindUSR;
            s.importExportVisible = s.listKind == ItemLists::KindAPA;
        } else if (node.key == QLatin1String("ACT"))
            s.page = Page::AccessControlInfo;
        else if (node.key == QLatin1String("HOL"))
            s.page = Page::HolidaysInfo;
        else if (node.key == QLatin1String("TRD"))
            s.page = Page::TradesInfo;
        else if (node.key == QLatin1String("LFT"))
            s.page = Page::LiftInfo;
    }
    s.blockMenu = node.level <= 1;
    if (!s.blockMenu) {
        s.itemEntryEnabled = isSendable(node.key);
        s.itemEntryText = s.itemEntryEnabled
                              ? Lang::text(QStringLiteral("F_Princ_M_ITEMS_MENSA00")) + QLatin1Char(' ') + s.captionLine
                              : QStringLiteral("-");
    }
    // During a session only the connected block's data may be sent.
    if (session.open)
        s.upAxo = node.level > 0 && session.cu.has_value() && nodeBlockCode.has_value() && *session.cu == *nodeBlockCode;
    return s;
}

bool canMoveComponent(const QList<int> &from, const QList<int> &to)
{
    return from.size() == 2 && to.size() == 2 && from[0] == to[0] && from[1] != to[1] && from[1] >= 0 && to[1] >= 0;
}

bool moveComponent(TextTree &root, const QList<int> &from, const QList<int> &to)
{
    if (!canMoveComponent(from, to) || from[0] >= root.children.size())
        return false;
    TextTree &block = root.children[from[0]];
    if (from[1] >= block.children.size() || to[1] >= block.children.size())
        return false;
    TextTree moved = block.children.takeAt(from[1]);
    const int target = to[1] > from[1] ? to[1] - 1 : to[1];
    block.children.insert(target, std::move(moved));
    return true;
}

QString blockListCaption(int code, const QString &name)
{
    return QStringLiteral("%1 %2").arg(code, 2, 10, QLatin1Char('0')).arg(name);
}

} // namespace InstWinRules

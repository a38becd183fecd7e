#include "transfer/BlockRules.h"

#include "platform/Paths.h"
#include "store/InstallationFile.h"
#include "store/SafeName.h"
#include "store/StoreTexts.h"

namespace BlockRules {

Offers offersFor(int type)
{
    constexpr Offer T = Offer::Ticked, O = Offer::Optional, X = Offer::Off;
    switch (type) {
    case 2: // only the door controller: no apartments, no indoor panels
        return {T, X, O, X, O, O, T, T};
    case 3: // only audio: no lift control, no access control
        return {T, T, T, T, O, O, X, X};
    default:
        return {T, T, T, T, T, T, T, T};
    }
}

WizardFlags defaultFlags(int type)
{
    const Offers offers = offersFor(type);
    WizardFlags flags{};
    for (size_t i = 0; i < flags.size(); ++i)
        flags[i] = offers[i] == Offer::Ticked;
    return flags;
}

int typeOfText(const QString &typeText)
{
    const int type = StoreTexts::blockTypeOf(typeText);
    return type == 0 ? 1 : type;
}

Components::Flags toComponents(int type, const WizardFlags &flags)
{
    const Offers offers = offersFor(type);
    Components::Flags components{};
    for (size_t i = 0; i < flags.size(); ++i)
        if (flags[i] && offers[i] != Offer::Off)
            components[size_t(Components::byItem(QLatin1String(kWizardItems[i]))->orden)] = true;
    return components;
}

QList<UsedBlock> usedBlocks(const QString &folder, const QString &installation)
{
    QList<UsedBlock> used;
    const InstallationFile file(Paths::withSlash(folder), installation);
    if (!file.exists())
        return used;
    for (const BlockRecord &record : file.readBlocks())
        used << UsedBlock{record.name(), record.code()};
    return used;
}

Check checkNewBlock(const QString &name, const QString &codeText, const QList<UsedBlock> &used,
                    const QList<UsedBlock> &pending)
{
    if (name.trimmed().isEmpty() || codeText.trimmed().isEmpty())
        return {Refusal::Missing, StoreTexts::text("F_Asist00_M1")};
    if (const QString problem = SafeName::checkBlockName(name); !problem.isEmpty())
        return {Refusal::BadName, problem};
    bool isNumber = false;
    const int code = codeText.trimmed().toInt(&isNumber);
    if (!isNumber || code < 0 || code > 63)
        return {Refusal::CodeRange,
                StoreTexts::text("STORE_CODE_RANGE", QStringLiteral("The central unit code must be a number from 0 to 63."))};
    QList<UsedBlock> all = used;
    all << pending;
    for (const UsedBlock &block : all)
        if (block.name.compare(name, Qt::CaseInsensitive) == 0)
            return {Refusal::NameUsed, name + QStringLiteral(" exists. Change block name.")};
    for (const UsedBlock &block : all)
        if (block.code == code)
            return {Refusal::CodeUsed, StoreTexts::text("F_Asist00_M2") + QLatin1Char(' ')
                                           + QStringLiteral("%1").arg(code, 2, 10, QLatin1Char('0')) + QStringLiteral(" (")
                                           + block.name + QLatin1Char(')')};
    return {};
}

InstallationStore::NewBlock newBlock(const QString &name, int code, int type, const WizardFlags &flags)
{
    InstallationStore::NewBlock block;
    block.name = name;
    block.code = code;
    block.type = type >= 1 && type <= 3 ? type : 1;
    block.components = toComponents(block.type, flags);
    return block;
}

} // namespace BlockRules

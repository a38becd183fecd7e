#include "frame/Lang.h"

#include "platform/Paths.h"
#include "platform/ProfileFile.h"

#include <QDir>

#include <functional>

// ---------------------------------------------------------------- LangFile

bool LangFile::load(const QString &path, QString *error)
{
    clear();
    m_path = path;
    ProfileFile profile;
    const bool ok = profile.load(path);
    if (!ok) {
        if (error)
            *error = profile.errorText();
        return false;
    }
    m_loaded = profile.exists();
    m_sectionNames = profile.sections();
    for (const QString &section : m_sectionNames) {
        QHash<QString, QString> &texts = m_sections[section.toUpper()];
        const auto entries = profile.entries(section);
        texts.reserve(entries.size());
        for (const auto &[key, value] : entries)
            texts.insert(key.toLower(), value);
    }
    for (const ProfileFile::Problem &p : profile.problems())
        m_problems << QStringLiteral("%1, line %2: %3: %4").arg(path).arg(p.line).arg(p.reason, p.text);
    return true;
}

void LangFile::clear()
{
    m_loaded = false;
    m_path.clear();
    m_sectionNames.clear();
    m_sections.clear();
    m_problems.clear();
}

bool LangFile::hasSection(const QString &section) const
{
    return m_sections.contains(section.toUpper());
}

const QHash<QString, QString> *LangFile::section(const QString &section) const
{
    const auto s = m_sections.constFind(section.toUpper());
    return s == m_sections.constEnd() ? nullptr : &*s;
}

QString LangFile::text(const QString &section, const QString &key, const QString &fallback) const
{
    const QHash<QString, QString> *texts = this->section(section);
    if (!texts)
        return fallback;
    const auto t = texts->constFind(key.toLower());
    return t == texts->constEnd() ? fallback : *t;
}

// -------------------------------------------------------------------- Lang

namespace {

struct LangState {
    LangFile file;
    QString language = QStringLiteral("ENGLISH");
    const QHash<QString, QString> *current = nullptr; // the language's texts
    QHash<QString, QString> messages;                  // shared table as loaded
};

LangState &state()
{
    static LangState s;
    return s;
}

} // namespace

QString Lang::filePath()
{
    const QString dir = Paths::configDir();
    const QString name = QString::fromLatin1(LangFile::kFileName);
    const QStringList existing = QDir(dir).entryList({name}, QDir::Files);
    for (const QString &candidate : existing)
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return dir + candidate;
    return dir + name;
}

bool Lang::open(const QString &path, const QString &language, QString *error)
{
    LangState &s = state();
    const bool ok = s.file.load(path, error);
    setLanguage(language);
    loadMessages();
    return ok;
}

void Lang::close()
{
    state().file.clear();
    state().current = nullptr;
}

const LangFile &Lang::file()
{
    return state().file;
}

void Lang::setLanguage(const QString &language)
{
    LangState &s = state();
    s.language = language;
    s.current = s.file.section(language);
}

QString Lang::language()
{
    return state().language;
}

QStringList Lang::languages()
{
    return state().file.sections();
}

QString Lang::text(const QString &key)
{
    return text(key, missing());
}

QString Lang::text(const QString &key, const QString &fallback)
{
    const QHash<QString, QString> *texts = state().current;
    if (!texts)
        return fallback;
    const auto t = texts->constFind(key.toLower());
    return t == texts->constEnd() ? fallback : *t;
}

QString Lang::lines(const QString &keyStem, int first, int last)
{
    QStringList parts;
    for (int i = first; i <= last; ++i)
        parts << text(keyStem + QString::number(i));
    return parts.join(QLatin1Char('\r'));
}

const QList<Lang::MessageKey> &Lang::messageKeys()
{
    static const QList<MessageKey> keys = {
        // access editor, apartments
        {"F_Accesos_MDelete1", nullptr}, {"F_Accesos_MBeforeP1", nullptr}, {"F_Accesos_MBeforeP2", nullptr},
        {"F_Accesos_MErr", nullptr}, {"F_Accesos_MUsado1", nullptr}, {"F_Accesos_MUsado2", nullptr},
        {"F_Accesos_MUsado3", nullptr}, {"F_Viv_MDelete1", nullptr},
        // wizards
        {"F_Asist00_M1", "Insert name, central unit type and code"}, {"F_Asist01_M1", "Reset now?"},
        // access types
        {"ACCESS_T0", "Audio"}, {"ACCESS_T1", "Audio + Llave bot\u00f3n"}, {"ACCESS_T2", "Audio + Proximidad"},
        {"ACCESS_T3", "Audio + R.F."}, {"ACCESS_T4", "Audio + Video"}, {"ACCESS_T5", "Audio + Video + Llave bot\u00f3n"},
        {"ACCESS_T6", "Audio + Video + Proximidad"}, {"ACCESS_T7", "Audio + Video + R.F."},
        {"ACCESS_T8", "Llave bot\u00f3n"}, {"ACCESS_T9", "Proximidad"}, {"ACCESS_T10", "Teclado"},
        {"ACCESS_T11", "R.F."}, {"ACCESS_T12", "Teclado + Proximidad"}, {"ACCESS_T13", "Teclado + Llave bot\u00f3n"},
        // system profiles
        {"PRF_SYS_120", "Reset Capacity"}, {"PRF_SYS_125", "Superusers no Incidences"}, {"PRF_SYS_126", "Superusers"},
        {"PRF_SYS_127", "No restrictions"}, {"TIPO_DEF_USR", "Defined Profiles"},
        // yes / no
        {"VALOR_ACEP", nullptr}, {"VALOR_NACEP", nullptr},
        // standard captions
        {"STAN_EXIT", nullptr}, {"STAN_OPEN", nullptr}, {"STAN_CLOSE", nullptr}, {"STAN_FILE", nullptr},
        {"STAN_BACK", nullptr}, {"STAN_BACK_H", nullptr}, {"STAN_NEXT", nullptr}, {"STAN_NEXT_H", nullptr},
        {"STAN_NEW", nullptr}, {"STAN_NEW_H", nullptr}, {"STAN_SAVE", nullptr}, {"STAN_SAVE_H", nullptr},
        {"STAN_CANC", nullptr}, {"STAN_CANC_H", nullptr}, {"STAN_DELE", nullptr}, {"STAN_DELE_H", nullptr},
        // state words
        {"STAN_GRUP_ACT", nullptr}, {"STAN_GRUP_NACT", nullptr}, {"STAN_RELE_ACT", nullptr}, {"STAN_RELE_DACT", nullptr},
        {"STAN_UNKNOWN", nullptr}, {"STAN_UNDETERM", nullptr}, {"STAN_GRUP_NDEF", nullptr}, {"STAN_NOTDEFINED", nullptr},
        {"STAN_USED", nullptr}, {"STAN_TIMED", nullptr},
        // connection
        {"PANEL_TEXTO", nullptr}, {"CONECTAD", nullptr}, {"NO_CONECTAD", nullptr}, {"TEXT_CONECT_SYS", nullptr},
        {"TEXT_SENDI_SYS", nullptr}, {"SELEC_BLOCK", nullptr},
        // central unit types
        {"TIPO_INS1", nullptr}, {"TIPO_INS2", nullptr}, {"TIPO_INS3", nullptr},
        // tree words
        {"LTM", nullptr}, {"ACC", nullptr}, {"APA", nullptr}, {"IND", nullptr}, {"GUA", nullptr}, {"SEN", nullptr},
        {"SCH", nullptr}, {"LFT", nullptr}, {"LIC", nullptr}, {"LIF", nullptr}, {"ACT", nullptr}, {"PRO", nullptr},
        {"TIM", nullptr}, {"ARE", nullptr}, {"ZON", nullptr}, {"USR", nullptr}, {"HOL", nullptr}, {"PER", nullptr},
        {"IVD", nullptr}, {"TRD", nullptr}, {"REL", nullptr}, {"DEC", nullptr},
        // incidences
        {"INCIDENCE_DESC_00", nullptr}, {"INCIDENCE_DESC_01", nullptr}, {"INCIDENCE_DESC_02", nullptr},
        {"INCIDENCE_DESC_03", nullptr}, {"INCIDENCE_DESC_04", nullptr}, {"INCIDENCE_DESC_05", nullptr},
        {"INCIDENCE_DESC_06", nullptr}, {"INCIDENCE_DESC_07", nullptr}, {"INCIDENCE_DESC_08", nullptr},
        {"INCIDENCE_DESC_09", nullptr}, {"INCIDENCE_DESC_10", nullptr}, {"INCIDENCE_DESC_11", nullptr},
        {"INCIDENCE_DESC_12", nullptr}, {"INCIDENCE_DESC_13", nullptr}, {"INCIDENCE_DESC_14", nullptr},
        {"INCIDENCE_DESC_15", nullptr}, {"INCIDENCE_DESC_16", nullptr}, {"INCIDENCE_DESC_17", nullptr},
        {"INCIDENCE_DESC_18", nullptr}, {"INCIDENCE_DESC_19", nullptr}, {"INCIDENCE_DESC_20", nullptr},
        {"INCIDENCE_DESC_21", nullptr}, {"INCIDENCE_DESC_22", nullptr}, {"INCIDENCE_DESC_23", nullptr},
        {"INCIDENCE_DESC_98", nullptr}, {"INCIDENCE_DESC_99", nullptr},
        {"INC_txt_param_1", nullptr}, {"INC_txt_param_2", nullptr}, {"INC_From", nullptr}, {"INC_code", nullptr},
        {"INC_user", nullptr}, {"INC_Sensor", nullptr}, {"INC_Rele", nullptr},
        {"INC_EVENTOS_0", nullptr}, {"INC_EVENTOS_1", nullptr}, {"INC_EVENTOS_2", nullptr}, {"INC_EVENTOS_3", nullptr},
        {"F_INCID_ENA00", nullptr}, {"F_INCID_ENA01", nullptr}, {"F_INCID_ENA02", nullptr},
        // others
        {"CONFIGUR", nullptr}, {"STAN_PIS", nullptr}, {"STAN_PHO", nullptr}, {"STAN_MES", nullptr},
        {"CONF_USR", nullptr}, {"ACC_ZON", nullptr}, {"L_MEN_DECISION00", nullptr}, {"L_MEN_DECISION01", nullptr},
    };
    return keys;
}

void Lang::loadMessages()
{
    QHash<QString, QString> loaded;
    for (const MessageKey &k : messageKeys()) {
        const QString key = QString::fromLatin1(k.key);
        loaded.insert(key, text(key, k.fallback ? QString::fromUtf8(k.fallback) : missing()));
    }
    state().messages = loaded;
}

QString Lang::message(const QString &key)
{
    return state().messages.value(key, missing());
}

const QStringList &Lang::vocabularyKeys()
{
    static const QStringList keys = {
        QStringLiteral("ACC"), QStringLiteral("APA"), QStringLiteral("IND"), QStringLiteral("GUA"),
        QStringLiteral("SEN"), QStringLiteral("SCH"), QStringLiteral("LFT"), QStringLiteral("LIC"),
        QStringLiteral("LIF"), QStringLiteral("LTM"), QStringLiteral("ACT"), QStringLiteral("PRO"),
        QStringLiteral("TIM"), QStringLiteral("ARE"), QStringLiteral("ZON"), QStringLiteral("USR"),
        QStringLiteral("HOL"), QStringLiteral("PER"), QStringLiteral("IVD"), QStringLiteral("TRD"),
        QStringLiteral("REL"),
    };
    return keys;
}

QHash<QString, QString> Lang::vocabulary()
{
    QHash<QString, QString> words;
    for (const QString &key : vocabularyKeys())
        words.insert(key, message(key));
    return words;
}

QString Lang::keyOfWord(const QString &caption, const QHash<QString, QString> &words)
{
    for (const QString &key : vocabularyKeys())
        if (words.value(key) == caption)
            return key;
    return QString();
}

namespace {

// Applies `map` to every node below level 1 of `tree`.
void mapBelowBlocks(TextTree &node, int level, const std::function<QString(const QString &)> &map)
{
    if (level >= 2)
        node.caption = map(node.caption);
    for (TextTree &child : node.children)
        mapBelowBlocks(child, level + 1, map);
}

} // namespace

TextTree Lang::translateTree(const TextTree &vocabularyTree, const QHash<QString, QString> &words)
{
    TextTree shown = vocabularyTree;
    mapBelowBlocks(shown, 0, [&words](const QString &caption) {
        // Only the tree-node keys are translated; DEC and the other shared
        // keys are not node kinds.
        if (vocabularyKeys().contains(caption) && words.contains(caption))
            return words.value(caption);
        return caption;
    });
    return shown;
}

TextTree Lang::buildVocabularyTree(const TextTree &displayedTree, const QHash<QString, QString> &words)
{
    TextTree stored = displayedTree;
    mapBelowBlocks(stored, 0, [&words](const QString &caption) {
        const QString key = keyOfWord(caption, words);
        return key.isEmpty() ? caption : key;
    });
    return stored;
}

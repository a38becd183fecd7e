#include "editors/ItemLists.h"

#include "frame/Lang.h"
#include "store/TableFamilies.h"
#include "store/engine/Table.h"

namespace ItemLists {

namespace {

struct KindInfo {
    int kind;
    const char *key;
    const char *suffix;
};

const QList<KindInfo> &kindInfos()
{
    static const QList<KindInfo> list = {
        {KindACC, "ACC", "_ACCESS.DB"},      {KindAPA, "APA", "_USERS.DB"},     {KindSEN, "SEN", "_Sensor.DB"},
        {KindGUA, "GUA", "_Gunits.DB"},      {KindIND, "IND", "_Indoor.DB"},    {KindSCH, "SCH", "_Scheduler.DB"},
        {KindIVD, "IVD", "_Hday.DB"},        {KindZON, "ZON", "_ZONES.DB"},     {KindUSR, "USR", "_USERS.DB"},
        {KindPRO, "PRO", "_PROFILES.DB"},    {KindARE, "ARE", "_GROUP_ZONES.DB"}, {KindPER, "PER", "_Hper.DB"},
        {KindTIM, "TIM", "_Timetables.DB"},  {KindLIF, "LIF", "_Lift.db"},      {KindLIC, "LIC", "_License.db"},
        {KindLTM, "LTM", "_Lift_Time.db"},
    };
    return list;
}

QString col(int n)
{
    return Lang::text(QStringLiteral("F_Princ_Lista_Principal_COL%1").arg(n, 2, 10, QLatin1Char('0')));
}

Column c(int n, int width) { return {col(n), width}; }

bool nonEmpty(const Row &row, const char *field) { return !fieldText(row, field).isEmpty(); }

// Text of a profile area field: the accepted text when set, "X" when empty.
QString areaMark(const Row &profile, const char *field)
{
    return nonEmpty(profile, field) ? Lang::message(QStringLiteral("VALOR_ACEP")) : QStringLiteral("X");
}

RowIcon systemProfileIcon(int number)
{
    switch (number) {
    case 120: return RowIcon::Profile120;
    case 125: return RowIcon::Profile125;
    case 126: return RowIcon::Profile126;
    case 127: return RowIcon::Profile127;
    default: return RowIcon::Profile;
    }
}

// Profile number → description, for the users lists.
QHash<qint64, QString> profileNames(const QList<Row> &profiles)
{
    QHash<qint64, QString> names;
    for (const Row &p : profiles) {
        const QVariant n = p.value(QStringLiteral("NUMERO_PERFIL"));
        if (!n.isNull())
            names.insert(n.toLongLong(), fieldText(p, "DESCRIPCION"));
    }
    return names;
}

QString profileOf(const Row &user, const QHash<qint64, QString> &names)
{
    const QVariant p = user.value(QStringLiteral("PERFIL"));
    if (p.isNull() || fieldText(user, "PERFIL").isEmpty())
        return QString();
    return names.value(p.toLongLong());
}

RowIcon memoryIcon(const Row &user)
{
    return user.value(QStringLiteral("MEM_POS_RELATIVA")).isNull() ? RowIcon::UserNotInMemory : RowIcon::UserInMemory;
}

} // namespace

const QList<int> &allKinds()
{
    static const QList<int> kinds = [] {
        QList<int> k;
        for (const KindInfo &i : kindInfos())
            k << i.kind;
        std::sort(k.begin(), k.end());
        return k;
    }();
    return kinds;
}

QString keyOfKind(int kind)
{
    for (const KindInfo &i : kindInfos())
        if (i.kind == kind)
            return QLatin1String(i.key);
    return QString();
}

int kindOfKey(const QString &key)
{
    for (const KindInfo &i : kindInfos())
        if (key == QLatin1String(i.key))
            return i.kind;
    return NoList;
}

int kindOfCaption(const QString &caption, const QHash<QString, QString> &words)
{
    for (const KindInfo &i : kindInfos()) {
        const QString word = words.value(QLatin1String(i.key));
        if (!word.isEmpty() && caption.compare(word, Qt::CaseInsensitive) == 0)
            return i.kind;
    }
    return NoList;
}

QString tableSuffix(int kind)
{
    for (const KindInfo &i : kindInfos())
        if (i.kind == kind)
            return QLatin1String(i.suffix);
    return QString();
}

QString fieldText(const Row &row, const char *field)
{
    const QVariant v = row.value(QLatin1String(field));
    if (v.isNull())
        return QString();
    return v.toString();
}

QString timeText(const QString &value)
{
    if (value.size() != 4)
        return value;
    return value.left(2) + QLatin1Char(':') + value.right(2);
}

QString dateText(const QString &value)
{
    if (value.size() != 4)
        return value;
    return value.left(2) + QLatin1Char('/') + value.right(2);
}

QString intervalText(const QString &start, const QString &end)
{
    // Both values must be complete four-digit times; a half-filled interval
    // is shown empty rather than cut in the wrong place.
    if (start.size() != 4 || end.size() != 4)
        return QString();
    return timeText(start) + QStringLiteral("--") + timeText(end);
}

QString areaZonesText(const Row &area)
{
    QString text;
    for (int z = 0; z < 32; ++z) {
        const QString field = QStringLiteral("Z%1").arg(z);
        if (area.value(field).toBool())
            text += field;
    }
    return text;
}

bool isSystemProfile(int number)
{
    return number == 120 || number == 125 || number == 126 || number == 127;
}

CellStyle cellStyle(const QString &text, int kind, bool level2)
{
    if (text.isEmpty())
        return CellStyle::Plain;
    if (text == Lang::message(QStringLiteral("VALOR_NACEP")))
        return CellStyle::RedItalic;
    if (kind == KindPRO || kind == KindUSR || level2) {
        if (text == Lang::text(QStringLiteral("F_Princ_SYSTEM")))
            return CellStyle::Red;
        for (const char *key : {"PRF_SYS_120", "PRF_SYS_125", "PRF_SYS_126", "PRF_SYS_127"})
            if (text == Lang::message(QLatin1String(key)))
                return CellStyle::Red;
    }
    return CellStyle::Plain;
}

ItemList build(const Input &in)
{
    ItemList list;
    list.kind = in.kind;
    const QList<Row> &rows = in.rows;
    auto add = [&list](QStringList cells, RowIcon icon = RowIcon::None) { list.rows.append({std::move(cells), icon}); };
    auto t = [](const Row &r, const char *f) { return fieldText(r, f); };

    switch (in.kind) {
    case KindACC:
        list.columns = {{Lang::word(QStringLiteral("ACC")), 50}, c(0, 120), c(1, 120), c(2, 120)};
        for (const Row &r : rows)
            add({t(r, "NUMERO"), t(r, "TIPO"), t(r, "DESCRIPCION"), t(r, "LECTOR_SECUNDARIO")});
        list.count = int(rows.size());
        break;
    case KindAPA:
        list.columns = {c(3, 185), c(4, 185), c(5, 50)};
        for (const Row &r : rows)
            if (r.value(QStringLiteral("ES_USR")).toBool())
                add({t(r, "NOMBRE"), t(r, "PISO_USR"), t(r, "PTA_PIN")});
        list.count = int(list.rows.size());
        break;
    case KindSEN:
        list.columns = {c(23, 50), c(1, 100), c(0, 270), c(24, 50), c(25, 80)};
        for (const Row &r : rows)
            add({t(r, "GRUPO"), t(r, "DESCRIPCION"), t(r, "TIPO"), t(r, "TIEMPO"),
                 r.value(QStringLiteral("MINUTOS")).toBool() ? col(26) : col(27)});
        list.count = int(rows.size());
        break;
    case KindGUA:
    case KindIND:
        list.columns = {c(19, 50), c(1, 150)};
        for (const Row &r : rows)
            if (nonEmpty(r, "CODIGO"))
                add({t(r, "CODIGO"), t(r, "DESCRIPCION")});
        list.count = int(rows.size());
        break;
    case KindSCH:
        list.columns = {c(10, 80), c(1, 200), c(0, 70), c(28, 50), c(14, 70), c(15, 70)};
        for (const Row &r : rows)
            add({t(r, "NUMERO"), t(r, "DESCRIPCION"), t(r, "TIPO_DISPOSITIVO"), t(r, "DISPOSITIVO"),
                 timeText(t(r, "START")), timeText(t(r, "END"))});
        list.count = int(list.rows.size());
        break;
    case KindIVD:
        list.columns = {c(1, 200), c(16, 100)};
        for (const Row &r : rows)
            add({t(r, "DESCRIPCION"), dateText(t(r, "DIA"))});
        list.count = int(rows.size());
        break;
    case KindZON:
        list.columns = {c(6, 50), c(1, 150), c(8, 90), c(9, 105)};
        for (const Row &r : rows)
            if (nonEmpty(r, "DESCRIPCION"))
                add({t(r, "N_ZONA"), t(r, "DESCRIPCION"), t(r, "CAPACIDAD"), t(r, "RELE")});
        list.count = int(list.rows.size());
        break;
    case KindUSR: {
        list.columns = {c(21, 100), c(3, 100), c(0, 90), c(19, 105), {Lang::word(QStringLiteral("PRO")), 75},
                        c(in.blockType == 2 ? 22 : 5, 105), c(4, 105)};
        const QHash<qint64, QString> names = profileNames(in.profiles);
        list.rows.reserve(rows.size());
        for (const Row &r : rows)
            add({t(r, "N_USUARIO"), t(r, "NOMBRE"), t(r, "TIPO_USR"), t(r, "CODIGO"), profileOf(r, names),
                 t(r, "PTA_PIN"), t(r, "PISO_USR")},
                memoryIcon(r));
        list.count = int(list.rows.size());
        break;
    }
    case KindPRO: {
        list.columns = {c(10, 50), c(1, 100), c(11, 90), c(12, 105), c(13, 75)};
        const QString system = Lang::text(QStringLiteral("F_Princ_SYSTEM"));
        for (const Row &r : rows) {
            if (!nonEmpty(r, "DESCRIPCION"))
                continue;
            const int number = r.value(QStringLiteral("NUMERO_PERFIL")).toInt();
            if (isSystemProfile(number))
                add({system, t(r, "DESCRIPCION"), QStringLiteral(" --"), QStringLiteral(" --"), QStringLiteral(" --")},
                    systemProfileIcon(number));
            else
                add({t(r, "NUMERO_PERFIL"), t(r, "DESCRIPCION"), areaMark(r, "P1GZ"), areaMark(r, "P2GZ"),
                     areaMark(r, "P3GZ")},
                    RowIcon::Profile);
        }
        list.count = int(list.rows.size());
        break;
    }
    case KindARE:
        list.columns = {c(10, 50), c(1, 100), c(20, 270)};
        for (const Row &r : rows)
            if (nonEmpty(r, "DESCRIPCION"))
                add({t(r, "NUMERO"), t(r, "DESCRIPCION"), areaZonesText(r)});
        list.count = int(list.rows.size());
        break;
    case KindPER:
        list.columns = {c(1, 100), c(14, 100), c(15, 100)};
        for (const Row &r : rows)
            add({t(r, "DESCRIPCION"), dateText(t(r, "START")), dateText(t(r, "END"))});
        list.count = int(rows.size());
        break;
    case KindTIM:
        list.columns = {c(10, 50), c(1, 100), c(17, 150), c(18, 150)};
        for (const Row &r : rows)
            if (nonEmpty(r, "NOMBRE"))
                add({t(r, "NUMERO"), t(r, "NOMBRE"), intervalText(t(r, "HORA_INI1"), t(r, "HORA_FIN1")),
                     intervalText(t(r, "HORA_INI2"), t(r, "HORA_FIN2"))});
        list.count = int(list.rows.size());
        break;
    case KindLIF:
        list.columns = {c(0, 200), c(29, 70), c(30, 70)};
        for (const Row &r : rows)
            add({t(r, "DESCRIPCION"), t(r, "PLANTA_START"), t(r, "PLANTA_END")});
        list.count = int(rows.size());
        break;
    case KindLIC:
        list.columns = {c(10, 50), c(1, 150), c(34, 50), c(35, 50), c(36, 50), c(37, 50), c(38, 50)};
        for (const Row &r : rows)
            add({t(r, "NUMERO"), t(r, "DESCRIPCION"), t(r, "PL_NR1"), t(r, "PL_NR2"), t(r, "PL_NR3"), t(r, "PL_NR4"),
                 t(r, "PL_NR5")});
        list.count = int(rows.size());
        break;
    case KindLTM:
        list.columns = {c(39, 100), c(40, 100)};
        if (!rows.isEmpty() && (nonEmpty(rows.first(), "T_USER") || nonEmpty(rows.first(), "T_VISITOR")))
            add({t(rows.first(), "T_USER"), t(rows.first(), "T_VISITOR")});
        list.count = int(rows.size());
        break;
    default:
        break;
    }
    return list;
}

ItemList buildLevel2Users(const QList<Row> &users, const QList<Row> &profiles, int blockType)
{
    ItemList list;
    list.kind = KindUSR;
    list.columns = {{Lang::text(QStringLiteral("F_Perf_USR_DEPEND_lista_columns0_caption")), 100},
                    {Lang::text(QStringLiteral("F_Perf_USR_DEPEND_lista_columns2_caption")), 100},
                    {Lang::text(QStringLiteral("F_Blocks_Sum_Lista_columns2_caption")), 90},
                    {Lang::text(QStringLiteral("F_Perf_USR_DEPEND_lista_columns1_caption")), 105},
                    {Lang::text(QStringLiteral("F_Info_Get_USR_Listbox1_05")), 75},
                    {col(blockType == 2 ? 22 : 5), 105}};
    const QHash<qint64, QString> names = profileNames(profiles);
    list.rows.reserve(users.size());
    for (const Row &r : users)
        list.rows.append({{fieldText(r, "N_USUARIO"), fieldText(r, "NOMBRE"), fieldText(r, "TIPO_USR"),
                           fieldText(r, "CODIGO"), profileOf(r, names), fieldText(r, "PTA_PIN")},
                          memoryIcon(r)});
    list.count = int(list.rows.size());
    return list;
}

QList<Row> readRows(const QString &folder, const QString &fileName)
{
    Table table(folder, fileName);
    table.open();
    const QStringList fields = table.fieldNames();
    QStringList upper;
    for (const QString &f : fields)
        upper << f.toUpper();
    QList<Row> rows;
    for (table.first(); !table.eof(); table.next()) {
        Row row;
        row.reserve(fields.size());
        for (int i = 0; i < fields.size(); ++i)
            row.insert(upper[i], table.value(fields[i]));
        rows.append(std::move(row));
    }
    table.close();
    return rows;
}

ItemList readList(int kind, const QString &folder, const QString &installation, const QString &block, int blockType)
{
    const QString prefix = TableFamilies::blockPrefix(installation, block);
    Input in;
    in.kind = kind;
    in.blockType = blockType;
    in.rows = readRows(folder, prefix + tableSuffix(kind));
    if (kind == KindUSR)
        in.profiles = readRows(folder, prefix + QStringLiteral("_PROFILES.DB"));
    return build(in);
}

ItemList readLevel2Users(const QString &folder, const QString &installation, const QString &block, int blockType)
{
    const QString prefix = TableFamilies::blockPrefix(installation, block);
    return buildLevel2Users(readRows(folder, prefix + QStringLiteral("_USERS.DB")),
                            readRows(folder, prefix + QStringLiteral("_PROFILES.DB")), blockType);
}

} // namespace ItemLists

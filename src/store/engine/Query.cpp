#include "store/engine/Query.h"

#include "store/engine/EngineError.h"
#include "store/engine/FileHandle.h"
#include "store/engine/TableFamily.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace {

// ---------------------------------------------------------------- tokens

enum class Tok { Ident, Number, DQuoted, SQuoted, Param, Op, LParen, RParen, Comma, Star, End };

struct Token {
    Tok kind;
    QString text; // identifier, literal content, operator, parameter name
    int pos;      // character offset in the statement
};

[[noreturn]] void bad(int pos, const QString &what)
{
    throw EngineError(EngineError::BadStatement, QStringLiteral("Invalid statement at position %1: %2").arg(pos).arg(what));
}

QList<Token> tokenize(const QString &sql)
{
    QList<Token> tokens;
    const int n = int(sql.size());
    int i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        const int start = i;
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            // A quote inside is written twice.
            QString text;
            ++i;
            bool closed = false;
            while (i < n) {
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) {
                        text += c;
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                text += sql[i++];
            }
            if (!closed)
                bad(start, QStringLiteral("unterminated quoted text"));
            tokens << Token{c == QLatin1Char('"') ? Tok::DQuoted : Tok::SQuoted, text, start};
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            while (i < n && (sql[i].isLetterOrNumber() || sql[i] == QLatin1Char('_')))
                ++i;
            tokens << Token{Tok::Ident, sql.mid(start, i - start), start};
        } else if (c.isDigit()) {
            while (i < n && sql[i].isDigit())
                ++i;
            if (i < n && sql[i] == QLatin1Char('.') && i + 1 < n && sql[i + 1].isDigit()) {
                ++i;
                while (i < n && sql[i].isDigit())
                    ++i;
            }
            if (i < n && (sql[i].isLetter() || sql[i] == QLatin1Char('_')))
                bad(i, QStringLiteral("unexpected character after a number"));
            tokens << Token{Tok::Number, sql.mid(start, i - start), start};
        } else if (c == QLatin1Char(':')) {
            ++i;
            while (i < n && (sql[i].isLetterOrNumber() || sql[i] == QLatin1Char('_')))
                ++i;
            if (i == start + 1)
                bad(start, QStringLiteral("a parameter needs a name"));
            tokens << Token{Tok::Param, sql.mid(start + 1, i - start - 1).toUpper(), start};
        } else if (c == QLatin1Char('(')) {
            tokens << Token{Tok::LParen, QStringLiteral("("), i++};
        } else if (c == QLatin1Char(')')) {
            tokens << Token{Tok::RParen, QStringLiteral(")"), i++};
        } else if (c == QLatin1Char(',')) {
            tokens << Token{Tok::Comma, QStringLiteral(","), i++};
        } else if (c == QLatin1Char('*')) {
            tokens << Token{Tok::Star, QStringLiteral("*"), i++};
        } else if (c == QLatin1Char('=') || c == QLatin1Char('-')) {
            tokens << Token{Tok::Op, QString(c), i++};
        } else if (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('!')) {
            QString op(c);
            ++i;
            if (i < n && (sql[i] == QLatin1Char('=') || (c == QLatin1Char('<') && sql[i] == QLatin1Char('>')))) {
                op += sql[i];
                ++i;
            }
            if (op == QLatin1String("!"))
                bad(start, QStringLiteral("unexpected character '!'"));
            if (op == QLatin1String("!="))
                op = QStringLiteral("<>");
            tokens << Token{Tok::Op, op, start};
        } else {
            bad(i, QStringLiteral("unexpected character '%1'").arg(c));
        }
    }
    tokens << Token{Tok::End, QString(), int(n)};
    return tokens;
}

QString quoted(const QString &identifier)
{
    QString escaped = identifier;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

const QStringList &reservedWords()
{
    static const QStringList words = {
        QStringLiteral("SELECT"), QStringLiteral("DISTINCT"), QStringLiteral("FROM"),   QStringLiteral("WHERE"),
        QStringLiteral("AND"),    QStringLiteral("OR"),       QStringLiteral("NOT"),    QStringLiteral("IN"),
        QStringLiteral("LIKE"),   QStringLiteral("IS"),       QStringLiteral("NULL"),   QStringLiteral("ORDER"),
        QStringLiteral("GROUP"),  QStringLiteral("BY"),       QStringLiteral("HAVING"), QStringLiteral("ASC"),
        QStringLiteral("DESC"),   QStringLiteral("UPDATE"),   QStringLiteral("SET"),    QStringLiteral("DELETE"),
        QStringLiteral("AS"),     QStringLiteral("TRUE"),     QStringLiteral("FALSE"),  QStringLiteral("INSERT"),
        QStringLiteral("INTO"),   QStringLiteral("VALUES"),   QStringLiteral("JOIN"),   QStringLiteral("UNION"),
    };
    return words;
}

// One bound value of the translated statement: a literal of the statement
// or a named parameter.
struct Slot {
    QVariant literal;
    QString param; // empty for a literal
    int pos;
};

struct TableRef {
    QString path;
    QString alias;
    TableDef def;
};

// An operand as translated: its SQL and whether it is a value (literal or
// parameter) rather than a column or function of columns.
struct Operand {
    QString sql;
    bool isValue = false;
    std::optional<FieldKind> kind; // a plain column's kind
    QString name;                  // a plain column's name
};

class Translator {
public:
    Translator(const QString &sql, const QString &folder) : m_sql(sql), m_folder(folder) {}

    enum class Kind { Select, Update, Delete };

    Kind kind = Kind::Select;
    QString out;
    QList<Slot> bindings;
    QList<TableRef> tables;
    // Top-level SELECT: the result columns' names and kinds.
    QStringList columnNames;
    QList<std::optional<FieldKind>> columnKinds;
    // UPDATE: the table and the columns set.
    int updateTable = -1;
    QStringList updatedColumns;

    void translate()
    {
        m_tokens = tokenize(m_sql);
        m_at = 0;
        if (isWord("SELECT")) {
            kind = Kind::Select;
            out = parseSelect(true);
        } else if (isWord("UPDATE")) {
            kind = Kind::Update;
            out = parseUpdate();
        } else if (isWord("DELETE")) {
            kind = Kind::Delete;
            out = parseDelete();
        } else {
            bad(cur().pos, QStringLiteral("expected SELECT, UPDATE or DELETE"));
        }
        if (cur().kind != Tok::End)
            bad(cur().pos, QStringLiteral("unexpected \"%1\"").arg(cur().text));
    }

private:
    const Token &cur() const { return m_tokens[m_at]; }
    bool isWord(const char *word) const
    {
        return cur().kind == Tok::Ident && cur().text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool acceptWord(const char *word)
    {
        if (!isWord(word))
            return false;
        ++m_at;
        return true;
    }
    void expectWord(const char *word)
    {
        if (!acceptWord(word))
            bad(cur().pos, QStringLiteral("expected %1").arg(QLatin1String(word)));
    }
    bool accept(Tok kind)
    {
        if (cur().kind != kind)
            return false;
        ++m_at;
        return true;
    }
    void expect(Tok kind, const char *what)
    {
        if (!accept(kind))
            bad(cur().pos, QStringLiteral("expected %1").arg(QLatin1String(what)));
    }

    QString addSlot(const QVariant &literal, const QString &param, int pos)
    {
        bindings << Slot{literal, param, pos};
        return QStringLiteral("?%1").arg(bindings.size());
    }

    // A double-quoted file name: the table, attached under an alias.
    int parseTable()
    {
        const Token t = cur();
        if (t.kind != Tok::DQuoted || !t.text.endsWith(QLatin1String(".db"), Qt::CaseInsensitive))
            bad(t.pos, QStringLiteral("expected a table file name in double quotes"));
        ++m_at;
        const QString path = TableFiles::resolve(m_folder, t.text);
        for (int i = 0; i < tables.size(); ++i) {
            if (tables[i].path == path)
                return i;
        }
        TableRef ref;
        ref.path = path;
        ref.alias = QStringLiteral("t%1").arg(tables.size());
        ref.def = Engine::definitionOf(path); // FileNotFound, NotATable
        tables << ref;
        return int(tables.size()) - 1;
    }

    QString column(int table, const Token &t, Operand *operand = nullptr)
    {
        const TableDef &def = tables[table].def;
        const int index = def.fieldIndex(t.text);
        if (index < 0)
            bad(t.pos, QStringLiteral("unknown field %1 in %2").arg(t.text, QFileInfo(tables[table].path).fileName()));
        if (operand) {
            operand->kind = def.fields[index].kind;
            operand->name = def.fields[index].name;
        }
        return quoted(def.fields[index].name);
    }

    // column | literal | :param | true | false | NULL | UPPER(x) | MAX/MIN/SUM(x) | COUNT(*|x)
    Operand parseOperand(int table, bool allowAggregate)
    {
        const Token t = cur();
        Operand o;
        switch (t.kind) {
        case Tok::DQuoted:
            if (t.text.endsWith(QLatin1String(".db"), Qt::CaseInsensitive))
                bad(t.pos, QStringLiteral("a table name cannot stand here"));
            [[fallthrough]];
        case Tok::SQuoted:
            ++m_at;
            o.sql = addSlot(t.text.isEmpty() ? QVariant() : QVariant(t.text), QString(), t.pos);
            o.isValue = true;
            return o;
        case Tok::Number:
            ++m_at;
            o.sql = addSlot(t.text.contains(QLatin1Char('.')) ? QVariant(t.text.toDouble()) : QVariant(t.text.toLongLong()), QString(), t.pos);
            o.isValue = true;
            return o;
        case Tok::Op:
            if (t.text == QLatin1String("-") && m_tokens[m_at + 1].kind == Tok::Number) {
                ++m_at;
                const QString number = QLatin1Char('-') + cur().text;
                ++m_at;
                o.sql = addSlot(number.contains(QLatin1Char('.')) ? QVariant(number.toDouble()) : QVariant(number.toLongLong()), QString(), t.pos);
                o.isValue = true;
                return o;
            }
            break;
        case Tok::Param:
            ++m_at;
            o.sql = addSlot(QVariant(), t.text, t.pos);
            o.isValue = true;
            return o;
        case Tok::Ident: {
            const QString word = t.text.toUpper();
            if (word == QLatin1String("TRUE") || word == QLatin1String("FALSE")) {
                ++m_at;
                o.sql = word == QLatin1String("TRUE") ? QStringLiteral("1") : QStringLiteral("0");
                o.isValue = true;
                return o;
            }
            if (word == QLatin1String("NULL")) {
                ++m_at;
                o.sql = QStringLiteral("NULL");
                o.isValue = true;
                return o;
            }
            const bool isFunction = m_tokens[m_at + 1].kind == Tok::LParen;
            if (isFunction && word == QLatin1String("UPPER")) {
                m_at += 2;
                const Operand inner = parseOperand(table, allowAggregate);
                expect(Tok::RParen, "')'");
                o.sql = QStringLiteral("vel_upper(%1)").arg(inner.sql);
                o.isValue = inner.isValue;
                return o;
            }
            if (isFunction && (word == QLatin1String("MAX") || word == QLatin1String("MIN") || word == QLatin1String("SUM")
                               || word == QLatin1String("COUNT"))) {
                if (!allowAggregate)
                    bad(t.pos, QStringLiteral("%1 cannot stand here").arg(word));
                m_at += 2;
                if (word == QLatin1String("COUNT") && accept(Tok::Star)) {
                    o.sql = QStringLiteral("count(*)");
                } else {
                    const bool distinct = acceptWord("DISTINCT");
                    const Operand inner = parseOperand(table, false);
                    o.sql = QStringLiteral("%1(%2%3)").arg(word.toLower(), distinct ? QStringLiteral("DISTINCT ") : QString(), inner.sql);
                    if (word != QLatin1String("COUNT"))
                        o.kind = inner.kind;
                }
                expect(Tok::RParen, "')'");
                return o;
            }
            if (isFunction)
                bad(t.pos, QStringLiteral("unknown function %1").arg(t.text));
            if (reservedWords().contains(word))
                bad(t.pos, QStringLiteral("unexpected %1").arg(t.text));
            ++m_at;
            o.sql = column(table, t, &o);
            return o;
        }
        default:
            break;
        }
        bad(t.pos, t.kind == Tok::End ? QStringLiteral("unexpected end of statement") : QStringLiteral("unexpected \"%1\"").arg(t.text));
    }

    QString parseCondition(int table, bool allowAggregate)
    {
        QString sql = parseAnd(table, allowAggregate);
        while (acceptWord("OR"))
            sql += QStringLiteral(" OR ") + parseAnd(table, allowAggregate);
        return sql;
    }

    QString parseAnd(int table, bool allowAggregate)
    {
        QString sql = parseNot(table, allowAggregate);
        while (acceptWord("AND"))
            sql += QStringLiteral(" AND ") + parseNot(table, allowAggregate);
        return sql;
    }

    QString parseNot(int table, bool allowAggregate)
    {
        if (acceptWord("NOT"))
            return QStringLiteral("NOT ") + parseNot(table, allowAggregate);
        if (cur().kind == Tok::LParen) {
            ++m_at;
            const QString inner = parseCondition(table, allowAggregate);
            expect(Tok::RParen, "')'");
            return QLatin1Char('(') + inner + QLatin1Char(')');
        }
        return parsePredicate(table, allowAggregate);
    }

    QString parsePredicate(int table, bool allowAggregate)
    {
        const Operand left = parseOperand(table, allowAggregate);
        const Token t = cur();
        if (t.kind == Tok::Op && t.text != QLatin1String("-")) {
            ++m_at;
            const Operand right = parseOperand(table, allowAggregate);
            QString op = t.text;
            // Against a value, null (the empty text) is a value like any other.
            if (left.isValue || right.isValue) {
                if (op == QLatin1String("="))
                    op = QStringLiteral("IS");
                else if (op == QLatin1String("<>"))
                    op = QStringLiteral("IS NOT");
            }
            return QStringLiteral("%1 %2 %3").arg(left.sql, op, right.sql);
        }
        if (acceptWord("IS")) {
            const bool negated = acceptWord("NOT");
            expectWord("NULL");
            return QStringLiteral("%1 IS %2NULL").arg(left.sql, negated ? QStringLiteral("NOT ") : QString());
        }
        const bool negated = acceptWord("NOT");
        if (acceptWord("LIKE")) {
            const Operand pattern = parseOperand(table, allowAggregate);
            return QStringLiteral("%1vel_like(%2, %3)").arg(negated ? QStringLiteral("NOT ") : QString(), pattern.sql, left.sql);
        }
        if (acceptWord("IN")) {
            expect(Tok::LParen, "'('");
            QString list;
            if (isWord("SELECT")) {
                const QString sub = parseSelect(false);
                // NOT IN over a sub-select that yields a null would match
                // nothing at all; nulls in the sub-select are left out.
                list = negated ? QStringLiteral("SELECT v FROM (%1) WHERE v IS NOT NULL").arg(sub) : sub;
            } else {
                QStringList values;
                do {
                    values << parseOperand(table, false).sql;
                } while (accept(Tok::Comma));
                list = values.join(QLatin1Char(','));
            }
            expect(Tok::RParen, "')'");
            return QStringLiteral("%1 %2IN (%3)").arg(left.sql, negated ? QStringLiteral("NOT ") : QString(), list);
        }
        if (negated)
            bad(cur().pos, QStringLiteral("expected LIKE or IN after NOT"));
        bad(t.pos, t.kind == Tok::End ? QStringLiteral("unexpected end of statement, expected a comparison")
                                      : QStringLiteral("expected a comparison, found \"%1\"").arg(t.text));
    }

    // SELECT. A sub-select yields one column named v.
    QString parseSelect(bool top)
    {
        expectWord("SELECT");
        const bool distinct = acceptWord("DISTINCT");
        // The columns are read after the table is known.
        const int itemsAt = m_at;
        int depth = 0;
        while (cur().kind != Tok::End && !(depth == 0 && isWord("FROM"))) {
            if (cur().kind == Tok::LParen)
                ++depth;
            else if (cur().kind == Tok::RParen && --depth < 0)
                break;
            ++m_at;
        }
        expectWord("FROM");
        const int table = parseTable();
        const int afterTable = m_at;
        m_at = itemsAt;
        QStringList items;
        if (accept(Tok::Star)) {
            if (!top)
                bad(m_tokens[m_at - 1].pos, QStringLiteral("a sub-select names one column"));
            items << QStringLiteral("*");
            for (const FieldDef &field : tables[table].def.fields) {
                columnNames << field.name;
                columnKinds << field.kind;
            }
        } else {
            do {
                const int start = cur().pos;
                const Operand item = parseOperand(table, true);
                const int end = m_tokens[m_at - 1].pos + int(m_tokens[m_at - 1].text.size())
                    + (m_tokens[m_at - 1].kind == Tok::DQuoted || m_tokens[m_at - 1].kind == Tok::SQuoted ? 2 : 0);
                QString name = item.name.isEmpty() ? m_sql.mid(start, end - start).simplified() : item.name;
                if (acceptWord("AS")) {
                    if (cur().kind != Tok::Ident && cur().kind != Tok::DQuoted)
                        bad(cur().pos, QStringLiteral("expected a column name after AS"));
                    name = cur().text;
                    ++m_at;
                }
                if (top) {
                    items << item.sql + QStringLiteral(" AS ") + quoted(name);
                    columnNames << name;
                    columnKinds << item.kind;
                } else {
                    items << item.sql + QStringLiteral(" AS v");
                }
            } while (accept(Tok::Comma));
            if (!isWord("FROM"))
                bad(cur().pos, QStringLiteral("expected FROM"));
            if (!top && items.size() != 1)
                bad(cur().pos, QStringLiteral("a sub-select names one column"));
        }
        m_at = afterTable;
        QString sql = QStringLiteral("SELECT %1%2 FROM %3.data").arg(distinct ? QStringLiteral("DISTINCT ") : QString(), items.join(QStringLiteral(", ")), tables[table].alias);
        if (acceptWord("WHERE"))
            sql += QStringLiteral(" WHERE ") + parseCondition(table, false);
        if (acceptWord("GROUP")) {
            expectWord("BY");
            QStringList groups;
            do {
                const Token t = cur();
                if (t.kind != Tok::Ident)
                    bad(t.pos, QStringLiteral("expected a field name"));
                ++m_at;
                groups << column(table, t);
            } while (accept(Tok::Comma));
            sql += QStringLiteral(" GROUP BY ") + groups.join(QLatin1Char(','));
            if (acceptWord("HAVING"))
                sql += QStringLiteral(" HAVING ") + parseCondition(table, true);
        }
        if (top && acceptWord("ORDER")) {
            expectWord("BY");
            QStringList terms;
            do {
                const Token t = cur();
                QString term;
                if (t.kind == Tok::Number) {
                    ++m_at;
                    const int n = t.text.toInt();
                    if (n < 1 || n > columnNames.size())
                        bad(t.pos, QStringLiteral("no column %1 to order by").arg(t.text));
                    term = QString::number(n);
                } else if (t.kind == Tok::Ident && !reservedWords().contains(t.text.toUpper())) {
                    ++m_at;
                    const int asColumn = int(columnNames.indexOf(t.text));
                    term = tables[table].def.fieldIndex(t.text) < 0 && asColumn >= 0 ? quoted(columnNames[asColumn]) : column(table, t);
                } else {
                    bad(t.pos, QStringLiteral("expected a field name"));
                }
                if (acceptWord("DESC"))
                    term += QStringLiteral(" DESC");
                else
                    acceptWord("ASC");
                terms << term;
            } while (accept(Tok::Comma));
            sql += QStringLiteral(" ORDER BY ") + terms.join(QLatin1Char(','));
        }
        return sql;
    }

    QString parseUpdate()
    {
        expectWord("UPDATE");
        const int table = parseTable();
        updateTable = table;
        expectWord("SET");
        QStringList sets;
        do {
            const Token t = cur();
            if (t.kind != Tok::Ident || reservedWords().contains(t.text.toUpper()))
                bad(t.pos, QStringLiteral("expected a field name"));
            ++m_at;
            const QString name = column(table, t);
            updatedColumns << tables[table].def.fields[tables[table].def.fieldIndex(t.text)].name;
            if (!(cur().kind == Tok::Op && cur().text == QLatin1String("=")))
                bad(cur().pos, QStringLiteral("expected '='"));
            ++m_at;
            sets << name + QStringLiteral("=") + parseOperand(table, false).sql;
        } while (accept(Tok::Comma));
        QString sql = QStringLiteral("UPDATE %1.data SET %2").arg(tables[table].alias, sets.join(QLatin1Char(',')));
        if (acceptWord("WHERE"))
            sql += QStringLiteral(" WHERE ") + parseCondition(table, false);
        return sql;
    }

    QString parseDelete()
    {
        expectWord("DELETE");
        expectWord("FROM");
        const int table = parseTable();
        QString sql = QStringLiteral("DELETE FROM %1.data").arg(tables[table].alias);
        if (acceptWord("WHERE"))
            sql += QStringLiteral(" WHERE ") + parseCondition(table, false);
        return sql;
    }

    QString m_sql;
    QString m_folder;
    QList<Token> m_tokens;
    int m_at = 0;
};

// ---------------------------------------------------------------- functions

// LIKE with % and _, comparing characters exactly.
bool likeMatch(const QString &pattern, const QString &text)
{
    const qsizetype p = pattern.size();
    const qsizetype t = text.size();
    qsizetype pi = 0, ti = 0, starP = -1, starT = 0;
    while (ti < t) {
        if (pi < p && (pattern[pi] == QLatin1Char('_') || (pattern[pi] != QLatin1Char('%') && pattern[pi] == text[ti]))) {
            ++pi;
            ++ti;
        } else if (pi < p && pattern[pi] == QLatin1Char('%')) {
            starP = pi++;
            starT = ti;
        } else if (starP >= 0) {
            pi = starP + 1;
            ti = ++starT;
        } else {
            return false;
        }
    }
    while (pi < p && pattern[pi] == QLatin1Char('%'))
        ++pi;
    return pi == p;
}

QString argText(sqlite3_value *v)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
}

void velLike(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int(ctx, likeMatch(argText(argv[0]), argText(argv[1])) ? 1 : 0);
}

void velUpper(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QByteArray utf8 = argText(argv[0]).toUpper().toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void bindVariant(sqlite3_stmt *stmt, int index, const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        sqlite3_bind_int(stmt, index, value.toBool() ? 1 : 0);
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
        sqlite3_bind_int64(stmt, index, value.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(stmt, index, value.toDouble());
        return;
    default: {
        const QByteArray utf8 = value.toString().toUtf8();
        if (utf8.isEmpty())
            sqlite3_bind_null(stmt, index);
        else
            sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    }
}

// A private connection with the statement's tables attached.
class Session {
public:
    explicit Session(const QList<TableRef> &tables)
    {
        if (sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
            sqlite3_close(m_db);
            throw EngineError(EngineError::General, QStringLiteral("Cannot start a query"));
        }
        sqlite3_busy_timeout(m_db, 5000);
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_create_function(m_db, "vel_like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, velLike, nullptr, nullptr);
        sqlite3_create_function(m_db, "vel_upper", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, velUpper, nullptr, nullptr);
        for (const TableRef &table : tables) {
            sqlite3_stmt *attach = prepare(QStringLiteral("ATTACH DATABASE ? AS ") + table.alias);
            const QByteArray path = QFile::encodeName(table.path);
            sqlite3_bind_text(attach, 1, path.constData(), int(path.size()), SQLITE_TRANSIENT);
            const int rc = sqlite3_step(attach);
            sqlite3_finalize(attach);
            if (rc != SQLITE_DONE)
                Engine::throwSqlite(m_db, rc, table.path);
            exec(QStringLiteral("PRAGMA %1.synchronous=FULL").arg(table.alias));
        }
    }
    ~Session() { sqlite3_close_v2(m_db); }
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    sqlite3 *db() const { return m_db; }

    sqlite3_stmt *prepare(const QString &sql)
    {
        sqlite3_stmt *stmt = nullptr;
        const QByteArray utf8 = sql.toUtf8();
        const int rc = sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &stmt, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(stmt);
            Engine::throwSqlite(m_db, rc, QStringLiteral("query"));
        }
        return stmt;
    }

    void exec(const QString &sql)
    {
        const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            Engine::throwSqlite(m_db, rc, QStringLiteral("query"));
    }

    bool any(const QString &sql)
    {
        sqlite3_stmt *stmt = prepare(sql);
        const int rc = sqlite3_step(stmt);
        sqlite3_finalize(stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            Engine::throwSqlite(m_db, rc, QStringLiteral("query"));
        return rc == SQLITE_ROW;
    }

private:
    sqlite3 *m_db = nullptr;
};

class StatementGuard {
public:
    explicit StatementGuard(sqlite3_stmt *stmt) : m_stmt(stmt) {}
    ~StatementGuard() { sqlite3_finalize(m_stmt); }
    StatementGuard(const StatementGuard &) = delete;
    StatementGuard &operator=(const StatementGuard &) = delete;
    sqlite3_stmt *get() const { return m_stmt; }

private:
    sqlite3_stmt *m_stmt;
};

} // namespace

struct Query::Prepared {
    std::unique_ptr<Translator> translator;
};

Query::Query(const QString &folder) : m_folder(folder) {}

Query::~Query() = default;

void Query::setSql(const QString &sql)
{
    close();
    m_sql = sql;
}

void Query::bind(const QString &name, const QVariant &value)
{
    QString key = name.startsWith(QLatin1Char(':')) ? name.mid(1) : name;
    m_params.insert(key.toUpper(), value);
}

Query::Prepared Query::prepare(bool forSelect)
{
    m_badPosition = -1;
    Prepared prepared;
    prepared.translator = std::make_unique<Translator>(m_sql, m_folder);
    try {
        prepared.translator->translate();
    } catch (const EngineError &e) {
        if (e.code() == EngineError::BadStatement) {
            static const QString marker = QStringLiteral("position ");
            const qsizetype at = e.text().indexOf(marker);
            if (at >= 0)
                m_badPosition = e.text().mid(at + marker.size()).section(QLatin1Char(':'), 0, 0).toInt();
        }
        throw;
    }
    const bool isSelect = prepared.translator->kind == Translator::Kind::Select;
    if (forSelect != isSelect) {
        m_badPosition = 0;
        throw EngineError(EngineError::BadStatement,
                          forSelect ? QStringLiteral("Invalid statement at position 0: only a SELECT can be opened; run it with exec")
                                    : QStringLiteral("Invalid statement at position 0: a SELECT is opened, not executed"));
    }
    for (const Slot &slot : std::as_const(prepared.translator->bindings)) {
        if (!slot.param.isEmpty() && !m_params.contains(slot.param)) {
            m_badPosition = slot.pos;
            throw EngineError(EngineError::BadStatement,
                              QStringLiteral("Invalid statement at position %1: parameter :%2 has no value").arg(slot.pos).arg(slot.param));
        }
    }
    m_translated = prepared.translator->out;
    return prepared;
}

void Query::open()
{
    close();
    Prepared prepared = prepare(true);
    const Translator &tr = *prepared.translator;
    Session session(tr.tables);
    StatementGuard stmt(session.prepare(tr.out));
    for (int i = 0; i < tr.bindings.size(); ++i)
        bindVariant(stmt.get(), i + 1, tr.bindings[i].param.isEmpty() ? tr.bindings[i].literal : m_params.value(tr.bindings[i].param));
    const int columns = sqlite3_column_count(stmt.get());
    QList<QVariantList> rows;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        QVariantList row(columns);
        for (int c = 0; c < columns; ++c) {
            const std::optional<FieldKind> kind = c < tr.columnKinds.size() ? tr.columnKinds[c] : std::nullopt;
            if (kind) {
                row[c] = Engine::columnValue(stmt.get(), c, *kind);
                continue;
            }
            switch (sqlite3_column_type(stmt.get(), c)) {
            case SQLITE_NULL: break;
            case SQLITE_INTEGER: row[c] = QVariant(qint64(sqlite3_column_int64(stmt.get(), c))); break;
            case SQLITE_FLOAT: row[c] = QVariant(sqlite3_column_double(stmt.get(), c)); break;
            default: {
                const QString text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), c)), sqlite3_column_bytes(stmt.get(), c));
                if (!text.isEmpty())
                    row[c] = QVariant(text);
            }
            }
        }
        rows << row;
    }
    if (rc != SQLITE_DONE)
        Engine::throwSqlite(session.db(), rc, QStringLiteral("query"));
    m_columns = tr.columnNames;
    m_rows = rows;
    m_row = 0;
    m_open = true;
}

int Query::exec()
{
    close();
    Prepared prepared = prepare(false);
    const Translator &tr = *prepared.translator;
    Session session(tr.tables);
    session.exec(QStringLiteral("BEGIN IMMEDIATE"));
    try {
        int changed = 0;
        {
            StatementGuard stmt(session.prepare(tr.out));
            for (int i = 0; i < tr.bindings.size(); ++i)
                bindVariant(stmt.get(), i + 1, tr.bindings[i].param.isEmpty() ? tr.bindings[i].literal : m_params.value(tr.bindings[i].param));
            const int rc = sqlite3_step(stmt.get());
            if (rc != SQLITE_DONE)
                Engine::throwSqlite(session.db(), rc, QFileInfo(tr.tables.first().path).fileName());
            changed = sqlite3_changes(session.db());
        }
        if (tr.kind == Translator::Kind::Update && changed > 0) {
            // What a Table would refuse to post is refused here too.
            const TableRef &table = tr.tables[tr.updateTable];
            const QString data = table.alias + QStringLiteral(".data");
            for (const QString &name : tr.updatedColumns) {
                const FieldDef &field = table.def.fields[table.def.fieldIndex(name)];
                const QString col = quoted(field.name);
                if (field.kind == FieldKind::Text) {
                    session.exec(QStringLiteral("UPDATE %1 SET %2=NULL WHERE %2=''").arg(data, col));
                    if (session.any(QStringLiteral("SELECT 1 FROM %1 WHERE length(%2)>%3 LIMIT 1").arg(data, col).arg(field.width)))
                        throw EngineError(EngineError::TextTooLong, QStringLiteral("Field %1 holds at most %2 characters").arg(field.name).arg(field.width));
                } else if (session.any(QStringLiteral("SELECT 1 FROM %1 WHERE typeof(%2) NOT IN ('integer','null') LIMIT 1").arg(data, col))) {
                    throw EngineError(EngineError::InvalidValue, QStringLiteral("Field %1 accepts only %2 values").arg(field.name, field.kind == FieldKind::Boolean ? QStringLiteral("logical") : QStringLiteral("integer")));
                }
                if (field.required && session.any(QStringLiteral("SELECT 1 FROM %1 WHERE %2 IS NULL LIMIT 1").arg(data, col)))
                    throw EngineError(EngineError::RequiredFieldMissing, QStringLiteral("Field %1 must have a value").arg(field.name));
            }
            // SQLite lets NULL repeat in a key; here an empty key field is a value.
            QStringList key;
            for (const QString &k : table.def.primaryKey)
                key << quoted(k);
            if (!key.isEmpty()
                && session.any(QStringLiteral("SELECT 1 FROM %1 GROUP BY %2 HAVING count(*)>1 LIMIT 1").arg(data, key.join(QLatin1Char(',')))))
                throw EngineError(EngineError::KeyViolation, QStringLiteral("Key violation"));
        }
        session.exec(QStringLiteral("COMMIT"));
        return changed;
    } catch (...) {
        sqlite3_exec(session.db(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

QVariant Query::value(const QString &name) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return value(i);
    }
    throw EngineError(EngineError::FieldNotFound, QStringLiteral("Field %1 not found in the query").arg(name));
}

QVariant Query::value(int index) const
{
    if (!m_open || m_row >= m_rows.size())
        throw EngineError(EngineError::NoCurrentRecord, QStringLiteral("The query has no current row"));
    if (index < 0 || index >= m_rows[m_row].size())
        throw EngineError(EngineError::FieldNotFound, QStringLiteral("The query has no column %1").arg(index));
    return m_rows[m_row][index];
}

QString Query::text(const QString &name) const
{
    const QVariant v = value(name);
    if (v.isNull())
        return QString();
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return v.toString();
}

void Query::close()
{
    m_open = false;
    m_rows.clear();
    m_row = 0;
    m_columns.clear();
}

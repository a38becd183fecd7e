#pragma once

#include "common/TextTree.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The language file: one section per language, key = text in each. Read
// whole once (UTF-8, or Windows-1252 when not valid UTF-8) into one hash per
// section, so a lookup is a hash probe. Keys and section names are matched
// without regard to case. The program never writes this file.
class LangFile {
public:
    static constexpr const char *kFileName = "VELTRONA_LANG.ini";

    // Reads `path`. A missing file is not an error (every lookup then gives
    // its default); false only when the file exists but cannot be read.
    bool load(const QString &path, QString *error = nullptr);
    void clear();

    bool isLoaded() const { return m_loaded; }
    QString path() const { return m_path; }
    // Section names (languages) in file order.
    QStringList sections() const { return m_sectionNames; }
    bool hasSection(const QString &section) const;
    // The text of `key` in `section`; `fallback` when either is missing.
    QString text(const QString &section, const QString &key, const QString &fallback) const;
    // The texts of one section (keys in lower case); null when missing.
    const QHash<QString, QString> *section(const QString &section) const;
    // Broken lines met while reading (line number, text, reason).
    QStringList problems() const { return m_problems; }

private:
    bool m_loaded = false;
    QString m_path;
    QStringList m_sectionNames;
    QHash<QString, QHash<QString, QString>> m_sections; // upper-case section → lower-case key → text
    QStringList m_problems;
};

// The program-wide language texts: the open language file, the current
// language and the shared message table.
class Lang {
public:
    // The text shown for a key that has no text and no default.
    static QString missing() { return QStringLiteral("\u00BF?"); }

    // The config folder's language file.
    static QString filePath();
    // Opens the language file (read once) and selects `language`; then
    // loads the shared message table in that language.
    static bool open(const QString &path, const QString &language, QString *error = nullptr);
    static void close();
    static const LangFile &file();

    // The language every later lookup reads. The shared message table is
    // not reloaded: it keeps the language of loadMessages().
    static void setLanguage(const QString &language);
    static QString language();
    // The languages of the file (its section names).
    static QStringList languages();

    // Current language's text for `key`; "¿?" when missing.
    static QString text(const QString &key);
    // Current language's text for `key`; `fallback` when missing.
    static QString text(const QString &key, const QString &fallback);
    // Several numbered keys joined by a carriage return: key1, key2, ...
    static QString lines(const QString &keyStem, int first, int last);

    // --- shared message table --------------------------------------------
    struct MessageKey {
        const char *key;
        const char *fallback; // nullptr: "¿?"
    };
    // The 136 keys in load order, with their built-in defaults.
    static const QList<MessageKey> &messageKeys();
    // Loads the table from the current language.
    static void loadMessages();
    // A text of the shared table as loaded ("¿?" for a key outside it).
    static QString message(const QString &key);

    // --- vocabulary --------------------------------------------------------
    // The tree-node keys in the order trees are translated: ACC, APA, ...
    static const QStringList &vocabularyKeys();
    // Key → word of the shared table (the words the current run shows).
    static QHash<QString, QString> vocabulary();
    // The word of one vocabulary key (or other shared key such as CONFIGUR).
    static QString word(const QString &key) { return message(key); }
    // The key whose word equals `caption` exactly; empty when none.
    static QString keyOfWord(const QString &caption, const QHash<QString, QString> &words);

    // A copy of `vocabularyTree` whose nodes below level 1 that carry a
    // vocabulary key show that key's word; other captions stay.
    static TextTree translateTree(const TextTree &vocabularyTree, const QHash<QString, QString> &words);
    static TextTree translateTree(const TextTree &vocabularyTree) { return translateTree(vocabularyTree, vocabulary()); }
    // The reverse: nodes below level 1 whose caption is a word get its key.
    static TextTree buildVocabularyTree(const TextTree &displayedTree, const QHash<QString, QString> &words);
    static TextTree buildVocabularyTree(const TextTree &displayedTree) { return buildVocabularyTree(displayedTree, vocabulary()); }
};

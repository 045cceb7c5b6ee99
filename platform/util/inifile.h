#pragma once
// An ini file with Windows private-profile semantics, as IniRead / IniWrite use it:
// - sections "[name]" and keys "key=value" are matched without regard to case; spaces around
//   names, around "=" and around the value are ignored; a value wrapped in a pair of double or
//   single quotes loses them;
// - a line whose first non-blank character is ";" is a comment (a ";" later on a line is part
//   of the value); lines before the first section and lines without "=" hold no key;
// - the first matching section, and the first matching key in it, win;
// - the text is UTF-8, or Windows-1252 when the bytes are not valid UTF-8 (a UTF-8 byte-order
//   mark is kept);
// - changes rewrite only the lines they touch: every other line is saved byte for byte, with
//   its own line end; new lines take the file's line end ("\n" for a new file) and encoding.
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace kem {

class IniFile
{
public:
    enum class Encoding { Utf8, Windows1252 };

    // Reads path; a missing file is an empty ini (exists() false). False with *error when the
    // file exists but cannot be read.
    bool load(const QString &path, QString *error = nullptr);
    // Writes the lines back atomically. False with *error on failure.
    bool save(const QString &path, QString *error = nullptr) const;

    bool exists() const { return m_exists; }
    Encoding encoding() const { return m_encoding; }

    std::optional<QString> value(const QString &section, const QString &key) const;
    // Sets the key, adding it at the end of its section (after its last non-blank line) or the
    // section at the end of the file. False with *error when the file's encoding cannot hold
    // the text, or when a name or the value would change the file's structure (a line break
    // anywhere, "]" in the section, "=" in the key, a key starting with ";" or "[").
    bool setValue(const QString &section, const QString &key, const QString &value,
                  QString *error = nullptr);
    void removeKey(const QString &section, const QString &key);
    void removeSection(const QString &section);

private:
    struct Line {
        QByteArray raw;  // bytes as in the file, line end included
        QString text;    // decoded, without line end
    };

    static std::optional<QString> SectionName(const QString &line);
    static bool KeyValue(const QString &line, QString &key, QString &value);
    qsizetype findSection(const QString &section) const; // header line, or -1
    qsizetype sectionEnd(qsizetype header) const;        // next header line, or the line count
    qsizetype findKey(qsizetype header, const QString &key) const;
    bool makeLine(const QString &text, const QByteArray &eol, Line &line, QString *error) const;
    void terminateLast();

    QList<Line> m_lines;
    QByteArray m_bom;
    QByteArray m_eol = "\n";
    Encoding m_encoding = Encoding::Utf8;
    bool m_exists = false;
};

} // namespace kem

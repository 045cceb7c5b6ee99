#include "platform/util/inifile.h"

#include "platform/util/outputfile.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace kem {

namespace {
const char *CodecName(IniFile::Encoding e) { return e == IniFile::Encoding::Utf8 ? "UTF-8" : "windows-1252"; }
const QByteArray kUtf8Bom("\xEF\xBB\xBF");
} // namespace

bool IniFile::load(const QString &path, QString *error)
{
    *this = IniFile{};
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Impossibile leggere il file %1: %2").arg(path, file.errorString());
        return false;
    }
    m_exists = true;
    QByteArray bytes = file.readAll();
    if (bytes.startsWith(kUtf8Bom)) {
        m_bom = kUtf8Bom;
        bytes.remove(0, m_bom.size());
    }
    QStringDecoder probe(QStringDecoder::Utf8); // only a stateful decoder reports errors
    const QString probed = probe.decode(bytes); // decode() is lazy: the conversion runs here
    Q_UNUSED(probed);
    m_encoding = probe.hasError() ? Encoding::Windows1252 : Encoding::Utf8;
    const qsizetype firstEol = bytes.indexOf('\n');
    if (firstEol > 0 && bytes[firstEol - 1] == '\r')
        m_eol = "\r\n";

    QStringDecoder decoder(CodecName(m_encoding), QStringDecoder::Flag::Stateless);
    qsizetype from = 0;
    while (from < bytes.size()) {
        qsizetype nl = bytes.indexOf('\n', from);
        const qsizetype end = nl < 0 ? bytes.size() : nl + 1;
        Line line;
        line.raw = bytes.mid(from, end - from);
        QByteArray body = line.raw;
        while (body.endsWith('\n') || body.endsWith('\r'))
            body.chop(1);
        line.text = decoder.decode(body);
        m_lines.append(line);
        from = end;
    }
    return true;
}

bool IniFile::save(const QString &path, QString *error) const
{
    OutputFile file(path);
    QString why;
    if (file.Open(&why)) {
        file.Write(m_bom);
        for (const Line &l : m_lines)
            file.Write(l.raw);
        if (file.Commit(&why))
            return true;
    }
    if (error)
        *error = why;
    return false;
}

std::optional<QString> IniFile::SectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

bool IniFile::KeyValue(const QString &line, QString &key, QString &value)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char(';')))
        return false;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    key = t.left(eq).trimmed();
    value = t.mid(eq + 1).trimmed();
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
        && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return true;
}

qsizetype IniFile::findSection(const QString &section) const
{
    const QString wanted = section.trimmed();
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const auto name = SectionName(m_lines[i].text);
        if (name && name->compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

qsizetype IniFile::sectionEnd(qsizetype header) const
{
    for (qsizetype i = header + 1; i < m_lines.size(); ++i)
        if (SectionName(m_lines[i].text))
            return i;
    return m_lines.size();
}

qsizetype IniFile::findKey(qsizetype header, const QString &key) const
{
    const QString wanted = key.trimmed();
    const qsizetype end = sectionEnd(header);
    QString k, v;
    for (qsizetype i = header + 1; i < end; ++i)
        if (KeyValue(m_lines[i].text, k, v) && k.compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

std::optional<QString> IniFile::value(const QString &section, const QString &key) const
{
    const qsizetype header = findSection(section);
    if (header < 0)
        return std::nullopt;
    const qsizetype at = findKey(header, key);
    if (at < 0)
        return std::nullopt;
    QString k, v;
    KeyValue(m_lines[at].text, k, v);
    return v;
}

bool IniFile::makeLine(const QString &text, const QByteArray &eol, Line &line, QString *error) const
{
    QStringEncoder encoder(CodecName(m_encoding));
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) {
        if (error)
            *error = QStringLiteral("Il testo \"%1\" non si può scrivere nella codifica Windows-1252 del file")
                         .arg(text);
        return false;
    }
    line.text = text;
    line.raw = bytes + eol;
    return true;
}

void IniFile::terminateLast()
{
    if (!m_lines.isEmpty() && !m_lines.last().raw.endsWith('\n'))
        m_lines.last().raw += m_eol;
}

bool IniFile::setValue(const QString &section, const QString &key, const QString &value, QString *error)
{
    // Names and values that would change the file's structure are refused, never written.
    const auto breaksLine = [](const QString &t) { return t.contains(QLatin1Char('\n')) || t.contains(QLatin1Char('\r')); };
    const QString keyName = key.trimmed(), sectionName = section.trimmed();
    if (breaksLine(section) || breaksLine(key) || breaksLine(value) || sectionName.isEmpty()
        || sectionName.contains(QLatin1Char(']')) || keyName.isEmpty() || keyName.contains(QLatin1Char('='))
        || keyName.startsWith(QLatin1Char(';')) || keyName.startsWith(QLatin1Char('['))) {
        if (error)
            *error = QStringLiteral("Sezione \"%1\", chiave \"%2\" o valore non validi per un file ini").arg(section, key);
        return false;
    }
    const qsizetype header = findSection(section);
    if (header >= 0) {
        const qsizetype at = findKey(header, key);
        if (at >= 0) {
            QString k, v;
            KeyValue(m_lines[at].text, k, v);
            const QByteArray &old = m_lines[at].raw;
            const QByteArray eol = old.endsWith("\r\n") ? QByteArray("\r\n")
                                   : old.endsWith('\n')  ? QByteArray("\n")
                                                         : QByteArray();
            Line line;
            if (!makeLine(k + QLatin1Char('=') + value, eol, line, error))
                return false;
            m_lines[at] = line;
            return true;
        }
        Line line;
        if (!makeLine(key.trimmed() + QLatin1Char('=') + value, m_eol, line, error))
            return false;
        qsizetype insertAt = sectionEnd(header);
        while (insertAt - 1 > header && m_lines[insertAt - 1].text.trimmed().isEmpty())
            --insertAt;
        if (insertAt == m_lines.size())
            terminateLast();
        m_lines.insert(insertAt, line);
        return true;
    }
    Line head, line;
    if (!makeLine(QLatin1Char('[') + section.trimmed() + QLatin1Char(']'), m_eol, head, error)
        || !makeLine(key.trimmed() + QLatin1Char('=') + value, m_eol, line, error))
        return false;
    terminateLast();
    m_lines << head << line;
    return true;
}

void IniFile::removeKey(const QString &section, const QString &key)
{
    const qsizetype header = findSection(section);
    const qsizetype at = header < 0 ? -1 : findKey(header, key);
    if (at >= 0)
        m_lines.removeAt(at);
}

void IniFile::removeSection(const QString &section)
{
    const qsizetype header = findSection(section);
    if (header >= 0)
        m_lines.remove(header, sectionEnd(header) - header);
}

} // namespace kem

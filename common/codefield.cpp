#include "common/codefield.h"

#include "common/aziendautil.h"
#include "platform/util/kemutil.h"

#include <QRegularExpression>

namespace kem {

QString AddWhereClause(const QString &where, const QString &clause)
{
    return where.trimmed().isEmpty() ? clause : where + " And " + clause;
}

int LookupRetryKeyCode(const QString &personalValue, int callerKey)
{
    const qint32 v = TextToInt(personalValue);
    return v != 0 ? v + 111 : callerKey;
}

QString LookupColumnList(const QString &campi, const QString &extraColumns)
{
    QString list = campi.left(4).compare(QLatin1String(",No,"), Qt::CaseInsensitive) == 0 ? QString() : campi;
    if (!extraColumns.trimmed().isEmpty())
        list = list.trimmed().isEmpty() ? extraColumns : list + "," + extraColumns;
    return list;
}

QDate ParseFieldDate(const QString &text)
{
    const QString t = text.trimmed();
    static const QRegularExpression parts(QStringLiteral("^(\\d{1,2})[/.\\-](\\d{1,2})[/.\\-](\\d{2}|\\d{4})$"));
    static const QRegularExpression packed(QStringLiteral("^(\\d{2})(\\d{2})(\\d{4}|\\d{2})$"));
    QRegularExpressionMatch m = parts.match(t);
    if (!m.hasMatch())
        m = packed.match(t);
    if (!m.hasMatch())
        return {};
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        year += year < 50 ? 2000 : 1900;
    return QDate(year, m.captured(2).toInt(), m.captured(1).toInt());
}

DateCheck CheckFieldDate(const QString &text, const QDate &minDate)
{
    if (text.trimmed().isEmpty())
        return DateCheck::Blank;
    const QDate d = ParseFieldDate(text);
    if (!d.isValid())
        return DateCheck::Invalid;
    if (minDate.isValid() && d < minDate)
        return DateCheck::TooSmall;
    return DateCheck::Valid;
}

void ReportedControls::add(const QString &name)
{
    if (!contains(name))
        text_ += "|<" + name + ">|";
}

int FindInText(const QString &text, const QString &needle, int from, bool forward, Qt::CaseSensitivity cs)
{
    if (needle.isEmpty())
        return -1;
    if (forward)
        return text.indexOf(needle, qMax(0, from), cs);
    const int start = from - 1;
    if (start < 0)
        return -1;
    return text.lastIndexOf(needle, start, cs);
}

QString AbsoluteIniDirectory(const QString &directory, const QString &driveDb)
{
    const QString d = directory.trimmed();
    if (d.isEmpty() || d.mid(1, 1) == QLatin1String(":") || d.startsWith(QLatin1String("\\\\")) ||
        d.startsWith(QLatin1Char('/')))
        return d;
    return PathJoin(QString(), driveDb, d);
}

QString CodeFieldParams::personal(const QString &section, const QString &key, const QString &def)
{
    return PersonalParam(menu_, section, key, def);
}

bool CodeFieldParams::noDecInattivi()
{
    if (!noDecInattivi_)
        noDecInattivi_ = personal(QStringLiteral("Articoli"), QStringLiteral("NoDecInattivi"), QStringLiteral("N"))
                             .trimmed()
                             .compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
    return *noDecInattivi_;
}

QString CodeFieldParams::retryKeyValue(const QString &kind)
{
    return personal(QStringLiteral("Tutti"), kind + "Hlp", QStringLiteral("0"));
}

QString CodeFieldParams::columnList(const QString &kind)
{
    return personal(QStringLiteral("Help"), "Campi" + kind, QString());
}

bool CodeFieldParams::passThrough(const QString &kind)
{
    return personal(QStringLiteral("Help"), "SQLPass" + kind, QString()).trimmed()
               .compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
}

QString CodeFieldParams::cfHelpRic(const QString &key)
{
    return personal(QStringLiteral("Tutti"), key, QString());
}

ArticleImageSettings CodeFieldParams::articleImages()
{
    const QString art = QStringLiteral("Articoli");
    ArticleImageSettings s;
    s.show = personal(art, QStringLiteral("Immagini"), QStringLiteral("N")).trimmed()
                 .compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
    QString dir;
    if (ini_.read(QStringLiteral("Base"), QStringLiteral("DirImgArt"), QString(), dir) == QLatin1String("0"))
        ini_.read(QStringLiteral("Base"), QStringLiteral("DirImmagini"), QString(), dir);
    s.directory = AbsoluteIniDirectory(dir, ini_.path(QStringLiteral("Base"), QStringLiteral("DriveDB")));
    s.ratio = personal(art, QStringLiteral("ImgRapVertOriz"), QString());
    s.realSize = personal(art, QStringLiteral("ImgDimReali"), QString());
    s.where = personal(art, QStringLiteral("ImgDove"), QStringLiteral("D"));
    const bool vertical = s.where.compare(QLatin1String("A"), Qt::CaseInsensitive) == 0 ||
                          s.where.compare(QLatin1String("B"), Qt::CaseInsensitive) == 0;
    s.space = personal(art, QStringLiteral("ImgSpazio"), vertical ? QStringLiteral("2000") : QStringLiteral("5000"));
    s.mostraImg = personal(art, QStringLiteral("MostraImg"), QString());
    s.doveMostraImg = personal(art, QStringLiteral("DoveMostraImg"), QString());
    return s;
}

} // namespace kem

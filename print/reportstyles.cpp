#include "print/reportstyles.h"

#include "platform/db/kemdb.h"
#include "platform/util/kemutil.h"
#include "platform/printlib/printfont.h"
#include "platform/printlib/printreport.h"

namespace kem {

namespace {

struct StyleDef {
    const char *name;
    const char *font;
    double size;
    bool bold;
};

constexpr StyleDef kHeader[] = {
    {"TestaAzienda", "arial", 9, false},
    {"Titolo", "arial", 9, true},
    {"TestaData", "arial", 10, false},
    {"TestaTitolo", "arial", 12, true},
};
constexpr StyleDef kBody[] = {
    {"CorpoLab", "arial", 8, true},
    {"CorpoLab2", "arial", 10, false},
    {"CorpoCampo", "arial", 10, false},
    {"CorpoLabComp", "arial", 7, true},
    {"CorpoCampoComp", "arial", 7, false},
    {"LarghezzaFissa", "Courier New", 8, false},
};

template <size_t N>
void define(PrintReport &report, PrintFont &font, const StyleDef (&defs)[N])
{
    font = PrintFont();  // a fresh working font: arial 8, plain
    for (const StyleDef &d : defs) {
        font.Name = QString::fromLatin1(d.font);
        font.Size = d.size;
        font.Bold = d.bold;
        font.Italic = font.Underline = font.Strikethrough = false;
        report.FontAdd(QString::fromLatin1(d.name), font);
    }
}

bool truthy(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return false;
    return v.toBool();
}

} // namespace

QString UserFontStyleName(int progressivo)
{
    const int width = progressivo > 99 ? 4 : 2;
    return QStringLiteral("FFPers-§-") + QStringLiteral("%1").arg(progressivo, width, 10, QLatin1Char('0'));
}

int RegisterUserFonts(Database &db, PrintReport &report)
{
    if (!db.TableExists(QStringLiteral("StaLasFontPers")))
        return 0;
    ResultSets rs;
    RsGuard h(rs, rs.RsOpen(db, QStringLiteral("Select * from StaLasFontPers") + QStringLiteral(" Order by Progressivo")));
    int count = 0;
    if (rs.RsIsEmpty(h))
        return 0;
    rs.RsMoveFirst(h);
    while (!rs.RsEof(h)) {
        PrintFont f;
        const QString name = rs.RsField(h, QStringLiteral("Nome")).toString().trimmed();
        if (!name.isEmpty())
            f.Name = name;
        f.Size = rs.RsField(h, QStringLiteral("Size")).toDouble();
        f.Bold = truthy(rs.RsField(h, QStringLiteral("Bold")));
        f.Italic = truthy(rs.RsField(h, QStringLiteral("Italic")));
        f.Strikethrough = truthy(rs.RsField(h, QStringLiteral("Strike")));
        f.Underline = truthy(rs.RsField(h, QStringLiteral("Underline")));
        if (report.FontAdd(UserFontStyleName(rs.RsField(h, QStringLiteral("Progressivo")).toInt()), f))
            ++count;
        rs.RsMoveNext(h);
    }
    return count;
}

void ReportStyles::HeaderStyles(PrintReport &report, PrintFont &font) const
{
    define(report, font, kHeader);
    ApplyFontSettings(report, QStringLiteral("FontPersTes"));
}

void ReportStyles::BodyStyles(PrintReport &report, PrintFont &font) const
{
    define(report, font, kBody);
    ApplyFontSettings(report, QStringLiteral("FontPersCor"));
}

void ReportStyles::ApplyFontSettings(PrintReport &report, const QString &key) const
{
    QString section = report.ReportKeyGet();
    int n = TextToInt(m_env.ini(section, key, QStringLiteral("0")));
    if (n < 1) {
        section = QStringLiteral("Opzioni Stampa");
        n = TextToInt(m_env.ini(section, key, QStringLiteral("0")));
    }
    for (int i = 1; i <= n; ++i) {
        const QString style = m_env.ini(section, QStringLiteral("CodiceFontCor") + QString::number(i));
        PrintFont font;
        if (style.isEmpty() || !report.StyleFontGet(style, &font))
            continue;
        const QString progr = m_env.ini(section, style + QStringLiteral("_Progr"));
        PrintFont user;
        bool ok = false;
        const int p = TextToInt(progr, &ok);
        if (!progr.isEmpty() && ok && report.StyleFontGet(UserFontStyleName(p), &user)) {
            report.FontAdd(style, user);
            continue;
        }
        const QString name = m_env.ini(section, style + QStringLiteral("_Name"));
        const QString size = m_env.ini(section, style + QStringLiteral("_Size"));
        const QString bold = m_env.ini(section, style + QStringLiteral("_Bold"));
        if (!name.isEmpty())
            font.Name = name;
        if (!size.isEmpty()) {
            const double s = TextToNum(size, &ok);
            if (ok && s > 0)
                font.Size = s;
        }
        if (!bold.isEmpty())
            font.Bold = bold.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
                || bold.compare(QLatin1String("vero"), Qt::CaseInsensitive) == 0;
        report.FontAdd(style, font);
    }
}

} // namespace kem

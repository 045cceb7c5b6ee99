#include "print/pageheader.h"

#include "platform/printlib/printoptions.h"
#include "print/printprogress.h"
#include "platform/printlib/printreport.h"

namespace kem {

namespace {
const QString kCompanyStyle = QStringLiteral("TestaAzienda");
const QString kDateStyle = QStringLiteral("TestaData");
const QString kTitleStyle = QStringLiteral("TestaTitolo");
const QString kFixedStyle = QStringLiteral("LarghezzaFissa");

int destination(const PrintReport &report)
{
    const auto o = report.OptionsGet();
    return o ? o->StaVid : PrintOptions::Printer;
}

// Writes text into line at column `at`, cut at the line's end.
void place(QString &line, int at, const QString &text)
{
    for (int i = 0; i < text.size() && at + i < line.size(); ++i)
        if (at + i >= 0)
            line[at + i] = text.at(i);
}
} // namespace

bool FileFormatTwo(const PrintOptions &o)
{
    return o.StaVid == PrintOptions::File && o.FileForm == 2;
}

QString PageHeader::menuVar(const QString &name) const
{
    const auto it = m_cache.constFind(name);
    if (it != m_cache.constEnd())
        return *it;
    return *m_cache.insert(name, m_env.menuVar(name));
}

bool PageHeader::versionShown() const
{
    const QString key = QStringLiteral("[Stampe]StampaVersione");
    auto it = m_cache.constFind(key);
    if (it == m_cache.constEnd())
        it = m_cache.insert(key, m_env.ini(QStringLiteral("Stampe"), QStringLiteral("StampaVersione"), QStringLiteral("S")));
    return it->toUpper() != QLatin1String("N");
}

QString PageHeader::VersionText(bool hide) const
{
    const QString text = QStringLiteral("Kemora ") + menuVar(QStringLiteral("versione"));
    return (hide || !versionShown()) ? QString(text.size(), QLatin1Char(' ')) : text;
}

QString PageHeader::CompanyText(const PageHeaderArgs &args) const
{
    const QString studio = menuVar(QStringLiteral("studio"));
    QString text = studio.isEmpty() ? QString() : QStringLiteral("Studio: ") + studio + QLatin1Char(' ');
    text += QStringLiteral("Ditta: ");
    text += args.company.isEmpty() ? menuVar(QStringLiteral("ditta.ragsoc")) : args.company;
    if (!args.extraText.isEmpty())
        text += QLatin1Char(' ') + args.extraText;
    return text;
}

QString PageHeader::DateText(const QDate &date) const
{
    const QDate d = date.isValid() ? date : m_env.workingDate;
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}

QString PageHeader::PageText(int page)
{
    return QStringLiteral("Pag. ") + QStringLiteral("%1").arg(page, 3, 10, QLatin1Char('0'));
}

QString PageHeader::FixedLine1(const QString &version, const QString &company, int columns)
{
    QString line(std::max(columns, 0), QLatin1Char(' '));
    place(line, 0, version);
    const int room = columns - int(version.size()) - 1;
    if (room > 0) {
        const QString c = company.left(room);
        place(line, columns - int(c.size()), c);
    }
    return line;
}

QString PageHeader::FixedLine2(const QString &date, const QString &title, const QString &page, int columns)
{
    QString line(std::max(columns, 0), QLatin1Char(' '));
    place(line, 0, date);
    const int t = std::max((columns - int(title.size())) / 2, int(date.size()) + 1);
    place(line, t, title);
    place(line, columns - int(page.size()), page);
    return line;
}

void PageHeader::Draw(PrintReport &report, const PageHeaderArgs &args) const
{
    const int page = args.pageNumber > 0 ? args.pageNumber : report.PageNumGet();
    if (PrintProgressView *view = ProgressViewOf(report.ProgressFormGet()))
        view->PageShow(page);
    const int staVid = destination(report);
    if (args.mode == 1 || (args.mode == 2 && staVid == PrintOptions::File))
        return;

    const QString version = VersionText(args.hideVersion);
    QString company = CompanyText(args);
    const auto options = report.OptionsGet();
    if (options && FileFormatTwo(*options) && !args.secondCompany.isEmpty())
        company += kSecondCompanyMarker + args.secondCompany;
    const QString date = DateText(args.date);
    const QString pageText = PageText(page);

    if (staVid == PrintOptions::FixedWidth) {
        const int columns = options && options->FisColonne > 0 ? options->FisColonne : 132;
        report.StyleSelect(kFixedStyle);
        report.AlignSet(QStringLiteral("S"));
        report.TextPrint(0, FixedLine1(version, company, columns));
        if (report.SkipGet())
            return;
        report.LineEnd();
        if (args.blankLine)
            report.LineEnd();
        report.AlignSet(QStringLiteral("S"));
        report.TextPrint(0, FixedLine2(date, args.title, pageText, columns));
        report.LineEnd();
        return;
    }

    report.StyleSelect(kCompanyStyle);
    report.AlignSet(QStringLiteral("S"));
    report.TextPrint(0, version);
    if (report.SkipGet())
        return;
    report.AlignSet(QStringLiteral("D"));
    report.TextPrint(0, company);
    report.LineEnd();
    if (args.blankLine)
        report.LineEnd();
    report.StyleSelect(kDateStyle);
    report.AlignSet(QStringLiteral("S"));
    report.TextPrint(0, date);
    report.StyleSelect(kTitleStyle);
    report.AlignSet(QStringLiteral("C"));
    report.TextPrint(0, args.title);
    report.StyleSelect(kDateStyle);
    report.AlignSet(QStringLiteral("D"));
    report.TextPrint(0, pageText);
    report.LineEnd();
}

void ItemListPrint(PrintReport &report, const QString &text, const QString &style, const QString &align)
{
    if (text.size() < 3)
        return;
    const auto options = report.OptionsGet();
    const bool fixed = options && options->StaVid == PrintOptions::FixedWidth && options->FisColonne > 0;
    report.AlignSet(align);
    report.StyleSelect(style);
    const double limit = fixed ? double(options->FisColonne)
                               : report.PageWidthGet() - report.MarginLeftGet() - report.MarginRightGet() - 2;
    auto measure = [&](const QString &s) { return fixed ? double(s.size()) : report.TextWidthGet(s); };

    QString body = text;
    if (body.endsWith(QLatin1String("; ")))
        body.chop(2);
    else if (body.endsWith(QLatin1Char(';')))
        body.chop(1);
    const QStringList items = body.split(QLatin1Char(';'));
    QString line;
    auto flush = [&] {
        if (line.isEmpty())
            return;
        report.TextPrint(0, line);
        report.LineEnd();
        line.clear();
    };
    for (const QString &item : items) {
        const QString candidate = line + QLatin1Char(';') + item;
        if (!line.isEmpty() && measure(candidate) > limit)
            flush();
        line = line.isEmpty() ? item.trimmed() : line + QLatin1Char(';') + item;
    }
    flush();
}

} // namespace kem

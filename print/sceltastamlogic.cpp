#include "print/sceltastamlogic.h"

#include "print/defaultprinter.h"
#include "platform/util/kemutil.h"
#include "print/optionsini.h"
#include "platform/os/printersystem.h"
#include "platform/printlib/printoptions.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFile>
#include <QTextStream>
#include <QStandardPaths>

namespace kem {

// ------------------------------------------------------------------------------------------
// Paper bins and sizes
// ------------------------------------------------------------------------------------------

QString NoPaperSettingText()
{
    return QStringLiteral("Nessuna impostazione - Default");
}

namespace {

QString cutAtNul(const QString &name)
{
    const qsizetype nul = name.indexOf(QChar(0));
    return nul < 0 ? name : name.left(nul);
}

} // namespace

QString BinItemText(int number, const QString &name)
{
    return QString::number(number).rightJustified(6, QLatin1Char(' ')) + QStringLiteral(" - ") + cutAtNul(name);
}

NoBinsPrinters::NoBinsPrinters(const QString &raw)
{
    m_list = raw.trimmed();
    m_all = m_list.compare(QLatin1String("tutte"), Qt::CaseInsensitive) == 0;
    if (!m_list.isEmpty() && !m_all) {
        if (!m_list.startsWith(QLatin1Char(',')))
            m_list.prepend(QLatin1Char(','));
        if (!m_list.endsWith(QLatin1Char(',')))
            m_list.append(QLatin1Char(','));
    }
}

NoBinsPrinters NoBinsPrinters::FromIni(const PrintEnv &env)
{
    return NoBinsPrinters(env.ini(QStringLiteral("Tutti"), QStringLiteral("StampantiNoCassetti")));
}

bool NoBinsPrinters::Excludes(const QString &printer) const
{
    if (m_all)
        return true;
    if (m_list.isEmpty())
        return false;
    return m_list.contains(QLatin1Char(',') + printer + QLatin1Char(','), Qt::CaseInsensitive);
}

bool BinItems(PrinterSystem &printers, const QString &printer, const NoBinsPrinters &noBins,
              QList<PaperItem> *out, QString *error)
{
    out->clear();
    out->append(PaperItem{0, NoPaperSettingText()});
    if (noBins.Excludes(printer))
        return true;
    QList<PaperChoice> bins;
    if (!printers.PaperSources(printer, &bins, error))
        return false;
    for (const PaperChoice &b : bins)
        out->append(PaperItem{b.number, BinItemText(b.number, b.name)});
    return true;
}

bool SizeItems(PrinterSystem &printers, const QString &printer, QList<PaperItem> *out, QString *error)
{
    out->clear();
    out->append(PaperItem{0, NoPaperSettingText()});
    QList<PaperChoice> sizes;
    if (!printers.PaperSizes(printer, &sizes, error))
        return false;
    for (const PaperChoice &s : sizes)
        out->append(PaperItem{s.number, cutAtNul(s.name)});
    return true;
}

QString PaperSizesMessage(const QList<PaperItem> &sizes, int current)
{
    QString text = QStringLiteral("Formati disponibili ");
    for (const PaperItem &s : sizes) {
        if (s.number == 0)
            continue;
        text += QStringLiteral("\r\n") + s.text;
        if (s.number == current)
            text += QStringLiteral(" (ATTUALE)");
    }
    return text;
}

QString PaperSizeDriverError()
{
    return QStringLiteral("Errore nel driver nella ricerca informazioni Papersize");
}

int PaperItemIndex(const QList<PaperItem> &items, int number)
{
    for (int i = 0; i < items.size(); ++i)
        if (items[i].number == number)
            return i;
    return 0;
}

// ------------------------------------------------------------------------------------------
// Spreadsheet application and file dialog filters
// ------------------------------------------------------------------------------------------

namespace {

// True for a desktop entry, not hidden, whose categories include "Spreadsheet".
bool isSpreadsheetEntry(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream in(&f);
    bool inEntry = false, spreadsheet = false, hidden = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inEntry)
            continue;
        if (line.startsWith(QLatin1String("Categories=")))
            spreadsheet = line.mid(11).split(QLatin1Char(';'), Qt::SkipEmptyParts).contains(QStringLiteral("Spreadsheet"));
        else if (line == QLatin1String("Hidden=true"))
            hidden = true;
    }
    return spreadsheet && !hidden;
}

} // namespace

int SystemSpreadsheetApp::Version()
{
    return Find().isEmpty() ? 0 : InstalledVersion;
}

QString SystemSpreadsheetApp::Find()
{
    static const char *const programs[] = {"libreoffice", "soffice", "localc", "gnumeric",
                                           "calligrasheets", "onlyoffice-desktopeditors"};
    for (const char *p : programs) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(p));
        if (!found.isEmpty())
            return found;
    }
    for (const QString &dir : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        QDirIterator it(dir, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (isSpreadsheetEntry(file))
                return file;
        }
    }
    return {};
}

QString PrintFileFilter(int spreadsheetVersion)
{
    const QString common = QStringLiteral("Compatibile Excel|*.csv;*.txt|Testo|*.txt");
    if (spreadsheetVersion <= 0)
        return common;
    const QString ext = spreadsheetVersion >= 12 ? QStringLiteral("xlsx") : QStringLiteral("xls");
    return QStringLiteral("Formato Excel|*.") + ext + QLatin1Char('|') + common;
}

QString FixedWidthFileFilter()
{
    return QStringLiteral("Testo|*.txt");
}

QStringList DialogFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out.append(parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return out;
}

int FileFormForFilter(int filterNumber, bool withWorkbook)
{
    if (withWorkbook)
        return filterNumber == 1 ? PrintOptions::Xlsx : filterNumber - 2;
    return filterNumber - 1;
}

QString PrintFileDialogTitle()
{
    return QStringLiteral("Nome del file di stampa");
}

// ------------------------------------------------------------------------------------------
// Saving and deleting option values
// ------------------------------------------------------------------------------------------

const QList<SaveRow> &SavePanelRows()
{
    static const QList<SaveRow> rows = {
        {QStringLiteral("Dove stampare:"), QStringLiteral("StaVid")},
        {QStringLiteral("Forza verticale:"), QStringLiteral("ForzaVert")},
        {QStringLiteral("File di stampa per stampe su file:"), QStringLiteral("FileName")},
        {QStringLiteral("Formato di stampa per stampe su file:"), QStringLiteral("FileForm")},
        {QStringLiteral("Path di default:"), QStringLiteral("PathDefault")},
        {QStringLiteral("Separatore campi per stampe su file:"), QStringLiteral("SepCampi")},
        {QStringLiteral("Qualificatore testo per stampe su file:"), QStringLiteral("DelimStr")},
        {QStringLiteral("Tolgo il formato nei campi numerici  per stampe su file:"), QStringLiteral("NumNoForm")},
        {QStringLiteral("Fattore di visualizzazione:"), QStringLiteral("Fatt")},
        {QStringLiteral("Memorizza pagine per stampa a video:"), QStringLiteral("MemVid")},
        {QStringLiteral("Nome file per stampa fissa:"), QStringLiteral("FisFileName")},
        {QStringLiteral("Stampa fissa su:"), QStringLiteral("FisStampante")},
        {QStringLiteral("Righe vuote in alto per stampa fissa:"), QStringLiteral("FisMrAlt")},
        {QStringLiteral("Righe vuote in basso per stampa fissa:"), QStringLiteral("FisMrBas")},
        {QStringLiteral("Numero di colonne per stampa fissa:"), QStringLiteral("FisColonne")},
        {QStringLiteral("Righe per pagina per stampa fissa:"), QStringLiteral("FisRighe")},
        {QStringLiteral("Sequenza inizio compresso:"), QStringLiteral("FisCodIniComp")},
        {QStringLiteral("Sequenza fine compresso:"), QStringLiteral("FisCodFinComp")},
        {QStringLiteral("Stampa in compresso per stampa fissa:"), QStringLiteral("FisUtilComp")},
        {QStringLiteral("Nome stampante:"), QStringLiteral("NomeStampante")},
        {QStringLiteral("Porta stampante:"), QStringLiteral("NomePorta")},
        {QStringLiteral("Cassetto:"), QStringLiteral("Cassetto")},
        {QStringLiteral("Tipo carta:"), QStringLiteral("TipoCarta")},
        {QStringLiteral("Nome file Pdf autom."), QStringLiteral("PdfNomeAutom")},
        {QStringLiteral("Invia per Email"), QStringLiteral("InviaEmail")},
    };
    return rows;
}

namespace {

QString yesNo(bool b)
{
    return b ? QStringLiteral("Sì") : QStringLiteral("No");
}

QString orDefault(int n)
{
    return n == 0 ? QStringLiteral("Default") : QString::number(n);
}

} // namespace

QString SavePanelValue(const PrintOptions &o, const QString &key, double previewScale)
{
    const auto is = [&key](const char *k) { return key.compare(QLatin1String(k), Qt::CaseInsensitive) == 0; };
    if (is("StaVid")) {
        switch (o.StaVid) {
        case PrintOptions::Printer: return QStringLiteral("Stampante");
        case PrintOptions::Preview: return QStringLiteral("Video");
        case PrintOptions::File: return QStringLiteral("File");
        case PrintOptions::FixedWidth: return QStringLiteral("Fissa");
        default: return QString::number(o.StaVid);
        }
    }
    if (is("ForzaVert"))
        return yesNo(o.ForzaVert != 0);
    if (is("FileForm"))
        return QString::number(o.FileForm);
    if (is("FileName"))
        return o.FileName;
    if (is("PathDefault"))
        return o.PathDefault;
    if (is("SepCampi")) {
        if (o.SepCampi == PrintOptions::SepTab)
            return QStringLiteral("Tab");
        if (o.SepCampi == PrintOptions::SepSpace)
            return QStringLiteral("Spazio");
        QChar c;
        return o.SeparatorChar(&c) ? QString(c) : QString::number(o.SepCampi);
    }
    if (is("DelimStr")) {
        QChar c;
        if (!o.QualifierChar(&c))
            return QString::number(o.DelimStr);
        return c.isNull() ? QStringLiteral("Nessuno") : QString(c);
    }
    if (is("NumNoForm"))
        return yesNo(o.NumNoForm);
    if (is("Fatt"))
        return NumText(double(float(previewScale > 0 ? o.Fatt / previewScale : o.Fatt)));
    if (is("MemVid"))
        return yesNo(o.MemVid != 0);
    if (is("FisFileName"))
        return o.FisFileName;
    if (is("FisStampante"))
        return yesNo(o.FisStampante);
    if (is("FisMrAlt"))
        return QString::number(o.FisMrAlt);
    if (is("FisMrBas"))
        return QString::number(o.FisMrBas);
    if (is("FisColonne"))
        return QString::number(o.FisColonne);
    if (is("FisRighe"))
        return QString::number(o.FisRighe);
    if (is("FisCodIniComp"))
        return o.FisCodIniComp;
    if (is("FisCodFinComp"))
        return o.FisCodFinComp;
    if (is("FisUtilComp"))
        return yesNo(o.FisUtilComp);
    if (is("NomeStampante"))
        return o.NomeStampante;
    if (is("NomePorta"))
        return o.NomePorta;
    if (is("Cassetto"))
        return orDefault(o.ParamInt(QStringLiteral("NumCassetto")));
    if (is("TipoCarta"))
        return orDefault(o.ParamInt(QStringLiteral("NumTipoCarta")));
    if (is("PdfNomeAutom"))
        return yesNo(o.ParamGet(QStringLiteral("PdfAutomAbil")).toBool());
    if (is("InviaEmail"))
        return yesNo(o.ParamGet(QStringLiteral("EmailInvia")).toBool());
    return {};
}

QString TerminalIniFile(const PrintEnv &env)
{
    return env.mainIni;
}

QString CommonIniFile(const PrintEnv &env)
{
    const QString company = env.companyIni.trimmed();
    if (company.isEmpty())
        return {};
    if (QFileInfo(company).isAbsolute())
        return company;
    return QFileInfo(env.mainIni).absoluteDir().filePath(company);
}

QString SaveRequestFile(const PrintEnv &env, const SaveRequest &r)
{
    return r.commonFile ? CommonIniFile(env) : TerminalIniFile(env);
}

QString SaveRequestSection(const PrintOptions &o, const SaveRequest &r)
{
    return r.defaultSection ? QStringLiteral("Opzioni Stampa") : o.SectionKey;
}

bool ApplySaveRequest(const PrintEnv &env, const PrintOptions &o, const SaveRequest &r, QString *error)
{
    const QString file = SaveRequestFile(env, r);
    const QString section = SaveRequestSection(o, r);
    if (file.isEmpty()) {
        *error = QStringLiteral("Non c'è un file di parametri comune a tutti i terminali");
        return false;
    }
    if (section.isEmpty()) {
        *error = QStringLiteral("Questa stampa non ha una sezione propria nel file di parametri");
        return false;
    }
    if (r.keys.isEmpty()) {
        *error = QStringLiteral("Nessuna opzione selezionata");
        return false;
    }
    const PrintOptionsIni ini(env);
    if (r.mode == SaveMode::Save)
        return ini.Save(o, file, section, r.keys, error);

    bool every = true;
    for (const SaveRow &row : SavePanelRows())
        every = every && r.keys.contains(row.key, Qt::CaseInsensitive);
    if (every && !r.commonFile)
        return IniWrite(file, section, QString(), QString(), error);
    // One key at a time, so that ticking every row of the common file deletes those keys only.
    for (const QString &key : r.keys)
        if (!ini.Remove(file, section, {key}, error))
            return false;
    return true;
}

// ------------------------------------------------------------------------------------------
// Closing checks and the current destination
// ------------------------------------------------------------------------------------------

QString CloseRefusal(const PrintOptions &o)
{
    if ((o.StaVid == PrintOptions::File && o.FileName.trimmed().isEmpty())
        || (o.StaVid == PrintOptions::FixedWidth && o.FisFileName.trimmed().isEmpty()))
        return QStringLiteral("In caso di stampa su file è obbligatorio specificare il nome file.");
    const int from = o.ParamInt(QStringLiteral("PaginaDa"));
    const int to = o.ParamInt(QStringLiteral("PaginaA"));
    // 0 as the last page means no limit.
    if (to > 0 && from > to)
        return QStringLiteral("Selezione Pagina Da maggiore di Pagina A");
    return {};
}

QString CurrentDestinationText(const PrintEnv &env, const PrintOptions &o)
{
    QString where;
    switch (o.StaVid) {
    case PrintOptions::Printer:
        where = o.NomeStampante.isEmpty() ? DefaultPrinter(env).Current() : o.NomeStampante;
        break;
    case PrintOptions::Preview:
        where = QStringLiteral("Video");
        break;
    case PrintOptions::File:
        where = QStringLiteral("File ") + o.FileName;
        break;
    default:
        where = o.FisStampante ? QStringLiteral("Fissa su stampante") : QStringLiteral("Fissa ") + o.FisFileName;
        break;
    }
    return QStringLiteral("Stampante attuale: ") + where;
}

} // namespace kem

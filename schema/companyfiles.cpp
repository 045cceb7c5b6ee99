#include "schema/companyfiles.h"

#include "schema/companydbbuilder.h"
#include "platform/util/kemutil.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace kem {

namespace {

using IniKey = QPair<QString, QString>;
struct IniSection {
    QString name;
    QList<IniKey> keys;
};

bool WriteIni(const QString &path, const QString &comment, const QList<IniSection> &sections,
              QString *error)
{
    QString text = QStringLiteral("; ") + comment + QStringLiteral("\n");
    for (const IniSection &s : sections) {
        text += QStringLiteral("\n[") + s.name + QStringLiteral("]\n");
        for (const IniKey &k : s.keys)
            text += k.first + QLatin1Char('=') + k.second + QLatin1Char('\n');
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0 || !f.commit()) {
        if (error)
            *error = path + QStringLiteral(": ") + f.errorString();
        return false;
    }
    return true;
}

} // namespace

CompanyPaths::CompanyPaths(const QString &d)
    : dir(QDir::cleanPath(QFileInfo(d).absoluteFilePath())),
      mainIni(dir + QStringLiteral("/kemwin.ini")),
      companyIni(dir + QStringLiteral("/azienda.ini")),
      menuIni(dir + QStringLiteral("/kemora-menu.ini")),
      dataDir(dir + QStringLiteral("/dati")),
      companyDb(dataDir + QStringLiteral("/azienda.db")),
      menuDir(dir + QStringLiteral("/menu")),
      menuDb(menuDir + QStringLiteral("/menu.db")),
      imagesDir(dir + QStringLiteral("/immagini"))
{
}

QList<MenuEntry> ModuleMenuEntries()
{
    const QString key = QStringLiteral("DISTINTA");
    return {
        {key, QStringLiteral("frmPrelvo"), QStringLiteral("Stampa distinta base"),
         QStringLiteral("Stampa della distinta base degli articoli")},
        {key, QStringLiteral("frmStImplDiBa"), QStringLiteral("Stampa implosione distinta base"),
         QStringLiteral("Stampa degli articoli che impiegano ciascun componente")},
        {key, QStringLiteral("FrmStaFabbis"), QStringLiteral("Stampa fabbisogni"),
         QStringLiteral("Fabbisogno di componenti per ordini e preventivi clienti")},
        {key, QStringLiteral("FrmDiBaCaSo"), QStringLiteral("Sostituzione/cancellazione componenti"),
         QStringLiteral("Sostituzione o cancellazione di un componente nelle distinte base")},
    };
}

bool AddMenuEntries(RowInserter &menuDett)
{
    for (const MenuEntry &e : ModuleMenuEntries()) {
        if (!menuDett.add({e.chiave, e.chiaveSec, e.caption, e.descPrg}))
            return false;
    }
    return true;
}

bool PrepareCompanyDir(const QString &dir, QString *error)
{
    auto fail = [&](const QString &m) {
        if (error)
            *error = m;
        return false;
    };
    if (dir.trimmed().isEmpty())
        return fail(QStringLiteral("Cartella dell'azienda non indicata"));
    const QFileInfo info(dir);
    if (info.exists() && !info.isDir())
        return fail(QStringLiteral("%1 esiste e non è una cartella").arg(dir));
    if (!QDir().mkpath(dir))
        return fail(QStringLiteral("Impossibile creare la cartella %1").arg(dir));
    return true;
}

int CurrentYear()
{
    return QDate::currentDate().year();
}

bool WriteCompanyIniFiles(const CompanyPaths &p, const CompanyIniInfo &info, QString *error)
{
    if (!QDir().mkpath(p.dir)) {
        if (error)
            *error = QStringLiteral("Impossibile creare la cartella ") + p.dir;
        return false;
    }
    // Every path is written relative to the folder of the file that holds it, so that a copy of
    // the folder is a company of its own.
    const QString companyDrive = IniPathRelative(p.dir, p.mainIni);
    const QString menuDrive = IniPathRelative(p.menuDir + QLatin1Char('/'), p.mainIni);
    const QList<IniSection> mainIni{
        {QStringLiteral("Parametri Generali"),
         {{QStringLiteral("OrdIniDBase"), QStringLiteral("azienda.ini")},
          {QStringLiteral("NumIni"), QStringLiteral("0")},
          {QStringLiteral("VisParam"), QString()},
          {QStringLiteral("BeepCome"), QString()}}},
        {QStringLiteral("Base"),
         {{QStringLiteral("DriveDB"), companyDrive},
          {QStringLiteral("DirDB"), QStringLiteral("dati")},
          {QStringLiteral("DirImmagini"), QStringLiteral("immagini")}}},
        {QStringLiteral("Connessioni"),
         {{QStringLiteral("NomeDB"), QStringLiteral("azienda.db")},
          {QStringLiteral("DriveDB"), companyDrive},
          {QStringLiteral("Connect"), QString()},
          {QStringLiteral("Owner"), QString()},
          {QStringLiteral("Exec_option"), QStringLiteral("0")}}},
        {QStringLiteral("Menu"),
         {{QStringLiteral("NomeDB"), QStringLiteral("menu.db")},
          {QStringLiteral("DriveDB"), menuDrive},
          {QStringLiteral("Connect"), QString()}}},
        {QStringLiteral("Risoluzione Video"),
         {{QStringLiteral("Generale"), QStringLiteral("1")}}},
        {QStringLiteral("Config"),
         {{QStringLiteral("LisSpostaCurs"), QStringLiteral("N")},
          {QStringLiteral("LisClickNoSel"), QStringLiteral("N")}}},
        {QStringLiteral("Configurazioni"),
         {{QStringLiteral("FormatData"), QStringLiteral("dd/mm/yyyy")}}},
    };
    QList<IniSection> commonIni = mainIni;
    if (!info.pdfEmail.isEmpty()) {
        QList<IniKey> keys;
        for (const auto &kv : info.pdfEmail)
            keys << IniKey{kv.first, kv.second};
        commonIni << IniSection{QStringLiteral("PdfEmail"), keys};
    }
    const QList<IniSection> companyIni{
        {QStringLiteral("Azienda"), {{QStringLiteral("Descrizione"), info.description}}},
        {QStringLiteral("Opzioni Stampa"),
         {{QStringLiteral("StaVid"), QStringLiteral("1")},
          {QStringLiteral("Fatt"), QStringLiteral("1")},
          {QStringLiteral("PathDefault"), IniPathRelative(p.dir + QStringLiteral("/stampe"), p.companyIni)},
          {QStringLiteral("FisColonne"), QStringLiteral("132")},
          {QStringLiteral("FisRighe"), QStringLiteral("66")},
          {QStringLiteral("FisMrAlt"), QStringLiteral("2")},
          {QStringLiteral("FisMrBas"), QStringLiteral("2")}}},
    };
    QList<IniKey> variables{
        {QStringLiteral("NomeDBAzie"), IniPathRelative(p.companyDb, p.menuIni)},
        {QStringLiteral("ConnectDBAzie"), QString()},
        {QStringLiteral("PwdDbAzie"), QString()},
        {QStringLiteral("DescAzie"), info.description},
        // The user of the suite on this terminal (the requirements print keys its scratch rows by it).
        {QStringLiteral("Login"), QStringLiteral("ufficio")},
        {QStringLiteral("Ditta.RagSoc"), info.description},
        {QStringLiteral("Mag.NumDecQta"), QString::number(info.quantityDecimals)},
        {QStringLiteral("Mag.AnnoCorr"), QString::number(info.warehouseYear)},
        {QStringLiteral("Ditta.Moneta"), QStringLiteral("Euro")},
        {QStringLiteral("Ditta.CodLira"), QStringLiteral("L.")},
        {QStringLiteral("Ditta.CodEuro"), QStringLiteral("Euro")},
        {QStringLiteral("Ditta.OperCambio"), QStringLiteral("/")},
        {QStringLiteral("Ditta.CambioLiraEuro"), QStringLiteral("1936,27")},
        {QStringLiteral("VersMenu"), QStringLiteral("1.07")},
        {QStringLiteral("Versione"), QStringLiteral("1.0")},
        {QStringLiteral("DataVersione"), QStringLiteral("01/03/2025")},
        {QStringLiteral("Vendite.QtaDaDimen"), QStringLiteral("S")},
        {QStringLiteral("Vendite.QtaDaDimUML"), QStringLiteral("M;ML")},
        {QStringLiteral("Vendite.QtaDaDimUMQ"), QStringLiteral("MQ")},
        {QStringLiteral("Vendite.QtaDaDimUMC"), QStringLiteral("MC")},
        {QStringLiteral("Vendite.QtaDimenRapp"), QStringLiteral("1000")},
        {QStringLiteral("Articoli.Immagini"), QStringLiteral("S")},
        {QStringLiteral("DiBa.StaImgNumRighe"), QStringLiteral("3")},
    };
    for (const auto &c : info.articleClassCaptions)
        variables << IniKey{QStringLiteral("Cla.") + c.first, c.second};
    for (const auto &c : info.accountClassCaptions)
        variables << IniKey{QStringLiteral("PdcCla.") + c.first, c.second};
    const QList<IniSection> menuIni{
        {QStringLiteral("Menu"), {{QStringLiteral("IniPath"), IniPathRelative(p.mainIni, p.menuIni)}}},
        {QStringLiteral("Variabili"), variables},
        {QStringLiteral("Personali"),
         {{QStringLiteral("Tutti.§DataMinima"), QStringLiteral("01/01/1900")},
          {QStringLiteral("Tutti.§Massimizzato"), QString()},
          {QStringLiteral("Tutti.§ArrotIvaEuro"), QStringLiteral("A")},
          {QStringLiteral("Tutti.§DecodHelpAbil"), QStringLiteral("N")},
          {QStringLiteral("Articoli.§NoDecInattivi"), QStringLiteral("N")},
          {QStringLiteral("Articoli.§Immagini"), QStringLiteral("S")}}},
    };
    return WriteIni(p.mainIni, QStringLiteral("Ini principale"), commonIni, error) &&
           WriteIni(p.companyIni, QStringLiteral("Ini dell'azienda"), companyIni, error) &&
           WriteIni(p.menuIni, QStringLiteral("Configurazione del menu"), menuIni, error);
}

bool WriteMenuDatabase(const CompanyPaths &p, QString *error, const QList<std::tuple<int, QString, QString>> &emailTexts)
{
    CompanyDbBuilder builder(p.menuDb);
    if (!builder.start(error, {QStringLiteral("MenuDett"), QStringLiteral("TestiEmail")}))
        return false;
    {
        RowInserter menu(builder.db(), builder.status(), QStringLiteral("MenuDett"),
                         {QStringLiteral("Chiave"), QStringLiteral("ChiaveSec"),
                          QStringLiteral("Caption"), QStringLiteral("DescPrg")});
        AddMenuEntries(menu);
        RowInserter texts(builder.db(), builder.status(), QStringLiteral("TestiEmail"),
                          {QStringLiteral("Numero"), QStringLiteral("Oggetto"), QStringLiteral("Testo")});
        for (const auto &[number, subject, text] : emailTexts)
            texts.add({number, subject, text});
    }
    return builder.finish(error);
}

} // namespace kem

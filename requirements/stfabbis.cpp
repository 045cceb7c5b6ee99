#include "requirements/stfabbis.h"

#include "bomcore/bomexplosion.h"
#include "bomcore/bomreader.h"
#include "bomcore/fieldtext.h"
#include "common/funvarie.h"
#include "common/stocksums.h"
#include "platform/menu/menuserver.h"
#include "platform/util/kemutil.h"
#include "print/aziendautilstampe.h"

#include <algorithm>
#include <deque>

namespace kem {

namespace {

const QString kCorpoCampo = QStringLiteral("CorpoCampo");
const QString kCorpoLab = QStringLiteral("CorpoLab");
const QString S = QStringLiteral("S"), C = QStringLiteral("C"), D = QStringLiteral("D");
const QString kArtSuffix = QStringLiteral("_art");
const QString kErrTemp = QStringLiteral("Errore durante la creazione del file temporaneo delle selezioni");

QString Lit(const QString &v) { return SqlLiteral(v, VarKind::Text); }
QString Lit(const QDate &v) { return SqlLiteral(v, VarKind::Date); }
QString Lit(qint32 v) { return SqlLiteral(v, VarKind::Int32); }
bool Set(const QString &v) { return !IsBlank(v, VarKind::Text); }
bool Set(const QDate &v) { return !IsBlank(v, VarKind::Date); }
bool Set(qint32 v) { return !IsBlank(v, VarKind::Int32); }

// Thrown from a line of the walk when the user interrupted the print.
struct Interrupted {};

} // namespace

// ---------------------------------------------------------------------------------------------
// The scratch rows of the run. They are kept in memory and written to AppoggioTemp before each
// component list reads them, so that the table then holds what booking row by row gives; in
// the straightforward run every booking reads and writes the table at once.

struct StFabbis::Scratch {
    struct Row {
        qint32 id = 0;
        qint16 anno = 0;
        qint32 num = 0;
        QString figlio, um, descr;
        QVariant distBase;  // Null for a component missing from Articoli
        double stock0 = 0, valore = 0, lordo = 0;
        bool inDb = false, dirty = true;
    };
    std::deque<Row> rows;  // in booking order; a deque keeps rows in place as it grows
    // A row's identity: year, number, component and unit (codes without regard to case).
    struct Key {
        qint16 anno;
        qint32 num;
        QString figlio, um;
        bool operator==(const Key &o) const { return anno == o.anno && num == o.num && figlio == o.figlio && um == o.um; }
    };
    friend size_t qHash(const Key &k, size_t seed = 0) { return qHashMulti(seed, k.anno, k.num, k.figlio, k.um); }
    QHash<Key, size_t> index;
    struct ArtRow {
        double valore = 0;
        bool inDb = false, dirty = true;
    };
    QHash<QString, ArtRow> art;  // ordered article (folded) -> its row
    QHash<QString, QString> artCode;
    qint32 counter = 0;

    static Key KeyOf(qint16 anno, qint32 num, const QString &figlio, const QString &um)
    {
        return Key{anno, num, figlio.toCaseFolded(), um.toCaseFolded()};
    }
    Row *find(qint16 anno, qint32 num, const QString &figlio, const QString &um)
    {
        const auto it = index.constFind(KeyOf(anno, num, figlio, um));
        return it == index.constEnd() ? nullptr : &rows[*it];
    }
    void clear()
    {
        rows.clear();
        index.clear();
        art.clear();
        artCode.clear();
        counter = 0;
    }
    // Writes what changed since the last flush, each kind of write by one prepared statement.
    void Flush(Database &db, const QString &utente, const QString &programma)
    {
        static const QString insertRow = QStringLiteral(
            "INSERT INTO AppoggioTemp (Utente, IdProgramma, IdCampo, AppoInte0, AppoStringa0, ValoreStringa, "
            "AppoStringa1, AppoInte1, AppoStringa2, AppoDouble0, ValoreNumero, AppoDouble1) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        static const QString updateRow = QStringLiteral(
            "UPDATE AppoggioTemp SET ValoreNumero = ?, AppoDouble1 = ? WHERE Utente = ? AND IdProgramma = ? AND IdCampo = ?");
        static const QString insertArt = QStringLiteral(
            "INSERT INTO AppoggioTemp (Utente, IdProgramma, IdCampo, ValoreNumero) VALUES (?, ?, ?, ?)");
        static const QString updateArt = QStringLiteral(
            "UPDATE AppoggioTemp SET ValoreNumero = ? WHERE Utente = ? AND IdProgramma = ? AND IdCampo = ?");
        TransactionGuard tr(db);
        for (Row &r : rows) {
            if (!r.dirty)
                continue;
            if (!r.inDb) {
                db.DbExecute(insertRow, {utente, programma, QString::number(r.id), int(r.anno), QString::number(r.num),
                                         r.figlio, r.um, r.distBase, r.descr, r.stock0, r.valore, r.lordo});
                r.inDb = true;
            } else {
                db.DbExecute(updateRow, {r.valore, r.lordo, utente, programma, QString::number(r.id)});
            }
            r.dirty = false;
        }
        const QString programmaArt = programma + kArtSuffix;
        for (auto it = art.begin(); it != art.end(); ++it) {
            ArtRow &a = it.value();
            if (!a.dirty)
                continue;
            const QString code = artCode.value(it.key());
            if (!a.inDb) {
                db.DbExecute(insertArt, {utente, programmaArt, code, a.valore});
                a.inDb = true;
            } else {
                db.DbExecute(updateArt, {a.valore, utente, programmaArt, code});
            }
            a.dirty = false;
        }
        tr.commit();
    }
};

// One selected line (or group of print type 2).
struct StFabbis::Riga {
    qint16 anno = 0;
    qint32 numRif = 0, numDoc = 0;
    QDate dataRif, dataDoc, dataCons, dataConsCalc;
    QString articolo, descrizione, um, cliente;
    int distBase = 0;
    double qtaOrd = 0, qtaEvasa = 0;
};

StFabbis::StFabbis(Database &db, const CompanyParams &params, AziendaUtilStampe &stampe, MessageSink &sink,
                   MenuServer *menu)
    : ReportRun(db, stampe, sink, QStringLiteral("Fabbisogno")), params_(params), menu_(menu),
      scratch_(std::make_unique<Scratch>()), livQta_(BomExplosion::kLevels, 0.0)
{
}

StFabbis::~StFabbis() = default;

// ---------------------------------------------------------------------------------------------
// The statements

QString StFabbis::Testata() const
{
    return osOrdPre.compare(QStringLiteral("O"), Qt::CaseInsensitive) == 0 ? QStringLiteral("OrdVenTest")
                                                                           : QStringLiteral("PreVenTest");
}

QString StFabbis::Righe() const
{
    return osOrdPre.compare(QStringLiteral("O"), Qt::CaseInsensitive) == 0 ? QStringLiteral("OrdVenDett")
                                                                           : QStringLiteral("PreVenDett");
}

void StFabbis::PrepSqlOrdini(QString &sql) const
{
    const QString H = Testata(), L = Righe();
    const QString magazzini = QStringLiteral(" LEFT JOIN Magazzini AS MagazziniProv") + " ON " + H
        + ".MagazzProv = MagazziniProv.Magazzino)" + QStringLiteral(" LEFT JOIN Magazzini AS MagazziniDest") + " ON " + H
        + ".MagazzDest = MagazziniDest.Magazzino)";
    const QString pianoConti = QStringLiteral(" LEFT JOIN PianoConti") + " ON " + H + ".ContoCli = PianoConti.Conto"
        + " AND " + H + ".MastroCli = PianoConti.Mastro" + " AND " + H + ".GruppoCli = PianoConti.Gruppo";
    const QString testaRighe = H + " LEFT JOIN " + L + " ON " + H + ".NumRif = " + L + ".NumRif" + " AND " + H
        + ".Anno = " + L + ".Anno)";
    if (oiTipoStampa == 2) {
        sql = "SELECT FIRST(" + L + ".Articolo) AS ArtOrd" + ",Sum(" + L + ".Qta) AS QtaOrd" + ",Sum(" + L
            + ".QtaEvasa) AS QtaEvasa" + ", First(Articoli.Descrizione) As ArtOrdDescrizione"
            + ", First(Articoli.ArtUM) As ArtOrdUm" + " FROM ((((" + testaRighe + magazzini
            + " LEFT JOIN Articoli" + " ON " + L + ".Articolo = Articoli.Articolo)" + pianoConti
            + CreaWhereOrdini(QString()) + " GROUP BY " + L + ".Articolo";
        return;
    }
    sql = "SELECT " + H + ".*" + ",IIF(" + L + ".DataCons IS NULL" + "," + H + ".DataCons" + "," + L
        + ".DataCons) as DataConsCalc" + "," + L + ".*" + "," + L + ".Qta AS QtaOrd" + "," + L
        + ".QtaEvasa AS QtaEvasa" + ", Articoli.Descrizione,Articoli.DistBase" + ", MagazziniDest.Descrizione"
        + ", MagazziniProv.Descrizione" + ", PianoConti.Descrizione, PianoConti.Zona, Pianoconti.Categoria"
        + " FROM ((((" + " " + testaRighe + magazzini + pianoConti + ")" + " LEFT JOIN Articoli" + " ON " + L
        + ".Articolo = Articoli.Articolo" + CreaWhereOrdini(QString()) + " ORDER BY ";
    const QString data = obOrdNumdoc ? H + ".DataDoc, " + H + ".NumDoc" : H + ".DataRif, " + H + ".NumRif";
    if (oiTipoStampa == 1)
        sql += " Articoli.Descrizione" + QStringLiteral(", ") + data;
    else
        sql += data + ", " + L + ".RigDet";
}

QString StFabbis::CreaWhereOrdini(const QString &further) const
{
    const QString H = Testata(), L = Righe();
    QString w;
    // A range: each bound that is set.
    auto range = [&w](const QString &from, const QString &to, const auto &da, const auto &a) {
        if (Set(da))
            w += " and " + from + ">=" + Lit(da);
        if (Set(a))
            w += " and " + to + "<=" + Lit(a);
    };
    range(H + ".FattDocumento", H + ".FattDocumento", osTipoDocDa, osTipoDocA);
    range(H + ".DataRif", H + ".DataRif", otDataRifDa, otDataRifA);
    range(H + ".NumRif", H + ".NumRif", olNumRifDa, olNumRifA);
    range(H + ".DataDoc", H + ".DataDoc", otDataDocDa, otDataDocA);
    if (Set(otPrevConsDa) || Set(otPrevConsA)) {
        // The line's own delivery date, or the header's when the line has none.
        auto cons = [&](const QString &T) {
            QString s;
            if (Set(otPrevConsDa))
                s += " " + T + ".DataCons>=" + Lit(otPrevConsDa);
            if (Set(otPrevConsA)) {
                if (!s.isEmpty())
                    s += " and";
                s += " " + T + ".DataCons<=" + Lit(otPrevConsA);
            }
            return s;
        };
        w += " and (" + QStringLiteral("IIF(") + L + ".DataCons is null,(" + cons(H) + "),(" + cons(L) + ")))";
    }
    w += " and " + H + ".Tipo=" + Lit(QStringLiteral("3"));
    if (Set(osGruppoCliDa))
        w += " and " + H + ".GruppoCli & " + H + ".MastroCli & " + H + ".ContoCli >="
            + Lit(osGruppoCliDa + osMastroCliDa + osContoCliDa);
    if (Set(osGruppoCliA))
        w += " and " + H + ".GruppoCli & " + H + ".MastroCli & " + H + ".ContoCli <="
            + Lit(osGruppoCliA + osMastroCliA + osContoCliA);
    range(H + ".NumDoc", H + ".Numdoc", olNumDocDa, olNumDocA);
    range(L + ".Articolo", L + ".Articolo", osArticoloDa, osArticoloA);
    range(QStringLiteral("Articoli.ArtGruppo"), QStringLiteral("Articoli.ArtGruppo"), osArtGruppoDa, osArtGruppoA);
    if (Set(osArtSottoGru))
        w += " and Articoli.ArtSottoGru=" + Lit(osArtSottoGru);
    if (Set(osMagazzino))
        w += " and (" + H + ".MagazzProv = " + Lit(osMagazzino) + " OR " + H + ".MagazzDest = " + Lit(osMagazzino) + ")";
    if (Set(osAgenteDa) || Set(osAgenteA)) {
        // Either of the document's two agents in the range.
        QString a1, a2;
        if (Set(osAgenteDa)) {
            a1 = " and " + H + ".Agente1 >= " + Lit(osAgenteDa);
            a2 = " and " + H + ".Agente2 >= " + Lit(osAgenteDa);
        }
        if (Set(osAgenteA)) {
            a1 += " and " + H + ".Agente1 <= " + Lit(osAgenteA);
            a2 += " and " + H + ".Agente2 <= " + Lit(osAgenteA);
        }
        w += " and ((" + a1.mid(5) + ") or (" + a2.mid(5) + "))";
    }
    ClasseAttrCriteri(w, QStringLiteral("Articoli"), QStringLiteral("ArtClasseAttr"), osArtClasseAttrDa, osArtClasseAttrA);
    ClasseAttrCriteri(w, QStringLiteral("PianoConti"), QStringLiteral("PdcClasseAttr"), osPdcClasseAttrDa, osPdcClasseAttrA);
    range(QStringLiteral("Pianoconti.Categoria"), QStringLiteral("Pianoconti.Categoria"), osCatDa, osCatA);
    range(QStringLiteral("Pianoconti.Zona"), QStringLiteral("Pianoconti.Zona"), osZonDa, osZonA);
    w += " and (" + H + ".Stato <> 'E' or " + H + ".Stato is null)";
    w += " and (" + L + ".StatoRiga <> 'E' or " + L + ".StatoRiga is null)";
    w += " and " + L + ".TipoRiga = " + Lit(QStringLiteral("A"));
    if (!further.isEmpty())
        w += " and " + further;
    return w.isEmpty() ? QString() : " Where " + w.mid(4);
}

// The rows of one component in two units come unit by unit, each total with its documents.
// In the article/document list every scratch row keeps its document's header when there is
// one (the scratch rows on the left, and the number read from the row as it is: it is never
// Null, and the case-blind comparison of an IIF result would keep the engine from finding each
// header by its key, pairing every header with every row instead).
void StFabbis::PrepSqlAppoggioTemp(QString &sql, qint16 anno, qint32 numRif) const
{
    if (oiTipoStampa != 1) {
        sql = QStringLiteral("SELECT AppoggioTemp.* FROM AppoggioTemp") + " WHERE AppoggioTemp.Utente = " + Lit(osUtente)
            + " AND AppoggioTemp.IdProgramma = " + Lit(osIdProgramma) + " AND AppoggioTemp.AppoInte0 = "
            + SqlLiteral(anno, VarKind::Int16) + " AND AppoggioTemp.AppoStringa0 = " + Lit(numRif)
            + " ORDER By AppoggioTemp.ValoreStringa, AppoggioTemp.AppoStringa1";
        return;
    }
    const QString H = Testata();
    sql = "SELECT AppoggioTemp.*," + H + ".NumRif," + H + ".DataRif," + H + ".NumDoc," + H + ".DataDoc"
        + ",Articoli.Descrizione,Pianoconti.Descrizione" + " FROM ((AppoggioTemp LEFT JOIN " + H + " ON " + " (" + H
        + ".NumRif = clng(AppoggioTemp.AppoStringa0))" + " AND (" + H
        + ".Anno = AppoggioTemp.AppoInte0))" + " INNER JOIN Articoli ON AppoggioTemp.Valorestringa = Articoli.Articolo)"
        + " LEFT JOIN PianoConti ON PianoConti.Gruppo = " + H + ".GruppoCli and PianoConti.Mastro= " + H
        + ".MastroCli and PianoConti.Conto = " + H + ".ContoCli" + " WHERE AppoggioTemp.Utente = " + Lit(osUtente)
        + " AND AppoggioTemp.IdProgramma = " + Lit(osIdProgramma)
        + " ORDER By AppoggioTemp.ValoreStringa, AppoggioTemp.AppoStringa1, AppoggioTemp.AppoInte0,"
          "clng(iif(isnull(AppoggioTemp.AppoStringa0),0,AppoggioTemp.AppoStringa0))";
}

int StFabbis::CancellaAppoggioTemp(const QString &utente, const QString &programma)
{
    scratch_->clear();
    try {
        const QString sql = QStringLiteral("DELETE FROM AppoggioTemp") + " WHERE Utente = " + Lit(utente)
            + " AND IdProgramma = ";
        db().DbExecute(sql + Lit(programma));
        // The ordered-article rows of an earlier run (of any layout) go too: a run that was
        // killed may have left them.
        db().DbExecute(sql + Lit(programma + kArtSuffix));
    } catch (const std::exception &e) {
        const ErrorInfo info = ErrorInfoFrom(e);
        sink().MsgErrfrm(info.number, ErrorDescription(info.description, info.source), QString());
        return 1;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The run

void StFabbis::PrepareRun()
{
    const bool ordini = osOrdPre.compare(QStringLiteral("O"), Qt::CaseInsensitive) == 0;
    titolo_ = QStringLiteral("Fabbisogno") + (ordini ? QStringLiteral(" ORDINI") : QStringLiteral(" PREVENTIVI"));
    etichettaDoc_ = ordini ? QStringLiteral("ORDINE:  ") : QStringLiteral("PREVENTIVO:  ");
    fmtQta_ = NumFormat(params_.numDecQta, QChar(), QStringLiteral("#,##0"));
    if (IsBlank(osUtente, VarKind::Text))
        throw ReportError(QString::number(kErrInternal), QStringLiteral("Utente non indicato: le righe di appoggio non hanno chiave"));
    annoCorr_ = 0;
    if (oiTipoStampa == 2) {
        // The stock year of the grouped print: the current warehouse year of the company.
        const QString v = menu_ ? menu_->MenuVar(QStringLiteral("Mag.AnnoCorr"), QString()) : QString();
        bool ok = false;
        const int anno = v == MenuMissingMarker ? 0 : TextToInt(v, &ok);
        if (!ok || anno <= 0 || anno > 9999)
            throw ReportError(QString::number(kErrInternal),
                              QStringLiteral("Anno corrente di magazzino (Mag.AnnoCorr) non valido: \"") + v + "\"");
        annoCorr_ = static_cast<qint16>(anno);
    }
    std::fill(livQta_.begin(), livQta_.end(), 0.0);
    prefisso_.clear();
    primaRiga_ = true;
    interrotto_ = false;
    numDoc_ = 0;
    annoPrec_ = -1;
    numPrec_ = -1;
    artPrec_.clear();
    distBasePrec_ = 0;
    totResArt_ = 0;
    cycles_ = 0;
    scratch_->clear();
    stock_.reset();
    if (obStraightforward) {
        reader_ = std::make_unique<DbBomReader>(db());
    } else {
        stock_ = std::make_unique<StockSumsTable>(db(), osMagazzino, params_.numDecQta);
        auto cached = std::make_unique<CachedBomReader>(db());
        cached->beginRun();
        reader_ = std::move(cached);
    }
    explosion_ = std::make_unique<BomExplosion>(*reader_, params_.numDecQta);
    explosion_->onLine = [this](const ExplodedLine &line) { EsplodiRiga(line); };
    explosion_->onCycle = [this](const QString &text, const QString &article) {
        ++cycles_;
        sink().msgCom(text + QStringLiteral(": la distinta di ") + article
                          + QStringLiteral(" non viene esplosa di nuovo, il resto della riga sì"),
                      {QStringLiteral("&Ok")});
    };
}

void StFabbis::EndRun()
{
    rs_.RsCloseAll();
    explosion_.reset();
    if (reader_)
        reader_->endRun();
    reader_.reset();
    stock_.reset();
    // Whatever happened (an error, an interruption), the run leaves no scratch rows.
    if (!IsBlank(osUtente, VarKind::Text) && CancellaAppoggioTemp(osUtente, osIdProgramma) != 0) {
        sink().msgCom(kErrTemp, {QStringLiteral("&Ok")}, 1, titolo_);
        MarkFailed(kErrTemp);
    }
}

StFabbis::Riga StFabbis::LeggiRiga(const QString &h) const
{
    auto &rs = const_cast<ResultSets &>(rs_);
    auto text = [&](const QString &name) { return FieldText(rs.RsField(h, name)); };
    auto date = [&](const QString &name) { return rs.RsField(h, name).toDate(); };
    Riga r;
    if (oiTipoStampa == 2) {
        r.articolo = text(QStringLiteral("ArtOrd"));
        r.descrizione = text(QStringLiteral("ArtOrdDescrizione"));
        r.um = text(QStringLiteral("ArtOrdUm"));
        r.qtaOrd = rs.RsField(h, QStringLiteral("QtaOrd")).toDouble();
        r.qtaEvasa = rs.RsField(h, QStringLiteral("QtaEvasa")).toDouble();
        return r;
    }
    const QString H = Testata() + '.', L = Righe() + '.';
    r.anno = static_cast<qint16>(rs.RsField(h, H + "Anno").toInt());
    r.numRif = rs.RsField(h, H + "NumRif").toInt();
    r.numDoc = rs.RsField(h, H + "NumDoc").toInt();
    r.dataRif = date(H + "DataRif");
    r.dataDoc = date(H + "DataDoc");
    r.dataCons = date(H + "DataCons");
    r.dataConsCalc = date(QStringLiteral("DataConsCalc"));
    r.articolo = text(L + "Articolo");
    r.um = text(L + "Um");
    r.descrizione = text(QStringLiteral("Articoli.Descrizione"));
    r.distBase = rs.RsField(h, QStringLiteral("Articoli.DistBase")).toInt();
    r.cliente = text(QStringLiteral("PianoConti.Descrizione"));
    r.qtaOrd = rs.RsField(h, QStringLiteral("QtaOrd")).toDouble();
    r.qtaEvasa = rs.RsField(h, L + "QtaEvasa").toDouble();
    return r;
}

void StFabbis::Print()
{
    QString sql;
    PrepSqlOrdini(sql);
    const QString h = rs_.RsOpen(db(), sql);
    RsGuard guard(rs_, h);
    if (rs_.RsIsEmpty(h))
        return;
    if (CancellaAppoggioTemp(osUtente, osIdProgramma) != 0) {
        sink().msgCom(kErrTemp, {QStringLiteral("&Ok")}, 1, titolo_);
        MarkFailed(kErrTemp);
        return;
    }
    rs_.RsMoveFirst(h);
    while (!rs_.RsEof(h)) {
        if (report().StopGet() || interrotto_) {
            interrotto_ = true;
            break;
        }
        if (primaRiga_ && !PrimaRiga())
            return;
        const Riga r = LeggiRiga(h);
        residuo_ = r.qtaOrd - r.qtaEvasa;
        artOrd_ = r.articolo;
        bool saltato = false;
        if (oiTipoStampa == 0) {
            anno_ = r.anno;
            numRif_ = r.numRif;
            annoMag_ = r.anno;
            if (r.anno != annoPrec_ || r.numRif != numPrec_) {
                CtrRiga(3, true, saltato);
                if (annoPrec_ != -1) {
                    StaEleCompOrdine(annoPrec_, numPrec_);
                    if (obSaltoPag) {
                        NewPage();
                        SelezioneRiga();
                    } else {
                        check(report().LineEnd(), "LineEnd");
                    }
                }
                StaRigaDoc(r);
                annoPrec_ = r.anno;
                numPrec_ = r.numRif;
            } else {
                CtrRiga(1, true, saltato);
            }
            StaTestaArt(r);
            Esplodi(r.articolo, livQta_[0]);
        } else if (oiTipoStampa == 1) {
            anno_ = r.anno;
            numRif_ = r.numRif;
            annoMag_ = r.anno;
            const bool nuovo = artPrec_.isNull() || !SameText(artPrec_, r.articolo);
            if (nuovo && !artPrec_.isNull()) {
                CtrRiga(2, true, saltato);
                StampoTotQtaArt();
                totResArt_ = 0;
                if (obPrelvo) {
                    check(report().LineEnd(), "LineEnd");
                    check(report().LineEnd(), "LineEnd");
                }
            }
            if (nuovo) {
                StaTestaArt(r);
                artPrec_ = r.articolo;
                distBasePrec_ = r.distBase;
            }
            CalcQtaElabArtOrd();
            Esplodi(r.articolo, livQta_[0]);
            if (interrotto_)
                break;
            CtrRiga(2, true, saltato);
            StaRigaDoc(r);
        } else {
            anno_ = annoCorr_;
            numRif_ = 0;
            annoMag_ = annoCorr_;
            StaTestaGruppo(r);
            Esplodi(r.articolo, livQta_[0]);
        }
        rs_.RsMoveNext(h);
    }
    if (interrotto_ || report().StopGet() || primaRiga_)
        return;
    if (oiTipoStampa == 0) {
        StaEleCompOrdine(annoPrec_, numPrec_);
        if (numDoc_ > 1)
            StaEleCompOrdine(0, 0);
    } else if (oiTipoStampa == 1) {
        StampoTotQtaArt();
        StaEleCompOrdine(0, 0);
    } else {
        StaEleCompOrdine(0, 0);
    }
}

bool StFabbis::PrimaRiga()
{
    if (!BeginPrinting())
        return false;
    report().VertPosLet(report().MarginTopGet());
    PageHeader();
    if (report().StopGet())
        return false;
    primaRiga_ = false;
    SelezioneRiga();
    return true;
}

// ---------------------------------------------------------------------------------------------
// The explosion

void StFabbis::Esplodi(const QString &articolo, double qta)
{
    livQta_[0] = qta;
    try {
        explosion_->explodeAll(articolo, qta);
    } catch (const Interrupted &) {
        interrotto_ = true;
    }
}

void StFabbis::EsplodiRiga(const ExplodedLine &line)
{
    if (report().StopGet())
        throw Interrupted{};
    const int d = line.level;
    const double q = line.qty;
    double s = 0, lordo = 0, netto = q;
    if (oiQtaMostr == 1) {
        s = oiTipoStampa == 0 ? GiacFiglio(anno_, numRif_, line) : -1;
        if (s == -1)
            s = GiacFiglio(0, 0, line);
        if (s == -1)
            s = Giacenza(line.link.figlio, false);
        lordo = q;
        netto = std::max(q - s, 0.0);
        explosion_->setLevelQty(d + 1, netto);
    }
    livQta_[static_cast<size_t>(d + 1)] = netto;
    prefisso_ = QStringLiteral("* ").repeated(d + 1);
    if (obPrelvo && (line.component.distBase != 2 || obSemilav)) {
        bool saltato = false;
        CtrRiga(1, true, saltato);
        if (report().StopGet())
            throw Interrupted{};
        StaRigaComp(line.link.figlio, line.component.descrizione, line.component.exists, line.link.um, netto, -1, -1);
    }
    ScrivoAppoggioTemp(anno_, numRif_, line, netto, s, lordo);
    ScrivoAppoggioTemp(0, 0, line, netto, s, lordo);
}

QString StFabbis::RigaSql(qint16 anno, qint32 num, const ExplodedLine &line) const
{
    return QStringLiteral("SELECT AppoggioTemp.* FROM AppoggioTemp") + " WHERE AppoggioTemp.Utente = " + Lit(osUtente)
        + " AND AppoggioTemp.IdProgramma = " + Lit(osIdProgramma) + " AND AppoggioTemp.AppoInte0 = "
        + SqlLiteral(anno, VarKind::Int16) + " AND AppoggioTemp.AppoStringa0 = " + Lit(num)
        + " AND AppoggioTemp.ValoreStringa = " + Lit(line.link.figlio) + " AND AppoggioTemp.AppoStringa1 = "
        + Lit(line.link.um);
}

void StFabbis::ScrivoAppoggioTemp(qint16 anno, qint32 num, const ExplodedLine &line, double net, double stock,
                                  double gross)
{
    const QVariant distBase = line.component.exists ? QVariant(line.component.distBase) : QVariant();
    if (obStraightforward) {
        const QString sql = RigaSql(anno, num, line);
        const QString h = rs_.RsOpen(db(), sql, true);
        RsGuard guard(rs_, h);
        if (rs_.RsIsEmpty(h)) {
            ++scratch_->counter;
            rs_.RsAddNew(h);
            rs_.RsFieldSet(h, QStringLiteral("Utente"), osUtente);
            rs_.RsFieldSet(h, QStringLiteral("IdProgramma"), osIdProgramma);
            rs_.RsFieldSet(h, QStringLiteral("IdCampo"), QString::number(scratch_->counter));
            rs_.RsFieldSet(h, QStringLiteral("AppoInte0"), anno);
            rs_.RsFieldSet(h, QStringLiteral("AppoStringa0"), QString::number(num));
            rs_.RsFieldSet(h, QStringLiteral("ValoreStringa"), line.link.figlio);
            rs_.RsFieldSet(h, QStringLiteral("AppoStringa1"), line.link.um);
            rs_.RsFieldSet(h, QStringLiteral("AppoInte1"), distBase);
            rs_.RsFieldSet(h, QStringLiteral("AppoStringa2"), line.component.descrizione);
            rs_.RsFieldSet(h, QStringLiteral("AppoDouble0"), stock);
            rs_.RsFieldSet(h, QStringLiteral("ValoreNumero"), net);
            rs_.RsFieldSet(h, QStringLiteral("AppoDouble1"), gross);
        } else {
            rs_.RsMoveFirst(h);
            rs_.RsEdit(h);
            rs_.RsFieldSet(h, QStringLiteral("ValoreNumero"), rs_.RsField(h, QStringLiteral("ValoreNumero")).toDouble() + net);
            rs_.RsFieldSet(h, QStringLiteral("AppoDouble1"), rs_.RsField(h, QStringLiteral("AppoDouble1")).toDouble() + gross);
        }
        rs_.RsUpdate(h);
        return;
    }
    Scratch &sc = *scratch_;
    Scratch::Row *row = sc.find(anno, num, line.link.figlio, line.link.um);
    if (!row) {
        Scratch::Row r;
        r.id = ++sc.counter;
        r.anno = anno;
        r.num = num;
        r.figlio = line.link.figlio;
        r.um = line.link.um;
        r.distBase = distBase;
        r.descr = line.component.descrizione;
        r.stock0 = stock;
        sc.index.insert(Scratch::KeyOf(anno, num, r.figlio, r.um), sc.rows.size());
        sc.rows.push_back(std::move(r));
        row = &sc.rows.back();
    }
    row->valore += net;
    row->lordo += gross;
    row->dirty = true;
}

double StFabbis::GiacFiglio(qint16 anno, qint32 num, const ExplodedLine &line)
{
    if (obStraightforward) {
        const QString sql = RigaSql(anno, num, line);
        const QString h = rs_.RsOpen(db(), sql);
        RsGuard guard(rs_, h);
        if (rs_.RsIsEmpty(h))
            return -1;
        rs_.RsMoveFirst(h);
        return std::max(rs_.RsField(h, QStringLiteral("AppoDouble0")).toDouble()
                            - rs_.RsField(h, QStringLiteral("AppoDouble1")).toDouble(),
                        0.0);
    }
    const Scratch::Row *row = scratch_->find(anno, num, line.link.figlio, line.link.um);
    return row ? std::max(row->stock0 - row->lordo, 0.0) : -1;
}

StockSums StFabbis::StockOf(const QString &articolo)
{
    // The cached run reads the sums of a whole year at once; the straightforward one asks
    // article by article.
    if (stock_)
        return stock_->get(annoMag_, articolo);
    return ReadStockSums(db(), annoMag_, articolo, osMagazzino, params_.numDecQta);
}

double StFabbis::Giacenza(const QString &articolo, bool disponibilita)
{
    const StockSums s = StockOf(articolo);
    return disponibilita ? s.disponibilita : s.giacenza;
}

void StFabbis::ArtInAppoggioTemp(double qta)
{
    const QString key = artOrd_.toCaseFolded();
    Scratch::ArtRow &a = scratch_->art[key];
    scratch_->artCode.insert(key, artOrd_);
    a.valore += qta;
    a.dirty = true;
    if (obStraightforward)
        scratch_->Flush(db(), osUtente, osIdProgramma);
}

double StFabbis::TotQtaResPrec(const QString &articolo)
{
    if (obStraightforward) {
        const QString sql = QStringLiteral("Select sum(Valorenumero) as TotQtaResPrec FROM AppoggioTemp")
            + " WHERE Utente = " + Lit(osUtente) + " AND IdProgramma = " + Lit(osIdProgramma + kArtSuffix)
            + " AND IdCampo = " + Lit(articolo);
        const QString h = rs_.RsOpen(db(), sql);
        RsGuard guard(rs_, h);
        if (rs_.RsIsEmpty(h))
            return 0;
        rs_.RsMoveFirst(h);
        return rs_.RsField(h, QStringLiteral("TotQtaResPrec")).toDouble();
    }
    const auto it = scratch_->art.constFind(articolo.toCaseFolded());
    return it == scratch_->art.constEnd() ? 0 : it->valore;
}

void StFabbis::CalcQtaElabArtOrd()
{
    double &q = livQta_[0];
    const double res = residuo_;
    switch (oiQtaElab) {
    case 2:
        if (res <= giacLav_) {
            q = 0;
            giacLav_ -= res;
        } else {
            q = res - std::max(giacLav_, 0.0);
            giacLav_ = 0;
        }
        break;
    case 1:
        if (dispLav_ >= 0) {
            q = 0;
        } else if (dispLav_ + res > 0) {
            q = -dispLav_;
            dispLav_ = res;
        } else {
            q = res;
            dispLav_ += res;
        }
        break;
    default:
        q = res;
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Printing

void StFabbis::DefineColumns()
{
    PrintReport &r = report();
    r.StyleSelect(kCorpoCampo);
    r.ColumnsClear();
    // Widths in characters for the character outputs; the code column has room for the
    // indent of a few levels.
    r.AlignSet(S);
    colLead_ = r.ColumnAdd(Sample(3), 3, QStringLiteral("P"));
    r.AlignSet(S);
    colCodice_ = r.ColumnAdd(Sample(15), 24);
    r.AlignSet(S);
    colDescr_ = r.ColumnAdd(Sample(30), 30);
    r.AlignSet(C);
    colUm_ = r.ColumnAdd(Sample(2), 3);
    r.AlignSet(D);
    colQta_ = r.ColumnAdd(QStringLiteral("9,999,999,999"), 15);
    r.AlignSet(S);
    colGiac_ = r.ColumnAdd(QStringLiteral("da elab:") + QStringLiteral("9,999,999,999"), 40, QStringLiteral("U"));
}

QString StFabbis::DataText(const QDate &d) const
{
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

void StFabbis::SelezioneRiga()
{
    QString t;
    auto range = [&](const QString &label, const QString &da, const QString &a) {
        if (!Set(da) && !Set(a))
            return;
        t += QStringLiteral("; ") + label;
        if (Set(da))
            t += QStringLiteral(" da: ") + da;
        if (Set(a))
            t += QStringLiteral(" a: ") + a;
    };
    range(QStringLiteral("Codice articolo"), osArticoloDa, osArticoloA);
    range(QStringLiteral("Gruppo"), osArtGruppoDa, osArtGruppoA);
    if (Set(osArtSottoGru))
        t += QStringLiteral("; SottoGruppo = ") + osArtSottoGru;
    range(QStringLiteral("Data riferimento "), DataText(otDataRifDa), DataText(otDataRifA));
    range(QStringLiteral("Data prevista cons. "), DataText(otPrevConsDa), DataText(otPrevConsA));
    range(QStringLiteral("Codice agente"), Set(osAgenteDa) ? osAgenteDa + " " + osDesAgenteDa : QString(),
          Set(osAgenteA) ? osAgenteA + " " + osDesAgenteA : QString());
    ClasseAttrDescrizione(t, osArtClasseAttrDa, osArtClasseAttrA, false, ClasseAttrMenuCaption(menu_));
    if (Set(osMagazzino))
        t += QStringLiteral("; Magazzino") + osMagazzino;
    t += QStringLiteral(" Ordinato per ");
    t += oiTipoStampa == 0   ? QStringLiteral(" Documento e Articolo ")
         : oiTipoStampa == 1 ? QStringLiteral(" Articolo e Documento ")
                             : QStringLiteral(" Articolo ");
    stampe().StampaElenco(report(), t, kCorpoLab, C);
}

void StFabbis::StaRigaDoc(const Riga &r)
{
    PrintReport &p = report();
    auto doc = [&] { return QString::number(r.numDoc) + " - " + DataText(r.dataDoc); };
    auto rif = [&] { return QString::number(r.numRif) + " - " + DataText(r.dataRif); };
    p.StyleSelect(kCorpoLab);
    p.AlignSet(S);
    if (obOrdNumdoc)
        check(p.LabelValuePrint(QStringLiteral("Nr e Data Doc.:"), doc()), "LabelValuePrint");
    else
        check(p.LabelValuePrint(QStringLiteral("Nr e Data Rif.:"), rif()), "LabelValuePrint");
    check(p.LabelValuePrint(QStringLiteral("Cliente:"), r.cliente), "LabelValuePrint");
    p.AlignSet(D);
    check(p.LabelValuePrint(QStringLiteral("Q.tà:"), FormatNum(residuo_, fmtQta_)), "LabelValuePrint");
    // The other reference, when the document has it.
    p.AlignSet(S);
    if (obOrdNumdoc)
        check(p.LabelValuePrint(QStringLiteral("Nr e Data Rif.:"), rif()), "LabelValuePrint");
    else if (r.numDoc != 0)
        check(p.LabelValuePrint(QStringLiteral("Nr e Data Doc.:"), doc()), "LabelValuePrint");
    check(p.LineEnd(), "LineEnd");
    CountLine();
    ++numDoc_;
    totResArt_ += residuo_;
}

void StFabbis::StaTestaArt(const Riga &r)
{
    const StockSums st = StockOf(r.articolo);
    giacArt_ = giacLav_ = st.giacenza;
    dispArt_ = dispLav_ = st.disponibilita;
    PrintReport &p = report();
    p.StyleSelect(kCorpoLab);
    p.AlignSet(S);
    check(p.LabelValuePrint(QStringLiteral("Articolo:"), r.articolo + QStringLiteral("  ") + r.descrizione), "LabelValuePrint");
    check(p.LabelValuePrint(QStringLiteral("Um:"), r.um), "LabelValuePrint");
    const QDate cons = r.dataConsCalc.isValid() ? r.dataConsCalc : r.dataCons;
    if (oiTipoStampa == 0 && cons.isValid())
        check(p.LabelValuePrint(QStringLiteral("Data cons.:"), DataText(cons)), "LabelValuePrint");
    else
        check(p.TextPrint(0, QString(19, QLatin1Char(' '))), "TextPrint");
    p.AlignSet(D);
    const bool disp = oiQtaElab == 1;
    check(p.LabelValuePrint(disp ? QStringLiteral("Disp.:") : QStringLiteral("Giacenza:"),
                            FormatNum(disp ? dispArt_ : giacArt_, fmtQta_)),
          "LabelValuePrint");
    check(p.LabelValuePrint(QStringLiteral("Quantità residua:"), FormatNum(residuo_, fmtQta_)), "LabelValuePrint");
    if (oiTipoStampa == 0) {
        // One document after the other: what earlier documents of the article took is in the
        // article's row.
        double &q = livQta_[0];
        q = residuo_;
        if (oiQtaElab != 0) {
            const double prec = TotQtaResPrec(r.articolo);
            double dopo = 0;
            if (oiQtaElab == 1) {
                dopo = dispArt_ + prec;
                q = std::max(residuo_ - std::max(dopo + residuo_, 0.0), 0.0);
                ArtInAppoggioTemp(residuo_);
            } else {
                // The stock left after the earlier documents is never below 0: their shortage
                // is theirs, not counted again here.
                dopo = std::max(std::max(giacArt_, 0.0) - prec, 0.0);
                q = std::max(residuo_ - dopo, 0.0);
                if (dopo > 0)
                    ArtInAppoggioTemp(residuo_);
            }
            check(p.LabelValuePrint(QStringLiteral("Qta res:"), FormatNum(prec, fmtQta_)), "LabelValuePrint");
            check(p.LabelValuePrint(disp ? QStringLiteral("Disp.:") : QStringLiteral("Giacenza:"), FormatNum(dopo, fmtQta_)),
                  "LabelValuePrint");
            check(p.LabelValuePrint(QStringLiteral("Qta:"), FormatNum(q, fmtQta_)), "LabelValuePrint");
        }
    }
    check(p.LineEnd(), "LineEnd");
    CountLine();
}

void StFabbis::StaTestaGruppo(const Riga &r)
{
    const StockSums st = StockOf(r.articolo);
    giacArt_ = giacLav_ = st.giacenza;
    dispArt_ = dispLav_ = st.disponibilita;
    CalcQtaElabArtOrd();
    PrintReport &p = report();
    p.StyleSelect(kCorpoLab);
    p.AlignSet(S);
    check(p.LabelValuePrint(QStringLiteral("Articolo:"), r.articolo + QStringLiteral("  ") + r.descrizione), "LabelValuePrint");
    check(p.LabelValuePrint(QStringLiteral("Um:"), r.um), "LabelValuePrint");
    p.AlignSet(D);
    const bool disp = oiQtaElab == 1;
    check(p.LabelValuePrint(disp ? QStringLiteral("Disponibilità:") : QStringLiteral("Giacenza:"),
                            FormatNum(disp ? dispArt_ : giacArt_, fmtQta_)),
          "LabelValuePrint");
    check(p.LabelValuePrint(QStringLiteral("Quantità residua:"), FormatNum(residuo_, fmtQta_)), "LabelValuePrint");
    check(p.LabelValuePrint(QStringLiteral("Qta:"), FormatNum(livQta_[0], fmtQta_)), "LabelValuePrint");
    check(p.LineEnd(), "LineEnd");
    CountLine();
}

void StFabbis::StaRigaComp(const QString &codice, const QString &descrizione, bool esiste, const QString &um,
                           double qta, double giac, double lordo)
{
    PrintReport &p = report();
    p.StyleSelect(kCorpoCampo);
    Cell(S, colCodice_, prefisso_ + codice);
    Cell(S, colDescr_, esiste ? descrizione : QStringLiteral("*** Art.Inesistente ***"));
    Cell(C, colUm_, um);
    Cell(D, colQta_, FormatNum(qta, fmtQta_));
    if (giac > 0 && oiQtaMostr == 1) {
        const QString text = oiTipoStampa == 1
            ? QStringLiteral("(da giac: ") + FormatNum(giac, fmtQta_) + QStringLiteral(")")
            : QStringLiteral("(giac: ") + FormatNum(giac, fmtQta_) + QStringLiteral(" - ") + FormatNum(lordo, fmtQta_)
                + QStringLiteral(")");
        Cell(S, colGiac_, text);
    }
    check(p.LineEnd(), "LineEnd");
    CountLine();
}

void StFabbis::StaEleCompOrdine(qint16 anno, qint32 num)
{
    prefisso_.clear();
    if (!obStraightforward)
        scratch_->Flush(db(), osUtente, osIdProgramma);
    QString sql;
    PrepSqlAppoggioTemp(sql, anno, num);
    const QString h = rs_.RsOpen(db(), sql);
    RsGuard guard(rs_, h);
    if (rs_.RsIsEmpty(h))
        return;
    PrintReport &p = report();
    bool saltato = false;
    CtrRiga(3, true, saltato);
    if (p.StopGet()) {
        interrotto_ = true;
        return;
    }
    check(p.LineEnd(), "LineEnd");
    p.StyleSelect(kCorpoLab);
    p.AlignSet(S);
    const QString titolo = anno == 0 && num == 0
        ? QStringLiteral("        *****  ELENCO FINALE COMPONENTI   *****  ")
        : QStringLiteral("        *****  ELENCO COMPONENTI DELL' ") + etichettaDoc_ + QString::number(num)
            + QStringLiteral("  *****");
    check(p.TextPrint(0, titolo), "TextPrint");
    check(p.LineEnd(), "LineEnd");
    CountLine();
    auto field = [&](const char *name) { return rs_.RsField(h, QStringLiteral("AppoggioTemp.") + QLatin1String(name)); };
    rs_.RsMoveFirst(h);
    while (!rs_.RsEof(h)) {
        const QVariant distBase = field("AppoInte1");
        if (obSemilav || (distBase.isValid() && distBase.toInt() == 3)) {
            CtrRiga(1, true, saltato);
            if (p.StopGet()) {
                interrotto_ = true;
                break;
            }
            const bool totale = FieldText(field("AppoStringa0")) == QStringLiteral("0");
            if (oiTipoStampa == 0 || totale) {
                const QString descr = oiTipoStampa == 1 ? FieldText(rs_.RsField(h, QStringLiteral("Articoli.Descrizione")))
                                                        : FieldText(field("AppoStringa2"));
                StaRigaComp(FieldText(field("ValoreStringa")), descr, distBase.isValid(), FieldText(field("AppoStringa1")),
                            field("ValoreNumero").toDouble(), field("AppoDouble0").toDouble(),
                            field("AppoDouble1").toDouble());
            } else {
                StaRigaOrdRiep(h);
            }
        }
        rs_.RsMoveNext(h);
    }
}

void StFabbis::StaRigaOrdRiep(const QString &h)
{
    PrintReport &p = report();
    const QString H = Testata() + '.';
    auto pair = [&](const QString &num, const QString &data) {
        return FieldText(rs_.RsField(h, H + num)) + " - " + DataText(rs_.RsField(h, H + data).toDate());
    };
    p.StyleSelect(kCorpoCampo);
    p.AlignSet(S);
    if (obOrdNumdoc)
        check(p.LabelValuePrint(QStringLiteral("Nr e Data Doc.:"), pair("NumDoc", "DataDoc")), "LabelValuePrint");
    else
        check(p.LabelValuePrint(QStringLiteral("Nr e Data Rif.:"), pair("NumRif", "DataRif")), "LabelValuePrint");
    check(p.LabelValuePrint(QStringLiteral("Cliente:"), FieldText(rs_.RsField(h, QStringLiteral("PianoConti.Descrizione")))),
          "LabelValuePrint");
    p.AlignSet(D);
    check(p.LabelValuePrint(QStringLiteral("Q.tà:"),
                            FormatNum(rs_.RsField(h, QStringLiteral("AppoggioTemp.ValoreNumero")).toDouble(), fmtQta_)),
          "LabelValuePrint");
    if (oiQtaMostr == 1)
        Cell(D, colGiac_, FormatNum(rs_.RsField(h, QStringLiteral("AppoggioTemp.AppoDouble1")).toDouble(), fmtQta_));
    check(p.LineEnd(), "LineEnd");
    CountLine();
}

void StFabbis::StampoTotQtaArt()
{
    PrintReport &p = report();
    p.StyleSelect(kCorpoLab);
    Cell(S, colDescr_, QStringLiteral("TOTALE QTA'  ART. ") + artPrec_ + QStringLiteral(":"));
    Cell(D, colQta_, FormatNum(totResArt_, fmtQta_));
    double daElab = 0;
    if (oiQtaElab == 2 && totResArt_ > giacArt_)
        daElab = totResArt_ - giacArt_;
    else if (oiQtaElab == 1)
        daElab = std::max(totResArt_ - std::max(totResArt_ + dispArt_, 0.0), 0.0);
    if (daElab > 0)
        Cell(S, colGiac_, QStringLiteral("da elab:") + FormatNum(daElab, fmtQta_));
    check(p.LineEnd(), "LineEnd");
    CountLine();
    if (obPrelvo && (distBasePrec_ == 1 || distBasePrec_ == 2)) {
        Cell(S, colCodice_, QStringLiteral("Elenco Componenti:"));
        Cell(S, colDescr_, QStringLiteral("ARTICOLO ") + artPrec_);
        check(p.LineEnd(), "LineEnd");
        CountLine();
    }
}

} // namespace kem

#include "bom/prelvo.h"

#include "bom/fieldtext.h"
#include "common/funvarie.h"
#include "print/aziendautilstampe.h"
#include "platform/printlib/printfont.h"
#include "platform/printlib/printoptions.h"
#include "platform/util/kemutil.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <optional>
#include <stdexcept>

namespace kem {

namespace {

const QString kCorpoCampo = QStringLiteral("CorpoCampo");
const QString kInesistente = QStringLiteral("*** Art.Inesistente ***");

QString M(int n) { return QString(n, QLatin1Char('M')); }

bool sameText(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// A run-time error of the report itself (not of the database): number and description as the
// error report shows them.
class RunError : public std::runtime_error {
public:
    RunError(QString number, QString description)
        : std::runtime_error(description.toStdString()), number_(std::move(number)),
          description_(std::move(description))
    {
    }
    const QString &number() const { return number_; }
    const QString &description() const { return description_; }

private:
    QString number_;
    QString description_;
};

// Statement cache on or off for one run, put back as it was afterwards.
class StatementCacheScope {
public:
    StatementCacheScope(Database &db, bool on) : db_(db), was_(db.statementCache())
    {
        db_.setStatementCache(on);
    }
    ~StatementCacheScope() { db_.setStatementCache(was_); }
    StatementCacheScope(const StatementCacheScope &) = delete;
    StatementCacheScope &operator=(const StatementCacheScope &) = delete;

private:
    Database &db_;
    bool was_;
};

} // namespace

Prelvo::Prelvo(Database &db, const CompanyParams &params, AziendaUtilStampe &stampe,
               MessageSink &sink)
    : db_(db), params_(params), stampe_(stampe), sink_(sink), prices_(db, params, sink),
      rollup_(db, params, sink, prices_), extras_(&noExtras_)
{
}

Prelvo::~Prelvo()
{
    // A preview may still hold the last run's report object: it must not call back here.
    if (auto report = lastReport_.lock())
        report->OwnerSet(nullptr);
}

qint16 Prelvo::oiStaAtt() const { return static_cast<qint16>(stampe_.oiStaAtt); }

void Prelvo::oiStaAttLet(qint16 value) { stampe_.oiStaAtt = value; }

QString Prelvo::osArtClasseAttrDa(int index) const { return classeDa_.at(static_cast<size_t>(index)); }
void Prelvo::osArtClasseAttrDaLet(int index, const QString &value) { classeDa_.at(static_cast<size_t>(index)) = value; }
QString Prelvo::osArtClasseAttrA(int index) const { return classeA_.at(static_cast<size_t>(index)); }
void Prelvo::osArtClasseAttrALet(int index, const QString &value) { classeA_.at(static_cast<size_t>(index)) = value; }

// ---------------------------------------------------------------------------------------------
// Valuation

void Prelvo::syncValuation()
{
    if (override_.size() != 3 || override_[0] != osQualePrezzo || override_[1] != osListino
        || override_[2] != osListIvato) {
        override_ = {osQualePrezzo, osListino, osListIvato};
        rollup_.setOverride(osQualePrezzo, osListino, osListIvato);
    }
    if (rollup_.path() != path_)
        rollup_.setPath(path_);
}

bool Prelvo::CreaMovDiBaLegami(const QString &psArticolo, const QString &psUM,
                               const QString &psSconto, double pdQta, qint16 piLivello,
                               double &pdPrz, double pdQtaMovim, double pdFattConv,
                               const QString &psQualeImporto, const QString &psQualeListino,
                               qint16 piProdDistBase)
{
    syncValuation();
    return rollup_.CreaMovDiBaLegami(psArticolo, psUM, psSconto, pdQta, piLivello, pdPrz,
                                     pdQtaMovim, pdFattConv, psQualeImporto, psQualeListino,
                                     piProdDistBase);
}

bool Prelvo::CreaMovDiBaScar(ResultSets &pgRecDat, const QString &psRecDat, double pdQta,
                             double &pdValRiga, qint16 piLivello)
{
    syncValuation();
    return rollup_.CreaMovDiBaScar(pgRecDat, psRecDat, pdQta, pdValRiga, piLivello);
}

QString Prelvo::CercaListinoDett(const QString &psQualeImporto, const QString &psCausDest,
                                 const QString &psCausProv, const QString &psUnitaDa,
                                 const QString &psUnitaA, qint16 piAnno, const QString &psArticolo,
                                 const QString &psListino, const QString &psListIvato,
                                 bool &pbPrzIvato, const QDate &psDataReg, const QString &psMoneta,
                                 qint16 piNumDecMonGes, double pdFatConv, const QString &psUM,
                                 const QString &psSconto)
{
    return prices_.CercaListinoDett(psQualeImporto, psCausDest, psCausProv, psUnitaDa, psUnitaA,
                                    piAnno, psArticolo, psListino, psListIvato, pbPrzIvato,
                                    psDataReg, psMoneta, piNumDecMonGes, pdFatConv, psUM, psSconto);
}

float Prelvo::CalcLimAlt()
{
    return report_ ? extras_->CalcLimAlt(*report_, img_.numRighe) : 0.0f;
}

void Prelvo::StaImg(const QString &psImmagine, bool pbDestra, float pnLimAlt)
{
    if (report_ && extras_->StaImg(*report_, colImmagine_, psImmagine, pbDestra, pnLimAlt))
        pendingImage_ = true;
}

// ---------------------------------------------------------------------------------------------
// Queries

QString Prelvo::ComponiSqlPadri() const
{
    QString sql = QStringLiteral("SELECT Articoli.Articolo, Articoli.Descrizione, Articoli.ArtUM, Articoli.ArtUMVen,Articoli.FatConVen,Articoli.Sconto")
        + QStringLiteral(", Articoli.Lunghezza, Articoli.Larghezza, Articoli.Altezza, Articoli.Immagine ")
        + QStringLiteral(", Articoli.DistBase, ArtLegami.ArticoloFiglio, ArtLegami.UM, ArtLegami.Qta")
        + QStringLiteral(", ArtLegami.QualeImporto, ArtLegami.Listino, Art2.Descrizione, Art2.DistBase")
        + QStringLiteral(", Art2.Sconto,Art2.ArtUM,Art2.ArtUMVen,Art2.ArtUMAcq,Art2.FatConVen,Art2.FatConAcq, Art2.Immagine")
        + QStringLiteral(" FROM (ArtLegami INNER JOIN Articoli ON ArtLegami.ArticoloPadre = Articoli.Articolo)")
        + QStringLiteral(" LEFT JOIN Articoli AS Art2 ON ArtLegami.ArticoloFiglio = Art2.Articolo")
        + QStringLiteral(" WHERE");
    if (oiTipoDibaArt == 1)
        sql += QStringLiteral(" Articoli.distbase= ") + SqlLiteral(1, VarKind::Int16);
    else if (oiTipoDibaArt == 2)
        sql += QStringLiteral(" Articoli.distbase= ") + SqlLiteral(2, VarKind::Int16);
    else
        sql += QStringLiteral(" Articoli.distbase > ") + SqlLiteral(0, VarKind::Int16)
            + QStringLiteral(" AND articoli.distbase < ") + SqlLiteral(3, VarKind::Int16);
    if (!IsBlank(osArticoloDa, VarKind::Text))
        sql += QStringLiteral(" AND Articoli.articolo >= ") + SqlLiteral(osArticoloDa, VarKind::Text);
    if (!IsBlank(osArticoloA, VarKind::Text))
        sql += QStringLiteral(" AND Articoli.articolo <= ") + SqlLiteral(osArticoloA, VarKind::Text);
    return sql + QStringLiteral(" Order By Articoli.Articolo");
}

QString Prelvo::ComponiSqlFigli(const QString &articolo)
{
    return QStringLiteral("SELECT Articoli.Articolo, Articoli.Descrizione, Articoli.ArtUM,Articoli.FatConVen,Articoli.sconto")
        + QStringLiteral(", Articoli.DistBase, ArtLegami.ArticoloFiglio, ArtLegami.UM, ArtLegami.Qta")
        + QStringLiteral(", ArtLegami.QualeImporto, ArtLegami.Listino, Art2.Descrizione, Art2.DistBase")
        + QStringLiteral(", Art2.Sconto,Art2.ArtUM,Art2.ArtUMVen,Art2.ArtUMAcq,Art2.FatConVen,Art2.FatConAcq, Art2.Immagine")
        + QStringLiteral(" FROM (ArtLegami INNER JOIN Articoli ON ArtLegami.ArticoloPadre = Articoli.Articolo)")
        + QStringLiteral(" LEFT JOIN Articoli AS Art2 ON ArtLegami.ArticoloFiglio = Art2.Articolo")
        + QStringLiteral(" WHERE Articoli.articolo = ") + SqlLiteral(articolo, VarKind::Text)
        + QStringLiteral(" ORDER By Articoli.Articolo");
}

Prelvo::LinkRow Prelvo::readLink(ResultSets &rs, const QString &h)
{
    LinkRow r;
    r.figlio = FieldText(rs.RsField(h, QStringLiteral("ArtLegami.ArticoloFiglio")));
    r.um = FieldText(rs.RsField(h, QStringLiteral("ArtLegami.UM")));
    r.qta = rs.RsField(h, QStringLiteral("ArtLegami.Qta")).toDouble();
    r.qualeImporto = FieldText(rs.RsField(h, QStringLiteral("Artlegami.QualeImporto")));
    r.listino = FieldText(rs.RsField(h, QStringLiteral("Artlegami.listino")));
    r.descrizione2 = FieldText(rs.RsField(h, QStringLiteral("Art2.Descrizione")));
    r.distBase2 = static_cast<qint16>(rs.RsField(h, QStringLiteral("Art2.DistBase")).toInt());
    r.sconto2 = FieldText(rs.RsField(h, QStringLiteral("Art2.Sconto")));
    r.artUM2 = FieldText(rs.RsField(h, QStringLiteral("Art2.ArtUM")));
    r.artUMVen2 = FieldText(rs.RsField(h, QStringLiteral("Art2.ArtUMVen")));
    r.artUMAcq2 = FieldText(rs.RsField(h, QStringLiteral("Art2.ArtUMAcq")));
    r.fatConVen2 = rs.RsField(h, QStringLiteral("Art2.FatConVen")).toDouble();
    r.fatConAcq2 = rs.RsField(h, QStringLiteral("Art2.FatConAcq")).toDouble();
    r.immagine2 = FieldText(rs.RsField(h, QStringLiteral("Art2.Immagine")));
    return r;
}

// ---------------------------------------------------------------------------------------------
// The run

void Prelvo::AvviaStampa()
{
    obStaAtt = true;
    last_ = RunResult{};
    reportKey_ = ogOpzSta ? ogOpzSta->SectionKey : QString();
    titolo_ = QStringLiteral("Distinta Base");
    titoloRun_ = QStringLiteral("Stampa ") + titolo_;
    ultimoValorizzato_.clear();
    articoloCorrente_.clear();
    padre_ = RigaDiBa{};
    pendingImage_ = false;
    stampaIniziata_ = false;
    primoPadre_ = true;
    pathExplosion_.clear();
    cyclesReported_.clear();
    children_.clear();
    QtaLivello.fill(0);
    colCodice_ = colDescrizione_ = colUM_ = colQta_ = colQualeImporto_ = colListino_ = colImporto_
        = colDimText_ = colDimValore_ = colImmagine_ = 0;

    const bool cached = path_ == CostRollup::Path::Cached;
    const DbStats before = db_.stats();
    {
        StatementCacheScope cacheScope(db_, cached);
        std::optional<ReadTransaction> transaction;
        try {
            if (cached)
                transaction.emplace(db_);
            run();
        } catch (const RunError &e) {
            reportError(e.number(), e.description());
        } catch (const std::exception &e) {
            const ErrorInfo info = ErrorInfoFrom(e);
            reportError(info.number, ErrorDescription(info.description, info.source));
        } catch (...) {
            reportError(QStringLiteral("0"), QStringLiteral("Errore sconosciuto"));
        }
        runEnd();
        children_.clear();
        rollup_.clearCache();
    }
    const DbStats after = db_.stats();
    last_.stats.statements = after.statements - before.statements;
    last_.stats.prepared = after.prepared - before.prepared;
    obStaAtt = false;
}

void Prelvo::reportError(const QString &number, const QString &description)
{
    const QString prefix = QStringLiteral("(") + titoloRun_ + QStringLiteral(") Errore durante la stampa : ");
    last_.failed = true;
    last_.error = ErrorText(number, description, prefix);
    sink_.MsgErrfrm(number, description, prefix);
}

void Prelvo::check(bool ok, const char *op)
{
    if (!ok) {
        const QString why = report_ ? report_->LastErrorGet() : QString();
        throw RunError(QStringLiteral("0"), QString::fromLatin1(op)
                                                + (why.isEmpty() ? QString() : QStringLiteral(": ") + why));
    }
}

void Prelvo::run()
{
    // Image and dimension settings, number formats.
    img_ = ImageSettings{};
    if (obStaImg || obStaImgRiga) {
        img_ = extras_->ReadImageSettings();
        if (img_.numRighe == 0)
            obStaImgRiga = false;
    }
    fmtVal_ = NumFormat(params_.current.numDec, QChar(), QStringLiteral("#,##0"));
    fmtQta_ = NumFormat(params_.numDecQta, QChar(), QStringLiteral("#,##0"));
    if (obQtaDaDimen)
        extras_->ReadDimensionSettings();

    // Valuation of the run.
    syncValuation();
    rollup_.clearCache();
    if (path_ == CostRollup::Path::Cached)
        rollup_.preload();

    // The print job.
    report_ = std::make_shared<PrintReport>();
    lastReport_ = report_;
    font_ = std::make_unique<PrintFont>();
    report_->OwnerSet(this);
    report_->OptionsSet(ogOpzSta);
    report_->TitleSet(titoloRun_);
    stampe_.IniParamStampa(reportKey_, *report_);
    report_->StopSet(0);
    if (progress_)
        progress_->Prepare(report_, titoloRun_);
    bool cancelled = false;
    const bool started = report_->JobStart(1, &cancelled);
    if (cancelled || !started) {
        // A job the library could not open is an error; one the user cancelled is not.
        if (!report_->LastErrorGet().isEmpty())
            reportError(QStringLiteral("0"), report_->LastErrorGet());
        return;
    }
    if (progress_)
        progress_->Show();
    report_->JobModeSet(6);
    if (!progress_) {
        // No window to keep alive (a batch run): events are let through a few times a second
        // instead of at every line, which would cost more than the line itself.
        report_->EventPumpSet([timer = std::make_shared<QElapsedTimer>()] {
            if (!timer->isValid() || timer->elapsed() >= 100) {
                QCoreApplication::processEvents();
                timer->start();
            }
        });
    }
    oiStaAttLet(1);
    stampaIniziata_ = false;
    primoPadre_ = true;

    rsPadri_ = rs_.RsOpen(db_, ComponiSqlPadri());
    if (rs_.RsIsEmpty(rsPadri_))
        return;
    rs_.RsMoveFirst(rsPadri_);
    articoloCorrente_ = FieldText(rs_.RsField(rsPadri_, QStringLiteral("Articoli.Articolo")));
    mainLoop();
}

void Prelvo::pageHeader()
{
    PageHeaderArgs args;
    args.title = titoloRun_;
    args.pageNumber = 0;
    args.blankLine = true;
    args.mode = 0;
    stampe_.Intestazione(*report_, args);
}

void Prelvo::mainLoop()
{
    const QString &h = rsPadri_;
    for (;;) {
        if (rs_.RsEof(h) || report_->StopGet())
            break;
        if (!stampaIniziata_) {
            stampe_.StileTesta(*report_, *font_);
            stampe_.StileCorpo(*report_, *font_);
            check(report_->DocBegin(), "DocBegin");
            if (report_->SkipGet())
                return;
            DefinisciColonne();
            stampaIniziata_ = true;
        }
        if (primoPadre_) {
            report_->VertPosLet(report_->MarginTopGet());
            pageHeader();
            StaIntestColonne();
        }
        if (report_->SkipGet())
            break;

        LeggiPadre(h);
        const QString articolo = FieldText(rs_.RsField(h, QStringLiteral("Articoli.Articolo")));
        bool saltato = false;
        if (primoPadre_) {
            if (img_.numRighe >= 1)
                CtrRiga(img_.numRighe, true, saltato);
            StaRiga(padre_);
            primoPadre_ = false;
        } else if (articolo != articoloCorrente_) {
            CtrRiga(static_cast<qint16>(ListMax({5.0, 2.0 * img_.numRighe})), true, saltato);
            StaRiga(padre_);
            articoloCorrente_ = articolo;
        }
        pendingImageLines();

        if (obEspScal) {
            const LinkRow row = readLink(rs_, h);
            BomPathStep parentStep(pathExplosion_, articolo);
            EsplodiComponente(row, row.figlio, 0);
        }

        rs_.RsMoveNext(h);
        if (rs_.RsEof(h))
            break;
        const QString next = FieldText(rs_.RsField(h, QStringLiteral("Articoli.Articolo")));
        if (next == articoloCorrente_)
            continue;
        if (obSaltoPag == 0) {
            check(report_->LineEnd(), "LineEnd");
            continue;
        }
        extras_->StaImgFinePagina(*report_, padre_);
        check(report_->PageNew(), "PageNew");
        report_->VertPosLet(report_->MarginTopGet());
        pageHeader();
        StaIntestColonne();
    }
    if (stampaIniziata_)
        extras_->StaImgFinePagina(*report_, padre_);
}

void Prelvo::runEnd()
{
    rs_.RsCloseAll();
    rsPadri_.clear();
    if (report_) {
        if (!report_->DocEnd() && !last_.failed)
            reportError(QStringLiteral("0"), report_->LastErrorGet());
        last_.pages = report_->PageNumGet();
    }
    report_.reset();
    font_.reset();
    last_.printed = stampaIniziata_;
    if (!stampaIniziata_)
        sink_.msgCom(QStringLiteral("Non ci sono dati nell'intervallo richiesto"), {QStringLiteral("&Ok")});
}

void Prelvo::LeggiPadre(const QString &h)
{
    auto text = [&](const char *name) { return FieldText(rs_.RsField(h, QString::fromLatin1(name))); };
    auto number = [&](const char *name) { return rs_.RsField(h, QString::fromLatin1(name)).toDouble(); };
    padre_.Articolo = text("Articoli.Articolo");
    padre_.Descrizione = text("Articoli.Descrizione");
    padre_.UM = text("Articoli.ArtUM");
    padre_.Lunghezza = number("Articoli.Lunghezza");
    padre_.Larghezza = number("Articoli.Larghezza");
    padre_.Altezza = number("Articoli.Altezza");
    padre_.Immagine = text("Articoli.Immagine");
    padre_.QualeImporto.clear();
    padre_.Listino.clear();
    padre_.ArticoloFiglio = text("ArtLegami.ArticoloFiglio");
    double qtaDim = 0;
    QString dimText;
    if (obQtaDaDimen) {
        padre_.Qta = odQtaProd;
        extras_->CalcQtaDaDimen(padre_, odLunghezza, odLarghezza, odAltezza, qtaDim, dimText);
    }
    if (obQtaDaDimen && qtaDim > 0) {
        padre_.Qta = qtaDim;
        padre_.DimText = dimText;
    } else {
        padre_.Qta = odQtaProd;
        padre_.DimText.clear();
    }
    QtaLivello[0] = padre_.Qta;
    if (padre_.Articolo != ultimoValorizzato_) {
        double value = 0;
        const bool ok = rollup_.CreaMovDiBaLegami(padre_.Articolo, text("Articoli.ArtUMVen"),
                                                  text("Articoli.Sconto"), padre_.Qta, 1, value, 0,
                                                  number("Articoli.FatConVen"), QString(), QString(), 0);
        padre_.Importo = ok ? value : 0;
        ultimoValorizzato_ = padre_.Articolo;
    }
}

void Prelvo::EsplodiComponente(const LinkRow &row, const QString &figlio, int level)
{
    const RigaDiBa riga = LeggiComponente(row, level);
    bool saltato = false;
    CtrRiga(2, true, saltato);
    StaRiga(riga);
    pendingImageLines();
    if (!(level + 1 < oiLivEsp || oiLivEsp < 1))
        return;
    if (row.distBase2 == 3)
        return;
    BomPathStep step(pathExplosion_, figlio);
    if (!step.entered()) {
        // The component is one of the articles it descends from: its line is printed, its
        // structure is not walked again.
        const QString text = pathExplosion_.cycleText(figlio);
        if (!cyclesReported_.contains(text)) {
            cyclesReported_.insert(text);
            sink_.msgCom(text + QStringLiteral(": i componenti di ") + figlio
                             + QStringLiteral(" non vengono esplosi di nuovo"),
                         {QStringLiteral("&Ok")});
        }
        return;
    }
    explodeChildren(figlio, level + 1);
}

void Prelvo::explodeChildren(const QString &articolo, int level)
{
    if (path_ == CostRollup::Path::Cached) {
        const QVector<LinkRow> rows = childrenCached(articolo); // shared, not copied
        for (const LinkRow &row : rows)
            EsplodiComponente(row, row.figlio, level);
        return;
    }
    RsGuard rs(rs_, rs_.RsOpen(db_, ComponiSqlFigli(articolo)));
    if (rs_.RsIsEmpty(rs.handle()))
        return;
    rs_.RsMoveFirst(rs.handle());
    while (!rs_.RsEof(rs.handle())) {
        const LinkRow row = readLink(rs_, rs.handle());
        EsplodiComponente(row, row.figlio, level);
        rs_.RsMoveNext(rs.handle());
    }
}

const QVector<Prelvo::LinkRow> &Prelvo::childrenCached(const QString &articolo)
{
    // The rows the component query would give, put together from the links and articles the
    // valuation has read for the run: the links of an article that exists, in key order, each
    // with its component's columns (empty when the component does not exist).
    const QString key = CodeKey(articolo);
    if (const auto found = children_.constFind(key); found != children_.constEnd())
        return *found;
    QVector<LinkRow> rows;
    if (rollup_.article(articolo)) {
        const QVector<CostRollup::LinkRow> links = rollup_.linksOf(articolo); // shared, not copied
        rows.reserve(links.size());
        for (const CostRollup::LinkRow &link : links) {
            LinkRow r;
            r.figlio = link.figlio;
            r.um = link.um;
            r.qta = link.qta;
            r.qualeImporto = link.qualeImporto;
            r.listino = link.listino;
            if (const auto art = rollup_.article(link.figlio)) {
                r.descrizione2 = art->descrizione;
                r.distBase2 = static_cast<qint16>(art->distBase);
                r.sconto2 = art->sconto;
                r.artUM2 = art->artUM;
                r.artUMVen2 = art->artUMVen;
                r.artUMAcq2 = art->artUMAcq;
                r.fatConVen2 = art->fatConVen;
                r.fatConAcq2 = art->fatConAcq;
                r.immagine2 = art->immagine;
            }
            rows << r;
        }
    }
    return *children_.insert(key, rows);
}

RigaDiBa Prelvo::LeggiComponente(const LinkRow &row, int level)
{
    RigaDiBa r;
    r.Articolo = QStringLiteral("* ").repeated(level + 1) + row.figlio;
    r.Descrizione = row.descrizione2;
    r.UM = row.um;
    const QString modo = QStringLiteral("A");
    r.Qta = RoundNum(row.qta * QtaLivello.at(static_cast<size_t>(level)), modo, 1, params_.numDecQta);
    if (level + 1 > kLivelli - 1)
        throw RunError(QStringLiteral("9"), QStringLiteral("Indice non incluso nell'intervallo (livello %1 oltre i %2 livelli di esplosione)")
                                                .arg(level + 1).arg(kLivelli));
    QtaLivello[static_cast<size_t>(level + 1)] = r.Qta;

    QString metodo = row.qualeImporto;
    QString listino = row.listino;
    if (!IsBlank(osQualePrezzo, VarKind::Text)) {
        metodo = osQualePrezzo;
        listino = osListino;
    }
    if (row.distBase2 == 2) {
        r.QualeImporto.clear();
        r.Listino = QStringLiteral("SEM");
    } else {
        r.QualeImporto = metodo;
        r.Listino = listino;
    }

    double fattore = 1;
    double qtaMag = r.Qta;
    if (sameText(row.um, row.artUM2)) {
        fattore = 1;
    } else if (sameText(row.um, row.artUMVen2)) {
        fattore = row.fatConVen2;
        qtaMag = RoundNum(fattore * r.Qta, modo, 1, params_.numDecQta);
    } else if (sameText(row.um, row.artUMAcq2)) {
        fattore = row.fatConAcq2;
        qtaMag = RoundNum(fattore * r.Qta, modo, 1, params_.numDecQta);
    }
    r.Immagine = row.immagine2;

    double value = 0;
    const bool ok = rollup_.CreaMovDiBaLegami(row.figlio, row.um, row.sconto2, qtaMag, 1, value, 0,
                                              fattore, metodo, listino, row.distBase2);
    r.Importo = ok ? value : 0;
    return r;
}

// ---------------------------------------------------------------------------------------------
// Columns, headings, lines, page fit

void Prelvo::DefinisciColonne()
{
    PrintReport &r = *report_;
    const QString S = QStringLiteral("S"), C = QStringLiteral("C"), D = QStringLiteral("D");
    r.StyleSelect(kCorpoCampo);
    r.ColumnsClear();
    r.AlignSet(S);
    colCodice_ = r.ColumnAdd(M(17), 12, QStringLiteral("P"));
    r.AlignSet(S);
    colDescrizione_ = r.ColumnAdd(M(20), 20, QString());
    r.AlignSet(C);
    colUM_ = r.ColumnAdd(M(3), 2, QString());
    r.AlignSet(D);
    colQta_ = r.ColumnAdd(QStringLiteral("999,999,999,999"), 12, QString());
    if (obStaImgRiga && !obStampoImporti) {
        r.AlignSet(S);
        colImmagine_ = r.ColumnAdd(M(20), 2, QStringLiteral("U"));
    }
    if (obStaImgRiga && obStampoImporti) {
        r.AlignSet(S);
        colImmagine_ = r.ColumnAdd(M(15), 2, QString());
        r.AlignSet(D);
        colImporto_ = r.ColumnAdd(QStringLiteral("999,999,999,999"), 16, QString());
    }
    if (!obStaImgRiga) {
        r.AlignSet(C);
        colQualeImporto_ = r.ColumnAdd(M(3), 4, QString());
        r.AlignSet(S);
        colListino_ = r.ColumnAdd(M(8), 10, QString());
        if (obStampoImporti) {
            r.AlignSet(D);
            colImporto_ = r.ColumnAdd(QStringLiteral("999,999,999,999,999"), 16, QString());
        }
    }
    if (obQtaDaDimen) {
        r.AlignSet(S);
        colCodice_ = r.ColumnAdd(M(15), 12, QStringLiteral("P"));
        r.AlignSet(S);
        colDescrizione_ = r.ColumnAdd(M(20), 20, QString());
        r.AlignSet(C);
        colUM_ = r.ColumnAdd(M(3), 2, QString());
        r.AlignSet(D);
        colQta_ = r.ColumnAdd(QStringLiteral("9999,999,999,999"), 16, QString());
        r.AlignSet(S);
        colDimText_ = r.ColumnAdd(M(20), 20, QString());
        if (obStampoImporti) {
            r.AlignSet(D);
            colDimValore_ = r.ColumnAdd(QStringLiteral("999,999,999,999"), 12, QString());
        }
    }
}

void Prelvo::StaIntestColonne()
{
    PrintReport &r = *report_;
    r.StyleSelect(QStringLiteral("CorpoLab"));
    auto cell = [&](const char *align, int column, const QString &text) {
        r.AlignSet(QString::fromLatin1(align));
        check(r.CellPrint(column, text), "CellPrint");
    };
    cell("S", colCodice_, QStringLiteral("Codice"));
    cell("S", colDescrizione_, QStringLiteral("Descrizione articolo"));
    cell("C", colUM_, QStringLiteral("Um"));
    cell("D", colQta_, QStringLiteral("Quantità"));
    if (!obStaImgRiga) {
        cell("C", colQualeImporto_, QStringLiteral("Val."));
        cell("S", colListino_, QStringLiteral("Cod.Listino"));
    }
    if (obStampoImporti)
        cell("D", colImporto_, QStringLiteral("Importo"));
    check(r.LineEnd(), "LineEnd");
    check(r.RulePrint(2, 2, 2), "RulePrint");
}

void Prelvo::StaRiga(const RigaDiBa &riga)
{
    PrintReport &r = *report_;
    pendingImage_ = false;
    r.StyleSelect(kCorpoCampo);
    static const QString S = QStringLiteral("S"), C = QStringLiteral("C"), D = QStringLiteral("D");
    auto cell = [&](const QString &align, int column, const QString &text) {
        r.AlignSet(align);
        check(r.CellPrint(column, text), "CellPrint");
    };
    cell(S, colCodice_, riga.Articolo);
    cell(S, colDescrizione_, riga.Descrizione.isEmpty() ? kInesistente : riga.Descrizione);
    cell(C, colUM_, riga.UM);
    cell(D, colQta_, FormatNum(riga.Qta, fmtQta_));
    if (obStaImgRiga) {
        limAlt_ = CalcLimAlt();
        StaImg(riga.Immagine, img_.destra, limAlt_);
        if (obStampoImporti)
            cell(D, colImporto_, FormatNum(riga.Importo, fmtVal_));
    } else if (IsBlank(riga.DimText, VarKind::Text) || !obQtaDaDimen) {
        cell(C, colQualeImporto_, riga.QualeImporto);
        cell(S, colListino_, riga.Listino);
        if (obStampoImporti)
            cell(D, colImporto_, FormatNum(riga.Importo, fmtVal_));
    } else {
        cell(C, colDimText_, riga.DimText);
        if (obStampoImporti)
            cell(D, colDimValore_, FormatNum(riga.Importo, fmtVal_));
    }
    check(r.LineEnd(), "LineEnd");
    ++last_.lines;
}

void Prelvo::pendingImageLines()
{
    if (!pendingImage_)
        return;
    for (int i = 0; i < img_.numRighe - 1; ++i)
        check(report_->LineEnd(), "LineEnd");
    pendingImage_ = false;
}

void Prelvo::CtrRiga(qint16 piNumRig, bool pbDet, bool &pbSaltato)
{
    if (!report_)
        return;
    bool brk = false;
    report_->RoomCheck(piNumRig, nullptr, nullptr, &brk);
    if (!brk)
        return;
    pbSaltato = true;
    check(report_->PageNew(), "PageNew");
    if (report_->SkipGet())
        return;
    report_->VertPosLet(report_->MarginTopGet());
    pageHeader();
    if (pbDet)
        StaIntestColonne();
}

} // namespace kem

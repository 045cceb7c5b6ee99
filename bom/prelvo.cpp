#include "bom/prelvo.h"

#include "bomcore/dimensionquantity.h"
#include "bomcore/fieldtext.h"
#include "reportkit/articleimages.h"
#include "common/funvarie.h"
#include "print/aziendautilstampe.h"
#include "platform/printlib/printoptions.h"
#include "platform/util/kemutil.h"

namespace kem {

namespace {

const QString kCorpoCampo = QStringLiteral("CorpoCampo");
const QString kInesistente = QStringLiteral("*** Art.Inesistente ***");

// The company's article images and quantities from dimensions.
class CompanyExtras : public PrelvoExtras {
public:
    CompanyExtras(const PrintEnv &env, MessageSink &sink) : env_(env), images_(sink) {}

    ImageSettings ReadImageSettings() override
    {
        images_.BeginRun(ArticleImageSettings::Read(env_));
        return ImageSettings{images_.Settings().numRighe, images_.Settings().destra};
    }
    void ReadDimensionSettings() override
    {
        dimensions_ = env_.menu ? DimensionSettings::Read(*env_.menu) : DimensionSettings::FromTexts({}, {}, {}, {});
    }
    bool CalcQtaDaDimen(const RigaDiBa &riga, double lunghezza, double larghezza, double altezza, double &qta,
                        QString &text) override
    {
        const auto q = kem::CalcQtaDaDimen(dimensions_, riga.UM, riga.Qta, lunghezza, larghezza, altezza,
                                           riga.Lunghezza, riga.Larghezza, riga.Altezza);
        qta = q ? q->qta : 0;
        text = q ? q->text : QString();
        return q.has_value();
    }
    float CalcLimAlt(PrintReport &report, qint16 numRighe) override { return images_.CalcLimAlt(report, numRighe); }
    bool StaImg(PrintReport &report, int imageColumn, const QString &psImmagine, bool pbDestra, float pnLimAlt) override
    {
        return images_.StaImg(report, imageColumn, psImmagine, pbDestra, pnLimAlt);
    }
    void StaImgFinePagina(PrintReport &report, const RigaDiBa &parent) override
    {
        images_.StaImgFinePagina(report, parent.Immagine);
    }

private:
    const PrintEnv &env_;
    ArticleImages images_;
    DimensionSettings dimensions_;
};

} // namespace

Prelvo::Prelvo(Database &db, const CompanyParams &params, AziendaUtilStampe &stampe,
               MessageSink &sink)
    : ReportRun(db, stampe, sink, QStringLiteral("Distinta Base")), params_(params),
      companyExtras_(std::make_unique<CompanyExtras>(stampe.Env(), sink)), extras_(companyExtras_.get())
{
    PathSet(Path::Straightforward);
}

Prelvo::~Prelvo() = default;

void Prelvo::PathSet(Path path)
{
    if (source_ && source_->path() == path)
        return;
    explosion_.reset();
    source_ = std::make_unique<BomSource>(db(), params_, sink(), path);
    explosion_ = std::make_unique<BomExplosion>(source_->reader(), params_.numDecQta, &source_->cycles());
    override_.clear();
}

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
        source_->rollup().setOverride(osQualePrezzo, osListino, osListIvato);
    }
}

bool Prelvo::CreaMovDiBaLegami(const QString &psArticolo, const QString &psUM,
                               const QString &psSconto, double pdQta, qint16 piLivello,
                               double &pdPrz, double pdQtaMovim, double pdFattConv,
                               const QString &psQualeImporto, const QString &psQualeListino,
                               qint16 piProdDistBase)
{
    syncValuation();
    return source_->rollup().CreaMovDiBaLegami(psArticolo, psUM, psSconto, pdQta, piLivello, pdPrz,
                                     pdQtaMovim, pdFattConv, psQualeImporto, psQualeListino,
                                     piProdDistBase);
}

bool Prelvo::CreaMovDiBaScar(ResultSets &pgRecDat, const QString &psRecDat, double pdQta,
                             double &pdValRiga, qint16 piLivello)
{
    syncValuation();
    return source_->rollup().CreaMovDiBaScar(pgRecDat, psRecDat, pdQta, pdValRiga, piLivello);
}

QString Prelvo::CercaListinoDett(const QString &psQualeImporto, const QString &psCausDest,
                                 const QString &psCausProv, const QString &psUnitaDa,
                                 const QString &psUnitaA, qint16 piAnno, const QString &psArticolo,
                                 const QString &psListino, const QString &psListIvato,
                                 bool &pbPrzIvato, const QDate &psDataReg, const QString &psMoneta,
                                 qint16 piNumDecMonGes, double pdFatConv, const QString &psUM,
                                 const QString &psSconto)
{
    return source_->prices().CercaListinoDett(psQualeImporto, psCausDest, psCausProv, psUnitaDa, psUnitaA,
                                    piAnno, psArticolo, psListino, psListIvato, pbPrzIvato,
                                    psDataReg, psMoneta, piNumDecMonGes, pdFatConv, psUM, psSconto);
}

float Prelvo::CalcLimAlt()
{
    return HasReport() ? extras_->CalcLimAlt(report(), img_.numRighe) : 0.0f;
}

void Prelvo::StaImg(const QString &psImmagine, bool pbDestra, float pnLimAlt)
{
    if (HasReport() && extras_->StaImg(report(), colImmagine_, psImmagine, pbDestra, pnLimAlt))
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
    return DbBomReader::ComponentsSql(articolo);
}

// ---------------------------------------------------------------------------------------------
// The run

void Prelvo::PrepareRun()
{
    ultimoValorizzato_.clear();
    articoloCorrente_.clear();
    padre_ = RigaDiBa{};
    pendingImage_ = false;
    primoPadre_ = true;
    qualePrezzoDato_ = !IsBlank(osQualePrezzo, VarKind::Text);
    colCodice_ = colDescrizione_ = colUM_ = colQta_ = colQualeImporto_ = colListino_ = colImporto_
        = colDimText_ = colDimValore_ = colImmagine_ = 0;
    runScope_.emplace(*source_);

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

    // Valuation and explosion of the run.
    syncValuation();
    explosion_->reset();
    explosion_->setMaxLevels(oiLivEsp);
    explosion_->onLine = [this](const ExplodedLine &line) {
        const RigaDiBa riga = LeggiComponente(line);
        bool saltato = false;
        CtrRiga(2, true, saltato);
        StaRiga(riga);
        pendingImageLines();
    };
    explosion_->onCycle = [this](const QString &text, const QString &figlio) {
        sink().msgCom(text + QStringLiteral(": i componenti di ") + figlio
                         + QStringLiteral(" non vengono esplosi di nuovo"),
                     {QStringLiteral("&Ok")});
    };
    source_->beginRun();
}

void Prelvo::Print()
{
    primoPadre_ = true;
    rsPadri_ = rs_.RsOpen(db(), ComponiSqlPadri());
    if (rs_.RsIsEmpty(rsPadri_))
        return;
    rs_.RsMoveFirst(rsPadri_);
    articoloCorrente_ = FieldText(rs_.RsField(rsPadri_, QStringLiteral("Articoli.Articolo")));
    try {
        mainLoop();
    } catch (const BomLevelError &e) {
        throw ReportError(QStringLiteral("9"), QStringLiteral("Indice non incluso nell'intervallo (livello %1 oltre i %2 livelli di esplosione)")
                                                   .arg(e.level()).arg(e.levels()));
    }
}

void Prelvo::EndRun()
{
    rs_.RsCloseAll();
    rsPadri_.clear();
    source_->endRun();
    runScope_.reset();
}

void Prelvo::mainLoop()
{
    const QString &h = rsPadri_;
    for (;;) {
        if (rs_.RsEof(h) || report().StopGet())
            break;
        if (!PrintingStarted() && !BeginPrinting())
            return;
        if (primoPadre_) {
            report().VertPosLet(report().MarginTopGet());
            PageHeader();
            StaIntestColonne();
        }
        if (report().SkipGet())
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

        if (obEspScal)
            explosion_->explode(articolo, DbBomReader::ReadComponent(rs_, h), padre_.Qta);

        rs_.RsMoveNext(h);
        if (rs_.RsEof(h))
            break;
        const QString next = FieldText(rs_.RsField(h, QStringLiteral("Articoli.Articolo")));
        if (next == articoloCorrente_)
            continue;
        if (obSaltoPag == 0) {
            check(report().LineEnd(), "LineEnd");
            continue;
        }
        if (obStaImg)
            extras_->StaImgFinePagina(report(), padre_);
        NewPage();
    }
    if (PrintingStarted() && obStaImg)
        extras_->StaImgFinePagina(report(), padre_);
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
    if (padre_.Articolo != ultimoValorizzato_) {
        double value = 0;
        const bool ok = source_->rollup().CreaMovDiBaLegami(padre_.Articolo, text("Articoli.ArtUMVen"),
                                                  text("Articoli.Sconto"), padre_.Qta, 1, value, 0,
                                                  number("Articoli.FatConVen"), QString(), QString(), 0);
        padre_.Importo = ok ? value : 0;
        ultimoValorizzato_ = padre_.Articolo;
    }
}

RigaDiBa Prelvo::LeggiComponente(const ExplodedLine &line)
{
    RigaDiBa r;
    r.Articolo = IndentedCode(line.level + 1, line.link.figlio);
    r.Descrizione = line.component.descrizione;
    r.UM = line.link.um;
    r.Qta = line.qty;

    QString metodo = line.link.qualeImporto;
    QString listino = line.link.listino;
    if (qualePrezzoDato_) {
        metodo = osQualePrezzo;
        listino = osListino;
    }
    if (line.component.distBase == 2) {
        r.QualeImporto.clear();
        r.Listino = QStringLiteral("SEM");
    } else {
        r.QualeImporto = metodo;
        r.Listino = listino;
    }
    r.Immagine = line.component.immagine;

    double value = 0;
    const bool ok = source_->rollup().CreaMovDiBaLegami(line.link.figlio, line.link.um, line.component.sconto,
                                                        line.stockQty, 1, value, 0, line.factor, metodo,
                                                        listino, static_cast<qint16>(line.component.distBase));
    r.Importo = ok ? value : 0;
    return r;
}

// ---------------------------------------------------------------------------------------------
// Columns, headings, lines

void Prelvo::DefinisciColonne()
{
    PrintReport &r = report();
    const QString S = QStringLiteral("S"), C = QStringLiteral("C"), D = QStringLiteral("D");
    r.StyleSelect(kCorpoCampo);
    r.ColumnsClear();
    r.AlignSet(S);
    colCodice_ = r.ColumnAdd(Sample(17), 12, QStringLiteral("P"));
    r.AlignSet(S);
    colDescrizione_ = r.ColumnAdd(Sample(20), 20, QString());
    r.AlignSet(C);
    colUM_ = r.ColumnAdd(Sample(3), 2, QString());
    r.AlignSet(D);
    colQta_ = r.ColumnAdd(QStringLiteral("999,999,999,999"), 12, QString());
    if (obStaImgRiga && !obStampoImporti) {
        r.AlignSet(S);
        colImmagine_ = r.ColumnAdd(Sample(20), 2, QStringLiteral("U"));
    }
    if (obStaImgRiga && obStampoImporti) {
        r.AlignSet(S);
        colImmagine_ = r.ColumnAdd(Sample(15), 2, QString());
        r.AlignSet(D);
        colImporto_ = r.ColumnAdd(QStringLiteral("999,999,999,999"), 16, QString());
    }
    if (!obStaImgRiga) {
        r.AlignSet(C);
        colQualeImporto_ = r.ColumnAdd(Sample(3), 4, QString());
        r.AlignSet(S);
        colListino_ = r.ColumnAdd(Sample(8), 10, QString());
        if (obStampoImporti) {
            r.AlignSet(D);
            colImporto_ = r.ColumnAdd(QStringLiteral("999,999,999,999,999"), 16, QString());
        }
    }
    if (obQtaDaDimen) {
        r.AlignSet(S);
        colCodice_ = r.ColumnAdd(Sample(15), 12, QStringLiteral("P"));
        r.AlignSet(S);
        colDescrizione_ = r.ColumnAdd(Sample(20), 20, QString());
        r.AlignSet(C);
        colUM_ = r.ColumnAdd(Sample(3), 2, QString());
        r.AlignSet(D);
        colQta_ = r.ColumnAdd(QStringLiteral("9999,999,999,999"), 16, QString());
        r.AlignSet(S);
        colDimText_ = r.ColumnAdd(Sample(20), 20, QString());
        if (obStampoImporti) {
            r.AlignSet(D);
            colDimValore_ = r.ColumnAdd(QStringLiteral("999,999,999,999"), 12, QString());
        }
    }
}

void Prelvo::StaIntestColonne()
{
    PrintReport &r = report();
    r.StyleSelect(QStringLiteral("CorpoLab"));
    auto cell = [&](const char *align, int column, const QString &text) {
        Cell(QString::fromLatin1(align), column, text);
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
    PrintReport &r = report();
    pendingImage_ = false;
    r.StyleSelect(kCorpoCampo);
    static const QString S = QStringLiteral("S"), C = QStringLiteral("C"), D = QStringLiteral("D");
    auto cell = [&](const QString &align, int column, const QString &text) { Cell(align, column, text); };
    cell(S, colCodice_, riga.Articolo);
    cell(S, colDescrizione_, riga.Descrizione.isEmpty() ? kInesistente : riga.Descrizione);
    cell(C, colUM_, riga.UM);
    cell(D, colQta_, FormatNum(riga.Qta, fmtQta_));
    if (obStaImgRiga) {
        limAlt_ = CalcLimAlt();
        StaImg(riga.Immagine, img_.destra, limAlt_);
        if (obStampoImporti)
            cell(D, colImporto_, FormatNum(riga.Importo, fmtVal_));
    } else if (!obQtaDaDimen || IsBlank(riga.DimText, VarKind::Text)) {
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
    CountLine();
}

void Prelvo::pendingImageLines()
{
    if (!pendingImage_)
        return;
    for (int i = 0; i < img_.numRighe - 1; ++i)
        check(report().LineEnd(), "LineEnd");
    pendingImage_ = false;
}

} // namespace kem

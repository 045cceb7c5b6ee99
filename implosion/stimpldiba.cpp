#include "implosion/stimpldiba.h"

#include "bomcore/fieldtext.h"
#include "platform/util/kemutil.h"

namespace kem {

namespace {

const QString kCorpoCampo = QStringLiteral("CorpoCampo");
const QString kCorpoLab = QStringLiteral("CorpoLab");
const QString S = QStringLiteral("S"), C = QStringLiteral("C"), D = QStringLiteral("D");

} // namespace

StImplDiBa::StImplDiBa(Database &db, const CompanyParams &params, AziendaUtilStampe &stampe,
                       MessageSink &sink)
    : ReportRun(db, stampe, sink, QStringLiteral("Implosione Distinta Base")), params_(params)
{
}

StImplDiBa::~StImplDiBa() = default;

QString StImplDiBa::ComponiSql(qint16 tipoDibaArt, const QString &articoloDa, const QString &articoloA)
{
    QString sql = QStringLiteral("SELECT Articoli_1.Articolo, Articoli_1.Descrizione,Articoli_1.ArtUM,")
        + QStringLiteral(" Articoli.Articolo, Articoli.Descrizione,Articoli.DistBase,")
        + QStringLiteral(" Articoli_1.DistBase, ArtLegami.UM, ArtLegami.Qta")
        + QStringLiteral(" FROM (ArtLegami INNER JOIN Articoli ON ArtLegami.ArticoloPadre = Articoli.Articolo)")
        + QStringLiteral(" INNER JOIN Articoli AS Articoli_1 ON ArtLegami.ArticoloFiglio = Articoli_1.Articolo")
        + QStringLiteral(" WHERE");
    if (tipoDibaArt == 1)
        sql += QStringLiteral(" Articoli_1.distbase= ") + SqlLiteral(3, VarKind::Int16);
    else if (tipoDibaArt == 2)
        sql += QStringLiteral(" Articoli_1.distbase= ") + SqlLiteral(2, VarKind::Int16);
    else
        sql += QStringLiteral(" Articoli_1.distbase <> ") + SqlLiteral(0, VarKind::Int16)
            + QStringLiteral(" AND Articoli_1.distbase <> ") + SqlLiteral(1, VarKind::Int16);
    if (!IsBlank(articoloDa, VarKind::Text))
        sql += QStringLiteral(" and Articoli_1.Articolo>=") + SqlLiteral(articoloDa, VarKind::Text);
    if (!IsBlank(articoloA, VarKind::Text))
        sql += QStringLiteral(" and Articoli_1.Articolo<=") + SqlLiteral(articoloA, VarKind::Text);
    return sql + QStringLiteral(" Order By Articoli_1.Articolo, Articoli.Articolo");
}

QString StImplDiBa::TipoComponente(int distBase)
{
    // a component of any other kind is told as "1"
    return distBase == 2 || distBase == 3 ? TipoComposto(distBase) : QStringLiteral("1");
}

QString StImplDiBa::TipoComposto(int distBase)
{
    switch (distBase) {
    case 2:
        return QStringLiteral("Semilavorato");
    case 3:
        return QStringLiteral("Prodotto Base");
    default:
        return QStringLiteral("Prodotto Finito");
    }
}

// ---------------------------------------------------------------------------------------------
// The run

void StImplDiBa::PrepareRun()
{
    fmtQta_ = NumFormat(params_.numDecQta, QChar(), QStringLiteral("#,##0"));
    ultimoComponente_.clear();
    primaRiga_ = true;
    colComponente_ = colUM_ = colComposto_ = colDescrizione_ = colUMLegame_ = colQta_ = colTipo_ = 0;
    implosion_.reset();
    reader_.reset();
    if (oiLivelli != 1) {
        reader_ = std::make_unique<CachedBomReader>(db());
        reader_->beginRun();
        implosion_ = std::make_unique<BomImplosion>(*reader_, params_.numDecQta);
        implosion_->setMaxLevels(oiLivelli);
        implosion_->onCycle = [this](const QString &text, const QString &article) {
            sink().msgCom(text + QStringLiteral(": gli articoli che usano ") + article
                              + QStringLiteral(" non vengono seguiti di nuovo"),
                          {QStringLiteral("&Ok")});
        };
    }
}

void StImplDiBa::Print()
{
    const QString h = rs_.RsOpen(db(), ComponiSql());
    if (rs_.RsIsEmpty(h))
        return;
    rs_.RsMoveFirst(h);
    while (!rs_.RsEof(h) && !report().StopGet()) {
        if (primaRiga_) {
            if (!BeginPrinting())
                return;
            report().VertPosLet(report().MarginTopGet());
            PageHeader();
            StaIntestColonne();
            primaRiga_ = false;
        }
        if (report().SkipGet())
            break;
        const RigaImplosione riga = LeggiRiga(h);
        // A new component prints its group line above the parent's line: both go on one page.
        const bool gruppo = riga.Componente != ultimoComponente_;
        bool saltato = false;
        CtrRiga(gruppo ? 2 : 1, true, saltato);
        if (report().SkipGet())
            break;
        if (implosion_) {
            if (!StaRigaLivelli(riga))
                break;
        } else {
            StaRiga(riga);
        }
        rs_.RsMoveNext(h);
    }
}

void StImplDiBa::EndRun()
{
    rs_.RsCloseAll();
    implosion_.reset();
    if (reader_)
        reader_->endRun();
    reader_.reset();
}

RigaImplosione StImplDiBa::LeggiRiga(const QString &h)
{
    auto text = [&](const char *name) { return FieldText(rs_.RsField(h, QString::fromLatin1(name))); };
    RigaImplosione r;
    r.Componente = text("Articoli_1.Articolo");
    r.DescrizioneComponente = text("Articoli_1.Descrizione");
    r.UMComponente = text("Articoli_1.ArtUM");
    r.Composto = text("Articoli.Articolo");
    r.DescrizioneComposto = text("Articoli.Descrizione");
    r.UMLegame = text("ArtLegami.UM");
    r.Qta = rs_.RsField(h, QStringLiteral("ArtLegami.Qta")).toDouble();
    r.TipoComponente = TipoComponente(rs_.RsField(h, QStringLiteral("Articoli_1.DistBase")).toInt());
    r.DistBaseComposto = rs_.RsField(h, QStringLiteral("Articoli.DistBase")).toInt();
    r.TipoComposto = TipoComposto(r.DistBaseComposto);
    return r;
}

// ---------------------------------------------------------------------------------------------
// Columns, headings, lines

void StImplDiBa::DefinisciColonne()
{
    PrintReport &r = report();
    r.StyleSelect(kCorpoCampo);
    r.ColumnsClear();
    // Widths in characters for the character outputs: the seven columns fill the 132 of a
    // line, the kind texts ("Prodotto Finito") and the headings whole.
    r.AlignSet(S);
    colComponente_ = r.ColumnAdd(Sample(45), 33, QStringLiteral("P"));
    r.AlignSet(S);
    colUM_ = r.ColumnAdd(Sample(30), 15);
    r.AlignSet(S);
    colComposto_ = r.ColumnAdd(Sample(15), 15);
    r.AlignSet(S);
    colDescrizione_ = r.ColumnAdd(Sample(30), 30);
    r.AlignSet(C);
    colUMLegame_ = r.ColumnAdd(Sample(2), 3);
    r.AlignSet(D);
    colQta_ = r.ColumnAdd(QStringLiteral("999,999,999,999"), 15);
    r.AlignSet(S);
    colTipo_ = r.ColumnAdd(Sample(10), 15);
}

void StImplDiBa::StaIntestColonne()
{
    PrintReport &r = report();
    r.StyleSelect(kCorpoLab);
    Cell(S, colComponente_, QStringLiteral("Codice e descrizione componente"));
    Cell(S, colUM_, QStringLiteral("Unità di misura"));
    Cell(S, colComposto_, QStringLiteral("Composto"));
    Cell(S, colDescrizione_, QStringLiteral("Descrizione composto"));
    Cell(C, colUMLegame_, QStringLiteral("Um"));
    Cell(D, colQta_, QStringLiteral("Quantità"));
    Cell(S, colTipo_, QStringLiteral("Tipo"));
    check(r.LineEnd(), "LineEnd");
    check(r.RulePrint(2, 2, 2), "RulePrint");
}

void StImplDiBa::StaRiga(const RigaImplosione &riga)
{
    StaGruppo(riga);
    StaDettaglio(riga.Composto, riga.DescrizioneComposto, riga.UMLegame, riga.Qta, riga.TipoComposto);
}

void StImplDiBa::StaGruppo(const RigaImplosione &riga)
{
    if (riga.Componente == ultimoComponente_)
        return;
    // The group line; its kind text goes in the cell after the unit.
    PrintReport &r = report();
    r.StyleSelect(kCorpoLab);
    Cell(S, colComponente_, riga.Componente + QStringLiteral(" - ") + riga.DescrizioneComponente);
    Cell(S, colUM_, riga.UMComponente);
    Cell(S, colComposto_, riga.TipoComponente);
    check(r.LineEnd(), "LineEnd");
    CountLine();
    ultimoComponente_ = riga.Componente;
}

void StImplDiBa::StaDettaglio(const QString &composto, const QString &descrizione, const QString &um,
                              double qta, const QString &tipo)
{
    PrintReport &r = report();
    r.StyleSelect(kCorpoCampo);
    Cell(S, colComposto_, composto);
    Cell(S, colDescrizione_, descrizione);
    Cell(C, colUMLegame_, um);
    Cell(D, colQta_, FormatNum(qta, fmtQta_));
    Cell(S, colTipo_, tipo);
    check(r.LineEnd(), "LineEnd");
    CountLine();
}

bool StImplDiBa::StaRigaLivelli(const RigaImplosione &riga)
{
    StaGruppo(riga);
    BomLink link;
    link.padre = riga.Composto;
    link.figlio = riga.Componente;
    link.um = riga.UMLegame;
    link.qta = riga.Qta;
    BomArticle parent;
    parent.articolo = riga.Composto;
    parent.descrizione = riga.DescrizioneComposto;
    parent.distBase = riga.DistBaseComposto;
    bool first = true;
    implosion_->onLine = [&](const ImplodedLine &line) {
        if (report().StopGet())
            return false;
        // The row's own line has its room from the group line's check.
        if (!first) {
            bool saltato = false;
            CtrRiga(1, true, saltato);
            if (report().SkipGet())
                return false;
        }
        first = false;
        // Every quantity is the component's, in the unit of its own link.
        StaDettaglio(IndentedCode(line.level, line.link.padre), line.parent.descrizione, riga.UMLegame,
                     line.qty, TipoComposto(line.parent.distBase));
        return true;
    };
    const bool done = implosion_->implode(riga.Componente, link, parent);
    implosion_->onLine = nullptr;
    return done;
}

} // namespace kem

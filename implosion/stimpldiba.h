#pragma once
// StImplDiBa: the BOM implosion print. For a range of components it prints every article that
// uses each of them, grouped by component: a group line with the component, its unit and its
// kind, then one line per parent with the link's unit and quantity and the parent's kind.
// Normally one level (parents of parents are not followed); with oiLivelli other than 1 the
// articles using each parent follow its line, up to that many levels or to the top, each
// code after "* " once per level and with the quantity of the component per unit of that
// article. The form (or a batch run) sets the public fields and calls AvviaStampa.
#include "common/companyparams.h"
#include "common/messages.h"
#include "bomcore/bomimplosion.h"
#include "platform/db/kemdb.h"
#include "reportkit/reportrun.h"

#include <QString>
#include <memory>

namespace kem {

class AziendaUtilStampe;

// One row of the statement.
struct RigaImplosione {
    QString Componente;
    QString DescrizioneComponente;
    QString UMComponente;      // Articoli_1.ArtUM
    QString Composto;
    QString DescrizioneComposto;
    QString UMLegame;          // ArtLegami.UM
    double Qta = 0;            // ArtLegami.Qta
    QString TipoComponente;
    QString TipoComposto;
    int DistBaseComposto = 0;  // Articoli.DistBase
};

class StImplDiBa : public ReportRun {
public:
    StImplDiBa(Database &db, const CompanyParams &params, AziendaUtilStampe &stampe, MessageSink &sink);
    ~StImplDiBa() override;

    // ---- public fields, set before the run
    QString osArticoloDa;     // component code range (blank: no bound)
    QString osArticoloA;
    qint16 oiTipoDibaArt = 1;  // 0 all, 1 base materials, 2 semi-finished
    int oiLivelli = 1;         // levels of users: 1 the direct ones only, N up to N, 0 to the top

    // The statement of the run, and the same for any fields.
    QString ComponiSql() const { return ComponiSql(oiTipoDibaArt, osArticoloDa, osArticoloA); }
    static QString ComponiSql(qint16 tipoDibaArt, const QString &articoloDa, const QString &articoloA);
    // The kind texts of a component and of a parent by their DistBase.
    static QString TipoComponente(int distBase);
    static QString TipoComposto(int distBase);

protected:
    void PrepareRun() override;
    void Print() override;
    void ColumnHeadings() override { StaIntestColonne(); }
    void DefineColumns() override { DefinisciColonne(); }
    void EndRun() override;

private:
    RigaImplosione LeggiRiga(const QString &h);
    void DefinisciColonne();
    void StaIntestColonne();
    void StaRiga(const RigaImplosione &riga);
    void StaGruppo(const RigaImplosione &riga);
    void StaDettaglio(const QString &composto, const QString &descrizione, const QString &um,
                      double qta, const QString &tipo);
    // The lines of one row with the articles above its parent (oiLivelli other than 1);
    // false when the run was interrupted.
    bool StaRigaLivelli(const RigaImplosione &riga);

    const CompanyParams &params_;
    ResultSets rs_;
    // The walk up the structure, for oiLivelli other than 1 (the whole structure read at run
    // start).
    std::unique_ptr<CachedBomReader> reader_;
    std::unique_ptr<BomImplosion> implosion_;

    // ---- run state
    QString fmtQta_;
    QString ultimoComponente_;
    bool primaRiga_ = true;
    int colComponente_ = 0, colUM_ = 0, colComposto_ = 0, colDescrizione_ = 0, colUMLegame_ = 0,
        colQta_ = 0, colTipo_ = 0;
};

} // namespace kem

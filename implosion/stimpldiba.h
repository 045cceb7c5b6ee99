#pragma once
// StImplDiBa: the BOM implosion print. For a range of components it prints every article that
// uses each of them (one level: parents of parents are not followed), grouped by component:
// a group line with the component, its unit and its kind, then one line per parent with the
// link's unit and quantity and the parent's kind. The form (or a batch run) sets the public
// fields and calls AvviaStampa.
#include "common/companyparams.h"
#include "common/messages.h"
#include "platform/db/kemdb.h"
#include "reportkit/reportrun.h"

#include <QString>

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
};

class StImplDiBa : public ReportRun {
public:
    StImplDiBa(Database &db, const CompanyParams &params, AziendaUtilStampe &stampe, MessageSink &sink);
    ~StImplDiBa() override;

    // ---- public fields, set before the run
    QString osArticoloDa;     // component code range (blank: no bound)
    QString osArticoloA;
    qint16 oiTipoDibaArt = 1;  // 0 all, 1 base materials, 2 semi-finished

    // The statement of the run.
    QString ComponiSql() const;
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

    const CompanyParams &params_;
    ResultSets rs_;

    // ---- run state
    QString fmtQta_;
    QString ultimoComponente_;
    bool primaRiga_ = true;
    int colComponente_ = 0, colUM_ = 0, colComposto_ = 0, colDescrizione_ = 0, colUMLegame_ = 0,
        colQta_ = 0, colTipo_ = 0;
};

} // namespace kem

#pragma once
// Prelvo: the BOM print. For every parent article of a range it prints the parent line and,
// with the multi-level explosion on, its components depth first to the chosen level, with
// quantities scaled to the produced quantity and each line's value. The form (or a batch run)
// sets the public fields and calls AvviaStampa.
#include "bom/prelvohooks.h"
#include "bomcore/bomexplosion.h"
#include "bomcore/bomsource.h"
#include "common/companyparams.h"
#include "common/messages.h"
#include "platform/db/kemdb.h"
#include "reportkit/reportrun.h"

#include <QString>
#include <array>
#include <memory>
#include <optional>

namespace kem {

class AziendaUtilStampe;

// One printed line.
struct RigaDiBa {
    QString Articolo;
    QString Descrizione;
    QString UM;
    double Qta = 0;
    QString QualeImporto;
    QString Listino;
    QString ArticoloFiglio;
    double Importo = 0;
    double Lunghezza = 0, Larghezza = 0, Altezza = 0;
    QString DimText;
    QString Immagine;
};

class Prelvo : public ReportRun {
public:
    static constexpr int kLivelli = BomExplosion::kLevels;  // entries of QtaLivello
    using Path = BomSource::Path;

    Prelvo(Database &db, const CompanyParams &params, AziendaUtilStampe &stampe, MessageSink &sink);
    ~Prelvo() override;

    // ---- public fields, set before the run
    QString osArticoloDa;
    QString osArticoloA;
    qint16 oiTipoDibaArt = 1;
    bool obEspScal = true;
    qint16 oiLivEsp = 0;
    double odQtaProd = 1;
    qint32 obSaltoPag = 0;
    bool obStampoImporti = true;
    bool obQtaDaDimen = false;
    double odLarghezza = 0, odLunghezza = 0, odAltezza = 0;
    QString osQualePrezzo;
    QString osListino;
    QString osListIvato;
    bool obStaImg = false;
    bool obStaImgRiga = false;

    // ---- properties
    // Class and attribute bounds, index 0 to 5 (any other index throws std::out_of_range).
    // Kept for the form; no query of this report uses them.
    QString osArtClasseAttrDa(int index) const;
    void osArtClasseAttrDaLet(int index, const QString &value);
    QString osArtClasseAttrA(int index) const;
    void osArtClasseAttrALet(int index, const QString &value);

    // Valuation (cost rollup and price lookup of this report).
    bool CreaMovDiBaLegami(const QString &psArticolo, const QString &psUM, const QString &psSconto,
                           double pdQta, qint16 piLivello, double &pdPrz, double pdQtaMovim,
                           double pdFattConv, const QString &psQualeImporto,
                           const QString &psQualeListino, qint16 piProdDistBase);
    bool CreaMovDiBaScar(ResultSets &pgRecDat, const QString &psRecDat, double pdQta,
                         double &pdValRiga, qint16 piLivello);
    QString CercaListinoDett(const QString &psQualeImporto, const QString &psCausDest,
                             const QString &psCausProv, const QString &psUnitaDa,
                             const QString &psUnitaA, qint16 piAnno, const QString &psArticolo,
                             const QString &psListino, const QString &psListIvato, bool &pbPrzIvato,
                             const QDate &psDataReg, const QString &psMoneta, qint16 piNumDecMonGes,
                             double pdFatConv, const QString &psUM, const QString &psSconto);
    // Images (delegated to the extras).
    float CalcLimAlt();
    void StaImg(const QString &psImmagine, bool pbDestra, float pnLimAlt);

    // The queries of the run.
    QString ComponiSqlPadri() const;
    static QString ComponiSqlFigli(const QString &articolo);

    // ---- how the run is carried out (not part of the form's interface)
    // The reads and valuation of the run (BomSource: straightforward or cached).
    void PathSet(Path path);
    Path PathGet() const { return source_->path(); }
    // Images and dimension quantities: the company's (the default), or others; nullptr: the
    // company's.
    void ExtrasSet(PrelvoExtras *extras) { extras_ = extras ? extras : companyExtras_.get(); }

protected:
    void PrepareRun() override;
    void Print() override;
    void ColumnHeadings() override { StaIntestColonne(); }
    void DefineColumns() override { DefinisciColonne(); }
    void EndRun() override;

private:
    void mainLoop();
    void LeggiPadre(const QString &h);
    RigaDiBa LeggiComponente(const ExplodedLine &line);
    void DefinisciColonne();
    void StaIntestColonne();
    void StaRiga(const RigaDiBa &riga);
    void pendingImageLines();
    // Hands the override fields to the cost rollup when they changed.
    void syncValuation();

    const CompanyParams &params_;
    std::unique_ptr<BomSource> source_;
    std::unique_ptr<BomExplosion> explosion_;
    ResultSets rs_;
    std::unique_ptr<PrelvoExtras> companyExtras_;
    PrelvoExtras *extras_ = nullptr;

    std::array<QString, 6> classeDa_, classeA_;

    // ---- run state
    std::optional<BomSource::RunScope> runScope_;
    QString rsPadri_;
    QString articoloCorrente_;
    QString ultimoValorizzato_;
    bool qualePrezzoDato_ = false;  // osQualePrezzo not blank: it values every line of the run
    QString fmtQta_, fmtVal_;
    ImageSettings img_;
    float limAlt_ = 0;
    bool pendingImage_ = false;
    bool primoPadre_ = true;
    RigaDiBa padre_;
    int colCodice_ = 0, colDescrizione_ = 0, colUM_ = 0, colQta_ = 0, colQualeImporto_ = 0,
        colListino_ = 0, colImporto_ = 0, colDimText_ = 0, colDimValore_ = 0, colImmagine_ = 0;
    QStringList override_;  // override last handed to the rollup
};

} // namespace kem

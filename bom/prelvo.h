#pragma once
// Prelvo: the BOM print. For every parent article of a range it prints the parent line and,
// with the multi-level explosion on, its components depth first to the chosen level, with
// quantities scaled to the produced quantity and each line's value. The form (or a batch run)
// sets the public fields and calls AvviaStampa.
#include "bom/bompath.h"
#include "bom/costrollup.h"
#include "bom/pricelookup.h"
#include "bom/prelvohooks.h"
#include "common/companyparams.h"
#include "common/messages.h"
#include "platform/db/kemdb.h"
#include "platform/printlib/printreport.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <memory>

namespace kem {

class AziendaUtilStampe;
class PrintFont;
class PrintOptions;

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

class Prelvo : public PrintOwner {
public:
    static constexpr int kLivelli = 1000;  // entries of QtaLivello

    Prelvo(Database &db, const CompanyParams &params, AziendaUtilStampe &stampe, MessageSink &sink);
    ~Prelvo() override;
    Prelvo(const Prelvo &) = delete;
    Prelvo &operator=(const Prelvo &) = delete;

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
    std::shared_ptr<PrintOptions> ogOpzSta;
    bool obStaAtt = false;
    bool obStaImgRiga = false;

    // ---- properties
    // The program-wide print-active flag (1 while a report runs).
    qint16 oiStaAtt() const;
    void oiStaAttLet(qint16 value) override;
    // Class and attribute bounds, index 0 to 5 (any other index throws std::out_of_range).
    // Kept for the form; no query of this report uses them.
    QString osArtClasseAttrDa(int index) const;
    void osArtClasseAttrDaLet(int index, const QString &value);
    QString osArtClasseAttrA(int index) const;
    void osArtClasseAttrALet(int index, const QString &value);

    // ---- operations
    // Runs the whole report; returns when the print job is closed.
    void AvviaStampa();
    // Page fit: when piNumRig lines no longer fit, a new page with the header (and the column
    // headings when pbDet); pbSaltato becomes true then.
    void CtrRiga(qint16 piNumRig, bool pbDet, bool &pbSaltato);

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
    // Straightforward: autocommit, statements prepared anew, one component query per expanded
    // line and a full valuation per line. Cached: one read transaction per run, prepared
    // statements reused, component rows and unit values kept for the run.
    void PathSet(CostRollup::Path path) { path_ = path; }
    CostRollup::Path PathGet() const { return path_; }
    // Images and dimension quantities; nullptr: none (the default).
    void ExtrasSet(PrelvoExtras *extras) { extras_ = extras; }
    // The print-in-progress window; nullptr: none.
    void ProgressSet(PrelvoProgress *progress) { progress_ = progress; }

    // What the last run did.
    struct RunResult {
        bool printed = false;  // printing started
        bool failed = false;   // an error ended the run, or the output could not be written
        QString error;         // the message shown for it
        qint64 lines = 0;      // parent and component lines printed
        int pages = 0;
        DbStats stats;         // statements of the run
    };
    const RunResult &LastRun() const { return last_; }

private:
    // One row of the parent or component query: the link and its component.
    struct LinkRow {
        QString figlio, um, qualeImporto, listino;
        double qta = 0;
        QString descrizione2, sconto2, artUM2, artUMVen2, artUMAcq2, immagine2;
        double fatConVen2 = 0, fatConAcq2 = 0;
        qint16 distBase2 = 0;
    };

    void run();
    void runEnd();
    void openJob();
    void mainLoop();
    void LeggiPadre(const QString &h);
    void EsplodiComponente(const LinkRow &row, const QString &figlio, int level);
    RigaDiBa LeggiComponente(const LinkRow &row, int level);
    void DefinisciColonne();
    void StaIntestColonne();
    void StaRiga(const RigaDiBa &riga);
    void pageHeader();
    void pendingImageLines();
    // Expands the components of an article at the given level.
    void explodeChildren(const QString &articolo, int level);
    const QVector<LinkRow> &childrenCached(const QString &articolo);
    static LinkRow readLink(ResultSets &rs, const QString &h);
    void check(bool ok, const char *op);
    // Hands the override fields and the path to the cost rollup when they changed.
    void syncValuation();
    void reportError(const QString &number, const QString &description);

    Database &db_;
    const CompanyParams &params_;
    AziendaUtilStampe &stampe_;
    MessageSink &sink_;
    PriceLookup prices_;
    CostRollup rollup_;
    ResultSets rs_;
    PrelvoExtras noExtras_;
    PrelvoExtras *extras_ = nullptr;
    PrelvoProgress *progress_ = nullptr;
    CostRollup::Path path_ = CostRollup::Path::Straightforward;

    std::array<QString, 6> classeDa_, classeA_;

    // ---- run state
    QString titolo_;
    QString titoloRun_;
    QString reportKey_;
    std::shared_ptr<PrintReport> report_;
    std::unique_ptr<PrintFont> font_;
    QString rsPadri_;
    QString articoloCorrente_;
    QString ultimoValorizzato_;
    std::array<double, kLivelli> QtaLivello{};
    QString fmtQta_, fmtVal_;
    ImageSettings img_;
    float limAlt_ = 0;
    bool pendingImage_ = false;
    bool stampaIniziata_ = false;
    bool primoPadre_ = true;
    RigaDiBa padre_;
    int colCodice_ = 0, colDescrizione_ = 0, colUM_ = 0, colQta_ = 0, colQualeImporto_ = 0,
        colListino_ = 0, colImporto_ = 0, colDimText_ = 0, colDimValore_ = 0, colImmagine_ = 0;

    std::weak_ptr<PrintReport> lastReport_;  // a preview may keep it after the run
    QStringList override_;                    // override last handed to the rollup
    BomPath pathExplosion_;
    QSet<QString> cyclesReported_;
    // Component rows of the cached path, by article as the database compares codes. It lives
    // for one run: the company database does not change under a run (it is read inside one
    // read transaction), so the rows put together once stay true until the run ends.
    QHash<QString, QVector<LinkRow>> children_;
    RunResult last_;
};

} // namespace kem

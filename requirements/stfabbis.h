#pragma once
// StFabbis: the requirements print. It selects the open lines of sales orders (or of quotes),
// explodes every ordered article through its bill of materials, totals the components per
// document and for the whole run in the scratch table AppoggioTemp under the user's and the
// program's key, optionally nets them against stock, and prints one of three layouts:
// document/article, article/document, grouped by article. The form (or a batch run) sets the
// public fields and calls AvviaStampa.
#include "common/classeattr.h"
#include "common/companyparams.h"
#include "common/messages.h"
#include "common/stocksums.h"
#include "platform/db/kemdb.h"
#include "reportkit/reportrun.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <memory>
#include <vector>

namespace kem {

class AziendaUtilStampe;
class BomExplosion;
class BomReader;
class MenuServer;
struct ExplodedLine;

class StFabbis : public ReportRun {
public:
    // menu: where the class captions and the current warehouse year come from (nullptr: none).
    StFabbis(Database &db, const CompanyParams &params, AziendaUtilStampe &stampe, MessageSink &sink,
             MenuServer *menu = nullptr);
    ~StFabbis() override;
    void MenuSet(MenuServer *menu) { menu_ = menu; }

    // ---- public fields, set before the run (empty: no bound)
    QString osOrdPre = QStringLiteral("O");  // "O" sales orders, anything else quotes
    qint16 oiTipoStampa = 0;                 // 0 document/article, 1 article/document, 2 grouped
    bool obOrdNumdoc = false;                // sort by document date and number (else reference)
    QString osTipoDocDa, osTipoDocA;
    QDate otDataRifDa, otDataRifA;
    qint32 olNumRifDa = 0, olNumRifA = 0;
    QDate otDataDocDa, otDataDocA;
    qint32 olNumDocDa = 0, olNumDocA = 0;
    QDate otPrevConsDa, otPrevConsA;
    QString osGruppoCliDa, osMastroCliDa, osContoCliDa;
    QString osGruppoCliA, osMastroCliA, osContoCliA;
    QString osArticoloDa, osArticoloA;
    QString osArtGruppoDa, osArtGruppoA;
    QString osArtSottoGru;
    QString osCatDa, osCatA;
    QString osZonDa, osZonA;
    QString osAgenteDa, osAgenteA;
    QString osDesAgenteDa, osDesAgenteA;
    QString osMagazzino;
    ClasseAttrBounds osArtClasseAttrDa, osArtClasseAttrA;
    ClasseAttrBounds osPdcClasseAttrDa, osPdcClasseAttrA;
    qint16 oiQtaMostr = 0;  // 0 "Fabbisogno", 1 "Fabbisogno - giacenza"
    qint16 oiQtaElab = 0;   // 0 "Totale", 1 "Totale - disponibilità", 2 "Totale - giacenza"
    bool obPrelvo = false;  // "Stampo DiBa articoli": the component lines during the explosion
    bool obSemilav = false; // "Includere anche i semilavorati:"
    bool obSaltoPag = false;
    // The key of the scratch rows: the user and the program identifier.
    QString osUtente;
    QString osIdProgramma = QStringLiteral("42");
    // Every link read and every scratch row booked by its own statement, as they are met
    // (slower; the output is the same).
    bool obStraightforward = false;

    // ---- the statements
    // The header and lines tables of the documents chosen by osOrdPre.
    QString Testata() const;
    QString Righe() const;
    void PrepSqlOrdini(QString &sql) const;
    QString CreaWhereOrdini(const QString &further) const;
    void PrepSqlAppoggioTemp(QString &sql, qint16 anno, qint32 numRif) const;
    // Deletes the run's scratch rows; 0, or 1 after an error (shown).
    int CancellaAppoggioTemp(const QString &utente, const QString &programma);

    // The page break check of a body line.
    using ReportRun::CtrRiga;

    // What the last run found (cycles told, for tests and the batch).
    int CyclesMet() const { return cycles_; }

protected:
    void PrepareRun() override;
    void Print() override;
    void DefineColumns() override;
    void EndRun() override;

private:
    struct Scratch;
    struct Riga;

    // ---- explosion
    void Esplodi(const QString &articolo, double qta);
    void EsplodiRiga(const ExplodedLine &line);
    void ScrivoAppoggioTemp(qint16 anno, qint32 num, const ExplodedLine &line, double net, double stock,
                            double gross);
    // The component row of a link in a document (0, 0: the run-wide one).
    QString RigaSql(qint16 anno, qint32 num, const ExplodedLine &line) const;
    double GiacFiglio(qint16 anno, qint32 num, const ExplodedLine &line);
    void ArtInAppoggioTemp(double qta);
    double TotQtaResPrec(const QString &articolo);
    void CalcQtaElabArtOrd();
    double Giacenza(const QString &articolo, bool disponibilita);
    StockSums StockOf(const QString &articolo);

    // ---- printing
    bool PrimaRiga();
    void SelezioneRiga();
    void StaRigaDoc(const Riga &r);
    void StaTestaArt(const Riga &r);
    void StaTestaGruppo(const Riga &r);
    void StaRigaComp(const QString &codice, const QString &descrizione, bool esiste, const QString &um,
                     double qta, double giac, double lordo);
    Riga LeggiRiga(const QString &h) const;
    QString DataText(const QDate &d) const;

public:
    void StaEleCompOrdine(qint16 anno, qint32 num);
    void StampoTotQtaArt();
    void StaRigaOrdRiep(const QString &h);

private:
    const CompanyParams &params_;
    MenuServer *menu_;
    ResultSets rs_;
    std::unique_ptr<BomReader> reader_;
    std::unique_ptr<BomExplosion> explosion_;
    std::unique_ptr<Scratch> scratch_;
    std::unique_ptr<StockSumsTable> stock_;

    // ---- run state
    QString titolo_, etichettaDoc_;
    QString fmtQta_;
    std::vector<double> livQta_;  // entry 0: the quantity of the ordered article to process
    QString prefisso_;
    qint16 anno_ = 0;
    qint32 numRif_ = 0;
    qint16 annoMag_ = 0;
    qint16 annoCorr_ = 0;
    QString artOrd_;
    double residuo_ = 0;
    double giacArt_ = 0, dispArt_ = 0, giacLav_ = 0, dispLav_ = 0;
    bool primaRiga_ = true;
    bool interrotto_ = false;
    int numDoc_ = 0;
    qint16 annoPrec_ = -1;
    qint32 numPrec_ = -1;
    QString artPrec_;
    int distBasePrec_ = 0;
    double totResArt_ = 0;
    int cycles_ = 0;
    int colLead_ = 0, colCodice_ = 0, colDescr_ = 0, colUm_ = 0, colQta_ = 0, colGiac_ = 0;
};

} // namespace kem

#pragma once
// A sample report run to the preview for the preview window tests and its screenshot: every
// page has the standard header, column headings and a few article rows, and ends with a new
// page, so the number of pages is exact.
#include "print/aziendautilstampe.h"
#include "platform/printlib/printfont.h"
#include "platform/printlib/printoptions.h"
#include "platform/printlib/printreport.h"

#include <QTimer>
#include <memory>

namespace kemtest {

// Options of a run to the preview with the page range given (0: no limit).
inline std::shared_ptr<kem::PrintOptions> PreviewOptions(int pageFrom = 0, int pageTo = 0)
{
    auto o = std::make_shared<kem::PrintOptions>();
    o->StaVid = kem::PrintOptions::Preview;
    o->PreviewFlag = true;
    o->ParamSet(QStringLiteral("PaginaDa"), kem::PrintOptions::ParamInteger, pageFrom);
    o->ParamSet(QStringLiteral("PaginaA"), kem::PrintOptions::ParamInteger, pageTo);
    return o;
}

// Keeps the run-active flag the library reports to the report class.
struct SampleOwner : kem::PrintOwner {
    int oiStaAtt = 0;
    void oiStaAttLet(qint16 value) override { oiStaAtt = value; }
};

// Runs `pages` pages; the loop ends early when a stop is requested. False when the job did
// not open. A run still going after a minute is stopped, so a test that fails to move the
// preview on ends instead of waiting for ever.
inline bool RunSamplePreview(kem::AziendaUtilStampe &u, kem::PrintReport &r, SampleOwner &owner, int pages,
                             int rowsPerPage = 14)
{
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &r, [&r] { r.StopSet(2); });
    guard.start(60000);
    r.OwnerSet(&owner);
    u.IniParamStampa(QStringLiteral("DIBA01"), r);
    r.StopSet(0);
    r.TitleSet(QStringLiteral("Stampa Distinta base"));
    bool cancelled = false;
    owner.oiStaAtt = 1;
    if (!r.JobStart(1, &cancelled) || cancelled) {
        owner.oiStaAtt = 0;
        return false;
    }
    r.JobModeSet(6);
    kem::PrintFont working;
    u.StileTesta(r, working);
    u.StileCorpo(r, working);
    r.DocBegin();
    kem::PageHeaderArgs header;
    header.title = QStringLiteral("Distinta base");
    r.StyleSelect(QStringLiteral("CorpoLab"));
    r.ColumnsClear();
    r.AlignSet(QStringLiteral("S"));
    const int code = r.ColumnAdd(QStringLiteral("MMMMMMMMMMMMMMM"), 15, QStringLiteral("P"));
    const int desc = r.ColumnAdd(QStringLiteral("MMMMMMMMMMMMMMMMMMMMMMMMMMMMMM"), 40);
    const int unit = r.ColumnAdd(QStringLiteral("MMMM"), 4);
    r.AlignSet(QStringLiteral("D"));
    const int qty = r.ColumnAdd(QStringLiteral("MMMMMMMMMM"), 12);
    const int cost = r.ColumnAdd(QStringLiteral("MMMMMMMMMMMM"), 14);
    const QStringList names = {QStringLiteral("Pannello truciolare 18 mm"), QStringLiteral("Cerniera a scatto 110°"),
                               QStringLiteral("Vite euro 6,3 x 13"), QStringLiteral("Maniglia alluminio 128 mm"),
                               QStringLiteral("Bordo ABS 2 mm rovere"), QStringLiteral("Ripiano in vetro 6 mm"),
                               QStringLiteral("Piedino regolabile"), QStringLiteral("Guida cassetto 450 mm")};
    const QStringList units = {QStringLiteral("MQ"), QStringLiteral("NR"), QStringLiteral("NR"), QStringLiteral("NR"),
                               QStringLiteral("ML"), QStringLiteral("NR"), QStringLiteral("NR"), QStringLiteral("PA")};
    for (int page = 1; page <= pages && !r.StopGet(); ++page) {
        if (page > 1) {
            r.PageNew();
            r.VertPosLet(r.MarginTopGet());
        }
        if (r.SkipGet())
            break;
        u.Intestazione(r, header);
        r.StyleSelect(QStringLiteral("CorpoLab"));
        const QList<int> ids = {code, desc, unit, qty, cost};
        const QStringList heads = {QStringLiteral("Articolo"), QStringLiteral("Descrizione"), QStringLiteral("UM"),
                                   QStringLiteral("Quantità"), QStringLiteral("Costo")};
        for (int i = 0; i < ids.size(); ++i) {
            r.AlignSet(QString(r.ColumnGet(ids[i])->align));
            r.CellPrint(ids[i], heads[i]);
        }
        r.LineEnd();
        r.RulePrint(2, 2, 2);
        r.StyleSelect(QStringLiteral("CorpoCampo"));
        for (int row = 0; row < rowsPerPage && !r.StopGet(); ++row) {
            const int n = (page * rowsPerPage + row) % names.size();
            r.AlignSet(QStringLiteral("S"));
            r.CellPrint(code, QStringLiteral("CMP%1").arg(page * 100 + row, 5, 10, QLatin1Char('0')));
            r.CellPrint(desc, names[n]);
            r.CellPrint(unit, units[n]);
            r.AlignSet(QStringLiteral("D"));
            r.CellPrint(qty, QStringLiteral("%1,000").arg(1 + (row * 7) % 23));
            r.CellPrint(cost, QStringLiteral("%1,%2").arg(3 + (row * 13) % 90).arg((row * 37) % 100, 2, 10, QLatin1Char('0')));
            r.LineEnd();
        }
    }
    return r.DocEnd();
}

} // namespace kemtest

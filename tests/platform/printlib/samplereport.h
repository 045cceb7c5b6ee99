#pragma once
// The small report every destination test runs: a two-line header in the header styles,
// a title, four columns of text and numbers, and enough lines for three A4 pages.
#include "platform/printlib/printreport.h"

#include <QFile>
#include <QLocale>
#include <QString>

namespace kemtest {

struct SampleReport {
    int lines = 150;
    int stopAtLine = -1;  // simulates "Interrompi la stampa" before this line
    int colCode = 0, colDesc = 0, colUm = 0, colQty = 0;

    static QString code(int i) { return QStringLiteral("0%1").arg(i, 4, 10, QLatin1Char('0')); }
    static QString desc(int i) { return QStringLiteral("Descrizione %1").arg(i); }
    static double qty(int i) { return (i + 1) * 1234.5; }
    static QString qtyText(int i) { return QLocale(QLocale::Italian).toString(qty(i), 'f', 2); }

    static void styles(kem::PrintReport &r)
    {
        auto add = [&](const char *name, const char *font, double size, bool bold) {
            kem::PrintFont f;
            f.Name = QString::fromLatin1(font);
            f.Size = size;
            f.Bold = bold;
            r.FontAdd(QString::fromLatin1(name), f);
        };
        add("TestaAzienda", "arial", 9, false);
        add("Titolo", "arial", 9, true);
        add("TestaData", "arial", 10, false);
        add("TestaTitolo", "arial", 12, true);
        add("CorpoLab", "arial", 8, true);
        add("CorpoCampo", "arial", 10, false);
    }

    void header(kem::PrintReport &r)
    {
        r.VertPosLet(r.MarginTopGet());
        r.StyleSelect(QStringLiteral("TestaAzienda"));
        r.AlignSet(QStringLiteral("S"));
        r.TextPrint(0, QStringLiteral("Kemora 1.0"));
        r.AlignSet(QStringLiteral("D"));
        r.TextPrint(0, QStringLiteral("Ditta: Mobili Rossi"));
        r.LineEnd();
        r.StyleSelect(QStringLiteral("TestaData"));
        r.AlignSet(QStringLiteral("S"));
        r.TextPrint(0, QStringLiteral("10/12/2026"));
        r.StyleSelect(QStringLiteral("TestaTitolo"));
        r.AlignSet(QStringLiteral("C"));
        r.TextPrint(0, QStringLiteral("Distinta Base"));
        r.StyleSelect(QStringLiteral("TestaData"));
        r.AlignSet(QStringLiteral("D"));
        r.TextPrint(0, QStringLiteral("Pag. %1").arg(r.PageNumGet(), 3, 10, QLatin1Char('0')));
        r.LineEnd();
    }

    void columns(kem::PrintReport &r)
    {
        r.StyleSelect(QStringLiteral("CorpoCampo"));
        r.ColumnsClear();
        r.AlignSet(QStringLiteral("S"));
        colCode = r.ColumnAdd(QString(17, QLatin1Char('M')), 12, QStringLiteral("P"));
        colDesc = r.ColumnAdd(QString(20, QLatin1Char('M')), 20, QString());
        r.AlignSet(QStringLiteral("C"));
        colUm = r.ColumnAdd(QStringLiteral("MMM"), 2, QString());
        r.AlignSet(QStringLiteral("D"));
        colQty = r.ColumnAdd(QStringLiteral("999,999,999,999"), 12, QString());
    }

    void headings(kem::PrintReport &r)
    {
        r.StyleSelect(QStringLiteral("CorpoLab"));
        r.AlignSet(QStringLiteral("S"));
        r.CellPrint(colCode, QStringLiteral("Codice"), true, false, QString(), QString());
        r.CellPrint(colDesc, QStringLiteral("Descrizione articolo"), true, false, QString(), QString());
        r.AlignSet(QStringLiteral("C"));
        r.CellPrint(colUm, QStringLiteral("Um"), true, false, QString(), QString());
        r.AlignSet(QStringLiteral("D"));
        r.CellPrint(colQty, QStringLiteral("Quantità"), true, false, QString(), QString());
        r.LineEnd();
        r.RulePrint(2, 2, 2);
    }

    void newPageIfFull(kem::PrintReport &r, int lines)
    {
        if (!r.RoomCheck(lines))
            return;
        r.PageNew();
        if (r.SkipGet())
            return;
        header(r);
        headings(r);
    }

    // Runs the whole report on r (options already set); returns JobStart's result.
    bool run(kem::PrintReport &r)
    {
        styles(r);
        r.StopSet(0);
        bool cancelled = false;
        if (!r.JobStart(1, &cancelled) || cancelled) {
            r.DocEnd();
            return false;
        }
        r.DocBegin();
        columns(r);
        header(r);
        headings(r);
        for (int i = 0; i < lines; ++i) {
            if (i == stopAtLine)
                r.StopSet(1);
            if (r.StopGet())
                break;
            newPageIfFull(r, 1);
            if (r.SkipGet())
                break;
            r.StyleSelect(QStringLiteral("CorpoCampo"));
            r.AlignSet(QStringLiteral("S"));
            r.CellPrint(colCode, code(i), true, false, QString(), QString());
            r.CellPrint(colDesc, desc(i), true, false, QString(), QString());
            r.AlignSet(QStringLiteral("C"));
            r.CellPrint(colUm, QStringLiteral("PZ"), true, false, QString(), QString());
            r.AlignSet(QStringLiteral("D"));
            r.CellPrint(colQty, qtyText(i), true, false, QString(), QString());
            r.LineEnd();
        }
        return r.DocEnd();
    }
};

// Records what the library tells the owner.
struct RecordingOwner : kem::PrintOwner {
    QList<int> values;
    void oiStaAttLet(qint16 v) override { values.append(v); }
};

// Stands in for CUPS: keeps the job and a copy of the file it was given.
struct FakeSubmitter : kem::PrintSubmitter {
    QString defaultPrinter;
    QMarginsF margins;  // what the printer cannot print in (mm)
    bool refuse = false;
    QList<kem::PrintJob> jobs;
    QList<QByteArray> files;
    QString DefaultPrinter() override { return defaultPrinter; }
    QMarginsF HardwareMargins(const QString &, const QString &) override { return margins; }
    bool Submit(const kem::PrintJob &job, int *jobId, QString *error) override
    {
        jobs.append(job);
        QFile f(job.file);
        files.append(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
        if (refuse) {
            *error = QStringLiteral("stampante spenta");
            return false;
        }
        *jobId = int(jobs.size());
        return true;
    }
};

} // namespace kemtest

#pragma once
// The company's working parameters, loaded once after the company database is open and
// read everywhere afterwards (decimals, formats, currency codes, colours, switches).
// One instance per program run, owned by the program's context and passed to who needs it.
#include <QDate>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace kem {

class DaoDatabase;

// The three display formats built for one number of decimals.
struct AmountFormats {
    QString blankZero; // "#,###" without fill: zero shows as blank
    QString compact;   // "#,###" with fill "#"
    QString full;      // "#,##0" with decimal-place character "0": integer digit always shown
};

struct CurrencySet {
    qint16 numDec = 2;     // printed decimals
    qint16 numDecGest = 2; // managed decimals
    AmountFormats formats;
    AmountFormats formatsGest;
};

struct CompanyParams {
    QString descAzie;                // company description
    qint16 numDecQta = 0;            // quantity decimals
    QString fmtQtaBlank;             // "#,##^" with fill "#"
    QString fmtQta;                  // "#,###"
    QString moneta = "Euro";         // current currency code
    QString codLira = "L.";
    QString codEuro = "Euro";
    QString operCambio = "/";
    QString cambioLiraEuro = "1936,27";
    CurrencySet lira;
    CurrencySet euro;
    CurrencySet current;             // euro set unless the current currency is the lira code
    QDate workingDate;               // the suite's working date (cost year and price date)

    quint32 colErr = 255;
    quint32 colBackNormal = 0x80000005;
    quint32 colHighlight = 0xFF0000;
    quint32 colTextNormal = 0x80000008;
    quint32 colTextDisabled = 0x80000011;
    quint32 colBackGotFocus = 0xFFFF80;
    quint32 colBackLostFocus = 0x80000005;
    qint32 colBackForm = 0;
    QStringList monthNames;          // 12 names, index 0 = "Gennaio"
    QString massimizzato;            // always ends with ","
    QString windowState;             // "2" maximised, empty otherwise
    QString arrotIvaEuro = "A";
    QString tastierinoVirgola;
    QString decodHelpAbil = "N";
    bool decodHelpPersKey = false;
    QString dateFormat = "dd/mm/yyyy";
    DaoDatabase *companyDao = nullptr; // auxiliary data-access object of the company database

    bool isLira(const QString &currency) const { return currency.compare(codLira, Qt::CaseInsensitive) == 0; }
};

} // namespace kem

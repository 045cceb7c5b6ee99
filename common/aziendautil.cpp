#include "common/aziendautil.h"

#include "platform/db/kemdb.h"
#include "platform/menu/menuserver.h"
#include "platform/util/kemutil.h"

#include <QDate>

namespace kem {

namespace {

const QString kTutti = QStringLiteral("Tutti");

// Blank text gives def; anything else must be a whole number in [lo, hi].
qint32 IntParam(const QString &name, const QString &text, qint32 def, qint32 lo, qint32 hi)
{
    if (text.trimmed().isEmpty())
        return def;
    bool ok = false;
    const double v = TextToNum(text, &ok);
    if (!ok || v != static_cast<double>(static_cast<qint64>(v)) || v < lo || v > hi)
        throw ParamError(name, text,
                         QStringLiteral("un numero intero da %1 a %2").arg(lo).arg(hi));
    return static_cast<qint32>(v);
}

// A colour: decimal (Windows convention 0x00BBGGRR / 0x800000nn as a number, also negative
// as a 32-bit Long) or hexadecimal written "&H...". Blank gives def.
quint32 ColourParam(const QString &name, const QString &text, quint32 def)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return def;
    bool ok = false;
    if (t.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive)) {
        QString hex = t.mid(2);
        if (hex.endsWith(QLatin1Char('&')))
            hex.chop(1);
        const qulonglong v = hex.toULongLong(&ok, 16);
        if (ok && v <= 0xFFFFFFFFull)
            return static_cast<quint32>(v);
    } else {
        const double v = TextToNum(t, &ok);
        if (ok && v == static_cast<double>(static_cast<qint64>(v)) && v >= -2147483648.0
            && v <= 4294967295.0)
            return static_cast<quint32>(static_cast<qint64>(v));
    }
    throw ParamError(name, text, QStringLiteral("un colore (numero)"));
}

CurrencySet MakeCurrencySet(qint16 numDec, qint16 numDecGest)
{
    CurrencySet set;
    set.numDec = numDec;
    set.numDecGest = numDecGest;
    set.formats = BuildAmountFormats(numDec);
    set.formatsGest = BuildAmountFormats(numDecGest);
    return set;
}

qint16 DecimalsColumn(const QVariant &v, qint16 def, const QString &code, const QString &column)
{
    if (!v.isValid() || v.isNull())
        return def;
    bool ok = false;
    const int n = v.toInt(&ok);
    if (!ok || n < 0 || n > 15)
        throw ParamError(QStringLiteral("Monete.") + column + QStringLiteral(" (") + code
                             + QStringLiteral(")"),
                         v.toString(), QStringLiteral("un numero di decimali da 0 a 15"));
    return static_cast<qint16>(n);
}

} // namespace

ParamError::ParamError(const QString &name, const QString &value, const QString &expected)
    : std::runtime_error(("Valore non valido per " + name).toStdString()),
      description_(QStringLiteral("Valore non valido per ") + name + QStringLiteral(": \"") + value
                   + QStringLiteral("\" (atteso ") + expected + QStringLiteral(")"))
{
}

QString CompanyVar(MenuServer &menu, const QString &name)
{
    const QString v = menu.MenuVar(name, QString());
    return v == MenuMissingMarker ? QString() : v;
}

QString PersonalParam(MenuServer &menu, const QString &section, const QString &key,
                      const std::optional<QString> &def, const QString &programKey1,
                      const QString &programKey2)
{
    QString v = menu.MenuVar(PersonalVarName(section, key), QString());
    if (v == MenuMissingMarker && !programKey1.isEmpty() && !programKey2.isEmpty())
        v = menu.MenuVar(PersonalVarName(programKey1, programKey2), QString());
    if (v == MenuMissingMarker && def.has_value())
        return *def;
    return v;
}

AmountFormats BuildAmountFormats(int decimals)
{
    AmountFormats f;
    f.blankZero = NumFormat(decimals, QChar(), QStringLiteral("#,###"));
    f.compact = NumFormat(decimals, QLatin1Char('#'), QStringLiteral("#,###"));
    f.full = NumFormat(decimals, QChar(), QStringLiteral("#,##0"), QLatin1Char('0'));
    return f;
}

CurrencyInfo CurrencyLookup(Database &db, const QString &code)
{
    CurrencyInfo info;
    ResultSets rs;
    const QString sql = QStringLiteral("Select * from Monete") + QStringLiteral(" where moneta = ")
                        + SqlLiteral(code, VarKind::Text);
    RsGuard h(rs, rs.RsOpen(db, sql));
    if (rs.RsIsEmpty(h))
        return info;
    rs.RsMoveFirst(h);
    info.numDec = DecimalsColumn(rs.RsField(h, QStringLiteral("NumDec")), 2, code,
                                 QStringLiteral("NumDec"));
    info.numDecGest = DecimalsColumn(rs.RsField(h, QStringLiteral("NumDecGest")), 2, code,
                                     QStringLiteral("NumDecGest"));
    const QVariant op = rs.RsField(h, QStringLiteral("Operatore"));
    const QVariant cee = rs.RsField(h, QStringLiteral("Cee"));
    if (op.isValid() && !op.isNull())
        info.operatore = op.toString();
    if (cee.isValid() && !cee.isNull())
        info.cee = cee.toString();
    return info;
}

QString MaximisedWindowState(const QString &massimizzato, const QString &programKey)
{
    const QStringList items = massimizzato.split(QLatin1Char(','));
    const QString key = programKey.trimmed();
    for (const QString &item : items) {
        const QString t = item.trimmed();
        if (t.isEmpty())
            continue;
        if (t.compare(QStringLiteral("tutti"), Qt::CaseInsensitive) == 0
            || (!key.isEmpty() && t.compare(key, Qt::CaseInsensitive) == 0))
            return QStringLiteral("2");
    }
    return {};
}

void CaricaParametriAzienda(MenuServer &menu, Database &db, qint16 flag, const IniContext &ini,
                            const QString &programKey, CompanyParams &params)
{
    CompanyParams p; // written into params only when everything loaded

    p.descAzie = CompanyVar(menu, QStringLiteral("DescAzie"));

    p.numDecQta = static_cast<qint16>(IntParam(QStringLiteral("Mag.NumDecQta"),
                                               CompanyVar(menu, QStringLiteral("Mag.NumDecQta")),
                                               0, 0, 15));
    p.fmtQtaBlank = NumFormat(p.numDecQta, QLatin1Char('#'), QStringLiteral("#,##^"));
    p.fmtQta = NumFormat(p.numDecQta, QChar(), QStringLiteral("#,###"));

    const auto withDefault = [&](const QString &name, const QString &def) {
        const QString v = CompanyVar(menu, name);
        return v.trimmed().isEmpty() ? def : v;
    };
    p.moneta = withDefault(QStringLiteral("Ditta.Moneta"), QStringLiteral("Euro"));
    p.codLira = withDefault(QStringLiteral("Ditta.CodLira"), QStringLiteral("L."));
    p.codEuro = withDefault(QStringLiteral("Ditta.CodEuro"), QStringLiteral("Euro"));
    p.operCambio = withDefault(QStringLiteral("Ditta.OperCambio"), QStringLiteral("/"));
    p.cambioLiraEuro = withDefault(QStringLiteral("Ditta.CambioLiraEuro"), QStringLiteral("1936,27"));

    if (flag == 0) {
        const CurrencyInfo lira = CurrencyLookup(db, p.codLira);
        p.lira = MakeCurrencySet(lira.numDec, lira.numDecGest);
        const CurrencyInfo euro = CurrencyLookup(db, p.codEuro);
        p.euro = MakeCurrencySet(euro.numDec, euro.numDecGest);
    } else {
        p.lira = MakeCurrencySet(0, 0);
        p.euro = MakeCurrencySet(2, 2);
    }
    p.current = p.isLira(p.moneta) ? p.lira : p.euro;

    // The working date the reports value at (cost year, price date): the menu's "DataLavoro";
    // blank or not a valid dd/mm/yyyy date gives today.
    const QString workingText = CompanyVar(menu, QStringLiteral("DataLavoro")).trimmed();
    QDate working = QDate::fromString(workingText, QStringLiteral("dd/MM/yyyy"));
    if (!working.isValid())
        working = QDate::fromString(workingText, QStringLiteral("d/M/yyyy"));
    p.workingDate = working.isValid() ? working : QDate::currentDate();

    p.colErr = 255;
    p.colBackNormal = 0x80000005;
    p.colHighlight = 0xFF0000;
    p.colTextNormal = 0x80000008;
    p.colTextDisabled = 0x80000011;
    p.colBackGotFocus = ColourParam(QStringLiteral("ColBackGotFocus"),
                                    CompanyVar(menu, QStringLiteral("ColBackGotFocus")), 0xFFFF80);
    p.colBackLostFocus = ColourParam(QStringLiteral("ColBacklostFocus"),
                                     CompanyVar(menu, QStringLiteral("ColBacklostFocus")), 0x80000005);
    p.colBackForm = static_cast<qint32>(
        ColourParam(QStringLiteral("Personal.Tutti.§ColBackForm"),
                    PersonalParam(menu, kTutti, QStringLiteral("ColBackForm"), QStringLiteral("0")), 0));

    p.monthNames = {QStringLiteral("Gennaio"), QStringLiteral("Febbraio"), QStringLiteral("Marzo"),
                    QStringLiteral("Aprile"),  QStringLiteral("Maggio"),   QStringLiteral("Giugno"),
                    QStringLiteral("Luglio"),  QStringLiteral("Agosto"),   QStringLiteral("Settembre"),
                    QStringLiteral("Ottobre"), QStringLiteral("Novembre"), QStringLiteral("Dicembre")};

    p.massimizzato = PersonalParam(menu, kTutti, QStringLiteral("Massimizzato"), QString());
    if (!p.massimizzato.endsWith(QLatin1Char(',')))
        p.massimizzato += QLatin1Char(',');
    p.windowState = MaximisedWindowState(p.massimizzato, programKey);

    p.arrotIvaEuro = PersonalParam(menu, kTutti, QStringLiteral("ArrotIvaEuro"), QStringLiteral("A"));
    p.tastierinoVirgola = PersonalParam(menu, kTutti, QStringLiteral("TastierinoVirgola"), QString());
    p.decodHelpAbil = PersonalParam(menu, kTutti, QStringLiteral("DecodHelpAbil"), QStringLiteral("N"));
    p.decodHelpPersKey =
        PersonalParam(menu, kTutti, QStringLiteral("DecodHelpPersKey"), QStringLiteral("N"))
        == QStringLiteral("S");

    // The company file is an SQLite database: its auxiliary data-access object is the
    // database component's own (no second connection, so no credentials are needed).
    p.companyDao = &db.DbDaoGet();

    p.dateFormat = ini.value(QStringLiteral("Configurazioni"), QStringLiteral("FormatData"),
                             QStringLiteral("dd/mm/yyyy"));

    params = std::move(p);
}

} // namespace kem

#include "bomcore/pricelookup.h"

#include "common/discount.h"
#include "common/funvarie.h"
#include "bomcore/fieldtext.h"
#include "platform/util/kemutil.h"

#include <QMetaType>

namespace kem {

namespace {

// The sub-level code of an article without sub-levels.
const QString kNoLevel = QStringLiteral("~ç~");

// The yearly cost columns: average, last, standard, each in the current currency and in lire.
const std::array<QString, 6> kCostColumns = {
    QStringLiteral("MedioPonderale"), QStringLiteral("MedioPonderaleLire"),
    QStringLiteral("CostoUltimo"),    QStringLiteral("CostoUltimoLire"),
    QStringLiteral("Standard"),       QStringLiteral("StandardLire"),
};

QString costSql(qint16 year, const QString *article)
{
    QString sql = "Select * from ArticoliCosti" + QString(" Where anno = ") + SqlLiteral(year, VarKind::Int16);
    if (article)
        sql += " AND Articolo = " + SqlLiteral(*article, VarKind::Text);
    return sql + " AND Livello1 = " + SqlLiteral(kNoLevel, VarKind::Text) + " AND Livello2 = "
        + SqlLiteral(kNoLevel, VarKind::Text);
}

bool sameCode(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

} // namespace

QString FlagText(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return {};
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("S") : QStringLiteral("N");
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return value.toDouble() != 0 ? QStringLiteral("S") : QStringLiteral("N");
    default:
        break;
    }
    return FlagText(value.toString());
}

QString FlagText(const QString &text)
{
    // The usual flags ("S", "N", none) are already what the comparisons want.
    if (text.isEmpty())
        return text;
    if (text.size() == 1) {
        const QChar c = text.front();
        if (c != QLatin1Char('1') && c != QLatin1Char('0') && !c.isSpace())
            return text;
    }
    const QString t = text.trimmed();
    // A Boolean column read back as text.
    if (t == QLatin1String("1") || t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("S");
    if (t == QLatin1String("0") || t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("N");
    return t;
}

bool FlagIsS(const QString &flag) { return sameCode(flag, QStringLiteral("S")); }

QString MoneyText(double value, int decimals)
{
    const double rounded = RoundNum(value, QStringLiteral("A"), 1, decimals);
    auto build = [decimals] { return NumFormat(decimals, QChar(), QStringLiteral("#,##0"), QChar('0')); };
    // The format of each usual number of decimals is built once.
    thread_local std::array<QString, 16> formats;
    if (decimals < 0 || decimals >= int(formats.size()))
        return FormatNum(rounded, build());
    QString &format = formats[size_t(decimals)];
    if (format.isNull())
        format = build();
    return FormatNum(rounded, format);
}

PriceLookup::PriceLookup(Database &db, const CompanyParams &params, MessageSink &sink)
    : db_(db), params_(params), sink_(sink)
{
}

QString PriceLookup::CercaListinoDett(const QString &psQualeImporto, const QString &psCausDest,
                                      const QString &psCausProv, const QString &psUnitaDa,
                                      const QString &psUnitaA, qint16 piAnno,
                                      const QString &psArticolo, const QString &psListino,
                                      const QString &psListIvato, bool &pbPrzIvato,
                                      const QDate &psDataReg, const QString &psMoneta,
                                      qint16 piNumDecMonGes, double pdFatConv, const QString &psUM,
                                      const QString &psSconto)
{
    Q_UNUSED(psCausDest)
    Q_UNUSED(psCausProv)
    Q_UNUSED(psUnitaDa)
    Q_UNUSED(psUnitaA)
    Q_UNUSED(psUM)
    pbPrzIvato = false;
    try {
        const QString method = psQualeImporto.trimmed().toUpper();
        if (method == QLatin1String("M") || method == QLatin1String("U") || method == QLatin1String("S"))
            return yearlyCost(method, piAnno, psArticolo, psMoneta, piNumDecMonGes, pdFatConv);
        return listPrice(psArticolo, psListino, psListIvato, pbPrzIvato, psDataReg, psMoneta,
                         piNumDecMonGes, psSconto);
    } catch (const std::exception &e) {
        pbPrzIvato = false;
        const ErrorInfo info = ErrorInfoFrom(e);
        sink_.MsgErrfrm(info.number, info.description);
    }
    return {};
}

QString PriceLookup::yearlyCost(const QString &method, qint16 year, const QString &article,
                                const QString &currency, int decimals, double factor)
{
    const bool lira = params_.isLira(currency);
    if (!lira && !sameCode(currency, params_.codEuro))
        return {};
    const int index = (method == QLatin1String("M") ? 0 : method == QLatin1String("U") ? 2 : 4) + (lira ? 1 : 0);
    if (costsYear_ != 0 && costsYear_ == year) {
        const auto found = costs_.constFind(CodeKey(article));
        if (found == costs_.constEnd())
            return {};
        return MoneyText(found->at(index) * factor, decimals);
    }
    RsGuard rs(rs_, rs_.RsOpen(db_, costSql(year, &article)));
    if (rs_.RsIsEmpty(rs.handle()))
        return {};
    rs_.RsMoveFirst(rs.handle());
    const double cost = rs_.RsField(rs.handle(), kCostColumns[index]).toDouble();
    return MoneyText(cost * factor, decimals);
}

namespace {

QString pairKey(const QString &article, const QString &list)
{
    return CodeKey(article) + QChar(0x1f) + CodeKey(list);
}

QString promotionSql(const QDate &date, const QString *article, const QString *list)
{
    const QString dateLit = SqlLiteral(date, VarKind::Date);
    const QString levelLit = SqlLiteral(kNoLevel, VarKind::Text);
    if (article && list) {
        return "Select top 1 * from ArtLisPromozioni" + QString(" Where Articolo = ")
            + SqlLiteral(*article, VarKind::Text) + " AND Listino = " + SqlLiteral(*list, VarKind::Text)
            + " AND Livello1 = " + levelLit + " AND Livello2 = " + levelLit
            + " AND DataInizioProm <= " + dateLit + " AND DataFineProm >= " + dateLit
            + " ORDER BY DataInizioProm Desc";
    }
    // Every article and list: the first row of each pair is the one its own query finds.
    return "Select * from ArtLisPromozioni Where Livello1 = " + levelLit + " AND Livello2 = " + levelLit
        + " AND DataInizioProm <= " + dateLit + " AND DataFineProm >= " + dateLit
        + " ORDER BY Articolo, Listino, DataInizioProm Desc";
}

QString listSql(const QDate &date, const QString *article, const QString *list)
{
    const QString dateLit = SqlLiteral(date, VarKind::Date);
    const QString levelLit = SqlLiteral(kNoLevel, VarKind::Text);
    if (article && list) {
        return "Select top 1 ArtListini.*, Listini.ScoSomSost, Listini.Sconto from ArtListini LEFT JOIN Listini"
            + QString(" ON ArtListini.Listino = Listini.Listino") + " Where Articolo = "
            + SqlLiteral(*article, VarKind::Text) + " AND ArtListini.Listino = "
            + SqlLiteral(*list, VarKind::Text) + " AND Livello1 = " + levelLit + " AND Livello2 = "
            + levelLit + " AND DataInizio <= " + dateLit + " ORDER BY DataInizio Desc";
    }
    return "Select ArtListini.*, Listini.ScoSomSost, Listini.Sconto from ArtListini LEFT JOIN Listini"
           " ON ArtListini.Listino = Listini.Listino Where Livello1 = " + levelLit
        + " AND Livello2 = " + levelLit + " AND DataInizio <= " + dateLit
        + " ORDER BY ArtListini.Articolo, ArtListini.Listino, DataInizio Desc";
}

} // namespace

void PriceLookup::preload(qint16 year, const QDate &date)
{
    forgetPreloaded();
    QHash<QString, CostRow> costs;
    QHash<QString, PromoRow> promotions;
    QHash<QString, ListRow> lists;
    {
        RsGuard rs(rs_, rs_.RsOpen(db_, costSql(year, nullptr)));
        if (!rs_.RsIsEmpty(rs.handle())) {
            for (rs_.RsMoveFirst(rs.handle()); !rs_.RsEof(rs.handle()); rs_.RsMoveNext(rs.handle())) {
                CostRow row;
                for (size_t i = 0; i < kCostColumns.size(); ++i)
                    row[i] = rs_.RsField(rs.handle(), kCostColumns[i]).toDouble();
                costs.insert(CodeKey(FieldText(rs_.RsField(rs.handle(), QStringLiteral("Articolo")))), row);
            }
        }
    }
    {
        RsGuard rs(rs_, rs_.RsOpen(db_, promotionSql(date, nullptr, nullptr)));
        if (!rs_.RsIsEmpty(rs.handle())) {
            for (rs_.RsMoveFirst(rs.handle()); !rs_.RsEof(rs.handle()); rs_.RsMoveNext(rs.handle())) {
                const QString key = pairKey(FieldText(rs_.RsField(rs.handle(), QStringLiteral("Articolo"))),
                                            FieldText(rs_.RsField(rs.handle(), QStringLiteral("Listino"))));
                if (!promotions.contains(key))
                    promotions.insert(key, readPromo(rs_, rs.handle()));
            }
        }
    }
    {
        RsGuard rs(rs_, rs_.RsOpen(db_, listSql(date, nullptr, nullptr)));
        if (!rs_.RsIsEmpty(rs.handle())) {
            for (rs_.RsMoveFirst(rs.handle()); !rs_.RsEof(rs.handle()); rs_.RsMoveNext(rs.handle())) {
                const QString key =
                    pairKey(FieldText(rs_.RsField(rs.handle(), QStringLiteral("ArtListini.Articolo"))),
                            FieldText(rs_.RsField(rs.handle(), QStringLiteral("ArtListini.Listino"))));
                if (!lists.contains(key))
                    lists.insert(key, readList(rs_, rs.handle()));
            }
        }
    }
    costs_ = std::move(costs);
    promotions_ = std::move(promotions);
    lists_ = std::move(lists);
    costsYear_ = year;
    pricesDate_ = date;
}

void PriceLookup::forgetPreloaded()
{
    costs_.clear();
    promotions_.clear();
    lists_.clear();
    costsYear_ = 0;
    pricesDate_ = QDate();
}

PriceLookup::PromoRow PriceLookup::readPromo(ResultSets &rs, const QString &h)
{
    PromoRow row;
    row.prezzo = rs.RsField(h, QStringLiteral("Prezzo")).toDouble();
    row.prezzoLire = rs.RsField(h, QStringLiteral("PrezzoLire")).toDouble();
    row.messProm = FieldText(rs.RsField(h, QStringLiteral("MessProm")));
    row.descrizione = FieldText(rs.RsField(h, QStringLiteral("Descrizione")));
    return row;
}

PriceLookup::ListRow PriceLookup::readList(ResultSets &rs, const QString &h)
{
    ListRow row;
    row.prezzo = rs.RsField(h, QStringLiteral("Prezzo")).toDouble();
    row.prezzoLire = rs.RsField(h, QStringLiteral("PrezzoLire")).toDouble();
    row.rule = FieldText(rs.RsField(h, QStringLiteral("ArtListini.ScoSomSost")));
    row.discount = FieldText(rs.RsField(h, QStringLiteral("ArtListini.Sconto")));
    row.listRule = FieldText(rs.RsField(h, QStringLiteral("Listini.ScoSomSost")));
    row.listDiscount = FieldText(rs.RsField(h, QStringLiteral("Listini.Sconto")));
    return row;
}

std::optional<PriceLookup::PromoRow> PriceLookup::promotion(const QString &article,
                                                            const QString &list, const QDate &date)
{
    if (pricesDate_.isValid() && pricesDate_ == date) {
        const auto found = promotions_.constFind(pairKey(article, list));
        if (found == promotions_.constEnd())
            return std::nullopt;
        return *found;
    }
    RsGuard rs(rs_, rs_.RsOpen(db_, promotionSql(date, &article, &list)));
    if (rs_.RsIsEmpty(rs.handle()))
        return std::nullopt;
    rs_.RsMoveFirst(rs.handle());
    return readPromo(rs_, rs.handle());
}

std::optional<PriceLookup::ListRow> PriceLookup::listRow(const QString &article,
                                                         const QString &list, const QDate &date)
{
    if (pricesDate_.isValid() && pricesDate_ == date) {
        const auto found = lists_.constFind(pairKey(article, list));
        if (found == lists_.constEnd())
            return std::nullopt;
        return *found;
    }
    RsGuard rs(rs_, rs_.RsOpen(db_, listSql(date, &article, &list)));
    if (rs_.RsIsEmpty(rs.handle()))
        return std::nullopt;
    rs_.RsMoveFirst(rs.handle());
    return readList(rs_, rs.handle());
}

QString PriceLookup::listPrice(const QString &article, const QString &list,
                               const QString &listIvato, bool &przIvato, const QDate &date,
                               const QString &currency, int decimals,
                               const QString &articleDiscount)
{
    if (list.trimmed().isEmpty())
        return {};
    const bool lira = params_.isLira(currency);

    if (const std::optional<PromoRow> promo = promotion(article, list, date)) {
        if (FlagIsS(promo->messProm)) {
            sink_.msgCom("Articolo con prezzo in promozione: " + QString("\r\n") + promo->descrizione,
                         {QStringLiteral("&Ok")});
        }
        const double price = TextToNum(MoneyText(lira ? promo->prezzoLire : promo->prezzo, decimals));
        przIvato = FlagIsS(listIvato);
        return MoneyText(price, decimals);
    }

    const std::optional<ListRow> row = listRow(article, list, date);
    if (!row)
        return {};
    double price = TextToNum(MoneyText(lira ? row->prezzoLire : row->prezzo, decimals));

    QString rule = row->rule.trimmed();
    if (sameCode(rule, QStringLiteral("L")))
        rule = row->listRule.trimmed();
    QString discount = row->discount;
    if (IsBlank(discount, VarKind::Text))
        discount = row->listDiscount;
    if (sameCode(rule, QStringLiteral("M")))
        discount = DiscountChain({discount, articleDiscount});
    if (!IsBlank(discount, VarKind::Text)) {
        bool invalid = false;
        const double pct = DiscountPercent(discount, 0, kNoRounding, &invalid);
        if (invalid) {
            // The price stays undiscounted, but never silently.
            sink_.msgCom("Sconto non valido \"" + discount + "\" per l'articolo " + article
                             + " nel listino " + list + ": prezzo non scontato",
                         {QStringLiteral("&Ok")});
        }
        price = RoundNum(price - price * pct / 100.0, QStringLiteral("A"), 1, decimals);
    }
    przIvato = FlagIsS(listIvato);
    return MoneyText(price, decimals);
}

} // namespace kem

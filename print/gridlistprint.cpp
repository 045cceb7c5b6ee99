#include "print/gridlistprint.h"

#include "print/aziendautilstampe.h"

#include <QAbstractItemModel>

namespace kem {

namespace {
const QString kLabStyle = QStringLiteral("ListaLab");
const QString kCellStyle = QStringLiteral("ListaCampo");
constexpr int kMaxSample = 60;  // characters a column is sized for at most

bool isNumber(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}
} // namespace

GridListPrint::GridListPrint(AziendaUtilStampe &util) : m_util(util)
{
    m_report.OwnerSet(this);
}

GridListPrint::~GridListPrint()
{
    m_report.OwnerSet(nullptr);
}

void GridListPrint::oiStaAttLet(qint16 value)
{
    m_util.oiStaAtt = value;
}

bool GridListPrint::AvviaStampa(const QString &type, int orientation, const QAbstractItemModel &model,
                                const QList<bool> &visible, const PrintFont &font, const QString &title,
                                QString *error)
{
    const QString t = type.trimmed().toUpper();
    if (t != QLatin1String("T") && t != QLatin1String("V")) {
        *error = QStringLiteral("Scegliere un tipo di stampa");
        return false;
    }
    if (orientation != Vertical && orientation != Horizontal) {
        *error = QStringLiteral("Scegliere un' orientamento");
        return false;
    }
    QList<int> columns;
    for (int c = 0; c < model.columnCount(); ++c)
        if (t == QLatin1String("T") || visible.value(c, true))
            columns.append(c);
    if (columns.isEmpty()) {
        *error = QStringLiteral("Nessuna colonna da stampare");
        return false;
    }

    PrintReport &r = m_report;
    r.StopSet(0);
    const auto options = r.OptionsGet();
    m_util.IniParamStampa(options ? options->SectionKey : QString(), r);
    r.LandscapeLet(orientation == Horizontal);
    r.TitleSet(title);
    bool cancelled = false;
    m_util.oiStaAtt = 1;
    if (!r.JobStart(1, &cancelled) || cancelled) {
        m_util.oiStaAtt = 0;
        *error = r.LastErrorGet();
        return false;
    }
    PrintFont working;
    m_util.StileTesta(r, working);
    m_util.StileCorpo(r, working);
    PrintFont bold = font;
    bold.Bold = true;
    r.FontAdd(kCellStyle, font);
    r.FontAdd(kLabStyle, bold);
    r.DocBegin();

    // Columns sized for the longest of heading and values (up to kMaxSample characters).
    r.StyleSelect(kCellStyle);
    r.ColumnsClear();
    QList<int> ids;
    for (int i = 0; i < columns.size(); ++i) {
        const int c = columns[i];
        QString sample = model.headerData(c, Qt::Horizontal).toString();
        bool numeric = true;
        for (int row = 0; row < model.rowCount(); ++row) {
            const QVariant v = model.data(model.index(row, c));
            numeric = numeric && (isNumber(v) || !v.isValid());
            const QString s = v.toString();
            if (s.size() > sample.size())
                sample = s;
        }
        sample = sample.left(kMaxSample) + QStringLiteral("M");
        r.AlignSet(numeric && model.rowCount() > 0 ? QStringLiteral("D") : QStringLiteral("S"));
        ids.append(r.ColumnAdd(sample, qint16(sample.size()), i == 0 ? QStringLiteral("P") : QString()));
    }
    auto headings = [&] {
        PageHeaderArgs header;
        header.title = title;
        m_util.Intestazione(r, header);
        r.StyleSelect(kLabStyle);
        for (int i = 0; i < columns.size(); ++i) {
            r.AlignSet(QString(r.ColumnGet(ids[i])->align));
            r.CellPrint(ids[i], model.headerData(columns[i], Qt::Horizontal).toString(), true, true);
        }
        r.LineEnd();
        r.RulePrint(2, 2, 2);
        r.StyleSelect(kCellStyle);
    };
    headings();
    for (int row = 0; row < model.rowCount() && !r.StopGet(); ++row) {
        bool brk = false;
        r.RoomCheck(1, nullptr, nullptr, &brk);
        if (brk) {
            r.PageNew();
            r.VertPosLet(r.MarginTopGet());
            if (!r.SkipGet())
                headings();
        }
        for (int i = 0; i < columns.size(); ++i) {
            r.AlignSet(QString(r.ColumnGet(ids[i])->align));
            const QVariant v = model.data(model.index(row, columns[i]));
            r.CellPrint(ids[i], v.isValid() ? v : QVariant(QString()), true, true);
        }
        r.LineEnd();
    }
    const bool ok = r.DocEnd();
    if (!ok)
        *error = r.LastErrorGet();
    return ok;
}

} // namespace kem

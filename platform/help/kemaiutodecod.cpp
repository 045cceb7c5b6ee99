#include "platform/help/kemaiutodecod.h"

#include "platform/util/kemutil.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScopeGuard>
#include <utility>

namespace kem {

namespace {
// Rows the lookup window shows at most; typing narrows them.
constexpr int kMaxLookupRows = 500;
} // namespace

bool ComLin::ovLeggiPar(const QString &name, const QVariant &value)
{
    const QString n = name.toLower();
    if (n == QLatin1String("forzapassthrough"))
        forzaPassThrough = value.toBool();
    else if (n == QLatin1String("margsopra"))
        margSopra = value.toInt();
    else if (n == QLatin1String("margsotto"))
        margSotto = value.toInt();
    else if (n == QLatin1String("margsin"))
        margSin = value.toInt();
    else if (n == QLatin1String("margdestra"))
        margDestra = value.toInt();
    else
        return false;
    return true;
}

KemAiutoDecod::KemAiutoDecod(Database &db, QObject *parent) : QObject(parent), decoder_(db) {}

void KemAiutoDecod::ovLeggiPar(const QString &name, const QVariant &value)
{
    params_.insert(name.toLower(), value);
}

QVariant KemAiutoDecod::ovPar(const QString &name) const
{
    return params_.value(name.toLower());
}

QString KemAiutoDecod::textPar(const QString &name) const
{
    return ovPar(name).toString();
}

bool KemAiutoDecod::AcceptsKeyCode(int keyCode)
{
    return keyCode < 0 || (keyCode >= 113 && keyCode <= 123);
}

LookupImageOptions KemAiutoDecod::imageOptions(const DecodeKind &kind) const
{
    LookupImageOptions o;
    o.show = !kind.imageColumn.isEmpty() &&
             textPar(QStringLiteral("Immagini")).compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
    if (!o.show)
        return o;
    o.directory = textPar(QStringLiteral("DirImmagini"));
    o.where = textPar(QStringLiteral("ImgDove")).trimmed();
    if (o.where.isEmpty())
        o.where = QStringLiteral("D");
    const bool vertical = o.where.compare(QLatin1String("A"), Qt::CaseInsensitive) == 0 ||
                          o.where.compare(QLatin1String("B"), Qt::CaseInsensitive) == 0;
    bool ok = false;
    double twips = TextToNum(textPar(QStringLiteral("ImgSpazio")), &ok);
    if (!ok || twips <= 0)
        twips = vertical ? 2000 : 5000;
    // Twips to pixels (15 twips a pixel at 96 dpi); at most half the screen.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize s = screen ? screen->size() : QSize(800, 600);
    o.spacePixels = int(qMin(twips / 15.0, (vertical ? s.height() : s.width()) / 2.0));
    o.ratio = TextToNum(textPar(QStringLiteral("ImgRapVertOriz")));
    o.realSize = textPar(QStringLiteral("ImgDimReali")).compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
    return o;
}

LookupResult KemAiutoDecod::Lookup(const QString &kind, QLineEdit *box, QLabel *label, int keyCode,
                                   const QString &where, const QStringList &extraColumns)
{
    const auto dropParams = qScopeGuard([this] { params_.clear(); });
    LookupResult result;
    if (!AcceptsKeyCode(keyCode)) {
        result.outcome = LookupOutcome::NotOpened;
        return result;
    }
    const DecodeKind &k = DecodeKindOf(kind);
    QStringList columns = ParseColumnList(textPar(QStringLiteral("Campi")));
    columns += ParseColumnList(extraColumns.join(QLatin1Char(',')));
    // The first query runs here, so a bad statement fails before the window opens.
    const QString typed = box ? box->text() : QString();
    QList<LookupRow> first = decoder_.Rows(k.name, where, columns, typed, kMaxLookupRows);

    FrmAiutoLookup window(parentWindow_ ? parentWindow_ : (box ? box->window() : nullptr));
    window.setWindowTitle(QStringLiteral("Aiuto - ") + k.name);
    window.setFilterText(typed);
    window.setRowSource(
        [&, first = std::move(first), typed](const QString &filter) mutable {
            if (filter == typed && !first.isEmpty())
                return std::exchange(first, {});
            return decoder_.Rows(k.name, where, columns, filter, kMaxLookupRows);
        },
        kMaxLookupRows, columns);
    window.setImageOptions(imageOptions(k));
    window.setRowColour(colBackOk_);
    // Margins are in twips (15 a pixel); none given keeps the window's own margins.
    if (comlin_.margSin || comlin_.margSopra || comlin_.margDestra || comlin_.margSotto)
        window.setListMargins(comlin_.margSin / 15, comlin_.margSopra / 15, comlin_.margDestra / 15,
                              comlin_.margSotto / 15);
    window_ = &window;
    const auto forget = qScopeGuard([this] { window_ = nullptr; });
    emit lookupShown(&window);
    if (window.exec() != QDialog::Accepted) {
        result.outcome = LookupOutcome::Cancelled;
        return result;
    }
    result.outcome = LookupOutcome::Found;
    result.code = window.chosenCode();
    result.description = window.chosenDescription();
    if (box)
        box->setText(result.code);
    if (label)
        label->setText(result.description);
    return result;
}

LookupResult KemAiutoDecod::Decode(const QString &kind, QLineEdit *box, QLabel *label, const QString &where)
{
    const auto dropParams = qScopeGuard([this] { params_.clear(); });
    const bool retZeroRec = ovPar(QStringLiteral("RetZeroRec")).toBool();
    LookupResult result;
    const QString code = box ? box->text().trimmed() : QString();
    const DecodeKind &k = DecodeKindOf(kind);
    if (code.isEmpty()) {
        if (label)
            label->clear();
        return result;
    }
    const DecodedCode d = decoder_.Decode(k.name, code, where);
    if (!d.found) {
        if (!retZeroRec)
            throw DecodeError(QStringLiteral("Codice inesistente: ") + code);
        return result;
    }
    result.outcome = LookupOutcome::Found;
    result.code = d.code;
    result.description = d.description;
    result.image = d.image;
    if (box && box->text() != d.code)
        box->setText(d.code);
    if (label)
        label->setText(d.description);
    return result;
}

} // namespace kem

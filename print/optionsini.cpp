#include "print/optionsini.h"

#include "print/pdfemail.h"

#include "common/messages.h"
#include "print/defaultprinter.h"
#include "platform/util/kemutil.h"
#include "platform/menu/menuserver.h"
#include "print/printersessions.h"
#include "platform/os/printersystem.h"
#include "platform/printlib/printoptions.h"

#include <cmath>
#include <functional>

namespace kem {

namespace {

const QString kCommon = QStringLiteral("Opzioni Stampa");
const QString kOk = QStringLiteral("&Ok");

// Path: a text that names a folder or file, kept relative to the folder of its ini file.
enum class Kind { Int16, Int32, Single, Bool, Text, Path };

// One stored option: its key, kind, allowed range for numbers, and how it is read from and
// written to the record.
struct OptionKey {
    const char *key;
    Kind kind;
    double min, max;
    std::function<QVariant(const PrintOptions &)> get;
    std::function<void(PrintOptions &, const QVariant &)> set;
};

template <typename T>
OptionKey field(const char *key, Kind kind, T PrintOptions::*member, double min = -2147483648.0, double max = 2147483647.0)
{
    return OptionKey{key, kind, min, max,
                     [member](const PrintOptions &o) { return QVariant::fromValue(o.*member); },
                     [member](PrintOptions &o, const QVariant &v) { o.*member = v.value<T>(); }};
}

OptionKey param(const char *key, const char *name, Kind kind)
{
    const QString n = QString::fromLatin1(name);
    const int type = kind == Kind::Bool ? PrintOptions::ParamAny : PrintOptions::ParamInteger;
    return OptionKey{key, kind, -2147483648.0, 2147483647.0,
                     [n, kind](const PrintOptions &o) {
                         return kind == Kind::Bool ? QVariant(o.ParamGet(n).toBool()) : QVariant(o.ParamInt(n));
                     },
                     [n, type](PrintOptions &o, const QVariant &v) { o.ParamSet(n, type, v); }};
}

const QList<OptionKey> &optionKeys()
{
    using O = PrintOptions;
    static const QList<OptionKey> keys = {
        field("StaVid", Kind::Int16, &O::StaVid, 0, 3),
        field("ForzaVert", Kind::Int16, &O::ForzaVert, -32768, 32767),
        field("FileForm", Kind::Int16, &O::FileForm, 0, 3),
        field("FileName", Kind::Text, &O::FileName),
        field("PathDefault", Kind::Path, &O::PathDefault),
        field("SepCampi", Kind::Int32, &O::SepCampi, 0, 3),
        field("DelimStr", Kind::Int32, &O::DelimStr, 0, 2),
        field("NumNoForm", Kind::Bool, &O::NumNoForm),
        field("RadSepCampo", Kind::Bool, &O::RadSepCampo),
        field("Fatt", Kind::Single, &O::Fatt, -3.4e38, 3.4e38),
        field("MemVid", Kind::Int16, &O::MemVid, -32768, 32767),
        field("FisFileName", Kind::Text, &O::FisFileName),
        field("FisStampante", Kind::Bool, &O::FisStampante),
        field("FisMrAlt", Kind::Int16, &O::FisMrAlt, -32768, 32767),
        field("FisMrBas", Kind::Int16, &O::FisMrBas, -32768, 32767),
        field("FisColonne", Kind::Int16, &O::FisColonne, -32768, 32767),
        field("FisRighe", Kind::Int16, &O::FisRighe, -32768, 32767),
        field("FisCodIniComp", Kind::Text, &O::FisCodIniComp),
        field("FisCodFinComp", Kind::Text, &O::FisCodFinComp),
        field("FisUtilComp", Kind::Bool, &O::FisUtilComp),
        field("NomeStampante", Kind::Text, &O::NomeStampante),
        field("NomePorta", Kind::Text, &O::NomePorta),
        param("Cassetto", "NumCassetto", Kind::Int16),
        param("TipoCarta", "NumTipoCarta", Kind::Int16),
        param("PdfNomeAutom", "PdfAutomAbil", Kind::Bool),
        param("InviaEmail", "EmailInvia", Kind::Bool),
    };
    return keys;
}

// Converts an ini text to the key's kind; false when it cannot be.
bool convert(const OptionKey &k, const QString &text, QVariant *out)
{
    switch (k.kind) {
    case Kind::Text:
    case Kind::Path:
        *out = text.trimmed();
        return true;
    case Kind::Bool:
        *out = IniBool(text);
        return true;
    case Kind::Single: {
        bool ok = false;
        const double v = TextToNum(text, &ok);
        if (!ok || !std::isfinite(v) || v < k.min || v > k.max)
            return false;
        *out = float(v);
        return true;
    }
    case Kind::Int16:
    case Kind::Int32: {
        bool ok = false;
        const qint32 v = TextToInt(text, &ok);
        if (!ok || v < k.min || v > k.max)
            return false;
        *out = int(v);
        return true;
    }
    }
    return false;
}

bool excluded(const QString &exclusions, const QString &key)
{
    for (const QString &e : exclusions.split(QLatin1Char(',')))
        if (e.trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QStringList printerNames(const PrintEnv &env)
{
    QStringList names;
    if (env.printers)
        for (const SystemPrinter &p : env.printers->Printers())
            names.append(p.name);
    return names;
}

PrinterSessions sessionsOf(const PrintEnv &env)
{
    return PrinterSessions(env.ini(QStringLiteral("Stampanti"), QStringLiteral("TermSessAggNome")), env.terminalSession);
}

void tell(const PrintEnv &env, const QString &text, const QString &caption = {})
{
    if (env.sink)
        env.sink->msgCom(text, {kOk}, 1, caption);
}

bool IsPathKey(const QString &key)
{
    for (const OptionKey &k : optionKeys())
        if (k.kind == Kind::Path && key.compare(QString::fromLatin1(k.key), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

QStringList PrintOptionKeys()
{
    QStringList out;
    for (const OptionKey &k : optionKeys())
        out.append(QString::fromLatin1(k.key));
    return out;
}

bool IniBool(const QString &text)
{
    bool ok = false;
    const double v = TextToNum(text, &ok);
    if (ok && !text.trimmed().isEmpty())
        return v != 0;
    return text.trimmed().toUpper() == QLatin1String("S");
}

QString PrintOptionsIni::MenuCaptionStatement(const QString &programKey, const QString &osKeySec)
{
    return QStringLiteral("SELECT * From MenuDett") + QStringLiteral(" WHERE Chiave=")
        + SqlLiteral(programKey, VarKind::Text) + QStringLiteral(" AND ChiaveSec=")
        + SqlLiteral(osKeySec, VarKind::Text);
}

void PrintOptionsIni::LoadMenuCaption(PrintOptions &o, const QString &osKeySec) const
{
    QString caption, desc;
    bool hasRow = false;
    if (m_env.menu) {
        try {
            const QVariant answer = m_env.menu->MenuCall(
                GetParamDbMenuRequest(MenuCaptionStatement(m_env.programKey, osKeySec), QStringLiteral("Caption,DescPrg")),
                QStringLiteral("Tutti"));
            const QStringList row = answer.toStringList();
            if (!row.isEmpty()) {
                hasRow = true;
                caption = row.value(0);
                desc = row.value(1);
            }
        } catch (const MenuError &e) {
            if (m_env.sink)
                m_env.sink->MsgErrfrm(QString::number(e.number()), e.description(), QStringLiteral("(IniOpzSta) "));
        }
    }
    o.ParamSet(QStringLiteral("StampaCaption"), PrintOptions::ParamAny, caption);
    if (!hasRow || !desc.isEmpty())
        o.ParamSet(QStringLiteral("StampaDescPrg"), PrintOptions::ParamAny, desc);
}

void PrintOptionsIni::Load(PrintOptions &o, const LoadOptionsArgs &args) const
{
    const PrinterSessions sessions = sessionsOf(m_env);
    const QString def = DefaultPrinter(m_env).Current();
    if (!def.isEmpty() && sessions.BelongsToOther(def))
        tell(m_env, QStringLiteral("La stampante (") + def + QStringLiteral(") predefinita appartiene ad un'altra sessione\r\n"
                                                                       "Scegliere una stampante o cambiare la stampante predefinita"));

    const QString section = (args.section.isEmpty() ? m_env.programKey + args.osKeySec : args.section) + args.suffix;
    o.SectionKey = section;
    LoadMenuCaption(o, args.osKeySec);

    for (const OptionKey &k : optionKeys()) {
        const QString key = QString::fromLatin1(k.key);
        auto read = [&](const QString &s) {
            return k.kind == Kind::Path ? m_env.iniPath(s, key) : m_env.ini(s, key);
        };
        QString text = read(section);
        if (text.isEmpty() && !excluded(args.exclusions, key))
            text = read(kCommon);
        if (text.isEmpty() && key == QLatin1String("PdfNomeAutom"))
            text = args.pdfAutomDefault.trimmed();
        if (text.isEmpty())
            continue;
        QVariant v;
        if (!convert(k, text, &v)) {
            tell(m_env, QStringLiteral("(IniOpzSta) Problemi nei parametri \r\nnel file di inizializzazione. \r\nUso i valori di default"),
                 QStringLiteral("Errore file ini"));
            break;
        }
        k.set(o, v);
    }
    const QStringList printers = printerNames(m_env);
    o.NomeStampante = sessions.MapToThis(o.NomeStampante, printers);

    if (o.ParamGet(QStringLiteral("PdfAutomAbil")).toBool()) {
        const QString pdfPrinter = m_env.menu ? PdfPrinter(*m_env.menu) : QString();
        if (!pdfPrinter.isEmpty()) {
            o.NomeStampante = pdfPrinter;
            SystemPrinter p;
            o.NomePorta = m_env.printers && m_env.printers->Find(pdfPrinter, &p) ? p.port : QString();
        }
    }
    o.EmailRunClear();
    if (o.StaVid == PrintOptions::Printer)
        CheckPrinter(o);
    if (m_env.previewScale > 0)
        o.Fatt = float(o.Fatt * m_env.previewScale);
}

bool PrintOptionsIni::CheckPrinter(const PrintOptions &o) const
{
    const QString printer = o.NomeStampante.isEmpty() ? DefaultPrinter(m_env).Current() : o.NomeStampante;
    if (printer.isEmpty()) {
        tell(m_env, QStringLiteral("Stampante di default non disponibile\r\n"
                                   "Andare in selezione stampanti per scegliere una o impostare la stampante di default da windows"));
        return false;
    }
    if (sessionsOf(m_env).BelongsToOther(printer)) {
        tell(m_env, QStringLiteral("Stampante di default di altra sessione (") + printer
                        + QStringLiteral(")\r\nAndare in selezione stampanti per scegliere quella del computer in uso"));
        return false;
    }
    return true;
}

int PrintOptionsIni::QuickPreview(ReportFormHooks &form, PrintOptions &o, bool restore)
{
    const int previous = o.StaVid;
    o.PreviewFlag = true;
    o.StaVid = PrintOptions::Preview;
    form.VisStaAttuale();
    form.ComStampa_Click();
    if (restore) {
        o.StaVid = previous;
        form.VisStaAttuale();
    }
    return previous;
}

QString PrintOptionsIni::StoredValue(const PrintOptions &o, const QString &key) const
{
    for (const OptionKey &k : optionKeys()) {
        if (key.compare(QString::fromLatin1(k.key), Qt::CaseInsensitive) != 0)
            continue;
        const QVariant v = k.get(o);
        switch (k.kind) {
        case Kind::Bool:
            return v.toBool() ? QStringLiteral("-1") : QStringLiteral("0");
        case Kind::Single: {
            double f = v.toDouble();
            if (m_env.previewScale > 0)
                f /= m_env.previewScale;
            return NumText(double(float(f)));
        }
        case Kind::Int16:
        case Kind::Int32:
            return QString::number(v.toInt());
        case Kind::Text:
        case Kind::Path:
            return v.toString();
        }
    }
    return {};
}

bool PrintOptionsIni::Save(const PrintOptions &o, const QString &file, const QString &section,
                           const QStringList &keys, QString *error) const
{
    const QStringList all = PrintOptionKeys();
    for (const QString &key : keys) {
        if (!all.contains(key, Qt::CaseInsensitive)) {
            *error = QStringLiteral("Opzione di stampa sconosciuta: %1").arg(key);
            return false;
        }
        QString value = StoredValue(o, key);
        if (IsPathKey(key))
            value = IniPathRelative(value, file);
        if (!IniWrite(file, section, key, value, error))
            return false;
    }
    return true;
}

bool PrintOptionsIni::Remove(const QString &file, const QString &section, const QStringList &keys,
                             QString *error) const
{
    const QStringList all = PrintOptionKeys();
    bool every = true;
    for (const QString &k : all)
        every = every && keys.contains(k, Qt::CaseInsensitive);
    if (every)
        return IniWrite(file, section, QString(), QString(), error);
    for (const QString &key : keys) {
        if (!all.contains(key, Qt::CaseInsensitive)) {
            *error = QStringLiteral("Opzione di stampa sconosciuta: %1").arg(key);
            return false;
        }
        if (!IniWrite(file, section, key, QString(), error))
            return false;
    }
    return true;
}

} // namespace kem

#include "print/pagesetup.h"

#include "common/messages.h"
#include "print/defaultprinter.h"
#include "platform/util/kemutil.h"
#include "platform/printlib/printreport.h"
#include "print/reportstyles.h"

#include <cmath>

namespace kem {

namespace {
const QString kCommon = QStringLiteral("Opzioni Stampa");
constexpr std::array<const char *, 9> kSetupKeys = {"MrSin", "MrDes", "MrAlt", "MrBas", "Fatt",
                                                     "Dx", "Dy", "Interl", "ForzaVert"};

std::array<double, 9> asArray(const PageSetupValues &v)
{
    return {v.MrSin, v.MrDes, v.MrAlt, v.MrBas, v.Fatt, v.Dx, v.Dy, v.Interl, double(v.ForzaVert)};
}

PageSetupValues fromArray(const std::array<double, 9> &a)
{
    PageSetupValues v;
    v.MrSin = float(a[0]);
    v.MrDes = float(a[1]);
    v.MrAlt = float(a[2]);
    v.MrBas = float(a[3]);
    v.Fatt = float(a[4]);
    v.Dx = float(a[5]);
    v.Dy = float(a[6]);
    v.Interl = float(a[7]);
    v.ForzaVert = int(std::lround(a[8]));
    return v;
}
} // namespace

const std::array<const char *, PrinterCorrections::kCount> &PrinterCorrections::Keys()
{
    static const std::array<const char *, kCount> keys = {"MrSin", "MrDes", "MrAlt", "MrBas",
                                                          "ModMrSin", "ModMrAlt", "ModColSin", "ModRigheAlt"};
    return keys;
}

bool PageSetup::Read(const QString &reportKey, const PageSetupValues &defaults, PageSetupValues *out) const
{
    const std::array<double, 9> def = asArray(defaults);
    std::array<double, 9> values = def;
    for (size_t i = 0; i < kSetupKeys.size(); ++i) {
        const QString key = QString::fromLatin1(kSetupKeys[i]);
        QString text = m_env.ini(reportKey, key);
        if (text.isEmpty())
            text = m_env.ini(kCommon, key, NumText(def[i]));
        bool ok = false;
        const double v = TextToNum(text, &ok);
        if (!ok || !std::isfinite(v) || std::fabs(v) > 3.4e38 || (i == 8 && std::fabs(v) > 32767)) {
            *out = defaults;
            return false;
        }
        values[i] = i == 8 ? v : double(float(v));
    }
    *out = fromArray(values);
    return true;
}

QString PageSetup::PrinterSection(const PrintReport &report) const
{
    const auto options = report.OptionsGet();
    const QString name = options ? options->NomeStampante.trimmed() : QString();
    return name.isEmpty() ? DefaultPrinter(m_env).Current() : name;
}

void PageSetup::ApplyCorrections(const QString &printer, PrintReport &report)
{
    PrinterCorrections &c = m_state.corrections;
    const auto &keys = PrinterCorrections::Keys();
    for (int i = 0; i < PrinterCorrections::kCount; ++i) {
        double correction = 0;
        if (!printer.isEmpty()) {
            const QString text = m_env.ini(printer, QString::fromLatin1(keys[i]));
            bool ok = false;
            const double v = TextToNum(text, &ok);
            if (!text.isEmpty() && ok && std::isfinite(v))
                correction = i >= 6 ? double(std::lround(v)) : v;
        }
        const double delta = correction - c.applied[i];
        c.applied[i] = correction;
        switch (i) {
        case 0: report.MarginLeftLet(float(report.MarginLeftGet() + delta)); break;
        case 1: report.MarginRightLet(float(report.MarginRightGet() + delta)); break;
        case 2: report.MarginTopLet(float(report.MarginTopGet() + delta)); break;
        case 3: report.MarginBottomLet(float(report.MarginBottomGet() + delta)); break;
        case 4: c.ModMrSin = float(c.ModMrSin + delta); break;
        case 5: c.ModMrAlt = float(c.ModMrAlt + delta); break;
        case 6: c.ModColSin += int(delta); break;
        case 7: c.ModRigheAlt += int(delta); break;
        }
    }
}

bool PageSetup::Run(const QString &reportKey, PrintReport &report, const std::optional<PageSetupValues> &defaults)
{
    report.ReportKeySet(reportKey);
    m_state.current = &report;
    if (m_env.db)
        RegisterUserFonts(*m_env.db, report);

    const PageSetupValues def = defaults.value_or(PageSetupValues());
    PageSetupValues v;
    const bool ok = Read(reportKey, def, &v);
    if (!ok && m_env.showMessages && m_env.sink)
        m_env.sink->msgCom(QStringLiteral("(IniParamStampa) Problemi nei parametri dei margini\r\n"
                                          "nel file di inizializzazione. \r\nUso i valori di default"),
                           {QStringLiteral("&Ok")}, 1, QStringLiteral("Errore file ini"));
    report.MarginLeftLet(v.MrSin);
    report.MarginRightLet(v.MrDes);
    report.MarginTopLet(v.MrAlt);
    report.MarginBottomLet(v.MrBas);
    report.OffsetXLet(v.Dx);
    report.OffsetYLet(v.Dy);
    report.InterlLet(v.Interl);
    report.ForzaVertLet(v.ForzaVert);
    report.FattLet(m_env.previewScale > 0 ? float(v.Fatt * m_env.previewScale) : v.Fatt);

    // The margins were just read afresh: none of them holds a correction any more.
    for (int i = 0; i < 4; ++i)
        m_state.corrections.applied[i] = 0;
    ApplyCorrections(PrinterSection(report), report);
    return ok;
}

} // namespace kem

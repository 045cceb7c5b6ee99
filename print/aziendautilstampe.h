#pragma once
// The print services of the module, in the order a report run calls them: page setup, header
// styles, body styles, then the page header on every new page (and the item list). Holds the
// program-wide state of the page services: the current print object, the printer corrections
// applied and the pre-printed-form offsets. One instance per program, passed to the reports.
#include "print/optionsini.h"
#include "print/pageheader.h"
#include "print/pagesetup.h"
#include "print/printenv.h"
#include "print/reportstyles.h"

namespace kem {

class PrintFont;
class PrintOptions;
class PrintReport;

class AziendaUtilStampe {
public:
    explicit AziendaUtilStampe(PrintEnv env)
        : m_env(std::move(env)), m_header(m_env), oiStaAtt(m_env.printActive ? *m_env.printActive : m_ownFlag)
    {
    }
    AziendaUtilStampe(const AziendaUtilStampe &) = delete;
    AziendaUtilStampe &operator=(const AziendaUtilStampe &) = delete;

    const PrintEnv &Env() const { return m_env; }
    PrintEnv &Env() { return m_env; }
    PrintLayoutState &State() { return m_state; }

    // Print options of a report form.
    void IniOpzSta(PrintOptions &o, const LoadOptionsArgs &args) { PrintOptionsIni(m_env).Load(o, args); }
    PrintOptionsIni OptionsIni() const { return PrintOptionsIni(m_env); }

    bool IniParamStampa(const QString &reportKey, PrintReport &report,
                        const std::optional<PageSetupValues> &defaults = std::nullopt)
    {
        m_header.Reset();
        return PageSetup(m_env, m_state).Run(reportKey, report, defaults);
    }
    void StileTesta(PrintReport &report, PrintFont &font) const { ReportStyles(m_env).HeaderStyles(report, font); }
    void StileCorpo(PrintReport &report, PrintFont &font) const { ReportStyles(m_env).BodyStyles(report, font); }
    void Intestazione(PrintReport &report, const PageHeaderArgs &args) const { m_header.Draw(report, args); }
    void StampaElenco(PrintReport &report, const QString &text) const { ItemListPrint(report, text); }
    void StampaElenco(PrintReport &report, const QString &text, const QString &style, const QString &align) const
    {
        ItemListPrint(report, text, style, align);
    }

private:
    PrintEnv m_env;
    PrintLayoutState m_state;
    PageHeader m_header;
    int m_ownFlag = 0;

public:
    // Only one run at a time in the program: 1 while a report runs. The program's flag when
    // the environment names one (PrintEnv::printActive), else the services' own.
    int &oiStaAtt;
};

} // namespace kem

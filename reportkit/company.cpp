#include "reportkit/company.h"

#include "common/aziendautil.h"
#include "common/funvarie.h"
#include "platform/util/kemutil.h"

#include <QDir>
#include <QFileInfo>

namespace kem {

CompanySession::CompanySession(MenuConfig config, MessageSink &sink)
    : menu_(std::move(config)), sink_(sink)
{
}

QStringList CompanyFolderWarnings(const MenuConfig &config)
{
    QStringList out;
    const QString db = config.companyDbPath();
    if (!db.isEmpty() && !PathIsInside(db, config.companyDir()))
        out << QStringLiteral("Attenzione: il database dell'azienda %1 non è nella cartella %2")
                   .arg(QDir::toNativeSeparators(db), QDir::toNativeSeparators(config.companyDir()));
    return out;
}

std::unique_ptr<CompanySession> CompanySession::Open(const QString &companyDir, MessageSink &sink,
                                                     QString *error,
                                                     const std::function<void(const QString &)> &warn)
{
    MenuConfig config;
    if (!MenuConfig::Load(companyDir, &config, error))
        return nullptr;
    if (warn)
        for (const QString &w : CompanyFolderWarnings(config))
            warn(w);
    std::unique_ptr<CompanySession> s(new CompanySession(std::move(config), sink));
    s->mainIni_ = s->menu_.config().iniPath();
    QString companyIniName;
    IniRead(s->mainIni_, QStringLiteral("Parametri Generali"), QStringLiteral("OrdIniDBase"), QString(), companyIniName);
    companyIniName = companyIniName.trimmed();
    s->companyIni_ = companyIniName.isEmpty()
        ? QString() : QFileInfo(s->mainIni_).absoluteDir().filePath(companyIniName);

    const QString dbName = CompanyVar(s->menu_, QStringLiteral("NomeDBAzie"));
    const QString password = CompanyVar(s->menu_, QStringLiteral("PwdDbAzie"));
    if (!password.isEmpty())
        s->db_.DbParamSet(QStringLiteral("DbAccPWD"), password);
    s->db_.DbOpen(dbName, false, false, CompanyVar(s->menu_, QStringLiteral("ConnectDBAzie")));
    const IniContext ini{s->mainIni_, s->companyIni_};
    CaricaParametriAzienda(s->menu_, s->db_, 0, ini, QString::fromLatin1(kProgramKey), s->params_);
    return s;
}

CompanyEnv CompanySession::Env()
{
    CompanyEnv env;
    env.mainIni = mainIni_;
    env.companyIni = companyIni_;
    env.programKey = QString::fromLatin1(kProgramKey);
    env.menu = &menu_;
    env.sink = &sink_;
    env.db = &db_;
    env.params = &params_;
    env.printActive = &printActive_;
    return env;
}

} // namespace kem

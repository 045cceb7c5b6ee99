#include "print/pdfemail.h"

#include "common/messages.h"
#include "platform/menu/menuserver.h"
#include "platform/printlib/printoptions.h"
#include "platform/printlib/printreport.h"
#include "print/printenv.h"

#include <QDir>
#include <QFileInfo>

#include <QFile>
#include <QTextStream>

#include <QVariant>

namespace kem {

namespace {



QString MenuText(MenuServer &menu, const QString &name)
{
    try {
        const QString v = menu.MenuVar(name, QString());
        return v == MenuMissingMarker ? QString() : v;
    } catch (const MenuError &) {
        return {};
    }
}


const QStringList kMonths{QStringLiteral("gennaio"), QStringLiteral("febbraio"), QStringLiteral("marzo"),
                          QStringLiteral("aprile"), QStringLiteral("maggio"), QStringLiteral("giugno"),
                          QStringLiteral("luglio"), QStringLiteral("agosto"), QStringLiteral("settembre"),
                          QStringLiteral("ottobre"), QStringLiteral("novembre"), QStringLiteral("dicembre")};

QString Two(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

} // namespace

const QString &PdfEmailSection()
{
    static const QString section = QStringLiteral("PdfEmail");
    return section;
}

QString ReadPdfEmailParam(MenuServer &menu, const QString &key, bool fromCommon, QString *error)
{
    for (const char *file : {"T", "C"}) {
        if (fromCommon && *file == 'T')
            continue;
        try {
            const QString v = menu.MenuCall(QStringLiteral("LeggiIniComuni"), QStringLiteral("Tutti"),
                                            QVariantList{QString::fromLatin1(file), PdfEmailSection(), key})
                                  .toString();
            // An empty value sets nothing: the next file, or the menu, may have one.
            if (v != MenuMissingMarker && !v.isEmpty())
                return v;
        } catch (const MenuError &e) {
            if (error)
                *error = e.description();
            return {};
        }
    }
    return MenuText(menu, key);
}

const QStringList &PdfEmailParams::Keys()
{
    static const QStringList keys{
        QStringLiteral("UsaPdfCreator"), QStringLiteral("UsaPdf995"), QStringLiteral("PdfNomeFile"),
        QStringLiteral("CreatorAutosaveStart"), QStringLiteral("StampeEmail"), QStringLiteral("EmailTo1"),
        QStringLiteral("EmailTo2"), QStringLiteral("EmailTo3"), QStringLiteral("EmailToNum"),
        QStringLiteral("EmailTipoNum"), QStringLiteral("EmailTipoInvio"), QStringLiteral("EmailInd"),
        QStringLiteral("EmailCentro"), QStringLiteral("EmailSMTPtipo"), QStringLiteral("EmailServerSMTP"),
        QStringLiteral("EmailReplay"), QStringLiteral("EmailLogin"), QStringLiteral("EmailPwd"),
        QStringLiteral("EmailNumTesto"), QStringLiteral("EmailPersOggetto"), QStringLiteral("EmailNumPorta"),
        QStringLiteral("EmailUsaSSL"), QStringLiteral("EmailDirStunnel"), QStringLiteral("EmailFileLog"),
        QStringLiteral("EmailFlagNotifica"), QStringLiteral("EmailLogSee"), QStringLiteral("EmailToTemp"),
        QStringLiteral("EmailCertificati")};
    return keys;
}

PdfEmailParams PdfEmailParams::Read(MenuServer &menu)
{
    PdfEmailParams p;
    for (const QString &key : Keys())
        p.set(key, ReadPdfEmailParam(menu, key));
    bool ok = false;
    const int number = p.value(QStringLiteral("EmailNumTesto")).trimmed().toInt(&ok);
    if (ok) {
        try {
            const QStringList row = menu.MenuCall(GetParamDbMenuRequest(
                                                      QStringLiteral("SELECT Oggetto, Testo FROM TestiEmail WHERE Numero = %1").arg(number),
                                                      QStringLiteral("Oggetto,Testo")),
                                                  QStringLiteral("Tutti"))
                                        .toStringList();
            p.set(QStringLiteral("EmailOggetto"), row.value(0));
            p.set(QStringLiteral("EmailTesto"), row.value(1));
        } catch (const MenuError &) {
        }
    }
    return p;
}

void PdfEmailParams::Overlay(const PrintOptions &options)
{
    for (const QString &key : Keys())
        if (options.ParamExists(key))
            set(key, options.ParamGet(key).toString());
}

void PdfEmailParams::StoreIn(PrintOptions &options) const
{
    for (const QString &key : Keys())
        options.ParamSet(key, PrintOptions::ParamAny, value(key));
}

bool PdfEmailParams::flag(const QString &key) const
{
    const QString v = value(key).trimmed();
    return v.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0 || v == QLatin1String("1")
        || v.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

QString PdfEmailParams::Recipient(const QString &toTemp) const
{
    if (!toTemp.trimmed().isEmpty())
        return toTemp.trimmed();
    bool ok = false;
    int n = value(QStringLiteral("EmailToNum")).trimmed().toInt(&ok);
    if (!ok || n < 1 || n > 3)
        n = 1;
    return value(QStringLiteral("EmailTo%1").arg(n)).trimmed();
}

PlaceholderValues PlaceholderValues::FromMenu(MenuServer &menu)
{
    PlaceholderValues v;
    v.terminale = MenuText(menu, QStringLiteral("Terminale"));
    v.login = MenuText(menu, QStringLiteral("Login"));
    v.gruppo = MenuText(menu, QStringLiteral("Gruppo"));
    v.descAzie = MenuText(menu, QStringLiteral("descazie"));
    v.codiceAzie = MenuText(menu, QStringLiteral("codiceazie"));
    v.idAzienda = MenuText(menu, QStringLiteral("idazienda"));
    return v;
}

PlaceholderValues PlaceholderValues::ForRun(MenuServer &menu, const PrintOptions &options)
{
    PlaceholderValues v = FromMenu(menu);
    v.titolo = options.ParamGet(QStringLiteral("StampaCaption")).toString();
    v.descPrg = options.ParamGet(QStringLiteral("StampaDescPrg")).toString();
    v.codSta = options.SectionKey;
    return v;
}

QString ExpandPlaceholders(const QString &text, const PlaceholderValues &v, PlaceholderUse use)
{
    const bool file = use == PlaceholderUse::FileName;
    const QDate d = v.now.date();
    const QTime t = v.now.time();
    const QString month = kMonths.at(d.month() - 1);
    const QString sep = file ? QStringLiteral(" ") : QStringLiteral("/");
    const QList<QPair<QString, QString>> values{
        {QStringLiteral("Terminale"), v.terminale},
        {QStringLiteral("Login"), v.login},
        {QStringLiteral("Gruppo"), v.gruppo},
        {QStringLiteral("DescAzie"), v.descAzie},
        {QStringLiteral("CodiceAzie"), v.codiceAzie},
        {QStringLiteral("IdAzienda"), v.idAzienda},
        {QStringLiteral("DescPrg"), v.descPrg},
        {QStringLiteral("Titolo"), v.titolo},
        {QStringLiteral("CodSta"), v.codSta},
        {QStringLiteral("Data"), file ? Two(d.day()) + Two(d.month()) + QString::number(d.year())
                                      : Two(d.day()) + QStringLiteral("/") + Two(d.month()) + QStringLiteral("/") + QString::number(d.year())},
        {QStringLiteral("DataRov"), QString::number(d.year()) + Two(d.month()) + Two(d.day())},
        {QStringLiteral("DataLong"), Two(d.day()) + sep + month + sep + QString::number(d.year())},
        {QStringLiteral("DataAbb"), Two(d.day()) + sep + month.left(3) + sep + QString::number(d.year())},
        {QStringLiteral("Ora"), file ? Two(t.hour()) + Two(t.minute()) : Two(t.hour()) + QStringLiteral(":") + Two(t.minute())},
    };
    QString out = text;
    for (const auto &[name, value] : values)
        out.replace(QStringLiteral("§") + name + QStringLiteral("§"), value, Qt::CaseInsensitive);
    if (!file) {
        out.replace(QStringLiteral("§OraRid§"), Two(t.hour()) + Two(t.minute()), Qt::CaseInsensitive);
        out.replace(QStringLiteral("§PersOgg§"), v.persOgg, Qt::CaseInsensitive);
    }
    return out;
}

QString PdfPrinter(const PdfEmailParams &params)
{
    if (params.flag(QStringLiteral("UsaPdfCreator")))
        return QStringLiteral("PDFCreator");
    if (params.flag(QStringLiteral("UsaPdf995")))
        return QStringLiteral("PDF995");
    return {};
}

QString PdfPrinter(MenuServer &menu)
{
    PdfEmailParams p;
    for (const char *key : {"UsaPdfCreator", "UsaPdf995"})
        p.set(QString::fromLatin1(key), ReadPdfEmailParam(menu, QString::fromLatin1(key)));
    return PdfPrinter(p);
}

QString PdfAutoName(const PdfEmailParams &params, const PlaceholderValues &values)
{
    return ExpandPlaceholders(params.value(QStringLiteral("PdfNomeFile")), values, PlaceholderUse::FileName);
}

EmailSendType SendTypeOf(const QString &tipoInvio)
{
    const QString t = tipoInvio.trimmed();
    const auto is = [&t](const char *name) { return t.compare(QLatin1String(name), Qt::CaseInsensitive) == 0; };
    if (t.isEmpty() || is("CDO") || is("See"))
        return EmailSendType::Smtp;
    if (is("Sendmail"))
        return EmailSendType::Sendmail;
    if (is("Outlook"))
        return EmailSendType::MailProgram;
    if (is("Non usato"))
        return EmailSendType::NotUsed;
    return EmailSendType::Unknown;
}

const QStringList &EmailSendTypeNames()
{
    static const QStringList names{QStringLiteral("Non usato"), QStringLiteral("CDO"), QStringLiteral("Sendmail"),
                                   QStringLiteral("Outlook"), QStringLiteral("See")};
    return names;
}

QString EmailRun::From() const
{
    return QStringLiteral("\"") + centro + QStringLiteral("\" <") + ind + QStringLiteral(">");
}

QString EmailRun::ReplyTo() const
{
    return replay.trimmed().isEmpty() ? QString() : QStringLiteral("\"") + centro + QStringLiteral("\" <") + replay.trimmed() + QStringLiteral(">");
}

std::optional<EmailRun> PrepareEmail(const PdfEmailParams &p, const QString &toTemp, const PlaceholderValues &values,
                                     QString *missing)
{
    const QString login = p.value(QStringLiteral("EmailLogin"));
    const QString pwd = p.value(QStringLiteral("EmailPwd"));
    const QString server = p.value(QStringLiteral("EmailServerSMTP"));
    const QString fixedTo = p.Recipient({});
    // sendmail and the desktop's mail program have their own way out: no server to log into.
    const bool smtp = SendTypeOf(p.value(QStringLiteral("EmailTipoInvio"))) == EmailSendType::Smtp;
    if ((smtp && (login.trimmed().isEmpty() || pwd.isEmpty() || server.trimmed().isEmpty()))
        || (fixedTo.isEmpty() && toTemp.trimmed().isEmpty())) {
        if (missing)
            *missing = QStringList{QStringLiteral("Mancano dati necessari per l'invio dell'email"),
                                   QStringLiteral(" - Login: ") + login,
                                   QStringLiteral(" - pwd compilata: ") + (pwd.isEmpty() ? QStringLiteral("No") : QStringLiteral("Sì")),
                                   QStringLiteral(" - SMTP: ") + server,
                                   QStringLiteral(" - Emailto: ") + fixedTo,
                                   QStringLiteral(" - Ind.Temp: ") + toTemp}
                           .join(QStringLiteral("\r\n"));
        return std::nullopt;
    }
    EmailRun r;
    r.tipoInvio = p.value(QStringLiteral("EmailTipoInvio")).trimmed();
    PlaceholderValues v = values;
    v.persOgg = p.value(QStringLiteral("EmailOggetto"));
    const QString personal = p.value(QStringLiteral("EmailPersOggetto"));
    r.oggetto = personal.trimmed().isEmpty() ? v.persOgg : ExpandPlaceholders(personal, v, PlaceholderUse::Message);
    r.testo = ExpandPlaceholders(p.value(QStringLiteral("EmailTesto")), v, PlaceholderUse::Message);
    r.to = p.Recipient(toTemp);
    r.fileLog = p.value(QStringLiteral("EmailFileLog")).trimmed();
    r.ind = p.value(QStringLiteral("EmailInd")).trimmed();
    r.centro = p.value(QStringLiteral("EmailCentro")).trimmed();
    r.smtpTipo = p.value(QStringLiteral("EmailSMTPtipo")).trimmed();
    r.server = server.trimmed();
    r.replay = p.value(QStringLiteral("EmailReplay")).trimmed();
    r.flagNotifica = p.flag(QStringLiteral("EmailFlagNotifica"));
    r.login = login.trimmed();
    r.pwd = pwd;
    r.usaSSL = p.flag(QStringLiteral("EmailUsaSSL"));
    r.dirStunnel = p.value(QStringLiteral("EmailDirStunnel")).trimmed();
    r.numPorta = p.value(QStringLiteral("EmailNumPorta")).trimmed().toInt();
    r.logSee = p.value(QStringLiteral("EmailLogSee")).trimmed();
    r.certificati = p.value(QStringLiteral("EmailCertificati")).trimmed();
    return r;
}

MailServer MailServerOf(const EmailRun &run)
{
    MailServer s;
    s.host = run.server;
    s.port = run.numPorta > 0 ? run.numPorta : (run.usaSSL ? 465 : 25);
    s.sslOnConnect = run.usaSSL || s.port == 465;
    s.login = run.login;
    s.password = run.pwd;
    s.caFile = run.certificati;
    return s;
}

MailMessage MailMessageOf(const EmailRun &run, const QString &pdf)
{
    MailMessage m;
    m.fromAddress = run.ind;
    m.from = run.centro.isEmpty() ? QString() : run.From();
    m.replyTo = run.ReplyTo();
    m.to = run.to;
    m.subject = run.oggetto;
    m.text = run.testo;
    m.attachment = pdf;
    m.readReceipt = run.flagNotifica;
    return m;
}

bool SendRunEmail(const EmailRun &run, const MailServer &server, const QString &pdf, QString *error,
                  MailFailure *failure)
{
    QString why;
    MailFailure kind = MailFailure::None;
    bool sent = false;
    const MailMessage message = MailMessageOf(run, pdf);
    switch (SendTypeOf(run.tipoInvio)) {
    case EmailSendType::Smtp:
        sent = MailSender::Send(server, message, &why, &kind);
        break;
    case EmailSendType::Sendmail:
        sent = MailSender::SendWithSendmail(message, &why, {}, &kind);
        break;
    case EmailSendType::MailProgram:
        sent = MailSender::OpenInMailProgram(message, &why, {}, &kind);
        break;
    case EmailSendType::NotUsed:
        why = QStringLiteral("L'invio dell'email non è attivo (Tipo Invio \"Non usato\")");
        kind = MailFailure::Data;
        break;
    case EmailSendType::Unknown:
        why = QStringLiteral("Tipo Invio \"%1\" sconosciuto: usare \"See\", \"CDO\", \"Sendmail\" o \"Outlook\"")
                  .arg(run.tipoInvio.trimmed());
        kind = MailFailure::Data;
        break;
    }
    if (!run.fileLog.isEmpty()) {
        QFile log(run.fileLog);
        if (log.open(QIODevice::Append | QIODevice::Text)) {
            QTextStream out(&log);
            out << QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy hh:mm:ss")) << ';' << run.to << ';'
                << run.oggetto << ';' << pdf << ';' << (sent ? QStringLiteral("inviata") : why) << '\n';
        }
    }
    if (!sent && error)
        *error = why;
    if (failure)
        *failure = sent ? MailFailure::None : kind;
    return sent;
}

QString EmailSentText(const EmailRun &run)
{
    if (SendTypeOf(run.tipoInvio) == EmailSendType::MailProgram)
        return QStringLiteral("Email per ") + run.to + QStringLiteral(" aperta nel programma di posta: inviarla da lì");
    return QStringLiteral("Email inviata a ") + run.to;
}

QString EmailNotSentText(const QString &error, const QString &pdf)
{
    return error + QStringLiteral("\r\nEmail non inviata; il PDF resta in ") + QDir::toNativeSeparators(pdf);
}

void RunDelivery::Prepare(const PrintEnv &env, const PrintOptions &options, PrintReport &report, MessageSink &sink)
{
    email_.reset();
    pdf_.clear();
    if (!env.menu)
        return;
    const bool pdfAuto = options.ParamGet(QStringLiteral("PdfAutomAbil")).toBool();
    const bool email = options.ParamGet(QStringLiteral("EmailInvia")).toBool();
    if (!pdfAuto && !email)
        return;
    PdfEmailParams params = PdfEmailParams::Read(*env.menu);
    params.Overlay(options);
    const PlaceholderValues values = PlaceholderValues::ForRun(*env.menu, options);
    if (pdfAuto && options.StaVid == PrintOptions::Printer) {
        QString name = PdfAutoName(params, values).trimmed();
        if (!name.isEmpty()) {
            if (!name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
                name += QStringLiteral(".pdf");
            if (QFileInfo(name).isRelative())
                name = QDir(options.PathDefault.trimmed().isEmpty() ? QDir::homePath() : options.PathDefault).filePath(name);
            report.ParamSet(QStringLiteral("PdfAutomImpPar"), name);
            report.CommandRun(QStringLiteral("AttivaPdfAutom"));
            pdf_ = name;
        }
    } else if (options.StaVid == PrintOptions::File && options.FileForm == PrintOptions::PdfFile) {
        pdf_ = options.FileName;
    }
    if (!email)
        return;
    QString missing;
    email_ = PrepareEmail(params, options.ParamGet(QStringLiteral("EmailToTemp")).toString(), values, &missing);
    if (!email_)
        sink.msgCom(missing, {QStringLiteral("&Ok")});
    else if (pdf_.isEmpty()) {
        sink.msgCom(QStringLiteral("L'invio per email vuole una stampa in PDF (\"Nome file Pdf autom.\" o un file PDF): la stampa non viene inviata"),
                    {QStringLiteral("&Ok")});
        email_.reset();
    }
}

void RunDelivery::Send(MessageSink &sink, EmailCredentialAsker *asker)
{
    if (!email_)
        return;
    EmailRun run = *email_;
    email_.reset();
    bool asked = false;
    for (;;) {
        QString error;
        MailFailure failure = MailFailure::None;
        if (SendRunEmail(run, MailServerOf(run), pdf_, &error, &failure)) {
            if (asked)
                asker->EmailLoginAccepted(run.login, run.pwd);
            sink.msgCom(EmailSentText(run), {QStringLiteral("&Ok")});
            return;
        }
        if (failure != MailFailure::Login || !asker) {
            sink.msgCom(EmailNotSentText(error, pdf_), {QStringLiteral("&Ok")});
            return;
        }
        // The server refused the pair: say so, and let the user give another one.
        sink.msgCom(error, {QStringLiteral("&Ok")});
        asked = true;
        if (!asker->ChiediEmailLogPwd(&run.login, &run.pwd)) {
            sink.msgCom(EmailNotSentText(QStringLiteral("Invio dell'email annullato"), pdf_), {QStringLiteral("&Ok")});
            return;
        }
    }
}

} // namespace kem

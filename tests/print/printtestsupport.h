#pragma once
// Shared pieces of the print framework tests: a message recorder, ini files in a temporary
// folder, and an environment with scripted printers and a fake menu.
#include "common/messages.h"
#include "platform/menu/fakemenuserver.h"
#include "platform/util/kemutil.h"
#include "print/printenv.h"
#include "platform/os/printersystem.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace kemtest {

class RecordingSink : public kem::MessageSink {
public:
    struct Message {
        QString text;
        QString caption;
    };
    QList<Message> messages;
    int msgCom(const QString &text, const QStringList &, int defaultButton, const QString &caption) override
    {
        messages.append({text, caption});
        return defaultButton;
    }
    void MsgErrfrm(const QString &number, const QString &description, const QString &prefix,
                   const QString &suffix) override
    {
        messages.append({kem::ErrorText(number, description, prefix, suffix), QString()});
    }
    QStringList texts() const
    {
        QStringList out;
        for (const Message &m : messages)
            out.append(m.text);
        return out;
    }
};

struct PrintFixture {
    QTemporaryDir dir;
    RecordingSink sink;
    kem::FakeMenuServer menu;
    kem::ScriptedPrinterSystem printers;
    kem::PrintEnv env;

    PrintFixture()
    {
        env.mainIni = dir.filePath(QStringLiteral("kemwin.ini"));
        env.profileIni = dir.filePath(QStringLiteral("win.ini"));
        env.programKey = QStringLiteral("DIBA");
        env.menu = &menu;
        env.sink = &sink;
        env.printers = &printers;
        env.workingDate = QDate(2026, 12, 10);
        menu.setVar(QStringLiteral("versione"), QStringLiteral("4.2"));
        menu.setVar(QStringLiteral("ditta.ragsoc"), QStringLiteral("Mobili Rossi Srl"));
    }
    void ini(const QString &section, const QString &key, const QString &value)
    {
        QString error;
        QVERIFY2(kem::IniWrite(env.mainIni, section, key, value, &error), qPrintable(error));
    }
    QString path(const QString &name) const { return dir.filePath(name); }
};

// [section] key of file, or `absent` when the file, section or key is missing.
inline QString IniValue(const QString &file, const QString &section, const QString &key,
                        const QString &absent = QStringLiteral("<assente>"))
{
    QString v;
    kem::IniRead(file, section, key, absent, v);
    return v;
}

// Text of a PDF as pdftotext -layout gives it; empty when the tool is missing.
inline QString PdfText(const QString &file)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline bool HavePdfToText()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

} // namespace kemtest

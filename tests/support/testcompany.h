#pragma once
// The company fixture of the tests: small company databases built by a test (the real schema
// and the rows the test writes), the data-layer tests' company, the demo company written into
// a temporary folder and opened as the module opens a company, the company parameters of the
// small fixtures, the company's menu variables in the fake menu, and a message sink that
// records.
#include "common/companyparams.h"
#include "common/messages.h"
#include "common/msgsinks.h"
#include "platform/db/kemdb.h"
#include "platform/menu/fakemenuserver.h"
#include "reportkit/company.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace kemtest {

// Records every message (texts and the last buttons) and answers with the default button.
class RecordingSink : public kem::MessageSink {
public:
    int msgCom(const QString &text, const QStringList &buttons, int defaultButton = 1,
               const QString &caption = {}) override
    {
        Q_UNUSED(caption)
        messages << text;
        lastButtons = buttons;
        return defaultButton;
    }
    void MsgErrfrm(const QString &number, const QString &description, const QString &prefix = {},
                   const QString &suffix = {}) override
    {
        errors << kem::ErrorText(number, description, prefix, suffix);
    }
    void clear()
    {
        messages.clear();
        errors.clear();
    }
    QStringList messages;
    QStringList errors;
    QStringList lastButtons;
};

// Company parameters of the small fixtures: euro, 2 value decimals, 3 quantity decimals.
kem::CompanyParams FixtureParams();

// Runs plain SQLite statements on a file outside the layer under test.
bool RunOnFile(const QString &file, const QStringList &statements, QString *error);
// Writes an empty company database (the schema only) DIR/fileName; its path, or empty with
// *error set.
QString CreateEmptyCompany(const QString &dir, const QString &fileName, QString *error);
// Creates the company schema in a new SQLite file at path and runs the statements in one
// transaction.
bool BuildCompanyDb(const QString &path, const QStringList &statements, QString *error);
// The company of the data-layer tests: DIR/azienda.db with the schema and a handful of rows, so
// that each statement of the module has rows to find and rows to miss. Returns the path, or
// empty with *error set.
QString CreateFixtureCompany(const QString &dir, QString *error);

// The company and personal variables of a company's kemora-menu.ini loaded into the fake menu,
// so that the menu answers like kemora-menu on that company.
void LoadCompanyMenu(kem::FakeMenuServer &menu, const QString &menuIni);

// The demo company in a temporary folder, opened as the module opens a company.
class DemoCompany {
public:
    // False (with the reason in *error) when the company cannot be written or opened.
    bool open(QString *error);
    QString dir() const { return dir_.path(); }
    QString filePath(const QString &name) const { return dir_.filePath(name); }
    QString imageDir() const { return dir_.filePath(QStringLiteral("immagini")); }
    kem::CompanySession &session() { return *session_; }
    kem::Database &db() { return session_->db(); }
    kem::RecordingMessageSink sink;

private:
    QTemporaryDir dir_;
    std::unique_ptr<kem::CompanySession> session_;
};

} // namespace kemtest

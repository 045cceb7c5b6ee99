#include "schema/companyschema.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

// The resource initialiser must be called from outside any namespace.
static void InitSchemaResource()
{
    Q_INIT_RESOURCE(kem_schema_sql);
}

namespace kem {

namespace {

QString SchemaText()
{
    InitSchemaResource();
    QFile f(QStringLiteral(":/kem/schema/schema.sql"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

// Name of the table a CREATE TABLE / CREATE INDEX statement belongs to.
QString TableOf(const QString &stmt)
{
    static const QRegularExpression table(
        QStringLiteral(R"(^CREATE\s+TABLE\s+(\w+))"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression index(
        QStringLiteral(R"(^CREATE\s+(?:UNIQUE\s+)?INDEX\s+\w+\s+ON\s+(\w+))"),
        QRegularExpression::CaseInsensitiveOption);
    auto m = table.match(stmt);
    if (m.hasMatch())
        return m.captured(1);
    m = index.match(stmt);
    return m.hasMatch() ? m.captured(1) : QString();
}

bool RunStatements(QSqlDatabase &db, const QStringList &stmts, QString *error)
{
    auto fail = [&](const QString &what) {
        if (error)
            *error = what;
        return false;
    };
    if (!db.isOpen())
        return fail(QStringLiteral("Il database non è aperto"));
    if (stmts.isEmpty())
        return fail(QStringLiteral("Schema del database aziendale non disponibile"));
    if (!db.transaction())
        return fail(QStringLiteral("Impossibile avviare la transazione: ") + db.lastError().text());
    for (const QString &s : stmts) {
        QSqlQuery q(db);
        if (!q.exec(s)) {
            const QString msg = q.lastError().text() + QStringLiteral("\n") + s;
            q.finish();
            db.rollback();
            return fail(msg);
        }
    }
    if (!db.commit()) {
        const QString msg = db.lastError().text();
        db.rollback();
        return fail(msg);
    }
    return true;
}

} // namespace

QStringList CompanySchemaStatements()
{
    QStringList out;
    QString current;
    const QStringList lines = SchemaText().split(QLatin1Char('\n'));
    for (QString line : lines) {
        const qsizetype c = line.indexOf(QStringLiteral("--"));
        if (c >= 0)
            line.truncate(c);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        if (!current.isEmpty())
            current += QLatin1Char(' ');
        current += line;
        if (line.endsWith(QLatin1Char(';'))) {
            current.chop(1);
            out << current.trimmed();
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        out << current.trimmed();
    return out;
}

bool CreateCompanySchema(QSqlDatabase &db, QString *error)
{
    return RunStatements(db, CompanySchemaStatements(), error);
}

bool CreateSchemaTables(QSqlDatabase &db, const QStringList &tables, QString *error)
{
    QStringList chosen;
    QStringList found;
    for (const QString &s : CompanySchemaStatements()) {
        const QString t = TableOf(s);
        if (tables.contains(t, Qt::CaseInsensitive)) {
            chosen << s;
            found << t.toLower();
        }
    }
    for (const QString &t : tables) {
        if (!found.contains(t.toLower())) {
            if (error)
                *error = QStringLiteral("Tabella sconosciuta: ") + t;
            return false;
        }
    }
    return RunStatements(db, chosen, error);
}

} // namespace kem

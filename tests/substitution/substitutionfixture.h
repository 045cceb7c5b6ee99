#pragma once
// The company of the substitution tests: a few finished, semi-finished and base articles whose
// links give each check something to find: a component used by four parents (one of them
// missing from Articoli), a parent that already holds another component, replacements whose
// structures reach a parent directly or through two levels, one with a cycle of its own, and
// codes with a quote. Each case works on its own copy of the file.
#include "platform/db/kemdb.h"
#include "tests/support/testcompany.h"

#include <QFile>
#include <QStringList>

namespace kemtest {

inline QStringList SubstitutionCompanyRows()
{
    return {
        "INSERT INTO Articoli (Articolo, Descrizione, ArtUM, DistBase) VALUES "
        "('PF1','Tavolo','PZ',1), ('PF2','Sedia','PZ',1), ('PF3','Armadio','PZ',1),"
        "('SEM1','Piano','PZ',2), ('SEM2','Gamba','PZ',2),"
        "('MB1','Rovere','KG',3), ('MB2','Faggio','M',3), ('MB3','Vite','NR',3), ('MB''Q','Colla dell''ebanista','KG',3),"
        "('NUOVO','Noce','MQ',3),"
        "('CYC1','Telaio','PZ',2), ('CYC2','Telaio doppio','PZ',2), ('CYC3','Traversa','PZ',2),"
        "('LOOP','Cornice','PZ',2), ('LOOPB','Listello','PZ',2)",
        "INSERT INTO ArtLegami (ArticoloPadre, ArticoloFiglio, UM, Qta, QualeImporto, Listino) VALUES "
        "('PF1','MB1','KG',1.5,'M','L1'), ('PF2','MB1','G',250,'U',NULL), ('SEM1','MB1','KG',0.125,'S',NULL),"
        "('NOPADRE','MB1','KG',3,NULL,NULL),"
        "('PF1','SEM1','PZ',2,NULL,NULL), ('PF2','MB2','M',4,NULL,NULL), ('PF3','MB2','M',2,NULL,NULL),"
        "('PF3','MB''Q','KG',1,NULL,NULL), ('SEM2','MB3','NR',8,NULL,NULL), ('PF2','MB3','NR',12,NULL,NULL),"
        "('CYC1','SEM2','PZ',1,NULL,NULL), ('CYC2','CYC3','PZ',2,NULL,NULL), ('CYC3','SEM2','PZ',1,NULL,NULL),"
        "('LOOP','LOOPB','PZ',1,NULL,NULL), ('LOOPB','LOOP','PZ',1,NULL,NULL), ('LOOPB','MB2','M',1,NULL,NULL)",
        "INSERT INTO TabUM (UM, Descrizione) VALUES ('PZ','Pezzi'), ('KG','Chilogrammi'), ('G','Grammi'),"
        "('M','Metri'), ('NR','Numero'), ('MQ','Metri quadri')",
        "INSERT INTO Listini (Listino, Descrizione) VALUES ('L1','Listino base'), ('L2','Listino rivenditori')",
    };
}

// Every link of the company as "parent>component unit quantity method list", in key order.
inline QStringList AllLinks(kem::Database &db)
{
    QStringList out;
    kem::ResultSets rs;
    kem::RsGuard h(rs, rs.RsOpen(db, QStringLiteral("Select * from ArtLegami ORDER BY ArticoloPadre, ArticoloFiglio")));
    if (rs.RsIsEmpty(h))
        return out;
    for (rs.RsMoveFirst(h); !rs.RsEof(h); rs.RsMoveNext(h)) {
        out << QStringLiteral("%1>%2 %3 %4 %5 %6")
                   .arg(rs.RsField(h, "ArticoloPadre").toString(), rs.RsField(h, "ArticoloFiglio").toString(),
                        rs.RsField(h, "UM").toString(), QString::number(rs.RsField(h, "Qta").toDouble(), 'g', 15),
                        rs.RsField(h, "QualeImporto").toString(), rs.RsField(h, "Listino").toString());
    }
    return out;
}

// Builds the company once in `dir` and hands out copies.
class SubstitutionCompany {
public:
    bool build(const QString &dir, QString *error)
    {
        master_ = dir + QStringLiteral("/master.db");
        return BuildCompanyDb(master_, SubstitutionCompanyRows(), error);
    }
    // A fresh copy named `name` in the same folder; empty when it cannot be written.
    QString copy(const QString &name) const
    {
        const QString path = master_.section(QLatin1Char('/'), 0, -2) + QLatin1Char('/') + name;
        QFile::remove(path);
        return QFile::copy(master_, path) ? path : QString();
    }
    const QString &master() const { return master_; }

private:
    QString master_;
};

} // namespace kemtest

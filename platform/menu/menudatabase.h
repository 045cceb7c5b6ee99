#pragma once
// MenuDatabase: read-only access to the menu database (table MenuDett) through the database
// component, so the programs' statements are read in the Jet dialect like every other. The
// file is opened read-only on first use (on the thread that uses it), and only SELECT
// statements are run: the statements come from the programs over the socket, so nothing they
// send can change the menu's data.
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace kem {

class Database;

struct MenuEntry {
    QString chiave;
    QString chiaveSec;
    QString caption;
    QString descPrg;
};

class MenuDatabase {
public:
    explicit MenuDatabase(const QString &path);
    ~MenuDatabase();
    MenuDatabase(const MenuDatabase &) = delete;
    MenuDatabase &operator=(const MenuDatabase &) = delete;

    QString path() const { return path_; }
    // The requested columns of the first row of `statement`, as text (Null gives "");
    // nullopt when there is no row. Throws kem::MenuError (Remote) with the reason when the
    // database cannot be opened, the statement is not a SELECT or fails, or a column is absent.
    std::optional<QStringList> firstRow(const QString &statement, const QStringList &columns);
    // The menu's entries in the order they were written. Throws like firstRow.
    QList<MenuEntry> entries();

private:
    Database &db();

    QString path_;
    std::unique_ptr<Database> db_;
};

} // namespace kem

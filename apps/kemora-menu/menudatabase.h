#pragma once
// MenuDatabase: read-only access to the menu database (table MenuDett). Opened lazily on the
// thread that first uses it, with SQLite's read-only flag, and only SELECT statements are
// run: the statements come from the programs over the socket, so nothing they send can change
// the menu's data.
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace kem {

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
    // The requested columns of the first row of `statement`, as text (null gives "");
    // nullopt when there is no row. Throws kem::MenuError (Remote) with the reason when the
    // database cannot be opened, the statement is not a SELECT or fails, or a column is absent.
    std::optional<QStringList> firstRow(const QString &statement, const QStringList &columns);
    // The menu's entries in the order they were written. Throws like firstRow.
    QList<MenuEntry> entries();

private:
    void open();

    QString path_;
    QString connection_;
    bool opened_ = false;
};

} // namespace kem

#pragma once
// A command: the connection it runs on and its text. The text is always built in
// code (values go through filters or bound parameters, never into the text).
#include <QString>
#include <QVariantList>

namespace db {

class Connection;

class Command {
public:
    Command() = default;
    void setActiveConnection(Connection& c) { connection_ = &c; }
    void clearActiveConnection() { connection_ = nullptr; }
    Connection* activeConnection() const { return connection_; }

    // "SELECT * FROM t", "SELECT a,b FROM t", "DELETE * FROM t", or any other
    // statement; a recordset opened on a SELECT of one table can edit its rows.
    void setCommandText(const QString& text) { text_ = text; }
    const QString& commandText() const { return text_; }

    // Runs the text on the active connection (err::Closed without one); returns
    // the number of rows changed.
    int execute(const QVariantList& params = {}) const;

private:
    Connection* connection_ = nullptr;
    QString text_;
};

} // namespace db

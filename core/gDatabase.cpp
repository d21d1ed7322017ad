#include "core/gDatabase.h"

#include "core/gError.h"
#include "core/gState.h"

db::Connection gConnection;
db::Command gCommand;
db::Recordset gRecordset;

QString gMakeDbPassword(const QString& password) {
    return {};
}
const std::vector<db::TableSpec>& gDatabaseSchema() {
    static std::vector<db::TableSpec> s;
    return s;
}
void gCreateDatabase(const QString& file, const QString& dbPassword) {}
void gOpenDatabase(const QString& file, const QString& dbPassword) {}
void gCloseDatabase() {}

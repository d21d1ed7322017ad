#pragma once
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// The string table compiled in from resources/strings.txt.
// A missing number raises error 326 (resource not found).
QString gLoadResString(int id);
std::optional<QString> gTryResString(int id);
bool gHasResString(int id);
QList<int> gResStringIds();

// Loads a string table in the file's format (tests of the format use it).
QHash<int, QString> gParseStringTable(const QByteArray& utf8);

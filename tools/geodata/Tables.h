#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The tool's own tables: tab-separated lines, '#' starts a comment line,
// blank lines are skipped. A missing file gives no lines when optional.
std::vector<QStringList> readTable(const QString& path, bool optional = false);
// Field i of a table line, empty when the line is shorter.
QString field(const QStringList& line, int i);

#pragma once

#include "tools/geodata/Build.h"

#include <QByteArray>
#include <map>

// The globe data stream: one record per term, in record-number order.
// Returns each record's byte position.
QByteArray globeStream(const Dataset& data, std::map<int, qint64>& positions);
// The geographic index text, with the flag descriptions.
QByteArray indexText(const Dataset& data, const std::map<int, qint64>& positions);
// One line per term: section, number and the rectangle its object lies in.
QByteArray checkText(const Dataset& data);
// The standard globe lessons: file name -> contents.
std::map<QString, QByteArray> globeLessons(const Dataset& data);

// Texts of lesson files are written with "\r\n" line ends in UTF-8.
QByteArray lessonBytes(const QStringList& lines);
QString commaNumber(double value, int decimals);

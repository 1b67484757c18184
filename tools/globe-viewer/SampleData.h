#pragma once

// Reads sample geometry for the developer viewer and the benchmarks:
// GeoJSON features or a stream of globe object records.

#include <QString>

class TGlobeObjectSource;

// Polygons become closed objects (one chain per ring), lines open ones,
// points chain-less objects; titles from the property titleKey. Returns
// the number of objects read, -1 when the file cannot be read.
int LoadGeoJson(const QString& fileName, TGlobeObjectSource& source, const QString& titleKey = QStringLiteral("NAME"));
// Reads records until the end of the file.
int LoadGlobeStream(const QString& fileName, TGlobeObjectSource& source);
// The objects of one section of a program folder's geographic index
// (Data/geodata.ini), read from its globe data (Data/geodata.dat) at the
// positions the records give, as the globe map reads them. Returns the
// number of objects read, or -1 with error set.
int LoadIndexSection(const QString& dataFolder, const QString& section, TGlobeObjectSource& source, QString& error);

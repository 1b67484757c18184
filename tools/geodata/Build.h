#pragma once

// The geographic terms the tool ships, built from the sources and the
// tool's own tables.

#include "tools/geodata/Geo.h"

#include <QString>
#include <QStringList>
#include <map>
#include <vector>

enum class Kind { City, Country, River, Island, Lake, State };

struct Record {
    Kind kind = Kind::Country;
    int number = 0;
    int fixedNumber = 0;  // a number the tables give, kept whatever is added
    QString key;          // stable identity: country code, state code, table name
    QStringList de, en, other;
    int capital = -1;     // record number of the capital city
    long long area = 0;   // km²
    QString refs;         // sub-item references
    std::vector<Polygon> polygons;
    std::vector<Ring> lines;
    Pt point;
    bool isPoint = false;
    QStringList groups;   // lesson groups the term belongs to
    Box check;            // where the term lies, for the data checks
    QString iso2;         // countries: flag key
    QString country;      // cities and states: ADM0_A3 of the country
    double population = 0;
    Pt label;             // a point inside the term, for maps
};

QString sectionOf(Kind kind);
QChar letterOf(Kind kind);

struct Dataset {
    std::vector<Record> records;
    std::map<QString, QString> flags; // ISO_A2, or ADM0_A3 -> flag description

    // The flag of a country: by its two-letter code, or by its ADM0_A3 where
    // the outlines give it no two-letter code of its own.
    const QString* flagOf(const Record& country) const;

    const Record* find(Kind kind, const QString& key) const;
    std::vector<const Record*> ofKind(Kind kind) const;
    std::vector<const Record*> inGroup(Kind kind, const QString& group) const;
    const Record* byNumber(int number) const;
};

// Reads the sources below `src` and the tables in `tables`.
Dataset buildDataset(const QString& src, const QString& tables);

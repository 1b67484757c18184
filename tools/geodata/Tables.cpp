#include "tools/geodata/Tables.h"

#include <QFile>
#include <stdexcept>

std::vector<QStringList> readTable(const QString& path, bool optional)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (optional)
            return {};
        throw std::runtime_error("cannot read " + path.toStdString());
    }
    std::vector<QStringList> lines;
    for (const QString& raw : QString::fromUtf8(file.readAll()).split(u'\n')) {
        QString line = raw;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(u'#'))
            continue;
        QStringList fields = line.split(u'\t');
        for (QString& f : fields)
            f = f.trimmed();
        lines.push_back(fields);
    }
    return lines;
}

QString field(const QStringList& line, int i) { return i < line.size() ? line[i] : QString(); }

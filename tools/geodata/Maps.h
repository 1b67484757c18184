#pragma once

#include "tools/geodata/Build.h"

#include <QByteArray>
#include <QImage>
#include <map>

struct PictureLesson {
    QString lessonFile, pictureFile;
    QByteArray lesson;
    QImage picture; // RGB32, exactly the colours of the GIF
};

// The picture lessons and their maps.
std::vector<PictureLesson> pictureLessons(const Dataset& data);

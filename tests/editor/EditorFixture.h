#pragma once

#include "editor/GeoEditor.h"
#include "lesson/TDaten.h"
#include "lesson/TLernOptionen.h"
#include "support/TestResponder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

// A program folder of its own with the shipped lessons and globe data, a
// page for the lesson views, and a responder for the dialogs.
class EditorFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TestResponder responder;
    QWidget page;

    EditorFixture()
    {
        new QVBoxLayout(&page);
        page.resize(800, 600);
        QDir(dir.path()).mkpath("Ergebnisse");
        for (const char* sub : {"Lektionen", "Data"}) {
            QDir(dir.path()).mkpath(sub);
            for (QDirIterator it(QStringLiteral(ORBILO_DATA_FOLDER) + "/" + sub, QDir::Files); it.hasNext();) {
                const QString file = it.next();
                QFile::copy(file, dir.filePath(QString(sub) + "/" + QFileInfo(file).fileName()));
            }
        }
    }

    QString folder() const { return dir.path() + u'/'; }
    QString lessonPath(const QString& file) const { return dir.filePath("Lektionen/" + file); }

    QString writeLesson(const QString& file, const QByteArray& text) const
    {
        QFile f(lessonPath(file));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return lessonPath(file);
    }

    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    std::unique_ptr<TGeoEditor> open(const QString& argument, bool copy = false, QAbstractButton* save = nullptr)
    {
        return std::make_unique<TGeoEditor>(&page, copy, argument, std::make_unique<TLernOptionen>(), folder(), save);
    }

    // Answers the program's own dialogs (the category dialog and the like)
    // by running `answer` on them: it fills the dialog and says whether it
    // was confirmed.
    void answerDialogs(std::function<bool(QDialog&)> answer)
    {
        responder.onDialog = [answer](QDialog& dialog) {
            return answer(dialog) ? int(QDialog::Accepted) : int(QDialog::Rejected);
        };
    }
};

#pragma once

#include "platform/OrbiloError.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

// A colour or number in a flag description that does not convert, or a
// number the painting cannot use (a proportion or spike count below 1).
class FlagConversionError : public OrbiloError {
public:
    FlagConversionError(const QString& description, const QString& text);

    const QString& description() const { return m_description; }
    const QString& text() const { return m_text; }

private:
    QString m_description;
    QString m_text;
};

// An emblem picture named by an "m" command that is missing or unreadable.
class FlagFileError : public OrbiloError {
public:
    explicit FlagFileError(const QString& path);

    const QString& path() const { return m_path; }

private:
    QString m_path;
};

// Paints flag descriptions: commands separated by ";", fields by ",", the
// first field naming the command (q, c, cr, cp, nl, r, co, m, e, t, s).
// Measures are percentages of the flag's width or height; colours are the
// basic colour names or numbers meaning 0xBBGGRR.
//
// Holds the emblem of the description being painted so that repainting does
// not render the picture again; whoever changes the description drops it.
class FlagPainter {
public:
    // Width of a flag of this height: set by a first command "q", 3 : 2
    // otherwise and whenever the fixed ratio is on, except for q,1,1.
    // Throws FlagConversionError for an unusable "q".
    static int FlagWidth(const QString& description, int height, bool fixedRatio);

    void SetPictureFolder(const QString& folder) { m_pictureFolder = folder; }
    const QString& PictureFolder() const { return m_pictureFolder; }
    void SetFixedRatio(bool on) { m_fixedRatio = on; }
    bool FixedRatio() const { return m_fixedRatio; }

    // Paints the flag with its top left corner at the painter's origin and
    // returns its width. A bad field stops the painting with
    // FlagConversionError, a missing emblem with FlagFileError; what was
    // painted until then stays, without the frame.
    int Paint(QPainter& painter, const QString& description, int height);
    // As Paint, but never throws: on failure the frame is still drawn and
    // the error's text is put in *error.
    bool TryPaint(QPainter& painter, const QString& description, int height, QString* error = nullptr);

    void DropEmblem();
    bool HasEmblem() const { return !m_emblem.isNull(); }
    QSize EmblemSize() const { return m_emblem.size(); }

private:
    // The picture placed at place, rendered for the part of it that shows.
    const QImage& emblem(const QString& file, const QRect& place, const QRect& part);

    QString m_pictureFolder;
    bool m_fixedRatio = false;
    QImage m_emblem;
    QString m_emblemFile;
    QRect m_emblemPlace;
    QRect m_emblemPart;
};

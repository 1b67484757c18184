#pragma once

#include <QString>
#include <stdexcept>

// The program's error: carries a text the user reads. Operations that fail
// throw it; the application's error display shows it and the program goes on.
class OrbiloError : public std::runtime_error {
public:
    explicit OrbiloError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// A file could not be written; the text names the file.
class FileWriteError : public OrbiloError {
public:
    explicit FileWriteError(const QString& path)
        : OrbiloError(QStringLiteral("Unable to write to %1").arg(path)) {}
};

// A file that is there could not be read; the text names the file.
class FileReadError : public OrbiloError {
public:
    explicit FileReadError(const QString& path)
        : OrbiloError(QStringLiteral("Unable to read %1").arg(path)) {}
};

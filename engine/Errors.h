#pragma once
#include <QString>
#include <stdexcept>

namespace glimt {

// Base of the program's own failures. what() is the English text for logs; `Text()` is the
// user-visible message (already translated where a message key stood behind it).
class Error : public std::runtime_error {
public:
    explicit Error(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString& Text() const { return m_text; }

private:
    QString m_text;
};

// A file that cannot be opened, created, read or written (the platform's file errors).
class FileError : public Error {
public:
    FileError(const QString& text, const QString& path) : Error(text), m_path(path) {}
    const QString& Path() const { return m_path; }

private:
    QString m_path;
};

} // namespace glimt

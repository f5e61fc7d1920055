// The error an export throws when its file cannot be written; the message is the
// user's text, shown by the caller.
#pragma once

#include <QString>
#include <exception>
#include <string>

namespace kvl {

class ExportError : public std::exception
{
public:
    explicit ExportError(const QString &message);
    const char *what() const noexcept override { return m_utf8.c_str(); }
    const QString &message() const { return m_message; }

private:
    QString m_message;
    std::string m_utf8;
};

} // namespace kvl

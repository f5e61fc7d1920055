// The error the maintenance routines throw: the text the dialog shows and,
// for whoever looks closer, what exactly went wrong.
#pragma once

#include <QString>
#include <exception>
#include <string>

namespace kvl {

class MaintenanceError : public std::exception
{
public:
    // `message` is the user's text (empty while a lower step does not know it yet),
    // `detail` the technical reason.
    MaintenanceError(const QString &message, const QString &detail);
    const char *what() const noexcept override { return m_utf8.c_str(); }
    const QString &message() const { return m_message; }
    const QString &detail() const { return m_detail; }

private:
    QString m_message;
    QString m_detail;
    std::string m_utf8;
};

} // namespace kvl

// Values the whole program shares for the length of one run.
#pragma once

#include <QByteArray>
#include <QString>

namespace kvl {

inline QString AppDir;              // the program's folder, ending with the separator
inline QString CompanyName;         // PH.UserName
inline QString LoginPassword;       // PH.pass; empty means no login
inline QString Bbh36;               // PH.BBH36, kept as read
inline QByteArray BackgroundPicture; // PH.JPEG until the main window has shown it
inline bool DbConnected = false;

// The base queries the windows extend with their WHERE and ORDER BY texts.
inline QString DataSfkBaseSql;
inline QString DataSfkJzBaseSql;
inline QString DataKcmxBaseSql;
inline QString DataTJYskBaseSql;
inline QString DataTJSpBaseSql;

inline QString CurrentReportName;
inline QString LastExportDir;

} // namespace kvl

#pragma once

#include <QFile>
#include <QString>
#include <string>
#include <string_view>

// The system's narrow texts meet Qt's strings here: messages in the local 8-bit encoding, paths
// in the file system's own.
inline QString ToQtText(std::string_view text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString ToQtPath(const std::string& path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

inline std::string FromQtPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// The program's texts are single-byte (Latin-1): a callsign, a comment, a caption. These convert them to and from
// the toolkit's strings, byte for byte.
#pragma once

#include <QByteArray>
#include <QString>

#include <string>

namespace qm::qt
{

/// Returns the Latin-1 text as the toolkit's string.
inline QString latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

/// Returns the toolkit's string as Latin-1 bytes (a character outside Latin-1 becomes "?").
inline std::string toLatin1(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace qm::qt

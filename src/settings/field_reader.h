#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quvex::settings {

// Reads a settings file as a sequence of fields, each ended by a comma or a line end; how the
// fields are spread over lines does not matter. A quoted field runs to its closing quote,
// spaces included; an unquoted one to the next comma or line end. Bytes are 8-bit characters.
class FieldReader
{
public:
    // Longer fields are cut to this; no name or number in a settings file comes near it.
    static constexpr qsizetype kFieldLimit = 1024;

    explicit FieldReader(QByteArray bytes);

    // The next field, or nothing at the end of the data.
    std::optional<QString> next_field();

private:
    bool at_end() const { return m_pos >= m_bytes.size(); }
    char peek() const { return m_bytes.at(m_pos); }
    void skip_delimiter();

    QByteArray m_bytes;
    qsizetype m_pos = 0;
    bool m_line_start = true;
};

// A field that holds a number and nothing else (spaces around it allowed), one that can go to
// the unit exactly: a file is no way around the rule for values typed in.
std::optional<double> field_number(const QString &field);

} // namespace quvex::settings

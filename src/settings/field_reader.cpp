#include "field_reader.h"

#include "link/answer_number.h"

namespace quvex::settings {

namespace {

bool is_line_end(char c)
{
    return c == '\r' || c == '\n';
}

} // namespace

FieldReader::FieldReader(QByteArray bytes)
    : m_bytes(std::move(bytes))
{
}

void FieldReader::skip_delimiter()
{
    if (at_end()) {
        m_line_start = true;
        return;
    }
    if (peek() == ',') {
        ++m_pos;
        m_line_start = false;
        return;
    }
    if (peek() == '\r')
        ++m_pos;
    if (!at_end() && peek() == '\n')
        ++m_pos;
    m_line_start = true;
}

std::optional<QString> FieldReader::next_field()
{
    // Blank lines hold no field; an empty field is one that a comma opened.
    while (!at_end() && (peek() == ' ' || (m_line_start && is_line_end(peek()))))
        ++m_pos;
    if (at_end() && m_line_start)
        return std::nullopt;

    QByteArray field;
    const auto keep = [&field](char c) {
        if (field.size() < kFieldLimit)
            field.append(c);
    };
    if (!at_end() && peek() == '"') {
        ++m_pos;
        while (!at_end() && peek() != '"')
            keep(m_bytes.at(m_pos++));
        if (!at_end())
            ++m_pos;
        // Whatever stands between the closing quote and the delimiter is not part of the field.
        while (!at_end() && peek() != ',' && !is_line_end(peek()))
            ++m_pos;
    } else {
        while (!at_end() && peek() != ',' && !is_line_end(peek()))
            keep(m_bytes.at(m_pos++));
        field = field.trimmed();
    }
    skip_delimiter();
    return QString::fromLatin1(field);
}

std::optional<double> field_number(const QString &field)
{
    return link::sendable_number(field);
}

} // namespace quvex::settings

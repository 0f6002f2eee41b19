#include "visible_text.h"

namespace quvex::text {

namespace {

bool is_control(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

void append(QString &text, char16_t c, bool as_is)
{
    if (c == u'\r')
        text += QLatin1String("<CR>");
    else if (c == u'\n')
        text += QLatin1String("<LF>");
    else if (!as_is || c == u'<')
        text += u'<' + QString::number(c, 16).toUpper().rightJustified(2, u'0') + u'>';
    else
        text += QChar(c);
}

} // namespace

QString visible(QStringView text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text)
        append(shown, c.unicode(), !is_control(c.unicode()));
    return shown;
}

QString visible_bytes(QByteArrayView bytes)
{
    QString shown;
    shown.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        append(shown, byte, byte < 0x80 && !is_control(byte));
    }
    return shown;
}

} // namespace quvex::text

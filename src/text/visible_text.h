#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace quvex::text {

// How text that comes from outside (a device's name, a link's target, a server's greeting, a
// program named in a lock file, a file's name or line) is shown to a person or put in a
// tab-separated line: a control character would act on the terminal, end the text at a NUL or
// forge a line or a column, so it shows as <CR>, <LF> or <hex>, and "<" itself as <3C>, so that
// every character can be told apart. The wire log writes every byte the same way.

// Control characters (C0, DEL, C1) escaped; every other character as it is.
QString visible(QStringView text);

// Bytes of no known encoding: printable ASCII as it is, every other byte escaped.
QString visible_bytes(QByteArrayView bytes);

} // namespace quvex::text

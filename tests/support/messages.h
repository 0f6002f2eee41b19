#pragma once

#include <QString>

namespace quvex::test {

// The operator's texts as they must read, written out here rather than taken from the program.
inline const QString kNoResponse =
    QStringLiteral("QUVEX unit not responding.\rPlease check cables,\r that BaudRate=23\r and that RS232 = Control.");
inline const QString kWrongType = QStringLiteral("Wrong QUVEX type selected.");
inline const QString kNotText =
    QStringLiteral("Bytes arrived that are not text: is the unit set to 9600 baud (BaudRate=23)?");

} // namespace quvex::test

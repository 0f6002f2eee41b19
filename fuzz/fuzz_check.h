#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

// A broken property ends the run the way a crash does, so libFuzzer saves the input that
// broke it; the message says which property, since the stack alone rarely does.
#define FUZZ_CHECK(condition, detail)                                                                                  \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: property failed: %s\n  %s\n", __FILE__, __LINE__, #condition,                 \
                         QString(detail).toLocal8Bit().constData());                                                   \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

// Bytes made readable for a failure message, the others as %XX; cut after 200, the saved input has them whole.
inline QString fuzz_quote(const QByteArray &bytes)
{
    return u'"' + QString::fromLatin1(bytes.left(200).toPercentEncoding(" !#$&'()*+,/:;<=>?@[\\]^`{|}")) + u'"'
           + (bytes.size() > 200 ? QStringLiteral("... (%1 bytes)").arg(bytes.size()) : QString());
}

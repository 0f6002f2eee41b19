#include "progress_text.h"

namespace quvex::app {

QString progress_text(const QString &verb, int done, int total, const QString &item_name)
{
    if (verb.isEmpty())
        return {};
    QString text = verb + u' ' + QString::number(done);
    if (total > 0)
        text += QStringLiteral(" of ") + QString::number(total);
    if (!item_name.isEmpty())
        text += QStringLiteral(": ") + item_name;
    return text;
}

} // namespace quvex::app

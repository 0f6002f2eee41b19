#include "naming.h"

namespace quvex::catalogue {

namespace {

constexpr int kBaseNameWidth = 16;

} // namespace

int find_item(const Catalogue &catalogue, const CurrentModel &model, const QString &name)
{
    const QString padded = pad_name(name);
    const int count = catalogue.item_count();
    for (int i = 1; i <= count; ++i) {
        const Entry &entry = catalogue.entry(i);
        if (model.model_supports(entry.models) && entry.name == padded)
            return i;
    }
    return count + 1;
}

QString remove_spaces(const QString &text)
{
    QString kept = text;
    kept.remove(u' ');
    return kept;
}

QString base_item_name(const QString &name)
{
    QString rest = name;
    for (int pass = 0; pass < 2; ++pass) {
        const qsizetype slash = rest.indexOf(u'\\');
        if (slash < 0)
            break;
        rest = rest.mid(slash + 1);
    }
    return rest.left(kBaseNameWidth);
}

bool is_mode_specific(const QString &name)
{
    return name.contains(u'\\');
}

int required_video_std(const QString &name)
{
    return name.startsWith(u'N') ? 0 : 1;
}

int required_overscan(const QString &name)
{
    return name.size() > 1 && name.at(1) == u'U' ? 0 : 1;
}

QString current_mode_prefix(const Catalogue &catalogue, const CurrentModel &model)
{
    const auto value_of = [&](const QString &name) {
        return catalogue.entry(find_item(catalogue, model, name)).value.number();
    };
    QString prefix = value_of(QStringLiteral("Video Std")) == 0 ? QStringLiteral("N") : QStringLiteral("P");
    prefix += value_of(QStringLiteral("Overscan")) == 0 ? QStringLiteral("U\\") : QStringLiteral("O\\");
    return prefix;
}

} // namespace quvex::catalogue

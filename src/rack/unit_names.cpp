#include "unit_names.h"

#include "settings/regular_file.h"
#include "settings/settings_file.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <optional>

namespace quvex::rack {

namespace {

// A person may open the file in an editor: one unit a line, its line (target), a tab, its name.
// A byte that would end a field or a line, or act on a terminal, is written %XX, and so is "%"
// itself; anything else stands as it is. A line that does not read so is left alone, and kept
// as it is when the file is written again.
const QByteArray kHeading = "# The names of QUVEX units: the unit's line (its by-id link, tcp://HOST:PORT or device),\n"
                            "# a tab, its name. %XX is the byte XX in hex: %09 a tab, %0A a line end, %25 a %.\n";
constexpr qint64 kSizeLimit = 1 << 20;

bool is_control(QChar c)
{
    return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F);
}

QByteArray encoded(const QString &field, bool key)
{
    QByteArray bytes;
    qsizetype plain = 0; // where the run of characters that stand as they are began
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field.at(i);
        // A key that begins with "#" would read as a comment.
        if (!is_control(c) && c != u'%' && !(key && i == 0 && c == u'#'))
            continue;
        bytes += field.mid(plain, i - plain).toUtf8() + QString(c).toUtf8().toPercentEncoding();
        plain = i + 1;
    }
    return bytes + field.mid(plain).toUtf8();
}

// The target and name a line gives; nothing for a comment, a blank or a damaged line.
std::optional<std::pair<QString, QString>> entry(const QByteArray &line)
{
    const QList<QByteArray> fields = line.split('\t');
    if (line.startsWith('#') || fields.size() != 2)
        return std::nullopt;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString target = utf8(QByteArray::fromPercentEncoding(fields.at(0)));
    const QString name = utf8(QByteArray::fromPercentEncoding(fields.at(1)));
    if (utf8.hasError() || target.isEmpty() || name.isEmpty())
        return std::nullopt;
    return std::pair{target, name};
}

// The file's lines, each without its line end; an empty list when there is no file, nothing when
// it is there but cannot be read.
std::optional<QList<QByteArray>> read_lines(const QString &path)
{
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return QList<QByteArray>();
    const std::optional<QByteArray> bytes = settings::read_regular_file(path, kSizeLimit);
    if (!bytes || bytes->size() > kSizeLimit)
        return std::nullopt;
    QList<QByteArray> lines = bytes->split('\n');
    if (lines.constLast().isEmpty())
        lines.removeLast();
    // An editor on Windows ends its lines with CR LF.
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

QHash<QString, QString> names_of(const QList<QByteArray> &lines)
{
    QHash<QString, QString> names;
    for (const QByteArray &line : lines) {
        if (const auto found = entry(line))
            names.insert(found->first, found->second);
    }
    return names;
}

// Written whole or not at all, its folder made first; empty on success, else what went wrong.
QString write_in_folder(const QString &path, const QByteArray &bytes)
{
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(folder));
    return settings::write_whole(path, bytes);
}

} // namespace

QString UnitNames::default_path()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/quvex/unit-names");
}

UnitNames::UnitNames(QString path)
    : m_path(std::move(path))
{
    reload();
}

void UnitNames::reload()
{
    m_names = names_of(read_lines(m_path).value_or(QList<QByteArray>()));
}

bool UnitNames::set_name(const QString &target, const QString &name, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (target.isEmpty())
        return fail(QStringLiteral("a unit without a line cannot be named"));
    // Read afresh: the panel and quvexctl share the file, and what the other wrote stays.
    std::optional<QList<QByteArray>> lines = read_lines(m_path);
    if (!lines)
        return fail(QStringLiteral("cannot read %1").arg(QDir::toNativeSeparators(m_path)));
    if (lines->isEmpty())
        lines->append(kHeading.chopped(1).split('\n'));
    const QString trimmed = name.trimmed();
    const QByteArray own = encoded(target, true) + '\t' + encoded(trimmed, false);
    bool placed = trimmed.isEmpty();
    for (qsizetype i = 0; i < lines->size(); ++i) {
        const auto found = entry(lines->at(i));
        if (!found || found->first != target)
            continue;
        if (placed) {
            lines->removeAt(i--);
        } else {
            (*lines)[i] = own;
            placed = true;
        }
    }
    if (!placed)
        lines->append(own);
    const QString failure = write_in_folder(m_path, lines->join('\n') + '\n');
    m_names = names_of(failure.isEmpty() ? *lines : read_lines(m_path).value_or(QList<QByteArray>()));
    return failure.isEmpty() || fail(failure);
}

} // namespace quvex::rack

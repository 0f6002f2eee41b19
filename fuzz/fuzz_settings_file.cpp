// Arbitrary bytes as a settings file: first through the field reader alone, then through the
// whole load into a connected unit. A damaged file may be refused or loaded in part, but it must
// never reach the unit as anything other than the known items with finite numbers.

#include "catalogue/catalogue.h"
#include "catalogue/naming.h"
#include "catalogue/unit_models.h"
#include "fuzz_check.h"
#include "link/answer_number.h"
#include "settings/field_reader.h"
#include "settings/settings_file.h"
#include "support/rig.h"

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QList>
#include <QSet>
#include <QTemporaryDir>

#include <cmath>
#include <cstdint>
#include <optional>

using namespace quvex;
using settings::FieldReader;

namespace {

QList<QString> all_fields(const QByteArray &bytes)
{
    FieldReader reader(bytes);
    QList<QString> fields;
    // Every field consumes at least one byte except a last empty one, so more means a stuck reader.
    const qsizetype bound = bytes.size() + 1;
    while (const std::optional<QString> field = reader.next_field()) {
        fields.append(*field);
        FUZZ_CHECK(fields.size() <= bound, QStringLiteral("more than %1 fields").arg(bound));
    }
    FUZZ_CHECK(!reader.next_field(), "a field after the end");
    return fields;
}

// Without quotes the format is plain: lines of comma-separated fields, blank lines ignored.
QList<QString> unquoted_fields(const QByteArray &bytes)
{
    QList<QString> fields;
    QByteArray line;
    const auto end_line = [&] {
        bool blank = true;
        for (const char c : line)
            blank = blank && c == ' ';
        if (!blank) {
            for (QByteArray part : line.split(',')) {
                while (part.startsWith(' '))
                    part.remove(0, 1);
                fields.append(QString::fromLatin1(part.left(FieldReader::kFieldLimit).trimmed()));
            }
        }
        line.clear();
    };
    for (const char c : bytes) {
        if (c == '\r' || c == '\n')
            end_line();
        else
            line += c;
    }
    end_line();
    return fields;
}

QString describe(const QList<QString> &fields)
{
    QString text;
    for (const QString &field : fields)
        text += fuzz_quote(field.toLatin1()) + u' ';
    return text;
}

void check_reader(const QByteArray &bytes)
{
    const QList<QString> fields = all_fields(bytes);
    for (const QString &field : fields) {
        FUZZ_CHECK(field.size() <= FieldReader::kFieldLimit, QStringLiteral("field of %1").arg(field.size()));
        for (const QChar c : field)
            FUZZ_CHECK(c.unicode() <= 0xff, "a field beyond 8-bit characters");
        if (const std::optional<double> number = settings::field_number(field))
            FUZZ_CHECK(std::isfinite(*number), fuzz_quote(field.toLatin1()));
    }
    if (!bytes.contains('"')) {
        const QList<QString> expected = unquoted_fields(bytes);
        FUZZ_CHECK(fields == expected, describe(fields) + "expected " + describe(expected));
    }
}

// Names and numbers written the way a save writes them come back as they were, whatever bytes
// the names hold apart from the quote itself.
void check_round_trip(const QByteArray &bytes)
{
    QByteArray file;
    QList<QString> expected;
    for (QByteArray line : bytes.split('\n')) {
        line.replace('"', QByteArray());
        const double number = link::parse_answer_number(line).value_or(0.0);
        const QByteArray text = link::format_wire_number(number).toLatin1();
        file += '"' + line + "\"," + text + "\r\n";
        expected.append(QString::fromLatin1(line.left(FieldReader::kFieldLimit)));
        expected.append(QString::fromLatin1(text.left(FieldReader::kFieldLimit)));
    }
    const QList<QString> fields = all_fields(file);
    FUZZ_CHECK(fields == expected, describe(fields) + "expected " + describe(expected));
}

const QString &file_path()
{
    static const QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("quvex.cfg"));
    return path;
}

bool is_mode_item(const QString &name)
{
    const QString padded = catalogue::pad_name(name);
    return padded == catalogue::pad_name(QStringLiteral("Video Std"))
           || padded == catalogue::pad_name(QStringLiteral("Overscan"));
}

QSet<QByteArray> wire_names(const catalogue::Catalogue &items)
{
    QSet<QByteArray> names;
    for (int i = 1; i <= items.item_count(); ++i) {
        const QString &name = items.entry(i).name;
        if (!items.entry(i).is_header())
            names.insert(catalogue::remove_spaces(catalogue::base_item_name(name)).toLatin1());
    }
    names.insert("Reset");
    names.insert("StoreSettings");
    names.insert("VGAStore");
    names.insert("AutoSet");
    return names;
}

bool is_known_message(const QString &text)
{
    static const QStringList known = {
        QStringLiteral("This is not a QUVEX Control Panel file."),
        QStringLiteral("Unknown file version."),
        QStringLiteral("Unknown QUVEX type."),
    };
    return known.contains(text)
           || (text.startsWith(QStringLiteral("The settings file is damaged at \""))
               && text.endsWith(QStringLiteral("\"; the rest of it was not loaded.")));
}

// The last number the file gives each item it loads, as the unit must then hold it. Only numbers
// that the fake unit reports back exactly are kept: it answers with six significant digits.
struct Expected
{
    QHash<QString, double> values; // by the wire key the fake unit stores under
    bool touches_mode = false;
};

Expected expected_values(const QByteArray &bytes, const catalogue::Catalogue &items,
                         const catalogue::CurrentModel &model)
{
    Expected expected;
    FieldReader reader(bytes);
    for (int skip = 0; skip < 3; ++skip)
        reader.next_field();
    while (const std::optional<QString> name = reader.next_field()) {
        const std::optional<QString> value = reader.next_field();
        if (!value)
            break;
        const std::optional<double> number = settings::field_number(*value);
        if (!value->trimmed().isEmpty() && !number)
            break;
        const int index = catalogue::find_item(items, model, *name);
        if (index > items.item_count())
            continue;
        const QString stored = items.entry(index).name;
        if (is_mode_item(stored)) {
            expected.touches_mode = true;
            continue;
        }
        if (!number || items.entry(index).is_header() || QByteArray::number(*number).toDouble() != *number)
            continue;
        const QString wire = catalogue::remove_spaces(catalogue::base_item_name(stored));
        const QString key = catalogue::is_mode_specific(stored) ? QStringLiteral("%1/%2/%3")
                                                                      .arg(catalogue::required_video_std(stored))
                                                                      .arg(catalogue::required_overscan(stored))
                                                                      .arg(wire)
                                                                : wire;
        expected.values[key] = *number;
    }
    return expected;
}

void check_load(const QByteArray &bytes)
{
    {
        QFile file(file_path());
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
                   "cannot write " + file_path());
    }

    test::Rig rig;
    rig.panel.quvex_Click(2);
    FUZZ_CHECK(rig.link.is_port_open() && rig.operator_side.messages.isEmpty(), "unit did not connect");
    const double video_std_before = rig.unit.value(QStringLiteral("VideoStd"));
    const double overscan_before = rig.unit.value(QStringLiteral("Overscan"));
    rig.unit.clear_sent();

    rig.settings_file(file_path()).fileopen_Click();

    const QStringList messages = rig.operator_side.message_texts();
    FUZZ_CHECK(messages.size() <= 1, messages.join(u'|'));
    if (!messages.isEmpty())
        FUZZ_CHECK(is_known_message(messages.front()), messages.front());
    FUZZ_CHECK(!rig.link.state().bulk_mode, "left in bulk mode");
    FUZZ_CHECK(rig.operator_side.window_enabled, "window left disabled");
    FUZZ_CHECK(rig.link.is_port_open(), "port closed by a load");

    // Nothing from the file reaches the wire but known item names and finite numbers.
    const QSet<QByteArray> known = wire_names(rig.catalogue);
    for (const QString &line : rig.unit.sent_lines()) {
        const qsizetype equals = line.indexOf(u'=');
        const QString name = equals < 0 ? line : line.left(equals);
        FUZZ_CHECK(known.contains(name.toLatin1()), "sent " + fuzz_quote(line.toLatin1()));
        if (equals >= 0) {
            bool ok = false;
            const double number = line.mid(equals + 1).toDouble(&ok);
            FUZZ_CHECK(ok && std::isfinite(number), "sent " + fuzz_quote(line.toLatin1()));
        }
    }
    FUZZ_CHECK(rig.unit.sent().isEmpty() || rig.unit.sent().endsWith('\r'), "half a line sent");
    for (int i = 1; i <= rig.catalogue.item_count(); ++i)
        FUZZ_CHECK(std::isfinite(rig.catalogue.entry(i).value.number()), rig.catalogue.entry(i).name);

    // A damaged file is loaded up to the damage; any other message means nothing was loaded.
    if (messages.isEmpty() || messages.front().startsWith(QStringLiteral("The settings file is damaged"))) {
        const Expected expected = expected_values(bytes, rig.catalogue, rig.model);
        for (auto it = expected.values.cbegin(); it != expected.values.cend(); ++it) {
            const QStringList parts = it.key().split(u'/');
            const double held = parts.size() == 3 ? rig.unit.picture_value(parts[0].toInt(), parts[1].toInt(), parts[2])
                                                  : rig.unit.value(it.key());
            FUZZ_CHECK(held == it.value(),
                       QStringLiteral("unit holds %1 = %2, the file says %3").arg(it.key()).arg(held).arg(it.value()));
        }
        if (!expected.touches_mode) {
            FUZZ_CHECK(rig.unit.value(QStringLiteral("VideoStd")) == video_std_before
                           && rig.unit.value(QStringLiteral("Overscan")) == overscan_before,
                       QStringLiteral("unit left in video standard %1, overscan %2")
                           .arg(rig.unit.value(QStringLiteral("VideoStd")))
                           .arg(rig.unit.value(QStringLiteral("Overscan"))));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    check_reader(bytes);
    check_round_trip(bytes);
    check_load(bytes);
    return 0;
}

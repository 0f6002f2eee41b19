// Arbitrary bytes as a settings file: first through the field reader alone, then through the
// whole load into a connected unit. A damaged file may be refused or loaded in part, but it must
// never reach the unit as anything other than its items with finite numbers, nor leave the
// panel locked or the unit in a video mode the panel does not show.

#include "fuzz_check.h"
#include "link/answer_number.h"
#include "settings/field_reader.h"
#include "settings/settings_file.h"
#include "support/messages.h"
#include "support/rig.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

using namespace quvex;
using settings::FieldReader;

namespace {

constexpr int kQuvexViewMax = 2;

QStringList all_fields(const QByteArray &bytes)
{
    FieldReader reader(bytes);
    QStringList fields;
    // Every field consumes at least one byte except a last empty one, so more means a stuck reader.
    const qsizetype bound = bytes.size() + 1;
    while (const std::optional<QString> field = reader.next_field()) {
        fields.append(*field);
        FUZZ_CHECK(fields.size() <= bound, QStringLiteral("more than %1 fields").arg(bound));
        FUZZ_CHECK(field->size() <= FieldReader::kFieldLimit, QStringLiteral("field of %1").arg(field->size()));
        if (const std::optional<double> number = settings::field_number(*field))
            FUZZ_CHECK(std::isfinite(*number), fuzz_quote(field->toLatin1()));
    }
    FUZZ_CHECK(!reader.next_field(), "a field after the end");
    return fields;
}

// Names and numbers written the way a save writes them come back as they were, whatever bytes
// the names hold apart from the quote itself.
void check_round_trip(const QByteArray &bytes)
{
    QByteArray file;
    QStringList expected;
    for (QByteArray line : bytes.split('\n')) {
        line.replace('"', QByteArray());
        const QByteArray number = link::format_wire_number(link::parse_answer_number(line).value_or(0.0)).toLatin1();
        file += '"' + line + "\"," + number + "\r\n";
        expected.append(QString::fromLatin1(line.left(FieldReader::kFieldLimit)));
        expected.append(QString::fromLatin1(number.left(FieldReader::kFieldLimit)));
    }
    const QStringList fields = all_fields(file);
    FUZZ_CHECK(fields == expected, fields.join(u'|') + "\n  expected " + expected.join(u'|'));
}

bool is_known_message(const QString &text)
{
    static const QStringList known = {
        QStringLiteral("This is not a QUVEX Control Panel file."),
        QStringLiteral("Unknown file version."),
        QStringLiteral("Unknown QUVEX type."),
        test::kWrongType,
        test::kNoResponse,
    };
    return known.contains(text)
           || (text.startsWith(QStringLiteral("The settings file is damaged at \""))
               && text.endsWith(QStringLiteral("\"; the rest of it was not loaded.")));
}

void check_load(const QByteArray &bytes)
{
    static const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quvex.cfg"));
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
               "cannot write " + path);
    file.close();

    // A unit of another model answers "?" to the file's items; behind the port is the model the
    // file is for, so every message comes from the file and not from a mismatch.
    const int file_model = settings::parse_settings(bytes).model_index;
    const int model = file_model > 0 ? file_model : kQuvexViewMax;
    const std::string code = catalogue::unit_models()[static_cast<std::size_t>(model)].code.toStdString();
    test::Rig rig(code);
    rig.panel.quvex_Click(model);
    FUZZ_CHECK(rig.link.is_port_open() && rig.operator_side.messages.isEmpty(), "unit did not connect");
    rig.unit.clear_sent();

    rig.settings_file(path).fileopen_Click();

    const QStringList messages = rig.operator_side.message_texts();
    FUZZ_CHECK(messages.size() <= 1, messages.join(u'|'));
    if (!messages.isEmpty())
        FUZZ_CHECK(is_known_message(messages.front()), messages.front());
    FUZZ_CHECK(!rig.link.state().bulk_mode, "left in bulk mode");
    FUZZ_CHECK(rig.operator_side.window_enabled, "window left disabled");
    FUZZ_CHECK(rig.link.is_port_open(), "port closed by a load");

    // The simulator's own unit of that model, apart from the panel's catalogue, says which
    // names are items: it answers "?" to any other.
    sim::Unit probe(*sim::parse_model(code));
    for (const QString &line : rig.unit.sent_lines()) {
        const qsizetype equals = line.indexOf(u'=');
        const QString name = equals < 0 ? line : line.left(equals);
        FUZZ_CHECK(probe.handle(name.toStdString()) != "?\n", "sent " + fuzz_quote(line.toLatin1()));
        if (equals >= 0) {
            bool ok = false;
            const double number = line.mid(equals + 1).toDouble(&ok);
            FUZZ_CHECK(ok && std::isfinite(number), "sent " + fuzz_quote(line.toLatin1()));
        }
    }
    FUZZ_CHECK(rig.unit.sent().isEmpty() || rig.unit.sent().endsWith('\r'), "half a line sent");
    for (int i = 1; i <= rig.catalogue.item_count(); ++i)
        FUZZ_CHECK(std::isfinite(rig.catalogue.entry(i).value.number()), rig.catalogue.entry(i).name);

    // Whatever the file did to the mode, the unit ends in the one the panel shows for it.
    if (!messages.contains(test::kWrongType) && !messages.contains(test::kNoResponse)) {
        const catalogue::Value &video_std = rig.catalogue.entry(rig.index_of(QStringLiteral("Video Std"))).value;
        const catalogue::Value &overscan = rig.catalogue.entry(rig.index_of(QStringLiteral("Overscan"))).value;
        FUZZ_CHECK(!video_std.is_empty() && !overscan.is_empty(), "the unit's video mode is unknown");
        FUZZ_CHECK(rig.unit.video_std() == video_std.number() && rig.unit.overscan() == overscan.number(),
                   QStringLiteral("unit left in video standard %1, overscan %2; the panel shows %3, %4")
                       .arg(rig.unit.video_std())
                       .arg(rig.unit.overscan())
                       .arg(video_std.number())
                       .arg(overscan.number()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    all_fields(bytes);
    check_round_trip(bytes);
    check_load(bytes);
    return 0;
}

// Arbitrary bytes as a settings file: first through the field reader alone, then through the
// whole load into a connected unit. A damaged file may be refused or loaded in part, but only
// items of the unit with numbers the wire carries exactly may reach it, and the load must leave
// the panel unlocked, out of bulk mode, with its port open and the unit in the video mode the
// panel shows.

#include "fuzz_check.h"
#include "link/answer_number.h"
#include "settings/field_reader.h"
#include "settings/settings_file.h"
#include "support/messages.h"
#include "support/rig.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

using namespace quvex;

namespace {

void check_fields(const QByteArray &bytes)
{
    settings::FieldReader reader(bytes);
    qsizetype count = 0;
    while (const std::optional<QString> field = reader.next_field()) {
        // Every field but a last empty one takes at least a byte, so more means a stuck reader.
        FUZZ_CHECK(++count <= bytes.size() + 1, QStringLiteral("more than %1 fields").arg(bytes.size() + 1));
        FUZZ_CHECK(field->size() <= settings::FieldReader::kFieldLimit,
                   QStringLiteral("field of %1").arg(field->size()));
        const std::optional<double> number = settings::field_number(*field);
        FUZZ_CHECK(!number || std::isfinite(*number), fuzz_quote(field->toLatin1()));
    }
    FUZZ_CHECK(!reader.next_field(), "a field after the end");
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
               && text.endsWith(QStringLiteral("\"; the rest of it was not loaded.")))
           || (text.startsWith(QStringLiteral("These lines name no item of "))
               && text.contains(QStringLiteral(" and were not loaded:\n")));
}

void check_load(const QByteArray &bytes)
{
    static const QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("quvex.cfg")));
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
                   && file.flush(),
               "cannot write " + file.fileName());

    // A unit of another model answers "?" to the file's items; behind the port is the model the
    // file is for (else a QUVEXview Max), so every message comes from the file, not a mismatch.
    const int file_model = settings::parse_settings(bytes).model_index;
    const int model = file_model > 0 ? file_model : 2;
    const std::string code = catalogue::unit_models()[static_cast<std::size_t>(model)].code.toStdString();
    test::Rig rig(code);
    rig.panel.quvex_Click(model);
    FUZZ_CHECK(rig.link.is_port_open() && rig.operator_side.messages.isEmpty(), "unit did not connect");
    rig.unit.clear_sent();

    rig.settings_file(file.fileName()).fileopen_Click();

    const QStringList messages = rig.operator_side.message_texts();
    // At most the lines that name no item, then the damage.
    FUZZ_CHECK(messages.size() <= 2 && std::all_of(messages.cbegin(), messages.cend(), is_known_message),
               messages.join(u'|'));
    FUZZ_CHECK(!rig.link.state().bulk_mode && rig.operator_side.window_enabled && rig.link.is_port_open(),
               "left in bulk mode, the window disabled or the port closed");

    // The simulator's own unit of that model, apart from the panel's catalogue, says which
    // names are items: it answers "?" to any other.
    sim::Unit probe(*sim::parse_model(code));
    for (const QString &line : rig.unit.sent_lines()) {
        bool ok = true;
        const double number = line.contains(u'=') ? line.section(u'=', 1).toDouble(&ok) : 0;
        FUZZ_CHECK(probe.handle(line.section(u'=', 0, 0).toStdString()) != "?\n" && ok && link::is_sendable(number),
                   "sent " + fuzz_quote(line.toLatin1()));
    }
    FUZZ_CHECK(rig.unit.sent().isEmpty() || rig.unit.sent().endsWith('\r'), "half a line sent");
    for (int i = 1; i <= rig.catalogue.item_count(); ++i)
        FUZZ_CHECK(std::isfinite(rig.catalogue.entry(i).value.number()), rig.catalogue.entry(i).name);

    // Whatever the file did to the mode, the unit ends in the one the panel shows for it.
    const catalogue::Value video_std = rig.catalogue.entry(rig.index_of(QStringLiteral("Video Std"))).value;
    const catalogue::Value overscan = rig.catalogue.entry(rig.index_of(QStringLiteral("Overscan"))).value;
    if (!messages.contains(test::kWrongType) && !messages.contains(test::kNoResponse))
        FUZZ_CHECK(!video_std.is_empty() && !overscan.is_empty() && rig.unit.video_std() == video_std.number()
                       && rig.unit.overscan() == overscan.number(),
                   "the unit's video mode is not the one the panel shows");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    check_fields(bytes);
    check_load(bytes);
    return 0;
}

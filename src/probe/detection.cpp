#include "detection.h"

#include "catalogue/catalogue.h"
#include "catalogue/naming.h"
#include "catalogue/unit_models.h"

#include <QList>
#include <QScopeGuard>

namespace quvex::probe {

namespace {

// Known to: Genlock QVM and QVMK; Buttons all but QK2; Keyer QK1 and QK2; Clock width: QVL and
// QVM. No two models give the same four answers.
const QString kProbes[] = {QStringLiteral("Genlock"), QStringLiteral("Buttons"), QStringLiteral("Keyer"),
                           QStringLiteral("Clock width:")};

} // namespace

Detection detect_model(link::Link &link)
{
    link::LinkState &state = link.state();
    link.set_unknown_answers_expected(true);
    const auto expected_no_more = qScopeGuard([&link] { link.set_unknown_answers_expected(false); });
    QList<bool> known;
    for (const QString &probe : kProbes) {
        state.wrong_type_error = false;
        state.no_response_error = false;
        const link::Reading reading = link.query_item_value(probe);
        if (!reading || state.no_response_error)
            return {};
        known.append(!state.wrong_type_error);
    }
    state.wrong_type_error = false;

    catalogue::Catalogue catalogue;
    catalogue::build_catalogue(catalogue);
    Detection detection{.answered = true};
    for (int index = 1; index < catalogue::kUnitModelCount; ++index) {
        catalogue::CurrentModel model;
        model.select(index);
        bool fits = true;
        for (qsizetype i = 0; i < known.size() && fits; ++i)
            fits = (catalogue::find_item(catalogue, model, kProbes[i]) <= catalogue.item_count()) == known.at(i);
        if (fits)
            detection.model_index = detection.model_index == 0 ? index : -1;
    }
    if (detection.model_index < 0)
        detection.model_index = 0;
    return detection;
}

} // namespace quvex::probe

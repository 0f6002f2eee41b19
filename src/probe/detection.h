#pragma once

#include "link/link.h"

namespace quvex::probe {

// What the unit's answers to the probe items say about its model. A unit that failed to answer
// has shown its warning; one that answered but fits no model (or fits two) has no model.
struct Detection
{
    bool answered = false;
    int model_index = 0; // 1..6 when the answers fit exactly one model
};

// Asks the unit for a few items that some models have and others lack, and finds the one model
// whose item lists (by the catalogue's substring rule) give exactly those known and "?" answers.
// Only reads: nothing on the unit changes. The "?" answers are not shown as wrong models.
Detection detect_model(link::Link &link);

} // namespace quvex::probe

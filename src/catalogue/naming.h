#pragma once

#include "catalogue.h"
#include "unit_models.h"

#include <QString>

namespace quvex::catalogue {

// The catalogue index of the first entry the current model supports whose stored name equals
// the padded name exactly; item_count() + 1 when there is none.
int find_item(const Catalogue &catalogue, const CurrentModel &model, const QString &name);

// The unit never gets a space: names and whole command lines pass through here.
QString remove_spaces(const QString &text);

// A mode-specific name without its mode prefix, at most 16 characters.
QString base_item_name(const QString &name);

bool is_mode_specific(const QString &name);
int required_video_std(const QString &name);
int required_overscan(const QString &name);

// "NU\", "NO\", "PU\" or "PO\" from the stored "Video Std" and "Overscan" values.
QString current_mode_prefix(const Catalogue &catalogue, const CurrentModel &model);

} // namespace quvex::catalogue

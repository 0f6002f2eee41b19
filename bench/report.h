#pragma once

#include "figures.h"

#include <vector>

namespace quvex::bench {

// The figures hold only on an otherwise idle machine; the load says whether this one was.
void print_load();
// One row per operation: the figures, then each against its target.
void print_table(const std::vector<Figures> &rows);
// What an exchange costs beyond its bytes' wire time, and anything the operator was told.
void print_notes(const std::vector<Figures> &rows);
// A row's word for one target, the same in every table.
const char *verdict(bool met);
// The middle one of three runs' figures: one run slowed by the machine does not move it.
double median(const double (&values)[3]);

} // namespace quvex::bench

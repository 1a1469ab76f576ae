#pragma once

#include "profile/PageModel.h"

#include <tuple>

// Every field of a line record, so that two records compare (and print) in one expectation.
inline auto fields(const LineRecord& r) {
    return std::tuple(r.Text, r.ScrollPos, r.ScrollMode, r.Length, r.ScrollDir, r.Pending,
                      r.Dynamic);
}

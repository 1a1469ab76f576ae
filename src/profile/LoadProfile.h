#pragma once

#include "model/Log.h"
#include "profile/PageModel.h"

#include <QString>
#include <functional>

class IniFile;

struct ProfileLoad {
    PageModel& pages;
    ProfileParams& params;
    Log& log;
    std::function<void()> loadFirstPage; // puts page 1 on the panel and arms the page timer
};

// Whether a profile was loaded; if not, why, in the words of the log.
struct LoadOutcome {
    QString refusal; // empty when it was loaded
    explicit operator bool() const { return refusal.isEmpty(); }
};

// Reads a .tlcd profile into the page tables and logs it line by line. Values the page model
// cannot hold are clamped with a line in the log; a profile without a readable page count is
// refused, with a line in the log, and then nothing is changed.
LoadOutcome LoadProfile(const QString& path, ProfileLoad target);
// The same for the profile at `path` once read.
LoadOutcome LoadProfile(const QString& path, const IniFile& ini, ProfileLoad target);

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

// Reads a .tlcd profile into the page tables and logs it line by line. Values the page model
// cannot hold are clamped with a line in the log; a profile without a readable page count is
// refused, with a line in the log, and then nothing is changed. Returns whether it was loaded.
bool LoadProfile(const QString& path, ProfileLoad target);
// The same for the profile at `path` once read.
bool LoadProfile(const QString& path, const IniFile& ini, ProfileLoad target);

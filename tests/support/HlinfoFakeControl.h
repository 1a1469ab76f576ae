#pragma once

#include "platform/SharedLibrary.h"
#include "support/hlinfo_fake.h"

#include <optional>

// The test library opened by the test itself, to steer it; the program's own opening of the
// same library shares its answers. `fake` is null when the library cannot be found.
struct HlinfoFakeControl {
    explicit HlinfoFakeControl(const QString& path) : library(SharedLibrary::open({path})) {
        if (library) {
            fake = static_cast<HlinfoFake*>(library->symbol("hlinfo_fake"));
        }
        if (fake != nullptr) {
            *fake = HlinfoFake{};
        }
    }
    std::optional<SharedLibrary> library;
    HlinfoFake* fake = nullptr;
};

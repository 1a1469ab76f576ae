#pragma once

#include "model/Log.h"
#include "platform/IniFile.h"

#include <QObject>

// [silence] of param.ini: when the panel goes quiet (its backlight off, or a blank frame).
class QuietHours : public QObject {

public:
    ~QuietHours() override = default;
};

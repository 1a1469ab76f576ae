#pragma once

#include "drivers/Panel.h"
#include "model/DisplayConfig.h"
#include "model/Log.h"

#include <QString>
#include <functional>
#include <memory>

class OnScreenPanel;

// What a panel may need from the program that drives it.
struct PanelHost {
    Log& log;
    // A key pressed on the panel: "Up" or "Down".
    std::function<void(const QString& key)> keyPressed;
    // The on-screen panel once it is made, for the views that draw it.
    std::function<void(OnScreenPanel& panel)> onScreen;
};

// The panel that TypeLCD names, made for these settings; none when it names no panel.
std::unique_ptr<Panel> makePanel(const DisplayConfig& config, const PanelHost& host);

bool namesPanel(qint16 typeLcd);
// How the log names the panel of this TypeLCD (« I2C », « Matrix Orbital »…); empty for none.
QString panelName(qint16 typeLcd);
// The values of TypeLCD that name a panel, as the log lists them: "1 à l'écran, 2 série, …".
QString panelNames();

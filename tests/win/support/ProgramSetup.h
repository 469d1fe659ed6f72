#pragma once
// The application's settings and the application object as the program sets them up, for
// tests that run the real thing.
#include <functional>
#include <memory>

#include "app/win32/MeterApplications.h"
#include "settings/ApplicationSettings.h"

// Default settings with the two tool windows defined, as the program defines them at start.
std::unique_ptr<TApplicationSettings> SettingsWithWindows();

// Runs the real application object on `settings` without a tray icon: `during` acts on it
// once it has started, then it ends. `saveSettings` stands for writing the file at the end.
void RunMeterApplication(TApplicationSettings& settings, const std::function<void(TMeterApplication&)>& during,
                         std::function<void()> saveSettings = {});

// Clicks the tray menu's item at `index` as the user would.
void ClickTrayItem(TMeterApplication& app, std::size_t index);

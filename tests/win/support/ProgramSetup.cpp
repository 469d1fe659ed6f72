#include "support/ProgramSetup.h"

#include "gui/ImageLists.h"

std::unique_ptr<TApplicationSettings> SettingsWithWindows() {
  auto settings = TQorvelSettings::Create<TApplicationSettings>();
  settings->Window->DefineWindow(TColorForm::WindowName, pwoFitToMonitor);
  settings->Window->DefineWindow(TCursorForm::WindowName, pwoFitToMonitor);
  return settings;
}

namespace {

class TScriptedMeterApplication : public TMeterApplication {
 public:
  TScriptedMeterApplication(TMeterEnvironment environment, const std::function<void(TMeterApplication&)>& during)
      : TMeterApplication(L"Vindle", std::move(environment)), FDuring(during) {}

 protected:
  void Started() override {
    TMeterApplication::Started();
    if (FDuring) FDuring(*this);
    Terminate();
  }

 private:
  const std::function<void(TMeterApplication&)>& FDuring;
};

}  // namespace

void RunMeterApplication(TApplicationSettings& settings, const std::function<void(TMeterApplication&)>& during,
                         std::function<void()> saveSettings) {
  TImageList images(L"MENUIMAGES", 16, 16);
  TMeterEnvironment environment;
  environment.Settings = &settings;
  environment.MenuImages = &images;
  environment.SaveSettings = std::move(saveSettings);
  TScriptedMeterApplication app(std::move(environment), during);
  app.SetIconEnabled(false);
  app.Run(L"", false);
}

void ClickTrayItem(TMeterApplication& app, std::size_t index) {
  TMenuItem& item = app.TrayMenu()->Item(index);
  item.OnClick(item);
}
